#include "ui/frmMain.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "run/RunFrame.h"
#include "run/mdlMain.h"
#include "support/TempTree.h"
#include "support/scripted/ScriptedExpansionChooser.h"
#include "support/scripted/ScriptedMessageBox.h"
#include "support/scripted/ScriptedOverwriteQuestion.h"
#include "support/scripted/ScriptedProgressWindow.h"
#include "ui/FolderList.h"
#include "ui/LogView.h"
#include "ui/ScriptedDesktop.h"
#include "ui/ShellTools.h"
#include "ui/WidgetApp.h"
#include "ui/frmAbout.h"
#include "ui/frmDlgCancel.h"
#include "ui/frmOption.h"

using namespace sorvane;
using namespace Qt::StringLiterals;
using test::TempTree;

namespace {

// The main window on a program with default settings, the other windows
// scripted, and a temporary tree to run on.
struct MainWindowTest : test::WithApplication, test::ScriptedDesktop, ::testing::Test {
    void SetUp() override {
        Start();
        QApplication::setActiveWindow(&window);
    }
    void TearDown() override { window.hide(); }

    template <typename T>
    T* Find(const QString& name) const {
        T* control = window.findChild<T*>(name);
        EXPECT_NE(control, nullptr) << name.toStdString();
        return control;
    }
    QLineEdit* Box(const QString& name) const { return Find<QLineEdit>(name); }
    void Click(const QString& name) const { Find<QAbstractButton>(name)->click(); }
    void Words(const QString& search, const QString& replace) const {
        Box(u"txtBfr"_s)->setText(search);
        Box(u"txtAft"_s)->setText(replace);
    }
    QStringList Names() const {
        QStringList names;
        for (const auto& [path, item] : tree.Take()) names.append(QString::fromUtf8(path));
        return names;
    }
};

TEST_F(MainWindowTest, RenamesAndRestoresByItsButtons) {
    ASSERT_TRUE(tree.MakeFile(u"a1.txt"_s, "a") && tree.MakeFile(u"b1.txt"_s, "b"));
    Click(u"optM_1"_s);
    Words(u"*1.txt"_s, u"*2.txt"_s);
    Click(u"cmdStart"_s);
    EXPECT_EQ(Names(), (QStringList{u"a2.txt"_s, u"b2.txt"_s}));
    EXPECT_TRUE(window.LogBox().Text().contains(u"[変換]：a1.txt → a2.txt\r\n"_s));
    // The box shows the log line by line, whatever it keeps inside.
    QString lines = window.LogBox().Text();
    lines.replace(u"\r\n"_s, u"\n"_s);
    auto* log = Find<LogView>(u"rtfLog"_s);
    log->SelectAll();
    EXPECT_EQ(log->SelectedText(), lines);
    EXPECT_TRUE(Find<QPushButton>(u"cmdReturn"_s)->isEnabled());
    EXPECT_TRUE(window.centralWidget()->isEnabled());

    Click(u"cmdReturn"_s);
    EXPECT_EQ(Names(), (QStringList{u"a1.txt"_s, u"b1.txt"_s}));
    EXPECT_TRUE(window.LogBox().Text().contains(u"[復元]：a1.txt ← a2.txt\r\n"_s));
    EXPECT_FALSE(Find<QPushButton>(u"cmdReturn"_s)->isEnabled());
}

// Qt's ticked state is 2; the run must read it as checked, not greyed.
TEST_F(MainWindowTest, ATickedTextModeBoxComparesWithoutCase) {
    ASSERT_TRUE(tree.MakeFile(u"IMG1.JPG"_s, "x"));
    Click(u"optM_1"_s);
    Find<QCheckBox>(u"chkBS"_s)->setChecked(true);
    Words(u"img*.jpg"_s, u"photo*.jpg"_s);
    Click(u"cmdStart"_s);
    EXPECT_EQ(Names(), QStringList{u"photo1.jpg"_s});
}

TEST_F(MainWindowTest, EachStartCheckShowsItsMessageAndMovesTheFocus) {
    struct Case {
        QString path, search, replace;
        bool whole;
        int operation;
        QString message, focus;
    };
    const QString missing = tree.Path(u"missing"_s);
    const Case cases[] = {
        {u""_s, u"a"_s, u"b"_s, false, 0, u"開始フォルダを指定してください"_s, u"txtPath"_s},
        {missing, u"a"_s, u"b"_s, false, 0, u"開始フォルダが存在しません。"_s, u"txtPath"_s},
        {tree.Root(), u""_s, u"b"_s, false, 0, u"検索される文字列を指定してください"_s,
         u"txtBfr"_s},
        {tree.Root(), u"a"_s, u""_s, true, 0, u"置換される文字列を指定してください"_s, u"txtAft"_s},
        {tree.Root(), u""_s, u""_s, false, 1, u"挿入される文字列を指定してください"_s, u"txtAft"_s},
        {tree.Root(), u"a\tb"_s, u"b"_s, false, 0,
         u"Windowsのサポートしない文字や制御文字（改行など）が含まれています。"_s, u"txtBfr"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        Click(u"optRRL_"_s + QString::number(c.operation));
        Click(c.whole ? u"optM_1"_s : u"optM_0"_s);
        Box(u"txtPath"_s)->setText(c.path);
        Words(c.search, c.replace);
        messages.shown.clear();
        Click(u"cmdStart"_s);
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_EQ(messages.shown[0].text, c.message);
        EXPECT_TRUE(Box(c.focus)->hasFocus());
    }
    EXPECT_TRUE(window.LogBox().Text().isEmpty());
}

TEST_F(MainWindowTest, InsertOperationsHideTheSearchWordAndTheMatchingMode) {
    Click(u"optRRL_2"_s);
    EXPECT_TRUE(Box(u"txtBfr"_s)->isHidden());
    EXPECT_EQ(Find<QLabel>(u"lbl変換後"_s)->text(), u"挿入語"_s);
    EXPECT_FALSE(Find<QCheckBox>(u"chkBS"_s)->isEnabled());
    EXPECT_FALSE(Find<QWidget>(u"Frame4"_s)->isEnabled());
    EXPECT_EQ(program.Settings().gOperation, RenameOperation::InsertBack);
    Click(u"optRRL_0"_s);
    EXPECT_FALSE(Box(u"txtBfr"_s)->isHidden());
    EXPECT_EQ(Find<QLabel>(u"lbl変換後"_s)->text(), u"置換語"_s);
    EXPECT_TRUE(Find<QWidget>(u"Frame4"_s)->isEnabled());
}

// Keys as a user types them: to the control that has the focus.
void Type(const QString& text) {
    QTest::keyClicks(QApplication::focusWidget(), text);
}
void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

// Tab walks every control that can take the focus in the window's order
// (of an option group, the selected button), Shift+Tab walks back, and
// neither leaves the window, though the options window is open beside it.
TEST_F(MainWindowTest, TabAndShiftTabWalkTheWindowInItsOrder) {
    const char16_t* const order[] = {
        u"txtBfr",      u"txtAft",   u"chkErrNoChk", u"chkD",      u"chkFol",   u"chkBS",
        u"optM_0",      u"optM_1",   u"optRRL_0",    u"optRRL_1",  u"optRRL_2", u"chkExt_0",
        u"txtExt_0",    u"chkExt_1", u"txtExt_1",    u"chkExt_2",  u"chkSys_0", u"chkSys_1",
        u"chkSys_2",    u"chkSys_3", u"chksysOnly",  u"cmdOption", u"cmdStart", u"cmdReturn",
        u"cmdHst_0",    u"cmdHst_1", u"Drive1",      u"cmdPath",   u"Dir1",     u"lstFile",
        u"txtFileName", u"cmdEnd",   u"rtfLog",      u"txtPath",   u"chkR"};
    ASSERT_NE(window.findChild<frmOption*>(), nullptr) << "the default settings open it";
    QStringList stops;
    for (const char16_t* name : order) {
        QWidget* control = Find<QWidget>(QString::fromUtf16(name));
        const auto* option = qobject_cast<QRadioButton*>(control);
        if (control->isEnabled() && control->isVisible() && (!option || option->isChecked()))
            stops.append(control->objectName());
    }
    ASSERT_EQ(QApplication::focusWidget(), Box(u"txtBfr"_s)) << "where the window starts";
    const auto walk = [&](Qt::KeyboardModifiers modifiers) {
        QStringList visited;
        for (qsizetype i = 0; i < stops.size(); ++i) {
            Press(Qt::Key_Tab, modifiers);
            visited.append(QApplication::focusWidget()->objectName());
        }
        return visited;
    };
    EXPECT_EQ(walk({}), stops.mid(1) << stops.first());
    QStringList back = stops;
    std::reverse(back.begin(), back.end());
    EXPECT_EQ(walk(Qt::ShiftModifier), back);
}

// The words typed, Enter, Enter, Enter: the last one presses the start
// button that the second moved the focus to.
TEST_F(MainWindowTest, TheWordsAndThreeEntersRename) {
    ASSERT_TRUE(tree.MakeFile(u"a1.txt"_s, "a"));
    Box(u"txtBfr"_s)->setFocus();
    Type(u"1"_s);
    Press(Qt::Key_Return);
    Type(u"2"_s);
    Press(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), Find<QWidget>(u"cmdStart"_s));
    EXPECT_EQ(Names(), QStringList{u"a1.txt"_s});
    Press(Qt::Key_Return);
    EXPECT_EQ(Names(), QStringList{u"a2.txt"_s});
}

// A selection made by keys shows in the status line as a click's does; a
// Ctrl shortcut takes nothing from the next key, so Enter then opens the
// current item.
TEST_F(MainWindowTest, TheFileListAnswersTheKeyboard) {
    ASSERT_TRUE(tree.MakeFolder(u"alpha"_s) && tree.MakeFolder(u"beta"_s));
    const QString root = QDir(tree.Root()).canonicalPath();
    Click(u"chkFol"_s);
    auto* list = Find<QListView>(u"lstFile"_s);
    list->setFocus();
    list->setCurrentIndex(list->model()->index(0, 0));
    EXPECT_EQ(Box(u"txtFileName"_s)->text(), u"alpha"_s);
    Press(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Box(u"txtFileName"_s)->text(), u"2フォルダを選択"_s);
    Press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"alpha\r\nbeta\r\n"_s);
    Press(Qt::Key_Return);
    EXPECT_EQ(program.Folders().gCurPath, root + u"/beta"_s);
}

