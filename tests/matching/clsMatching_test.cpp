#include "matching/clsMatching.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace Qt::StringLiterals;
using sorvane::clsMatching;
using sorvane::CompareMode;
using sorvane::NameMode;

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

constexpr NameMode kPart = NameMode::Partial;
constexpr NameMode kWhole = NameMode::Whole;

clsMatching makeMatcher(const QString& search, NameMode mode, int cmpMode = 0) {
    clsMatching m;
    m.setCmpMode(CompareMode(cmpMode));
    m.setFileNameMode(mode);
    m.setMatchPattern(search);
    return m;
}

// The texts that the tokens of the search pattern covered in the last match.
QStringList captureTexts(const clsMatching& m, const QString& name) {
    QStringList texts;
    for (const clsMatching::Capture& c : m.Captures()) texts.append(name.mid(c.Start, c.Length));
    return texts;
}

// The texts that the "*" tokens covered, in order.
QStringList starCaptures(const clsMatching& m, const QString& name) {
    const QStringList tokens = m.GetMatchDec();
    const QStringList all = captureTexts(m, name);
    QStringList stars;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (tokens[i] == u"*"_s) stars.append(all[i]);
    }
    return stars;
}

struct TokenCase {
    QString typed;
    NameMode mode;
    QStringList tokens;
    QString normal;
    QString disp;
};

TEST(clsMatching, TokenListsAndDisplayForms) {
    const TokenCase cases[] = {
        {u"abc"_s, kPart, {u""_s, u"*"_s, u"abc"_s, u"*"_s, u""_s}, u"*abc*"_s, u"abc"_s},
        {u"abc"_s, kWhole, {u""_s, u"abc"_s, u""_s}, u"abc"_s, u"abc"_s},
        {u"*.txt"_s, kWhole, {u""_s, u"*"_s, u".txt"_s, u""_s}, u"*.txt"_s, u"*.txt"_s},
        {u"*.txt"_s, kPart, {u""_s, u"*"_s, u".txt"_s, u"*"_s, u""_s}, u"*.txt*"_s, u"*.txt"_s},
        {u"a*b?c"_s,
         kWhole,
         {u""_s, u"a"_s, u"*"_s, u"b"_s, u"?"_s, u"c"_s, u""_s},
         u"a*b?c"_s,
         u"a*b?c"_s},
        {u"??"_s, kPart, {u""_s, u"?"_s, u""_s, u"?"_s, u""_s, u"*"_s, u""_s}, u"??*"_s, u"??"_s},
        {u"?*"_s, kPart, {u""_s, u"?"_s, u""_s, u"*"_s, u""_s}, u"?*"_s, u"?*"_s},
        {u"a**b"_s, kWhole, {u""_s, u"a"_s, u"*"_s, u"b"_s, u""_s}, u"a*b"_s, u"a*b"_s},
        {u"a*?*b"_s,
         kWhole,
         {u""_s, u"a"_s, u"*"_s, u""_s, u"?"_s, u"b"_s, u""_s},
         u"a*?b"_s,
         u"a*?b"_s},
        // A trailing run of wildcards gets its star last.
        {u"abc*?"_s,
         kPart,
         {u""_s, u"*"_s, u"abc"_s, u"?"_s, u""_s, u"*"_s, u""_s},
         u"*abc?*"_s,
         u"abc?"_s},
        {u"*abc"_s, kPart, {u""_s, u"*"_s, u"abc"_s, u"*"_s, u""_s}, u"*abc*"_s, u"*abc"_s},
        {u"*"_s, kPart, {u""_s, u"*"_s, u""_s}, u"*"_s, u"*"_s},
        {u"**"_s, kWhole, {u""_s, u"*"_s, u""_s}, u"*"_s, u"*"_s},
        {u"?"_s, kPart, {u""_s, u"?"_s, u""_s, u"*"_s, u""_s}, u"?*"_s, u"?"_s},
        {u"*?*"_s, kWhole, {u""_s, u"*"_s, u""_s, u"?"_s, u""_s}, u"*?"_s, u"*?"_s},
        {u"?**?"_s,
         kWhole,
         {u""_s, u"?"_s, u""_s, u"*"_s, u""_s, u"?"_s, u""_s},
         u"?*?"_s,
         u"?*?"_s},
        {u"[a]#!"_s, kWhole, {u""_s, u"[a]#!"_s, u""_s}, u"[a]#!"_s, u"[a]#!"_s},
        {u"写真?"_s, kWhole, {u""_s, u"写真"_s, u"?"_s, u""_s}, u"写真?"_s, u"写真?"_s},
    };
    for (const TokenCase& c : cases) {
        SCOPED_TRACE(c.typed.toStdString() + (c.mode == kPart ? " part" : " whole"));
        clsMatching m = makeMatcher(c.typed, c.mode);
        EXPECT_EQ(m.GetMatchDec(), c.tokens);
        EXPECT_EQ(m.MatchPattern(), c.normal);
        EXPECT_EQ(m.MatchPatternDisp(), c.disp);
        EXPECT_EQ(m.CanMatching(), 0);
    }
}

