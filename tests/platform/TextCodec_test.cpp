#include "platform/TextCodec.h"

#include <gtest/gtest.h>

#include <QStringDecoder>

namespace sorvane {
namespace {

using namespace Qt::StringLiterals;

const QByteArray kBom = QByteArrayLiteral("\xEF\xBB\xBF");

QString Hex(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex(' '));
}

TEST(TextCodecTest, ShiftJisIsAvailable) {
    EXPECT_TRUE(HasShiftJisCodec());
}

// Texts that code page 932 holds are written in it, byte for byte as
// Windows writes them.
TEST(TextCodecTest, WritesShiftJisWhenEveryCharacterFits) {
    struct Case {
        QString text;
        QByteArray bytes;
    };
    const Case cases[] = {
        {u""_s, QByteArray()},
        {u"[システム]"_s, QByteArray::fromHex("5b83568358836583805d")},
        {u"最大処理ファイル数=10000\r\n"_s,
         QByteArray::fromHex("8dc591e58f88979d837483408343838b90943d31303030300d0a")},
        // Code page 932's own mappings, where plain Shift-JIS differs.
        {u"～－①髙"_s, QByteArray::fromHex("8160817c8740fbfc")},
        {u"―∥￢"_s, QByteArray::fromHex("815c816181ca")},
        {u"纊ⅰ"_s, QByteArray::fromHex("fa5cfa40")},
        {u"\\~"_s, QByteArray::fromHex("5c7e")},
        {u"ｱﾟ"_s, QByteArray::fromHex("b1df")},
        {u"\uE000"_s, QByteArray::fromHex("f040")},  // user-defined area
    };
    for (const Case& c : cases) {
        bool lossless = false;
        EXPECT_EQ(Hex(EncodeTextFile(c.text, &lossless)), Hex(c.bytes)) << c.text.toStdString();
        EXPECT_TRUE(lossless);
    }
}

// Any character without a code in 932 (or only a one-way one) sends the
// whole text to UTF-8 behind the mark; no character becomes "?".
TEST(TextCodecTest, WritesUtf8WithMarkWhenSomeCharacterDoesNotFit) {
    const QString cases[] = {
        u"〜"_s,              // U+301C: 932 has only U+FF5E at 0x8160
        u"システム〜ログ"_s,  // one such character decides for the whole text
        u"−"_s,
        u"—"_s,
        u"‖"_s,
        u"¢£¬"_s,  // the other lookalikes of 932's marks
        u"¥"_s,
        u"€"_s,
        u"üñ"_s,
        u"😀"_s,        // outside the 16-bit range
        u"\uFEFFa"_s,  // a mark of its own at the start
        u"a?b〜"_s,
    };
    for (const QString& text : cases) {
        bool lossless = false;
        EXPECT_EQ(Hex(EncodeTextFile(text, &lossless)), Hex(kBom + text.toUtf8()))
            << text.toStdString();
        EXPECT_TRUE(lossless);
    }
}

// Whatever a text holds, reading what was written gives it back exactly.
TEST(TextCodecTest, EveryCharacterComesBackIdentical) {
    for (char32_t code = 0; code <= 0x10FFFF; code += (code < 0x10000 ? 1 : 0x3FF)) {
        if (code >= 0xD800 && code <= 0xDFFF) continue;
        const QString text = u"a"_s + QString::fromUcs4(&code, 1) + u"ア"_s;
        const QByteArray bytes = EncodeTextFile(text);
        bool clean = false;
        ASSERT_EQ(DecodeTextFile(bytes, &clean), text) << "U+" << std::hex << uint32_t(code);
        ASSERT_TRUE(clean);
    }
}

TEST(TextCodecTest, ReadsByTheMarkOrElseCodePage932) {
    struct Case {
        const char* name;
        QByteArray bytes;
        QString text;
        bool clean;
    };
    const Case cases[] = {
        {"empty", QByteArray(), u""_s, true},
        {"code page 932", QByteArray::fromHex("5b83568358836583805d8160"), u"[システム]～"_s, true},
        {"mark then UTF-8", kBom + u"設定〜"_s.toUtf8(), u"設定〜"_s, true},
        {"a second mark is text", kBom + kBom + "a", u"\uFEFFa"_s, true},
        {"mark only", kBom, u""_s, true},
        // A file saved by a Linux editor: not valid 932, valid UTF-8.
        {"UTF-8 without mark", u"検索語=写真の整理"_s.toUtf8(), u"検索語=写真の整理"_s, true},
        {"invalid in both", QByteArrayLiteral("a\x80\xff"), QString(), false},
        {"lead byte cut off at the end", QByteArrayLiteral("abc\x82"), QString(), false},
        {"invalid UTF-8 after the mark", kBom + QByteArrayLiteral("a\xff"), QString(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool clean = !c.clean;
        const QString text = DecodeTextFile(c.bytes, &clean);
        EXPECT_EQ(clean, c.clean);
        if (c.clean) {
            EXPECT_EQ(text, c.text);
        }
    }
}

// An unpaired surrogate is no character in any encoding: it is written as
// the replacement character and reported, never as "?".
TEST(TextCodecTest, UnpairedSurrogateIsReported) {
    const QString text = u"a"_s + QChar(0xD800) + u"b"_s;
    bool lossless = true;
    const QByteArray bytes = EncodeTextFile(text, &lossless);
    EXPECT_FALSE(lossless);
    EXPECT_EQ(Hex(bytes), Hex(kBom + QByteArrayLiteral("a\xEF\xBF\xBD"
                                                       "b")));
}

}  // namespace
}  // namespace sorvane
