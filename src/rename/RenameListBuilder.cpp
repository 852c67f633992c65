#include "rename/RenameListBuilder.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "matching/clsFileString.h"
#include "platform/NameBytes.h"
#include "platform/NameTable.h"
#include "rename/RenameHelpers.h"

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
    FilterModeGuard(clsFilter& f, bool files, bool folders, bool names)
        : filter(f), isFile(f.IsFile), isFolder(f.IsFolder), listNames(f.ListNames) {
        filter.IsFile = files;
        filter.IsFolder = folders;
        filter.ListNames = names;
    }
    ~FilterModeGuard() {
        filter.IsFile = isFile;
        filter.IsFolder = isFolder;
        filter.ListNames = listNames;
        filter.Listing().Clear();
    }
};

// The name with A-Z folded onto a-z; a name without those letters is
// shared, not copied.
QString Folded(const QString& name) {
    for (const QChar c : name)
        if (c >= u'A' && c <= u'Z') return clsFileString::FileLCase(name);
    return name;
}

// A hash of the name with A-Z folded, without making the folded copy.
size_t FoldedHash(QStringView name) {
    return NameTable::HashOf(name, [](char16_t c) { return clsFileString::FoldUnit(c); });
}

// The order of two names by their units with A-Z folded, a proper prefix
// first: negative, 0 or positive.
int CompareFolded(QStringView a, QStringView b) {
    const char16_t* x = a.utf16();
    const char16_t* y = b.utf16();
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype k = 0; k < common; ++k) {
        if (x[k] == y[k]) continue;
        const char16_t fx = clsFileString::FoldUnit(x[k]), fy = clsFileString::FoldUnit(y[k]);
        if (fx != fy) return fx < fy ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

bool FoldedEqual(QStringView a, QStringView b) {
    if (a.size() != b.size()) return false;
    const char16_t* x = a.utf16();
    const char16_t* y = b.utf16();
    for (qsizetype k = 0; k < a.size(); ++k)
        if (x[k] != y[k] && clsFileString::FoldUnit(x[k]) != clsFileString::FoldUnit(y[k]))
            return false;
    return true;
}

}  // namespace

bool MakeNewName(clsMatching& matching, RenameOperation operation, const QString& insertWord,
                 QString& name) {
    QString text;
    if (!AppendNewName(matching, operation, insertWord, name, text)) return false;
    name = std::move(text);
    return true;
}

namespace {

// The new name as the operation builds it, appended to text.
bool AppendBuiltName(clsMatching& matching, RenameOperation operation, const QString& insertWord,
                     QStringView name, QString& text) {
    switch (operation) {
        case RenameOperation::Replace:
            return matching.AppendReplacedName(name, text);
        case RenameOperation::InsertFront:
            text += insertWord;
            text += name;
            return true;
        case RenameOperation::InsertBack:
            text += name;
            text += insertWord;
            return true;
        default:
            return false;
    }
}

// A new name is compared with other names by the bytes it will have: its
// text, from start on, is made the one a name of those bytes read from disk
// has, so that byte escapes side by side that spell a character are that
// character.
void MakeNewNameCanonical(QString& text, qsizetype start) {
    if (!name_bytes::HasSurrogate(QStringView(text).sliced(start))) return;
    QString built = text.sliced(start);
    if (name_bytes::MakeCanonical(built)) text.replace(start, text.size() - start, built);
}

}  // namespace

bool AppendNewName(clsMatching& matching, RenameOperation operation, const QString& insertWord,
                   QStringView name, QString& text) {
    const qsizetype start = text.size();
    if (!AppendBuiltName(matching, operation, insertWord, name, text)) return false;
    MakeNewNameCanonical(text, start);
    return true;
}

RenameListBuilder::RenameListBuilder(const FileSystem& fs, clsMatching& matching, clsFilter& filter)
    : mFs(fs), mMatching(matching), mFilter(filter) {}