struct MatchCase {
    QString pattern;
    NameMode mode;
    int cmpMode;
    QString name;
    bool matches;
    QStringList stars;  // captures of the "*" tokens when it matches
};

TEST(clsMatching, IsMatchAndCaptures) {
    const MatchCase cases[] = {
        {u"abc"_s, kPart, 0, u"xabcyabc"_s, true, {u"x"_s, u"yabc"_s}},
        {u"*.txt"_s, kWhole, 0, u"a.txt.txt"_s, true, {u"a.txt"_s}},
        {u"*.txt"_s, kPart, 0, u"a.txt.txt"_s, true, {u"a"_s, u".txt"_s}},
        {u"a*b"_s, kWhole, 0, u"aXbXb"_s, true, {u"XbX"_s}},
        {u"*_*"_s, kWhole, 0, u"a_b_c"_s, true, {u"a"_s, u"b_c"_s}},
        {u"??"_s, kPart, 0, u"a"_s, false, {}},
        {u"abc"_s, kPart, 0, u"ABC"_s, false, {}},
        {u"abc"_s, kPart, 1, u"ABC"_s, true, {u""_s, u""_s}},
        {u"abc"_s, kPart, 0, u"abc"_s, true, {u""_s, u""_s}},
        {u"*"_s, kWhole, 0, u""_s, true, {u""_s}},
        {u"*"_s, kPart, 0, u""_s, true, {u""_s}},
        {u"*"_s, kPart, 0, u"写真.jpg"_s, true, {u"写真.jpg"_s}},
        {u"?"_s, kWhole, 0, u"a"_s, true, {}},
        {u"?"_s, kWhole, 0, u"写"_s, true, {}},
        {u"?"_s, kWhole, 0, u"ab"_s, false, {}},
        {u"?"_s, kWhole, 0, u""_s, false, {}},
        {u"a**b"_s, kWhole, 0, u"aXb"_s, true, {u"X"_s}},
        {u"a*?*b"_s, kWhole, 0, u"aXYb"_s, true, {u"X"_s}},
        {u"a*?*b"_s, kWhole, 0, u"ab"_s, false, {}},
        {u"*?*"_s, kWhole, 0, u"xyz"_s, true, {u"xy"_s}},
        {u"?*"_s, kWhole, 0, u"xyz"_s, true, {u"yz"_s}},
        {u"[a]"_s, kPart, 0, u"x[a]y"_s, true, {u"x"_s, u"y"_s}},
        {u"[a]"_s, kPart, 0, u"a"_s, false, {}},
        {u"[a]"_s, kWhole, 0, u"[a]"_s, true, {}},
        {u"[a]"_s, kWhole, 0, u"x[a]"_s, false, {}},
        {u"ABC"_s, kWhole, 1, u"abc"_s, true, {}},
        {u"Ａ"_s, kWhole, 1, u"ａ"_s, false, {}},
        {u"É"_s, kWhole, 1, u"é"_s, false, {}},
        {u"ŵ"_s, kWhole, 1, u"ŷ"_s, false, {}},
        {u"写真*"_s, kWhole, 0, u"写真_001.JPG"_s, true, {u"_001.JPG"_s}},
        // Middle segments take the leftmost place; the last star takes the rest.
        {u"*a*b*"_s, kWhole, 0, u"xaybzb"_s, true, {u"x"_s, u"y"_s, u"zb"_s}},
        {u"*a?c*"_s, kWhole, 0, u"za1ca2c"_s, true, {u"z"_s, u"a2c"_s}},
        {u"*a?c*"_s, kWhole, 0, u"abacab"_s, false, {}},
        {u"a*b*c"_s, kWhole, 0, u"abbc"_s, true, {u""_s, u"b"_s}},
        {u"a*b*c"_s, kWhole, 0, u"acb"_s, false, {}},
        {u"*ab*ab*"_s, kWhole, 0, u"abab"_s, true, {u""_s, u""_s, u""_s}},
        {u"*ab*ab*"_s, kWhole, 0, u"aba"_s, false, {}},
        {u"*x*"_s, kWhole, 1, u"aXbXc"_s, true, {u"a"_s, u"bXc"_s}},
        // One star between two literals: the ends are tested, and they may
        // not overlap.
        {u"ab*ba"_s, kWhole, 0, u"aba"_s, false, {}},
        {u"ab*ba"_s, kWhole, 0, u"abba"_s, true, {u""_s}},
        {u"*.JPG"_s, kWhole, 0, u"a.jpg"_s, false, {}},
        {u"*.JPG"_s, kWhole, 1, u"a.jpg"_s, true, {u"a"_s}},
        {u"*.txt"_s, kWhole, 0, u"txt"_s, false, {}},
        {u"IMG*"_s, kWhole, 1, u"img_1.jpg"_s, true, {u"_1.jpg"_s}},
    };
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(c.pattern.toStdString() + (c.mode == kPart ? " part, " : " whole, ") +
                     c.name.toStdString());
        clsMatching m = makeMatcher(c.pattern, c.mode, c.cmpMode);
        ASSERT_EQ(m.IsMatch(c.name), c.matches);
        if (!c.matches) continue;
        EXPECT_EQ(starCaptures(m, c.name), c.stars);
        // Every token covered its part of the name: together they give it back.
        EXPECT_EQ(captureTexts(m, c.name).join(QString()), c.name);
    }
}

