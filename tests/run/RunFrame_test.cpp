#include "run/RunFrame.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QTime>
#include <algorithm>

#include "run/RunFixture.h"

using namespace sorvane;
using namespace sorvane::test;
using namespace Qt::StringLiterals;

namespace {

const QString kStopped = u"！処理はユーザにより中止されました。"_s;

// The summary of a rename run over n items of which r were renamed.
QString RenameSummary(qint32 n, qint32 r, const QString& w = u"ファイル"_s) {
    QString last;
    if (r > 0 && r < n)
        last = u"==変換されなかった"_s + w + u"数："_s + QString::number(n - r) + u"=="_s;
    else if (r > 0)
        last = u"==条件に一致した"_s + w + u"は全て変換されました。=="_s;
    else if (n > 0)
        last = u"==変換された"_s + w + u"はありません。=="_s;
    else
        last = u"==条件に一致した"_s + w + u"はありません。=="_s;
    return Lines({u"==変換結果=="_s,
                  u"==条件に一致した"_s + w + u"数："_s + QString::number(n) + u"=="_s,
                  u"==変換された"_s + w + u"数："_s + QString::number(r) + u"=="_s, last});
}

QString RenameHead(qint32 n, const QString& w = u"ファイル"_s) {
    return Lines({w + u"名の置換を開始しました。=="_s,
                  u"…"_s + QString::number(n) + w + u"が検索条件と一致しました。"_s});
}

QString Renamed(const QString& old, const QString& name) {
    return u"[変換]："_s + old + u" → "_s + name;
}

QString RestoreHead(qint32 t) {
    return Lines({u"==ファイル名の復元を開始しました。=="_s,
                  u"…"_s + QString::number(t) + u"ファイルを復元します。"_s});
}

QString Restored(const QString& old, const QString& name) {
    return u"[復元]："_s + old + u" ← "_s + name;
}

QString Gone(const QString& old, const QString& name) {
    return u"[スキップ]復元しようとしているファイルが移動・または削除されています。："_s + old +
           u" ← "_s + name;
}

using RunFrameTest = RunFixture;

TEST_F(RunFrameTest, NothingMatches) {
    MakeFiles({u"x.txt"_s, u"y.txt"_s});
    const auto before = tree.Take();
    Words(u"a"_s, u"b"_s);
    logBox.Append(u"前回のログ\r\n"_s);

    EXPECT_TRUE(frame.Start(tree.Root(), inputs).ran);

    EXPECT_EQ(logBox.Text(), RenameHead(0) + Lines({u""_s, u""_s}) + RenameSummary(0, 0));
    EXPECT_EQ(core.log.LogStatus, u"終了"_s);
    EXPECT_EQ(core.log.LogOperation, u"リネーム"_s);
    EXPECT_FALSE(frame.CanRestore());
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(tree.Take(), before);
    // Busy frame: the window is disabled, then enabled; the progress window
    // shows the run's word and is hidden at the end.
    EXPECT_EQ(forms.calls, (QStringList{u"disable"_s, u"path "_s + Root(), u"enable"_s}));
    EXPECT_EQ(progress.captions.first(), u"変換作業中"_s);
    EXPECT_FALSE(progress.visible);
}

TEST_F(RunFrameTest, ThreeMatchesOneSkippedBecauseTheNewNameExists) {
    MakeFiles({u"a1.txt"_s, u"a2.txt"_s, u"a3.txt"_s, u"b3.txt"_s});
    const auto files = Files();
    Words(u"a"_s, u"b"_s);

    frame.Start(tree.Root(), inputs);

    EXPECT_EQ(
        logBox.Text(),
        RenameHead(3) +
            Lines(
                {u""_s, Renamed(u"a1.txt"_s, u"b1.txt"_s), Renamed(u"a2.txt"_s, u"b2.txt"_s),
                 u"[スキップ]変換後のファイル名が既存ファイルと同一になりました。：a3.txt → b3.txt"_s,
                 u""_s}) +
            RenameSummary(3, 2));
    EXPECT_TRUE(frame.CanRestore());
    EXPECT_EQ(core.log.LogStatus, u"終了"_s);
    EXPECT_EQ(Files(), files);
    EXPECT_TRUE(Has(u"a3.txt"_s));
    EXPECT_EQ(tree.Read(u"b3.txt"_s), QByteArray("b3.txt"));
    EXPECT_EQ(tree.Read(u"b1.txt"_s), QByteArray("a1.txt"));
}

TEST_F(RunFrameTest, DetailedLogSwitchedOffWritesOnlyTheSummary) {
    MakeFiles({u"a1.txt"_s, u"a2.txt"_s});
    core.settings.gDetailLog = false;
    Words(u"a"_s, u"b"_s);

    frame.Start(tree.Root(), inputs);

    EXPECT_EQ(logBox.Text(), RenameHead(2) + Lines({u""_s}) + RenameSummary(2, 2));
}

TEST_F(RunFrameTest, StopWhileWritingTheDetailedLog) {
    MakeFiles({u"a1.txt"_s, u"a2.txt"_s, u"a3.txt"_s});
    Words(u"a"_s, u"b"_s);
    StopAtCaption(u"変換作業中 1 ログ作成中"_s);
    messages.answers = {MsgAnswer::Yes};

    frame.Start(tree.Root(), inputs);

    EXPECT_EQ(messages.shown[0].title, u"詳細ログの作成"_s);
    EXPECT_EQ(logBox.Text(), RenameHead(3) +
                                 Lines({u""_s, u"！詳細ログの作成は中止されました。"_s, u""_s}) +
                                 RenameSummary(3, 3));
    EXPECT_EQ(core.log.LogStatus, u"終了 / ログ作成中断(ユーザによる)"_s);
    EXPECT_TRUE(frame.CanRestore());
}

// Colliding files go to a dated delete folder beside the start folder, so
// that the test can show that none of them is lost.
struct RunFrameCollision : RunFixture {
    void SetUp() override {
        RunFixture::SetUp();
        MakeFiles({u"work/a1.txt"_s, u"work/a2.txt"_s, u"work/a3.txt"_s, u"work/b1.txt"_s,
                   u"work/b2.txt"_s, u"work/b3.txt"_s});
        ASSERT_TRUE(tree.MakeFolder(u"trash"_s));
        core.settings.gDelMode = DeleteMode::ToFolder;
        core.settings.gDelTarget = tree.Root() + u"/trash"_s;
        core.rename.SetClock([] { return QDateTime(QDate(2026, 12, 7), QTime(1, 2, 3)); });
        inputs.deleteValue = CheckBoxValue::Checked;
        Words(u"a"_s, u"b"_s);
    }
};

TEST_F(RunFrameCollision, DeleteAllAtTheFirstCollisionAsksOnce) {
    const auto files = Files();
    overwrite.answers = {OverwriteAnswer::DeleteAll};

    frame.Start(tree.Path(u"work"_s), inputs);

    // The targets are sorted a3, a2, a1: the first question is about a3.
    EXPECT_EQ(overwrite.captions, QStringList{u"「a3.txt」→「b3.txt」削除の確認"_s});
    EXPECT_EQ(
        overwrite.labels,
        QStringList{
            u"「b3.txt」はすでに存在しています。\r\nもともとあるファイルと置き換えますか？\r\n"
            u"元からあるファイルは削除され、「戻す」を押しても元に戻りません。"_s});
    EXPECT_EQ(logBox.Text(),
              RenameHead(3) +
                  Lines({u""_s, u"[削除]：b1.txt"_s, Renamed(u"a1.txt"_s, u"b1.txt"_s),
                         u"[削除]：b2.txt"_s, Renamed(u"a2.txt"_s, u"b2.txt"_s),
                         u"[削除]：b3.txt"_s, Renamed(u"a3.txt"_s, u"b3.txt"_s), u""_s}) +
                  RenameSummary(3, 3) + u"==なお、変換中に3ファイルが削除されました。=="_s);
    EXPECT_EQ(Files(), files);
    const QString moved = u"trash/work_del2026120701020300/"_s;
    for (const QString& name : {u"b1.txt"_s, u"b2.txt"_s, u"b3.txt"_s})
        EXPECT_EQ(tree.Read(moved + name), (u"work/"_s + name).toUtf8());
    EXPECT_EQ(tree.Read(u"work/b2.txt"_s), QByteArray("work/a2.txt"));
}

TEST_F(RunFrameCollision, CancelInTheOverwriteDialogRenamesNothing) {
    const auto before = tree.Take();
    overwrite.answers = {OverwriteAnswer::Yes, OverwriteAnswer::Cancel};

    frame.Start(tree.Path(u"work"_s), inputs);

    EXPECT_EQ(overwrite.captions.size(), 2);
    EXPECT_EQ(logBox.Text(), RenameHead(3) + Lines({kStopped}));
    EXPECT_EQ(core.log.LogStatus, u"中断 / 衝突ファイル確認中(ユーザによる)"_s);
    EXPECT_FALSE(frame.CanRestore());
    EXPECT_EQ(tree.Take(), before);
}

TEST_F(RunFrameCollision, KeepAllAfterYesKeepsTheFilesFromThereOn) {
    const auto files = Files();
    overwrite.answers = {OverwriteAnswer::Yes, OverwriteAnswer::KeepAll};

    frame.Start(tree.Path(u"work"_s), inputs);

    const QString existing = u"[スキップ]変換後のファイル名が既存ファイルと同一になりました。："_s;
    EXPECT_EQ(logBox.Text(),
              RenameHead(3) +
                  Lines({u""_s, existing + u"a1.txt → b1.txt"_s, existing + u"a2.txt → b2.txt"_s,
                         u"[削除]：b3.txt"_s, Renamed(u"a3.txt"_s, u"b3.txt"_s), u""_s}) +
                  RenameSummary(3, 1) + u"==なお、変換中に1ファイルが削除されました。=="_s);
    EXPECT_EQ(Files(), files);
}

// 150 files; the rename polls the progress window at its first target and
// 100 targets later, where the user stops it.
struct RunFrameHalfWayStop : RunFixture, ::testing::WithParamInterface<bool> {};

TEST_P(RunFrameHalfWayStop, StopWhileRenaming) {
    const bool detailedAfterStop = GetParam();
    for (int i = 0; i < 150; ++i)
        ASSERT_TRUE(tree.MakeFile(u"f%1.txt"_s.arg(i, 3, 10, QChar(u'0')), QByteArray::number(i)));
    const auto files = Files();
    Words(u"f"_s, u"g"_s);
    StopAtCaption(u"変換作業中 100 リネーム中"_s);
    messages.answers = {MsgAnswer::Yes, detailedAfterStop ? MsgAnswer::Yes : MsgAnswer::No};

    frame.Start(tree.Root(), inputs);

    ASSERT_EQ(messages.shown.size(), 2);
    EXPECT_TRUE(SameRequest(messages.shown[0],
                            Request(u"作業を中止しますか？"_s, u"ファイル名の置換 / 済 100"_s,
                                    MsgButtons::YesNo, MsgIcon::None, 1)));
    EXPECT_TRUE(SameRequest(
        messages.shown[1],
        Request(
            u"すでに削除または名前が変換(スキップ含む)されたファイルがあります。\r\n詳細ログを作成しますか？"_s,
            u"詳細ログ作成の確認"_s, MsgButtons::YesNo, MsgIcon::None)));
    // The sorted list runs f149 ... f000 and is renamed from its end.
    QString expected = RenameHead(150) + Lines({kStopped});
    if (detailedAfterStop) {
        expected += Lines({u""_s});
        for (int i = 0; i < 100; ++i) {
            const QString n = u"%1.txt"_s.arg(i, 3, 10, QChar(u'0'));
            expected += Lines({Renamed(u"f"_s + n, u"g"_s + n)});
        }
        expected += Lines({u"==処理は、変換中にここで中止されました。=="_s});
    } else {
        expected += Lines({u"！詳細ログは作成されませんでした。"_s});
    }
    expected += Lines({u""_s}) + RenameSummary(150, 100);
    EXPECT_EQ(logBox.Text(), expected);
    EXPECT_EQ(core.log.LogStatus, u"中断 / リネーム中(ユーザによる)"_s);
    EXPECT_TRUE(frame.CanRestore());
    EXPECT_EQ(Files(), files);
    EXPECT_TRUE(Has(u"g099.txt"_s));
    EXPECT_TRUE(Has(u"f100.txt"_s));
    EXPECT_FALSE(Has(u"g100.txt"_s));
}

INSTANTIATE_TEST_SUITE_P(DetailedLogQuestion, RunFrameHalfWayStop, ::testing::Bool());

TEST_F(RunFrameTest, FolderModeSpeaksOfFolders) {
    MakeFiles({u"a1/a3/f.txt"_s, u"a2/g.txt"_s, u"b2/h.txt"_s});
    const auto files = Files();
    core.settings.gFileMode = false;
    core.settings.gFolderMode = true;
    core.settings.gItemWord = u"フォルダ"_s;
    Words(u"a"_s, u"b"_s);

    frame.Start(tree.Root(), inputs);

    const QString w = u"フォルダ"_s;
    EXPECT_EQ(
        logBox.Text(),
        RenameHead(3, w) +
            Lines({u""_s, Renamed(u"a1/a3"_s, u"b3"_s), Renamed(u"a1"_s, u"b1"_s),
                   u"[スキップ]変換後のフォルダ名が既存フォルダと同一になりました。：a2 → b2"_s,
                   u""_s}) +
            RenameSummary(3, 2, w));
    EXPECT_EQ(tree.Read(u"b1/b3/f.txt"_s), QByteArray("a1/a3/f.txt"));
    EXPECT_TRUE(Has(u"a2/g.txt"_s));
    EXPECT_EQ(Files(), files);
}

struct RunFrameMaximum : RunFixture, ::testing::WithParamInterface<bool> {};

TEST_P(RunFrameMaximum, ListCutAtTheMaximum) {
    const bool goOn = GetParam();
    MakeFiles({u"a1.txt"_s, u"a2.txt"_s, u"a3.txt"_s, u"a4.txt"_s});
    const auto before = tree.Take();
    core.settings.gMaxTargets = 2;
    frame.SettingsApplied();
    Words(u"a"_s, u"b"_s);
    messages.answers = {goOn ? MsgAnswer::Yes : MsgAnswer::No};

    frame.Start(tree.Root(), inputs);

    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(SameRequest(
        messages.shown[0],
        Request(u"ファイル数が多すぎるようです。最大数="
                u"2\r\nあるいは検索パターンに問題があります。\r\n\r\n"
                u"これまでに検索されたファイルだけ置換しますか？\r\n（あまりおすすめしません。）"_s,
                u"ファイル数が多すぎます。"_s, MsgButtons::YesNo, MsgIcon::Warning, 1)));
    if (goOn) {
        EXPECT_EQ(logBox.Text(), RenameHead(2) +
                                     Lines({u""_s, Renamed(u"a3.txt"_s, u"b3.txt"_s),
                                            Renamed(u"a4.txt"_s, u"b4.txt"_s), u""_s}) +
                                     RenameSummary(2, 2));
        EXPECT_EQ(core.log.LogStatus, u"終了"_s);
        EXPECT_TRUE(Has(u"a1.txt"_s) && Has(u"a2.txt"_s) && Has(u"b3.txt"_s) && Has(u"b4.txt"_s));
    } else {
        EXPECT_EQ(logBox.Text(), Lines({u"ファイル名の置換を開始しました。=="_s,
                                        u"！ファイル数が多すぎるようです。"_s, kStopped}));
        EXPECT_EQ(core.log.LogStatus, u"中断 / リストアップ中(ユーザによる)"_s);
        EXPECT_EQ(tree.Take(), before);
    }
    EXPECT_EQ(frame.CanRestore(), goOn);
}

INSTANTIATE_TEST_SUITE_P(YesAndNo, RunFrameMaximum, ::testing::Bool());

TEST_F(RunFrameTest, AmbiguousPatternTakesTheSecondReading) {
    MakeFiles({u"ab-cd"_s});
    inputs.wholeName = true;
    Words(u"*-*"_s, u"*"_s);
    chooser.answers = {ExpansionChoice::TakeSecond};

    frame.Start(tree.Root(), inputs);

    EXPECT_EQ(chooser.beepsBeforeChoose, QList<int>{1});
    EXPECT_EQ(chooser.messages, QStringList{u"置換のパターンを正しく認識していない可能性があります"
                                            u"。\r\n展開パターンを変更してみますか？\r\n\r\n"
                                            u"または中止して、オプション「マッチング」の「部分」「"
                                            u"全体」を変更してから再び置換を行ってみてください｡"
                                            u"正しく認識できるようになる可能性があります｡ "_s});
    EXPECT_EQ(tree.Read(u"cd"_s), QByteArray("ab-cd"));
}

// ---------------------------------------------------------------------------
// Restore

struct RunFrameRestore : RunFixture {
    void SetUp() override {
        RunFixture::SetUp();
        MakeFiles({u"a1.txt"_s, u"a2.txt"_s, u"a3.txt"_s, u"a4.txt"_s, u"a5.txt"_s});
        before = tree.Take();
        Words(u"a"_s, u"b"_s);
        frame.Start(tree.Root(), inputs);
        ASSERT_TRUE(frame.CanRestore());
        ASSERT_TRUE(Has(u"b5.txt"_s));
    }
    Inventory before;
};

TEST_F(RunFrameRestore, EverythingRestored) {
    EXPECT_TRUE(frame.Restore());

    EXPECT_EQ(
        logBox.Text(),
        RestoreHead(5) +
            Lines({u""_s, Restored(u"a5.txt"_s, u"b5.txt"_s), Restored(u"a4.txt"_s, u"b4.txt"_s),
                   Restored(u"a3.txt"_s, u"b3.txt"_s), Restored(u"a2.txt"_s, u"b2.txt"_s),
                   Restored(u"a1.txt"_s, u"b1.txt"_s), u""_s, u"==復元結果=="_s,
                   u"==復元対象のファイル数：5=="_s, u"==復元されたファイル数：5=="_s,
                   u"==変換されたファイルは全て復元されました。=="_s}));
    EXPECT_EQ(core.log.LogStatus, u"終了"_s);
    EXPECT_EQ(core.log.LogOperation, u"リネームの復元"_s);
    EXPECT_EQ(progress.captions.filter(u"復元作業中"_s).first(), u"復元作業中"_s);
    EXPECT_EQ(forms.calls.last(2), (QStringList{u"refresh"_s, u"enable"_s}));
    EXPECT_EQ(tree.Take(), before);
    // Nothing is left to restore: the button would be disabled.
    EXPECT_FALSE(frame.CanRestore());
    EXPECT_FALSE(frame.Restore());
}

TEST_F(RunFrameRestore, OneRenamedFileMissing) {
    ASSERT_TRUE(QFile::remove(tree.Path(u"b3.txt"_s)));

    frame.Restore();

    const QString summary = u"==復元結果=="_s;
    EXPECT_EQ(
        logBox.Text(),
        RestoreHead(5) +
            Lines({u""_s, Restored(u"a5.txt"_s, u"b5.txt"_s), Restored(u"a4.txt"_s, u"b4.txt"_s),
                   Gone(u"a3.txt"_s, u"b3.txt"_s), Restored(u"a2.txt"_s, u"b2.txt"_s),
                   Restored(u"a1.txt"_s, u"b1.txt"_s), u""_s, summary,
                   u"==復元対象のファイル数：5=="_s, u"==復元されたファイル数：4=="_s,
                   u"==復元されなかったファイル数：1=="_s}));
    EXPECT_TRUE(frame.CanRestore());

    // Trying again deals only with the one still missing.
    frame.Restore();

    EXPECT_EQ(logBox.Text(), RestoreHead(1) + Lines({u""_s, Gone(u"a3.txt"_s, u"b3.txt"_s), u""_s,
                                                     summary, u"==復元対象のファイル数：1=="_s,
                                                     u"==復元されたファイル数：0=="_s,
                                                     u"==一つも復元できませんでした。=="_s}));
    EXPECT_TRUE(frame.CanRestore());
    Inventory expected = before;
    expected.erase("a3.txt");
    EXPECT_EQ(tree.Take(), expected);
}

TEST_F(RunFrameRestore, StopAtTheFirstStepLogsOnlyTheStop) {
    StopAtCaption(u"復元作業中 0 リネーム中"_s);
    messages.answers = {MsgAnswer::Yes};

    frame.Restore();

    EXPECT_EQ(logBox.Text(), RestoreHead(5) + Lines({kStopped}));
    EXPECT_EQ(core.log.LogStatus, u"中断 / リネーム中(ユーザによる)"_s);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].title, u"ファイル名の復元 / 済 0"_s);
    EXPECT_TRUE(frame.CanRestore());
    EXPECT_TRUE(Has(u"b1.txt"_s));

    progress.onProcessEvents = nullptr;
    frame.Restore();
    EXPECT_EQ(tree.Take(), before);
    EXPECT_FALSE(frame.CanRestore());
}

