#include "ui/frmPreview.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPalette>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <thread>

#include "ui/ScriptedDesktop.h"
#include "ui/TableRows.h"
#include "ui/WidgetApp.h"

using namespace sorvane;
using namespace Qt::StringLiterals;

namespace {

// A stand-in computation that holds the request for folder "slow" until it
// is let go, whatever its stop flag says, so that a result computed for
// outdated inputs does arrive.
struct HeldComputation {
    std::atomic<bool> started{false};
    std::atomic<bool> letGo{false};
    std::atomic<bool> stopSeen{false};

    PlanPreview operator()(const PreviewRequest& request, const std::atomic<bool>& stop) {
        if (request.folder == u"slow"_s) {
            started = true;
            while (!letGo) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            stopSeen = stop.load();
        }
        PlanPreview preview;
        preview.end = ListingEnd::Done;
        preview.message = request.folder;
        return preview;
    }
};

TEST(PreviewComputer, AChangeStopsTheComputationInFlightAndOnlyTheLastResultArrives) {
    test::EnsureApplication();
    HeldComputation held;
    QStringList delivered;
    int outdated = 0;
    {
        PreviewComputer computer([&held](const PreviewRequest& r, const std::atomic<bool>& stop) {
            return held(r, stop);
        });
        QObject::connect(
            &computer, &PreviewComputer::Computed,
            [&](std::shared_ptr<const PlanPreview> p) { delivered.append(p->message); });
        QObject::connect(&computer, &PreviewComputer::Outdated, [&] { ++outdated; });
        computer.Request(PreviewRequest{u"slow"_s, {}, {}, {}, {}});
        ASSERT_TRUE(QTest::qWaitFor([&] { return held.started.load(); }, 5000));
        computer.Request(PreviewRequest{u"fast"_s, {}, {}, {}, {}});
        held.letGo = true;
        ASSERT_TRUE(QTest::qWaitFor([&] { return !computer.Busy(); }, 5000));
        // Whatever is still on its way arrives now, or never.
        QTest::qWait(2 * PreviewComputer::kSettleMs);
        EXPECT_TRUE(held.stopSeen);
        // Stopped while it waits, then computed once the pause ends.
        computer.Request(PreviewRequest{u"paused"_s, {}, {}, {}, {}});
        computer.SetPaused(true);
        QTest::qWait(2 * PreviewComputer::kSettleMs);
        EXPECT_TRUE(computer.Busy());
        computer.SetPaused(false);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !computer.Busy(); }, 5000));
        // A pause (a run) makes what was shown stale even when nothing was due.
        computer.SetPaused(true);
        computer.SetPaused(false);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !computer.Busy(); }, 5000));
    }
    EXPECT_EQ(delivered, (QStringList{u"fast"_s, u"paused"_s, u"paused"_s}));
    EXPECT_EQ(outdated, 3);
}

// A result that was computed and handed over in the moment a newer request
// came is never shown, not even before the newer one's.
TEST(PreviewComputer, AResultHandedOverAfterANewerRequestIsNeverShown) {
    test::EnsureApplication();
    std::atomic<bool> handingOver{false}, letGo{false};
    QStringList shown;
    {
        PreviewComputer computer(
            [](const PreviewRequest& r, const std::atomic<bool>&) {
                PlanPreview preview;
                preview.end = ListingEnd::Done;
                preview.message = r.folder;
                return preview;
            },
            nullptr,
            [&] {
                if (handingOver.exchange(true)) return;  // the first result only
                while (!letGo) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            });
        QObject::connect(&computer, &PreviewComputer::Computed,
                         [&](std::shared_ptr<const PlanPreview> p) { shown.append(p->message); });
        computer.Request(PreviewRequest{u"old"_s, {}, {}, {}, {}});
        ASSERT_TRUE(QTest::qWaitFor([&] { return handingOver.load(); }, 5000));
        computer.Request(PreviewRequest{u"new"_s, {}, {}, {}, {}});
        letGo = true;
        ASSERT_TRUE(QTest::qWaitFor([&] { return !computer.Busy(); }, 5000));
        QTest::qWait(2 * PreviewComputer::kSettleMs);
    }
    EXPECT_EQ(shown, QStringList{u"new"_s});
}