TEST(clsMatching, NewInstanceMatchesNothing) {
    clsMatching m;
    EXPECT_EQ(m.CanMatching(), 1);
    EXPECT_EQ(m.CanReplace(), 1);
    EXPECT_EQ(m.FileNameMode(), kPart);
    EXPECT_FALSE(m.IsMatch(u"abc"_s));
    QString name = u"abc"_s;
    EXPECT_FALSE(m.MatchAndReplaceFileName(name));
    EXPECT_EQ(name, u"abc"_s);
    EXPECT_TRUE(m.GetMatchDec().isEmpty());
    EXPECT_TRUE(m.GetReplaceDec(false).isEmpty());
}

TEST(clsMatching, EmptySearchPatternKeepsTheFormsButMatchesNothing) {
    clsMatching m = makeMatcher(u"abc"_s, kPart);
    m.setReplacePattern(u"x"_s);
    ASSERT_TRUE(m.IsMatch(u"abc"_s));
    m.setMatchPattern(QString());
    EXPECT_EQ(m.CanMatching(), 1);
    EXPECT_EQ(m.CanReplace() & 1, 1);
    EXPECT_FALSE(m.IsMatch(u"abc"_s));
    EXPECT_FALSE(m.IsMatch(QString()));
    QString name = u"abc"_s;
    EXPECT_FALSE(m.MatchAndReplaceFileName(name));
    EXPECT_EQ(name, u"abc"_s);
    EXPECT_EQ(m.MatchPattern(), u"*abc*"_s);
    EXPECT_EQ(m.MatchPatternDisp(), u"abc"_s);
    EXPECT_TRUE(m.GetMatchDec().isEmpty());
    // Changing the mode with no pattern compiles nothing.
    m.setFileNameMode(kWhole);
    EXPECT_EQ(m.CanMatching(), 1);
    EXPECT_FALSE(m.IsMatch(u"abc"_s));
    // The same text again is a new pattern after "".
    m.setFileNameMode(kPart);
    m.setMatchPattern(u"abc"_s);
    EXPECT_EQ(m.CanMatching(), 0);
    EXPECT_EQ(m.CanReplace(), 0);
    name = u"xabcy"_s;
    EXPECT_TRUE(m.MatchAndReplaceFileName(name));
    EXPECT_EQ(name, u"xxy"_s);
}

