// The building of the target list: folder by folder, the candidates that
// get a new name, sorted when asked, joined with their verdicts.

#include <algorithm>
#include <cstring>
#include <new>

#include "matching/clsFileString.h"
#include "rename/RenameHelpers.h"
#include "rename/mdlRename.h"

namespace sorvane {

using namespace rename_helpers;

namespace {

constexpr qint32 kInitialCapacity = 1000;
constexpr qint32 kWorkingEntries = 501;
constexpr qint32 kShowStep = 200;
constexpr qint32 kQuickShowStep = 1000;

// The path of a name relative to the start folder. In the start folder
// itself the name is shared, not copied.
QString InFolder(const QString& rel, const QString& name) {
    return rel.isEmpty() ? name : rel + name;
}

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
    // The collision checks look the new names up in the folder's listing.
    FilterModeGuard mode(mFilter, settings.folderMode, !settings.quickList);
    bool result = false;
    try {
        mItemWord = settings.folderMode ? QStringLiteral("フォルダ") : QStringLiteral("ファイル");
        mBasePath = startFolder.endsWith(u'/') ? startFolder : startFolder + u'/';
        mCount = mRenamed = mRestored = mDeleted = 0;
        mCapacity = kInitialCapacity;
        mOldNames.clear();
        mNewNames.clear();
        mStatus.clear();
        mOldNames.reserve(size_t(mCapacity) + 1);
        mNewNames.reserve(size_t(mCapacity) + 1);
        mStatus.reserve(size_t(mCapacity) + 1);
        mFolderOld.assign(kWorkingEntries, QString());
        mFolderNew.assign(kWorkingEntries, QString());

        result = ListFolder(mBasePath);

        mFolderOld = {};
        mFolderNew = {};
        mFolderDuplicate = {};
        mFolderAttr = {};
        mOldExact = {};
        mOldFolded = {};
        mOldNames.resize(size_t(mCount));
        mNewNames.resize(size_t(mCount));
        mStatus.resize(size_t(mCount));
        mOldNames.shrink_to_fit();
        mNewNames.shrink_to_fit();
        mStatus.shrink_to_fit();
    } catch (const std::bad_alloc&) {
        result = false;
        mCount = 0;
    }
    return result;
}

bool mdlRename::ListFolder(const QString& folder) {
    if (!MatchFolderItems(folder)) {
        mCount = 0;
        return false;
    }
    if (mFolderCount > 0) {
        if (mFolderCount + mCount >= mCapacity) Grow();
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
    mOldNames.reserve(size_t(mCapacity) + 1);
    mNewNames.reserve(size_t(mCapacity) + 1);
    mStatus.reserve(size_t(mCapacity) + 1);
}

bool mdlRename::Poll() {
    return mProgress.DoCancel(mItemWord + QStringLiteral("リストの作成"));
}

bool mdlRename::MatchFolderItems(const QString& folder) {
    mProgress.SetCaption(QStringLiteral("変換作業中 ") + Num(mCount) +
                         QStringLiteral(" ( 0 ) リスト作成中"));
    mProgress.SetTitle(mItemWord + QStringLiteral("リスト作成中 / ") + Num(mCount) +
                       QStringLiteral(" ( 0 )"));
    mProgress.SetText(folder);
    if (Poll()) return false;

    if (mFilter.MakeFileList(folder) != 0) return false;

    const qint32 n = mFilter.ListCount();
    if (qint32(mFolderOld.size()) < n) {
        mFolderOld.assign(size_t(n), QString());
        mFolderNew.assign(size_t(n), QString());
    }
    mFolderCount = 0;
    mNextShow = 0;
    for (qint32 i = 0; i < n; ++i) {
        const QString name = mFilter.ListItem(i);
        QString renamed = name;
        if (MakeNewName(renamed)) {
            mFolderOld[size_t(mFolderCount)] = name;
            mFolderNew[size_t(mFolderCount)] = std::move(renamed);
            ++mFolderCount;
        }
        if (i >= mNextShow) {
            mNextShow += kShowStep;
            mProgress.SetCaption(QStringLiteral("変換作業中 ") + Num(mCount) +
                                 QStringLiteral(" ( ") + Num(i) +
                                 QStringLiteral(" ) リスト作成中"));
            mProgress.SetTitle(mItemWord + QStringLiteral("リスト作成中 / ") + Num(mCount) +
                               QStringLiteral(" ( ") + Num(i) + QStringLiteral(" )"));
            mProgress.SetText(folder + name);
            if (Poll()) return false;
        }
    }
    return true;
}

// A stable ascending order of the old names with A-Z folded, stored from
// the last to the first, old and new names kept in pairs. The folded keys
// lie side by side in one buffer, each UTF-16 unit high byte first, so that
// memcmp gives the order of the units and the comparisons of a large folder
// stay in the cache.
void mdlRename::SortFolderItems() {
    const size_t n = size_t(mFolderCount);
    if (n < 2) return;
    size_t total = 0;
    for (size_t i = 0; i < n; ++i) total += size_t(mFolderOld[i].size());
    std::vector<unsigned char> keys(total * 2);
    struct Entry {
        const unsigned char* key;
        quint32 length;  // in bytes; a name is far shorter than 2 GiB
        quint32 index;
    };
    std::vector<Entry> order(n);
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
    std::stable_sort(order.begin(), order.end(), [](const Entry& a, const Entry& b) {
        const int c = std::memcmp(a.key, b.key, std::min(a.length, b.length));
        return c != 0 ? c < 0 : a.length < b.length;  // a proper prefix first
    });
    // Entries past the folder's count are left-overs of earlier folders that
    // are never read; the new arrays keep only the size for reuse.
    std::vector<QString> oldNames(mFolderOld.size()), newNames(mFolderNew.size());
    std::vector<int> attributes(n);
    std::vector<bool> duplicates(n);
    for (size_t a = 0; a < n; ++a) {
        const size_t from = order[n - 1 - a].index;
        oldNames[a] = std::move(mFolderOld[from]);
        newNames[a] = std::move(mFolderNew[from]);
        attributes[a] = mFolderAttr[from];
        duplicates[a] = mFolderDuplicate[from];
    }
    mFolderOld.swap(oldNames);
    mFolderNew.swap(newNames);
    mFolderAttr = std::move(attributes);
    mFolderDuplicate = std::move(duplicates);
}

// The captions while the targets of one folder join the list.
void mdlRename::SetAddingCaptions() {
    mProgress.SetCaption(QStringLiteral("変換作業中 ") + Num(mCount) +
                         QStringLiteral(" リスト作成中"));
    mProgress.SetTitle(mItemWord + QStringLiteral("リスト作成中 / ") + Num(mCount) +
                       QStringLiteral(" check"));
}

// True when the user stopped the run.
bool mdlRename::ShowAdding(const QString& oldPath) {
    SetAddingCaptions();
    mProgress.SetText(mBasePath + oldPath);
    return Poll();
}

// The index of the last item of this folder that still fits under the
// maximum; fits turns false when some do not.
qint32 mdlRename::LastToAdd(bool& fits) const {
    if (qint64(mCount) + mFolderCount > mMaxCount) {
        fits = false;
        return mMaxCount - mCount - 1;
    }
    return mFolderCount - 1;
}

bool mdlRename::AddFolderItems(const QString& folder) {
    SetAddingCaptions();
    if (Poll()) return false;
    const QString rel = folder.mid(mBasePath.size());
    // Both are read in listing order (see ReadNewNameAttributes); the
    // duplicate marks do not depend on the order and move with the sort.
    ReadNewNameAttributes(rel);
    MarkDuplicates();
    if (mSettings.folderSort) SortFolderItems();
    mOldMapsBuilt = false;
    bool result = true;
    const qint32 last = LastToAdd(result);

    mNextShow = -1;
    for (qint32 i = 0; i <= last; ++i) {
        const QString oldPath = InFolder(rel, mFolderOld[size_t(i)]);
        const QString newPath = InFolder(rel, mFolderNew[size_t(i)]);
        mOldNames.push_back(oldPath);
        mNewNames.push_back(newPath);
        mStatus.emplace_back(mSettings.folderMode ? FolderVerdict(i, oldPath, newPath)
                                                  : FileVerdict(i, oldPath, newPath));
        ++mCount;
        if (i >= mNextShow) {
            mNextShow += kShowStep;
            if (ShowAdding(oldPath)) return false;
        }
    }
    return result;
}

bool mdlRename::AddFolderItemsQuick(const QString& folder) {
    const QString rel = folder.mid(mBasePath.size());
    bool result = true;
    const qint32 last = LastToAdd(result);
    mNextShow = -1;
    for (qint32 i = 0; i <= last; ++i) {
        const QString oldPath = InFolder(rel, mFolderOld[size_t(i)]);
        mOldNames.push_back(oldPath);
        const QString& newName = mFolderNew[size_t(i)];
        mNewNames.push_back(InFolder(rel, newName));
        // Even without checks a name that is not one item of this folder
        // is never handed to the rename.
        mStatus.emplace_back(IsUsableName(newName) ? Verdict::Rename : Verdict::EmptyName);
        ++mCount;
        if (i >= mNextShow) {
            mNextShow += kQuickShowStep;
            if (ShowAdding(oldPath)) return false;
        }
    }
    return result;
}

}  // namespace sorvane
