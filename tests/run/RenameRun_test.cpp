#include "run/RenameRun.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <new>

#include "run/RestoreRun.h"
#include "run/RunFixture.h"
#include "run/RunSteps.h"

using namespace sorvane;
using namespace sorvane::test;
using namespace Qt::StringLiterals;

namespace {

const QString kStopped = u"！処理はユーザにより中止されました。"_s;

QString Head(qint32 n) {
    return Lines({u"ファイル名の置換を開始しました。=="_s,
                  u"…"_s + QString::number(n) + u"ファイルが検索条件と一致しました。"_s});
}

QString Name(const char* prefix, int i) {
    return QString::fromUtf8(prefix) + u"%1.txt"_s.arg(i, 3, 10, QChar(u'0'));
}

struct RenameRunTest : RunFixture {
    // What the start command does before it calls the run.
    bool Run(const QString& start) {
        GetRunOptions(core, inputs);
        if (core.settings.gOperation == RenameOperation::Replace) {
            core.matching.setMatchPattern(core.inputs.gSearchWord);
            core.matching.setReplacePattern(core.inputs.gReplaceWord);
        }
        return RunRename(core, overwrite, start);
    }
};

// 250 targets whose new names are all taken; every colliding file goes to a
// delete folder. The removal polls at its first target and 200 later, the
// rename at its first target and 100 later.
struct RenameRunStopAfterRemoval : RenameRunTest, ::testing::WithParamInterface<bool> {};

TEST_P(RenameRunStopAfterRemoval, DetailedLogAfterAStop) {
    const bool whileRenaming = GetParam();
    for (int i = 0; i < 250; ++i) {
        ASSERT_TRUE(tree.MakeFile(u"work/"_s + Name("a", i), "a"));
        ASSERT_TRUE(tree.MakeFile(u"work/"_s + Name("b", i), "b"));
    }
    ASSERT_TRUE(tree.MakeFolder(u"trash"_s));
    const auto files = Files();
    core.settings.gDelMode = DeleteMode::ToFolder;
    core.settings.gDelTarget = Root() + u"/trash"_s;
    core.rename.SetClock([] { return QDateTime(QDate(2026, 12, 7), QTime(1, 2, 3)); });
    inputs.deleteValue = CheckBoxValue::Checked;
    Words(u"a"_s, u"b"_s);
    overwrite.answers = {OverwriteAnswer::DeleteAll};
    StopAtCaption(whileRenaming ? u"変換作業中 100 リネーム中"_s : u"変換作業中 200 衝突削除中"_s);
    messages.answers = {MsgAnswer::Yes, MsgAnswer::Yes};

    const bool renamed = Run(Root() + u"/work"_s);

    // The list is sorted a249 ... a000 and handled from its end.
    QString expected = Head(250) + Lines({kStopped, u""_s});
    if (whileRenaming) {
        for (int i = 0; i < 100; ++i)
            expected += Lines({u"[削除]："_s + Name("b", i),
                               u"[変換]："_s + Name("a", i) + u" → "_s + Name("b", i)});
        expected += Lines(
            {u"==処理は、変換中にここで中止されました。=="_s,
             u"==衝突ファイルの削除は全て行われたので、削除ファイル名の出力を続けます。=="_s});
        for (int i = 100; i < 250; ++i) expected += Lines({u"[削除]："_s + Name("b", i)});
    } else {
        for (int i = 0; i < 200; ++i) expected += Lines({u"[削除]："_s + Name("b", i)});
        expected += Lines({u"==処理は、削除中にここで中止されました。=="_s});
    }
    const int r = whileRenaming ? 100 : 0;
    const int d = whileRenaming ? 250 : 200;
    expected += Lines({u""_s, u"==変換結果=="_s, u"==条件に一致したファイル数：250=="_s,
                       u"==変換されたファイル数："_s + QString::number(r) + u"=="_s,
                       whileRenaming ? u"==変換されなかったファイル数：150=="_s
                                     : u"==変換されたファイルはありません。=="_s}) +
                u"==なお、変換中に"_s + QString::number(d) + u"ファイルが削除されました。=="_s;
    EXPECT_EQ(logBox.Text(), expected);
    EXPECT_EQ(renamed, whileRenaming);
    EXPECT_EQ(core.runEnd.end, RunEnd::RenameStopped);
    EXPECT_EQ(Files(), files);
    EXPECT_TRUE(Has(u"trash/work_del2026120701020300/"_s + Name("b", d - 1)));
}

INSTANTIATE_TEST_SUITE_P(WhileRemovingOrRenaming, RenameRunStopAfterRemoval, ::testing::Bool());

TEST_F(RenameRunTest, StopWhileListing) {
    MakeFiles({u"a1.txt"_s});
    const auto before = tree.Take();
    Words(u"a"_s, u"b"_s);
    StopAtCaption(u"変換作業中 0 ( 0 ) リスト作成中"_s);
    messages.answers = {MsgAnswer::Yes};

    EXPECT_FALSE(Run(Root()));

    EXPECT_EQ(logBox.Text(), Lines({u"ファイル名の置換を開始しました。=="_s, kStopped}));
    EXPECT_EQ(core.runEnd.Text(), u"中断 / リストアップ中(ユーザによる)"_s);
    EXPECT_EQ(messages.shown[0].title, u"ファイルリストの作成"_s);
    EXPECT_EQ(tree.Take(), before);
}

// A start folder that is not an absolute path is never walked: "" would
// otherwise name the root of the file system.
TEST_F(RenameRunTest, StartFolderThatIsNoAbsolutePathIsAnUnexpectedError) {
    for (const QString& start : {QString(), u"relative/folder"_s}) {
        logBox.Clear();
        messages.shown.clear();
        Words(u"a"_s, u"b"_s);

        EXPECT_FALSE(Run(start));

        EXPECT_EQ(logBox.Text(), Lines({u"ファイル名の置換を開始しました。=="_s,
                                        u"！予期しないエラーが発生しました。"_s}));
        EXPECT_EQ(core.runEnd.end, RunEnd::ListingFailed);
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_TRUE(
            SameRequest(messages.shown[0],
                        Request(u"予想外のエラーです。次のような可能性があります。\r\n"
                                u"・作業中にフォルダが削除された\r\n"
                                u"・フォルダ階層が深すぎる、置換語のファイル名が長すぎる\r\n"
                                u"・メモリが不足している\r\n・その他不明"_s,
                                u"リストアップ中のエラー"_s, MsgButtons::OK, MsgIcon::Error)));
        EXPECT_TRUE(progress.captions.filter(u"リスト作成中"_s).isEmpty());
    }
}

TEST_F(RenameRunTest, DeleteFolderThatCannotBeMadeStopsBeforeAnyRename) {
    MakeFiles({u"a1.txt"_s, u"b1.txt"_s, u"blocker"_s});
    const auto before = tree.Take();
    core.settings.gDelMode = DeleteMode::ToFolder;
    core.settings.gDelTarget = Root() + u"/blocker"_s;
    inputs.deleteValue = CheckBoxValue::Checked;
    Words(u"a"_s, u"b"_s);
    overwrite.answers = {OverwriteAnswer::Yes};

    EXPECT_FALSE(Run(Root()));

    EXPECT_EQ(logBox.Text(), Head(1) + Lines({u"！処理中に問題が発生しました。"_s}));
    EXPECT_EQ(core.runEnd.end, RunEnd::RenameFailed);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(SameRequest(
        messages.shown[0],
        Request(
            u"変換中に問題が発生しました。\r\n削除用フォルダが作成出来なかった可能性があります。"_s,
            u"変換中のエラー"_s, MsgButtons::OK, MsgIcon::Error)));
    EXPECT_EQ(tree.Take(), before);
}

// A log box that runs out of room: one that takes the log whole cannot take
// more than limit characters at once; one that takes it in pieces, as the
// command line's does, holds no more than limit in all, so that the first
// pieces of a log go in and a later one fails.
class SmallLogBox : public MemoryLogBox {
public:
    SmallLogBox(qsizetype limit, bool pieces) : mLimit(limit), mPieces(pieces) {}
    void Append(QString text) override {
        const qsizetype held = mPieces ? Text().size() : 0;
        if (held + text.size() > mLimit) throw std::bad_alloc();
        MemoryLogBox::Append(std::move(text));
        ++mAppended;
    }
    bool TakesPieces() const override { return mPieces; }
    int Appended() const { return mAppended; }

private:
    qsizetype mLimit;
    bool mPieces;
    int mAppended = 0;
};

struct LogErrorCase {
    MsgAnswer answer;
    bool restore;
    bool pieces;  // the box takes the log in pieces
};

struct RenameRunLogError : ::testing::TestWithParam<LogErrorCase> {};

TEST_P(RenameRunLogError, OnlyTheSummaryOrNoLog) {
    const LogErrorCase c = GetParam();
    TempTree app, tree;
    // Three blocks of the detailed log when it comes in pieces.
    const int files = c.pieces ? 250 : 20;
    for (int i = 0; i < files; ++i) ASSERT_TRUE(tree.MakeFile(Name("a", i), "a"));
    ScriptedMessageBox messages;
    ScriptedProgressWindow progress;
    SmallLogBox logBox(c.pieces ? 6000 : 300, c.pieces);
    PlainRunInputs inputs;
    ScriptedForms forms;
    ScriptedOverwriteQuestion overwrite;
    ScriptedExpansionChooser chooser;
    mdlMain program{MainPorts{messages, progress, logBox, inputs, forms}};
    ProgramCore& core = test::ProgramAccess::Core(program);
    RunFrame frame{program, overwrite, chooser};
    program.Main(app.Root() + u"/sorvane"_s);
    frame.SettingsApplied();
    inputs.searchWord = u"a"_s;
    inputs.replaceWord = u"b"_s;
    messages.answers = {c.answer};
    ASSERT_TRUE(frame.Start(tree.Root(), inputs).ran);
    // The first pieces went in before one failed; Cancel takes them back.
    if (c.pieces && !c.restore) {
        EXPECT_GE(logBox.Appended(), 4);
    }
    if (c.restore) {
        messages.shown.clear();
        messages.answers = {c.answer};
        ASSERT_TRUE(frame.Restore());
    }

    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(SameRequest(
        messages.shown[0],
        Request(
            u"ログ作成中に問題が発生しました。\r\nログが長くなりすぎた可能性があります。\r\n"
            u"このエラーを出したくない場合はログの詳細表示をOFFにしてみてください。\r\n\r\n"
            u"結果だけ出力する場合は「OK」を、\r\nこのまま終了する場合は「Cancel」を押してください。"_s,
            u"ログ作成中のエラー"_s, MsgButtons::OKCancel, MsgIcon::Error)));
    const QString cleared = u"！ログはログ作成中のエラーでクリアされました\r\n\r\n"_s;
    const QString n = QString::number(files);
    if (c.restore) {
        EXPECT_EQ(
            logBox.Text(),
            c.answer == MsgAnswer::OK
                ? cleared + Lines({u"==復元結果=="_s, u"==復元対象のファイル数："_s + n + u"=="_s,
                                   u"==復元されたファイル数："_s + n + u"=="_s,
                                   u"==変換されたファイルは全て復元されました。=="_s})
                : Lines({u"==ファイル名の復元を開始しました。=="_s,
                         u"…"_s + n + u"ファイルを復元します。"_s}));
        EXPECT_FALSE(frame.CanRestore());
        EXPECT_EQ(tree.Read(Name("a", 7)), QByteArray("a"));
    } else {
        EXPECT_EQ(logBox.Text(),
                  c.answer == MsgAnswer::OK
                      ? cleared + Lines({u"==変換結果=="_s,
                                         u"==条件に一致したファイル数："_s + n + u"=="_s,
                                         u"==変換されたファイル数："_s + n + u"=="_s,
                                         u"==条件に一致したファイルは全て変換されました。=="_s})
                      : Head(files));
        // The files were renamed whatever became of the log: they can be
        // restored.
        EXPECT_TRUE(frame.CanRestore());
        EXPECT_EQ(tree.Read(Name("b", 7)), QByteArray("a"));
    }
    EXPECT_EQ(core.log.LogStatus, u"終了"_s);
}

INSTANTIATE_TEST_SUITE_P(AnswersAfterRenameAndRestore, RenameRunLogError,
                         ::testing::Values(LogErrorCase{MsgAnswer::OK, false, false},
                                           LogErrorCase{MsgAnswer::Cancel, false, false},
                                           LogErrorCase{MsgAnswer::OK, true, false},
                                           LogErrorCase{MsgAnswer::Cancel, true, false},
                                           LogErrorCase{MsgAnswer::OK, false, true},
                                           LogErrorCase{MsgAnswer::Cancel, false, true},
                                           LogErrorCase{MsgAnswer::OK, true, true},
                                           LogErrorCase{MsgAnswer::Cancel, true, true}));

}  // namespace
