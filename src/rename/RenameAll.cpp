// The renames of a run, from the last target to the first.

#include "rename/RenameHelpers.h"
#include "rename/mdlRename.h"

namespace sorvane {

using namespace rename_helpers;

namespace {

constexpr qint32 kRenameShowStep = 100;

// Marked 1 or 9; before the colliding files are removed, 3 joins them when
// the removal is asked for.
bool IsMarkedToRename(TargetStatus status, bool beforeRemoval) {
    return status == TargetStatus(Verdict::Rename) ||
           status == TargetStatus(Verdict::DeletedRename) ||
           (beforeRemoval && status == TargetStatus(Verdict::FileExistsDelete));
}

}  // namespace

bool mdlRename::WillRename(qint32 i, bool deleteRequested) const {
    return IsMarkedToRename(Status(i), deleteRequested);
}

qint32 mdlRename::RenameAll(bool deleteRequested, qint32 delMode, const QString& delTarget) {
    if (deleteRequested && !DeleteCollisions(delMode, delTarget)) return -1;
    const qint32 last = mPlan.targets.Count() - 1;
    FolderHandle handle;
    QString folder;
    qint64 folderIndex = -1;
    mNextShow = last;
    for (qint32 c = last; c >= 0; --c) {
        if (c <= mNextShow) {
            mNextShow -= kRenameShowStep;
            if (mProgress.WantsTexts()) {
                mProgress.SetCaption(QStringLiteral("変換作業中 ") + Num(last - c) +
                                     QStringLiteral(" リネーム中"));
                mProgress.SetTitle(mPlan.itemWord + QStringLiteral("名変換中 / ") + Num(mRenamed));
                mProgress.SetText(mPlan.basePath + OldName(c));
            }
            if (mProgress.DoCancel(mPlan.itemWord + QStringLiteral("名の置換 / 済 ") +
                                   Num(mRenamed))) {
                mPlan.targets.Status(c).SetRenameOutcome(RenameOutcome::StoppedRenaming);
                break;
            }
        }
        TargetStatus& status = mPlan.targets.Status(c);
        if (!IsMarkedToRename(status, false)) {
            status.SetRenameOutcome(RenameOutcome::Skipped);
            continue;
        }
        // A new name that is not one item of the target's own folder is
        // never handed to the system, whatever the list says.
        const QStringView newName = NewLeaf(c);
        if (!IsUsableName(newName)) {
            status = TargetStatus(Verdict::EmptyName, RenameOutcome::Skipped);
            continue;
        }
        // The targets of one folder follow each other: its path is built once.
        if (mPlan.targets.FolderIndex(c) != folderIndex) {
            folderIndex = mPlan.targets.FolderIndex(c);
            folder = mPlan.basePath + Folder(c);
        }
        const MoveResult result = mFs.MoveItemIn(handle, folder, OldLeaf(c), newName);
        if (result == MoveStatus::Ok) {
            ++mRenamed;
            status.SetRenameOutcome(RenameOutcome::Renamed);
        } else if (result == MoveStatus::Exists) {
            QString newFull = folder;
            newFull += newName;
            status = TargetStatus(
                mFs.FolderExists(newFull) ? Verdict::FolderExists : Verdict::FileExists,
                RenameOutcome::Skipped);
        } else {
            status.SetRenameOutcome(RenameOutcome::Failed);
        }
    }
    return mRenamed;
}

}  // namespace sorvane
