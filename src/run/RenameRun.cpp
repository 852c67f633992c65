#include "run/RenameRun.h"

#include <cstring>
#include <limits>

#include "platform/ShownName.h"
#include "rename/NameRepair.h"
#include "run/RunLog.h"
#include "run/RunMessages.h"
#include "run/RunSteps.h"

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

const QString kCrLf = u"\r\n"_s;

// The overwrite questions are polled every 400 targets, the detailed log
// is built in blocks of 100 targets.
constexpr qint32 kQuestionStep = 400;
constexpr qint32 kLogBlock = 100;
// The most a target's lines hold beside its names: the longest skip text.
constexpr qint64 kLineUnits = 64;

QString Num(qint64 n) {
    return QString::number(n);
}

// The last component of a path, trailing "/" left out.
QString LastComponent(const QString& path) {
    qsizetype end = path.size();
    while (end > 0 && path[end - 1] == u'/') --end;
    const qsizetype slash = end > 0 ? path.lastIndexOf(u'/', end - 1) : -1;
    return path.mid(slash + 1, end - slash - 1);
}

// The word of the run's items: a repair takes files and folders together,
// its "項目"; a rename those of the folder switch.
QString RunItemWord(const ProgramCore& m) {
    return m.inputs.gRunRepair != NameRepair::None ? u"項目"_s : m.settings.gItemWord;
}

// The list could not be built, or was cut at the maximum. False when the
// run ends here.
bool HandleUnfinishedList(ProgramCore& m) {
    mdlRename& r = m.rename;
    const QString w = RunItemWord(m);
    m.runEnd.end = RunEnd::ListingStopped;
    if (CheckCancel(m)) return false;

    // Only a list that holds exactly the maximum was cut there; anything
    // else is a list that could not be built.
    if (r.GetTargetCount() == 0 || r.GetTargetCount() < r.MaxCount()) {
        m.CancelDialog.SetVisible(false);
        ShowMessage(m.ports.messages, MessageId::ListingFailed);
        AddLogLine(m, u"！予期しないエラーが発生しました。"_s);
        m.runEnd.end = RunEnd::ListingFailed;
        return false;
    }

    m.CancelDialog.SetVisible(false);
    const MsgAnswer answer = ShowMessage(m.ports.messages, MessageId::TooManyTargetsQuestion,
                                         {w, Num(m.settings.gMaxTargets)});
    if (answer != MsgAnswer::Yes) {
        AddLogLine(m, u"！"_s + w + u"数が多すぎるようです。\r\n"_s + kStoppedByUser);
        return false;
    }
    m.CancelDialog.SetVisible(true);
    return true;
}

// Asks about every target whose new name is taken by an existing file and
// marks those the user lets go (3). True when at least one was agreed to.
bool AskOverwrites(ProgramCore& m, OverwriteQuestionPort& overwrite) {
    // The answers of the overwrite question, for this run's questions only.
    struct {
        bool gDelThis = false;
        bool gDelAll = false;
        bool gKeepAll = false;
    } s;
    mdlRename& r = m.rename;
    clsCancel& progress = m.CancelDialog;
    bool deleteRequested = false;
    const qint32 count = r.GetTargetCount();
    qint32 next = 0;
    for (qint32 i = 0; i < count; ++i) {
        if (i >= next) {
            next += kQuestionStep;
            if (progress.WantsTexts()) {
                progress.SetCaption(u"変換作業中 "_s + Num(i) + u" 衝突削除確認中"_s);
                progress.SetTitle(u"削除ファイル確認中 / "_s + Num(i));
                progress.SetText(r.BasePath() + r.OldName(i));
            }
            if (progress.DoCancel(u"削除リストの作成"_s)) break;
        }
        if (r.Status(i) != TargetStatus(Verdict::FileExists)) continue;
        if (s.gDelAll) {
            r.SetVerdict(i, Verdict::FileExistsDelete);
            continue;
        }
        s.gDelThis = false;
        const QString caption = u"「"_s + ShownName(FileSystem::GetFileName(r.OldName(i))) +
                                u"」→「"_s + ShownName(FileSystem::GetFileName(r.NewName(i))) +
                                u"」削除の確認"_s;
        const QString label = u"「"_s + ShownName(r.NewName(i)) +
                              u"」はすでに存在しています。\r\n"
                              u"もともとあるファイルと置き換えますか？\r\n"
                              u"元からあるファイルは削除され、「戻す」を押しても元に戻りません。"_s;
        progress.SetVisible(false);
        switch (overwrite.Ask(caption, label)) {
            case OverwriteAnswer::Yes:
                s.gDelThis = true;
                break;
            case OverwriteAnswer::DeleteAll:
                s.gDelThis = true;
                s.gDelAll = true;
                break;
            case OverwriteAnswer::KeepAll:
                s.gKeepAll = true;
                break;
            case OverwriteAnswer::Cancel:
                progress.IsCancel = true;
                break;
            case OverwriteAnswer::No:
                break;
        }
        if (progress.IsCancel) break;
        progress.SetVisible(true);
        if (s.gKeepAll) break;
        if (s.gDelThis) {
            deleteRequested = true;
            r.SetVerdict(i, Verdict::FileExistsDelete);
        }
    }
    return deleteRequested;
}

