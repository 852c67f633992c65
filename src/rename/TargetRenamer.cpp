#include "rename/TargetRenamer.h"

#include <limits>

#include "rename/RenameHelpers.h"

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

TargetRenamer::TargetRenamer(const FileSystem& fs, clsCancel& progress)
    : mFs(fs), mProgress(progress) {}

bool TargetRenamer::WillRename(TargetStatus status, bool deleteRequested) {
    return IsMarkedToRename(status, deleteRequested);
}

void TargetRenamer::RenameAll(RenamePlan& plan, qint32& renamed) {
    TargetStore& targets = plan.targets;
    const qint32 last = targets.Count() - 1;
    FolderHandle handle;
    QString folder;
    quint32 folderIndex = std::numeric_limits<quint32>::max();
    qint32 nextShow = last;
    for (qint32 c = last; c >= 0; --c) {
        if (c <= nextShow) {
            nextShow -= kRenameShowStep;
            if (mProgress.WantsTexts()) {
                mProgress.SetCaption(QStringLiteral("変換作業中 ") + Num(last - c) +
                                     QStringLiteral(" リネーム中"));
                mProgress.SetTitle(plan.itemWord + QStringLiteral("名変換中 / ") + Num(renamed));
                mProgress.SetText(plan.basePath + targets.OldPath(c));
            }
            if (mProgress.DoCancel(plan.itemWord + QStringLiteral("名の置換 / 済 ") +
                                   Num(renamed))) {
                targets.Status(c).SetRenameOutcome(RenameOutcome::StoppedRenaming);
                break;
            }
        }
        TargetStatus& status = targets.Status(c);
        if (!IsMarkedToRename(status, false)) {
            status.SetRenameOutcome(RenameOutcome::Skipped);
            continue;
        }
        // A new name that is not one item of the target's own folder is
        // never handed to the system, whatever the list says.
        const QStringView newName = targets.NewName(c);
        if (!IsUsableName(newName)) {
            status = TargetStatus(Verdict::EmptyName, RenameOutcome::Skipped);
            continue;
        }
        // The targets of one folder follow each other: its path is built once.
        if (const quint32 index = targets.FolderIndex(c, folderIndex); index != folderIndex) {
            folderIndex = index;
            folder = plan.basePath + targets.FolderPath(index);
        }
        const MoveResult result = mFs.MoveItemIn(handle, folder, targets.OldName(c), newName);
        if (result == MoveStatus::Ok) {
            ++renamed;
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
}

}  // namespace sorvane
