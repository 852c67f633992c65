#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <unordered_map>
#include <vector>

#include "matching/clsMatching.h"
#include "platform/FileSystem.h"
#include "platform/Trash.h"
#include "ports/clsCancel.h"
#include "rename/ListProgress.h"
#include "rename/TargetStatus.h"
#include "rename/TargetStore.h"
#include "selection/clsFilter.h"

namespace sorvane {

class FolderNames;

// How colliding files are removed ("削除モード").
inline constexpr qint32 kDeleteToTrash = 0;
inline constexpr qint32 kDeleteForced = 1;
inline constexpr qint32 kDeleteToFolder = 2;

// The settings of one run that shape the target list.
struct RenameListSettings {
    bool folderMode = false;  // the run renames folders (gRunFolderMode)
    bool recursive = false;   // descend into subfolders (gRunRecursive)
    bool quickList = false;   // no collision checks (gRunQuickList)
    bool folderSort = false;  // sort the targets of each folder (gFolderSort)
    qint32 operation = 0;     // 0 replace, 1 insert at the front, 2 at the back (gOperation)
    QString insertWord;       // the word of the insert operations (gReplaceWord)
};

// One rename of a run's plan as its journal keeps it: the item, by its
// identity when it was listed, and its two paths relative to the start
// folder.
struct JournalRecord {
    FileIdentity identity;
    QString oldPath;
    QString newPath;
};

// The new name of one candidate: true when it is a target, with name replaced
// by its new name.
bool MakeNewName(clsMatching& matching, qint32 operation, const QString& insertWord, QString& name);

// The target list of the last rename run: old and new paths, relative to
// the start folder, with one status word each. It is the work list of the
// run and the record that a restore replays.
class mdlRename {
public:
    mdlRename(const FileSystem& fs, clsMatching& matching, clsFilter& filter, clsCancel& progress);
    mdlRename(const mdlRename&) = delete;
    mdlRename& operator=(const mdlRename&) = delete;

    // Called whenever the settings are applied: the list ends.
    // The caller also clears its recursion and quick-list run switches.
    void InitRename(qint32 maximum);

    // Builds the list for the start folder. True when every folder was
    // listed completely; false on a stop from the progress window, a folder
    // that could not be listed (count 0) or the maximum reached (count =
    // maximum). The filter's file/folder switches follow settings.folderMode
    // while the list is built.
    bool MakeRenameList(const QString& startFolder, const RenameListSettings& settings);

    bool MakeNewName(QString& name);

    qint32 GetTargetCount() const { return mTargets.Count(); }
    qint64 PathUnits() const { return mTargets.PathUnits(); }
    qint32 GetRenamedCount() const { return mRenamed; }
    qint32 GetRestoredCount() const { return mRestored; }
    qint32 GetDeletedCount() const { return mDeleted; }
    void ClearRenameList();

    // Removes the colliding files of the targets marked 3 when asked, then
    // renames every target marked 1 or 9, from the last to the first.
    // Returns the number renamed, or -1 when the removal did not complete
    // (then nothing is renamed).
    qint32 RenameAll(bool deleteRequested, qint32 delMode, const QString& delTarget);
    // Whether RenameAll(deleteRequested, ...) will try to rename target i:
    // it is marked so (its new name is still checked before the rename).
    bool WillRename(qint32 i, bool deleteRequested) const;
    bool DeleteCollisions(qint32 delMode, const QString& delTarget);
    // Sends the files of batch to the trash and empties it.
    void RecycleFiles(QStringList& batch);
    // Creates the dated folder for the colliding files of the start folder
    // under target; its path ending in "/", or "" when it cannot be made.
    QString MakeDeleteFolder(const QString& start, const QString& target);
    // Moves every target the run renamed back to its old name, from the
    // first to the last; the number restored in this call.
    qint32 RestoreAll();
    // Makes the target list that a restore of a run's journal replays: the
    // start folder, the item word, the process that ran (pid) and the
    // planned renames in the order they were to be done. Each counts as
    // renamed until the restore finds out; it then moves an item back only
    // when the item at the new path is the one that was listed (same device
    // and inode), and takes an item still at its old path for one the run
    // never reached. An item at neither may be at a temporary name of a
    // case-only rename that the run was stopped in; it comes back from
    // there. Where the listing gave no identity, the folder's names tell.
    void LoadJournalList(const QString& startFolder, const QString& itemWord, qint64 pid,
                         const std::vector<JournalRecord>& records);
    // The local time used in delete-folder names.
    void SetClock(std::function<QDateTime()> clock) { mClock = std::move(clock); }

