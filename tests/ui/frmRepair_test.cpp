#include "ui/frmRepair.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QRadioButton>
#include <QTest>

#include "platform/FileSystem.h"
#include "ui/ScriptedDesktop.h"
#include "ui/TableRows.h"
#include "ui/WidgetApp.h"

using namespace sorvane;
using namespace Qt::StringLiterals;

namespace {

struct RepairWindowTest : test::WithApplication, test::ScriptedDesktop, ::testing::Test {
    void SetUp() override {
        Start();
        QApplication::setActiveWindow(&window);
    }
    void TearDown() override { window.Companions().CloseAll(); }

    frmRepair* Repair() {
        return qobject_cast<frmRepair*>(window.Companions().Open(Companion::Repair));
    }
    QStringList Rows() { return test::TableRows(Repair()->Rows()); }
    // A key as the user presses it in a window: to the control that has the
    // focus there.
    void Press(QWidget* active, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        active->activateWindow();
        QApplication::setActiveWindow(active);
        QVERIFY2(QTest::qWaitForWindowActive(active), "not active");
        QTest::keyClick(active->focusWidget() ? active->focusWidget() : active, key, modifiers);
        // A button's access key presses it as a click does, a moment later.
        QTest::qWait(300);
    }
};

// Opened from the menu, the window shows what the repair chosen by its
// keys would do in the folder the main window shows; "修復(&R)" runs it
// through the main window, whose "戻す(&Z)" gives the bytes back.
TEST_F(RepairWindowTest, ChosenByKeysShownAndRunThenRestored) {
    ASSERT_TRUE(tree.MakeRawFile("\x82\xa0\x82\xa2.txt", "a"));  // "あい.txt" in Shift-JIS
    ASSERT_TRUE(tree.MakeFile(u"か\u3099.txt"_s, "b"));          // split dakuten
    ASSERT_TRUE(tree.MakeFile(u"plain.txt"_s, "c"));
    const test::Inventory before = tree.Take();
    window.findChild<QAction*>(u"mnuEtcRepair"_s)->trigger();
    ASSERT_NE(Repair(), nullptr);
    EXPECT_TRUE(program.Settings().gRepairWindow);

    // The user clicked into the window: its first control has the focus.
    QApplication::setActiveWindow(Repair());
    Repair()->findChild<QRadioButton*>(u"optRepair_0"_s)->setFocus();
    Press(Repair(), Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(Repair()->Repair(), NameRepair::Nfc);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Rows().size() == 1; }, 10000));
    EXPECT_EQ(Rows(), QStringList{u"か\u3099.txt > が.txt : 変換"_s});

    Press(Repair(), Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(Repair()->Repair(), NameRepair::Cp932);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return Rows() == QStringList{u"\\x82\\xA0\\x82\\xA2.txt > あい.txt : 変換"_s}; },
        10000));
    EXPECT_EQ(Repair()->windowTitle(), u"名前の修復－対象1・変換1・スキップ0"_s);

    Press(Repair(), Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(tree.Take().contains(QString(u"あい.txt"_s).toUtf8()))
        << window.LogBox().Text().toStdString();
    EXPECT_TRUE(window.LogBox().Text().contains(u"==変換された項目数：1=="_s));

    Press(&window, Qt::Key_Z, Qt::AltModifier);
    EXPECT_EQ(tree.Take(), before);
}

}  // namespace
