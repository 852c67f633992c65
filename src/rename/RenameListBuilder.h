#pragma once

#include <QString>
#include <unordered_map>
#include <vector>

#include "matching/clsMatching.h"
#include "platform/FileSystem.h"
#include "platform/PackedNames.h"
#include "rename/ListProgress.h"
#include "rename/RenameListSettings.h"
#include "rename/RenamePlan.h"
#include "rename/TargetStatus.h"
#include "selection/clsFilter.h"

namespace sorvane {

// The new name of one candidate: true when it is a target, with name replaced
// by its new name.
bool MakeNewName(clsMatching& matching, RenameOperation operation, const QString& insertWord,
                 QString& name);
// The same, with the new name appended to text; text is left as it was when
// name is no target. name must not lie in text.
bool AppendNewName(clsMatching& matching, RenameOperation operation, const QString& insertWord,
                   QStringView name, QString& text);

// Builds target lists: folder by folder, the candidates of the filter that
// the matching gives a new name, sorted when asked, each with the verdict of
// what stands at its new name. It uses its file system, matching and filter
// alone, so a builder over instances of its own can build a plan on another
// thread than the run's.
class RenameListBuilder {
public:
    RenameListBuilder(const FileSystem& fs, clsMatching& matching, clsFilter& filter);
    RenameListBuilder(const RenameListBuilder&) = delete;
    RenameListBuilder& operator=(const RenameListBuilder&) = delete;

    // The plan for the start folder, of at most maximum targets. Complete
    // when every folder was listed completely; not on a stop from progress,
    // a folder that could not be listed (the plan then has no target) or the
    // maximum reached (it has maximum targets). The filter's file/folder
    // switches follow settings.folderMode while the list is built.
    RenamePlan Build(const QString& startFolder, const RenameListSettings& settings, qint32 maximum,
                     ListProgress& progress);

    // Whether the collision checks take what stands at a new name from the
    // folder's listing where it can tell (the default) or always ask the
    // file system name by name; both give the same list.
    void SetNamesFromListing(bool on) { mNamesFromListing = on; }

private:
    bool AppendNewName(QStringView name);
    bool ListFolder(const QString& folder);
    bool MatchFolderItems(const QString& folder);
    bool AddFolderItems(const QString& folder);
    bool AddFolderItemsQuick(const QString& folder);
    bool AddTargets(const QString& folder, bool quick);
    Verdict QuickVerdict(qint32 i) const;
    bool AppendRepairedName(QStringView name, QString& text);
    bool IsUnreadable(size_t i) const;
    bool IsFolderItem(size_t i) const;
    bool IsUsableNewName(size_t i) const;
    void SetAddingCaptions();
    bool ShowAdding(const QString& oldFull);
    qint32 CountToAdd(bool& fits) const;
    void OrderAsListed();
    void SortFolderItems();
    void MarkDuplicates();
    void ReadNewNameAttributes(const QString& folder);
    Verdict FolderVerdict(qint32 i, const QString& folder);
    Verdict FileVerdict(qint32 i, const QString& folder);
    bool IsTargetItself(const QString& folder, qint32 i) const;
    void Grow();
    void ReleaseFolderArrays();
    bool Poll();

    const FileSystem& mFs;
    clsMatching& mMatching;
    clsFilter& mFilter;
    bool mNamesFromListing = true;

    // The build under way: its plan, and where its progress goes.
    RenamePlan mPlan;
    QString mWords;  // the text a new name holds besides the old name's
    bool mWordsHoldSurrogates = false;
    // Whether a new name of the folder being listed may hold a surrogate,
    // and so needs the checks of its bytes.
    bool mNamesMayHoldBytes = true;
    ListProgress* mProgress = nullptr;
    qint32 mCapacity = 0;
    QString mPollTitle;  // of the stop question
    qint32 mNextShow = 0;

    // The folder being listed: matched names, their new names, and what the
    // collision checks need of them, in listing order; mFolderOrder is the
    // order in which they join the list.
    std::vector<quint32> mFolderOrder;
    // A matched name is the filter's list item mFolderItem[i], whose name
    // and inode are read there; the new names lie packed in mNewNames, so
    // that a large folder costs neither a string nor an allocation per name.
    QStringView OldName(size_t i) const { return mFilter.ListName(int(mFolderItem[i])); }
    QStringView NewName(size_t i) const { return mNewNames[qsizetype(i)]; }
    std::vector<quint32> mFolderItem;
    PackedNames mNewNames;
    std::vector<bool> mFolderDuplicate;
    // Whether the new name as built holds a surrogate that is no piece of
    // the old name or the words; kept while names may hold bytes.
    std::vector<bool> mFolderHalves;
    // A repair's targets that it cannot read, and its last repaired name.
    std::vector<bool> mFolderUnreadable;
    QString mRepaired;
    // What is at each new name: -1 nothing, kUnusableName for a name that
    // names no item of the folder, else attribute bits of which only the
    // folder bit is read, and kTargetItself where the listing tells that
    // the entry at the new name is the target's own.
    static constexpr int kUnusableName = -2;
    static constexpr int kTargetItself = 1 << 20;
    std::vector<int> mFolderAttr;
    // Old names of the folder's targets, exact and with A-Z folded, to tell
    // whether an existing file at a new name is another target. Built on
    // the first collision of a folder only.
    std::unordered_map<QString, qint32> mOldExact;
    std::unordered_map<QString, qint32> mOldFolded;
    bool mOldMapsBuilt = false;
    qint32 mFolderCount = 0;
    NameLimit mNameMax;        // the longest name the folder's file system holds
    bool mFoldersMove = true;  // whether its folders may be renamed
    dev_t mNameMaxDevice = 0;  // the device they were asked on, 0 none
};

}  // namespace sorvane
