#include "matching/clsFileString.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace Qt::StringLiterals;
using sorvane::clsFileString;
using sorvane::CompareMode;

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

struct CompCase {
    QString a, b;
    int mode;
    int expected;
};

TEST(clsFileString, FileStrComp) {
    const CompCase cases[] = {
        {u"ABC"_s, u"abc"_s, 1, 0},
        {u"ABC"_s, u"abc"_s, 0, -1},  // 'A' (65) sorts before 'a' (97) by code unit
        {u"abc"_s, u"ABC"_s, 0, 1},
        {u"ab"_s, u"abc"_s, 1, -1},
        {u"abc"_s, u"ab"_s, 1, 1},
        {u"ab"_s, u"abc"_s, 0, -1},
        {u""_s, u""_s, 1, 0},
        {u""_s, u"a"_s, 0, -1},
        // Text mode folds A-Z only: full-width, accented letters and kana stay apart.
        {u"Ａ"_s, u"ａ"_s, 1, -1},
        {u"É"_s, u"é"_s, 1, -1},
        {u"ア"_s, u"ｱ"_s, 1, -1},
        {u"[Z]"_s, u"[z]"_s, 1, 0},
        {u"@"_s, u"`"_s, 1, -1},  // the neighbours of A-Z and a-z are not folded
        // Characters outside Shift-JIS are not equal to each other nor to "?".
        {u"ŵ"_s, u"ŷ"_s, 1, -1},
        {u"ŵ"_s, u"?"_s, 1, 1},
        {u"😀"_s, u"😁"_s, 1, -1},
        // Text mode orders by the folded code units.
        {u"a"_s, u"B"_s, 1, -1},
        {u"a"_s, u"B"_s, 0, 1},
        {u"あ"_s, u"z"_s, 1, 1},
        {u"Zebra"_s, u"apple"_s, 1, 1},
    };
    for (const CompCase& c : cases) {
        EXPECT_EQ(clsFileString::FileStrComp(c.a, c.b, CompareMode(c.mode)), c.expected)
            << c.a.toStdString() << " vs " << c.b.toStdString() << " mode " << c.mode;
    }
}

struct FindCase {
    int start;
    QString text, part;
    int mode;
    int expected;
};

TEST(clsFileString, FileInStr) {
    const FindCase cases[] = {
        {1, u"abcabc"_s, u"BC"_s, 1, 2},     {1, u"abcabc"_s, u"BC"_s, 0, 0},
        {3, u"abcabc"_s, u"bc"_s, 0, 5},     {4, u"abc"_s, u""_s, 0, 4},
        {1, u"abc"_s, u"abc"_s, 0, 1},       {2, u"abc"_s, u"abc"_s, 0, 0},
        {1, u"ab"_s, u"abc"_s, 0, 0},        {9, u"abc"_s, u"c"_s, 0, 0},
        {0, u"abc"_s, u"a"_s, 0, 1},         {1, u"写真ＡＢ"_s, u"ＡＢ"_s, 1, 3},
        {1, u"写真ＡＢ"_s, u"ａｂ"_s, 1, 0},
    };
    for (const FindCase& c : cases) {
        EXPECT_EQ(clsFileString::FileInStr(c.start, c.text, c.part, CompareMode(c.mode)),
                  c.expected)
            << c.start << " " << c.text.toStdString() << " " << c.part.toStdString();
    }
}

TEST(clsFileString, FileInStrR) {
    const FindCase cases[] = {
        {6, u"abcabc"_s, u"bc"_s, 0, 6},
        {4, u"abcabc"_s, u"bc"_s, 0, 3},
        {1, u"abcabc"_s, u"bc"_s, 0, 0},
        {6, u"abcabc"_s, u"BC"_s, 1, 6},
        {6, u"abcabc"_s, u"BC"_s, 0, 0},
        {5, u"abcabc"_s, u"bc"_s, 0, 6},  // the occurrence may run past start
        {3, u"abc"_s, u""_s, 0, 3},
        {99, u"abc"_s, u"bc"_s, 0, 3},
    };
    for (const FindCase& c : cases) {
        EXPECT_EQ(clsFileString::FileInStrR(c.start, c.text, c.part, CompareMode(c.mode)),
                  c.expected)
            << c.start << " " << c.text.toStdString() << " " << c.part.toStdString();
    }
}

TEST(clsFileString, FileLCaseFoldsOnlyAsciiLetters) {
    EXPECT_EQ(clsFileString::FileLCase(u"IMG_001.JPG"_s), u"img_001.jpg"_s);
    EXPECT_EQ(clsFileString::FileLCase(u"ＡＢＣ ÉÀ アイ 写真 @[`{"_s),
              u"ＡＢＣ ÉÀ アイ 写真 @[`{"_s);
    EXPECT_EQ(clsFileString::FileLCase(u"AZaz"_s), u"azaz"_s);
    EXPECT_EQ(clsFileString::FileLCase(QString()), QString());
}

struct CountCase {
    QString text, part;
    int mode;
    int expected;
};

TEST(clsFileString, GetSQNumText) {
    const CountCase cases[] = {
        {u"a**b?"_s, u"*"_s, 0, 2}, {u"a**b?"_s, u"?"_s, 0, 1},
        {u"aaaa"_s, u"aa"_s, 0, 2}, {u"aaa"_s, u"aa"_s, 0, 1},  // no overlaps
        {u"abc"_s, u""_s, 0, 0},    {u""_s, u"*"_s, 0, 0},
        {u"AbaB"_s, u"ab"_s, 1, 2}, {u"AbaB"_s, u"ab"_s, 0, 0},
    };
    for (const CountCase& c : cases) {
        EXPECT_EQ(clsFileString::GetSQNumText(c.text, c.part, CompareMode(c.mode)), c.expected)
            << c.text.toStdString() << " / " << c.part.toStdString();
    }
}

}  // namespace