    // Whether the collision checks take what stands at a new name from the
    // folder's listing where it can tell (the default) or always ask the
    // file system name by name; both give the same list.
    void SetNamesFromListing(bool on) { mNamesFromListing = on; }

    QString BasePath() const { return mBasePath; }
    QString ItemWord() const { return mItemWord; }
    qint32 MaxCount() const { return mMaxCount; }
    // The paths relative to the start folder, and their parts: the folder
    // ("" or ending in "/") and the two names in it.
    QString OldName(qint32 i) const { return mTargets.OldPath(i); }
    QString NewName(qint32 i) const { return mTargets.NewPath(i); }
    const QString& Folder(qint32 i) const { return mTargets.Folder(i); }
    // Two targets lie in the same folder exactly when these are equal.
    quint32 FolderIndex(qint32 i) const { return mTargets.FolderIndex(i); }
    QStringView OldLeaf(qint32 i) const { return mTargets.OldName(i); }
    QStringView NewLeaf(qint32 i) const { return mTargets.NewName(i); }
    TargetStatus Status(qint32 i) const { return mTargets.Status(i); }
    // The item's device and inode as the listing saw it.
    FileIdentity Identity(qint32 i) const { return mTargets.Identity(i); }
    void SetVerdict(qint32 i, Verdict verdict) { mTargets.Status(i).SetVerdict(verdict); }

private:
    bool ListFolder(const QString& folder);
    bool MatchFolderItems(const QString& folder);
    bool AddFolderItems(const QString& folder);
    bool AddFolderItemsQuick(const QString& folder);
    void SetAddingCaptions();
    bool ShowAdding(const QString& oldFull);
    qint32 CountToAdd(bool& fits) const;
    void SortFolderItems();
    void MarkDuplicates();
    void ReadNewNameAttributes(const QString& folder);
    Verdict FolderVerdict(qint32 i, const QString& folder);
    Verdict FileVerdict(qint32 i, const QString& folder);
    bool IsTargetItself(const QString& oldFull, const QString& newFull) const;
    bool IsTargetItself(const QString& folder, qint32 i) const;
    void Grow();
    void ReleaseFolderArrays();
    bool Poll();
    bool ShowDeleteProgress(qint32 c);
    bool MoveAside(const QString& from, const QString& to);
    QString JournalTargetSource(qint32 i, FolderNames& names);

    const FileSystem& mFs;
    Trash mTrash{mFs};
    clsMatching& mMatching;
    clsFilter& mFilter;
    clsCancel& mProgress;
    RenameListSettings mSettings;

    QString mBasePath;
    TargetStore mTargets;
    qint32 mCapacity = 0;
    qint32 mMaxCount = 0;
    qint32 mRenamed = 0;
    qint32 mRestored = 0;
    qint32 mDeleted = 0;
    QString mItemWord;
    QString mPollTitle;                // of the stop question while the list is built
    ListProgress* mListing = nullptr;  // while the list is built

    // The folder being listed: matched names, their new names, and what the
    // collision checks need of them, in listing order; mFolderOrder is the
    // order in which they join the list.
    std::vector<quint32> mFolderOrder;
    // The sort's folded keys and entries, kept from folder to folder.
    struct SortEntry {
        const unsigned char* key;
        quint32 length;  // in bytes; a name is far shorter than 2 GiB
        quint32 index;
    };
    std::vector<unsigned char> mSortKeys;
    std::vector<SortEntry> mSortEntries;
    std::vector<QString> mFolderOld;
    std::vector<ino_t> mFolderInode;
    std::vector<QString> mFolderNew;
    std::vector<bool> mFolderDuplicate;
    // What is at each new name: -1 nothing, else attribute bits of which
    // only the folder bit is read.
    std::vector<int> mFolderAttr;
    bool mNamesFromListing = true;
    // Old names of the folder's targets, exact and with A-Z folded, to tell
    // whether an existing file at a new name is another target. Built on
    // the first collision of a folder only.
    std::unordered_map<QString, qint32> mOldExact;
    std::unordered_map<QString, qint32> mOldFolded;
    bool mOldMapsBuilt = false;
    qint32 mFolderCount = 0;
    qint64 mNameMax = -1;  // the longest name the folder's file system holds
    // The list came from a journal: the restore checks each item's identity.
    bool mFromJournal = false;
    qint64 mJournalPid = 0;  // the process that ran the journal's renames
    qint32 mNextShow = 0;
    std::function<QDateTime()> mClock = [] { return QDateTime::currentDateTime(); };
};

}  // namespace sorvane