// After a run longer than the log box, the box shows the end: the summary.
TEST_F(MainWindowTest, TheLogBoxShowsTheEndOfARun) {
    for (int i = 0; i < 60; ++i) ASSERT_TRUE(tree.MakeFile(u"f%1.txt"_s.arg(i), "x"));
    Words(u".txt"_s, u".dat"_s);
    Click(u"cmdStart"_s);
    const QScrollBar* bar = Find<LogView>(u"rtfLog"_s)->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0) << "the log is longer than the box";
    EXPECT_EQ(bar->value(), bar->maximum());
}

// A delete folder typed in the options window means a folder under the one
// shown, never one beside the program; a blank one is refused and nothing
// changes.
TEST_F(MainWindowTest, ADeleteFolderTypedInTheOptionsWindowStartsAtTheFolderShown) {
    ASSERT_TRUE(tree.MakeFile(u"a1.txt"_s, "new") && tree.MakeFile(u"a2.txt"_s, "old") &&
                tree.MakeFolder(u"kept"_s));
    auto* target = window.findChild<frmOption*>()->findChild<QLineEdit*>(u"txtDelTarget"_s);
    ASSERT_NE(target, nullptr);
    Click(u"optM_1"_s);
    Words(u"*1.txt"_s, u"*2.txt"_s);
    Find<QCheckBox>(u"chkD"_s)->setChecked(true);
    const test::Inventory before = tree.Take();
    QTest::keyClicks(target, u"  "_s);
    Click(u"cmdStart"_s);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].text, u"削除ファイル移動先開始フォルダを指定してください。"_s);
    EXPECT_EQ(tree.Take(), before);

    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(target, u"kept"_s);
    overwrite.answers = {OverwriteAnswer::Yes};
    Click(u"cmdStart"_s);
    EXPECT_EQ(Names().filter(u"a2.txt"_s).size(), 2);
    EXPECT_EQ(tree.Read(u"a2.txt"_s), "new");
    const QStringList kept = Names().filter(u"kept/"_s).filter(u"/a2.txt"_s);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(tree.Read(kept[0]), "old");
}

