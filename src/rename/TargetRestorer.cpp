#include "rename/TargetRestorer.h"

#include <unordered_set>

#include "rename/FolderNames.h"
#include "rename/RenameHelpers.h"

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

TargetRestorer::TargetRestorer(const FileSystem& fs, clsCancel& progress)
    : mFs(fs), mProgress(progress) {}

void TargetRestorer::LoadJournalList(RenamePlan& plan, const QString& startFolder,
                                     const QString& itemWord, qint64 pid,
                                     const std::vector<JournalRecord>& records) {
    TargetStore& targets = plan.targets;
    targets.Clear();
    plan.settings = RenameListSettings{};
    plan.settings.folderMode = itemWord == QStringLiteral("フォルダ");
    plan.itemWord = itemWord;
    plan.basePath = startFolder.endsWith(u'/') ? startFolder : startFolder + u'/';
    plan.complete = false;  // not a listing
    mRestored = 0;
    mJournalPid = pid;
    targets.Reserve(records.size());
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
            targets.BeginFolder(folder, device);
            begun = true;
        }
        const qsizetype newSlash = it->newPath.lastIndexOf(u'/');
        targets.Add(QStringView(it->oldPath).sliced(slash + 1),
                    QStringView(it->newPath).sliced(newSlash + 1),
                    TargetStatus(Verdict::Rename, RenameOutcome::Renamed),
                    it->identity.valid ? it->identity.inode : 0);
    }
    mFromJournal = true;
}

// Where the journal's target i is now, relative to the start folder: at its
// new path, or at a temporary name of a case-only rename that the run was
// stopped in; "" when at neither. An item still at its old path was never
// reached and no longer counts as renamed; one found nowhere has been moved
// away or removed.
QString TargetRestorer::JournalTargetSource(RenamePlan& plan, qint32 i, FolderNames& names,
                                            qint32& renamed) {
    TargetStore& targets = plan.targets;
    TargetStatus& status = targets.Status(i);
    const FileIdentity identity = targets.Identity(i);
    const QString folder = plan.basePath + targets.Folder(i);
    const auto holds = [&](QStringView name) {
        if (!identity.valid) return names.Lists(folder, name);
        QString path = folder;
        path += name;
        return mFs.Identity(path) == identity;
    };
    if (holds(targets.NewName(i))) return targets.NewPath(i);
    if (holds(targets.OldName(i))) {
        status.SetRenameOutcome(RenameOutcome::None);
        --renamed;
        return QString();
    }
    const QString temporary = FileSystem::TemporaryName(targets.OldName(i), mJournalPid);
    if (holds(temporary)) return targets.Folder(i) + temporary;
    status.SetRestoreOutcome(RestoreOutcome::Gone);
    return QString();
}

qint32 TargetRestorer::RestoreAll(RenamePlan& plan, qint32& renamed) {
    TargetStore& targets = plan.targets;
    const qint32 before = mRestored;
    // Targets of this call still at their new names, each with its final
    // "/": the folders among them hide what they held.
    std::unordered_set<QString> unrestored;
    FolderNames names(mFs);
    FolderHandle handle;
    mProgress.IsCancel = false;
    qint32 nextShow = 0;
    for (qint32 i = 0; i < targets.Count(); ++i) {
        TargetStatus& status = targets.Status(i);
        status.SetRestoreOutcome(RestoreOutcome::None);
        if (i >= nextShow) {
            nextShow += kRestoreShowStep;
            if (mProgress.WantsTexts()) {
                mProgress.SetCaption(QStringLiteral("復元作業中 ") + Num(i) +
                                     QStringLiteral(" リネーム中"));
                mProgress.SetTitle(plan.itemWord + QStringLiteral("名復元中 / ") + Num(mRestored));
                mProgress.SetText(plan.basePath + targets.OldPath(i));
            }
            if (mProgress.DoCancel(plan.itemWord + QStringLiteral("名の復元 / 済 ") +
                                   Num(mRestored))) {
                status.SetRestoreOutcome(RestoreOutcome::Stopped);
                break;
            }
        }
        if (status.renameOutcome() != RenameOutcome::Renamed) continue;
        const QString oldPath = targets.OldPath(i);
        // Inside a renamed folder that is still at its new name, the old
        // path leads into whatever holds the folder's old name now (another
        // folder of the user's): nothing there is touched.
        if (!unrestored.empty() && InUnrestoredFolder(unrestored, oldPath)) {
            status.SetRestoreOutcome(RestoreOutcome::Failed);
        } else {
            const QString from =
                mFromJournal ? JournalTargetSource(plan, i, names, renamed) : targets.NewPath(i);
            if (from.isEmpty()) {
                if (status.restoreOutcome() != RestoreOutcome::Gone) continue;
            } else {
                // The item is in its own folder, at its new or a temporary
                // name: the way of a run's renames takes it back.
                const QString& folder = targets.Folder(i);
                const MoveResult result =
                    mFs.MoveItemIn(handle, plan.basePath + folder,
                                   QStringView(from).sliced(folder.size()), targets.OldName(i));
                if (result == MoveStatus::Ok) {
                    // A restored target is no longer renamed: a later
                    // restore leaves it alone.
                    status.SetRenameOutcome(RenameOutcome::None);
                    status.SetRestoreOutcome(RestoreOutcome::Restored);
                    ++mRestored;
                    // Only a restore that finds its items by name keeps the names.
                    if (mFromJournal && !targets.Identity(i).valid)
                        names.Moved(plan.basePath + targets.Folder(i),
                                    FileSystem::GetFileName(from), targets.OldName(i));
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
        // Any kind: a list may hold files and folders together (a repair,
        // or its journal), and no target lies inside a file.
        unrestored.insert(oldPath + u'/');
    }
    return mRestored - before;
}

}  // namespace sorvane
