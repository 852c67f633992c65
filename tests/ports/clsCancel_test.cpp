#include "ports/clsCancel.h"

#include <gtest/gtest.h>

#include "support/scripted/ScriptedMessageBox.h"
#include "support/scripted/ScriptedProgressWindow.h"

using namespace sorvane;

namespace {

struct CancelFixture : ::testing::Test {
    ScriptedProgressWindow window;
    ScriptedMessageBox messages;
    clsCancel cancel{window, messages};

    // Press "中止(&C)" at the next pending-events run.
    void ClickAtNextPump() {
        const int at = window.pumps + 1;
        window.onProcessEvents = [this, at](int pump) {
            if (pump == at) cancel.CancelClick();
        };
    }
};

TEST_F(CancelFixture, PollWithoutClickAsksNothing) {
    cancel.SetVisible(true);
    EXPECT_FALSE(cancel.DoCancel(QStringLiteral("ファイルリストの作成")));
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_TRUE(window.visible);
}

TEST_F(CancelFixture, ClickThenNoGoesOnAndForgetsTheClick) {
    cancel.SetVisible(true);
    ClickAtNextPump();
    messages.answers = {MsgAnswer::No};
    EXPECT_FALSE(cancel.DoCancel(QStringLiteral("ファイルリストの作成")));
    ASSERT_EQ(messages.shown.size(), 1);
    const MessageRequest& q = messages.shown.first();
    EXPECT_EQ(q.text, QStringLiteral("作業を中止しますか？"));
    EXPECT_EQ(q.title, QStringLiteral("ファイルリストの作成"));
    EXPECT_EQ(q.buttons, MsgButtons::YesNo);
    EXPECT_EQ(q.icon, MsgIcon::None);
    EXPECT_EQ(DefaultAnswer(q), MsgAnswer::No);
    EXPECT_TRUE(window.visible);
    EXPECT_FALSE(cancel.IsCancel);
    EXPECT_FALSE(cancel.DoCancel(QStringLiteral("x")));
    EXPECT_EQ(messages.shown.size(), 1);
}

TEST_F(CancelFixture, ClickThenYesStopsAndStaysHidden) {
    cancel.SetVisible(true);
    ClickAtNextPump();
    messages.answers = {MsgAnswer::Yes};
    EXPECT_TRUE(cancel.DoCancel(QStringLiteral("削除リストの作成")));
    EXPECT_FALSE(window.visible);
    EXPECT_TRUE(cancel.IsCancel);
}

TEST_F(CancelFixture, ShowingTheWindowClearsAnEarlierClick) {
    cancel.CancelClick();
    cancel.SetVisible(true);
    EXPECT_FALSE(cancel.IsCancel);
    EXPECT_FALSE(cancel.DoCancel(QStringLiteral("x")));
}

TEST_F(CancelFixture, TextsReachTheWindowAndRunPendingEvents) {
    const int before = window.pumps;
    cancel.SetCaption(QStringLiteral("変換作業中"));
    cancel.SetTitle(QStringLiteral("削除ファイル確認中 / 100"));
    cancel.SetText(QStringLiteral("sub/a.txt"));
    EXPECT_EQ(window.pumps - before, 3);
    EXPECT_EQ(window.captions.last(), QStringLiteral("変換作業中"));
    EXPECT_EQ(cancel.Title(), QStringLiteral("削除ファイル確認中 / 100"));
    EXPECT_EQ(window.texts.last(), QStringLiteral("sub/a.txt"));
}

}  // namespace