// A relative folder on the command line is taken from the working folder;
// with none, an empty "初期パス" starts where the copy of the program says.
TEST_F(MainWindowTest, TheStartFolderOfTheCommandLine) {
    ASSERT_TRUE(tree.MakeFolder(u"a/b"_s));
    const QString root = QDir(tree.Root()).canonicalPath();
    const struct {
        QString argument, shown;
    } cases[] = {
        {u"a/b"_s, root + u"/a/b"_s},
        {u"a/b/gone"_s, root + u"/a/b"_s},
        {u""_s, program.Folders().gStartPath},
    };
    for (const auto& c : cases) {
        window.Load(c.argument, root);
        EXPECT_EQ(program.Folders().gCurPath, c.shown) << c.argument.toStdString();
    }
}

// A folder is shown by the nearest existing folder on the way up; a path
// that names nothing keeps the folder shown.
TEST_F(MainWindowTest, ChangePathShowsTheNearestFolderOrKeepsTheShownOne) {
    ASSERT_TRUE(tree.MakeFile(u"a/b/x.txt"_s, "x") && tree.MakeFile(u"a/y.txt"_s, "y"));
    const QString root = QDir(tree.Root()).canonicalPath();
    const struct {
        QString path, shown, status;
    } cases[] = {
        {root + u"/a/b/gone/deeper"_s, root + u"/a/b"_s, u"1ファイル"_s},
        {root + u"/a"_s, root + u"/a"_s, u"1ファイル"_s},
        {u""_s, root + u"/a"_s, u"1ファイル"_s},
    };
    for (const auto& c : cases) {
        window.ChangePath(c.path);
        EXPECT_EQ(program.Folders().gCurPath, c.shown) << c.path.toStdString();
        EXPECT_EQ(Box(u"txtPath"_s)->text(), c.shown);
        EXPECT_EQ(Box(u"txtFileName"_s)->text(), c.status);
    }
    EXPECT_TRUE(messages.shown.isEmpty());
}

