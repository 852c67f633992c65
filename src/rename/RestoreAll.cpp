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

void mdlRename::LoadJournalList(const QString& startFolder, const QString& itemWord,
                                const std::vector<JournalRecord>& records) {
    mTargets.Clear();
    mSettings = RenameListSettings{};
    mSettings.folderMode = itemWord == QStringLiteral("フォルダ");
    mItemWord = itemWord;
    mBasePath = startFolder.endsWith(u'/') ? startFolder : startFolder + u'/';
    mRenamed = mRestored = mDeleted = 0;
    mTargets.Reserve(records.size());
    // The list's order is the reverse of the rename order, as a run's own
    // list is: the restore walks it from the first to the last.
    QString folder;
    dev_t device = 0;
    bool begun = false;
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
        const qsizetype slash = it->oldPath.lastIndexOf(u'/');
        const QStringView itemFolder = QStringView(it->oldPath).left(slash + 1);
        if (!begun || itemFolder != folder || it->identity.device != device) {
            folder = itemFolder.toString();
            device = it->identity.device;
            mTargets.BeginFolder(folder, device);
            begun = true;
        }
        const qsizetype newSlash = it->newPath.lastIndexOf(u'/');
        mTargets.Add(QStringView(it->oldPath).sliced(slash + 1),
                     QStringView(it->newPath).sliced(newSlash + 1),
                     TargetStatus(Verdict::Rename, RenameOutcome::Renamed), it->identity.inode);
        ++mRenamed;
    }
    mFromJournal = true;
}

// Whether the journal's target i is the item at its new path. If not, the
// run never reached it when it is still at its old path (it then no longer
// counts as renamed), and otherwise it has been moved away or removed.
bool mdlRename::CheckJournalTarget(qint32 i, const QString& oldPath) {
    TargetStatus& status = mTargets.Status(i);
    const FileIdentity identity = Identity(i);
    if (mFs.Identity(mBasePath + NewName(i)) == identity) return true;
    if (mFs.Identity(mBasePath + oldPath) == identity) {
        status.SetRenameOutcome(RenameOutcome::None);
        --mRenamed;
    } else {
        status.SetRestoreOutcome(RestoreOutcome::Gone);
    }
    return false;
}

qint32 mdlRename::RestoreAll() {
    const qint32 before = mRestored;
    // Folder targets of this call still at their new names.
    std::unordered_set<QString> unrestored;
    mProgress.IsCancel = false;
    mNextShow = 0;
    for (qint32 i = 0; i < mTargets.Count(); ++i) {
        TargetStatus& status = mTargets.Status(i);
        status.SetRestoreOutcome(RestoreOutcome::None);
        if (i >= mNextShow) {
            mNextShow += kRestoreShowStep;
            if (mProgress.WantsTexts()) {
                mProgress.SetCaption(QStringLiteral("復元作業中 ") + Num(i) +
                                     QStringLiteral(" リネーム中"));
                mProgress.SetTitle(mItemWord + QStringLiteral("名復元中 / ") + Num(mRestored));
                mProgress.SetText(mBasePath + OldName(i));
            }
            if (mProgress.DoCancel(mItemWord + QStringLiteral("名の復元 / 済 ") + Num(mRestored))) {
                status.SetRestoreOutcome(RestoreOutcome::Stopped);
                break;
            }
        }
        if (status.renameOutcome() != RenameOutcome::Renamed) continue;
        const QString oldPath = OldName(i);
        // Inside a renamed folder that is still at its new name, the old
        // path leads into whatever holds the folder's old name now (another
        // folder of the user's): nothing there is touched.
        if (!unrestored.empty() && InUnrestoredFolder(unrestored, oldPath)) {
            status.SetRestoreOutcome(RestoreOutcome::Failed);
        } else if (mFromJournal && !CheckJournalTarget(i, oldPath)) {
            if (status.restoreOutcome() != RestoreOutcome::Gone) continue;
        } else {
            const MoveResult result = mFs.MoveItem(mBasePath + NewName(i), mBasePath + oldPath);
            if (result == MoveStatus::Ok) {
                // A restored target is no longer renamed: a later restore
                // leaves it alone.
                status.SetRenameOutcome(RenameOutcome::None);
                status.SetRestoreOutcome(RestoreOutcome::Restored);
                ++mRestored;
                continue;
            }
            if (result == MoveStatus::NotFound) {
                status.SetRestoreOutcome(RestoreOutcome::Gone);
            } else if (result == MoveStatus::Exists) {
                status.SetRestoreOutcome(RestoreOutcome::OldNameTaken);
            } else {
                status.SetRestoreOutcome(RestoreOutcome::Failed);
            }
        }
        if (mSettings.folderMode) unrestored.insert(oldPath + u'/');
    }
    return mRestored - before;
}

}  // namespace sorvane
