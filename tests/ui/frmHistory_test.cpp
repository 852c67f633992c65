#include "ui/frmHistory.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "support/ProgramAccess.h"
#include "ui/ScriptedDesktop.h"
#include "ui/WidgetApp.h"

using namespace sorvane;
using namespace Qt::StringLiterals;

namespace {

struct HistoryWindowTest : test::WithApplication, test::ScriptedDesktop, ::testing::Test {
    void SetUp() override {
        Start();
        test::ProgramAccess::Core(program).journal.SetFolder(app.Path(u"journal"_s));
        QApplication::setActiveWindow(&window);
    }
    void TearDown() override { window.Companions().CloseAll(); }

    frmHistory* History() {
        return qobject_cast<frmHistory*>(window.Companions().Open(Companion::History));
    }
    QTableWidget* Table() { return History()->findChild<QTableWidget*>(u"lstHistory"_s); }
    QString Cell(int row, int column) { return Table()->item(row, column)->text(); }
    void Rename(const QString& search, const QString& replace) {
        RunInputValues inputs;
        inputs.searchWord = search;
        inputs.replaceWord = replace;
        ASSERT_TRUE(frame.Start(tree.Root(), inputs).ran);
        window.WindowRefresh();
    }
    // A key as the user presses it in the history window: to the control
    // that has the focus there.
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        History()->activateWindow();
        QApplication::setActiveWindow(History());
        QVERIFY2(QTest::qWaitForWindowActive(History()), "not active");
        QTest::keyClick(History()->focusWidget() ? History()->focusWidget() : History(), key,
                        modifiers);
        // A button's access key presses it as a click does, a moment later.
        QTest::qWait(300);
    }
};

// Two runs and a journal that cannot be read are listed, the newest first.
// The older run is restored by keys while the newer one has moved one of
// its items: what can come back does, the window said beforehand that later
// runs may keep some, and the states follow; then the newer run is undone.
TEST_F(HistoryWindowTest, AnOlderRunIsUndoneByKeysAndTheStatesFollow) {
    ASSERT_TRUE(tree.MakeFile(u"a1.txt"_s, "1") && tree.MakeFile(u"a2.txt"_s, "2"));
    Rename(u"a"_s, u"b"_s);
    Rename(u"b1"_s, u"c1"_s);
    QFile junk(program.Journal().Folder() + u"/20000101-000000-000-1.journal"_s);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly) && junk.write("no journal\n") > 0);
    junk.close();

    window.findChild<QAction*>(u"mnuEtcHistory"_s)->trigger();
    ASSERT_NE(History(), nullptr);
    ASSERT_EQ(Table()->rowCount(), 3);
    EXPECT_EQ(Cell(0, 2), u"置換"_s);
    EXPECT_EQ(Cell(0, 3), u"b1 → c1"_s);
    EXPECT_EQ(Cell(0, 5), u"終わった"_s);
    EXPECT_EQ(Cell(1, 3), u"a → b"_s);
    EXPECT_EQ(Cell(1, 4), u"2件（変換 2）"_s);
    EXPECT_TRUE(Cell(2, 1).endsWith(u"20000101-000000-000-1.journal"_s));
    EXPECT_TRUE(Cell(2, 5).startsWith(u"読めない記録"_s));

    auto* restore = History()->findChild<QPushButton*>(u"cmdHistoryRestore"_s);
    Table()->setFocus();
    Press(Qt::Key_Down);
    Press(Qt::Key_Down);
    EXPECT_FALSE(restore->isEnabled()) << "a journal that cannot be read";
    Press(Qt::Key_Up);
    EXPECT_EQ(History()->findChild<QLabel*>(u"lblHistoryNote"_s)->text(),
              u"この後の変換1回が同じファイルを変えていると、そのファイルは戻せません。"_s);
    Press(Qt::Key_Z, Qt::AltModifier);
    EXPECT_EQ(tree.Read(u"a2.txt"_s), "2");
    EXPECT_EQ(tree.Read(u"c1.txt"_s), "1");
    EXPECT_TRUE(window.LogBox().Text().contains(u"b1.txt"_s)) << "what could not come back";
    EXPECT_EQ(Cell(1, 5), u"一部戻した"_s);

    Press(Qt::Key_Up);
    Press(Qt::Key_Z, Qt::AltModifier);
    EXPECT_EQ(tree.Read(u"b1.txt"_s), "1");
    EXPECT_EQ(Cell(0, 5), u"戻した"_s);
    EXPECT_FALSE(restore->isEnabled());
}

}  // namespace