// Back and forward through the folders shown, the focus to the file list.
TEST_F(MainWindowTest, HistoryButtonsGoBackAndForward) {
    ASSERT_TRUE(tree.MakeFile(u"a/x.txt"_s, "x"));
    const QString root = QDir(tree.Root()).canonicalPath();
    window.ChangePath(root + u"/a"_s);
    auto* back = Find<QPushButton>(u"cmdHst_0"_s);
    auto* forward = Find<QPushButton>(u"cmdHst_1"_s);
    EXPECT_TRUE(back->isEnabled());
    EXPECT_FALSE(forward->isEnabled());
    back->click();
    EXPECT_EQ(program.Folders().gCurPath, root);
    EXPECT_TRUE(Find<QListView>(u"lstFile"_s)->hasFocus());
    EXPECT_TRUE(forward->isEnabled());
    forward->click();
    EXPECT_EQ(program.Folders().gCurPath, root + u"/a"_s);
    EXPECT_FALSE(forward->isEnabled());
}

// A folder and a file named in Shift-JIS bytes, as archives from Windows
// give them: the folder is entered from the folder list by keys, the
// window shows both by their bytes ("\x82") with the file's reading as a
// tooltip, and the words typed and Enter rename the file byte for byte.
TEST_F(MainWindowTest, ANameInShiftJisBytesIsShownAndRenamedByKeys) {
    const QByteArray folder = "\x83t\x83H\x83\x8b\x83_";                   // "フォルダ"
    ASSERT_TRUE(tree.MakeRawFile(folder + "/\x82\xa0\x82\xa2.txt", "a"));  // "あい.txt"
    const QString root = QDir(tree.Root()).canonicalPath();
    const QString shownFolder = root + u"/\\x83t\\x83H\\x83\\x8B\\x83_"_s;
    window.ChangePath(root);
    auto* folders = Find<FolderList>(u"Dir1"_s);
    folders->setFocus();
    folders->SetCurrentIndexValue(0);
    EXPECT_EQ(folders->currentItem()->text(), u"\\x83t\\x83H\\x83\\x8B\\x83_"_s);
    Press(Qt::Key_Return);
    EXPECT_EQ(FileSystem::Encode(program.Folders().gCurPath),
              FileSystem::Encode(root) + '/' + folder);
    EXPECT_EQ(Box(u"txtPath"_s)->text(), shownFolder);
    EXPECT_EQ(window.windowTitle(), u"Sorvane－"_s + shownFolder);

    auto* list = Find<QListView>(u"lstFile"_s);
    ASSERT_EQ(list->model()->rowCount(), 1);
    const QModelIndex item = list->model()->index(0, 0);
    EXPECT_EQ(item.data().toString(), u"\\x82\\xA0\\x82\\xA2.txt"_s);
    EXPECT_EQ(item.data(Qt::ToolTipRole).toString(),
              u"\\x82\\xA0\\x82\\xA2.txt\nShift-JISでの読み：あい.txt"_s);

    Box(u"txtBfr"_s)->setFocus();
    Type(u"*.txt"_s);
    Press(Qt::Key_Return);
    Type(u"X_*.txt"_s);
    Press(Qt::Key_Return);
    Press(Qt::Key_Return);
    EXPECT_TRUE(tree.Take().contains(folder + "/X_\x82\xa0\x82\xa2.txt"))
        << window.LogBox().Text().toStdString();
    EXPECT_TRUE(window.LogBox().Text().contains(
        u"[変換]：\\x82\\xA0\\x82\\xA2.txt → X_\\x82\\xA0\\x82\\xA2.txt\r\n"_s));

    // A subfolder's name typed after the shown path goes on from the exact one.
    ASSERT_TRUE(tree.MakeRawFile(folder + "/sub/x.txt", "x"));
    Box(u"txtPath"_s)->setFocus();
    QCoreApplication::processEvents();  // the box selects its text on the focus
    Press(Qt::Key_End);
    Type(u"/sub"_s);
    Press(Qt::Key_Return);
    EXPECT_EQ(FileSystem::Encode(program.Folders().gCurPath),
              FileSystem::Encode(root) + '/' + folder + "/sub");
}