// A folder of plain ASCII names, with words that hold no surrogate, gives
// new names that hold none: they need no look for bytes. Otherwise the new
// name as built must hold only surrogates of the old name or the words
// (half of a pair that a "?" cut off names no byte the user meant), and
// is then made canonical.
bool RenameListBuilder::AppendNewName(QStringView name) {
    QString& text = mNewNames.OpenText();
    const qsizetype start = text.size();
    if (mPlan.settings.repair != NameRepair::None) return AppendRepairedName(name, text);
    if (!AppendBuiltName(mMatching, mPlan.settings.operation, mPlan.settings.insertWord, name,
                         text))
        return false;
    const size_t item = size_t(mFolderCount);
    if (mNamesMayHoldBytes) {
        const bool pieces =
            name_bytes::SurrogatesComeFrom(QStringView(text).sliced(start), name, mWords);
        if (mFolderHalves.size() <= item) mFolderHalves.resize(item + 1);
        mFolderHalves[item] = !pieces;
        if (pieces) MakeNewNameCanonical(text, start);
    }
    Q_ASSERT(mNamesMayHoldBytes || !name_bytes::HasSurrogate(QStringView(text).sliced(start)));
    return true;
}

// A repair's new name is the repaired name, which its decoding made: it
// holds no byte escape. One the repair cannot read gets no name, and its
// own verdict.
bool RenameListBuilder::AppendRepairedName(QStringView name, QString& text) {
    const RepairResult result = RepairName(mPlan.settings.repair, name, mRepaired);
    if (result == RepairResult::NotTarget) return false;
    const size_t item = size_t(mFolderCount);
    if (mFolderUnreadable.size() <= item) mFolderUnreadable.resize(item + 1);
    mFolderUnreadable[item] = result == RepairResult::Unreadable;
    if (result == RepairResult::Repaired) text += mRepaired;
    return true;
}

bool RenameListBuilder::IsUnreadable(size_t i) const {
    return mPlan.settings.repair != NameRepair::None && mFolderUnreadable[i];
}

bool RenameListBuilder::IsFolderItem(size_t i) const {
    return mPlan.settings.repair != NameRepair::None ? mFilter.ListIsFolder(int(mFolderItem[i]))
                                                     : mPlan.settings.folderMode;
}

bool RenameListBuilder::IsUsableNewName(size_t i) const {
    return IsUsableName(NewName(i)) && !(mNamesMayHoldBytes && mFolderHalves[i]);
}

RenamePlan RenameListBuilder::Build(const QString& startFolder, const RenameListSettings& settings,
                                    qint32 maximum, ListProgress& progress) {
    mPlan = RenamePlan{};
    mPlan.settings = settings;
    mPlan.maxCount = maximum;
    mWords = settings.operation == RenameOperation::Replace ? mMatching.ReplacePattern()
                                                            : settings.insertWord;
    mWordsHoldSurrogates = name_bytes::HasSurrogate(mWords);
    mProgress = &progress;
    mNameMaxDevice = 0;
    // The collision checks look the new names up in the folder's listing.
    // A repair takes files and folders together.
    const bool repair = settings.repair != NameRepair::None;
    FilterModeGuard mode(mFilter, repair || !settings.folderMode, repair || settings.folderMode,
                         !settings.quickList);
    try {
        mPlan.itemWord = repair                ? QStringLiteral("項目")
                         : settings.folderMode ? QStringLiteral("フォルダ")
                                               : QStringLiteral("ファイル");
        mPollTitle = mPlan.itemWord + QStringLiteral("リストの作成");
        mPlan.basePath = startFolder.endsWith(u'/') ? startFolder : startFolder + u'/';
        mCapacity = kInitialCapacity;
        mPlan.targets.Reserve(size_t(mCapacity) + 1);

        mPlan.complete = ListFolder(mPlan.basePath);
        ReleaseFolderArrays();
    } catch (const std::bad_alloc&) {
        ReleaseFolderArrays();
        mPlan.complete = false;
        mPlan.targets.Clear();
    }
    mProgress = nullptr;
    return std::move(mPlan);
}

