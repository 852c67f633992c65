#include "rename/mdlRename.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <numeric>
#include <string>
#include <string_view>
#include <unordered_set>

#include "matching/clsFileString.h"
#include "platform/MakeFolders.h"

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

constexpr qint32 kInitialCapacity = 1000;
constexpr qint32 kWorkingEntries = 501;
constexpr qint32 kShowStep = 200;
constexpr qint32 kQuickShowStep = 1000;
constexpr qint32 kRenameShowStep = 100;
constexpr qint32 kDeleteShowStep = 200;
constexpr qint32 kRestoreShowStep = 100;

QString Num(qint64 n) { return QString::number(n); }

// A new name must name one item in the same folder. A "/" (or a NUL, or
// "." and "..") would move the target elsewhere or name no item at all, so
// such a name is skipped like an empty one.
bool IsUsableName(QStringView name) {
    return !name.isEmpty() && !name.contains(u'/') && !name.contains(QChar(u'\0')) &&
           name != u"." && name != u"..";
}

// The name with A-Z folded onto a-z; a name without those letters is
// shared, not copied.
QString Folded(const QString& name) {
    for (const QChar c : name)
        if (c >= u'A' && c <= u'Z') return clsFileString::FileLCase(name);
    return name;
}

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

// Whether a path given back by the trash lies in the "files" folder of a
// freedesktop.org trash: <data home>/Trash, <top>/.Trash-<uid> or
// <top>/.Trash/<uid>.
bool IsInTrash(const QString& trashed) {
    if (!trashed.startsWith(u'/')) return false;
    const QString files = FileSystem::ParentFolderName(trashed);
    if (FileSystem::GetFileName(files) != u"files") return false;
    const QString trash = FileSystem::ParentFolderName(files);
    const QString name = FileSystem::GetFileName(trash);
    const QString uid = QString::number(::getuid());
    if (name == u"Trash" || name == u".Trash-"_s + uid) return true;
    return name == uid && FileSystem::GetFileName(FileSystem::ParentFolderName(trash)) == u".Trash";
}

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

// What is at each new name, read in the order the folder was listed in:
// the file system answers that order fastest, and the names are still where
// the listing put them in memory.
// The folder's listing answers for the names it can tell exactly; the
// others are looked up one by one.
void mdlRename::ReadNewNameAttributes(const QString& rel) {
    const size_t n = size_t(mFolderCount);
    mFolderAttr.assign(n, -1);
    const FolderListing& listing = mFilter.Listing();
    QString full = mBasePath + rel;
    const qsizetype folderLength = full.size();
    for (size_t i = 0; i < n; ++i) {
        if (!IsUsableName(mFolderNew[i])) continue;
        const FolderListing::Holder holder =
            mNamesFromListing ? listing.At(mFolderNew[i]) : FolderListing::Holder::Unknown;
        switch (holder) {
            case FolderListing::Holder::Nothing:
                break;
            case FolderListing::Holder::File:
                mFolderAttr[i] = 0;
                break;
            case FolderListing::Holder::Folder:
                mFolderAttr[i] = kAttrFolder;
                break;
            case FolderListing::Holder::Unknown:
                full.truncate(folderLength);
                full += mFolderNew[i];
                mFolderAttr[i] = mFs.GetAttributes(full);
                break;
        }
    }
}

namespace {

// A hash of the name with A-Z folded, without making the folded copy.
quint64 FoldedHash(const QString& name) {
    quint64 h = 0xcbf29ce484222325ull ^ quint64(name.size());
    const char16_t* in = reinterpret_cast<const char16_t*>(name.utf16());
    for (qsizetype k = 0; k < name.size(); ++k) {
        h ^= clsFileString::FoldUnit(in[k]);
        h *= 0x100000001b3ull;
    }
    return h ^ (h >> 29);
}

bool FoldedEqual(const QString& a, const QString& b) {
    if (a.size() != b.size()) return false;
    const char16_t* x = reinterpret_cast<const char16_t*>(a.utf16());
    const char16_t* y = reinterpret_cast<const char16_t*>(b.utf16());
    for (qsizetype k = 0; k < a.size(); ++k)
        if (x[k] != y[k] && clsFileString::FoldUnit(x[k]) != clsFileString::FoldUnit(y[k]))
            return false;
    return true;
}

}  // namespace