// Back moves the focus into the file list, where Qt makes the first row
// current without selecting it: Enter then opens nothing, until the user
// picks a row.
TEST_F(MainWindowTest, EnterAfterBackOpensOnlyARowTheUserPicked) {
    const QString root = QDir(tree.Root()).canonicalPath();
    ASSERT_TRUE(tree.MakeFolder(u"a"_s) && tree.MakeFolder(u"b"_s));
    ASSERT_TRUE(tree.MakeSymlink(u"0link"_s, root + u"/b"_s));
    window.ChangePath(root + u"/a"_s);
    Find<QPushButton>(u"cmdHst_0"_s)->click();
    auto* list = Find<QListView>(u"lstFile"_s);
    ASSERT_TRUE(list->hasFocus());
    ASSERT_EQ(program.Folders().gCurPath, root);
    Press(Qt::Key_Return);
    EXPECT_EQ(program.Folders().gCurPath, root);
    Press(Qt::Key_Space);  // picks the current row
    Press(Qt::Key_Return);
    EXPECT_EQ(program.Folders().gCurPath, root + u"/b"_s);
}

// The Ctrl shortcuts of the file list: one item gives its text alone,
// several each followed by CR LF.
TEST_F(MainWindowTest, FileListShortcutsCopyNamesAndPaths) {
    for (const QString& name : {u"a.txt"_s, u"b.tar.gz"_s, u"c"_s})
        ASSERT_TRUE(tree.MakeFile(name, "x"));
    const QString root = QDir(tree.Root()).canonicalPath();
    window.WindowRefresh();
    auto* list = Find<QListView>(u"lstFile"_s);
    const auto copy = [&](Qt::Key key) {
        QTest::keyClick(list, key, Qt::ControlModifier);
        return QGuiApplication::clipboard()->text();
    };
    list->setCurrentIndex(list->model()->index(1, 0));
    EXPECT_EQ(copy(Qt::Key_B), u"b.tar"_s);
    EXPECT_EQ(copy(Qt::Key_E), u"gz"_s);
    EXPECT_EQ(copy(Qt::Key_F), root + u"/b.tar.gz"_s);
    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Box(u"txtFileName"_s)->text(), u"3ファイルを選択"_s);
    EXPECT_EQ(copy(Qt::Key_B), u"a\r\nb.tar\r\nc\r\n"_s);
    EXPECT_EQ(copy(Qt::Key_C), u"a.txt\r\nb.tar.gz\r\nc\r\n"_s);
    QTest::mouseClick(window.centralWidget(), Qt::LeftButton, {}, QPoint(280, 5));
    EXPECT_EQ(Box(u"txtFileName"_s)->text(), u"3ファイル"_s);
}