bool RenameListBuilder::ListFolder(const QString& folder) {
    if (!MatchFolderItems(folder)) {
        mPlan.targets.Clear();
        return false;
    }
    if (mFolderCount > 0) {
        if (mFolderCount + mPlan.targets.Count() >= mCapacity) Grow();
        // The limit and the folders' safety are the volume's: asked once
        // per device.
        const dev_t device = mFilter.Listing().Device();
        if (device == 0 || device != mNameMaxDevice) {
            const FileSystem::VolumeFacts volume = mFs.VolumeOf(folder);
            mNameMax = volume.names;
            mFoldersMove = volume.foldersMove;
            mNameMaxDevice = device;
        }
        const bool added =
            mPlan.settings.quickList ? AddFolderItemsQuick(folder) : AddFolderItems(folder);
        if (!added) return false;
    }
    if (mPlan.settings.recursive) {
        // Real folders only: a symbolic link to a folder is never entered,
        // whatever it points to. They come from the read that listed the
        // folder's items, which failed the list if it was incomplete.
        const QList<FolderEntry> subfolders = std::move(mFilter.Listing().folders);
        for (const FolderEntry& sub : subfolders)
            if (!ListFolder(folder + sub.name + u'/')) return false;
    }
    return true;
}

void RenameListBuilder::Grow() {
    const qint64 wanted = qint64(mCapacity) * 2 + mFolderCount;
    mCapacity = qint32(std::min<qint64>(wanted, std::max<qint64>(mPlan.maxCount, mCapacity)));
    mPlan.targets.Reserve(size_t(mCapacity) + 1);
}

// The working arrays of the last folder go with their memory, not only
// their contents: after a large folder they would hold it to the end.
void RenameListBuilder::ReleaseFolderArrays() {
    std::vector<quint32>().swap(mFolderOrder);
    std::vector<quint32>().swap(mFolderItem);
    mNewNames.Release();
    std::vector<bool>().swap(mFolderDuplicate);
    std::vector<bool>().swap(mFolderHalves);
    std::vector<bool>().swap(mFolderUnreadable);
    std::vector<int>().swap(mFolderAttr);
    std::unordered_map<QString, qint32>().swap(mOldExact);
    std::unordered_map<QString, qint32>().swap(mOldFolded);
}

bool RenameListBuilder::Poll() {
    return mProgress->Stop(mPollTitle);
}

bool RenameListBuilder::MatchFolderItems(const QString& folder) {
    if (mProgress->WantsTexts()) {
        mProgress->SetCaption(QStringLiteral("変換作業中 ") + Num(mPlan.targets.Count()) +
                              QStringLiteral(" ( 0 ) リスト作成中"));
        mProgress->SetTitle(mPlan.itemWord + QStringLiteral("リスト作成中 / ") +
                            Num(mPlan.targets.Count()) + QStringLiteral(" ( 0 )"));
        mProgress->SetText(folder);
    }
    if (Poll()) return false;

    if (mFilter.MakeFileList(folder) != 0) return false;
    // A repair's names come from its decoding, never from pieces of bytes.
    mNamesMayHoldBytes = mPlan.settings.repair == NameRepair::None &&
                         (mWordsHoldSurrogates || !mFilter.Listing().NamesAscii());

    const qint32 n = mFilter.ListCount();
    if (qint32(mFolderItem.size()) < n) mFolderItem.assign(size_t(n), 0);
    mNewNames.Clear();
    mFolderCount = 0;
    mNextShow = 0;
    for (qint32 i = 0; i < n; ++i) {
        const QStringView name = mFilter.ListName(i);
        if (AppendNewName(name)) {
            mNewNames.Close();
            mFolderItem[size_t(mFolderCount)] = quint32(i);
            ++mFolderCount;
        }
        if (i >= mNextShow) {
            mNextShow += kShowStep;
            if (mProgress->WantsTexts()) {
                mProgress->SetCaption(QStringLiteral("変換作業中 ") + Num(mPlan.targets.Count()) +
                                      QStringLiteral(" ( ") + Num(i) +
                                      QStringLiteral(" ) リスト作成中"));
                mProgress->SetTitle(mPlan.itemWord + QStringLiteral("リスト作成中 / ") +
                                    Num(mPlan.targets.Count()) + QStringLiteral(" ( ") + Num(i) +
                                    QStringLiteral(" )"));
                mProgress->SetText(Joined(folder, name));
            }
            if (Poll()) return false;
        }
    }
    return true;
}