// ---------------------------------------------------------------------------
// Automatic log saving

TEST_F(RunFrameTest, AutomaticLogSaveFailureIsShownAndKeepsTheRestore) {
    MakeFiles({u"a1.txt"_s, u"blocker"_s});
    core.settings.gAutoLogSave = true;
    // A file stands where the log folder should be made.
    core.log.SetLogPath(Root() + u"/blocker/Log"_s);
    Words(u"a"_s, u"b"_s);

    frame.Start(tree.Root(), inputs);

    EXPECT_TRUE(progress.captions.contains(u"変換作業中 ログの自動保存中"_s));
    EXPECT_TRUE(progress.titles.contains(u"ログの自動保存中"_s));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(SameRequest(
        messages.shown[0],
        Request(u"ログの保存でエラーがありました。\r\n！ログフォルダの作成に失敗しました：'"_s +
                    Root() + u"/blocker/Log'\r\n"_s,
                u"ログの自動保存"_s, MsgButtons::OK, MsgIcon::Error)));
    EXPECT_TRUE(frame.CanRestore());
    EXPECT_EQ(core.log.LogStatus, u"終了"_s);
}

// ---------------------------------------------------------------------------
// Names holding control characters

bool HoldsControl(const QString& text) {
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
}

// Each name alone in its own start folder, renamed and restored: the log
// shows it by its control pictures, on the one line of its target, while
// the file itself is renamed and restored by its real name. "?" matches a
// control character.
TEST_F(RunFrameTest, ControlCharactersInNamesAreShownNotWritten) {
    struct Case {
        QString name;
        QString search;
        QString replace;
        QString newName;
        QString shownName;
        QString shownNewName;
    };
    const QString jpg = u"*.JPG"_s;
    const QString low = u"*.jpg"_s;
    const Case cases[] = {
        {u"line\nfeed.JPG"_s, jpg, low, u"line\nfeed.jpg"_s, u"line␊feed.JPG"_s,
         u"line␊feed.jpg"_s},
        {u"c\r\n[変換]：fake → x.JPG"_s, jpg, low, u"c\r\n[変換]：fake → x.jpg"_s,
         u"c␍␊[変換]：fake → x.JPG"_s, u"c␍␊[変換]：fake → x.jpg"_s},
        {u"tab\there.JPG"_s, jpg, low, u"tab\there.jpg"_s, u"tab␉here.JPG"_s, u"tab␉here.jpg"_s},
        {u"\x1b[31mred\x1b[0m.JPG"_s, jpg, low, u"\x1b[31mred\x1b[0m.jpg"_s, u"␛[31mred␛[0m.JPG"_s,
         u"␛[31mred␛[0m.jpg"_s},
        {u"del\x7f.JPG"_s, jpg, low, u"del\x7f.jpg"_s, u"del␡.JPG"_s, u"del␡.jpg"_s},
        {u"already␊here.JPG"_s, jpg, low, u"already␊here.jpg"_s, u"already␊here.JPG"_s,
         u"already␊here.jpg"_s},
        {u"\n"_s, u"?"_s, u"x"_s, u"x"_s, u"␊"_s, u"x"_s},
        {u"tab\there.txt"_s, u"tab?here.txt"_s, u"tabhere.txt"_s, u"tabhere.txt"_s,
         u"tab␉here.txt"_s, u"tabhere.txt"_s},
    };
    inputs.wholeName = true;
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shownName.toStdString());
        const QString folder = QString::number(++n);
        ASSERT_TRUE(tree.MakeFile(folder + u'/' + c.name, c.name.toUtf8()));
        Words(c.search, c.replace);
        progress.texts.clear();

        frame.Start(tree.Path(folder), inputs);

        EXPECT_EQ(logBox.Text(), RenameHead(1) +
                                     Lines({u""_s, Renamed(c.shownName, c.shownNewName), u""_s}) +
                                     RenameSummary(1, 1));
        EXPECT_EQ(tree.Read(folder + u'/' + c.newName), c.name.toUtf8());
        EXPECT_FALSE(Has(folder + u'/' + c.name));
        EXPECT_TRUE(progress.texts.filter(c.shownName).size() > 0);
        EXPECT_FALSE(std::any_of(progress.texts.begin(), progress.texts.end(), HoldsControl));

        ASSERT_TRUE(frame.Restore());

        EXPECT_EQ(logBox.Text(),
                  RestoreHead(1) +
                      Lines({u""_s, Restored(c.shownName, c.shownNewName), u""_s, u"==復元結果=="_s,
                             u"==復元対象のファイル数：1=="_s, u"==復元されたファイル数：1=="_s,
                             u"==変換されたファイルは全て復元されました。=="_s}));
        EXPECT_EQ(tree.Read(folder + u'/' + c.name), c.name.toUtf8());
    }
}

}  // namespace

