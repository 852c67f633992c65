#include "ui/LogBoxView.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QScrollBar>
#include <QTest>

#include "WidgetApp.h"
#include "ui/LogView.h"

using namespace sorvane;
using namespace Qt::StringLiterals;

namespace {

QStringList LinesOf(const LogLines& lines) {
    QStringList all;
    for (qsizetype i = 0; i < lines.LineCount(); ++i) all.append(lines.Line(i));
    return all;
}

// The lines are the text split at CR LF, wherever the pieces part it; a
// take-back leaves the lines of the text kept, as if the rest never came.
TEST(LogLines, LinesFollowTheTextAcrossPiecesAndTakeBacks) {
    const struct {
        QStringList pieces;
        QStringList lines;
    } cases[] = {
        {{}, {u""_s}},
        {{u"a\r\nbb\r\n"_s}, {u"a"_s, u"bb"_s, u""_s}},
        {{u"a\r"_s, u"\nb"_s}, {u"a"_s, u"b"_s}},  // CR LF split between two pieces
        {{u"lo"_s, u""_s, u"ng"_s, u" line\r\nx"_s}, {u"long line"_s, u"x"_s}},
        {{u"a\r"_s, u"\r\n"_s, u"\n"_s}, {u"a\r"_s, u"\n"_s}},  // lone CR and LF stay text
    };
    for (const auto& c : cases) {
        LogLines lines;
        for (const QString& piece : c.pieces) lines.Append(piece);
        EXPECT_EQ(LinesOf(lines), c.lines) << c.pieces.join(u'|').toStdString();
        EXPECT_EQ(lines.Text(), c.pieces.join(QString()));
    }

    LogLines lines;
    lines.Append(u"head\r\n"_s);
    const qint64 mark = lines.Mark();
    lines.Append(u"the longest line of all\r"_s);
    lines.Append(u"\nnext\r\n"_s);
    EXPECT_EQ(lines.Line(lines.LongestLine()), u"the longest line of all"_s);
    lines.TakeBack(mark);
    EXPECT_EQ(LinesOf(lines), (QStringList{u"head"_s, u""_s}));
    EXPECT_EQ(lines.Line(lines.LongestLine()), u"head"_s);
    lines.Append(u"tail"_s);
    EXPECT_EQ(lines.Text(), u"head\r\ntail"_s);
    EXPECT_EQ(LinesOf(lines), (QStringList{u"head"_s, u"tail"_s}));
}

// The box as a user has it: a drag over lines selects them, Ctrl+C copies
// them with "\n" between, Ctrl+A takes all, and the end of a long log can
// be brought into view and stays there.
TEST(LogBoxView, SelectsAndCopiesTheLinesAUserDragsOver) {
    test::EnsureApplication();
    LogView view;
    view.resize(400, 200);
    LogBoxView box(view);
    QString log;
    for (int i = 0; i < 300; ++i) {
        // A name may hold a line separator: it stays on its line.
        const QString name = i == 1 ? u"b1\u2028x"_s : u"b%1"_s.arg(i);
        log += u"[変換]："_s + name + u".txt → c%1.dat\r\n"_s.arg(i);
    }
    box.Append(u"==開始==\r\n"_s);
    box.Append(log.left(log.size() / 2));  // parted inside a line
    box.Append(log.mid(log.size() / 2));
    view.show();
    view.setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));

    QWidget* face = view.viewport();
    const int line = view.fontMetrics().lineSpacing();
    QTest::mousePress(face, Qt::LeftButton, {}, QPoint(1, 4 + line / 2));
    QMouseEvent drag(QEvent::MouseMove, QPointF(face->width() - 2, 4 + 2 * line + line / 2),
                     face->mapToGlobal(QPointF(face->width() - 2, 4 + 2 * line + line / 2)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(face, &drag);
    QTest::mouseRelease(face, Qt::LeftButton, {},
                        QPoint(face->width() - 2, 4 + 2 * line + line / 2));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              u"==開始==\n[変換]：b0.txt → c0.dat\n[変換]：b1\u2028x.txt → c1.dat"_s);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::ControlModifier);
    QString all = box.Text();
    all.replace(u"\r\n"_s, u"\n"_s);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), all);

    // The end stays in view when a line wider than the box brings the
    // horizontal scroll bar.
    box.Append(QString(300, u'x') + u"\r\n"_s);
    box.ShowEnd();
    QApplication::processEvents();
    ASSERT_TRUE(view.horizontalScrollBar()->isVisible());
    const QScrollBar* bar = view.verticalScrollBar();
    EXPECT_EQ(bar->maximum(), 303 - (face->height() - 4) / line);
    EXPECT_EQ(bar->value(), bar->maximum());

    // A new run's log starts from nothing: no width or selection is left,
    // whichever line was the widest.
    ASSERT_GT(view.horizontalScrollBar()->maximum(), 0);
    box.Clear();
    box.Append(QString(300, u'y'));
    ASSERT_GT(view.horizontalScrollBar()->maximum(), 0);
    box.Clear();
    box.Append(u"==開始==\r\n"_s);
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(bar->maximum(), 0);
    EXPECT_EQ(view.SelectedText(), QString());
}

}  // namespace