// The order in which the folder's targets join the list: the listing order,
// or with sorting a stable ascending order of the old names with A-Z
// folded, from the last to the first. The names are compared where the
// listing holds them, unit by unit, so that sorting a large folder takes
// no memory beyond the order itself.
void RenameListBuilder::SortFolderItems() {
    OrderAsListed();
    if (!mPlan.settings.folderSort || mFolderOrder.size() < 2) return;
    // From the last to the first: the greater name first, and of equal
    // names the later one first, so that the order is the reverse of a
    // stable ascending sort without the merge buffer of a stable sort.
    const auto before = [this](quint32 a, quint32 b) {
        const int c = CompareFolded(OldName(a), OldName(b));
        return c != 0 ? c > 0 : a > b;
    };
    // Many file systems list a folder in the order its items were made,
    // which is often the order of their names: one look tells.
    std::vector<quint32>& order = mFolderOrder;
    if (std::is_sorted(order.begin(), order.end(), before)) return;
    if (std::is_sorted(order.rbegin(), order.rend(), before)) {
        std::reverse(order.begin(), order.end());
        return;
    }
    std::sort(order.begin(), order.end(), before);
}

void RenameListBuilder::OrderAsListed() {
    mFolderOrder.resize(size_t(mFolderCount));
    for (size_t i = 0; i < mFolderOrder.size(); ++i) mFolderOrder[i] = quint32(i);
}

// The captions while the targets of one folder join the list.
void RenameListBuilder::SetAddingCaptions() {
    mProgress->SetCaption(QStringLiteral("変換作業中 ") + Num(mPlan.targets.Count()) +
                          QStringLiteral(" リスト作成中"));
    mProgress->SetTitle(mPlan.itemWord + QStringLiteral("リスト作成中 / ") +
                        Num(mPlan.targets.Count()) + QStringLiteral(" check"));
}

// True when the user stopped the run.
bool RenameListBuilder::ShowAdding(const QString& oldFull) {
    if (mProgress->WantsTexts()) {
        SetAddingCaptions();
        mProgress->SetText(oldFull);
    }
    return Poll();
}

// The number of this folder's targets that still fit under the maximum;
// fits turns false when some do not.
qint32 RenameListBuilder::CountToAdd(bool& fits) const {
    const qint32 room = mPlan.maxCount - mPlan.targets.Count();
    if (mFolderCount > room) {
        fits = false;
        return room;
    }
    return mFolderCount;
}

bool RenameListBuilder::AddFolderItems(const QString& folder) {
    if (mProgress->WantsTexts()) SetAddingCaptions();
    if (Poll()) return false;
    // What stands at the new names is read in listing order (see
    // ReadNewNameAttributes); the duplicate marks do not depend on the order.
    ReadNewNameAttributes(folder);
    MarkDuplicates();
    SortFolderItems();
    mOldMapsBuilt = false;
    return AddTargets(folder, false);
}

// Unchecked: the targets in listing order, with the verdicts that need no
// look at the folder.
bool RenameListBuilder::AddFolderItemsQuick(const QString& folder) {
    OrderAsListed();
    return AddTargets(folder, true);
}

// Even without checks a name that is not one item of this folder is never
// handed to the rename.
Verdict RenameListBuilder::QuickVerdict(qint32 i) const {
    const QStringView newName = NewName(size_t(i));
    if (IsUnreadable(size_t(i))) return Verdict::Unreadable;
    if (!IsUsableNewName(size_t(i))) return Verdict::EmptyName;
    if (!FitsNameMax(newName, mNameMax)) return Verdict::TooLong;
    return Verdict::Rename;
}

