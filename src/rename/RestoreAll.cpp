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

// The names one folder lists, read once and kept up to date with the
// restore's own moves: where a journal gives no identities, they tell where
// an item is (on a volume that ignores case, a path leads to an item under
// any spelling; the listing has the spelling itself).
class FolderNames {
public:
    explicit FolderNames(const FileSystem& fs) : mFs(fs) {}

    bool Lists(const QString& folder, QStringView name) {
        if (folder != mFolder) {
            mFolder = folder;
            mNames.clear();
            for (QString& n : mFs.EntryNames(folder)) mNames.insert(std::move(n));
        }
        return mNames.contains(name.toString());
    }
    void Moved(const QString& folder, QStringView from, QStringView to) {
        if (folder != mFolder) return;
        mNames.erase(from.toString());
        mNames.insert(to.toString());
    }

private:
    const FileSystem& mFs;
    QString mFolder;
    std::unordered_set<QString> mNames;
};

void mdlRename::LoadJournalList(const QString& startFolder, const QString& itemWord, qint64 pid,
                                const std::vector<JournalRecord>& records) {
    mPlan.targets.Clear();
    mPlan.settings = RenameListSettings{};
    mPlan.settings.folderMode = itemWord == QStringLiteral("フォルダ");
    mPlan.itemWord = itemWord;
    mPlan.basePath = startFolder.endsWith(u'/') ? startFolder : startFolder + u'/';
    mPlan.maxCount = mMaxCount;
    mPlan.complete = false;  // not a listing
    mRenamed = mRestored = 0;
    mRemover.ResetCount();
    mJournalPid = pid;
    mPlan.targets.Reserve(records.size());
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
            mPlan.targets.BeginFolder(folder, device);
            begun = true;
        }
        const qsizetype newSlash = it->newPath.lastIndexOf(u'/');
        mPlan.targets.Add(QStringView(it->oldPath).sliced(slash + 1),
                          QStringView(it->newPath).sliced(newSlash + 1),
                          TargetStatus(Verdict::Rename, RenameOutcome::Renamed),
                          it->identity.valid ? it->identity.inode : 0);
        ++mRenamed;
    }
    mFromJournal = true;
}

// Where the journal's target i is now, relative to the start folder: at its
// new path, or at a temporary name of a case-only rename that the run was
// stopped in; "" when at neither. An item still at its old path was never
// reached and no longer counts as renamed; one found nowhere has been moved
// away or removed.
QString mdlRename::JournalTargetSource(qint32 i, FolderNames& names) {
    TargetStatus& status = mPlan.targets.Status(i);
    const FileIdentity identity = Identity(i);
    const QString folder = mPlan.basePath + Folder(i);
    const auto holds = [&](QStringView name) {
        if (!identity.valid) return names.Lists(folder, name);
        QString path = folder;
        path += name;
        return mFs.Identity(path) == identity;
    };
    if (holds(NewLeaf(i))) return NewName(i);
    if (holds(OldLeaf(i))) {
        status.SetRenameOutcome(RenameOutcome::None);
        --mRenamed;
        return QString();
    }
    const QString temporary = FileSystem::TemporaryName(OldLeaf(i), mJournalPid);
    if (holds(temporary)) return Folder(i) + temporary;
    status.SetRestoreOutcome(RestoreOutcome::Gone);
    return QString();
}

qint32 mdlRename::RestoreAll() {
    const qint32 before = mRestored;
    // Folder targets of this call still at their new names.
    std::unordered_set<QString> unrestored;
    FolderNames names(mFs);
    mProgress.IsCancel = false;
    mNextShow = 0;
    for (qint32 i = 0; i < mPlan.targets.Count(); ++i) {
        TargetStatus& status = mPlan.targets.Status(i);
        status.SetRestoreOutcome(RestoreOutcome::None);
        if (i >= mNextShow) {
            mNextShow += kRestoreShowStep;
            if (mProgress.WantsTexts()) {
                mProgress.SetCaption(QStringLiteral("復元作業中 ") + Num(i) +
                                     QStringLiteral(" リネーム中"));
                mProgress.SetTitle(mPlan.itemWord + QStringLiteral("名復元中 / ") + Num(mRestored));
                mProgress.SetText(mPlan.basePath + OldName(i));
            }
            if (mProgress.DoCancel(mPlan.itemWord + QStringLiteral("名の復元 / 済 ") +
                                   Num(mRestored))) {
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
        } else {
            const QString from = mFromJournal ? JournalTargetSource(i, names) : NewName(i);
            if (from.isEmpty()) {
                if (status.restoreOutcome() != RestoreOutcome::Gone) continue;
            } else {
                const MoveResult result =
                    mFs.MoveItem(mPlan.basePath + from, mPlan.basePath + oldPath);
                if (result == MoveStatus::Ok) {
                    // A restored target is no longer renamed: a later
                    // restore leaves it alone.
                    status.SetRenameOutcome(RenameOutcome::None);
                    status.SetRestoreOutcome(RestoreOutcome::Restored);
                    ++mRestored;
                    // Only a restore that finds its items by name keeps the names.
                    if (mFromJournal && !Identity(i).valid)
                        names.Moved(mPlan.basePath + Folder(i), FileSystem::GetFileName(from),
                                    OldLeaf(i));
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
        }
        if (mPlan.settings.folderMode) unrestored.insert(oldPath + u'/');
    }
    return mRestored - before;
}

}  // namespace sorvane