TEST(clsMatching, FileNameModeRecompilesTheTypedPattern) {
    clsMatching m = makeMatcher(u"abc"_s, kPart);
    m.setReplacePattern(u"X"_s);
    EXPECT_TRUE(m.IsMatch(u"1abc2"_s));
    m.setFileNameMode(kWhole);
    EXPECT_EQ(m.FileNameMode(), kWhole);
    EXPECT_EQ(m.MatchPattern(), u"abc"_s);
    EXPECT_EQ(m.GetMatchDec(), (QStringList{u""_s, u"abc"_s, u""_s}));
    EXPECT_FALSE(m.IsMatch(u"1abc2"_s));
    EXPECT_TRUE(m.IsMatch(u"abc"_s));
    // The replace pattern follows the new mode: the unlinked text takes the
    // first free position.
    EXPECT_EQ(m.GetReplaceDec(false), (QStringList{u"X"_s, u""_s, u""_s}));
    QString name = u"abc"_s;
    EXPECT_TRUE(m.MatchAndReplaceFileName(name));
    EXPECT_EQ(name, u"X"_s);
    m.setFileNameMode(kPart);
    EXPECT_EQ(m.MatchPattern(), u"*abc*"_s);
    EXPECT_TRUE(m.IsMatch(u"1abc2"_s));
}

TEST(clsMatching, CmpModeTakesEffectWithoutRecompiling) {
    clsMatching m = makeMatcher(u"*.JPG"_s, kWhole);
    EXPECT_FALSE(m.IsMatch(u"a.jpg"_s));
    m.setCmpMode(CompareMode::Text);
    EXPECT_TRUE(m.IsMatch(u"a.jpg"_s));
    m.setCmpMode(CompareMode::Exact);
    EXPECT_FALSE(m.IsMatch(u"a.jpg"_s));
}

struct ReplaceCase {
    QString search, replace;
    NameMode mode;
    QString name;
    QString first;   // new name with the first reading
    QString second;  // new name after SetReplacePatternReverse(true)
    int canReplace;
};

