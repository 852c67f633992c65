#include "rename/mdlRename.h"

#include "rename/CancelListProgress.h"

// The target list's parts, one job each: RenameListBuilder (building the
// list with its verdicts), CollisionRemover (the removal of colliding
// files), TargetRenamer (the renames), TargetRestorer (the way back).
// Here: the list's life between runs.

namespace sorvane {

mdlRename::mdlRename(const FileSystem& fs, clsMatching& matching, clsFilter& filter,
                     clsCancel& progress)
    : mFs(fs), mMatching(matching), mFilter(filter), mProgress(progress) {}

void mdlRename::InitRename(qint32 maximum) {
    mMaxCount = maximum;
    mPlan.maxCount = maximum;
    mPlan.targets.Clear();
    mRestorer.ForgetJournal();
}

void mdlRename::ClearRenameList() {
    mPlan.targets.Clear();
    mRestorer.ForgetJournal();
}

bool mdlRename::MakeRenameList(const QString& startFolder, const RenameListSettings& settings) {
    // The last list goes before the next is built: the two are never held
    // at once.
    mPlan.targets.Clear();
    ResetCounts();
    CancelListProgress progress(mProgress);
    mPlan = mBuilder.Build(startFolder, settings, mMaxCount, progress);
    return mPlan.complete;
}

void mdlRename::TakePlan(RenamePlan&& plan) {
    mPlan = std::move(plan);
    ResetCounts();
    mRestorer.ForgetJournal();
}

void mdlRename::ResetCounts() {
    mRenamed = 0;
    mRestorer.ResetCount();
    mRemover.ResetCount();
}

qint32 mdlRename::RenameAll(bool deleteRequested, DeleteMode delMode, const QString& delTarget) {
    if (deleteRequested && !DeleteCollisions(delMode, delTarget)) return -1;
    mRenamer.RenameAll(mPlan, mRenamed);
    return mRenamed;
}

void mdlRename::LoadJournalList(const QString& startFolder, const QString& itemWord, qint64 pid,
                                const std::vector<JournalRecord>& records) {
    mRestorer.LoadJournalList(mPlan, startFolder, itemWord, pid, records);
    mPlan.maxCount = mMaxCount;
    // Each rename of the journal counts as done until the restore finds out.
    mRenamed = mPlan.targets.Count();
    mRemover.ResetCount();
}

bool mdlRename::MakeNewName(QString& name) {
    return sorvane::MakeNewName(mMatching, mPlan.settings.operation, mPlan.settings.insertWord,
                                name);
}

}  // namespace sorvane