// "head folder/old → new" and the line end, names in their shown form,
// with the room for the line made once: the log has a line per target.
// Nearly every name is shown in as many units as it has; the rare line
// with one that is not is measured first and written again.
void AppendRenameLine(QString& buf, QStringView head, QStringView folder, QStringView oldName,
                      QStringView newName) {
    constexpr QStringView kArrow = u" → ";
    const qsizetype start = buf.size();
    const auto put = [&](const auto& shown) {
        QChar* at = std::copy(head.begin(), head.end(), buf.data() + start);
        at = shown(at, folder);
        if (at) at = shown(at, oldName);
        if (at) at = shown(std::copy(kArrow.begin(), kArrow.end(), at), newName);
        if (at) std::copy(kCrLf.begin(), kCrLf.end(), at);
        return at != nullptr;
    };
    buf.resize(start + head.size() + folder.size() + oldName.size() + kArrow.size() +
               newName.size() + kCrLf.size());
    if (put(PutShownSameLength)) return;
    buf.resize(start + head.size() + ShownLength(folder) + ShownLength(oldName) + kArrow.size() +
               ShownLength(newName) + kCrLf.size());
    put(PutShown);
}

// Appends the detailed-log lines of target i, which lies in folder. False
// when the listing ends at this target.
bool AppendTargetLines(const mdlRename& r, qint32 i, const QString& folder, const QString& w,
                       QString& buf) {
    const TargetStatus status = r.Status(i);
    const Verdict verdict = status.verdict();
    const RenameOutcome outcome = status.renameOutcome();
    if (outcome == RenameOutcome::StoppedDeleting) {
        buf += u"==処理は、削除中にここで中止されました。=="_s + kCrLf;
        return false;
    }
    if (outcome == RenameOutcome::StoppedRenaming) {
        buf += u"==処理は、変換中にここで中止されました。=="_s + kCrLf;
        if (r.GetDeletedCount() == 0) return false;
        buf +=
            u"==衝突ファイルの削除は全て行われたので、削除ファイル名の出力を続けます。=="_s + kCrLf;
    }
    // Names go in by their shown form: a line break or an escape sequence
    // in a name must not split its line or forge one.
    const QStringView newName = r.NewLeaf(i);
    if (verdict == Verdict::DeletedRename) {
        buf += u"[削除]："_s;
        AppendShown(buf, folder);
        AppendShown(buf, newName);
        buf += kCrLf;
    }

    // The line "head old → new name". The new name is the last component of
    // the new path: the new name itself unless it is empty or holds a "/".
    const auto renaming = [&](QStringView head) {
        if (!newName.isEmpty() && !newName.contains(u'/'))
            AppendRenameLine(buf, head, folder, r.OldLeaf(i), newName);
        else
            AppendRenameLine(buf, head, folder, r.OldLeaf(i), LastComponent(r.NewName(i)));
    };
    if (outcome == RenameOutcome::Renamed) {
        renaming(u"[変換]：");
    } else if (outcome == RenameOutcome::Skipped) {
        switch (verdict) {
            case Verdict::FileExists:
                renaming(u"[スキップ]変換後の"_s + w + u"名が既存ファイルと同一になりました。："_s);
                break;
            case Verdict::Identical:
                renaming(u"[スキップ]変換前後の"_s + w + u"名が同一になりました。："_s);
                break;
            case Verdict::Duplicate:
                renaming(u"[スキップ]変換後の"_s + w + u"名同士が同一になりました。："_s);
                break;
            case Verdict::OtherTarget:
                renaming(u"[スキップ]変換後の"_s + w + u"名が検索条件に一致した"_s + w +
                         u"と同一になりました。："_s);
                break;
            case Verdict::EmptyName:
                // Two quotation marks stand for the empty name.
                buf += u"[スキップ]変換後の"_s + w + u"名が空白です。："_s;
                AppendShown(buf, folder);
                AppendShown(buf, r.OldLeaf(i));
                buf += u" → \"\""_s + kCrLf;
                break;
            case Verdict::FolderExists:
                renaming(u"[スキップ]変換後の"_s + w + u"名が既存フォルダと同一になりました。："_s);
                break;
            case Verdict::TooLong:
                renaming(u"[スキップ]変換後の"_s + w + u"名が長すぎます。："_s);
                break;
            case Verdict::FolderUnsafe:
                renaming(
                    u"[スキップ]このボリュームのドライバはフォルダ名を変えると中身を失うため、変換しません。："_s);
                break;
            case Verdict::Unreadable:
                buf += u"[スキップ]名前を"_s + RepairCodePageName(r.Plan().settings.repair) +
                       u"として読めません。："_s;
                AppendShown(buf, folder);
                AppendShown(buf, r.OldLeaf(i));
                buf += kCrLf;
                break;
            default:
                break;
        }
    } else if (outcome == RenameOutcome::Failed) {
        renaming(u"[エラー]変換中にエラーです。"_s + w +
                 u"に何らかの問題(使用中・削除等)がありました。："_s);
    }
    return true;
}

