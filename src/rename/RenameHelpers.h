#pragma once

// Internal to the rename layer: what the parts of mdlRename share. Callers
// use mdlRename.h.

#include <QString>
#include <QStringView>

#include "platform/FileSystem.h"
#include "platform/NameBytes.h"

namespace sorvane::rename_helpers {

inline QString Num(qint64 n) {
    return QString::number(n);
}

// A new name must name one item in the same folder. A "/" (or a NUL, or
// "." and "..") would move the target elsewhere or name no item at all, so
// such a name is skipped like an empty one.
inline bool IsUsableName(QStringView name) {
    return FileSystem::IsSingleName(name);
}

// Whether a name fits a folder whose file system holds names of at most
// limit.most bytes, counted as the name will be written, or UTF-16 units
// (a byte escape counts as one: the least such a byte could take there).
inline bool FitsNameMax(QStringView name, NameLimit limit) {
    if (limit.most < 0 || name.size() * 3 <= limit.most) return true;
    return limit.inUtf16 ? name.size() <= limit.most : name_bytes::NativeSize(name) <= limit.most;
}

// The item at the new name is the target itself when both names lead to the
// same device and inode: on a file system that ignores letter case (of A-Z
// or of any letters) a change of case finds the target there. A hard link
// with the same identity is a separate entry; the rename then refuses to
// replace it, so it is never taken for a file that may be deleted. Where
// each spelling has a node number of its own (a volume mounted through
// FUSE), the folder's listing tells.
inline bool IsTargetItself(const FileSystem& fs, const QString& oldFull, const QString& newFull) {
    const FileIdentity found = fs.Identity(newFull);
    if (!found.valid) return false;
    if (found == fs.Identity(oldFull)) return true;
    const QString folder = FileSystem::ParentFolderName(oldFull);
    return folder == FileSystem::ParentFolderName(newFull) &&
           fs.SameEntrySpeltOtherwise(folder, FileSystem::GetFileName(oldFull),
                                      FileSystem::GetFileName(newFull));
}

}  // namespace sorvane::rename_helpers
