#pragma once

#include <QString>
#include <functional>
#include <utility>

#include "ports/ExpansionChooserPort.h"
#include "ports/OverwriteQuestionPort.h"
#include "run/ListingEnd.h"
#include "run/StartChecks.h"
#include "run/mdlMain.h"

namespace sorvane {

// The run frame shared by the desktop program and the command line: the
// start command's checks, the pre-run checks, the busy frame around a run
// (log box, log record, progress window, automatic log saving) and whether
// the last run can be restored. Everything goes through the ports of the
// mdlMain it works on; the window keeps its own steps (the Esc lock, the
// busy pointer, the focus, the restore button, bringing itself to the front).
//
// A front end drives it like this:
//   - whenever it applies the settings: SettingsApplied();
//   - a rename: Start(path text, the run inputs as one value); a refusal
//     has been shown and names the box to fix;
//   - a restore, while CanRestore(): Restore();
//   - after either: the log box holds the log, RunEnd() how it ended.
class RunFrame {
public:
    struct StartResult {
        bool ran = false;                       // the run went through the frame
        RunInputBox focus = RunInputBox::None;  // where a refusal sends the focus
    };

    RunFrame(mdlMain& program, OverwriteQuestionPort& overwrite, ExpansionChooserPort& chooser);
    RunFrame(const RunFrame&) = delete;
    RunFrame& operator=(const RunFrame&) = delete;

    // The rename module takes the maximum in force; the last run can no
    // longer be restored, and the run switches of the last run are cleared.
    void SettingsApplied();

    // The start command (cmdStart_Click): the seven checks of the start
    // folder and the words, GetRunOptions, CheckDeleteOption, CheckNames,
    // then WorkStart("変換"), RunRename and WorkEnd("変換").
    StartResult Start(const QString& pathText, const RunInputValues& inputs);

    // The checks of the start command without the run: the seven checks,
    // the run inputs, the delete target and the words and patterns. Returns
    // the start folder, or "" when a check refused (focus names the box).
    QString Prepare(const QString& pathText, const RunInputValues& inputs, RunInputBox& focus);

    // The target list as a run started now would build it, with nothing
    // changed: listed under the progress window, or refused by a check.
    ListingEnd DryRun(const QString& pathText, const RunInputValues& inputs);

    // The restore command (cmdReturn): WorkStart("復元"), RunRestore,
    // WorkEnd("復元"). Does nothing and returns false while there is nothing
    // to restore, as the disabled button would.
    bool Restore();

    // The restore of the run whose journal is at path: its plan becomes the
    // target list, then Restore(). "" when the restore ran, else why it
    // could not (the file cannot be read, or its run is still going).
    QString RestoreJournal(const QString& path);

    // At start-up: when the last run died in the middle of its renames,
    // tells the user (its start folder and count) and restores it on Yes.
    // True when a restore ran.
    bool OfferInterruptedRestore();

    // mCanRestore: the last run left a record that a restore can undo.
    bool CanRestore() const { return mCanRestore; }
    // The journal lines the last restore could not read, and so left out.
    qint64 UnreadByLastRestore() const { return mUnreadByLastRestore; }

    // Called at the end of every run, its end status set, while the target
    // list is still there: a run that leaves nothing to restore drops it
    // right after. The command line reports the targets from here.
    void SetRunEndObserver(std::function<void()> observer) { mRunEnded = std::move(observer); }

private:
    // The start command's own checks. Returns the start folder in its
    // on-disk spelling, or "" after showing the refusal (focus says where).
    QString CheckStartInputs(const QString& pathText, const RunInputValues& in, RunInputBox& focus);

    // kind: "変換" (rename) or "復元" (restore).
    void WorkStart(const QString& kind);
    void WorkEnd(const QString& kind);

    ProgramCore& m;
    OverwriteQuestionPort& mOverwrite;
    ExpansionChooserPort& mChooser;
    bool mCanRestore = false;
    qint64 mUnreadByLastRestore = 0;
    std::function<void()> mRunEnded;
};

}  // namespace sorvane