namespace {

// The journal as a run that was killed leaves it: no line of its end; with
// damage, its first record unreadable.
void AsKilled(const QString& path, bool damage = false) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray text = file.readAll();
    file.close();
    text.truncate(text.lastIndexOf("completed\t"));
    if (damage) text.replace(text.indexOf("rename\t"), 6, "renam?");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
    file.close();
}

}  // namespace

// A run that died after its renames began: at the next start the user is
// told where and how many, No leaves everything as it is, Yes restores the
// run from its journal, and a restored journal is not offered again.
TEST_F(RunFrameTest, InterruptedRunIsOfferedAtStartAndRestoredOnYes) {
    core.journal.SetFolder(app.Path(u"journal"_s));
    MakeFiles({u"a1.txt"_s, u"a2.txt"_s});
    const auto before = tree.Take();
    Words(u"a"_s, u"b"_s);
    frame.Start(tree.Root(), inputs);
    AsKilled(core.journal.Path());
    frame.SettingsApplied();
    const auto renamed = tree.Take();

    messages.answers = {MsgAnswer::No};
    EXPECT_FALSE(frame.OfferInterruptedRestore());
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].id, MessageId::InterruptedRunQuestion);
    EXPECT_TRUE(messages.shown[0].text.contains(u"開始フォルダ："_s + Root() + u'/'));
    EXPECT_TRUE(messages.shown[0].text.contains(u"変換する予定だったファイル数：2"_s));
    EXPECT_EQ(tree.Take(), renamed);

    messages.answers = {MsgAnswer::Yes};
    EXPECT_TRUE(frame.OfferInterruptedRestore());
    EXPECT_EQ(tree.Take(), before);
    EXPECT_FALSE(frame.OfferInterruptedRestore());
    EXPECT_EQ(messages.shown.size(), 2);
}

// A journal with a line that cannot be read is still offered, and says so;
// its restore puts back what it can. With only the unreadable line left,
// 戻す has nothing more to try.
TEST_F(RunFrameTest, AnInterruptedRunWithADamagedRecordSaysSo) {
    core.journal.SetFolder(app.Path(u"journal"_s));
    MakeFiles({u"a1.txt"_s, u"a2.txt"_s});
    Words(u"a"_s, u"b"_s);
    frame.Start(tree.Root(), inputs);
    AsKilled(core.journal.Path(), true);
    frame.SettingsApplied();

    messages.answers = {MsgAnswer::Yes};
    EXPECT_TRUE(frame.OfferInterruptedRestore());
    ASSERT_FALSE(messages.shown.isEmpty());
    EXPECT_TRUE(messages.shown[0].text.contains(u"読めない記録：1行"_s))
        << messages.shown[0].text.toStdString();
    EXPECT_FALSE(frame.CanRestore());
    EXPECT_FALSE(logBox.Text().contains(u"全て復元されました"_s));
}
