// The verdict of each target of a folder: what stands at its new name,
// whether another target shares that name, and whether what is there is
// the target itself or another target.

#include "matching/clsFileString.h"
#include "platform/NameTable.h"
#include "rename/RenameHelpers.h"
#include "rename/mdlRename.h"

namespace sorvane {

using namespace rename_helpers;

namespace {

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

// What is at each new name, read in the order the folder was listed in:
// the file system answers that order fastest, and the names are still where
// the listing put them in memory.
// The folder's listing answers for the names it can tell exactly; the
// others are looked up one by one.
void mdlRename::ReadNewNameAttributes(const QString& folder) {
    const size_t n = size_t(mFolderCount);
    mFolderAttr.assign(n, -1);
    const FolderListing& listing = mFilter.Listing();
    QString full = folder;
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

// Every target whose new name equals another's (A-Z folded) is marked, the
// first one included. The name table keeps indices and hashes only: no
// node and no folded copy per name.
void mdlRename::MarkDuplicates() {
    const size_t n = size_t(mFolderCount);
    mFolderDuplicate.assign(n, false);
    if (n < 2) return;
    NameTable table;
    table.Reset(n);
    for (size_t i = 0; i < n; ++i) {
        const QString& name = mFolderNew[i];
        const qint32 first = table.FindOrInsert(FoldedHash(name), qint32(i), [&](qint32 j) {
            return FoldedEqual(mFolderNew[size_t(j)], name);
        });
        if (first < 0) continue;
        mFolderDuplicate[i] = true;
        mFolderDuplicate[size_t(first)] = true;
    }
}

// The item at the new name is the target itself when both names lead to the
// same device and inode: on a file system that ignores letter case (of A-Z
// or of any letters) a change of case finds the target there. A hard link
// with the same identity is a separate entry; the rename then refuses to
// replace it, so it is never taken for a file that may be deleted. Where
// each spelling has a node number of its own (a volume mounted through
// FUSE), the folder's listing tells.
bool mdlRename::IsTargetItself(const QString& oldFull, const QString& newFull) const {
    const FileIdentity found = mFs.Identity(newFull);
    if (!found.valid) return false;
    if (found == mFs.Identity(oldFull)) return true;
    const QString folder = FileSystem::ParentFolderName(oldFull);
    return folder == FileSystem::ParentFolderName(newFull) &&
           mFs.SameEntrySpeltOtherwise(folder, FileSystem::GetFileName(oldFull),
                                       FileSystem::GetFileName(newFull));
}

// The same for item i of the folder being listed.
bool mdlRename::IsTargetItself(const QString& folder, qint32 i) const {
    return IsTargetItself(folder + mFolderOld[size_t(i)], folder + mFolderNew[size_t(i)]);
}

Verdict mdlRename::FolderVerdict(qint32 i, const QString& folder) {
    const QString& newName = mFolderNew[size_t(i)];
    const bool duplicate = mFolderDuplicate[size_t(i)];
    if (!IsUsableName(newName)) return Verdict::EmptyName;
    if (!FitsNameMax(newName, mNameMax)) return Verdict::TooLong;
    const int a = mFolderAttr[size_t(i)];
    if (a < 0) return duplicate ? Verdict::Duplicate : Verdict::Rename;
    if (!(a & kAttrFolder)) return duplicate ? Verdict::Duplicate : Verdict::FileExists;
    if (!IsTargetItself(folder, i)) return Verdict::FolderExists;
    return newName == mFolderOld[size_t(i)] ? Verdict::Identical : Verdict::Rename;
}

Verdict mdlRename::FileVerdict(qint32 i, const QString& folder) {
    const QString& newName = mFolderNew[size_t(i)];
    const bool duplicate = mFolderDuplicate[size_t(i)];
    if (!IsUsableName(newName)) return Verdict::EmptyName;
    if (!FitsNameMax(newName, mNameMax)) return Verdict::TooLong;
    const int a = mFolderAttr[size_t(i)];
    // A folder alone at the new name is left to the rename, which refuses
    // to replace it and reports it.
    if (a < 0) return duplicate ? Verdict::Duplicate : Verdict::Rename;
    if (a & kAttrFolder) return duplicate ? Verdict::FolderExists : Verdict::Rename;

    if (IsTargetItself(folder, i))
        return newName == mFolderOld[size_t(i)] ? Verdict::Identical : Verdict::Rename;

    if (!mOldMapsBuilt) {
        mOldExact.clear();
        mOldFolded.clear();
        mOldExact.reserve(size_t(mFolderCount));
        mOldFolded.reserve(size_t(mFolderCount));
        // In the order the targets join the list: where names differ only
        // in case, the first of them there stands for them all.
        for (const quint32 j : mFolderOrder) {
            mOldExact.try_emplace(mFolderOld[j], qint32(j));
            mOldFolded.try_emplace(Folded(mFolderOld[j]), qint32(j));
        }
        mOldMapsBuilt = true;
    }
    qint32 other = -1;
    if (const auto exact = mOldExact.find(newName); exact != mOldExact.end()) {
        other = exact->second;
    } else if (const auto folded = mOldFolded.find(Folded(newName)); folded != mOldFolded.end()) {
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
