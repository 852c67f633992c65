#include "platform/FolderListing.h"

#include <algorithm>

#include "platform/NameFolding.h"

namespace sorvane {

namespace {

bool IsAscii(QStringView name) {
    for (const QChar c : name)
        if (c.unicode() >= 0x80) return false;
    return true;
}

char16_t FoldAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c + 0x20) : c;
}

size_t FoldedHash(QStringView name) {
    return NameTable::HashOf(name, FoldAscii);
}

bool FoldedEqual(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

void FolderListing::Clear() {
    folders.clear();
    mFiles.Clear();
    mFileInodes.clear();
    mDevice = 0;
    mEntries.clear();
    mApart.Clear();
    mTable.Clear();
    mExact = false;
    mFolded = false;
    mAsciiNames = true;
}

QStringList FolderListing::FileNames() const {
    QStringList names;
    names.reserve(mFiles.size());
    for (qsizetype i = 0; i < mFiles.size(); ++i) names.append(mFiles[i].toString());
    return names;
}

void FolderListing::ReleaseFiles() {
    mFiles.Release();
    mFileInodes = QList<ino_t>();
    mEntries.clear();
    mTable.Clear();
    mExact = false;
    mFolded = false;
}

PackedNames FolderListing::TakeFiles() {
    PackedNames files = std::move(mFiles);
    ReleaseFiles();
    return files;
}

NameTable FolderListing::TakeTable() {
    mExact = false;
    mFolded = false;
    return std::move(mTable);
}

// A folder's size in bytes is, on the usual file systems, at least the
// bytes of its names (tmpfs counts 20 per entry, ext4 and xfs the folder's
// blocks, btrfs twice the names' bytes), and a name has no more UTF-16 units
// than bytes; an entry takes 12 bytes or more. Room made from it at once
// lets a large folder's lists grow without being moved into fresh memory,
// and room never written is never touched. A size beyond any real folder's
// (a volume may report anything) makes no more room than kMostUnits.
void FolderListing::Reserve(qint64 folderBytes, bool withNames) {
    constexpr qint64 kMostUnits = qint64(1) << 24;
    const qsizetype units = qsizetype(std::clamp<qint64>(folderBytes, 0, kMostUnits));
    const qsizetype entries = units / 12 + 1;
    mFiles.Reserve(units, entries);
    mFileInodes.reserve(entries);
    if (withNames) mEntries.reserve(entries);
}

void FolderListing::AddFile(ino_t inode) {
    mFiles.Close();
    mFileInodes.append(inode);
}

void FolderListing::AddName(QStringView name, bool folder, bool file) {
    if (folder) {
        mEntries.append(InFolders | quint32(folders.size() - 1));
    } else if (file) {
        mEntries.append(InFiles | quint32(mFiles.size() - 1));
    } else {
        mEntries.append(Apart | quint32(mApart.size()));
        mApart.Append(name);
    }
}

QStringView FolderListing::Name(size_t entry) const {
    const quint32 at = mEntries[qsizetype(entry)];
    const qsizetype position = qsizetype(at & ~kPlaceMask);
    switch (at & kPlaceMask) {
        case InFiles:
            return mFiles[position];
        case InFolders:
            return folders[position].name;
        default:
            return mApart[position];
    }
}

bool FolderListing::HasName(QStringView name) const {
    for (size_t i = 0; i < size_t(mEntries.size()); ++i)
        if (Name(i) == name) return true;
    return false;
}

void FolderListing::ForgetInodes() {
    std::fill(mFileInodes.begin(), mFileInodes.end(), ino_t(0));
    for (FolderEntry& folder : folders) folder.inode = 0;
}

// The names of one folder are all different: none needs a look for another.
void FolderListing::BuildTable() {
    const size_t count = size_t(mEntries.size());
    mTable.Reset(count);
    for (size_t i = 0; i < count; ++i) mTable.Insert(NameTable::HashOf(Name(i)), qint32(i));
}

// A volume that ignores case (exFAT, FAT, NTFS, mounted through FUSE or
// not) takes a plain ASCII name for the entry whose name folds alike, and
// only for that one while every name of the folder is plain ASCII: the few
// characters beyond ASCII that fold onto ASCII letters cannot be there.
// Two names that fold alike mean the folder keeps case apart after all,
// and it is left to the file system.
void FolderListing::BuildFoldedTable() {
    const size_t count = size_t(mEntries.size());
    mTable.Reset(count);
    for (size_t i = 0; i < count; ++i) {
        const QStringView name = Name(i);
        if (mTable.FindOrInsert(FoldedHash(name), qint32(i), [&](qint32 other) {
                return FoldedEqual(Name(size_t(other)), name);
            }) >= 0) {
            mTable.Clear();
            return;
        }
    }
    mFolded = true;
}

FolderListing::Holder FolderListing::At(QStringView name, QStringView* entry) const {
    if (!(mExact || mFolded) || !IsAscii(name)) return Holder::Unknown;
    if (mFolded && MayNameAnAlias(name)) return Holder::Unknown;
    const qint32 i = mExact ? mTable.Find(NameTable::HashOf(name),
                                          [&](qint32 other) { return Name(size_t(other)) == name; })
                            : mTable.Find(FoldedHash(name), [&](qint32 other) {
                                  return FoldedEqual(Name(size_t(other)), name);
                              });
    if (i < 0) return Holder::Nothing;
    if (entry) *entry = Name(size_t(i));
    return (mEntries[i] & kPlaceMask) == InFolders ? Holder::Folder : Holder::File;
}

}  // namespace sorvane
