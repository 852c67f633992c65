#include "run/mdlMain.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "ports/PlainRunInputs.h"
#include "run/RunSteps.h"
#include "support/OptionTables.h"
#include "support/ProgramAccess.h"
#include "support/scripted/ScriptedForms.h"
#include "support/scripted/ScriptedMessageBox.h"
#include "support/scripted/ScriptedProgressWindow.h"

using namespace sorvane;

using namespace Qt::StringLiterals;

namespace {

// A program started from an executable in a temporary folder, with the
// settings file beside it written by the test.
struct ProgramFixture : ::testing::Test {
    QTemporaryDir tmp;
    QString app;
    ScriptedMessageBox messages;
    ScriptedProgressWindow progress;
    MemoryLogBox logBox;
    PlainRunInputs inputs;
    ScriptedForms forms;
    mdlMain program{MainPorts{messages, progress, logBox, inputs, forms}};
    ProgramCore& core = test::ProgramAccess::Core(program);

    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        app = QDir(tmp.path()).canonicalPath();
    }

    QString Exe() const { return app + QStringLiteral("/sorvane"); }

    // Writes a settings file (UTF-8 with a byte-order mark, CR LF).
    void WriteSettings(const QString& path, const QStringList& lines) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("\xEF\xBB\xBF");
        file.write(lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n");
    }

    void StartWith(const QStringList& lines) {
        WriteSettings(app + QStringLiteral("/sorvane.ini"), lines);
        program.Main(Exe());
    }
};

