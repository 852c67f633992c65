#include "run/RunFrame.h"

#include <unistd.h>

#include "platform/DurableFile.h"
#include "platform/ShownName.h"
#include "run/PreRunChecks.h"
#include "run/RenameRun.h"
#include "run/RestoreRun.h"
#include "run/RunMessages.h"
#include "run/RunSteps.h"

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

const QString kRenameKind = u"変換"_s;
const QString kRestoreKind = u"復元"_s;

}  // namespace

RunFrame::RunFrame(mdlMain& program, OverwriteQuestionPort& overwrite,
                   ExpansionChooserPort& chooser)
    : m(program.m), mOverwrite(overwrite), mChooser(chooser) {}

void RunFrame::SettingsApplied() {
    m.rename.InitRename(m.settings.gMaxTargets);
    m.inputs.gRunRecursive = false;
    m.inputs.gRunQuickList = false;
    mCanRestore = false;
    m.journal.Forget();
}

QString RunFrame::CheckStartInputs(const QString& pathText, const RunInputValues& in,
                                   RunInputBox& focus) {
    const StartFolderCheck check =
        CheckStartFolderAndWords(m.fs, m.tools, m.settings.gOperation, pathText, in);
    if (!check.refusal) return check.start;
    ShowMessage(m.ports.messages, check.refusal->message);
    focus = check.refusal->focus;
    return QString();
}

QString RunFrame::Prepare(const QString& pathText, const RunInputValues& inputs,
                          RunInputBox& focus) {
    const QString start = CheckStartInputs(pathText, inputs, focus);
    if (start.isEmpty()) return start;
    GetRunOptions(m, inputs);
    if (CheckDeleteOption(m)) return QString();
    if (!CheckNames(m, mChooser)) {
        focus = RunInputBox::ReplaceWord;
        return QString();
    }
    return start;
}

RunFrame::StartResult RunFrame::Start(const QString& pathText, const RunInputValues& inputs) {
    StartResult result;
    const QString start = Prepare(pathText, inputs, result.focus);
    if (start.isEmpty()) return result;
    WorkStart(kRenameKind);
    mCanRestore = RunRename(m, mOverwrite, start);
    WorkEnd(kRenameKind);
    result.ran = true;
    return result;
}

ListingEnd RunFrame::DryRun(const QString& pathText, const RunInputValues& inputs) {
    RunInputBox focus = RunInputBox::None;
    const QString start = Prepare(pathText, inputs, focus);
    if (start.isEmpty()) return ListingEnd::Refused;

    clsCancel& progress = m.CancelDialog;
    progress.SetCaption(u"変換作業中"_s);
    progress.SetTitle(QString());
    progress.SetText(QString());
    progress.SetVisible(true);
    const bool complete = ListTargets(m, start);
    const bool stopped = progress.IsCancel;
    progress.SetVisible(false);
    return ListingEndOf(complete, stopped, m.rename.GetTargetCount(), m.rename.MaxCount());
}

bool RunFrame::Restore() {
    if (!mCanRestore) return false;
    WorkStart(kRestoreKind);
    // A restore that put everything back leaves nothing more to restore;
    // one that did not can be tried again.
    mCanRestore = !RunRestore(m);
    mUnreadByLastRestore = m.journal.Unread();
    WorkEnd(kRestoreKind);
    return true;
}

QString RunFrame::RestoreJournal(const QString& path) {
    JournalInfo info;
    std::vector<JournalRecord> records;
    QString error;
    if (!ReadJournal(path, info, &records, &error)) return error;
    if (info.pid != ::getpid() && IsProgramProcess(info.pid))
        return u"its run is still going (process %1)"_s.arg(info.pid);
    m.rename.LoadJournalList(info.folder, info.itemWord, info.pid, records);
    m.journal.Adopt(path, info.damaged);
    mCanRestore = true;
    Restore();
    return QString();
}

bool RunFrame::OfferInterruptedRestore() {
    const std::optional<JournalInfo> journal = InterruptedJournal(m.journal.Folder());
    if (!journal) return false;
    const QString& w = journal->itemWord;
    const MsgAnswer answer =
        ShowMessage(m.ports.messages,
                    journal->damaged == 0 ? MessageId::InterruptedRunQuestion
                                          : MessageId::InterruptedRunDamagedQuestion,
                    {w, ShownName(journal->folder), QString::number(journal->records),
                     QString::number(journal->damaged)});
    if (answer != MsgAnswer::Yes) return false;
    const QString error = RestoreJournal(journal->path);
    if (error.isEmpty()) return true;
    ShowMessage(m.ports.messages, MessageId::InterruptedRunRestoreFailed,
                {ShownName(journal->path), ShownName(error)});
    return false;
}

void RunFrame::WorkStart(const QString& kind) {
    m.ports.forms.SetMainEnabled(false);
    m.ports.logBox.Clear();
    m.runEnd = EndStatus{};
    m.log.StartLogInfo(kind == kRenameKind ? u"リネーム"_s : u"リネームの"_s + kind);
    clsCancel& progress = m.CancelDialog;
    progress.SetCaption(kind + u"作業中"_s);
    progress.SetTitle(QString());
    progress.SetText(QString());
    progress.SetVisible(true);
}

void RunFrame::WorkEnd(const QString& kind) {
    if (mRunEnded) mRunEnded();
    if (!mCanRestore) {
        m.rename.ClearRenameList();
        m.journal.Forget();
    }
    m.log.EndLogInfo(m.runEnd.Text());
    clsCancel& progress = m.CancelDialog;
    if (m.settings.gAutoLogSave) {
        progress.SetCaption(kind + u"作業中 ログの自動保存中"_s);
        progress.SetTitle(u"ログの自動保存中"_s);
        progress.SetText(m.log.LogPath());
        progress.ShowTextsNow();
        GetFormOptions(m);
        if (m.log.SaveLogFiles(false) != 0) {
            progress.SetVisible(false);
            ShowMessage(m.ports.messages, MessageId::AutoLogSaveError, {m.log.LogSaveErrorText});
        }
    }
    progress.SetVisible(false);
    m.ports.forms.SetMainEnabled(true);
}

}  // namespace sorvane