TEST(clsMatching, ReplaceAndNewNames) {
    const ReplaceCase cases[] = {
        {u"abc"_s, u"xyz"_s, kPart, u"xabcyabc"_s, u"xxyzyabc"_s, u"xxyzyabc"_s, 0},
        {u"abc"_s, u""_s, kPart, u"xabcy"_s, u"xy"_s, u"xy"_s, 0},
        {u"abc"_s, u""_s, kWhole, u"abc"_s, u""_s, u""_s, 0},
        {u"ab"_s, u"AB"_s, kPart, u"xaby"_s, u"xABy"_s, u"xABy"_s, 0},
        {u"*.jpg"_s, u"photo_*.jpg"_s, kWhole, u"a.jpg"_s, u"photo_a.jpg"_s, u"photo_a.jpg"_s, 0},
        {u"IMG_*"_s, u"*"_s, kWhole, u"IMG_001.jpg"_s, u"001.jpg"_s, u"001.jpg"_s, 0},
        {u"a*b"_s, u"b*a"_s, kWhole, u"aXXb"_s, u"bXXa"_s, u"bXXa"_s, 0},
        {u"*_*"_s, u"*-*"_s, kWhole, u"a_b_c"_s, u"a-b_c"_s, u"a-b_c"_s, 0},
        {u"(*)"_s, u"[*]"_s, kPart, u"a(b)c"_s, u"a[b]c"_s, u"a[b]c"_s, 0},
        {u"*"_s, u"x*"_s, kPart, u"abc"_s, u"xabc"_s, u"xabc"_s, 0},
        {u"*"_s, u"*x"_s, kPart, u"abc"_s, u"abcx"_s, u"abcx"_s, 0},
        {u"??"_s, u"xy"_s, kPart, u"abcd"_s, u"xycd"_s, u"xycd"_s, 0},
        {u"a?c"_s, u"?"_s, kWhole, u"abc"_s, u"b"_s, u"b"_s, 0},
        {u"*-*"_s, u"*"_s, kWhole, u"ab-cd"_s, u"ab"_s, u"cd"_s, 4},
        {u"*.*"_s, u"*"_s, kWhole, u"a.b.c"_s, u"a"_s, u"b.c"_s, 4},
        {u"*_*_*"_s, u"*_*"_s, kWhole, u"a_b_c"_s, u"a_b"_s, u"b_c"_s, 4},
        // Without wildcards in the replace pattern the readings cannot differ.
        {u"*-*"_s, u"x"_s, kWhole, u"ab-cd"_s, u"x"_s, u"x"_s, 0},
        {u"写真"_s, u"photo"_s, kPart, u"旅行写真01.jpg"_s, u"旅行photo01.jpg"_s,
         u"旅行photo01.jpg"_s, 0},
        {u"?"_s, u"?"_s, kWhole, u"写"_s, u"写"_s, u"写"_s, 0},
        {u"*"_s, u""_s, kPart, u"abc"_s, u""_s, u""_s, 0},
    };
    for (const ReplaceCase& c : cases) {
        SCOPED_TRACE(c.search.toStdString() + " -> " + c.replace.toStdString() +
                     (c.mode == kPart ? " part, " : " whole, ") + c.name.toStdString());
        clsMatching m = makeMatcher(c.search, c.mode);
        m.setReplacePattern(c.replace);
        ASSERT_EQ(m.CanReplace(), c.canReplace);
        EXPECT_EQ(m.ReplacePatternDisp(), c.replace);
        QString name = c.name;
        ASSERT_TRUE(m.MatchAndReplaceFileName(name));
        EXPECT_EQ(name, c.first);
        m.SetReplacePatternReverse(true);
        name = c.name;
        ASSERT_TRUE(m.MatchAndReplaceFileName(name));
        EXPECT_EQ(name, c.second);
        m.SetReplacePatternReverse(false);
        name = c.name;
        ASSERT_TRUE(m.MatchAndReplaceFileName(name));
        EXPECT_EQ(name, c.first);
    }
}

struct UnusableCase {
    QString search, replace;
    NameMode mode;
    int canReplace;
};

TEST(clsMatching, UnusableReplacePatterns) {
    const UnusableCase cases[] = {
        {u"*.txt"_s, u"*.*"_s, kWhole, 3},
        {u"abc"_s, u"*"_s, kPart, 3},  // the stars part mode adds are not counted
        {u"abc"_s, u"?x"_s, kPart, 3},
        {u"a?c"_s, u"??"_s, kWhole, 3},
        // No position is left for the last replace token.
        {u"?*"_s, u"*?"_s, kWhole, 1},
        // A replace token would need a search position already taken.
        {u"*?"_s, u"?*"_s, kWhole, 1},
        // A replace wildcard would land on an empty search token and write
        // nothing: "-a-" would become "-" although "*" was asked for.
        {u"-*-*"_s, u"*-"_s, kWhole, 1},
        {u"x*?"_s, u"?*"_s, kWhole, 1},
        {u"*a??"_s, u"?a"_s, kWhole, 1},
        {u"*a??"_s, u"?a*"_s, kPart, 1},
    };
    for (const UnusableCase& c : cases) {
        SCOPED_TRACE(c.search.toStdString() + " -> " + c.replace.toStdString());
        clsMatching m = makeMatcher(c.search, c.mode);
        m.setReplacePattern(c.replace);
        EXPECT_EQ(m.CanReplace(), c.canReplace);
        EXPECT_EQ(m.CanMatching(), 0);
        QString name = u"abc"_s;
        EXPECT_TRUE(m.IsMatch(name) || c.mode == kWhole);
        EXPECT_FALSE(m.MatchAndReplaceFileName(name));
        EXPECT_EQ(name, u"abc"_s);
        // Reversing needs bit 4; an unusable pattern stays unusable.
        m.SetReplacePatternReverse(true);
        EXPECT_FALSE(m.MatchAndReplaceFileName(name));
        EXPECT_EQ(name, u"abc"_s);
    }
}

