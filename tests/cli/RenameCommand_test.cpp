#include "cli/RenameCommand.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <csignal>
#include <ostream>

#include "cli/CliPorts.h"
#include "cli/RenameOptions.h"
#include "support/TempTree.h"
#include "support/scripted/ScriptedMessageBox.h"

using namespace Qt::StringLiterals;
using namespace sorvane;
using sorvane::test::Inventory;
using sorvane::test::TempTree;

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

// --- options ---------------------------------------------------------------

// The value a settings row holds, found by its key, after the options of
// args were applied to the default settings.
struct RowCase {
    QStringList args;
    QString key;
    std::optional<qint32> number;
    std::optional<QString> text;
};

const OptionRow* FindRow(const mdlOptions& settings, const QString& key) {
    for (const OptionTable* t :
         {&settings.SystemOptions, &settings.FilterOptions, &settings.MethodOptions})
        for (const OptionRow& row : t->Rows)
            if (row.Key == key) return &row;
    return nullptr;
}

TEST(RenameCommandOptions, EachOptionSetsItsSettingsRow) {
    const QString here = u"/work/here"_s;
    const RowCase cases[] = {
        {{u"--search"_s, u"*.txt"_s}, u"検索語"_s, {}, u"*.txt"_s},
        {{u"--search=-a"_s}, u"検索語"_s, {}, u"-a"_s},
        {{u"--replace"_s, u""_s}, u"置換語"_s, {}, u""_s},
        {{u"--replace"_s, u"--x"_s}, u"置換語"_s, {}, u"--x"_s},
        {{u"--operation"_s, u"replace"_s}, u"置換方法"_s, 0, {}},
        {{u"--operation"_s, u"front"_s}, u"置換方法"_s, 1, {}},
        {{u"--operation=back"_s}, u"置換方法"_s, 2, {}},
        {{u"--whole"_s}, u"マッチング方法"_s, 1, {}},
        {{u"--whole"_s, u"--part"_s}, u"マッチング方法"_s, 0, {}},
        {{u"--exact"_s}, u"テキストモード"_s, 0, {}},
        {{u"--exact"_s, u"--text"_s}, u"テキストモード"_s, 1, {}},
        {{u"--no-recursive"_s}, u"フォルダ巡回"_s, 0, {}},
        {{u"--no-recursive"_s, u"--recursive"_s}, u"フォルダ巡回"_s, 1, {}},
        {{u"--folders"_s}, u"フォルダ処理"_s, 1, {}},
        {{u"--folders"_s, u"--files"_s}, u"フォルダ処理"_s, 0, {}},
        {{u"--delete-existing"_s}, u"既存ファイル削除"_s, 1, {}},
        {{u"--delete-mode"_s, u"trash"_s}, u"削除モード"_s, 0, {}},
        {{u"--delete-mode"_s, u"delete"_s}, u"削除モード"_s, 1, {}},
        {{u"--delete-mode"_s, u"move"_s}, u"削除モード"_s, 2, {}},
        {{u"--delete-target"_s, u"aside"_s}, u"削除移動先フォルダ"_s, {}, u"/work/here/aside"_s},
        {{u"--delete-target"_s, u"/abs/../d"_s}, u"削除移動先フォルダ"_s, {}, u"/d"_s},
        {{u"--quick"_s}, u"エラー処理の簡略化"_s, 1, {}},
        {{u"--quick"_s}, u"エラー処理簡略化可能"_s, 1, {}},
        {{u"--no-sort"_s}, u"フォルダ内ソート"_s, 0, {}},
        {{u"--no-sort"_s, u"--sort"_s}, u"フォルダ内ソート"_s, 1, {}},
        {{u"--max"_s, u"250"_s}, u"最大処理ファイル数"_s, 250, {}},
        {{u"--include"_s, u"*.jpg;*.png"_s}, u"絞り込み"_s, 1, {}},
        {{u"--include"_s, u"*.jpg;*.png"_s}, u"絞り込み文字列"_s, {}, u"*.jpg;*.png"_s},
        {{u"--exclude"_s, u"~*"_s}, u"例外処理"_s, 1, {}},
        {{u"--exclude"_s, u"~*"_s}, u"例外文字列"_s, {}, u"~*"_s},
        {{u"--no-important"_s}, u"重要ファイル除外"_s, 0, {}},
        {{u"--no-important"_s, u"--important"_s}, u"重要ファイル除外"_s, 1, {}},
        {{u"--no-detail-log"_s}, u"ログ表示"_s, 0, {}},
        {{u"--no-detail-log"_s, u"--detail-log"_s}, u"ログ表示"_s, 1, {}},
        {{u"--auto-log-save"_s}, u"自動ログ保存"_s, 1, {}},
        {{u"--auto-log-save"_s, u"--no-auto-log-save"_s}, u"自動ログ保存"_s, 0, {}},
        {{u"--log-folder"_s, u"logs"_s}, u"ログパス"_s, {}, u"/work/here/logs"_s},
    };
    ScriptedMessageBox messages;
    for (const RowCase& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        RenameOptions o;
        QString error;
        ASSERT_TRUE(ParseRenameOptions(c.args + QStringList{u"dir"_s}, here, o, error))
            << error.toStdString();
        EXPECT_EQ(o.folder, u"dir"_s);
        mdlOptions settings(messages);
        settings.InitOptions(u"/app"_s, u"sorvane-cli"_s);
        ApplyRowOverrides(o.rows, settings);
        const OptionRow* row = FindRow(settings, c.key);
        ASSERT_NE(row, nullptr);
        if (c.number) {
            EXPECT_EQ(row->Number, *c.number);
        }
        if (c.text) {
            EXPECT_EQ(row->Text, *c.text);
        }
    }
}

