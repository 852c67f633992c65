#include "rename/mdlRename.h"

#include <algorithm>
#include <new>
#include <numeric>

#include "matching/clsFileString.h"

namespace sorvane {

namespace {

constexpr qint32 kInitialCapacity = 1000;
constexpr qint32 kWorkingEntries = 501;
constexpr qint32 kShowStep = 200;
constexpr qint32 kQuickShowStep = 1000;

QString Num(qint64 n) { return QString::number(n); }

// A new name must name one item in the same folder. A "/" (or a NUL, or
// "." and "..") would move the target elsewhere or name no item at all, so
// such a name is skipped like an empty one.
bool IsUsableName(const QString& name) {
    return !name.isEmpty() && !name.contains(u'/') && !name.contains(QChar(u'\0')) &&
           name != u"." && name != u"..";
}

// Restores the filter's file/folder switches when list building ends.
struct FilterModeGuard {
    clsFilter& filter;
    bool isFile;
    bool isFolder;
    FilterModeGuard(clsFilter& f, bool folderMode)
        : filter(f), isFile(f.IsFile), isFolder(f.IsFolder) {
        filter.IsFile = !folderMode;
        filter.IsFolder = folderMode;
    }
    ~FilterModeGuard() {
        filter.IsFile = isFile;
        filter.IsFolder = isFolder;
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

mdlRename::mdlRename(const FileSystem& fs, clsMatching& matching, clsFilter& filter,
                     clsCancel& progress)
    : mFs(fs), mMatching(matching), mFilter(filter), mProgress(progress) {}

void mdlRename::InitRename(qint32 maximum) {
    mMaxCount = maximum;
    mCount = 0;
}

bool mdlRename::MakeNewName(QString& name) {
    return sorvane::MakeNewName(mMatching, mSettings.operation, mSettings.insertWord, name);
}

void mdlRename::ClearRenameList() {
    mStatus = {};
    mNewNames = {};
    mOldNames = {};
    mCount = 0;
}

bool mdlRename::MakeRenameList(const QString& startFolder, const RenameListSettings& settings) {
    mSettings = settings;
    FilterModeGuard mode(mFilter, settings.folderMode);
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
        // whatever it points to.
        int error = 0;
        const QList<FolderEntry> subfolders = mFs.SubFolders(folder, &error);
        // A folder whose subfolders cannot be read would silently leave out
        // part of the tree the user asked for.
        if (error != 0) {
            mCount = 0;
            return false;
        }
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

bool mdlRename::Poll() { return mProgress.DoCancel(mItemWord + QStringLiteral("リストの作成")); }

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
            mProgress.SetCaption(QStringLiteral("変換作業中 ") + Num(mCount) + QStringLiteral(" ( ") +
                                 Num(i) + QStringLiteral(" ) リスト作成中"));
            mProgress.SetTitle(mItemWord + QStringLiteral("リスト作成中 / ") + Num(mCount) +
                               QStringLiteral(" ( ") + Num(i) + QStringLiteral(" )"));
            mProgress.SetText(folder + name);
            if (Poll()) return false;
        }
    }
    return true;
}

// A stable ascending order of the old names with A-Z folded, stored from
// the last to the first, old and new names kept in pairs.
void mdlRename::SortFolderItems() {
    const size_t n = size_t(mFolderCount);
    std::vector<QString> keys(n);
    for (size_t i = 0; i < n; ++i) keys[i] = clsFileString::FileLCase(mFolderOld[i]);
    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(),
                     [&keys](size_t a, size_t b) { return keys[a] < keys[b]; });
    std::vector<QString> oldNames(n), newNames(n);
    for (size_t a = 0; a < n; ++a) {
        const size_t from = order[n - 1 - a];
        oldNames[a] = std::move(mFolderOld[from]);
        newNames[a] = std::move(mFolderNew[from]);
    }
    for (size_t a = 0; a < n; ++a) {
        mFolderOld[a] = std::move(oldNames[a]);
        mFolderNew[a] = std::move(newNames[a]);
    }
}

// Every target whose new name equals another's (A-Z folded) is marked, the
// first one included.
void mdlRename::MarkDuplicates() {
    const size_t n = size_t(mFolderCount);
    mFolderDuplicate.assign(n, false);
    std::unordered_map<QString, qint32> seen;
    seen.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        const auto [it, added] =
            seen.try_emplace(clsFileString::FileLCase(mFolderNew[i]), qint32(i));
        if (!added) {
            mFolderDuplicate[i] = true;
            mFolderDuplicate[size_t(it->second)] = true;
        }
    }
}

