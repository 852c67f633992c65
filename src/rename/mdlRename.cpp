#include "rename/mdlRename.h"

// The target list's sources, one job each: RenameList (building the list),
// TargetVerdicts (what each target meets at its new name), RenameAll and
// CollisionRemoval (the renames and the removal of colliding files),
// RestoreAll (the way back). Here: the list's life between runs.

namespace sorvane {

mdlRename::mdlRename(const FileSystem& fs, clsMatching& matching, clsFilter& filter,
                     clsCancel& progress)
    : mFs(fs), mMatching(matching), mFilter(filter), mProgress(progress) {}

void mdlRename::InitRename(qint32 maximum) {
    mMaxCount = maximum;
    mTargets.Clear();
    mFromJournal = false;
}

void mdlRename::ClearRenameList() {
    mTargets.Clear();
    mFromJournal = false;
}

}  // namespace sorvane
