#include "platform/NameBytes.h"

#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/ShownName.h"

using namespace sorvane;
using namespace Qt::StringLiterals;

namespace {

// Names in any bytes: each byte that is not part of valid UTF-8 is one
// escape, shown as "\x" and its hex digits, and the text gives back the
// very bytes.
TEST(NameBytes, AnyBytesAreHeldShownAndGivenBackExactly) {
    struct Case {
        const char* what;
        QByteArray bytes;
        QString shown;
    };
    const Case cases[] = {
        {"Shift-JIS", "\x82\xa0\x82\xa2.txt", u"\\x82\\xA0\\x82\\xA2.txt"_s},
        {"EUC-JP", "\xa4\xa2.txt", u"\\xA4\\xA2.txt"_s},
        {"Latin-1", "caf\xe9", u"caf\\xE9"_s},
        {"a lone continuation byte", "\x80z", u"\\x80z"_s},
        {"an overlong encoding", "\xc0\xaf", u"\\xC0\\xAF"_s},
        {"a sequence cut off at the end", "a\xe3\x81", u"a\\xE3\\x81"_s},
        {"a sequence cut off by ASCII",
         "\xe3\x81"
         "A",
         u"\\xE3\\x81A"_s},
        {"FE and FF", "\xfe\xff", u"\\xFE\\xFF"_s},
        {"an encoded surrogate", "\xed\xa0\x80", u"\\xED\\xA0\\x80"_s},
        {"beyond U+10FFFF", "\xf4\x90\x80\x80", u"\\xF4\\x90\\x80\\x80"_s},
        {"valid UTF-8 with invalid bytes", "あ\x82x😀\xa9", u"あ\\x82x😀\\xA9"_s},
        {"a control character beside one", "\n\x82", u"␊\\x82"_s},
        {"valid UTF-8 alone", "写真😀.jpg", u"写真😀.jpg"_s},
        {"a byte-order mark first",
         "\xef\xbb\xbf"
         "a",
         u"\uFEFFa"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString text = FileSystem::Decode(c.bytes);
        EXPECT_EQ(ShownName(text), c.shown);
        EXPECT_EQ(ShownLength(text), c.shown.size());
        QByteArray back;
        ASSERT_TRUE(FileSystem::EncodeExactly(text, &back));
        EXPECT_EQ(back, c.bytes);
        EXPECT_EQ(name_bytes::NativeSize(text), c.bytes.size());
    }
    // Half of a pair outside the escapes' range names no byte at all: the
    // system is never handed it, and it is shown by its code. (A half within
    // that range reads as a byte; the plan refuses a new name that holds
    // one its old name had as half of a pair.)
    const QString cut = QStringView(u"😀a").sliced(1).toString();
    QByteArray bytes;
    EXPECT_FALSE(FileSystem::EncodeExactly(cut, &bytes));
    EXPECT_EQ(ShownName(cut), u"\\uDE00a"_s);
}

// The plain start of a name ends at its first unit that is not printable
// ASCII or is the stop, wherever that unit lies: in the first eight, in a
// later eight, in the last few that are tested twice, or nowhere; written
// out, it is the same units as bytes.
TEST(NameBytes, ThePlainStartEndsAtTheFirstOtherUnit) {
    struct Odd {
        char16_t unit;
        char16_t stop;
        bool plain;
    };
    const Odd odd[] = {{0x1F, 0, false},    {0x20, 0, true},     {0x7E, 0, true},
                       {0x7F, 0, false},    {0x80, 0, false},    {0x3042, 0, false},
                       {0x7FFF, 0, false},  {0x8000, 0, false},  {0xDC82, 0, false},
                       {0xFFFF, 0, false},  {u'/', u'/', false}, {u'/', u'%', true},
                       {u'%', u'%', false}, {0x00, 0x00, false}, {u'a', u'b', true}};
    for (const qsizetype size : {1, 7, 8, 9, 16, 21}) {
        for (qsizetype at = 0; at < size; ++at) {
            for (const Odd& o : odd) {
                QString name(size, u'a');
                name[at] = QChar(o.unit);
                if (at + 1 < size) name[size - 1] = QChar(0x7F);  // a later failure
                const qsizetype expected = o.plain ? (at + 1 < size ? size - 1 : size) : at;
                EXPECT_EQ(name_bytes::PlainPrefix(name, o.stop), expected)
                    << "size " << size << ", unit " << int(o.unit) << " at " << at;
                QByteArray bytes(size, '-');
                EXPECT_EQ(name_bytes::PutPlain(bytes.data(), name, o.stop), expected);
                EXPECT_EQ(bytes.first(expected), name.first(expected).toLatin1());
            }
        }
    }
    EXPECT_EQ(name_bytes::PlainPrefix(QString()), 0);
}

}  // namespace