// Opening a symbolic link shows its target: a folder itself, a file in its
// folder, selected; a dangling one says so.
TEST_F(MainWindowTest, OpeningALinkShowsItsTarget) {
    ASSERT_TRUE(tree.MakeFile(u"dir/inner.txt"_s, "i") && tree.MakeFile(u"dir/z.txt"_s, "z"));
    const QString root = QDir(tree.Root()).canonicalPath();
    ASSERT_TRUE(tree.MakeSymlink(u"to-dir"_s, root + u"/dir"_s));
    ASSERT_TRUE(tree.MakeSymlink(u"to-file"_s, root + u"/dir/z.txt"_s));
    ASSERT_TRUE(tree.MakeSymlink(u"dangling"_s, root + u"/nowhere"_s));
    auto* list = Find<QListView>(u"lstFile"_s);
    const auto open = [&](const QString& name) {
        window.ChangePath(root);
        const QModelIndexList found =
            list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, name);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        list->setCurrentIndex(found[0]);
        QTest::keyClick(list, Qt::Key_Return);
    };
    open(u"to-dir"_s);
    EXPECT_EQ(program.Folders().gCurPath, root + u"/dir"_s);
    open(u"to-file"_s);
    EXPECT_EQ(program.Folders().gCurPath, root + u"/dir"_s);
    EXPECT_EQ(list->currentIndex().data().toString(), u"z.txt"_s);
    open(u"dangling"_s);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].text,
              u"ショートカット先が存在しません。\r\n"_s + root + u"/nowhere"_s);
    EXPECT_EQ(program.Folders().gCurPath, root);
}

// Enter on a file hands its URL to the desktop's opener; when no program
// takes the file (the opener fails, or cannot be started) a message names
// the file.
TEST_F(MainWindowTest, OpeningAFileSaysWhenNoProgramTakesIt) {
    const QString root = QDir(tree.Root()).canonicalPath();
    ASSERT_TRUE(tree.MakeFile(u"写真 1.jpg"_s, "jpeg"));
    const QString record = app.Path(u"opened"_s);
    const auto opener = [&](const QString& name, int status) {
        const QString path = app.Path(name);
        QFile script(path);
        script.open(QIODevice::WriteOnly);
        script.write("#!/bin/sh\necho \"$1\" >>'" + record.toUtf8() + "'\nexit " +
                     QByteArray::number(status) + "\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    };
    const QString saved = OpenerProgram();
    const struct {
        QString program;
        bool message;
    } cases[] = {
        {opener(u"takes"_s, 0), false},
        {opener(u"none"_s, 3), true},
        {app.Path(u"missing"_s), true},
    };
    auto* list = Find<QListView>(u"lstFile"_s);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.program.toStdString());
        OpenerProgram() = c.program;
        messages.shown.clear();
        QFile::remove(record);
        window.ChangePath(root);
        const QModelIndexList found =
            list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, u"写真 1.jpg"_s);
        ASSERT_EQ(found.size(), 1);
        list->setFocus();
        list->setCurrentIndex(found[0]);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        if (c.message) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.shown.isEmpty(); }, 10000));
            EXPECT_EQ(
                messages.shown[0].text,
                root + u"/写真 1.jpg\r\n"_s + u"このファイルを開くプログラムが見つかりません。"_s);
        } else {
            ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(record); }, 10000));
            QTest::qWait(200);
            EXPECT_TRUE(messages.shown.isEmpty());
        }
        if (QFile::exists(record)) {
            QFile file(record);
            file.open(QIODevice::ReadOnly);
            EXPECT_EQ(file.readAll(),
                      "file://" + QUrl::toPercentEncoding(root + u"/写真 1.jpg"_s, "/") + "\n");
        }
    }
    OpenerProgram() = saved;
}