TEST_F(ProgramFixture, StartsWithTheDefaultsWhenThereIsNoSettingsFile) {
    program.Main(Exe());
    const SettingsInEffect& s = program.Settings();
    EXPECT_EQ(program.Folders().gAppPath, app);
    EXPECT_EQ(program.Folders().gCurPath, app);
    EXPECT_EQ(core.options.IniFilePath, app + QStringLiteral("/sorvane.ini"));
    EXPECT_EQ(s.gMaxTargets, 10000);
    EXPECT_TRUE(s.gEscQuits);
    EXPECT_TRUE(s.gSaveOnExit);
    EXPECT_FALSE(s.gPatternConfirm);
    EXPECT_TRUE(s.gDetailLog);
    EXPECT_TRUE(s.gOptionWindow);
    EXPECT_EQ(program.Log().LogPath(), app + QStringLiteral("/Log"));
    EXPECT_FALSE(s.gAutoLogSave);
    EXPECT_EQ(s.gDelMode, DeleteMode::ToTrash);
    EXPECT_EQ(s.gDelTarget, QString());
    EXPECT_EQ(core.filter.Attr(), 1 | 32);
    EXPECT_FALSE(core.filter.AttrOr());
    EXPECT_EQ(s.gFilterSwitch, (std::array<bool, 3>{false, false, true}));
    EXPECT_EQ(s.gImportantPatterns, QStringLiteral("*.exe;*.com;*.bat;*.dll"));
    EXPECT_TRUE(s.gFileMode);
    EXPECT_FALSE(s.gFolderMode);
    EXPECT_EQ(s.gItemWord, QStringLiteral("ファイル"));
    EXPECT_TRUE(s.gFolderSort);
    EXPECT_EQ(core.log.LogStatus, QStringLiteral("(アプリケーション開始直後)"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(ProgramFixture, SettingsFileFillsTheProgramState) {
    StartWith({QStringLiteral("[システム]"), QStringLiteral("最大処理ファイル数=500"),
               QStringLiteral("ログパス=/var/tmp/sorvane-logs"), QStringLiteral("自動ログ保存=1"),
               QStringLiteral("[絞り込み]"), QStringLiteral("読み取り専用=1"),
               QStringLiteral("隠しファイル=1"), QStringLiteral("アーカイブファイル=0"),
               QStringLiteral("システムファイル=1"), QStringLiteral("属性読み込み=1"),
               QStringLiteral("絞り込み=1"), QStringLiteral("重要ファイル除外=0"),
               QStringLiteral("[処理方法]"), QStringLiteral("フォルダ処理=1"),
               QStringLiteral("置換方法=2"), QStringLiteral("削除モード=2"),
               QStringLiteral("削除移動先フォルダ=trash/old"),
               QStringLiteral("フォルダ内ソート=0")});
    const SettingsInEffect& s = program.Settings();
    EXPECT_EQ(s.gMaxTargets, 500);
    EXPECT_EQ(program.Log().LogPath(), QStringLiteral("/var/tmp/sorvane-logs"));
    EXPECT_TRUE(s.gAutoLogSave);
    EXPECT_EQ(core.filter.Attr(), 7);
    EXPECT_TRUE(core.filter.AttrOr());
    EXPECT_EQ(s.gFilterSwitch, (std::array<bool, 3>{true, false, false}));
    EXPECT_TRUE(s.gFolderMode);
    EXPECT_FALSE(s.gFileMode);
    EXPECT_EQ(s.gItemWord, QStringLiteral("フォルダ"));
    EXPECT_EQ(s.gOperation, RenameOperation::InsertBack);
    EXPECT_EQ(s.gDelMode, DeleteMode::ToFolder);
    EXPECT_EQ(s.gDelTarget, app + QStringLiteral("/trash/old"));
    EXPECT_FALSE(s.gFolderSort);
}

TEST_F(ProgramFixture, LogFolderSetting) {
    struct Case {
        QString setting;
        QString expected;
    };
    const Case cases[] = {
        {QString(), QStringLiteral("/Log")},
        {QStringLiteral("Log"), QStringLiteral("/Log")},
        {QStringLiteral("logs/../other"), QStringLiteral("/other")},
        {QStringLiteral("bad\tname"), QStringLiteral("/Log")},  // cannot be resolved
    };
    for (const Case& c : cases) {
        StartWith({QStringLiteral("[システム]"), QStringLiteral("ログパス=") + c.setting});
        EXPECT_EQ(core.log.LogPath(), app + c.expected) << c.setting.toStdString();
    }
}

// An environment variable set for one test, put back afterwards.
class Variable {
public:
    Variable(const char* name, const QString& value)
        : mName(name), mSet(qEnvironmentVariableIsSet(name)), mOld(qgetenv(name)) {
        qputenv(name, value.toUtf8());
    }
    ~Variable() { mSet ? qputenv(mName, mOld) : qunsetenv(mName); }
    Variable(const Variable&) = delete;
    Variable& operator=(const Variable&) = delete;

private:
    const char* mName;
    bool mSet;
    QByteArray mOld;
};

// A copy installed under a prefix (its menu entry in share/applications)
// keeps its settings file and logs in the user's folders for the program,
// even in a program folder it could write into; a settings file beside it
// is not read. Relative folder settings start from the user's data folder.
TEST_F(ProgramFixture, AnInstalledCopyUsesTheUsersFolders) {
    const Variable config("XDG_CONFIG_HOME", app + QStringLiteral("/config"));
    const Variable data("XDG_DATA_HOME", app + QStringLiteral("/data"));
    const QString bin = app + QStringLiteral("/prefix/bin");
    ASSERT_TRUE(QDir().mkpath(bin));
    ASSERT_TRUE(QDir().mkpath(app + QStringLiteral("/prefix/share/applications")));
    WriteSettings(bin + QStringLiteral("/sorvane.ini"),
                  {QStringLiteral("[システム]"), QStringLiteral("最大処理ファイル数=5")});
    const QString userFolder = app + QStringLiteral("/data/sorvane");

    // Not yet installed: the portable file beside the program.
    program.Main(bin + QStringLiteral("/sorvane"));
    EXPECT_EQ(core.options.IniFilePath, bin + QStringLiteral("/sorvane.ini"));
    EXPECT_EQ(core.settings.gMaxTargets, 5);
    EXPECT_EQ(core.log.LogPath(), bin + QStringLiteral("/Log"));
    EXPECT_EQ(core.folders.gStartPath, bin);

    WriteSettings(app + QStringLiteral("/prefix/share/applications/sorvane.desktop"), {});
    program.Main(bin + QStringLiteral("/sorvane"));
    EXPECT_EQ(core.options.IniFilePath, app + QStringLiteral("/config/sorvane/sorvane.ini"));
    EXPECT_EQ(core.settings.gMaxTargets, 10000);
    EXPECT_EQ(core.log.LogPath(), userFolder + QStringLiteral("/Log"));
    EXPECT_EQ(core.folders.gStartPath, QDir::homePath()) << "an empty 初期パス starts at home";
    EXPECT_FALSE(QFileInfo::exists(app + QStringLiteral("/config"))) << "made when first written";

    ASSERT_TRUE(QDir().mkpath(app + QStringLiteral("/config/sorvane")));
    WriteSettings(core.options.IniFilePath,
                  {QStringLiteral("[システム]"), QStringLiteral("最大処理ファイル数=7"),
                   QStringLiteral("ログパス=logs"), QStringLiteral("[処理方法]"),
                   QStringLiteral("削除移動先フォルダ=old")});
    program.Main(bin + QStringLiteral("/sorvane-cli"));
    EXPECT_EQ(core.options.IniFilePath, app + QStringLiteral("/config/sorvane/sorvane-cli.ini"));
    EXPECT_EQ(core.settings.gMaxTargets, 10000) << "each program reads its own file";
    program.Main(bin + QStringLiteral("/sorvane"));
    EXPECT_EQ(core.settings.gMaxTargets, 7);
    EXPECT_EQ(core.log.LogPath(), userFolder + QStringLiteral("/logs"));
    EXPECT_EQ(core.settings.gDelTarget, userFolder + QStringLiteral("/old"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(ProgramFixture, LoadingASettingsFileKeepsTheOptionsWindowAsItIs) {
    program.Main(Exe());
    ASSERT_TRUE(core.settings.gOptionWindow);
    const QString other = app + QStringLiteral("/other.ini");
    WriteSettings(other, {QStringLiteral("[システム]"), QStringLiteral("オプション表示=0"),
                          QStringLiteral("最大処理ファイル数=7")});
    program.LoadSettingsFile(other);
    EXPECT_EQ(core.settings.gMaxTargets, 7);
    EXPECT_TRUE(core.settings.gOptionWindow);
    EXPECT_EQ(forms.calls, (QStringList{QStringLiteral("disable"), QStringLiteral("main refresh"),
                                        QStringLiteral("options"), QStringLiteral("enable")}));

    forms.calls.clear();
    core.settings.gOptionWindow = false;
    WriteSettings(other, {QStringLiteral("[システム]"), QStringLiteral("オプション表示=1")});
    program.LoadSettingsFile(other);
    EXPECT_FALSE(core.settings.gOptionWindow);
    EXPECT_EQ(forms.calls, (QStringList{QStringLiteral("disable"), QStringLiteral("main refresh"),
                                        QStringLiteral("enable")}));
}

TEST_F(ProgramFixture, LoadingTheEmptyPathGivesTheDefaults) {
    StartWith({QStringLiteral("[システム]"), QStringLiteral("最大処理ファイル数=3")});
    ASSERT_EQ(core.settings.gMaxTargets, 3);
    program.LoadSettingsFile(QString());
    EXPECT_EQ(core.settings.gMaxTargets, 10000);
}

// The main window is disabled while the box is shown; a save that works
// shows nothing.
TEST_F(ProgramFixture, SavingTheLogNowShowsWhatCouldNotBeWritten) {
    program.Main(Exe());
    QFile blocker(app + QStringLiteral("/blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    core.log.SetLogPath(app + QStringLiteral("/blocker/Log"));
    QStringList formsAtMessage;
    messages.onShow = [&](const MessageRequest&) { formsAtMessage = forms.calls; };
    program.SaveLogNow();
    ASSERT_EQ(messages.shown.size(), 1);
    const MessageRequest& shown = messages.shown[0];
    EXPECT_EQ(shown.id, MessageId::ManualLogSaveError);
    EXPECT_EQ(shown.text, QStringLiteral("！ログフォルダの作成に失敗しました：'") + app +
                              QStringLiteral("/blocker/Log'\r\n"));
    EXPECT_EQ(shown.title, QStringLiteral("ログの保存"));
    EXPECT_EQ(shown.icon, MsgIcon::Error);
    EXPECT_EQ(formsAtMessage, QStringList{QStringLiteral("disable")});
    EXPECT_EQ(forms.calls, (QStringList{QStringLiteral("disable"), QStringLiteral("enable")}));

    core.log.SetLogPath(app + QStringLiteral("/Log"));
    program.SaveLogNow();
    EXPECT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(QDir(core.log.LogPath()).entryList(QDir::Files).size(), 3);
}

TEST_F(ProgramFixture, RunOptionsComeFromTheInputs) {
    program.Main(Exe());
    struct Case {
        CheckBoxValue recursive, deleteValue;
        bool deleteEnabled;
        CheckBoxValue textMode;
        bool whole;
        CheckBoxValue quick;
        bool quickEnabled;
        bool runRecursive, runDelete;
        int cmpMode, fileNameMode;
        bool runQuick;
    };
    const Case cases[] = {
        {CheckBoxValue::Checked, CheckBoxValue::Checked, true, CheckBoxValue::Checked, true,
         CheckBoxValue::Checked, true, true, true, 1, -1, true},
        {CheckBoxValue::Unchecked, CheckBoxValue::Checked, false, CheckBoxValue::Unchecked, false,
         CheckBoxValue::Checked, false, false, false, 0, 0, false},
        {CheckBoxValue::Grayed, CheckBoxValue::Grayed, true, CheckBoxValue::Grayed, false,
         CheckBoxValue::Grayed, true, true, true, 0, 0, true},
    };
    for (const Case& c : cases) {
        inputs.searchWord = QStringLiteral("*.JPG");
        inputs.replaceWord = QStringLiteral("写真*.jpg");
        inputs.recursive = c.recursive;
        inputs.deleteValue = c.deleteValue;
        inputs.deleteEnabled = c.deleteEnabled;
        inputs.textMode = c.textMode;
        inputs.wholeName = c.whole;
        inputs.quickList = c.quick;
        inputs.quickListEnabled = c.quickEnabled;
        GetRunOptions(core, inputs);
        const SettingsInEffect& s = program.Settings();
        EXPECT_EQ(program.Inputs().gSearchWord, QStringLiteral("*.JPG"));
        EXPECT_EQ(program.Inputs().gReplaceWord, QStringLiteral("写真*.jpg"));
        EXPECT_EQ(program.Inputs().gRunRecursive, c.runRecursive);
        EXPECT_EQ(program.Inputs().gRunDelete, c.runDelete);
        EXPECT_EQ(core.matching.CmpMode(), CompareMode(c.cmpMode));
        EXPECT_EQ(core.matching.FileNameMode(), NameMode(c.fileNameMode));
        EXPECT_EQ(program.Inputs().gRunQuickList, c.runQuick);
        EXPECT_EQ(program.Inputs().gRunFolderMode, s.gFolderMode);
    }
}

// The settings table a save writes: the settings in effect and the windows'
// values, every one away from its default, check boxes greyed too.
TEST_F(ProgramFixture, SnapshotTakesEverySourceAndLeavesTheRest) {
    constexpr CheckBoxValue U = CheckBoxValue::Unchecked;
    constexpr CheckBoxValue C = CheckBoxValue::Checked;
    constexpr CheckBoxValue G = CheckBoxValue::Grayed;
    program.Main(Exe());
    // Rows with no source, set away from their defaults.
    const auto setNotTaken = [](mdlOptions& o) {
        o.SystemOptions.SetNum(1, 777);
        o.SystemOptions.SetNum(2, 55);
        o.SystemOptions.SetNum(6, 1);
        o.SystemOptions.SetNum(7, 1);
        o.SystemOptions.SetNum(12, 1);
        o.FilterOptions.SetText(11, u"*.sys"_s);
        o.MethodOptions.SetNum(12, 0);
    };
    setNotTaken(program.Options());
    ScriptedMessageBox expectedMessages;
    mdlOptions expected(expectedMessages);
    expected.InitOptions(app, u"sorvane"_s);
    setNotTaken(expected);
    OptionTable& s = expected.SystemOptions;
    s.SetText(3, u"/home/利用者/写真"_s);
    for (int n : {4, 5, 8, 9}) s.SetNum(n, 0);
    s.SetText(10, u"/var/log/sorvane"_s);
    s.SetNum(11, 1);
    OptionTable& f = expected.FilterOptions;
    for (int n = 1; n <= 8; ++n) f.SetNum(n, std::array{0, 1, 0, 1, 1, 1, 1, 0}[size_t(n - 1)]);
    f.SetText(9, u"*.jpg"_s);
    f.SetText(10, u"*.tmp"_s);
    OptionTable& m = expected.MethodOptions;
    for (int n = 1; n <= 6; ++n) m.SetNum(n, std::array{0, 1, 1, 0, 2, 1}[size_t(n - 1)]);
    m.SetText(7, u"IMG_*"_s);
    m.SetText(8, u"写真_*"_s);
    m.SetNum(9, 2);
    m.SetText(10, u"/tmp/削除"_s);
    m.SetNum(11, 1);

    // No window: nothing is taken.
    ASSERT_TRUE(program.SaveSettingsFile(app + u"/before.ini"_s));
    EXPECT_EQ(program.Options().MethodOptions.Text(7), QString());

    program.ShowFolder(u"/home/利用者/写真"_s);
    program.SetEscQuits(false);
    program.SetSaveOnExit(false);
    program.SetDetailLog(false);
    program.SetOptionWindowOpen(false);
    program.SetLogFolder(u"/var/log/sorvane"_s);
    program.SetAutoLogSave(true);
    program.SetOperation(RenameOperation::InsertBack);
    program.SetDeleteTarget(u"/tmp/削除"_s);
    FormValues values;
    values.filter.attributes = {U, G, U, C};
    values.filter.attributeOnly = G;
    values.filter.switches = {C, G, U};
    values.filter.patterns = {u"*.jpg"_s, u"*.tmp"_s};
    values.filter.folders = C;
    values.run.recursive = U;
    values.run.deleteValue = G;
    values.run.textMode = U;
    values.run.wholeName = true;
    values.run.searchWord = u"IMG_*"_s;
    values.run.replaceWord = u"写真_*"_s;
    values.run.quickList = C;
    forms.values = values;
    ASSERT_TRUE(program.SaveSettingsFile(app + u"/after.ini"_s));
    test::ExpectSameTables(program.Options(), expected);
    // The file holds the snapshot.
    ScriptedMessageBox readMessages;
    mdlOptions read(readMessages);
    read.InitOptions(app, u"sorvane"_s);
    ASSERT_TRUE(read.LoadOptionFile(app + u"/after.ini"_s, true));
    EXPECT_EQ(read.MethodOptions.Text(8), u"写真_*"_s);
    EXPECT_EQ(read.SystemOptions.Text(3), u"/home/利用者/写真"_s);
}

TEST_F(ProgramFixture, CheckCancelLogsOnlyAStop) {
    EXPECT_FALSE(CheckCancel(core));
    EXPECT_EQ(logBox.Text(), QString());
    AddLogLine(core, QStringLiteral("一行目"));
    core.CancelDialog.CancelClick();
    EXPECT_TRUE(CheckCancel(core));
    EXPECT_EQ(logBox.Text(), QStringLiteral("一行目\r\n！処理はユーザにより中止されました。\r\n"));
    EXPECT_TRUE(core.CancelDialog.IsCancel);
}

}  // namespace
