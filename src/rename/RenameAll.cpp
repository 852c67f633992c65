// The renames of a run, from the last target to the first.

#include "rename/RenameHelpers.h"
#include "rename/mdlRename.h"

namespace sorvane {

using namespace rename_helpers;

namespace {

constexpr qint32 kRenameShowStep = 100;

}  // namespace

qint32 mdlRename::RenameAll(bool deleteRequested, qint32 delMode, const QString& delTarget) {
    if (deleteRequested && !DeleteCollisions(delMode, delTarget)) return -1;
    const qint32 last = mCount - 1;
    FolderHandle handle;
    QString folder = mBasePath;
    mNextShow = last;
    for (qint32 c = last; c >= 0; --c) {
        const size_t k = size_t(c);
        if (c <= mNextShow) {
            mNextShow -= kRenameShowStep;
            mProgress.SetCaption(QStringLiteral("変換作業中 ") + Num(last - c) +
                                 QStringLiteral(" リネーム中"));
            mProgress.SetTitle(mItemWord + QStringLiteral("名変換中 / ") + Num(mRenamed));
            mProgress.SetText(mBasePath + mOldNames[k]);
            if (mProgress.DoCancel(mItemWord + QStringLiteral("名の置換 / 済 ") + Num(mRenamed))) {
                mStatus[k].SetRenameOutcome(RenameOutcome::StoppedRenaming);
                break;
            }
        }
        const TargetStatus s = mStatus[k];
        if (s != TargetStatus(Verdict::Rename) && s != TargetStatus(Verdict::DeletedRename)) {
            mStatus[k].SetRenameOutcome(RenameOutcome::Skipped);
            continue;
        }
        // A new path that is not one item of the target's own folder is
        // never handed to the system, whatever the list says.
        const QString& oldPath = mOldNames[k];
        const QString& newPath = mNewNames[k];
        const qsizetype cut = oldPath.lastIndexOf(u'/') + 1;
        const QStringView rel = QStringView(oldPath).left(cut);
        if (!QStringView(newPath).startsWith(rel) || !IsUsableName(QStringView(newPath).mid(cut))) {
            mStatus[k] = TargetStatus(Verdict::EmptyName, RenameOutcome::Skipped);
            continue;
        }
        // The targets of one folder follow each other: its path is built once.
        if (folder.size() != mBasePath.size() + cut || !QStringView(folder).endsWith(rel)) {
            folder.truncate(mBasePath.size());
            folder += rel;
        }
        const MoveResult result = mFs.MoveItemIn(handle, folder, QStringView(oldPath).mid(cut),
                                                 QStringView(newPath).mid(cut));
        if (result == MoveStatus::Ok) {
            ++mRenamed;
            mStatus[k].SetRenameOutcome(RenameOutcome::Renamed);
        } else if (result == MoveStatus::Exists) {
            const QString newFull = mBasePath + newPath;
            mStatus[k] = TargetStatus(
                mFs.FolderExists(newFull) ? Verdict::FolderExists : Verdict::FileExists,
                RenameOutcome::Skipped);
        } else {
            mStatus[k].SetRenameOutcome(RenameOutcome::Failed);
        }
    }
    return mRenamed;
}

}  // namespace sorvane