// The file list previews the filter: a pattern takes effect at Enter, not
// while it is typed; the exclude side joins its text and the important files.
TEST_F(MainWindowTest, TheFileListFollowsTheFilterControls) {
    ASSERT_TRUE(tree.MakeFile(u"b.txt"_s, "b") && tree.MakeFile(u"A.jpg"_s, "a") &&
                tree.MakeFile(u"c.txt"_s, "c"));
    window.WindowRefresh();
    auto* list = Find<QListView>(u"lstFile"_s);
    const auto shown = [list] {
        QStringList names;
        for (int i = 0; i < list->model()->rowCount(); ++i)
            names.append(list->model()->index(i, 0).data().toString());
        return names;
    };
    EXPECT_EQ(shown(), (QStringList{u"A.jpg"_s, u"b.txt"_s, u"c.txt"_s}));

    Click(u"chkExt_0"_s);
    QTest::keyClicks(Box(u"txtExt_0"_s), u"*.txt"_s);
    EXPECT_EQ(shown().size(), 3);
    QTest::keyClick(Box(u"txtExt_0"_s), Qt::Key_Return);
    EXPECT_EQ(shown(), (QStringList{u"b.txt"_s, u"c.txt"_s}));
    EXPECT_EQ(Box(u"txtFileName"_s)->text(), u"2ファイル"_s);

    Box(u"txtExt_1"_s)->setText(u"c*"_s);
    Click(u"chkExt_1"_s);
    EXPECT_EQ(program.Filter().Patterns(1), u"c*;*.exe;*.com;*.bat;*.dll"_s);
    EXPECT_EQ(shown(), QStringList{u"b.txt"_s});
}

