// The way back: every target the run renamed gets its old name again.

#include <unordered_set>

#include "rename/RenameHelpers.h"
#include "rename/mdlRename.h"

namespace sorvane {

using namespace rename_helpers;

namespace {

constexpr qint32 kRestoreShowStep = 100;

// Whether one of the folders that enclose path (relative, without a final
// "/") is among the folders given, each with its final "/".
bool InUnrestoredFolder(const std::unordered_set<QString>& folders, const QString& path) {
    for (qsizetype slash = path.indexOf(u'/'); slash >= 0; slash = path.indexOf(u'/', slash + 1))
        if (folders.contains(path.left(slash + 1))) return true;
    return false;
}

}  // namespace

qint32 mdlRename::RestoreAll() {
    const qint32 before = mRestored;
    // Folder targets of this call still at their new names.
    std::unordered_set<QString> unrestored;
    mProgress.IsCancel = false;
    mNextShow = 0;
    for (qint32 i = 0; i < mCount; ++i) {
        const size_t k = size_t(i);
        mStatus[k] &= ~0xF00;
        if (i >= mNextShow) {
            mNextShow += kRestoreShowStep;
            mProgress.SetCaption(QStringLiteral("復元作業中 ") + Num(i) +
                                 QStringLiteral(" リネーム中"));
            mProgress.SetTitle(mItemWord + QStringLiteral("名復元中 / ") + Num(mRestored));
            mProgress.SetText(mBasePath + mOldNames[k]);
            if (mProgress.DoCancel(mItemWord + QStringLiteral("名の復元 / 済 ") + Num(mRestored))) {
                mStatus[k] += kOutcomeStoppedRestoring;
                break;
            }
        }
        if ((mStatus[k] & 0xF0) != kOutcomeRenamed) continue;
        // Inside a renamed folder that is still at its new name, the old
        // path leads into whatever holds the folder's old name now (another
        // folder of the user's): nothing there is touched.
        if (!unrestored.empty() && InUnrestoredFolder(unrestored, mOldNames[k])) {
            mStatus[k] += kOutcomeRestoreFailed;
        } else {
            const int result = mFs.MoveItem(mBasePath + mNewNames[k], mBasePath + mOldNames[k]);
            if (result == kRenameOk) {
                mStatus[k] += kOutcomeRestored - kOutcomeRenamed;
                ++mRestored;
                continue;
            }
            if (result == kRenameNotFound) {
                mStatus[k] += kOutcomeGone;
            } else if (result == kRenameExists) {
                mStatus[k] += kOutcomeOldNameTaken;
            } else {
                mStatus[k] += kOutcomeRestoreFailed;
            }
        }
        if (mSettings.folderMode) unrestored.insert(mOldNames[k] + u'/');
    }
    return mRestored - before;
}

}  // namespace sorvane
