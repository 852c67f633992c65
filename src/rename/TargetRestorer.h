#pragma once

#include <QString>
#include <vector>

#include "platform/FileSystem.h"
#include "ports/clsCancel.h"
#include "rename/JournalRecord.h"
#include "rename/RenamePlan.h"

namespace sorvane {

class FolderNames;

// The way back: every target that a run renamed gets its old name again,
// from the first target to the last. The plan is the run's own list, or
// the list that a run's journal gives after the run was cut short; the
// items of such a list are found by their identity.
class TargetRestorer {
public:
    TargetRestorer(const FileSystem& fs, clsCancel& progress);
    TargetRestorer(const TargetRestorer&) = delete;
    TargetRestorer& operator=(const TargetRestorer&) = delete;

    // Makes plan the target list that a restore of a run's journal replays:
    // the start folder, the item word, the process that ran (pid) and the
    // planned renames in the order they were to be done. Each counts as
    // renamed until the restore finds out; it then moves an item back only
    // when the item at the new path is the one that was listed (same device
    // and inode), and takes an item still at its old path for one the run
    // never reached. An item at neither may be at a temporary name of a
    // case-only rename that the run was stopped in; it comes back from
    // there. Where the listing gave no identity, the folder's names tell.
    void LoadJournalList(RenamePlan& plan, const QString& startFolder, const QString& itemWord,
                         qint64 pid, const std::vector<JournalRecord>& records);
    // The plan to restore is a run's own list again.
    void ForgetJournal() { mFromJournal = false; }

    // Moves every target of plan that the run renamed back to its old name;
    // the number restored in this call. renamed, the run's count of renames,
    // loses each item of a journal that the run never reached.
    qint32 RestoreAll(RenamePlan& plan, qint32& renamed);

    // The targets restored since the count was last reset.
    qint32 Restored() const { return mRestored; }
    void ResetCount() { mRestored = 0; }

private:
    QString JournalTargetSource(RenamePlan& plan, qint32 i, FolderNames& names, qint32& renamed);

    const FileSystem& mFs;
    clsCancel& mProgress;
    qint32 mRestored = 0;
    // The list came from a journal: the restore checks each item's identity.
    bool mFromJournal = false;
    qint64 mJournalPid = 0;  // the process that ran the journal's renames
};

}  // namespace sorvane
