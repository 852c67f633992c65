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
                mStatus[k] += kOutcomeStoppedRenaming;
                break;
            }
        }
        const qint32 s = mStatus[k];
        if (s != kVerdictRename && s != kVerdictDeletedRename) {
            mStatus[k] += kOutcomeSkipped;
            continue;
        }
        // A new path that is not one item of the target's own folder is
        // never handed to the system, whatever the list says.
        const QString& oldPath = mOldNames[k];
        const QString& newPath = mNewNames[k];
        const qsizetype cut = oldPath.lastIndexOf(u'/') + 1;
        const QStringView rel = QStringView(oldPath).left(cut);
        if (!QStringView(newPath).startsWith(rel) || !IsUsableName(QStringView(newPath).mid(cut))) {
            mStatus[k] = kVerdictEmptyName + kOutcomeSkipped;
            continue;
        }
        // The targets of one folder follow each other: its path is built once.
        if (folder.size() != mBasePath.size() + cut || !QStringView(folder).endsWith(rel)) {
            folder.truncate(mBasePath.size());
            folder += rel;
        }
        const int result = mFs.MoveItemIn(handle, folder, QStringView(oldPath).mid(cut),
                                          QStringView(newPath).mid(cut));
        if (result == kRenameOk) {
            ++mRenamed;
            mStatus[k] += kOutcomeRenamed;
        } else if (result == kRenameExists) {
            const QString newFull = mBasePath + newPath;
            mStatus[k] = (mFs.FolderExists(newFull) ? kVerdictFolderExists : kVerdictFileExists) +
                         kOutcomeSkipped;
        } else {
            mStatus[k] += kOutcomeFailed;
        }
    }
    return mRenamed;
}

}  // namespace sorvane