TEST(RenameCommandOptions, AnswersFoldersAndModes) {
    struct Case {
        QStringList args;
        std::function<bool(const RenameOptions&)> holds;
    };
    const Case cases[] = {
        {{u"--answer-collision"_s, u"yes"_s},
         [](auto& o) { return o.answers.collision == OverwriteAnswer::Yes; }},
        {{u"--answer-collision"_s, u"no"_s},
         [](auto& o) { return o.answers.collision == OverwriteAnswer::No; }},
        {{u"--answer-collision"_s, u"all"_s},
         [](auto& o) { return o.answers.collision == OverwriteAnswer::DeleteAll; }},
        {{u"--answer-collision"_s, u"keep"_s},
         [](auto& o) { return o.answers.collision == OverwriteAnswer::KeepAll; }},
        {{u"--answer-collision=cancel"_s},
         [](auto& o) { return o.answers.collision == OverwriteAnswer::Cancel; }},
        {{}, [](auto& o) { return !o.answers.collision && !o.answers.stop && !o.answers.max; }},
        {{u"--answer-max"_s, u"yes"_s}, [](auto& o) { return o.answers.max == true; }},
        {{u"--answer-comma"_s, u"no"_s}, [](auto& o) { return o.answers.comma == false; }},
        {{u"--answer-stop"_s, u"no"_s}, [](auto& o) { return o.answers.stop == false; }},
        {{u"--answer-expansion"_s, u"keep"_s},
         [](auto& o) { return o.answers.expansion == ExpansionChoice::KeepFirst; }},
        {{u"--answer-expansion"_s, u"change"_s},
         [](auto& o) { return o.answers.expansion == ExpansionChoice::TakeSecond; }},
        {{u"--dry-run"_s}, [](auto& o) { return o.dryRun; }},
        {{u"--settings"_s, u"my.ini"_s},
         [](auto& o) { return o.settingsFile == u"/work/here/my.ini"_s; }},
        {{u"--"_s, u"--folders"_s}, [](auto& o) { return o.rows.isEmpty(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        RenameOptions o;
        QString error;
        QStringList args = c.args;
        if (!args.contains(u"--"_s)) args.append(u"dir"_s);
        ASSERT_TRUE(ParseRenameOptions(args, u"/work/here"_s, o, error)) << error.toStdString();
        EXPECT_TRUE(c.holds(o));
    }
}

TEST(RenameCommand, UsageErrorsExitTwoAndTouchNothing) {
    const QStringList cases[] = {
        {},
        {u"a"_s, u"b"_s},
        {u"--bogus"_s, u"dir"_s},
        {u"-x"_s, u"dir"_s},
        {u"dir"_s, u"--search"_s},
        {u"dir"_s, u"--operation"_s, u"sideways"_s},
        {u"dir"_s, u"--delete-mode"_s, u"shred"_s},
        {u"dir"_s, u"--max"_s, u"0"_s},
        {u"dir"_s, u"--max"_s, u"ten"_s},
        {u"dir"_s, u"--max"_s, u"99999999999"_s},
        {u"dir"_s, u"--answer-collision"_s, u"maybe"_s},
        {u"dir"_s, u"--answer-expansion"_s, u"yes"_s},
        {u"dir"_s, u"--answer-stop"_s, u"1"_s},
        {u"dir"_s, u"--whole=1"_s},
        {u"dir"_s, u"--quick"_s, u"--delete-existing"_s},
        {u"dir"_s, u"--settings"_s, u"/nonexistent/sorvane.ini"_s},
        // A file is not taken for its folder: that would rename the folder;
        // nor is a dangling link, nor a file behind blanks or quotes.
        {u"dir/a.txt"_s},
        {u"dir/gone"_s},
        {u"  \"dir/a.txt\""_s},
        // No replace word given: in part mode the run would delete the search
        // word from every name.
        {u"dir"_s},
        {u"dir"_s, u"--part"_s, u"--recursive"_s},
    };
    TempTree tree;
    ASSERT_TRUE(tree.MakeFile(u"dir/a.txt"_s));
    ASSERT_TRUE(tree.MakeSymlink(u"dir/gone"_s, u"/nonexistent/drive"_s));
    const Inventory before = tree.Take();
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(tree.Root()));
    for (const QStringList& args : cases) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        QString out;
        QString err;
        int status = -1;
        {
            QTextStream o(&out);
            QTextStream e(&err);
            status = RunRenameCommand(args + QStringList{u"--search"_s, u"*"_s}, o, e, CliIo{},
                                      tree.Path(u"sorvane-cli"_s));
        }
        EXPECT_EQ(status, 2);
        EXPECT_TRUE(out.isEmpty());
        EXPECT_TRUE(err.startsWith(u"sorvane-cli rename: "_s)) << err.toStdString();
    }
    QDir::setCurrent(previous);
    EXPECT_EQ(tree.Take(), before);
}

// --- the ports ---------------------------------------------------------------

// Ctrl+C reaches the run as "中止(&C)"; the stop question is answered by
// --answer-stop, yes unless told otherwise.
TEST(CliPorts, CtrlCIsTheCancelButtonAndStopIsAnswered) {
    struct Case {
        std::optional<bool> stop;
        bool stops;
    };
    for (const Case c : {Case{{}, true}, Case{true, true}, Case{false, false}}) {
        QString err;
        QTextStream e(&err);
        CliIo io;
        CliAnswers answers;
        answers.stop = c.stop;
        CliConsole console(e, io, answers);
        CliMessageBox messages(console);
        CliProgressWindow window(console);
        clsCancel cancel(window, messages);
        window.Attach(&cancel);
        CliInterrupt interrupt;
        cancel.SetVisible(true);
        EXPECT_FALSE(cancel.DoCancel(u"ファイルリストの作成"_s));
        std::raise(SIGINT);
        EXPECT_EQ(cancel.DoCancel(u"ファイルリストの作成"_s), c.stops);
        EXPECT_EQ(cancel.IsCancel, c.stops);
        e.flush();
        EXPECT_TRUE(err.contains(u"ファイルリストの作成: 作業を中止しますか？"_s))
            << err.toStdString();
    }
}

// A Ctrl+C that comes while the progress window is hidden (a question is
// being answered) is not lost when the window is shown again.
TEST(CliPorts, CtrlCWhileHiddenIsKeptForTheNextPoll) {
    QString err;
    QTextStream e(&err);
    CliIo io;
    CliAnswers answers;
    CliConsole console(e, io, answers);
    CliMessageBox messages(console);
    CliProgressWindow window(console);
    clsCancel cancel(window, messages);
    window.Attach(&cancel);
    CliInterrupt interrupt;
    cancel.SetVisible(false);
    std::raise(SIGINT);
    cancel.SetVisible(true);
    EXPECT_TRUE(cancel.DoCancel(u"衝突ファイル削除中 / 済 0"_s));
}

// At a terminal the question is asked there; a typed key answers it, an
// empty line takes the default button and Ctrl+C or the end of input stops.
TEST(CliPorts, TerminalAnswersTheOverwriteQuestion) {
    struct Case {
        QStringList typed;
        OverwriteAnswer expected;
    };
    const Case cases[] = {
        {{u"a"_s}, OverwriteAnswer::DeleteAll},         {{u"Y"_s}, OverwriteAnswer::Yes},
        {{u"全て残す"_s}, OverwriteAnswer::KeepAll},    {{u""_s}, OverwriteAnswer::No},
        {{u"what"_s, u"c"_s}, OverwriteAnswer::Cancel}, {{}, OverwriteAnswer::Cancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.join(u'|').toStdString());
        QString err;
        QTextStream e(&err);
        QStringList typed = c.typed;
        CliIo io;
        io.stdinIsTerminal = true;
        io.readLine = [&typed]() -> std::optional<QString> {
            if (typed.isEmpty()) return std::nullopt;
            return typed.takeFirst();
        };
        CliAnswers answers;
        CliConsole console(e, io, answers);
        CliOverwriteQuestion question(console);
        EXPECT_EQ(question.Ask(u"cap"_s, u"label"_s), c.expected);
        EXPECT_TRUE(typed.isEmpty());
    }
}

// --- whole runs of the program -----------------------------------------------

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

CliRun RunCli(const QStringList& args, const QString& workingDir = QString()) {
    QProcess p;
    if (!workingDir.isEmpty()) p.setWorkingDirectory(workingDir);
    p.start(QStringLiteral(SORVANE_CLI_PATH), QStringList{u"rename"_s} + args);
    p.closeWriteChannel();
    CliRun r;
    if (!p.waitForFinished(120000)) return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// Names of the files under the root, with their contents.
std::map<QString, QByteArray> Files(const TempTree& tree) {
    std::map<QString, QByteArray> files;
    for (const auto& [path, item] : tree.Take())
        if (item.kind == 'f') files[QString::fromUtf8(path)] = tree.Read(QString::fromUtf8(path));
    return files;
}

struct RenameCommandRun : ::testing::Test {
    TempTree tree;
    void SetUp() override {
        ASSERT_TRUE(tree.IsValid());
        for (const QString& name : {u"a.txt"_s, u"b.txt"_s, u"sub/c.txt"_s, u"keep.md"_s})
            ASSERT_TRUE(tree.MakeFile(name, name.toUtf8()));
    }
    QString Root() const { return QDir(tree.Root()).canonicalPath(); }
};

TEST_F(RenameCommandRun, RenamesAndPrintsTheLog) {
    const CliRun r = RunCli({Root(), u"--search"_s, u"*.txt"_s, u"--replace"_s, u"*.dat"_s,
                             u"--whole"_s, u"--recursive"_s});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const std::map<QString, QByteArray> expected = {{u"a.dat"_s, "a.txt"},
                                                    {u"b.dat"_s, "b.txt"},
                                                    {u"keep.md"_s, "keep.md"},
                                                    {u"sub/c.dat"_s, "sub/c.txt"}};
    EXPECT_EQ(Files(tree), expected);
    EXPECT_FALSE(r.out.contains(u'\r'));
    EXPECT_TRUE(r.out.startsWith(
        u"ファイル名の置換を開始しました。==\n…3ファイルが検索条件と一致しました。\n"_s))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"[変換]：sub/c.txt → c.dat\n"_s));
    EXPECT_TRUE(r.out.endsWith(u"==条件に一致したファイルは全て変換されました。==\n"_s));
}

