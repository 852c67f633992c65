#include "ui/CompanionWindows.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QPushButton>
#include <QTest>

#include "support/TempTree.h"
#include "ui/DesktopProgram.h"
#include "ui/WidgetApp.h"
#include "ui/frmAbout.h"

using namespace sorvane;
using namespace Qt::StringLiterals;
using test::TempTree;

namespace {

// The whole desktop program on default settings, its companions opened as
// the user opens them.
struct CompanionTest : test::WithApplication, ::testing::Test {
    TempTree app;
    TempTree tree;
    DesktopProgram desktop;
    frmMain& main = desktop.Window();
    WindowFlags& state = main.Flags();

    void SetUp() override {
        desktop.Main(app.Root() + u"/sorvane"_s);
        desktop.LoadMainWindow(tree.Root());
        main.move(100, 80);
    }
    void TearDown() override { main.Companions().CloseAll(); }

    QWidget* OpenAbout() {
        main.findChild<QAction*>(u"mnuEtcVersion"_s)->trigger();
        return main.Companions().Open(Companion::About);
    }
    // As the checks before a run show it when "パターン表示" is on.
    QWidget* OpenChooser() {
        desktop.Chooser().Display(ExpansionViews{{u"*"_s}, {u"*"_s}, {u"*"_s}});
        return main.Companions().Open(Companion::Chooser);
    }
    QPoint RightEdge(int mainHeights = 0) const {
        const QRect f = main.frameGeometry();
        return {f.left() + f.width(), f.top() + mainHeights * f.height()};
    }
    QWidget* OpenPreview() {
        main.findChild<QAction*>(u"mnuEtcPreview"_s)->trigger();
        return main.Companions().Open(Companion::Preview);
    }
    static QPoint Below(const QWidget& w) {
        const QRect f = w.frameGeometry();
        return {f.left(), f.top() + f.height()};
    }
    QPoint Below() const { return Below(main); }
};

// One, two and three companions open: the options window (open at start on
// the default settings), the version window, the chooser.
TEST_F(CompanionTest, OpenCompanionsDockWhereverTheMainWindowMoves) {
    QWidget* options = main.Companions().Open(Companion::Options);
    ASSERT_NE(options, nullptr);
    main.move(150, 90);
    EXPECT_EQ(options->pos(), RightEdge());

    QWidget* about = OpenAbout();
    ASSERT_NE(about, nullptr);
    // It first appears over the main window's corner.
    EXPECT_EQ(about->pos(), main.pos() + QPoint(20, 20));
    main.move(300, 120);
    EXPECT_EQ(options->pos(), RightEdge());
    EXPECT_EQ(about->pos(), RightEdge(1));

    QWidget* chooser = OpenChooser();
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->pos(), Below());
    for (const QPoint to : {QPoint(40, 30), QPoint(220, 160)}) {
        main.move(to);
        EXPECT_EQ(options->pos(), RightEdge());
        EXPECT_EQ(chooser->pos(), Below());
        EXPECT_EQ(about->pos(), RightEdge(1));
    }
    // The preview goes below the chooser while it is open, below the main
    // window once it closes.
    QWidget* preview = OpenPreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->pos(), Below(*chooser));
    main.move(60, 50);
    EXPECT_EQ(chooser->pos(), Below());
    EXPECT_EQ(preview->pos(), Below(*chooser));
    chooser->close();
    EXPECT_EQ(preview->pos(), Below());
    main.move(220, 160);
    EXPECT_EQ(preview->pos(), Below());
    OpenChooser();
    QCoreApplication::processEvents();
    EXPECT_EQ(preview->pos(), Below(*chooser));
    // The options window closing gives the right edge back at once.
    main.findChild<QPushButton*>(u"cmdOption"_s)->click();
    EXPECT_FALSE(state.gOptionWindow);
    EXPECT_EQ(about->pos(), RightEdge());
    // A closed companion is left where it was.
    chooser->close();
    EXPECT_FALSE(state.gSelectOpen);
    const QPoint left = chooser->pos();
    main.move(10, 10);
    EXPECT_EQ(chooser->pos(), left);
    EXPECT_EQ(about->pos(), RightEdge());
}

TEST_F(CompanionTest, MinimisingHidesTheOthersAndRestoringGivesBackEachOnesVisibility) {
    QWidget* options = main.Companions().Open(Companion::Options);
    QWidget* chooser = OpenChooser();
    chooser->hide();  // loaded, not shown
    main.setWindowState(Qt::WindowMinimized);
    EXPECT_FALSE(options->isVisible());
    main.setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(options->isVisible());
    EXPECT_FALSE(chooser->isVisible());
    EXPECT_FALSE(state.gAboutOpen);
    EXPECT_EQ(main.Companions().Open(Companion::About), nullptr);
}

TEST_F(CompanionTest, TheOptionsWindowAndThePreviewGoBusyWithTheMainWindow) {
    const QList<QWidget*> companions{main.Companions().Open(Companion::Options), OpenPreview()};
    ASSERT_FALSE(companions.contains(nullptr));
    main.SetMainEnabled(false);
    for (QWidget* w : companions) {
        EXPECT_FALSE(w->isEnabled());
        EXPECT_EQ(w->cursor().shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(main.cursor().shape(), Qt::WaitCursor);
    main.SetMainEnabled(true);
    for (QWidget* w : companions) {
        EXPECT_TRUE(w->isEnabled());
        EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor);
    }
    EXPECT_EQ(main.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(CompanionTest, ClosingTheMainWindowClosesTheOneLoadedLastFirst) {
    QStringList closed;
    for (QWidget* w :
         {main.Companions().Open(Companion::Options), OpenChooser(), OpenAbout(), OpenPreview()})
        QObject::connect(qobject_cast<QDialog*>(w), &QDialog::finished,
                         [&closed, w] { closed.append(w->windowTitle()); });
    main.close();
    ASSERT_EQ(closed.size(), 4);
    EXPECT_TRUE(closed[0].startsWith(u"変換プレビュー"_s)) << closed[0].toStdString();
    EXPECT_EQ(closed.mid(1),
              (QStringList{u"バージョン情報"_s, u"置換パターンの展開結果"_s, u"詳細オプション"_s}));
    EXPECT_FALSE(state.gAboutOpen);
    EXPECT_FALSE(state.gSelectOpen);
    EXPECT_FALSE(state.gOptionWindow);
    EXPECT_FALSE(state.gPreviewOpen);
}

}  // namespace