TEST(clsMatching, ReplaceNormalisedForms) {
    clsMatching m = makeMatcher(u"abc"_s, kPart);
    m.setReplacePattern(u"xyz"_s);
    EXPECT_EQ(m.ReplacePattern(), u"*xyz*"_s);
    EXPECT_EQ(m.ReplacePatternDisp(), u"xyz"_s);
    m.setReplacePattern(QString());
    EXPECT_EQ(m.ReplacePattern(), QString());

    clsMatching q = makeMatcher(u"??"_s, kPart);
    q.setReplacePattern(u"xy"_s);
    EXPECT_EQ(q.ReplacePattern(), u"xy*"_s);

    clsMatching s = makeMatcher(u"*"_s, kPart);
    s.setReplacePattern(u"x*"_s);
    EXPECT_EQ(s.ReplacePattern(), u"x*"_s);

    // Without a search pattern the replace pattern is kept as typed.
    clsMatching none;
    none.setReplacePattern(u"a*?b"_s);
    EXPECT_EQ(none.ReplacePattern(), u"a*?b"_s);
    EXPECT_EQ(none.CanReplace(), 1);
}

TEST(clsMatching, RowsOfBothReadings) {
    clsMatching m = makeMatcher(u"*-*"_s, kWhole);
    m.setReplacePattern(u"*"_s);
    EXPECT_EQ(m.GetMatchDec(), (QStringList{u""_s, u"*"_s, u"-"_s, u"*"_s, u""_s}));
    EXPECT_EQ(m.GetReplaceDec(false), (QStringList{u""_s, u"*"_s, u""_s, u""_s, u""_s}));
    EXPECT_EQ(m.GetReplaceDec(true), (QStringList{u""_s, u""_s, u""_s, u"*"_s, u""_s}));
    m.SetReplacePatternReverse(true);
    EXPECT_EQ(m.GetReplaceDec(false), (QStringList{u""_s, u""_s, u""_s, u"*"_s, u""_s}));

    clsMatching b = makeMatcher(u"a*b"_s, kWhole);
    b.setReplacePattern(u"b*a"_s);
    EXPECT_EQ(b.GetMatchDec(), (QStringList{u""_s, u"a"_s, u"*"_s, u"b"_s, u""_s}));
    EXPECT_EQ(b.GetReplaceDec(false), (QStringList{u"b"_s, u""_s, u"*"_s, u"a"_s, u""_s}));
    EXPECT_EQ(b.GetReplaceDec(true), (QStringList{u""_s, u"b"_s, u"*"_s, u""_s, u"a"_s}));

    // An empty replace pattern in whole mode: every row is empty.
    clsMatching w = makeMatcher(u"a*"_s, kWhole);
    w.setReplacePattern(QString());
    EXPECT_EQ(w.GetReplaceDec(false), (QStringList{u""_s, u""_s, u""_s, u""_s}));
    EXPECT_EQ(w.GetReplaceDec(true), (QStringList{u""_s, u""_s, u""_s, u""_s}));
}

TEST(clsMatching, UnusableReplaceKeepsTheLastUsableRow) {
    clsMatching m = makeMatcher(u"*.jpg"_s, kWhole);
    m.setReplacePattern(u"photo_*.jpg"_s);
    const QStringList usable{u"photo_"_s, u"*"_s, u".jpg"_s, u""_s};
    ASSERT_EQ(m.GetReplaceDec(false), usable);
    m.setReplacePattern(u"*.*"_s);
    EXPECT_EQ(m.CanReplace(), 3);
    EXPECT_EQ(m.ReplacePatternDisp(), u"*.*"_s);
    EXPECT_EQ(m.GetReplaceDec(false), usable);
    QString name = u"a.jpg"_s;
    EXPECT_FALSE(m.MatchAndReplaceFileName(name));
    EXPECT_EQ(name, u"a.jpg"_s);
    // A usable pattern again replaces the row.
    m.setReplacePattern(u"*.jpeg"_s);
    EXPECT_EQ(m.CanReplace(), 0);
    EXPECT_TRUE(m.MatchAndReplaceFileName(name));
    EXPECT_EQ(name, u"a.jpeg"_s);
}

