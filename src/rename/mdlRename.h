#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "matching/clsMatching.h"
#include "platform/FileSystem.h"
#include "ports/clsCancel.h"
#include "rename/CollisionRemover.h"
#include "rename/JournalRecord.h"
#include "rename/RenameListBuilder.h"
#include "rename/RenameListSettings.h"
#include "rename/RenamePlan.h"
#include "rename/TargetRenamer.h"
#include "rename/TargetRestorer.h"
#include "rename/TargetStatus.h"
#include "rename/TargetStore.h"
#include "selection/clsFilter.h"

namespace sorvane {

// The target list of the last rename run: old and new paths, relative to
// the start folder, with one status word each. It is the work list of the
// run and the record that a restore replays. It keeps that list (a plan)
// and the run's counts; its parts build the list, remove the colliding
// files, rename and restore.
class mdlRename {
public:
    mdlRename(const FileSystem& fs, clsMatching& matching, clsFilter& filter, clsCancel& progress);
    mdlRename(const mdlRename&) = delete;
    mdlRename& operator=(const mdlRename&) = delete;

    // Called whenever the settings are applied: the list ends.
    // The caller also clears its recursion and quick-list run switches.
    void InitRename(qint32 maximum);

    // Builds the list for the start folder. True when every folder was
    // listed completely; false on a stop from the progress window, a folder
    // that could not be listed (count 0) or the maximum reached (count =
    // maximum). The filter's file/folder switches follow settings.folderMode
    // while the list is built.
    bool MakeRenameList(const QString& startFolder, const RenameListSettings& settings);
    // Takes a plan built elsewhere (by a builder over a file system, matching
    // and filter of its own) as the list of the next run, exactly as if
    // MakeRenameList had built it: the counts start again, and it is not a
    // journal's list.
    void TakePlan(RenamePlan&& plan);
    // The list with how it was made.
    const RenamePlan& Plan() const { return mPlan; }

    bool MakeNewName(QString& name);

    qint32 GetTargetCount() const { return mPlan.targets.Count(); }
    qint64 PathUnits() const { return mPlan.targets.PathUnits(); }
    qint32 GetRenamedCount() const { return mRenamed; }
    qint32 GetRestoredCount() const { return mRestorer.Restored(); }
    qint32 GetDeletedCount() const { return mRemover.Deleted(); }
    void ClearRenameList();

    // Removes the colliding files of the targets marked 3 when asked, then
    // renames every target marked 1 or 9, from the last to the first.
    // Returns the number renamed, or -1 when the removal did not complete
    // (then nothing is renamed).
    qint32 RenameAll(bool deleteRequested, DeleteMode delMode, const QString& delTarget);
    // Whether RenameAll(deleteRequested, ...) will try to rename target i:
    // it is marked so (its new name is still checked before the rename).
    bool WillRename(qint32 i, bool deleteRequested) const {
        return TargetRenamer::WillRename(Status(i), deleteRequested);
    }
    bool DeleteCollisions(DeleteMode delMode, const QString& delTarget) {
        return mRemover.DeleteCollisions(mPlan.targets, mPlan.basePath, delMode, delTarget);
    }
    // Sends the files of batch to the trash and empties it.
    void RecycleFiles(QStringList& batch) { mRemover.RecycleFiles(batch); }
    // Creates the dated folder for the colliding files of the start folder
    // under target; its path ending in "/", or "" when it cannot be made.
    QString MakeDeleteFolder(const QString& start, const QString& target) {
        return mRemover.MakeDeleteFolder(start, target);
    }
    // Moves every target the run renamed back to its old name, from the
    // first to the last; the number restored in this call.
    qint32 RestoreAll() { return mRestorer.RestoreAll(mPlan, mRenamed); }
    // Makes the target list that a restore of a run's journal replays (see
    // TargetRestorer::LoadJournalList); each of its renames counts as done
    // until the restore finds out.
    void LoadJournalList(const QString& startFolder, const QString& itemWord, qint64 pid,
                         const std::vector<JournalRecord>& records);
    // The local time used in delete-folder names.
    void SetClock(std::function<QDateTime()> clock) { mRemover.SetClock(std::move(clock)); }

    // Whether the collision checks take what stands at a new name from the
    // folder's listing where it can tell (the default) or always ask the
    // file system name by name; both give the same list.
    void SetNamesFromListing(bool on) { mBuilder.SetNamesFromListing(on); }

    QString BasePath() const { return mPlan.basePath; }
    QString ItemWord() const { return mPlan.itemWord; }
    // The maximum the list was built under.
    qint32 MaxCount() const { return mPlan.maxCount; }
    // The paths relative to the start folder, and the two names in their
    // folder. A walk over many targets reads folders and identities from
    // Plan().targets, which finds a target's folder from the last one's.
    QString OldName(qint32 i) const { return mPlan.targets.OldPath(i); }
    QString NewName(qint32 i) const { return mPlan.targets.NewPath(i); }
    QStringView OldLeaf(qint32 i) const { return mPlan.targets.OldName(i); }
    QStringView NewLeaf(qint32 i) const { return mPlan.targets.NewName(i); }
    TargetStatus Status(qint32 i) const { return mPlan.targets.Status(i); }
    void SetVerdict(qint32 i, Verdict verdict) { mPlan.targets.Status(i).SetVerdict(verdict); }

private:
    void ResetCounts();

    const FileSystem& mFs;
    clsMatching& mMatching;
    clsFilter& mFilter;
    clsCancel& mProgress;
    RenameListBuilder mBuilder{mFs, mMatching, mFilter};
    CollisionRemover mRemover{mFs, mProgress};
    TargetRenamer mRenamer{mFs, mProgress};
    TargetRestorer mRestorer{mFs, mProgress};

    // The target list and how it was made.
    RenamePlan mPlan;
    qint32 mMaxCount = 0;  // of the lists to build
    qint32 mRenamed = 0;
};

}  // namespace sorvane
