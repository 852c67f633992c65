#include "cli/CliLogBox.h"

#include <gtest/gtest.h>

#include <QBuffer>

using namespace sorvane;
using namespace Qt::StringLiterals;

namespace {

// What the box prints on a stream of text; on a stream of bytes (as the
// program's output is) it must write what the stream itself would write of
// that text, after what the stream held before.
QString Printed(const CliLogBox& box) {
    QString text;
    QTextStream out(&text);
    box.Print(out);
    out.flush();
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    QTextStream device(&bytes);
    device << u"before "_s;
    box.Print(device);
    device.flush();
    QBuffer expected;
    expected.open(QIODevice::WriteOnly);
    QTextStream whole(&expected);
    whole << u"before "_s + text;
    whole.flush();
    EXPECT_EQ(bytes.data(), expected.data());
    return text;
}

// The log kept in a file gives back exactly what came, a lone surrogate
// and a line end split between two pieces included; what came after a
// mark is taken back, and the rest printed with "\n" line ends.
TEST(CliLogBox, GivesBackWhatCameAndTakesBackToAMark) {
    CliLogBox box;
    ASSERT_TRUE(box.TakesPieces());
    const QString lone(QChar(0xD800));
    box.Append(u"開始\r\n"_s);
    box.Append(u"a"_s + lone + u"\r"_s);
    const qint64 mark = box.Mark();
    box.Append(u"\n詳細ログ\r\n"_s);
    EXPECT_EQ(box.Text(), u"開始\r\na"_s + lone + u"\r\n詳細ログ\r\n"_s);
    EXPECT_EQ(Printed(box), u"開始\na"_s + lone + u"\n詳細ログ\n"_s);

    box.TakeBack(mark);
    EXPECT_EQ(box.Text(), u"開始\r\na"_s + lone + u"\r"_s);
    box.Append(u"x"_s);
    EXPECT_EQ(Printed(box), u"開始\na"_s + lone + u"\rx\n"_s);
    box.Clear();
    EXPECT_EQ(box.Text(), QString());
    EXPECT_EQ(Printed(box), QString());
}

// A log longer than what is read at once is printed whole: lines of nine
// units put the end of the first read (32,768 units) between a "\r" and
// its "\n".
TEST(CliLogBox, ALongLogIsPrintedWhole) {
    CliLogBox box;
    const QString line = u"abcdefg\r\n"_s;
    QString expected;
    for (int i = 0; i < 8000; ++i) {
        box.Append(line);
        expected += u"abcdefg\n"_s;
    }
    EXPECT_EQ(Printed(box), expected);
}

// Characters of two, three and four bytes, a pair split between two
// reads of the log (32,768 units each) and a half without its partner are
// written as the stream itself writes them.
TEST(CliLogBox, PrintsEveryCharacterAsTheStreamWould) {
    CliLogBox box;
    const QChar high(0xD83D), low(0xDE00);
    const QString first = u"é変換😀"_s + QString(32768 - 6, u'a') + high;
    ASSERT_EQ(first.size(), 32768);
    box.Append(first);
    box.Append(low + u"x\r\n"_s + low + u"y"_s + high + u"z\r\n"_s);
    EXPECT_EQ(Printed(box), first + low + u"x\n"_s + low + u"y"_s + high + u"z\n"_s);
}

// A log that outgrows the memory it may take goes on in a file on disk
// with all it held: a mark taken before the move still takes back to its
// place.
TEST(CliLogBox, ALogThatOutgrowsMemoryMovesWhole) {
    CliLogBox box(64);
    box.Append(u"一行目\r\n"_s);
    const qint64 mark = box.Mark();
    QString expected = u"一行目\r\n"_s;
    for (int i = 0; i < 20; ++i) {
        box.Append(u"line %1\r\n"_s.arg(i));
        expected += u"line %1\r\n"_s.arg(i);
    }
    EXPECT_EQ(box.Text(), expected);
    box.TakeBack(mark);
    box.Append(u"最後\r\n"_s);
    EXPECT_EQ(box.Text(), u"一行目\r\n最後\r\n"_s);
    EXPECT_EQ(Printed(box), u"一行目\n最後\n"_s);
}

}  // namespace