// The folder's targets join the list in mFolderOrder, as many as fit under
// the maximum. False when the user stopped, or when some did not fit.
bool RenameListBuilder::AddTargets(const QString& folder, bool quick) {
    bool result = true;
    const qint32 count = CountToAdd(result);
    TargetStore& targets = mPlan.targets;
    const FolderListing& listing = mFilter.Listing();
    targets.BeginFolder(folder.mid(mPlan.basePath.size()), listing.Device());
    // Where the names of a large folder are mostly targets', the list
    // shares the texts they lie in instead of copying them name by name.
    // A folder's name lies in no text of the listing's files.
    const bool shareOld = !mPlan.settings.folderMode && mPlan.settings.repair == NameRepair::None &&
                          TargetStore::WorthSharing(listing.FileText(), listing.FileCount(), count);
    const bool shareNew = TargetStore::WorthSharing(mNewNames.Text(), mNewNames.size(), count);
    const quint16 oldText = shareOld ? targets.ShareText(listing.FileText()) : 0;
    const quint16 newText = shareNew ? targets.ShareText(mNewNames.Text()) : 0;
    const qint32 showStep = quick ? kQuickShowStep : kShowStep;
    mNextShow = -1;
    for (qint32 a = 0; a < count; ++a) {
        const qint32 i = qint32(mFolderOrder[size_t(a)]);
        // Each target by the rules of its own kind.
        const bool isFolder = IsFolderItem(size_t(i));
        Verdict verdict = quick                     ? QuickVerdict(i)
                          : IsUnreadable(size_t(i)) ? Verdict::Unreadable
                          : isFolder                ? FolderVerdict(i, folder)
                                                    : FileVerdict(i, folder);
        if (isFolder && !mFoldersMove && verdict == Verdict::Rename)
            verdict = Verdict::FolderUnsafe;
        const QStringView oldName = OldName(size_t(i)), newName = NewName(size_t(i));
        const TargetStore::NamePlace oldPlace =
            shareOld ? targets.PlaceIn(oldText, oldName) : targets.Copy(oldName);
        const TargetStore::NamePlace newPlace =
            shareNew ? targets.PlaceIn(newText, newName) : targets.Copy(newName);
        targets.Add(oldPlace, newPlace, TargetStatus(verdict),
                    mFilter.ListInode(int(mFolderItem[size_t(i)])), isFolder);
        if (a >= mNextShow) {
            mNextShow += showStep;
            if (ShowAdding(Joined(folder, OldName(size_t(i))))) return false;
        }
    }
    return result;
}

// ---------------------------------------------------------------------------
// The verdict of each target of a folder: what stands at its new name,
// whether another target shares that name, and whether what is there is
// the target itself or another target.

// What is at each new name, read in the order the folder was listed in:
// the file system answers that order fastest, and the names are still where
// the listing put them in memory.
// The folder's listing answers for the names it can tell exactly; the
// others are looked up one by one.
void RenameListBuilder::ReadNewNameAttributes(const QString& folder) {
    const size_t n = size_t(mFolderCount);
    mFolderAttr.assign(n, -1);
    const FolderListing& listing = mFilter.Listing();
    QString full = folder;
    const qsizetype folderLength = full.size();
    for (size_t i = 0; i < n; ++i) {
        if (!IsUsableNewName(i)) {
            mFolderAttr[i] = kUnusableName;
            continue;
        }
        QStringView entry;
        const FolderListing::Holder holder =
            mNamesFromListing ? listing.At(NewName(i), &entry) : FolderListing::Holder::Unknown;
        const int itself = entry == OldName(i) ? kTargetItself : 0;
        switch (holder) {
            case FolderListing::Holder::Nothing:
                break;
            case FolderListing::Holder::File:
                mFolderAttr[i] = itself;
                break;
            case FolderListing::Holder::Folder:
                mFolderAttr[i] = kAttrFolder | itself;
                break;
            case FolderListing::Holder::Unknown:
                full.truncate(folderLength);
                full += NewName(i);
                mFolderAttr[i] = mFs.GetAttributes(full);
                break;
        }
    }
}

