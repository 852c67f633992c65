#include "ui/frmSelect.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <functional>

#include "ui/WidgetApp.h"

using namespace sorvane;

namespace {

struct ExpansionChooserFixture : test::WithApplication, ::testing::Test {
    frmSelect chooser;
    ExpansionViews views{{QStringLiteral("a"), QStringLiteral("*"), QStringLiteral("<b>x</b>")},
                         {QStringLiteral("a"), QStringLiteral(""), QStringLiteral("*")},
                         {QStringLiteral("*"), QStringLiteral("a"), QStringLiteral("")}};

    template <typename T>
    static T* Child(QWidget* window, const char* name) {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    QPlainTextEdit* View(int k) {
        return chooser.findChild<QPlainTextEdit*>(QStringLiteral("rtfView_%1").arg(k));
    }
    static int Line(QPlainTextEdit* view) { return view->textCursor().blockNumber(); }
};

TEST_F(ExpansionChooserFixture, EachWayOfClosingTheQuestionGivesItsChoice) {
    struct Case {
        const char* way;
        const char* button;  // clicked; otherwise Esc or the close box
        QString caption;
        Qt::Key key;
        ExpansionChoice expected;
    };
    const Case cases[] = {
        {"keep", "cmdBs_1", QStringLiteral("このまま(&R)"), {}, ExpansionChoice::KeepFirst},
        {"esc", nullptr, {}, Qt::Key_Escape, ExpansionChoice::Cancel},
        {"change", "cmdBs_2", QStringLiteral("変えてみる(&S)"), {}, ExpansionChoice::TakeSecond},
        {"close box", nullptr, {}, Qt::Key_unknown, ExpansionChoice::Cancel},
        {"cancel", "cmdBs_0", QStringLiteral("中止(&C)"), {}, ExpansionChoice::Cancel},
    };
    for (const Case& c : cases) {
        QString title, message, shown;
        QTimer::singleShot(0, &chooser, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr) << c.way;
            title = dialog->windowTitle();
            message = Child<QPlainTextEdit>(dialog, "Text1")->toPlainText();
            shown = Child<QPlainTextEdit>(dialog, "rtfView_2")->toPlainText();
            if (c.button) {
                QPushButton* button = Child<QPushButton>(dialog, c.button);
                EXPECT_EQ(button->text(), c.caption) << c.way;
                QTest::mouseClick(button, Qt::LeftButton);
            } else if (c.key != Qt::Key_unknown) {
                QTest::keyClick(dialog->focusWidget(), c.key);
            } else {
                dialog->close();
            }
        });
        const ExpansionChoice choice =
            chooser.Choose(views, QStringLiteral("<i>展開</i>パターンを\r\n変更しますか？"));
        EXPECT_EQ(choice, c.expected) << c.way;
        EXPECT_EQ(title, QStringLiteral("置換パターンの選択")) << c.way;
        EXPECT_EQ(message, QStringLiteral("<i>展開</i>パターンを\n変更しますか？")) << c.way;
        EXPECT_EQ(shown, QStringLiteral("  0 : *\n  1 : a\n  2 : \n")) << c.way;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << c.way;
    }
    EXPECT_FALSE(chooser.isVisible());
}

// The display-only window shows the views and returns at once; it stays open
// until it is closed, and says so when it is.
TEST_F(ExpansionChooserFixture, TheDisplayShowsTheViewsWithoutWaiting) {
    QStringList many;
    for (int i = 0; i <= 1000; ++i) many.append(QStringLiteral("t%1").arg(i));
    views.replaceDecReverse = many;
    QSignalSpy closed(&chooser, &frmSelect::DisplayClosed);
    chooser.Display(views);

    EXPECT_TRUE(chooser.isVisible());
    EXPECT_FALSE(chooser.isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(chooser.windowTitle(), QStringLiteral("置換パターンの展開結果"));
    for (const char* hidden : {"cmdBs_0", "cmdBs_1", "cmdBs_2", "Text1", "Image1"})
        EXPECT_FALSE(Child<QWidget>(&chooser, hidden)->isVisible()) << hidden;
    EXPECT_EQ(View(0)->toPlainText(), QStringLiteral("  0 : a\n  1 : *\n  2 : <b>x</b>\n"));
    EXPECT_EQ(View(1)->toPlainText(), QStringLiteral("  0 : a\n  1 : \n  2 : *\n"));
    const QString reverse = View(2)->toPlainText();
    EXPECT_TRUE(reverse.startsWith(QStringLiteral("  0 : t0\n  1 : t1\n")));
    EXPECT_TRUE(reverse.contains(QStringLiteral("\n  9 : t9\n 10 : t10\n")));
    EXPECT_TRUE(reverse.endsWith(QStringLiteral("\n999 : t999\n1000 : t1000\n")));

    EXPECT_EQ(closed.count(), 0);
    chooser.close();
    EXPECT_FALSE(chooser.isVisible());
    EXPECT_EQ(closed.count(), 1);
}

// The scroll bar moves the carets of all three views to its line; a caret
// moved in one view moves the scroll bar and the carets of the two others.
TEST_F(ExpansionChooserFixture, TheCaretsFollowTheScrollBarAndEachOther) {
    chooser.Display(views);
    auto* scroll = Child<QScrollBar>(&chooser, "vscSelect");
    EXPECT_EQ(scroll->maximum(), 3);
    scroll->setValue(2);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(Line(View(k)), 2) << k;

    QTextCursor cursor(View(1)->document()->findBlockByNumber(1));
    cursor.movePosition(QTextCursor::EndOfBlock);
    View(1)->setTextCursor(cursor);
    EXPECT_EQ(scroll->value(), 1);
    EXPECT_EQ(View(1)->textCursor().position(), cursor.position());  // the moved caret stays
    for (int k : {0, 2}) {
        EXPECT_EQ(Line(View(k)), 1) << k;
        EXPECT_EQ(View(k)->textCursor().positionInBlock(), 0) << k;
    }
}

}  // namespace