// The main window with its preview opened from the menu, as the user
// opens it.
struct PreviewWindowTest : test::WithApplication, test::ScriptedDesktop, ::testing::Test {
    void SetUp() override {
        for (const QString& name :
             {u"a_1.txt"_s, u"b_1.txt"_s, u"b.txt"_s, u"c_1.txt"_s, u"c_2.txt"_s})
            ASSERT_TRUE(tree.MakeFile(name));
        Start();
        QApplication::setActiveWindow(&window);
    }
    void TearDown() override { window.Companions().CloseAll(); }

    QAction* Menu() const { return window.findChild<QAction*>(u"mnuEtcPreview"_s); }
    frmPreview* Preview() {
        return qobject_cast<frmPreview*>(window.Companions().Open(Companion::Preview));
    }
    // Types into a box of the main window key by key, as the user does.
    void Type(const QString& box, const QString& text) {
        auto* edit = window.findChild<QLineEdit*>(box);
        QApplication::setActiveWindow(&window);
        edit->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), edit);
        edit->selectAll();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
        QTest::keyClicks(QApplication::focusWidget(), text);
    }
    bool WaitForTitle(const QString& title) {
        return QTest::qWaitFor([&] { return Preview() && Preview()->windowTitle() == title; },
                               10000);
    }
    QStringList Rows() { return test::TableRows(Preview()->Rows()); }
};

TEST_F(PreviewWindowTest, ShowsWhatTheStartWouldDoAsTheWordsAreTyped) {
    Menu()->trigger();
    ASSERT_NE(Preview(), nullptr);
    EXPECT_TRUE(Menu()->isChecked());
    EXPECT_TRUE(program.Settings().gPreviewWindow);

    Type(u"txtBfr"_s, u"_?"_s);
    EXPECT_EQ(Preview()->windowTitle(), u"変換プレビュー－計算中…"_s);
    ASSERT_TRUE(WaitForTitle(u"変換プレビュー－対象4・変換1・スキップ3"_s));
    EXPECT_EQ(Preview()->CountLine(), u"対象4・変換1・スキップ3"_s);
    EXPECT_EQ(Rows(), (QStringList{u"c_2.txt > c.txt : 重複"_s, u"c_1.txt > c.txt : 重複"_s,
                                   u"b_1.txt > b.txt : 既存"_s, u"a_1.txt > a.txt : 変換"_s}))
        << Rows().join(u'\n').toStdString();

    // Skipped rows are drawn dim; "問題のみ" leaves only them.
    const PreviewModel& model = Preview()->Rows();
    const QColor dim = QApplication::palette().color(QPalette::Disabled, QPalette::Text);
    EXPECT_EQ(model.index(0, 0).data(Qt::ForegroundRole).value<QColor>(), dim);
    EXPECT_FALSE(model.index(3, 0).data(Qt::ForegroundRole).isValid());
    Preview()->findChild<QCheckBox*>(u"chkProblems"_s)->click();
    EXPECT_EQ(Rows(), (QStringList{u"c_2.txt > c.txt : 重複"_s, u"c_1.txt > c.txt : 重複"_s,
                                   u"b_1.txt > b.txt : 既存"_s}));

    // "既存ファイル削除" offers the existing file for removal.
    window.findChild<QAbstractButton*>(u"chkD"_s)->click();
    ASSERT_TRUE(WaitForTitle(u"変換プレビュー－対象4・変換2・スキップ2"_s));
    EXPECT_FALSE(Rows().contains(u"b_1.txt > b.txt : 削除して変換"_s));
    Preview()->findChild<QCheckBox*>(u"chkProblems"_s)->click();
    EXPECT_TRUE(Rows().contains(u"b_1.txt > b.txt : 削除して変換"_s));

    // A word the start asks about: the plan, and a note that it will ask.
    Type(u"txtAft"_s, u"x,y"_s);
    ASSERT_TRUE(WaitForTitle(u"変換プレビュー－対象4・変換2・スキップ2"_s));
    EXPECT_TRUE(Preview()->Note().startsWith(u"置換語に「,」か「;」があります。"_s))
        << Preview()->Note().toStdString();

    // A word the start would refuse: its message instead of the table.
    Type(u"txtAft"_s, u"a|b"_s);
    ASSERT_TRUE(WaitForTitle(u"変換プレビュー"_s));
    EXPECT_TRUE(
        Preview()->Note().startsWith(u"ファイル・フォルダ名に以下の文字は使用できません。"_s))
        << Preview()->Note().toStdString();
    EXPECT_EQ(Preview()->Rows().rowCount(), 0);
    EXPECT_TRUE(Preview()->CountLine().isEmpty());

    // Closing it in any way unchecks its item and the setting.
    Preview()->close();
    EXPECT_FALSE(Menu()->isChecked());
    EXPECT_FALSE(program.Settings().gPreviewWindow);
    EXPECT_EQ(Preview(), nullptr);
}