TEST_F(RenameCommandRun, RelativeFolderMeansTheWorkingDirectory) {
    const CliRun r = RunCli({u"sub"_s, u"--search"_s, u"c"_s, u"--replace"_s, u"d"_s}, Root());
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(tree.Read(u"sub/d.txt"_s), QByteArray("sub/c.txt"));
}

TEST_F(RenameCommandRun, DryRunListsVerdictsAndChangesNothing) {
    ASSERT_TRUE(tree.MakeFile(u"a.dat"_s, "old"));
    const Inventory before = tree.Take();
    const CliRun r =
        RunCli({Root(), u"--search"_s, u"*.txt"_s, u"--replace"_s, u"*.dat"_s, u"--whole"_s,
                u"--dry-run"_s, u"--delete-existing"_s, u"--answer-collision"_s, u"all"_s});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(tree.Take(), before);
    // Each folder's targets are held in descending order: renamed from the
    // last, they are renamed in ascending order.
    EXPECT_EQ(r.out, u"1\tb.txt\tb.dat\n2\ta.txt\ta.dat\n1\tsub/c.txt\tsub/c.dat\n3\n"_s);
    EXPECT_FALSE(r.err.contains(u"削除の確認"_s)) << "a dry run asks nothing";
}

// A tab or a line break in a name neither adds a field nor a line: the
// names are given by their control pictures, the files are left alone.
TEST(RenameCommandNames, DryRunLinesKeepTheirThreeFields) {
    TempTree t;
    const QString names[] = {u"line\nfeed.JPG"_s, u"c\r\n[変換]：fake → x.JPG"_s,
                             u"tab\there.JPG"_s, u"\x1b[31mred.JPG"_s, u"del\x7f.JPG"_s};
    for (const QString& name : names) ASSERT_TRUE(t.MakeFile(name, name.toUtf8()));
    const Inventory before = t.Take();

    const CliRun r = RunCli({t.Root(), u"--search"_s, u"*.JPG"_s, u"--replace"_s, u"*.jpg"_s,
                             u"--whole"_s, u"--dry-run"_s});

    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(t.Take(), before);
    QStringList lines = r.out.split(u'\n');
    ASSERT_EQ(lines.size(), 7) << r.out.toStdString();  // five targets, the count, ""
    EXPECT_EQ(lines.takeLast(), u""_s);
    EXPECT_EQ(lines.takeLast(), u"5"_s);
    for (const QString& line : lines) EXPECT_EQ(line.split(u'\t').size(), 3) << line.toStdString();
    lines.sort();
    EXPECT_EQ(lines, (QStringList{u"1\tc␍␊[変換]：fake → x.JPG\tc␍␊[変換]：fake → x.jpg"_s,
                                  u"1\tdel␡.JPG\tdel␡.jpg"_s, u"1\tline␊feed.JPG\tline␊feed.jpg"_s,
                                  u"1\ttab␉here.JPG\ttab␉here.jpg"_s,
                                  u"1\t␛[31mred.JPG\t␛[31mred.jpg"_s}));
}

