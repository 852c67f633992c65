#include "rename/TargetStore.h"

#include <algorithm>
#include <cstring>

namespace sorvane {

namespace {

// 256 KiB: large enough that a million targets take a few hundred blocks,
// and each is one allocation the system hands back when the list goes.
constexpr size_t kBlockUnits = size_t(1) << 17;

}  // namespace

void TargetStore::Clear() {
    std::vector<Target>().swap(mTargets);
    std::vector<QString>().swap(mFolders);
    std::vector<dev_t>().swap(mDevices);
    std::vector<std::unique_ptr<char16_t[]>>().swap(mBlocks);
    mUsed = mBlockSize = 0;
    mPathUnits = 0;
}

void TargetStore::BeginFolder(const QString& relative, dev_t device) {
    const bool lastIsEmpty =
        !mFolders.empty() && (mTargets.empty() || mTargets.back().folder + 1 != mFolders.size());
    if (lastIsEmpty) {
        mFolders.back() = relative;
        mDevices.back() = device;
    } else {
        mFolders.push_back(relative);
        mDevices.push_back(device);
    }
}

// Room for units more in the last block, or in a new one; a name pair
// longer than a block gets a block of its own size.
char16_t* TargetStore::Room(size_t units) {
    if (mBlocks.empty() || mBlockSize - mUsed < units) {
        mBlockSize = std::max(kBlockUnits, units);
        mBlocks.push_back(std::make_unique_for_overwrite<char16_t[]>(mBlockSize));
        mUsed = 0;
    }
    char16_t* at = mBlocks.back().get() + mUsed;
    mUsed += units;
    return at;
}

void TargetStore::Add(QStringView oldName, QStringView newName, TargetStatus status, ino_t inode) {
    if (mFolders.empty()) BeginFolder(QString());
    const size_t oldLength = size_t(oldName.size()), newLength = size_t(newName.size());
    char16_t* at = Room(oldLength + newLength);
    mPathUnits += qint64(mFolders.back().size() + oldLength + newLength);
    if (oldLength) std::memcpy(at, oldName.utf16(), oldLength * sizeof(char16_t));
    if (newLength) std::memcpy(at + oldLength, newName.utf16(), newLength * sizeof(char16_t));
    mTargets.push_back(Target{quint32(mBlocks.size() - 1), quint32(at - mBlocks.back().get()),
                              quint32(mFolders.size() - 1), quint32(oldLength), quint32(newLength),
                              status, inode});
}

FileIdentity TargetStore::Identity(qint32 i) const {
    const Target& t = Record(i);
    return FileIdentity{mDevices[t.folder], t.inode, t.inode != 0};
}

QStringView TargetStore::OldName(qint32 i) const {
    const Target& t = Record(i);
    return QStringView(mBlocks[t.block].get() + t.offset, qsizetype(t.oldLength));
}

QStringView TargetStore::NewName(qint32 i) const {
    const Target& t = Record(i);
    return QStringView(mBlocks[t.block].get() + t.offset + t.oldLength, qsizetype(t.newLength));
}

}  // namespace sorvane
