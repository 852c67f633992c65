#include "ui/frmOption.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDesktopServices>
#include <QDir>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <functional>
#include <tuple>
#include <vector>

#include "run/RunFrame.h"
#include "run/mdlMain.h"
#include "support/OpenedUrls.h"
#include "support/ProgramAccess.h"
#include "support/TempTree.h"
#include "support/scripted/ScriptedExpansionChooser.h"
#include "support/scripted/ScriptedMessageBox.h"
#include "support/scripted/ScriptedOverwriteQuestion.h"
#include "support/scripted/ScriptedProgressWindow.h"
#include "ui/ScriptedDesktop.h"
#include "ui/WidgetApp.h"
#include "ui/frmMain.h"

using namespace sorvane;
using namespace Qt::StringLiterals;
using test::TempTree;

namespace {

// The main window on a program with default settings, which open the
// options window; the other windows scripted.
struct OptionWindowTest : test::WithApplication, test::ScriptedDesktop, ::testing::Test {
    ProgramCore& core = test::ProgramAccess::Core(program);
    SettingsInEffect& s = core.settings;
    QString root;

    void SetUp() override {
        Start();
        root = QDir(tree.Root()).canonicalPath();
    }
    void TearDown() override { window.hide(); }

    frmOption* Option() const { return window.findChild<frmOption*>(); }
    // A control of either window.
    template <typename T = QAbstractButton>
    T* Find(const QString& name) const {
        T* control = window.findChild<T*>(name);
        EXPECT_NE(control, nullptr) << name.toStdString();
        return control;
    }
    bool Checked(const QString& name) const { return Find(name)->isChecked(); }
    QString Text(const QString& name) const { return Find<QLineEdit>(name)->text(); }
    bool Drop(const QString& control, const QString& path) const {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        return Option()->DropOn(Find<QWidget>(control), data);
    }
    void WriteSettings(const QString& path, const std::function<void(mdlOptions&)>& set) {
        mdlOptions file(messages);
        file.InitOptions(core.folders.gAppPath, u"sorvane"_s);
        set(file);
        EXPECT_TRUE(file.SaveOptionFile(path));
    }
    static QByteArray Bytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(OptionWindowTest, EachControlChangesItsSettingAtOnce) {
    for (int mode : {2, 0, 1}) {
        Find(u"optDelMode_%1"_s.arg(mode))->click();
        EXPECT_EQ(s.gDelMode, DeleteMode(mode));
    }
    QTest::keyClick(Find<QLineEdit>(u"txtDelTarget"_s), Qt::Key_X);
    EXPECT_EQ(s.gDelTarget, u"x"_s);
    EXPECT_EQ(s.gDelMode, DeleteMode::ToFolder);
    EXPECT_TRUE(Checked(u"optDelMode_2"_s));
    const std::pair<QString, bool SettingsInEffect::*> switches[] = {
        {u"chkLog"_s, &SettingsInEffect::gDetailLog},
        {u"chkLogAuto"_s, &SettingsInEffect::gAutoLogSave},
        {u"chkEsc"_s, &SettingsInEffect::gEscQuits},
        {u"chkSave"_s, &SettingsInEffect::gSaveOnExit},
    };
    for (const auto& [name, value] : switches) {
        const bool before = s.*value;
        Find(name)->click();
        EXPECT_NE(s.*value, before) << name.toStdString();
        EXPECT_EQ(s.*value, Checked(name)) << name.toStdString();
    }
    // F5 lists the main window's folder again.
    ASSERT_TRUE(tree.MakeFile(u"new.txt"_s));
    QTest::keyClick(Find<QLineEdit>(u"txtDelTarget"_s), Qt::Key_F5);
    EXPECT_EQ(Text(u"txtFileName"_s), u"1ファイル"_s);
}

TEST_F(OptionWindowTest, SetFormOptionsShowsTheStateAndChangesNothing) {
    Find(u"optDelMode_2"_s)->click();
    s.gDelMode = DeleteMode::ToTrash;
    s.gDelTarget = root + u"/del"_s;
    s.gDetailLog = false;
    s.gAutoLogSave = true;
    s.gEscQuits = false;
    s.gSaveOnExit = false;
    core.options.LastIniFolder = root;
    const auto values = [this] {
        return std::tuple(s.gDelMode, s.gDelTarget, s.gDetailLog, s.gAutoLogSave, s.gEscQuits,
                          s.gSaveOnExit, core.log.LogPath());
    };
    const auto before = values();
    Option()->SetFormOptions();
    EXPECT_EQ(values(), before);
    EXPECT_TRUE(Checked(u"optDelMode_0"_s));
    EXPECT_EQ(Text(u"txtDelTarget"_s), s.gDelTarget);
    EXPECT_EQ((std::vector<bool>{Checked(u"chkLog"_s), Checked(u"chkLogAuto"_s),
                                 Checked(u"chkEsc"_s), Checked(u"chkSave"_s)}),
              (std::vector<bool>{false, true, false, false}));
    EXPECT_EQ(Find(u"cmdSave"_s)->toolTip(), u"'sorvane.ini'に現在の状態を保存します。"_s);
    EXPECT_EQ(Find(u"cmdLogSave"_s)->toolTip(), u"ログフォルダ:"_s + core.log.LogPath());
    EXPECT_EQ(Find(u"cmdOpenLastIniFolder"_s)->toolTip(), u'\'' + root + u"'を開きます。"_s);
}

TEST_F(OptionWindowTest, ResetGivesTheDefaultsWhileTheWindowStaysOpen) {
    const QString ini = core.options.IniFilePath;
    WriteSettings(ini, [](mdlOptions& o) { o.SetNum(MethodRow::DelMode, 1); });
    const QByteArray saved = Bytes(ini);
    core.log.SetLogPath(root);
    s.gDelMode = DeleteMode::ToFolder;
    s.gDelTarget = root;
    s.gDetailLog = false;
    s.gEscQuits = false;
    Option()->SetFormOptions();
    Find(u"cmdReset"_s)->click();
    EXPECT_EQ(
        std::tuple(core.log.LogPath(), s.gDelMode, s.gDelTarget, s.gDetailLog, s.gEscQuits),
        std::tuple(core.folders.gAppPath + u"/Log"_s, DeleteMode::ToTrash, QString(), true, true));
    ASSERT_TRUE(Option() && Option()->isVisible() && s.gOptionWindow);
    EXPECT_TRUE(Checked(u"optDelMode_0"_s) && Checked(u"chkLog"_s) && Checked(u"chkEsc"_s));
    EXPECT_EQ(Find(u"cmdLogSave"_s)->toolTip(), u"ログフォルダ:"_s + core.log.LogPath());
    EXPECT_EQ(Bytes(ini), saved);
}

// The desktop opens the file; a missing one is first written from the state.
TEST_F(OptionWindowTest, OpeningTheSettingsFileWritesItFirstWhenMissing) {
    test::OpenedUrls opened;
    QDesktopServices::setUrlHandler(u"file"_s, &opened, "Open");
    const QString ini = core.options.IniFilePath;
    ASSERT_FALSE(QFile::exists(ini));
    s.gDelMode = DeleteMode::Forced;
    Find(u"cmdOpenIni"_s)->click();
    const QByteArray bytes = Bytes(ini);
    ASSERT_TRUE(core.options.LoadOptionFile(ini, true));
    EXPECT_EQ(core.options.Num(MethodRow::DelMode), 1);
    s.gDelMode = DeleteMode::ToFolder;
    Find(u"cmdOpenIni"_s)->click();
    EXPECT_EQ(Bytes(ini), bytes);
    QDesktopServices::unsetUrlHandler(u"file"_s);
    EXPECT_EQ(opened.urls, (QList<QUrl>{QUrl::fromLocalFile(ini), QUrl::fromLocalFile(ini)}));
}

TEST_F(OptionWindowTest, AFolderDroppedOnTheDeleteFrameIsWhereTheNextRunMovesCollisions) {
    ASSERT_TRUE(tree.MakeFile(u"work/a1.txt"_s, "a1") && tree.MakeFile(u"work/b1.txt"_s, "b1") &&
                tree.MakeFolder(u"trash"_s));
    EXPECT_TRUE(Drop(u"frameDelMode"_s, root + u"/trash"_s));
    EXPECT_EQ(Text(u"txtDelTarget"_s), root + u"/trash"_s);
    EXPECT_TRUE(Checked(u"optDelMode_2"_s));
    EXPECT_EQ(s.gDelMode, DeleteMode::ToFolder);

    core.rename.SetClock([] { return QDateTime(QDate(2026, 12, 7), QTime(1, 2, 3)); });
    overwrite.answers = {OverwriteAnswer::DeleteAll};
    Find(u"chkD"_s)->setChecked(true);
    Find<QLineEdit>(u"txtBfr"_s)->setText(u"a"_s);
    Find<QLineEdit>(u"txtAft"_s)->setText(u"b"_s);
    Find<QLineEdit>(u"txtPath"_s)->setText(root + u"/work"_s);
    Find(u"cmdStart"_s)->click();
    EXPECT_EQ(tree.Read(u"trash/work_del2026120701020300/b1.txt"_s), QByteArray("b1"));
    EXPECT_EQ(tree.Read(u"work/b1.txt"_s), QByteArray("a1"));
}

// Only local files dropped where the window takes them count.
TEST_F(OptionWindowTest, AFileDroppedOnTheLogFrameGivesItsFolderAsTheLogFolder) {
    ASSERT_TRUE(tree.MakeFile(u"logs/x.txt"_s));
    EXPECT_TRUE(Drop(u"frameLog"_s, root + u"/logs/x.txt"_s));
    EXPECT_EQ(core.log.LogPath(), root + u"/logs"_s);
    EXPECT_EQ(Find(u"cmdLogSave"_s)->toolTip(), u"ログフォルダ:"_s + root + u"/logs"_s);

    EXPECT_FALSE(Drop(u"chkSave"_s, root));
    QMimeData web;
    web.setUrls({QUrl(u"https://example.org/"_s)});
    EXPECT_FALSE(Option()->DropOn(Find<QWidget>(u"chkLog"_s), web));
    EXPECT_EQ(core.log.LogPath(), root + u"/logs"_s);
}

// One dropped shortcut stands for its settings file, read for the time
// being: the program's own file stays as it was.
TEST_F(OptionWindowTest, ASettingsFileDroppedOnReadIsLoadedForTheTimeBeing) {
    const QString ini = core.options.IniFilePath;
    WriteSettings(ini, [](mdlOptions&) {});
    const QByteArray own = Bytes(ini);
    ASSERT_TRUE(tree.MakeFolder(u"saved"_s));
    WriteSettings(root + u"/saved/other.ini"_s, [](mdlOptions& o) {
        o.SetNum(MethodRow::DelMode, 1);
        o.SetText(MethodRow::SearchWord, u"dropped"_s);
    });
    ASSERT_TRUE(tree.MakeSymlink(u"other.ini"_s, root + u"/saved/other.ini"_s));
    EXPECT_TRUE(Drop(u"cmdOpen"_s, root + u"/other.ini"_s));
    EXPECT_EQ(s.gDelMode, DeleteMode::Forced);
    EXPECT_TRUE(Checked(u"optDelMode_1"_s));
    EXPECT_EQ(Text(u"txtBfr"_s), u"dropped"_s);
    EXPECT_EQ(Find(u"cmdOpenLastIniFolder"_s)->toolTip(), u'\'' + root + u"/saved'を開きます。"_s);
    EXPECT_EQ(Bytes(ini), own);
}

// Opened by Load ("オプション表示" is on by default) beside the main window.
TEST_F(OptionWindowTest, TheOptionButtonTogglesTheWindowAndEveryWayOfClosingUnloadsIt) {
    QPointer<frmOption> option = Option();
    ASSERT_TRUE(option);
    const QRect main = window.frameGeometry();
    EXPECT_EQ(option->frameGeometry().topLeft(), QPoint(main.left() + main.width(), main.top()));
    QAbstractButton* toggle = Find(u"cmdOption"_s);
    const std::pair<const char*, std::function<void(frmOption*)>> ways[] = {
        {"toggle", [toggle](frmOption*) { toggle->click(); }},
        {"cmdClose", [this](frmOption*) { Find(u"cmdClose"_s)->click(); }},
        {"Enter", [](frmOption* o) { QTest::keyClick(o, Qt::Key_Return); }},
        {"Esc", [](frmOption* o) { QTest::keyClick(o, Qt::Key_Escape); }},
        {"close box", [](frmOption* o) { o->close(); }},
    };
    for (const auto& [way, close] : ways) {
        if (!option) toggle->click();
        option = Option();
        ASSERT_TRUE(option && s.gOptionWindow) << way;
        QSignalSpy unloaded(option, &frmOption::Unloaded);
        close(option);
        EXPECT_FALSE(s.gOptionWindow) << way;
        EXPECT_EQ(unloaded.count(), 1) << way;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(option.isNull()) << way;
    }
}

}  // namespace