TEST_F(RenameCommandRun, DryRunCutAtTheMaximumSaysSo) {
    const CliRun r = RunCli({Root(), u"--search"_s, u".txt"_s, u"--replace"_s, u".dat"_s,
                             u"--max"_s, u"2"_s, u"--dry-run"_s});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.endsWith(u"\n2\n"_s)) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(u"maximum"_s));
}

TEST_F(RenameCommandRun, CollisionAnswers) {
    struct Case {
        QString answer;
        int status;
        std::map<QString, QByteArray> files;  // besides b.dat, keep.md and sub/c.dat
    };
    const Case cases[] = {
        // No: the existing file stays, its would-be replacement keeps its name.
        {u"no"_s, 0, {{u"a.dat"_s, "old"}, {u"a.txt"_s, "a.txt"}}},
        // All: the existing file goes to the delete folder, never lost.
        {u"all"_s, 0, {{u"a.dat"_s, "a.txt"}}},
        // Cancel: nothing at all is renamed.
        {u"cancel"_s, 1, {{u"a.dat"_s, "old"}, {u"a.txt"_s, "a.txt"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer.toStdString());
        TempTree t;
        ASSERT_TRUE(t.MakeFile(u"a.txt"_s, "a.txt"));
        ASSERT_TRUE(t.MakeFile(u"a.dat"_s, "old"));
        ASSERT_TRUE(t.MakeFile(u"b.txt"_s, "b.txt"));
        TempTree aside;
        const CliRun r =
            RunCli({t.Root(), u"--search"_s, u"*.txt"_s, u"--replace"_s, u"*.dat"_s, u"--whole"_s,
                    u"--delete-existing"_s, u"--delete-mode"_s, u"move"_s, u"--delete-target"_s,
                    aside.Root(), u"--answer-collision"_s, c.answer});
        EXPECT_EQ(r.status, c.status) << r.err.toStdString();
        EXPECT_TRUE(
            r.err.contains(u"「a.txt」→「a.dat」削除の確認: 「a.dat」はすでに存在しています。"_s))
            << r.err.toStdString();
        std::map<QString, QByteArray> files = c.files;
        files[c.answer == u"cancel"_s ? u"b.txt"_s : u"b.dat"_s] = "b.txt";
        EXPECT_EQ(Files(t), files);
        // What was replaced is in the delete folder.
        std::vector<QByteArray> moved;
        for (const auto& [path, item] : aside.Take())
            if (item.kind == 'f') moved.push_back(aside.Read(QString::fromUtf8(path)));
        EXPECT_EQ(moved, c.answer == u"all"_s ? std::vector<QByteArray>{"old"}
                                              : std::vector<QByteArray>{});
    }
}

TEST_F(RenameCommandRun, QuestionsTakeTheirAnswerOptions) {
    struct Case {
        QStringList args;
        int status;
        int renamed;  // of the two files
    };
    const Case cases[] = {
        {{u"--replace"_s, u"x,y"_s}, 1, 0},
        {{u"--replace"_s, u"x,y"_s, u"--answer-comma"_s, u"no"_s}, 1, 0},
        {{u"--replace"_s, u"x,y"_s, u"--answer-comma"_s, u"yes"_s}, 0, 2},
        {{u"--replace"_s, u"x"_s, u"--max"_s, u"1"_s}, 1, 0},
        {{u"--replace"_s, u"x"_s, u"--max"_s, u"1"_s, u"--answer-max"_s, u"yes"_s}, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        TempTree t;
        ASSERT_TRUE(t.MakeFile(u"a1.txt"_s, "1"));
        ASSERT_TRUE(t.MakeFile(u"a2.txt"_s, "2"));
        const CliRun r = RunCli(QStringList{t.Root(), u"--search"_s, u"a"_s} + c.args);
        EXPECT_EQ(r.status, c.status) << r.err.toStdString();
        const std::map<QString, QByteArray> files = Files(t);
        ASSERT_EQ(files.size(), 2u);
        int renamed = 0;
        for (const auto& [name, content] : files) renamed += name.startsWith(u'x') ? 1 : 0;
        EXPECT_EQ(renamed, c.renamed);
    }
}

// The filter is set as the main window sets it before listing: the
// important files are left out unless told otherwise.
TEST_F(RenameCommandRun, FiltersChooseTheCandidates) {
    struct Case {
        QStringList args;
        QStringList renamed;
    };
    const Case cases[] = {
        {{}, {u"a.txt"_s, u"b.txt"_s, u"keep.md"_s, u"sub/c.txt"_s}},
        {{u"--no-important"_s},
         {u"a.txt"_s, u"b.txt"_s, u"keep.md"_s, u"run.exe"_s, u"sub/c.txt"_s}},
        {{u"--include"_s, u"*.md;a*"_s}, {u"a.txt"_s, u"keep.md"_s}},
        {{u"--exclude"_s, u"b*;c*"_s}, {u"a.txt"_s, u"keep.md"_s}},
        {{u"--exclude"_s, u"b*"_s, u"--no-important"_s, u"--no-recursive"_s},
         {u"a.txt"_s, u"keep.md"_s, u"run.exe"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        TempTree t;
        for (const QString& name :
             {u"a.txt"_s, u"b.txt"_s, u"sub/c.txt"_s, u"keep.md"_s, u"run.exe"_s})
            ASSERT_TRUE(t.MakeFile(name, name.toUtf8()));
        const CliRun r =
            RunCli(QStringList{t.Root(), u"--operation"_s, u"front"_s, u"--replace"_s, u"new-"_s} +
                   c.args);
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        QStringList renamed;
        for (const auto& [name, content] : Files(t)) {
            const QString file = QFileInfo(name).fileName();
            if (file.startsWith(u"new-"_s)) renamed.append(QString::fromUtf8(content));
        }
        renamed.sort();
        EXPECT_EQ(renamed, c.renamed);
    }
}

TEST_F(RenameCommandRun, RefusalsExitOneWithTheirMessage) {
    struct Case {
        QStringList args;
        QString message;
    };
    const Case cases[] = {
        {{Root(), u"--operation"_s, u"front"_s, u"--replace"_s, u"a*b"_s},
         u"置換文字列の指定: ファイル・フォルダ名に以下の文字は使用できません。\n\\ / : * ? \" < > |\n"_s},
        {{Root() + u"/missing"_s, u"--search"_s, u"a"_s, u"--replace"_s, u"b"_s},
         u"開始フォルダの指定: 開始フォルダが存在しません。\n"_s},
        {{Root(), u"--search"_s, u""_s},
         u"検索文字列の指定: 検索される文字列を指定してください\n"_s},
        {{Root(), u"--search"_s, u"a"_s, u"--replace"_s, u"b"_s, u"--delete-existing"_s,
          u"--delete-mode"_s, u"move"_s, u"--delete-target"_s, Root() + u"/nowhere"_s},
         u"オプションエラー: 削除ファイル移動先フォルダが存在しません。\n"_s},
        {{Root(), u"--whole"_s, u"--search"_s, u"*-*"_s, u"--replace"_s, u"*"_s},
         u"--answer-expansion"_s},
    };
    const Inventory before = tree.Take();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const CliRun r = RunCli(c.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    }
    EXPECT_EQ(tree.Take(), before);
}

// A settings file in the program's format, UTF-8 behind a byte-order mark.
QByteArray SettingsFile(const QString& body) {
    return QByteArray("\xEF\xBB\xBF") + body.toUtf8();
}

TEST_F(RenameCommandRun, SettingsFileGivesTheWordsAndOptionsOverrideThem) {
    TempTree config;
    const QByteArray settings = SettingsFile(
        u"[処理方法]\r\n検索語=*.txt\r\n置換語=*.bak\r\nマッチング方法=1\r\nフォルダ巡回=0\r\n"_s);
    ASSERT_TRUE(config.MakeFile(u"my.ini"_s, settings));
    const QString ini = config.Path(u"my.ini"_s);

    CliRun r = RunCli({Root(), u"--settings"_s, ini});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(tree.Read(u"a.bak"_s), QByteArray("a.txt"));
    EXPECT_EQ(tree.Read(u"sub/c.txt"_s), QByteArray("sub/c.txt")) << "フォルダ巡回=0";

    r = RunCli({Root(), u"--settings"_s, ini, u"--replace"_s, u"*.old"_s, u"--recursive"_s});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(tree.Read(u"sub/c.old"_s), QByteArray("sub/c.txt"));
    EXPECT_EQ(config.Read(u"my.ini"_s), settings);
}

TEST_F(RenameCommandRun, TheRunWritesNoSettingsFile) {
    const QString besideProgram =
        QFileInfo(QStringLiteral(SORVANE_CLI_PATH)).absolutePath() + u"/sorvane-cli.ini"_s;
    const bool existed = QFileInfo::exists(besideProgram);
    TempTree config;
    const QByteArray settings = SettingsFile(u"[システム]\r\n自動ログ保存=1\r\n"_s);
    ASSERT_TRUE(config.MakeFile(u"s.ini"_s, settings));
    TempTree logs;

    const CliRun r = RunCli({Root(), u"--settings"_s, config.Path(u"s.ini"_s), u"--search"_s,
                             u"a"_s, u"--replace"_s, u"z"_s, u"--log-folder"_s, logs.Root()});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(tree.Read(u"z.txt"_s), QByteArray("a.txt"));
    EXPECT_EQ(config.Read(u"s.ini"_s), settings);
    EXPECT_EQ(QFileInfo::exists(besideProgram), existed);
    // The automatic save wrote its three files into the log folder given.
    const QStringList saved = QDir(logs.Root()).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(saved.size(), 3) << saved.join(u' ').toStdString();
    EXPECT_TRUE(saved[0].startsWith(u"sorvane-cli_Log_"_s));
}

}  // namespace

namespace {

// The progress line asks for texts only on a terminal and only when it is
// due to be drawn again: a run builds its texts about ten times a second,
// not once per folder. What it draws is the texts set last.
TEST(CliProgressWindow, WantsTextsOnlyWhenItDraws) {
    QString written;
    QTextStream err(&written);
    const CliAnswers answers;
    CliIo pipe;
    CliConsole piped(err, pipe, answers);
    EXPECT_FALSE(CliProgressWindow(piped).WantsTexts());

    CliIo terminal;
    terminal.stderrIsTerminal = true;
    CliConsole console(err, terminal, answers);
    CliProgressWindow window(console);
    window.Show();
    EXPECT_TRUE(window.WantsTexts());
    window.SetCaption(u"first"_s);
    window.ProcessEvents();
    EXPECT_TRUE(written.contains(u"first"_s));
    EXPECT_FALSE(window.WantsTexts());
}

}  // namespace
