#include "ui/LogBoxView.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QTextDocument>

#include "WidgetApp.h"

using namespace sorvane;
using namespace Qt::StringLiterals;

namespace {

// A run's long log goes into the box by parts: the box shows every line
// once, in blocks of 64 lines, and keeps the text as it was given.
TEST(LogBoxView, ALongLogIsShownWholeAndKeptAsGiven) {
    test::EnsureApplication();
    QPlainTextEdit edit;
    LogBoxView box(edit);
    box.Append(u"==開始==\r\n"_s);
    QString log;
    for (int i = 0; i < 5000; ++i) log += u"[変換]：b%1.txt → c%1.dat\r\n"_s.arg(i);
    box.Append(log);

    const QString text = u"==開始==\r\n"_s + log;
    EXPECT_EQ(box.Text(), text);
    QString lines = text;
    lines.replace(u"\r\n"_s, u"\n"_s);
    EXPECT_EQ(edit.toPlainText(), lines);
    EXPECT_EQ(edit.document()->blockCount(), 5001 / 64 + 1);
}

}  // namespace
