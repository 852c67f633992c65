#include "ui/frmDlgCancel.h"

#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "ports/clsCancel.h"
#include "support/scripted/ScriptedMessageBox.h"
#include "ui/WidgetApp.h"

using namespace sorvane;

namespace {

struct ProgressWindowFixture : test::WithApplication, ::testing::Test {
    frmDlgCancel window;
    ScriptedMessageBox messages;
    clsCancel cancel{window, messages};
    void TearDown() override { window.hide(); }
};

TEST_F(ProgressWindowFixture, ShowsTheTextsItIsGiven) {
    window.Attach(&cancel);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("作業中"));
    cancel.SetCaption(QStringLiteral("変換作業中"));
    cancel.SetTitle(QStringLiteral("ファイルリストの作成"));
    cancel.SetText(QStringLiteral("写真/a.jpg"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("変換作業中"));
    EXPECT_EQ(window.findChild<QLineEdit*>(QStringLiteral("Text2"))->text(),
              QStringLiteral("ファイルリストの作成"));
    EXPECT_EQ(window.findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->toPlainText(),
              QStringLiteral("写真/a.jpg"));
    EXPECT_EQ(window.findChild<QPushButton*>(QStringLiteral("CancelButton"))->text(),
              QStringLiteral("中止(&C)"));
}

// Shown, the window takes new texts at the next event pump.
TEST_F(ProgressWindowFixture, TextsKeepChangingWhileShown) {
    window.Attach(&cancel);
    window.SetPumpInterval(0);
    cancel.SetVisible(true);
    for (const QString& text : {QStringLiteral("写真/a.jpg"), QStringLiteral("写真/b.jpg")}) {
        cancel.SetText(text);
        cancel.SetCaption(text + QStringLiteral(" 作業中"));
        EXPECT_EQ(window.findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->toPlainText(), text);
        EXPECT_EQ(window.windowTitle(), text + QStringLiteral(" 作業中"));
    }
}

// Texts set right before a step that does not poll are shown before it.
TEST_F(ProgressWindowFixture, TextsCanBeShownWithoutWaitingForAPump) {
    window.Attach(&cancel);
    cancel.SetVisible(true);
    window.ProcessEvents();  // the pump of this frame has been taken
    cancel.SetText(QStringLiteral("/home/user/Log"));
    cancel.ShowTextsNow();
    EXPECT_EQ(window.findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->toPlainText(),
              QStringLiteral("/home/user/Log"));
}

TEST_F(ProgressWindowFixture, ButtonEnterAndEscSetTheCancelFlag) {
    window.Attach(&cancel);
    cancel.SetVisible(true);
    window.findChild<QPushButton*>(QStringLiteral("CancelButton"))->click();
    EXPECT_TRUE(cancel.IsCancel);

    cancel.SetVisible(true);
    ASSERT_FALSE(cancel.IsCancel);
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(cancel.IsCancel);
    EXPECT_TRUE(window.isVisible());

    cancel.SetVisible(true);
    QTest::keyClick(window.findChild<QPushButton*>(QStringLiteral("CancelButton")), Qt::Key_Return);
    EXPECT_TRUE(cancel.IsCancel);
}

TEST_F(ProgressWindowFixture, TheTitleBarCannotCloseIt) {
    window.Attach(&cancel);
    cancel.SetVisible(true);
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(cancel.IsCancel);
}

}  // namespace
