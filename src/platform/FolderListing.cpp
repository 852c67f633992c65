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
    files.clear();
    folders.clear();
    mFileInodes.clear();
    mDevice = 0;
    mNames.clear();
    mFolder.clear();
    mTable.Clear();
    mExact = false;
}

void FolderListing::AddFile(const QString& name, ino_t inode) {
    files.append(name);
    mFileInodes.push_back(inode);
}

void FolderListing::AddName(const QString& name, bool folder) {
    mNames.push_back(name);
    mFolder.push_back(folder);
}

void FolderListing::ForgetInodes() {
    std::fill(mFileInodes.begin(), mFileInodes.end(), ino_t(0));
    for (FolderEntry& folder : folders) folder.inode = 0;
}

// The names of one folder are all different: none needs a look for another.
void FolderListing::BuildTable() {
    mTable.Reset(mNames.size());
    for (size_t i = 0; i < mNames.size(); ++i)
        mTable.Insert(NameTable::HashOf(mNames[i]), qint32(i));
}

FolderListing::Holder FolderListing::At(QStringView name) const {
    if (!mExact || !IsAscii(name)) return Holder::Unknown;
    const qint32 i = mTable.Find(NameTable::HashOf(name),
                                 [&](qint32 other) { return mNames[size_t(other)] == name; });
    if (i < 0) return Holder::Nothing;
    return mFolder[size_t(i)] ? Holder::Folder : Holder::File;
}

}  // namespace sorvane