// The per-target lines, from the last target to the first (the rename
// order), joining the log every 100 targets so that a long log is not
// copied once per line.
void BuildDetailedLog(ProgramCore& m, DetailedLogText& log) {
    mdlRename& r = m.rename;
    clsCancel& progress = m.CancelDialog;
    // A repair's target speaks of its own kind.
    const bool repair = r.Plan().settings.repair != NameRepair::None;
    const QString& w = m.settings.gItemWord;
    const QString kFile = u"ファイル"_s, kFolder = u"フォルダ"_s;
    const qint32 count = r.GetTargetCount();
    // Room for the whole log at once, so that it is never moved as it
    // grows: the names, and a line start, arrow and line end per target
    // (what is reserved and not written costs no memory).
    log.Reserve(r.PathUnits() + qint64(count) * kLineUnits);
    QString& buf = log.Block();
    const TargetStore& targets = r.Plan().targets;
    quint32 folder = std::numeric_limits<quint32>::max();
    qint32 next = count;
    for (qint32 i = count - 1; i >= 0; --i) {
        if (i <= next) {
            log.EndBlock();
            next -= kLogBlock;
            if (progress.WantsTexts()) {
                progress.SetCaption(u"変換作業中 "_s + Num(count - i) + u" ログ作成中"_s);
                progress.SetTitle(u"詳細ログ作成中 / "_s + Num(count - i));
                progress.SetText(r.BasePath() + r.OldName(i));
            }
            if (progress.DoCancel(u"詳細ログの作成"_s)) {
                buf = u"！詳細ログの作成は中止されました。"_s + kCrLf;
                m.runEnd.logStopped = true;
                break;
            }
        }
        folder = targets.FolderIndex(i, folder);
        const QString& word = !repair ? w : targets.IsFolder(i) ? kFolder : kFile;
        if (!AppendTargetLines(r, i, targets.FolderPath(folder), word, buf)) break;
    }
    buf += kCrLf;
}

void AppendSummary(QString& buf, qint32 n, qint32 r, qint32 deleted, const QString& w) {
    buf += u"==変換結果=="_s + kCrLf;
    buf += u"==条件に一致した"_s + w + u"数："_s + Num(n) + u"=="_s + kCrLf;
    buf += u"==変換された"_s + w + u"数："_s + Num(r) + u"=="_s + kCrLf;
    if (r > 0 && r < n)
        buf += u"==変換されなかった"_s + w + u"数："_s + Num(n - r) + u"=="_s + kCrLf;
    else if (r > 0 && r == n)
        buf += u"==条件に一致した"_s + w + u"は全て変換されました。=="_s + kCrLf;
    else if (r == 0 && n > 0)
        buf += u"==変換された"_s + w + u"はありません。=="_s + kCrLf;
    else if (n == 0)
        buf += u"==条件に一致した"_s + w + u"はありません。=="_s + kCrLf;
    // Colliding items are always files.
    if (deleted != 0)
        buf += u"==なお、変換中に"_s + Num(deleted) + u"ファイルが削除されました。=="_s;
}