// After a run the preview shows the folder as the run left it, with the
// switches read as the next start reads them.
TEST_F(PreviewWindowTest, AfterARunThePreviewShowsTheFolderAsItIsNow) {
    Menu()->trigger();
    window.findChild<QRadioButton*>(u"optM_1"_s)->click();
    window.findChild<QAbstractButton*>(u"chkD"_s)->click();
    Type(u"txtBfr"_s, u"?_1.txt"_s);
    Type(u"txtAft"_s, u"?.txt"_s);
    ASSERT_TRUE(WaitForTitle(u"変換プレビュー－対象3・変換3・スキップ0"_s));
    overwrite.answers = {OverwriteAnswer::No};  // b.txt stays
    window.findChild<QAbstractButton*>(u"cmdStart"_s)->click();
    ASSERT_TRUE(WaitForTitle(u"変換プレビュー－対象1・変換1・スキップ0"_s));
    EXPECT_EQ(Rows(), (QStringList{u"b_1.txt > b.txt : 削除して変換"_s}));
}

// The start folder box as typed, not yet shown, is where a start renames.
TEST_F(PreviewWindowTest, AStartFolderTypedButNotShownIsTheOnePreviewed) {
    ASSERT_TRUE(tree.MakeFile(u"sub/s_1.txt"_s));
    Menu()->trigger();
    Type(u"txtBfr"_s, u"_?"_s);
    ASSERT_TRUE(WaitForTitle(u"変換プレビュー－対象5・変換2・スキップ3"_s));
    Type(u"txtPath"_s, tree.Root() + u"/sub"_s);
    ASSERT_TRUE(WaitForTitle(u"変換プレビュー－対象1・変換1・スキップ0"_s));
    EXPECT_EQ(Rows(), (QStringList{u"s_1.txt > s.txt : 変換"_s}));
}

// More targets than the maximum: the first ones, and a note that says so.
TEST_F(PreviewWindowTest, AListCutAtTheMaximumSaysSo) {
    program.Options().SetNum(SystemRow::MaxTargets, 2);
    program.ApplySettings();
    frame.SettingsApplied();
    Menu()->trigger();
    Type(u"txtBfr"_s, u"_?"_s);
    ASSERT_TRUE(WaitForTitle(u"変換プレビュー－対象2・変換0・スキップ2"_s));
    EXPECT_EQ(Preview()->Note(),
              u"対象が最大処理ファイル数を超えるため、最初の2件だけを表示しています。"
              u"開始すると、この2件だけを変換するかを確認します。"_s);
    EXPECT_EQ(Rows(), (QStringList{u"c_2.txt > c.txt : 重複"_s, u"c_1.txt > c.txt : 重複"_s}));
}

// "プレビュー表示" opens it with the main window, on the folder shown.
struct PreviewAtStartUp : test::WithApplication, test::ScriptedDesktop, ::testing::Test {};

TEST_F(PreviewAtStartUp, TheSettingOpensItWithTheMainWindow) {
    ASSERT_TRUE(tree.MakeFile(u"a.txt"_s));
    window.Attach(program, frame);
    program.Main(app.Root() + u"/sorvane"_s);
    program.Options().SetNum(SystemRow::PreviewWindow, 1);
    program.Options().SetText(MethodRow::SearchWord, u"a"_s);
    program.Options().SetText(MethodRow::ReplaceWord, u"b"_s);
    program.ApplySettings();
    window.Load(tree.Root(), app.Root());
    QWidget* preview = window.Companions().Open(Companion::Preview);
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(window.findChild<QAction*>(u"mnuEtcPreview"_s)->isChecked());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return preview->windowTitle() == u"変換プレビュー－対象1・変換1・スキップ0"_s; },
        10000));
    window.Companions().CloseAll();
}

}  // namespace
