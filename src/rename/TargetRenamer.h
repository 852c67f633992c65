#pragma once

#include "platform/FileSystem.h"
#include "ports/clsCancel.h"
#include "rename/RenamePlan.h"
#include "rename/TargetStatus.h"

namespace sorvane {

// The renames of a run: each target of a plan that is marked so gets its
// new name, from the last target to the first, so that the contents of a
// folder are renamed before the folder.
class TargetRenamer {
public:
    TargetRenamer(const FileSystem& fs, clsCancel& progress);
    TargetRenamer(const TargetRenamer&) = delete;
    TargetRenamer& operator=(const TargetRenamer&) = delete;

    // Whether RenameAll will try to rename a target of this status: marked 1
    // or 9, and before the colliding files are removed 3 too when the
    // removal is asked for (its new name is still checked before the rename).
    static bool WillRename(TargetStatus status, bool deleteRequested);
    // Renames every target of plan marked 1 or 9; renamed, the run's count
    // of renames, goes up by each. Ends early when the user stops it.
    void RenameAll(RenamePlan& plan, qint32& renamed);

private:
    const FileSystem& mFs;
    clsCancel& mProgress;
};

}  // namespace sorvane
