#include "ui/frmDlgDel.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "ui/WidgetApp.h"

using namespace sorvane;

namespace {

struct OverwriteDialogFixture : test::WithApplication, ::testing::Test {
    frmDlgDel dialog;

    QPushButton* Button(const char* name) {
        return dialog.findChild<QPushButton*>(QString::fromLatin1(name));
    }
    QPlainTextEdit* Label1() { return dialog.findChild<QPlainTextEdit*>(QStringLiteral("Label1")); }
    // Asks, doing what is given while the dialog is open.
    OverwriteAnswer AskWhile(const std::function<void()>& action,
                             const QString& label = QStringLiteral("「a.txt」")) {
        QTimer::singleShot(0, &dialog, action);
        return dialog.Ask(QStringLiteral("「b.txt」→「a.txt」削除の確認"), label);
    }
};

// Every answer follows one that is not No, so that each question is seen to
// start afresh: with the focus and the default on NoButton and the answer No.
TEST_F(OverwriteDialogFixture, EachWayOfClosingGivesItsAnswer) {
    struct Case {
        const char* way;
        const char* button;  // clicked with the mouse; otherwise a key or the close box
        QString caption;
        Qt::Key key;
        OverwriteAnswer expected;
    };
    const Case cases[] = {
        {"yes", "OKButton", QStringLiteral("はい(&Y)"), Qt::Key_unknown, OverwriteAnswer::Yes},
        {"enter", nullptr, {}, Qt::Key_Return, OverwriteAnswer::No},
        {"all", "AllDelButton", QStringLiteral("全て削除(&A)"), {}, OverwriteAnswer::DeleteAll},
        {"esc", nullptr, {}, Qt::Key_Escape, OverwriteAnswer::No},
        {"keep", "AllSaveButton", QStringLiteral("全て残す(&S)"), {}, OverwriteAnswer::KeepAll},
        {"close box", nullptr, {}, Qt::Key_unknown, OverwriteAnswer::No},
        {"cancel", "cmdCancel", QStringLiteral("中止(&C)"), {}, OverwriteAnswer::Cancel},
        {"no", "NoButton", QStringLiteral("いいえ(&N)"), {}, OverwriteAnswer::No},
    };
    for (const Case& c : cases) {
        const OverwriteAnswer answer = AskWhile([&] {
            if (c.button) {
                EXPECT_EQ(Button(c.button)->text(), c.caption) << c.way;
                QTest::mouseClick(Button(c.button), Qt::LeftButton);
            } else if (c.key != Qt::Key_unknown) {
                QTest::keyClick(dialog.focusWidget(), c.key);
            } else {
                dialog.close();
            }
        });
        EXPECT_EQ(answer, c.expected) << c.way;
        EXPECT_FALSE(dialog.isVisible()) << c.way;
    }
}

TEST_F(OverwriteDialogFixture, ShowsTheCaptionAndTheLabelAsGiven) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("削除の確認"));
    QString shownTitle, shownLabel;
    AskWhile(
        [&] {
            shownTitle = dialog.windowTitle();
            shownLabel = Label1()->toPlainText();
            dialog.reject();
        },
        QStringLiteral("「<b>x</b>」はすでに存在しています。\r\nもともとある"));
    EXPECT_EQ(shownTitle, QStringLiteral("「b.txt」→「a.txt」削除の確認"));
    EXPECT_EQ(shownLabel, QStringLiteral("「<b>x</b>」はすでに存在しています。\nもともとある"));
}

TEST_F(OverwriteDialogFixture, TheFocusStartsOnNoAndTabsInTheDesignOrder) {
    QStringList order;
    AskWhile([&] {
        for (int i = 0; i < 6; ++i) {
            order.append(dialog.focusWidget()->objectName());
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
        }
        dialog.reject();
    });
    EXPECT_EQ(order, (QStringList{QStringLiteral("NoButton"), QStringLiteral("AllDelButton"),
                                  QStringLiteral("AllSaveButton"), QStringLiteral("OKButton"),
                                  QStringLiteral("cmdCancel"), QStringLiteral("NoButton")}));
}

}  // namespace