// Every target whose new name equals another's (A-Z folded) is marked, the
// first one included. The name table keeps indices and hashes only: no
// node and no folded copy per name. It takes over the listing's table,
// whose lookups are over, and its memory with it.
void RenameListBuilder::MarkDuplicates() {
    const size_t n = size_t(mFolderCount);
    mFolderDuplicate.assign(n, false);
    if (n < 2) return;
    NameTable table = mFilter.Listing().TakeTable();
    table.Reset(n);
    for (size_t i = 0; i < n; ++i) {
        const QStringView name = NewName(i);
        const qint32 first = table.FindOrInsert(FoldedHash(name), qint32(i), [&](qint32 j) {
            return FoldedEqual(NewName(size_t(j)), name);
        });
        if (first < 0) continue;
        mFolderDuplicate[i] = true;
        mFolderDuplicate[size_t(first)] = true;
    }
}

// Whether item i of the folder being listed finds itself at its new name:
// from the listing where it told, else from the file system.
bool RenameListBuilder::IsTargetItself(const QString& folder, qint32 i) const {
    if (mFolderAttr[size_t(i)] & kTargetItself) return true;
    return rename_helpers::IsTargetItself(mFs, Joined(folder, OldName(size_t(i))),
                                          Joined(folder, NewName(size_t(i))));
}

Verdict RenameListBuilder::FolderVerdict(qint32 i, const QString& folder) {
    const QStringView newName = NewName(size_t(i));
    const bool duplicate = mFolderDuplicate[size_t(i)];
    const int a = mFolderAttr[size_t(i)];
    if (a == kUnusableName) return Verdict::EmptyName;
    if (!FitsNameMax(newName, mNameMax)) return Verdict::TooLong;
    if (a < 0) return duplicate ? Verdict::Duplicate : Verdict::Rename;
    if (!(a & kAttrFolder)) return duplicate ? Verdict::Duplicate : Verdict::FileExists;
    if (!IsTargetItself(folder, i)) return Verdict::FolderExists;
    return newName == OldName(size_t(i)) ? Verdict::Identical : Verdict::Rename;
}

Verdict RenameListBuilder::FileVerdict(qint32 i, const QString& folder) {
    const QStringView newName = NewName(size_t(i));
    const bool duplicate = mFolderDuplicate[size_t(i)];
    const int a = mFolderAttr[size_t(i)];
    if (a == kUnusableName) return Verdict::EmptyName;
    if (!FitsNameMax(newName, mNameMax)) return Verdict::TooLong;
    // A folder alone at the new name is left to the rename, which refuses
    // to replace it and reports it.
    if (a < 0) return duplicate ? Verdict::Duplicate : Verdict::Rename;
    if (a & kAttrFolder) return duplicate ? Verdict::FolderExists : Verdict::Rename;

    if (IsTargetItself(folder, i))
        return newName == OldName(size_t(i)) ? Verdict::Identical : Verdict::Rename;

    if (!mOldMapsBuilt) {
        mOldExact.clear();
        mOldFolded.clear();
        mOldExact.reserve(size_t(mFolderCount));
        mOldFolded.reserve(size_t(mFolderCount));
        // In the order the targets join the list: where names differ only
        // in case, the first of them there stands for them all.
        for (const quint32 j : mFolderOrder) {
            const QString old = OldName(j).toString();
            mOldExact.try_emplace(old, qint32(j));
            mOldFolded.try_emplace(Folded(old), qint32(j));
        }
        mOldMapsBuilt = true;
    }
    qint32 other = -1;
    const QString key = newName.toString();  // a collision: rare enough to copy
    if (const auto exact = mOldExact.find(key); exact != mOldExact.end()) {
        other = exact->second;
    } else if (const auto folded = mOldFolded.find(Folded(key)); folded != mOldFolded.end()) {
        other = folded->second;
    }
    // Another target, which will itself be renamed: chains and swaps are
    // never renamed in sequence.
    if (other >= 0 && other != i) return Verdict::OtherTarget;
    // A change of letter case only. Where the file system's inode numbers
    // cannot be trusted to tell (sshfs or CIFS without server inodes), the
    // item found may be the target under another spelling, so it is never
    // offered for deletion: the rename either goes through or refuses a
    // separate entry and reports it.
    if (other == i) return duplicate ? Verdict::Duplicate : Verdict::Rename;
    return duplicate ? Verdict::Duplicate : Verdict::FileExists;
}

}  // namespace sorvane
