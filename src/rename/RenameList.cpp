// The building of the target list: folder by folder, the candidates that
// get a new name, sorted when asked, joined with their verdicts.

#include <algorithm>
#include <cstring>
#include <new>

#include "matching/clsFileString.h"
#include "rename/CancelListProgress.h"
#include "rename/RenameHelpers.h"
#include "rename/mdlRename.h"

namespace sorvane {

using namespace rename_helpers;

namespace {

constexpr qint32 kInitialCapacity = 1000;
constexpr qint32 kShowStep = 200;
constexpr qint32 kQuickShowStep = 1000;

// Restores the filter's file/folder switches when list building ends.
struct FilterModeGuard {
    clsFilter& filter;
    bool isFile;
    bool isFolder;
    bool listNames;
    FilterModeGuard(clsFilter& f, bool folderMode, bool names)
        : filter(f), isFile(f.IsFile), isFolder(f.IsFolder), listNames(f.ListNames) {
        filter.IsFile = !folderMode;
        filter.IsFolder = folderMode;
        filter.ListNames = names;
    }
    ~FilterModeGuard() {
        filter.IsFile = isFile;
        filter.IsFolder = isFolder;
        filter.ListNames = listNames;
        filter.Listing().Clear();
    }
};

}  // namespace

bool MakeNewName(clsMatching& matching, qint32 operation, const QString& insertWord,
                 QString& name) {
    switch (operation) {
        case 0:
            return matching.MatchAndReplaceFileName(name);
        case 1:
            name = insertWord + name;
            return true;
        case 2:
            name += insertWord;
            return true;
        default:
            return false;
    }
}

bool mdlRename::MakeNewName(QString& name) {
    return sorvane::MakeNewName(mMatching, mSettings.operation, mSettings.insertWord, name);
}

bool mdlRename::MakeRenameList(const QString& startFolder, const RenameListSettings& settings) {
    mSettings = settings;
    CancelListProgress listing(mProgress);
    mListing = &listing;
    // The collision checks look the new names up in the folder's listing.
    FilterModeGuard mode(mFilter, settings.folderMode, !settings.quickList);
    bool result = false;
    try {
        mItemWord = settings.folderMode ? QStringLiteral("フォルダ") : QStringLiteral("ファイル");
        mPollTitle = mItemWord + QStringLiteral("リストの作成");
        mBasePath = startFolder.endsWith(u'/') ? startFolder : startFolder + u'/';
        mRenamed = mRestored = mDeleted = 0;
        mCapacity = kInitialCapacity;
        mTargets.Clear();
        mTargets.Reserve(size_t(mCapacity) + 1);

        result = ListFolder(mBasePath);
        ReleaseFolderArrays();
    } catch (const std::bad_alloc&) {
        ReleaseFolderArrays();
        result = false;
        mTargets.Clear();
    }
    mListing = nullptr;
    return result;
}

bool mdlRename::ListFolder(const QString& folder) {
    if (!MatchFolderItems(folder)) {
        mTargets.Clear();
        return false;
    }
    if (mFolderCount > 0) {
        if (mFolderCount + mTargets.Count() >= mCapacity) Grow();
        mNameMax = mFs.NameMax(folder);
        const bool added =
            mSettings.quickList ? AddFolderItemsQuick(folder) : AddFolderItems(folder);
        if (!added) return false;
    }
    if (mSettings.recursive) {
        // Real folders only: a symbolic link to a folder is never entered,
        // whatever it points to. They come from the read that listed the
        // folder's items, which failed the list if it was incomplete.
        const QList<FolderEntry> subfolders = std::move(mFilter.Listing().folders);
        for (const FolderEntry& sub : subfolders)
            if (!ListFolder(folder + sub.name + u'/')) return false;
    }
    return true;
}

void mdlRename::Grow() {
    const qint64 wanted = qint64(mCapacity) * 2 + mFolderCount;
    mCapacity = qint32(std::min<qint64>(wanted, std::max<qint64>(mMaxCount, mCapacity)));
    mTargets.Reserve(size_t(mCapacity) + 1);
}

// The working arrays of the last folder go with their memory, not only
// their contents: after a large folder they would hold it to the end.
void mdlRename::ReleaseFolderArrays() {
    std::vector<quint32>().swap(mFolderOrder);
    std::vector<QString>().swap(mFolderOld);
    std::vector<QString>().swap(mFolderNew);
    std::vector<ino_t>().swap(mFolderInode);
    std::vector<bool>().swap(mFolderDuplicate);
    std::vector<int>().swap(mFolderAttr);
    std::vector<unsigned char>().swap(mSortKeys);
    std::vector<SortEntry>().swap(mSortEntries);
    std::unordered_map<QString, qint32>().swap(mOldExact);
    std::unordered_map<QString, qint32>().swap(mOldFolded);
}

bool mdlRename::Poll() {
    return mListing->Stop(mPollTitle);
}

bool mdlRename::MatchFolderItems(const QString& folder) {
    if (mListing->WantsTexts()) {
        mListing->SetCaption(QStringLiteral("変換作業中 ") + Num(mTargets.Count()) +
                             QStringLiteral(" ( 0 ) リスト作成中"));
        mListing->SetTitle(mItemWord + QStringLiteral("リスト作成中 / ") + Num(mTargets.Count()) +
                           QStringLiteral(" ( 0 )"));
        mListing->SetText(folder);
    }
    if (Poll()) return false;

    if (mFilter.MakeFileList(folder) != 0) return false;

    const qint32 n = mFilter.ListCount();
    if (qint32(mFolderOld.size()) < n) {
        mFolderOld.assign(size_t(n), QString());
        mFolderNew.assign(size_t(n), QString());
        mFolderInode.assign(size_t(n), 0);
    }
    mFolderCount = 0;
    mNextShow = 0;
    for (qint32 i = 0; i < n; ++i) {
        const QString name = mFilter.ListItem(i);
        QString renamed = name;
        if (MakeNewName(renamed)) {
            mFolderOld[size_t(mFolderCount)] = name;
            mFolderNew[size_t(mFolderCount)] = std::move(renamed);
            mFolderInode[size_t(mFolderCount)] = mFilter.ListInode(i);
            ++mFolderCount;
        }
        if (i >= mNextShow) {
            mNextShow += kShowStep;
            if (mListing->WantsTexts()) {
                mListing->SetCaption(QStringLiteral("変換作業中 ") + Num(mTargets.Count()) +
                                     QStringLiteral(" ( ") + Num(i) +
                                     QStringLiteral(" ) リスト作成中"));
                mListing->SetTitle(mItemWord + QStringLiteral("リスト作成中 / ") +
                                   Num(mTargets.Count()) + QStringLiteral(" ( ") + Num(i) +
                                   QStringLiteral(" )"));
                mListing->SetText(folder + name);
            }
            if (Poll()) return false;
        }
    }
    return true;
}

// The order in which the folder's targets join the list: the listing order,
// or with sorting a stable ascending order of the old names with A-Z
// folded, from the last to the first. The folded keys lie side by side in
// one buffer, each UTF-16 unit high byte first, so that memcmp gives the
// order of the units and the comparisons of a large folder stay in the
// cache.
void mdlRename::SortFolderItems() {
    const size_t n = size_t(mFolderCount);
    mFolderOrder.resize(n);
    for (size_t i = 0; i < n; ++i) mFolderOrder[i] = quint32(i);
    if (!mSettings.folderSort || n < 2) return;
    size_t total = 0;
    for (size_t i = 0; i < n; ++i) total += size_t(mFolderOld[i].size());
    std::vector<unsigned char>& keys = mSortKeys;
    keys.resize(total * 2);
    std::vector<SortEntry>& order = mSortEntries;
    order.resize(n);
    unsigned char* at = keys.data();
    for (size_t i = 0; i < n; ++i) {
        const QString& name = mFolderOld[i];
        const size_t length = size_t(name.size());
        const char16_t* in = reinterpret_cast<const char16_t*>(name.utf16());
        order[i] = {at, quint32(length * 2), quint32(i)};
        for (size_t k = 0; k < length; ++k) {
            const char16_t unit = clsFileString::FoldUnit(in[k]);
            *at++ = static_cast<unsigned char>(unit >> 8);
            *at++ = static_cast<unsigned char>(unit);
        }
    }
    // Equal keys keep the listing order: the index decides between them,
    // which makes the order stable without the merge buffer of a stable
    // sort.
    std::sort(order.begin(), order.end(), [](const SortEntry& a, const SortEntry& b) {
        const int c = std::memcmp(a.key, b.key, std::min(a.length, b.length));
        if (c != 0) return c < 0;
        if (a.length != b.length) return a.length < b.length;  // a proper prefix first
        return a.index < b.index;
    });
    for (size_t a = 0; a < n; ++a) mFolderOrder[a] = order[n - 1 - a].index;
}

// The captions while the targets of one folder join the list.
void mdlRename::SetAddingCaptions() {
    mListing->SetCaption(QStringLiteral("変換作業中 ") + Num(mTargets.Count()) +
                         QStringLiteral(" リスト作成中"));
    mListing->SetTitle(mItemWord + QStringLiteral("リスト作成中 / ") + Num(mTargets.Count()) +
                       QStringLiteral(" check"));
}

// True when the user stopped the run.
bool mdlRename::ShowAdding(const QString& oldFull) {
    if (mListing->WantsTexts()) {
        SetAddingCaptions();
        mListing->SetText(oldFull);
    }
    return Poll();
}

// The number of this folder's targets that still fit under the maximum;
// fits turns false when some do not.
qint32 mdlRename::CountToAdd(bool& fits) const {
    const qint32 room = mMaxCount - mTargets.Count();
    if (mFolderCount > room) {
        fits = false;
        return room;
    }
    return mFolderCount;
}

bool mdlRename::AddFolderItems(const QString& folder) {
    if (mListing->WantsTexts()) SetAddingCaptions();
    if (Poll()) return false;
    // What stands at the new names is read in listing order (see
    // ReadNewNameAttributes); the duplicate marks do not depend on the order.
    ReadNewNameAttributes(folder);
    MarkDuplicates();
    SortFolderItems();
    mOldMapsBuilt = false;
    bool result = true;
    const qint32 count = CountToAdd(result);
    mTargets.BeginFolder(folder.mid(mBasePath.size()), mFilter.Listing().Device());

    mNextShow = -1;
    for (qint32 a = 0; a < count; ++a) {
        const qint32 i = qint32(mFolderOrder[size_t(a)]);
        const Verdict verdict =
            mSettings.folderMode ? FolderVerdict(i, folder) : FileVerdict(i, folder);
        mTargets.Add(mFolderOld[size_t(i)], mFolderNew[size_t(i)], TargetStatus(verdict),
                     mFolderInode[size_t(i)]);
        if (a >= mNextShow) {
            mNextShow += kShowStep;
            if (ShowAdding(folder + mFolderOld[size_t(i)])) return false;
        }
    }
    return result;
}

bool mdlRename::AddFolderItemsQuick(const QString& folder) {
    bool result = true;
    const qint32 count = CountToAdd(result);
    mTargets.BeginFolder(folder.mid(mBasePath.size()), mFilter.Listing().Device());
    mNextShow = -1;
    for (qint32 i = 0; i < count; ++i) {
        const QString& newName = mFolderNew[size_t(i)];
        // Even without checks a name that is not one item of this folder
        // is never handed to the rename.
        const Verdict verdict = !IsUsableName(newName)            ? Verdict::EmptyName
                                : !FitsNameMax(newName, mNameMax) ? Verdict::TooLong
                                                                  : Verdict::Rename;
        mTargets.Add(mFolderOld[size_t(i)], newName, TargetStatus(verdict),
                     mFolderInode[size_t(i)]);
        if (i >= mNextShow) {
            mNextShow += kQuickShowStep;
            if (ShowAdding(folder + mFolderOld[size_t(i)])) return false;
        }
    }
    return result;
}

}  // namespace sorvane
