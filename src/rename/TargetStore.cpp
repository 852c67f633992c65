#include "rename/TargetStore.h"

#include <algorithm>
#include <new>

namespace sorvane {

namespace {

// 256 KiB: large enough that a million targets take a few hundred blocks,
// and each is one allocation the system hands back when the list goes.
constexpr qsizetype kBlockUnits = qsizetype(1) << 17;
constexpr size_t kTexts = size_t(1) << 15;

}  // namespace

void TargetStore::Clear() {
    std::vector<Target*>().swap(mChunks);
    mCount = 0;
    std::vector<LongName>().swap(mLongNames);
    std::vector<FolderRecord>().swap(mFolders);
    std::vector<QString>().swap(mTexts);
    mMemory.Release();
    mBlock = -1;
    mBlockAt = nullptr;
    mUsed = 0;
    mPathUnits = 0;
}

void TargetStore::BeginFolder(const QString& relative, dev_t device) {
    const qint32 first = Count();
    if (!mFolders.empty() && mFolders.back().first == first)
        mFolders.back() = FolderRecord{relative, device, first};
    else
        mFolders.push_back(FolderRecord{relative, device, first});
}

// A text of a quarter block or more, at least half of whose names are
// targets': a smaller one is copied into the blocks, which wastes nothing,
// and fewer names are not worth holding all of it for.
bool TargetStore::WorthSharing(const QString& text, qsizetype names, qsizetype usedNames) {
    return text.size() >= kBlockUnits / 4 && usedNames * 2 >= names;
}

// The texts are counted in 15 bits, which a shared text of at least a
// quarter block each and blocks of their own reach only beyond two
// gigabytes of names: more is refused as memory that cannot be had.
quint16 TargetStore::AddText(QString text) {
    if (mTexts.size() >= kTexts) throw std::bad_alloc();
    mTexts.push_back(std::move(text));
    return quint16(mTexts.size() - 1);
}

quint16 TargetStore::ShareText(const QString& text) {
    return AddText(text);
}

TargetStore::NamePlace TargetStore::PlaceIn(quint16 text, QStringView name) const {
    const qsizetype start = name.data() - mTexts[text].constData();
    Q_ASSERT(start >= 0 && start + name.size() <= mTexts[text].size());
    return NamePlace{text, quint32(start), quint32(name.size())};
}

// A name longer than a block gets a block of its own size. A block is the
// store's memory, which its text only shows (and never frees).
TargetStore::NamePlace TargetStore::Copy(QStringView name) {
    const qsizetype units = name.size();
    if (mBlock < 0 || mTexts[size_t(mBlock)].size() - mUsed < units) {
        const qsizetype size = std::max(kBlockUnits, units);
        auto* const block = static_cast<char16_t*>(mMemory.Take(size_t(size) * sizeof(char16_t)));
        mBlock = AddText(QString::fromRawData(reinterpret_cast<const QChar*>(block), size));
        mBlockAt = block;
        mUsed = 0;
    }
    std::copy_n(name.utf16(), units, mBlockAt + mUsed);
    const NamePlace place{quint16(mBlock), quint32(mUsed), quint32(units)};
    mUsed += units;
    return place;
}

void TargetStore::Add(NamePlace oldName, NamePlace newName, TargetStatus status, ino_t inode,
                      bool folder) {
    if (mFolders.empty()) BeginFolder(QString());
    mPathUnits += qint64(mFolders.back().relative.size() + oldName.length + newName.length);
    if (mChunks.size() <= size_t(mCount) >> kChunkBits)
        mChunks.push_back(static_cast<Target*>(mMemory.Take(kChunkBytes)));
    if (oldName.length >= kLong || newName.length >= kLong)
        mLongNames.push_back(LongName{mCount, oldName.length, newName.length});
    const auto inRecord = [](quint32 length) { return quint8(std::min<quint32>(length, kLong)); };
    const Target target{inode,
                        oldName.start,
                        newName.start,
                        oldName.text,
                        folder,
                        newName.text,
                        inRecord(oldName.length),
                        inRecord(newName.length),
                        status};
    new (&mChunks.back()[size_t(mCount) & kChunkMask]) Target(target);
    ++mCount;
}

quint32 TargetStore::LongLength(qint32 i, quint32 LongName::*length) const {
    const auto at =
        std::lower_bound(mLongNames.begin(), mLongNames.end(), i,
                         [](const LongName& name, qint32 target) { return name.target < target; });
    Q_ASSERT(at != mLongNames.end() && at->target == i);
    return (*at).*length;
}

// The folders hold the targets in the order added, each from its first on.
quint32 TargetStore::FolderIndex(qint32 i) const {
    const auto after =
        std::upper_bound(mFolders.begin(), mFolders.end(), i,
                         [](qint32 target, const FolderRecord& f) { return target < f.first; });
    return quint32(after - mFolders.begin() - 1);
}

quint32 TargetStore::FolderIndex(qint32 i, quint32 near) const {
    const auto holds = [this, i](size_t f) {
        return f < mFolders.size() && mFolders[f].first <= i &&
               (f + 1 == mFolders.size() || i < mFolders[f + 1].first);
    };
    // Out of range on either side (near - 1 of folder 0 included) holds
    // nothing.
    for (const size_t f : {size_t(near), size_t(near) - 1, size_t(near) + 1})
        if (holds(f)) return quint32(f);
    return FolderIndex(i);
}

}  // namespace sorvane
