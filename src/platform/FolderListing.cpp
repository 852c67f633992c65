#include "platform/FolderListing.h"

#include <QHash>

namespace sorvane {

namespace {

bool IsAscii(const QString& name) {
    for (const QChar c : name)
        if (c.unicode() >= 0x80) return false;
    return true;
}

}  // namespace

void FolderListing::Clear() {
    files.clear();
    folders.clear();
    mNames.clear();
    mFolder.clear();
    mHashes.clear();
    mTable.clear();
    mExact = false;
}

void FolderListing::AddName(const QString& name, bool folder) {
    mNames.push_back(name);
    mFolder.push_back(folder);
}

void FolderListing::BuildTable() {
    const size_t n = mNames.size();
    size_t capacity = 8;
    while (capacity < n * 2) capacity *= 2;
    const size_t mask = capacity - 1;
    mTable.assign(capacity, -1);
    mHashes.resize(n);
    for (size_t i = 0; i < n; ++i) {
        const size_t h = mHashes[i] = qHash(mNames[i]);
        size_t at = h & mask;
        while (mTable[at] >= 0) at = (at + 1) & mask;
        mTable[at] = qint32(i);
    }
}

FolderListing::Holder FolderListing::At(const QString& name) const {
    if (!mExact || mTable.empty() || !IsAscii(name)) return Holder::Unknown;
    const size_t mask = mTable.size() - 1;
    const size_t h = qHash(name);
    for (size_t at = h & mask;; at = (at + 1) & mask) {
        const qint32 i = mTable[at];
        if (i < 0) return Holder::Nothing;
        if (mHashes[size_t(i)] == h && mNames[size_t(i)] == name)
            return mFolder[size_t(i)] ? Holder::Folder : Holder::File;
    }
}

}  // namespace sorvane