// Writes the plan of the renames to disk before anything is changed. False
// when it could not be written: the run stops there, the user told why.
bool BeginJournal(ProgramCore& m, bool deleteRequested) {
    const RenameListSettings& s = m.rename.Plan().settings;
    JournalWords words;
    if (s.repair != NameRepair::None) {
        words.operation = u"repair"_s;
        words.search = RepairCodePageName(s.repair);
    } else {
        static constexpr const char16_t* kOperations[] = {u"replace", u"front", u"back"};
        words.operation = QString::fromUtf16(kOperations[size_t(s.operation)]);
        words.search = m.matching.MatchPatternDisp();
        words.replace = s.operation == RenameOperation::Replace ? m.matching.ReplacePatternDisp()
                                                                : s.insertWord;
    }
    const int err = m.journal.Begin(m.rename, deleteRequested, words);
    if (err == 0) return true;
    m.runEnd.end = RunEnd::JournalFailed;
    m.CancelDialog.SetVisible(false);
    ShowMessage(m.ports.messages, MessageId::JournalFailed,
                {ShownName(m.journal.Folder()), QString::fromLocal8Bit(std::strerror(err))});
    AddLogLine(m, u"！復元用の記録を保存できなかったため、処理を中止しました。"_s);
    return false;
}

}  // namespace

bool RunRename(ProgramCore& m, OverwriteQuestionPort& overwrite, const QString& startFolder) {
    const SettingsInEffect& s = m.settings;
    mdlRename& r = m.rename;
    clsCancel& progress = m.CancelDialog;
    const QString w = RunItemWord(m);
    const bool repair = m.inputs.gRunRepair != NameRepair::None;
    bool detailed = s.gDetailLog;

    AddLogLine(m, repair ? u"名前の修復を開始しました。=="_s : w + u"名の置換を開始しました。=="_s);
    m.journal.Forget();

    // A start folder that is not an absolute path is taken as a list that
    // could not be built.
    if (!ListTargets(m, startFolder) && !HandleUnfinishedList(m)) return false;

    const qint32 count = r.GetTargetCount();
    AddLogLine(m, u"…"_s + Num(count) + w +
                      (repair ? u"が修復の対象です。"_s : u"が検索条件と一致しました。"_s));

    bool deleteRequested = false;
    if (m.inputs.gRunDelete) {
        deleteRequested = AskOverwrites(m, overwrite);
        if (CheckCancel(m)) {
            m.runEnd.end = RunEnd::QuestionsStopped;
            return false;
        }
    }

    if (s.gJournal && !BeginJournal(m, deleteRequested)) return false;
    qint32 renamed = r.RenameAll(deleteRequested, s.gDelMode, s.gDelTarget);
    // The journal says at once that the run ended, before the log: a
    // restore then knows it was no crash.
    const bool stopped = m.CancelDialog.IsCancel;
    m.runEnd.end = stopped        ? RunEnd::RenameStopped
                   : renamed >= 0 ? RunEnd::Done
                                  : RunEnd::RenameFailed;
    m.journal.Completed(r, m.runEnd);

    if (CheckCancel(m)) {
        if (r.GetDeletedCount() == 0 && renamed == -1) return false;
        if (detailed) detailed = AskDetailedLog(m, MessageId::DetailLogAfterRenameQuestion, false);
        if (renamed == -1) renamed = 0;
    } else if (renamed < 0) {
        progress.SetVisible(false);
        ShowMessage(m.ports.messages, MessageId::RenameFailed);
        AddLogLine(m, u"！処理中に問題が発生しました。"_s);
        return false;
    }

    // The renames are done whatever becomes of the log: the result must
    // still say so, or the record that undoes them would be dropped.
    const bool logged = WriteRunLog(
        m, detailed, [&m](DetailedLogText& log) { BuildDetailedLog(m, log); },
        [&](QString& buf) { AppendSummary(buf, count, renamed, r.GetDeletedCount(), w); });
    if (!logged) return renamed != 0;
    m.ports.forms.ChangePath(startFolder);
    return renamed != 0;
}

}  // namespace sorvane
