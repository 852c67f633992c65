#include "run/RestoreRun.h"

#include "platform/ShownName.h"
#include "run/RunLog.h"
#include "run/RunMessages.h"
#include "run/RunSteps.h"

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

const QString kCrLf = u"\r\n"_s;
constexpr qint32 kLogBlock = 100;

QString Num(qint64 n) {
    return QString::number(n);
}

// Appends the line of target i. False when the listing ends at this target.
bool AppendRestoreLine(const mdlRename& r, qint32 i, const QString& w, QString& buf) {
    const RestoreOutcome outcome = r.Status(i).restoreOutcome();
    if (outcome == RestoreOutcome::None) return true;
    if (outcome == RestoreOutcome::Stopped) {
        buf += u"==ここで処理が中止されました。=="_s + kCrLf;
        return false;
    }
    // The line's head, then "old ← new name" with the names in their shown
    // form, so that no name splits its line or forges one.
    switch (outcome) {
        case RestoreOutcome::Restored:
            buf += u"[復元]："_s;
            break;
        case RestoreOutcome::OldNameTaken:
            buf +=
                u"[スキップ]復元後の名前と同じ名前のファイルまたはフォルダが新たに存在しています。："_s;
            break;
        case RestoreOutcome::Gone:
            buf +=
                u"[スキップ]復元しようとしている"_s + w + u"が移動・または削除されています。："_s;
            break;
        case RestoreOutcome::Failed:
            buf += u"[エラー]変換中にエラーです。"_s + w +
                   u"に何らかの問題(使用中等)がありました。："_s;
            break;
        case RestoreOutcome::None:
        case RestoreOutcome::Stopped:
            return true;
    }
    AppendShown(buf, r.OldName(i));
    buf += u" ← "_s;
    AppendShown(buf, FileSystem::GetFileName(r.NewName(i)));
    buf += kCrLf;
    return true;
}

// The per-target lines, from the first target to the last (the restore
// order), in blocks of 100 targets.
void BuildDetailedLog(ProgramCore& m, const QString& w, DetailedLogText& log) {
    mdlRename& r = m.rename;
    clsCancel& progress = m.CancelDialog;
    const qint32 count = r.GetTargetCount();
    QString& buf = log.Block();
    qint32 next = 0;
    for (qint32 i = 0; i < count; ++i) {
        if (i >= next) {
            log.EndBlock();
            next += kLogBlock;
            if (progress.WantsTexts()) {
                progress.SetCaption(u"復元作業中 "_s + Num(i) + u" ログ作成中"_s);
                progress.SetTitle(u"詳細ログ作成中 / "_s + Num(i));
                progress.SetText(r.BasePath() + r.OldName(i));
            }
            if (progress.DoCancel(u"詳細ログの作成"_s)) {
                buf = u"！詳細ログの作成は中止されました。"_s + kCrLf;
                m.runEnd.logStopped = true;
                break;
            }
        }
        if (!AppendRestoreLine(r, i, w, buf)) break;
    }
    buf += kCrLf;
}

// unread: lines of the journal that could not be read; their items were not
// restored, so the restore never says that everything was.
void AppendSummary(QString& buf, qint32 t, qint32 r, qint64 unread, const QString& w) {
    buf += u"==復元結果=="_s + kCrLf;
    buf += u"==復元対象の"_s + w + u"数："_s + Num(t) + u"=="_s + kCrLf;
    buf += u"==復元された"_s + w + u"数："_s + Num(r) + u"=="_s + kCrLf;
    if (unread > 0) buf += u"==復元記録の読めなかった行数："_s + Num(unread) + u"=="_s + kCrLf;
    if (r > 0 && r == t && unread == 0)
        buf += u"==変換された"_s + w + u"は全て復元されました。=="_s + kCrLf;
    else if (r > 0 && r < t)
        buf += u"==復元されなかった"_s + w + u"数："_s + Num(t - r) + u"=="_s + kCrLf;
    else if (r == 0 && t > 0)
        buf += u"==一つも復元できませんでした。=="_s + kCrLf;
    else if (r == 0 && t == 0)
        buf += u"==復元できる"_s + w + u"は一つもありません。=="_s + kCrLf;
}

}  // namespace

bool RunRestore(ProgramCore& m) {
    mdlRename& r = m.rename;
    // The word of the list being restored: the folder switch may have been
    // changed since the rename run.
    const QString w = r.ItemWord().isEmpty() ? m.settings.gItemWord : r.ItemWord();
    bool detailed = m.settings.gDetailLog;
    const qint32 target = r.GetRenamedCount() - r.GetRestoredCount();

    AddLogLine(m, u"=="_s + w + u"名の復元を開始しました。==\r\n…"_s + Num(target) + w +
                      u"を復元します。"_s);
    const qint64 unread = m.journal.Unread();
    if (unread > 0)
        AddLogLine(m, u"！復元記録に読めない行が"_s + Num(unread) + u"行あります。その"_s + w +
                          u"は復元されません。"_s);

    const qint32 restoredBefore = r.GetRestoredCount();
    const qint32 restored = r.RestoreAll();
    // A list read from a journal learns only now which of its targets the
    // run had reached.
    const qint32 reached = r.GetRenamedCount() - restoredBefore;
    // Unread lines keep the journal from counting as restored, but no
    // press of 戻す can restore them: once every readable target is back,
    // nothing is left to try again.
    const bool result = restored == reached;
    m.journal.Restored(qint32(reached + unread), restored);

    if (CheckCancel(m)) {
        m.runEnd.end = RunEnd::RenameStopped;
        if (restored == 0) return result;
        if (detailed) detailed = AskDetailedLog(m, MessageId::DetailLogAfterRestoreQuestion, true);
    } else {
        m.runEnd.end = RunEnd::Done;
    }

    const bool logged = WriteRunLog(
        m, detailed, [&](DetailedLogText& log) { BuildDetailedLog(m, w, log); },
        [&](QString& buf) { AppendSummary(buf, reached, restored, unread, w); });
    if (!logged) return result;
    m.ports.forms.WindowRefresh();
    return result;
}

}  // namespace sorvane
