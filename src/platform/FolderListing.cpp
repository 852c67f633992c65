#include "platform/FolderListing.h"

#include <algorithm>

namespace sorvane {

namespace {

bool IsAscii(QStringView name) {
    for (const QChar c : name)
        if (c.unicode() >= 0x80) return false;
    return true;
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
}

PackedNames FolderListing::TakeFiles() {
    PackedNames files = std::move(mFiles);
    ReleaseFiles();
    return files;
}

NameTable FolderListing::TakeTable() {
    mExact = false;
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

FolderListing::Holder FolderListing::At(QStringView name) const {
    if (!mExact || !IsAscii(name)) return Holder::Unknown;
    const qint32 i = mTable.Find(NameTable::HashOf(name),
                                 [&](qint32 other) { return Name(size_t(other)) == name; });
    if (i < 0) return Holder::Nothing;
    return (mEntries[i] & kPlaceMask) == InFolders ? Holder::Folder : Holder::File;
}

}  // namespace sorvane