// Every target whose new name equals another's (A-Z folded) is marked, the
// first one included. An open-addressing table of indices with the hashes
// kept beside it: no node and no folded copy per name.
void mdlRename::MarkDuplicates() {
    const size_t n = size_t(mFolderCount);
    mFolderDuplicate.assign(n, false);
    if (n < 2) return;
    size_t capacity = 4;
    while (capacity < n * 2) capacity *= 2;
    const size_t mask = capacity - 1;
    std::vector<qint32> table(capacity, -1);
    std::vector<quint64> hashes(n);
    for (size_t i = 0; i < n; ++i) {
        const QString& name = mFolderNew[i];
        const quint64 h = hashes[i] = FoldedHash(name);
        for (size_t at = size_t(h) & mask;; at = (at + 1) & mask) {
            const qint32 first = table[at];
            if (first < 0) {
                table[at] = qint32(i);
                break;
            }
            if (hashes[size_t(first)] == h && FoldedEqual(mFolderNew[size_t(first)], name)) {
                mFolderDuplicate[i] = true;
                mFolderDuplicate[size_t(first)] = true;
                break;
            }
        }
    }
}

// The captions while the targets of one folder join the list.
void mdlRename::SetAddingCaptions() {
    mProgress.SetCaption(QStringLiteral("変換作業中 ") + Num(mCount) + QStringLiteral(" リスト作成中"));
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
        mStatus.push_back(mSettings.folderMode ? FolderVerdict(i, oldPath, newPath)
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
        mStatus.push_back(IsUsableName(newName) ? kVerdictRename : kVerdictEmptyName);
        ++mCount;
        if (i >= mNextShow) {
            mNextShow += kQuickShowStep;
            if (ShowAdding(oldPath)) return false;
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

qint32 mdlRename::FolderVerdict(qint32 i, const QString& oldPath, const QString& newPath) {
    const QString& newName = mFolderNew[size_t(i)];
    const bool duplicate = mFolderDuplicate[size_t(i)];
    if (!IsUsableName(newName)) return kVerdictEmptyName;
    const int a = mFolderAttr[size_t(i)];
    if (a < 0) return duplicate ? kVerdictDuplicate : kVerdictRename;
    if (!(a & kAttrFolder)) return duplicate ? kVerdictDuplicate : kVerdictFileExists;
    if (!IsTargetItself(mBasePath + oldPath, mBasePath + newPath)) return kVerdictFolderExists;
    return newName == mFolderOld[size_t(i)] ? kVerdictIdentical : kVerdictRename;
}

qint32 mdlRename::FileVerdict(qint32 i, const QString& oldPath, const QString& newPath) {
    const QString& newName = mFolderNew[size_t(i)];
    const bool duplicate = mFolderDuplicate[size_t(i)];
    if (!IsUsableName(newName)) return kVerdictEmptyName;
    const int a = mFolderAttr[size_t(i)];
    // A folder alone at the new name is left to the rename, which refuses
    // to replace it and reports it.
    if (a < 0) return duplicate ? kVerdictDuplicate : kVerdictRename;
    if (a & kAttrFolder) return duplicate ? kVerdictFolderExists : kVerdictRename;

    if (IsTargetItself(mBasePath + oldPath, mBasePath + newPath))
        return newName == mFolderOld[size_t(i)] ? kVerdictIdentical : kVerdictRename;

    if (!mOldMapsBuilt) {
        mOldExact.clear();
        mOldFolded.clear();
        mOldExact.reserve(size_t(mFolderCount));
        mOldFolded.reserve(size_t(mFolderCount));
        for (qint32 j = 0; j < mFolderCount; ++j) {
            mOldExact.try_emplace(mFolderOld[size_t(j)], j);
            mOldFolded.try_emplace(Folded(mFolderOld[size_t(j)]), j);
        }
        mOldMapsBuilt = true;
    }
    qint32 other = -1;
    if (const auto exact = mOldExact.find(newName); exact != mOldExact.end()) {
        other = exact->second;
    } else if (const auto folded = mOldFolded.find(Folded(newName));
               folded != mOldFolded.end()) {
        other = folded->second;
    }
    // Another target, which will itself be renamed: chains and swaps are
    // never renamed in sequence.
    if (other >= 0 && other != i) return kVerdictOtherTarget;
    // A change of letter case only. Where the file system's inode numbers
    // cannot be trusted to tell (sshfs or CIFS without server inodes), the
    // item found may be the target under another spelling, so it is never
    // offered for deletion: the rename either goes through or refuses a
    // separate entry and reports it.
    if (other == i) return duplicate ? kVerdictDuplicate : kVerdictRename;
    return duplicate ? kVerdictDuplicate : kVerdictFileExists;
}

// ---------------------------------------------------------------------------
// Renaming and the removal of colliding files

qint32 mdlRename::RenameAll(bool deleteRequested, qint32 delMode, const QString& delTarget) {
    if (deleteRequested && !DeleteCollisions(delMode, delTarget)) return -1;
    const qint32 last = mCount - 1;
    FolderHandle handle;
    QString folder = mBasePath;
    mNextShow = last;
    for (qint32 c = last; c >= 0; --c) {
        const size_t k = size_t(c);
        if (c <= mNextShow) {
            mNextShow -= kRenameShowStep;
            mProgress.SetCaption(QStringLiteral("変換作業中 ") + Num(last - c) +
                                 QStringLiteral(" リネーム中"));
            mProgress.SetTitle(mItemWord + QStringLiteral("名変換中 / ") + Num(mRenamed));
            mProgress.SetText(mBasePath + mOldNames[k]);
            if (mProgress.DoCancel(mItemWord + QStringLiteral("名の置換 / 済 ") + Num(mRenamed))) {
                mStatus[k] += kOutcomeStoppedRenaming;
                break;
            }
        }
        const qint32 s = mStatus[k];
        if (s != kVerdictRename && s != kVerdictDeletedRename) {
            mStatus[k] += kOutcomeSkipped;
            continue;
        }
        // A new path that is not one item of the target's own folder is
        // never handed to the system, whatever the list says.
        const QString& oldPath = mOldNames[k];
        const QString& newPath = mNewNames[k];
        const qsizetype cut = oldPath.lastIndexOf(u'/') + 1;
        const QStringView rel = QStringView(oldPath).left(cut);
        if (!QStringView(newPath).startsWith(rel) || !IsUsableName(QStringView(newPath).mid(cut))) {
            mStatus[k] = kVerdictEmptyName + kOutcomeSkipped;
            continue;
        }
        // The targets of one folder follow each other: its path is built once.
        if (folder.size() != mBasePath.size() + cut || !QStringView(folder).endsWith(rel)) {
            folder.truncate(mBasePath.size());
            folder += rel;
        }
        const int result = mFs.MoveItemIn(handle, folder, QStringView(oldPath).mid(cut),
                                          QStringView(newPath).mid(cut));
        if (result == kRenameOk) {
            ++mRenamed;
            mStatus[k] += kOutcomeRenamed;
        } else if (result == kRenameExists) {
            const QString newFull = mBasePath + newPath;
            mStatus[k] = (mFs.FolderExists(newFull) ? kVerdictFolderExists : kVerdictFileExists) +
                         kOutcomeSkipped;
        } else {
            mStatus[k] += kOutcomeFailed;
        }
    }
    return mRenamed;
}

bool mdlRename::ShowDeleteProgress(qint32 c) {
    mNextShow -= kDeleteShowStep;
    mProgress.SetCaption(QStringLiteral("変換作業中 ") + Num(mCount - c - 1) +
                         QStringLiteral(" 衝突削除中"));
    mProgress.SetTitle(QStringLiteral("衝突ファイル削除中 / ") + Num(mDeleted));
    mProgress.SetText(mBasePath + mOldNames[size_t(c)]);
    if (!mProgress.DoCancel(QStringLiteral("衝突ファイル削除中 / 済 ") + Num(mDeleted)))
        return false;
    mStatus[size_t(c)] += kOutcomeStoppedDeleting;
    return true;
}

// A target marked 3 is marked 9 once its colliding file has been dealt with,
// whether or not the removal worked: a file still there makes the rename
// refuse, and the rename reports it. mDeleted counts only the files really
// removed.
bool mdlRename::DeleteCollisions(qint32 delMode, const QString& delTarget) {
    QString dest;
    if (delMode == kDeleteToFolder) {
        dest = MakeDeleteFolder(mBasePath, delTarget);
        if (dest.isEmpty()) return false;
    }
    QStringList batch;
    mNextShow = mCount - 1;
    for (qint32 c = mCount - 1; c >= 0; --c) {
        const size_t k = size_t(c);
        if (c <= mNextShow) {
            if (delMode == kDeleteToTrash) {
                mProgress.SetText(QStringLiteral("削除中…"));
                RecycleFiles(batch);
            }
            if (ShowDeleteProgress(c)) return false;
        }
        if (mStatus[k] != kVerdictFileExistsDelete) continue;
        const QString oldFull = mBasePath + mOldNames[k];
        const QString collided = mBasePath + mNewNames[k];
        // The user agreed to replace the file, not to lose it: when the
        // target itself has gone meanwhile, the file stays and the target is
        // a plain skip.
        if (!mFs.Exists(oldFull)) {
            mStatus[k] = kVerdictFileExists;
            continue;
        }
        // Only a file that is not the target itself is ever removed; a
        // folder that took the name meanwhile is left alone.
        if (mFs.FileExists(collided) && !IsTargetItself(oldFull, collided)) {
            switch (delMode) {
                case kDeleteToTrash:
                    batch.append(collided);
                    break;
                case kDeleteForced:
                    if (mFs.DeleteFile(collided, true)) ++mDeleted;
                    break;
                case kDeleteToFolder:
                    if (MoveAside(collided, dest + mNewNames[k])) ++mDeleted;
                    break;
                default:
                    break;
            }
        }
        mStatus[k] = kVerdictDeletedRename;
    }
    if (delMode == kDeleteToTrash) {
        mProgress.SetText(QStringLiteral("削除中…"));
        RecycleFiles(batch);
    }
    return true;
}

// A file that could not go to the trash stays where it is; it is never
// deleted instead.
//
// When no trash folder can be established, Qt (6.4) takes the working
// directory for one and moves the file into "files" there. So the user's
// data folder must exist first (Qt then makes its "Trash" itself), and a file
// that still lands outside a trash folder is put back at once.
void mdlRename::RecycleFiles(QStringList& batch) {
    if (batch.isEmpty()) return;
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const bool trashPossible =
        dataHome.startsWith(u'/') && MakeFolders(mFs, dataHome) && mFs.FolderExists(dataHome);
    for (const QString& path : std::as_const(batch)) {
        if (!trashPossible || !mFs.FileExists(path)) continue;
        QString trashed;
        if (!QFile::moveToTrash(path, &trashed)) continue;
        if (IsInTrash(trashed)) {
            ++mDeleted;
        } else if (!trashed.isEmpty()) {
            mFs.MoveItem(trashed, path);
        }
    }
    batch.clear();
}

// The colliding file keeps its path relative to the start folder under the
// delete folder, and never replaces anything there.
bool mdlRename::MoveAside(const QString& from, const QString& to) {
    int result = mFs.MoveItem(from, to);
    if (result != kRenameOk && result != kRenameExists && result != kRenameNotFound &&
        MakeFolders(mFs, FileSystem::ParentFolderName(to)))
        result = mFs.MoveItem(from, to);
    if (result == EXDEV) result = mFs.MoveFileAcrossFileSystems(from, to);
    return result == kRenameOk;
}

// On Linux the drive tag is empty: target/<last folder of start>_del<stamp><nn>.
// Each candidate is created by this run itself (mkdir fails on an existing
// name), so two runs in the same second never share a delete folder.
QString mdlRename::MakeDeleteFolder(const QString& start, const QString& target) {
    if (FileSystem::DriveName(start).isEmpty() || target.isEmpty()) return {};
    const QString name = FileSystem::BuildPath(target, FileSystem::GetFileName(start)) +
                         QStringLiteral("_del") +
                         mClock().toString(QStringLiteral("yyyyMMddHHmmss"));
    if (!MakeFolders(mFs, FileSystem::ParentFolderName(name))) return {};
    for (int n = 0; n < 100; ++n) {
        const QString candidate = name + QStringLiteral("%1").arg(n, 2, 10, QChar(u'0'));
        if (mFs.Exists(candidate)) continue;
        if (mFs.MakeFolder(candidate)) return candidate + u'/';
        if (!mFs.Exists(candidate)) return {};
    }
    return {};
}

// ---------------------------------------------------------------------------
// Restore

namespace {

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
            mProgress.SetCaption(QStringLiteral("復元作業中 ") + Num(i) + QStringLiteral(" リネーム中"));
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