TEST(clsMatching, ReplacePatternMayBeSetBeforeTheSearchPattern) {
    clsMatching m;
    m.setFileNameMode(kWhole);
    m.setReplacePattern(u"*-*"_s);
    EXPECT_EQ(m.CanReplace(), 1);
    m.setMatchPattern(u"*_*"_s);
    EXPECT_EQ(m.CanReplace(), 0);
    QString name = u"a_b"_s;
    EXPECT_TRUE(m.MatchAndReplaceFileName(name));
    EXPECT_EQ(name, u"a-b"_s);
    // A new search pattern aligns the same replace pattern again.
    m.setMatchPattern(u"*.txt"_s);
    EXPECT_EQ(m.CanReplace(), 3);
}

TEST(clsMatching, ChoiceOfReadingAcrossPatternChanges) {
    clsMatching m = makeMatcher(u"*-*"_s, kWhole);
    m.setReplacePattern(u"*"_s);
    ASSERT_EQ(m.CanReplace(), 4);
    m.SetReplacePatternReverse(true);
    QString name = u"ab-cd"_s;
    ASSERT_TRUE(m.MatchAndReplaceFileName(name));
    ASSERT_EQ(name, u"cd"_s);
    // The same pattern again is not compiled again: the choice stays.
    m.setMatchPattern(u"*-*"_s);
    name = u"ab-cd"_s;
    EXPECT_TRUE(m.MatchAndReplaceFileName(name));
    EXPECT_EQ(name, u"cd"_s);
    // A mode change compiles again and goes back to the first reading.
    m.setFileNameMode(kPart);
    m.setFileNameMode(kWhole);
    name = u"ab-cd"_s;
    EXPECT_TRUE(m.MatchAndReplaceFileName(name));
    EXPECT_EQ(name, u"ab"_s);
    // Setting the replace pattern again also resets the choice.
    m.SetReplacePatternReverse(true);
    m.setReplacePattern(u"*"_s);
    name = u"ab-cd"_s;
    EXPECT_TRUE(m.MatchAndReplaceFileName(name));
    EXPECT_EQ(name, u"ab"_s);
}

TEST(clsMatching, TextModeNewNamesKeepTheSpellingOfTheName) {
    clsMatching m = makeMatcher(u"img_*"_s, kWhole, 1);
    m.setReplacePattern(u"photo_*"_s);
    QString name = u"IMG_Photo.JPG"_s;
    EXPECT_TRUE(m.MatchAndReplaceFileName(name));
    EXPECT_EQ(name, u"photo_Photo.JPG"_s);
    // A literal kept by "?" or "*" comes from the name as spelled.
    clsMatching k = makeMatcher(u"a?c"_s, kPart, 1);
    k.setReplacePattern(u"<?>"_s);
    name = u"xABCy"_s;
    EXPECT_TRUE(k.MatchAndReplaceFileName(name));
    EXPECT_EQ(name, u"x<B>y"_s);
}

TEST(clsMatching, NoMatchLeavesTheNameAlone) {
    clsMatching m = makeMatcher(u"*.jpg"_s, kWhole);
    m.setReplacePattern(u"*.png"_s);
    QString name = u"a.gif"_s;
    EXPECT_FALSE(m.MatchAndReplaceFileName(name));
    EXPECT_EQ(name, u"a.gif"_s);
    name = u"b.jpg"_s;
    EXPECT_TRUE(m.MatchAndReplaceFileName(name));
    EXPECT_EQ(name, u"b.png"_s);
}

}  // namespace
