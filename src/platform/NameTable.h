#pragma once

#include <QStringView>
#include <QtGlobal>
#include <cstddef>
#include <vector>

namespace sorvane {

// A hash table of indices into the caller's own list of names: open
// addressing with linear probing, and the hash of each index kept beside
// the slots, so that a lookup compares names only where the hashes agree.
// Neither a copy of a name nor a node per name is made. The caller hashes
// and tells when two names are the same, so one table serves names that
// are compared exactly and names that are compared with letters folded.
class NameTable {
public:
    // A hash of a name's units (FNV-1a), each taken through unit first (a
    // fold, for names compared with letters folded): cheap for the short
    // names of a folder, which a general string hash is not.
    template <typename Unit>
    static size_t HashOf(QStringView name, Unit unit) {
        quint64 h = 0xcbf29ce484222325ull;
        for (const QChar c : name) {
            h ^= unit(c.unicode());
            h *= 0x100000001b3ull;
        }
        return size_t(h ^ (h >> 29));
    }
    static size_t HashOf(QStringView name) {
        return HashOf(name, [](char16_t c) { return c; });
    }

public:
    // Empties the table and sizes it for the indices 0 to count - 1, with
    // at least twice as many slots as indices: a probe always ends.
    void Reset(size_t count);
    void Clear();

    // Adds index under hash, with no look for a same name.
    void Insert(size_t hash, qint32 index) {
        Take(Slot(hash, [](qint32) { return false; }), hash, index);
    }
    // The index first added under hash for which same(index) holds, or -1.
    template <typename Same>
    qint32 Find(size_t hash, Same same) const {
        return mSlots.empty() ? -1 : mSlots[Slot(hash, same)];
    }
    // Find, and when no index is the same, adds index under hash.
    template <typename Same>
    qint32 FindOrInsert(size_t hash, qint32 index, Same same) {
        const size_t at = Slot(hash, same);
        const qint32 found = mSlots[at];
        if (found < 0) Take(at, hash, index);
        return found;
    }

private:
    // The slot of the first index under hash that is the same, else the
    // free slot where the probe ends.
    template <typename Same>
    size_t Slot(size_t hash, Same same) const {
        const size_t mask = mSlots.size() - 1;
        for (size_t at = hash & mask;; at = (at + 1) & mask) {
            const qint32 i = mSlots[at];
            if (i < 0 || (mHashes[size_t(i)] == quint32(hash) && same(i))) return at;
        }
    }
    void Take(size_t at, size_t hash, qint32 index) {
        mSlots[at] = index;
        mHashes[size_t(index)] = quint32(hash);
    }

    std::vector<qint32> mSlots;  // indices, -1 for a free slot
    // By index: the low half of the hash it was added under, which tells
    // most names apart before they are compared, in half the room.
    std::vector<quint32> mHashes;
};

}  // namespace sorvane
