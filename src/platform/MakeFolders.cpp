#include "platform/MakeFolders.h"

#include <QStringList>

namespace sorvane {

bool MakeFolders(const FileSystem& fs, const QString& path) {
    if (path.isEmpty()) return false;

    // Walk up to the nearest existing folder, then create downwards; a loop
    // rather than recursion, so a very deep path cannot exhaust the stack.
    QStringList missing;
    QString current = path;
    while (!fs.FolderExistsFollowingLink(current)) {
        // A file, a dangling link or anything else that is not a folder.
        if (fs.Exists(current)) return false;
        missing.prepend(current);
        current = FileSystem::ParentFolderName(current);
        // Above a relative path's first component: the working directory.
        if (current.isEmpty()) break;
    }
    for (const QString& folder : missing) {
        // Another program may have made it meanwhile; that is success too.
        if (!fs.MakeFolder(folder) && !fs.FolderExistsFollowingLink(folder)) return false;
    }
    return true;
}

}  // namespace sorvane
