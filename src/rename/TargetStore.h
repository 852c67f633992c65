#pragma once

#include <QString>
#include <QStringView>
#include <vector>

#include "platform/BulkMemory.h"
#include "platform/FileSystem.h"
#include "rename/TargetStatus.h"

namespace sorvane {

// A folder ("" or ending in "/") and a name in it: the item's path.
inline QString Joined(const QString& folder, QStringView name) {
    QString path;
    path.reserve(folder.size() + name.size());
    path += folder;
    path += name;
    return path;
}

// The targets of a run, compactly: each target is a small record of its
// old and new name and its status, and the folders, which are kept once
// each, hold the targets added while they were the last. The names lie side
// by side in large texts of UTF-16 units, exactly as they were given (a
// lone surrogate included): blocks of the store's own that names are copied
// into, or a caller's text of names that the store shares instead of
// copying them. A target costs its names' units and one record instead of
// two strings with their own allocations and the folder's path in each.
class TargetStore {
public:
    // Where a name lies in one of the store's texts.
    struct NamePlace {
        quint16 text;
        quint32 start;
        quint32 length;
    };

    // Empties the store and gives its memory back.
    void Clear();
    // Room for the places of this many records; the records themselves
    // take their room as they come.
    void Reserve(size_t targets) { mChunks.reserve((targets >> kChunkBits) + 1); }

    // Starts a folder, by its path relative to the start folder ("" for the
    // start folder itself, else ending in "/"): the targets added next lie
    // in it, on device. A folder that received no target is replaced by the
    // next one.
    void BeginFolder(const QString& relative, dev_t device = 0);

    // Whether a text of names is worth sharing for targets that name
    // usedNames of its names: a large text that they mostly use. A text
    // shared is kept whole for as long as the store.
    static bool WorthSharing(const QString& text, qsizetype names, qsizetype usedNames);
    // Keeps text (its data shared, not copied) for the names of targets;
    // the caller may go on reading it, but not change it.
    quint16 ShareText(const QString& text);
    // name, which lies in the text shared as text.
    NamePlace PlaceIn(quint16 text, QStringView name) const;
    // name, copied into the store's own blocks.
    NamePlace Copy(QStringView name);

    // inode: the item's inode number as its listing gave it, 0 when unknown;
    // folder: the item is a folder, for a list that holds both kinds.
    void Add(NamePlace oldName, NamePlace newName, TargetStatus status, ino_t inode = 0,
             bool folder = false);
    void Add(QStringView oldName, QStringView newName, TargetStatus status, ino_t inode = 0,
             bool folder = false) {
        const NamePlace oldPlace = Copy(oldName);
        Add(oldPlace, Copy(newName), status, inode, folder);
    }

    qint32 Count() const { return mCount; }
    // The units of every target's folder, old name and new name together:
    // what a text that names each target once takes, to size it up front.
    qint64 PathUnits() const { return mPathUnits; }
    const QString& Folder(qint32 i) const { return FolderPath(FolderIndex(i)); }
    // Two targets share their folder exactly when these are equal.
    quint32 FolderIndex(qint32 i) const;
    // The same, found in a step when near is the folder of a target next to
    // i, as it is for a walk over the targets in either direction.
    quint32 FolderIndex(qint32 i, quint32 near) const;
    // The path of a folder by its index.
    const QString& FolderPath(quint32 folder) const { return mFolders[folder].relative; }
    QStringView OldName(qint32 i) const {
        const Target& t = Record(i);
        return Name(t.oldText, t.oldStart, t.oldLength, i, &LongName::oldLength);
    }
    QStringView NewName(qint32 i) const {
        const Target& t = Record(i);
        return Name(t.newText, t.newStart, t.newLength, i, &LongName::newLength);
    }
    // Folder and name in one.
    QString OldPath(qint32 i) const { return Joined(Folder(i), OldName(i)); }
    QString NewPath(qint32 i) const { return Joined(Folder(i), NewName(i)); }
    TargetStatus Status(qint32 i) const { return Record(i).status; }
    // Whether target i was added as a folder.
    bool IsFolder(qint32 i) const { return Record(i).folder != 0; }
    // The item's device and inode at the time it was listed; not valid when
    // the inode was not given.
    FileIdentity Identity(qint32 i) const { return Identity(i, FolderIndex(i)); }
    // The same, for a target of folder (its FolderIndex).
    FileIdentity Identity(qint32 i, quint32 folder) const {
        const Target& t = Record(i);
        return FileIdentity{mFolders[folder].device, t.inode, t.inode != 0};
    }
    TargetStatus& Status(qint32 i) { return At(i).status; }

private:
    // A name's length up to kLong - 1 units lies in its record, a longer
    // one's in mLongNames: nearly every name is shorter than that, as a
    // name on disk has at most 255 bytes.
    static constexpr quint8 kLong = 0xFF;
    struct Target {  // 24 bytes
        ino_t inode;
        quint32 oldStart;
        quint32 newStart;
        quint16 oldText : 15;
        quint16 folder : 1;
        quint16 newText;
        quint8 oldLength;
        quint8 newLength;
        TargetStatus status;
    };
    static_assert(sizeof(Target) == 24);
    struct LongName {
        qint32 target;
        quint32 oldLength;
        quint32 newLength;
    };
    struct FolderRecord {
        QString relative;
        dev_t device;
        qint32 first;  // the index of its first target
    };
    // The records lie in chunks of a fixed size that never move: a list of
    // a million targets touches each page of them once, where one array
    // that doubles would be copied into fresh memory at every step.
    static constexpr unsigned kChunkBits = 12;  // 4,096 records, 96 KiB
    static constexpr size_t kChunkBytes = sizeof(Target) << kChunkBits;
    static constexpr size_t kChunkMask = (size_t(1) << kChunkBits) - 1;
    Target& At(qint32 i) { return mChunks[size_t(i) >> kChunkBits][size_t(i) & kChunkMask]; }
    const Target& Record(qint32 i) const {
        return mChunks[size_t(i) >> kChunkBits][size_t(i) & kChunkMask];
    }
    QStringView Name(quint16 text, quint32 start, quint8 length, qint32 i,
                     quint32 LongName::*longLength) const {
        return QStringView(mTexts[text])
            .sliced(start, length < kLong ? length : LongLength(i, longLength));
    }
    quint32 LongLength(qint32 i, quint32 LongName::*length) const;
    quint16 AddText(QString text);

    // The records' chunks and the blocks that names are copied into.
    BulkMemory mMemory;
    std::vector<Target*> mChunks;
    qint32 mCount = 0;
    std::vector<LongName> mLongNames;  // in the order of their targets
    std::vector<FolderRecord> mFolders;
    // The texts that names lie in: the store's own blocks, filled by
    // copying, and texts shared whole.
    std::vector<QString> mTexts;
    qint64 mPathUnits = 0;
    qsizetype mBlock = -1;         // the block names are copied into, -1 none yet
    char16_t* mBlockAt = nullptr;  // its units
    qsizetype mUsed = 0;           // units used in it
};

}  // namespace sorvane
