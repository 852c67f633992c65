#pragma once

#include <QString>
#include <QStringView>
#include <memory>
#include <vector>

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
// folder (an index into the folders, which are kept once each), its old
// and new name and its status. The names lie side by side in large blocks
// of UTF-16 units, exactly as they were given (a lone surrogate included),
// so a target costs its names' units and one record instead of two strings
// with their own allocations and the folder's path in each.
class TargetStore {
public:
    // Empties the store and gives its memory back.
    void Clear();
    // Room for this many records without growing.
    void Reserve(size_t targets) { mTargets.reserve(targets); }

    // Starts a folder, by its path relative to the start folder ("" for the
    // start folder itself, else ending in "/"): the targets added next lie
    // in it, on device. A folder that received no target is replaced by the
    // next one.
    void BeginFolder(const QString& relative, dev_t device = 0);
    // inode: the item's inode number as its listing gave it, 0 when unknown.
    void Add(QStringView oldName, QStringView newName, TargetStatus status, ino_t inode = 0);

    qint32 Count() const { return qint32(mTargets.size()); }
    // The units of every target's folder, old name and new name together:
    // what a text that names each target once takes, to size it up front.
    qint64 PathUnits() const { return mPathUnits; }
    const QString& Folder(qint32 i) const { return mFolders[Record(i).folder]; }
    // Two targets share their folder exactly when these are equal.
    quint32 FolderIndex(qint32 i) const { return Record(i).folder; }
    QStringView OldName(qint32 i) const;
    QStringView NewName(qint32 i) const;
    // Folder and name in one.
    QString OldPath(qint32 i) const { return Joined(Folder(i), OldName(i)); }
    QString NewPath(qint32 i) const { return Joined(Folder(i), NewName(i)); }
    TargetStatus Status(qint32 i) const { return Record(i).status; }
    // The item's device and inode at the time it was listed; not valid when
    // the inode was not given.
    FileIdentity Identity(qint32 i) const;
    TargetStatus& Status(qint32 i) { return mTargets[size_t(i)].status; }

private:
    struct Target {
        quint32 block;
        quint32 offset;  // of the old name; the new name follows it
        quint32 folder;
        quint32 oldLength;
        quint32 newLength;
        TargetStatus status;
        ino_t inode;
    };
    const Target& Record(qint32 i) const { return mTargets[size_t(i)]; }
    char16_t* Room(size_t units);

    std::vector<Target> mTargets;
    std::vector<QString> mFolders;
    std::vector<dev_t> mDevices;  // of the folders
    std::vector<std::unique_ptr<char16_t[]>> mBlocks;
    qint64 mPathUnits = 0;
    size_t mUsed = 0;       // units used in the last block
    size_t mBlockSize = 0;  // units of the last block
};

}  // namespace sorvane
