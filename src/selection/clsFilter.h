#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

#include "matching/clsMatching.h"
#include "platform/FileSystem.h"
#include "platform/PackedNames.h"
#include "selection/FilterSelection.h"

namespace sorvane {

class ProgressWindowPort;

// The filter through which a folder's files and subfolders are listed: the
// attribute filter, then the include and exclude pattern lists. It neither
// descends into subfolders nor sorts; callers do that where they want it.
class clsFilter {
public:
    clsFilter();
    explicit clsFilter(const FileSystem& fs);

    // List the files / the subfolders of the folder.
    bool IsFile = true;
    bool IsFolder = false;
    // MakeFileList keeps the names of all the folder's entries in Listing()
    // too, for the lookups of a rename run.
    bool ListNames = false;

    // Attribute mask of the attribute filter: read-only 1, hidden 2,
    // system 4, archive 32.
    int Attr() const { return mAttr; }
    void setAttr(int mask);

    // "属性のあるもののみ": only items that carry one of the attributes.
    bool AttrOr() const { return mAttrOr; }
    void setAttrOr(bool on);

    // Whether list index (0 include, 1 exclude) is switched on.
    bool IsMatchOther(int index) const;
    void setIsMatchOther(int index, bool on);

    // The ";"-separated patterns of list index. Setting only stores the
    // text; the matchers follow at the next MakeFileList.
    QString Patterns(int index) const;
    void setPatterns(int index, const QString& text);

    int ListCount() const { return mLeading + int(mPicked.size()); }
    // Lets go of the names of the last listing (its result and its files)
    // once a caller has taken them; its subfolders stay.
    void ReleaseNames();
    // The list's names, packed, and then ReleaseNames: where the list is
    // the listing's files, their names are handed over, not copied.
    PackedNames TakeListNames();
    QString ListItem(int index) const {
        return index >= 0 && index < ListCount() ? ListName(index).toString() : QString();
    }
    // The same, without a copy, where the listing holds it; index must be
    // one of the list's.
    QStringView ListName(int index) const {
        return index < mLeading ? mListing.FileName(index) : PickedName(index);
    }
    // The inode number the listing gave for ListItem(index); the device is
    // Listing().Device().
    ino_t ListInode(int index) const;
    // Whether ListItem(index) is a subfolder.
    bool ListIsFolder(int index) const { return index >= mLeading && Picked(index).folder; }

    // What the filter selects by, to give another filter; setting it keeps
    // the matchers of a side whose patterns stay the same.
    FilterSelection Selection() const;
    void SetSelection(const FilterSelection& selection);

    // Where pending window events are let run at the start of every listing
    // (the main window stays responsive over slow folders). None: no pump.
    void setEventPort(ProgressWindowPort* port) { mEvents = port; }

    // Fills the result list with the names (no path) of the folder's items
    // that pass: files first, then subfolders. Returns 0, or the system's
    // error number when the folder could not be read; the list then holds
    // what was added before the failure. The folder is read once.
    int MakeFileList(const QString& Path);
    // What the last MakeFileList read: all real subfolders, unfiltered, and
    // with ListNames what stands at each name.
    FolderListing& Listing() { return mListing; }

    // The folder's subfolders (real folders, never links to one) that pass
    // the attribute filter; returns their count. error gets 0 or errno.
    int sGetFoldersFSO(QStringList& FList, const QString& Path, int* error = nullptr);
    // The folder's files (everything that is not a folder) that pass the
    // attribute filter, in listing order; returns their count.
    int sGetFiles(QStringList& FList, const QString& Path, int* error = nullptr);

    // Attribute test of an item with attribute bits a.
    bool PassesAttributes(int a) const;

    // 1 when list index has usable patterns, 0 when it matches every name.
    int ListActive(int index) const { return mActive[Side(index)]; }
    int PatternCount(int index) const { return mCount[Side(index)]; }

private:
    static size_t Side(int index) { return index == 0 ? 0 : 1; }
    struct Pick {
        bool folder;
        qsizetype position;  // in the listing's folders or files
    };
    Pick Picked(int index) const;
    QStringView PickedName(int index) const;
    void UpdateMask();
    int Compile(size_t side);
    bool MatchesAny(size_t side, QStringView name);
    bool Passes(QStringView name, int includeMode, int excludeMode);
    int FileMask() const;
    void KeepAttributes(QStringList& files, const QString& folder) const;
    bool KeptByAttributes(const QString& folder, QStringView name) const;

    const FileSystem* mFs;
    ProgressWindowPort* mEvents = nullptr;
    // The list, by positions in the listing: its first mLeading files, then
    // the files and folders of mPicked.
    static constexpr quint32 kPickedFolder = 1u << 31;
    int mLeading = 0;
    std::vector<quint32> mPicked;  // a file's position, or a folder's with kPickedFolder
    FolderListing mListing;
    int mAttr = 1 | 32;
    int mMask = 0;
    bool mAttrOr = false;
    std::array<QString, 2> mPatterns;
    std::array<QString, 2> mCompiled;
    std::array<int, 2> mActive{0, 0};
    std::array<int, 2> mCount{0, 0};
    std::array<std::vector<clsMatching>, 2> mMatchers;
    std::array<bool, 2> mMatchOther{false, false};
};

}  // namespace sorvane