// While a run goes on the window cannot be closed and its controls are dark,
// but not its dialogs; right after it, Esc is locked for a second even when
// it is set to close the window.
TEST_F(MainWindowTest, NoCloseDuringARunAndEscLockedAfterIt) {
    ASSERT_TRUE(tree.MakeFile(u"a1.txt"_s, "a"));
    program.SetEscQuits(true);
    bool closedDuringRun = true;
    bool controlsLive = false;
    bool dialogsLive = true;  // the progress window and the questions are its children
    QDialog question(&window);
    progress.onProcessEvents = [&](int) {
        closedDuringRun = closedDuringRun && window.close();
        controlsLive = controlsLive || Find<QPushButton>(u"cmdStart"_s)->isEnabled();
        dialogsLive = dialogsLive && question.isEnabled();
    };
    Words(u"1"_s, u"2"_s);
    Click(u"cmdStart"_s);
    EXPECT_FALSE(closedDuringRun);
    EXPECT_FALSE(controlsLive);
    EXPECT_TRUE(dialogsLive);
    EXPECT_EQ(Names(), QStringList{u"a2.txt"_s});

    QTest::keyClick(Box(u"txtBfr"_s), Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
    QTest::qWait(1100);
    QTest::keyClick(Box(u"txtBfr"_s), Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

// Only "終了(&X)" saves: everything when "保存" is on; with it off, a
// settings file that exists keeps its values but "保存", "オプション表示"
// and "プレビュー表示"; without one nothing is written.
TEST_F(MainWindowTest, ExitSavesByTheSaveSwitch) {
    const QString ini = program.Options().IniFilePath;
    struct Case {
        bool saveOnExit;
        bool fileBefore;
        bool fileAfter;
        QString searchWordAfter;
    };
    for (const Case& c : {Case{true, false, true, u"typed"_s}, Case{false, false, false, {}},
                          Case{false, true, true, u"from file"_s}}) {
        SCOPED_TRACE(c.saveOnExit + 2 * c.fileBefore);
        QFile::remove(ini);
        if (c.fileBefore) {
            mdlOptions file(messages);
            file.InitOptions(program.Folders().gAppPath, u"sorvane"_s);
            file.SetText(MethodRow::SearchWord, u"from file"_s);
            file.SetNum(SystemRow::SaveOnExit, 1);
            ASSERT_TRUE(file.SaveOptionFile(ini));
        }
        program.SetSaveOnExit(c.saveOnExit);
        program.SetPreviewWindowOpen(true);
        window.show();
        Box(u"txtBfr"_s)->setText(u"typed"_s);
        Click(u"cmdEnd"_s);
        EXPECT_EQ(QFile::exists(ini), c.fileAfter);
        if (!c.fileAfter) continue;
        mdlOptions saved(messages);
        saved.InitOptions(program.Folders().gAppPath, u"sorvane"_s);
        ASSERT_TRUE(saved.LoadOptionFile(ini, true));
        EXPECT_EQ(saved.Text(MethodRow::SearchWord), c.searchWordAfter);
        EXPECT_EQ(saved.Num(SystemRow::SaveOnExit), c.saveOnExit ? 1 : 0);
        EXPECT_EQ(saved.Num(SystemRow::PreviewWindow), 1);
    }
}

}  // namespace

namespace {

// "中止(&C)" of the real progress window during a run asks "作業を中止しますか？":
// Yes ends the run as stopped, No lets it finish.
TEST_F(MainWindowTest, TheVersionMenuShowsOneVersionWindow) {
    QAction* menu = Find<QAction>(u"mnuEtcVersion"_s);
    menu->trigger();
    menu->trigger();
    const QList<frmAbout*> shown = window.findChildren<frmAbout*>();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0]->isVisible());
    EXPECT_TRUE(window.Flags().gAboutOpen);
    shown[0]->close();
    EXPECT_FALSE(window.Flags().gAboutOpen);
    // Reopened before the closed window is deleted: a new one is shown.
    menu->trigger();
    EXPECT_TRUE(window.Flags().gAboutOpen);
    QList<frmAbout*> visible;
    for (frmAbout* about : window.findChildren<frmAbout*>())
        if (about->isVisible()) visible.append(about);
    ASSERT_EQ(visible.size(), 1);
    EXPECT_NE(visible[0], shown[0]);
    visible[0]->close();
}

TEST(MainWindowStop, TheProgressWindowsButtonStopsOrGoesOn) {
    test::EnsureApplication();
    for (const bool stop : {true, false}) {
        SCOPED_TRACE(stop);
        TempTree app, tree;
        for (int i = 0; i < 300; ++i)
            ASSERT_TRUE(tree.MakeFile(u"f%1.txt"_s.arg(i, 3, 10, QChar(u'0')), "x"));
        ScriptedMessageBox messages;
        ScriptedOverwriteQuestion overwrite;
        ScriptedExpansionChooser chooser;
        frmMain window;
        frmDlgCancel progress(&window);
        mdlMain program{
            MainPorts{messages, progress, window.LogBox(), window.Ports(), window.Ports()}};
        RunFrame frame{program, overwrite, chooser};
        progress.Attach(&program.CancelDialog());
        progress.SetPumpInterval(0);  // every pump a chance to press
        window.Attach(program, frame);
        program.Main(app.Root() + u"/sorvane"_s);
        window.Load(tree.Root(), app.Root());
        messages.answers = {stop ? MsgAnswer::Yes : MsgAnswer::No};
        window.findChild<QLineEdit*>(u"txtBfr"_s)->setText(u".txt"_s);
        window.findChild<QLineEdit*>(u"txtAft"_s)->setText(u".dat"_s);
        auto* button = progress.findChild<QPushButton*>(u"CancelButton"_s);
        // Pressed a few event pumps after the run has shown the window, as a
        // user would (the showing itself clears a stop).
        QTimer clicker;
        int visiblePumps = 0;
        QObject::connect(&clicker, &QTimer::timeout, [&] {
            if (!progress.isVisible() || ++visiblePumps < 3) return;
            clicker.stop();
            button->click();
        });
        clicker.start(0);
        window.findChild<QPushButton*>(u"cmdStart"_s)->click();
        ASSERT_FALSE(messages.shown.isEmpty());
        EXPECT_EQ(messages.shown[0].id, MessageId::StopQuestion);
        EXPECT_EQ(program.RunEnd().end, stop ? RunEnd::ListingStopped : RunEnd::Done);
        EXPECT_FALSE(progress.isVisible());
    }
}

}  // namespace

namespace {

// The window goes while a pattern box has the focus: the box's end of
// editing on its way out reaches no handler of the window that has gone
// (the sanitizers see any use of it).
TEST(MainWindowEnd, APatternBoxWithTheFocusGoesWithTheWindow) {
    test::WithApplication app;
    auto desktop = std::make_unique<test::ScriptedDesktop>();
    desktop->Start();
    QApplication::setActiveWindow(&desktop->window);
    auto* box = desktop->window.findChild<QLineEdit*>(u"txtExt_0"_s);
    ASSERT_NE(box, nullptr);
    box->setFocus();
    box->setText(u"*.txt"_s);
    ASSERT_EQ(QApplication::focusWidget(), box);
    desktop.reset();
    EXPECT_EQ(QApplication::focusWidget(), nullptr);
}

}  // namespace