bool mdlRename::AddFolderItems(const QString& folder) {
    mProgress.SetCaption(QStringLiteral("変換作業中 ") + Num(mCount) + QStringLiteral(" リスト作成中"));
    mProgress.SetTitle(mItemWord + QStringLiteral("リスト作成中 / ") + Num(mCount) +
                       QStringLiteral(" check"));
    if (Poll()) return false;
    bool result = true;

    const QString rel = folder.mid(mBasePath.size());
    qint32 last = mFolderCount - 1;
    if (mSettings.folderSort) SortFolderItems();
    MarkDuplicates();
    mOldMapsBuilt = false;
    if (qint64(mCount) + mFolderCount > mMaxCount) {
        last = mMaxCount - mCount - 1;
        result = false;
    }

    mNextShow = -1;
    for (qint32 i = 0; i <= last; ++i) {
        const QString oldPath = rel + mFolderOld[size_t(i)];
        const QString newPath = rel + mFolderNew[size_t(i)];
        const QString oldFull = mBasePath + oldPath;
        const QString newFull = mBasePath + newPath;
        mOldNames.push_back(oldPath);
        mNewNames.push_back(newPath);
        mStatus.push_back(mSettings.folderMode ? FolderVerdict(i, oldFull, newFull)
                                               : FileVerdict(i, oldFull, newFull));
        ++mCount;
        if (i >= mNextShow) {
            mNextShow += kShowStep;
            mProgress.SetCaption(QStringLiteral("変換作業中 ") + Num(mCount) +
                                 QStringLiteral(" リスト作成中"));
            mProgress.SetTitle(mItemWord + QStringLiteral("リスト作成中 / ") + Num(mCount) +
                               QStringLiteral(" check"));
            mProgress.SetText(mBasePath + oldPath);
            if (Poll()) return false;
        }
    }
    return result;
}

bool mdlRename::AddFolderItemsQuick(const QString& folder) {
    const QString rel = folder.mid(mBasePath.size());
    bool result = true;
    qint32 last = mFolderCount - 1;
    if (qint64(mCount) + mFolderCount > mMaxCount) {
        last = mMaxCount - mCount - 1;
        result = false;
    }
    mNextShow = -1;
    for (qint32 i = 0; i <= last; ++i) {
        const QString oldPath = rel + mFolderOld[size_t(i)];
        mOldNames.push_back(oldPath);
        const QString& newName = mFolderNew[size_t(i)];
        mNewNames.push_back(rel + newName);
        // Even without checks a name that is not one item of this folder
        // is never handed to the rename.
        mStatus.push_back(IsUsableName(newName) ? kVerdictRename : kVerdictEmptyName);
        ++mCount;
        if (i >= mNextShow) {
            mNextShow += kQuickShowStep;
            mProgress.SetCaption(QStringLiteral("変換作業中 ") + Num(mCount) +
                                 QStringLiteral(" リスト作成中"));
            mProgress.SetTitle(mItemWord + QStringLiteral("リスト作成中 / ") + Num(mCount) +
                               QStringLiteral(" check"));
            mProgress.SetText(mBasePath + oldPath);
            if (Poll()) return false;
        }
    }
    return result;
}

// The item at the new name is the target itself when both names lead to the
// same device and inode: on a file system that ignores letter case (of A-Z
// or of any letters) a change of case finds the target there. A hard link
// with the same identity is a separate entry; the rename then refuses to
// replace it, so it is never taken for a file that may be deleted.
bool mdlRename::IsTargetItself(const QString& oldFull, const QString& newFull) const {
    const FileIdentity found = mFs.Identity(newFull);
    return found.valid && found == mFs.Identity(oldFull);
}

qint32 mdlRename::FolderVerdict(qint32 i, const QString& oldFull, const QString& newFull) {
    const QString& newName = mFolderNew[size_t(i)];
    const bool duplicate = mFolderDuplicate[size_t(i)];
    if (!IsUsableName(newName)) return kVerdictEmptyName;
    const int a = mFs.GetAttributes(newFull);
    if (a < 0) return duplicate ? kVerdictDuplicate : kVerdictRename;
    if (!(a & kAttrFolder)) return duplicate ? kVerdictDuplicate : kVerdictFileExists;
    if (!IsTargetItself(oldFull, newFull)) return kVerdictFolderExists;
    return newName == mFolderOld[size_t(i)] ? kVerdictIdentical : kVerdictRename;
}

qint32 mdlRename::FileVerdict(qint32 i, const QString& oldFull, const QString& newFull) {
    const QString& newName = mFolderNew[size_t(i)];
    const bool duplicate = mFolderDuplicate[size_t(i)];
    if (!IsUsableName(newName)) return kVerdictEmptyName;
    const int a = mFs.GetAttributes(newFull);
    // A folder alone at the new name is left to the rename, which refuses
    // to replace it and reports it.
    if (a < 0) return duplicate ? kVerdictDuplicate : kVerdictRename;
    if (a & kAttrFolder) return duplicate ? kVerdictFolderExists : kVerdictRename;

    if (IsTargetItself(oldFull, newFull))
        return newName == mFolderOld[size_t(i)] ? kVerdictIdentical : kVerdictRename;

    if (!mOldMapsBuilt) {
        mOldExact.clear();
        mOldFolded.clear();
        mOldExact.reserve(size_t(mFolderCount));
        mOldFolded.reserve(size_t(mFolderCount));
        for (qint32 j = 0; j < mFolderCount; ++j) {
            mOldExact.try_emplace(mFolderOld[size_t(j)], j);
            mOldFolded.try_emplace(clsFileString::FileLCase(mFolderOld[size_t(j)]), j);
        }
        mOldMapsBuilt = true;
    }
    qint32 other = -1;
    if (const auto exact = mOldExact.find(newName); exact != mOldExact.end()) {
        other = exact->second;
    } else if (const auto folded = mOldFolded.find(clsFileString::FileLCase(newName));
               folded != mOldFolded.end()) {
        other = folded->second;
    }
    // Another target, which will itself be renamed: chains and swaps are
    // never renamed in sequence.
    if (other >= 0 && other != i) return kVerdictOtherTarget;
    // Not a target of this folder, or a separate item that differs from the
    // target's own name only in case (a file system that keeps case apart).
    return duplicate ? kVerdictDuplicate : kVerdictFileExists;
}

}  // namespace sorvane
