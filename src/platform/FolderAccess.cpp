#include "platform/FolderAccess.h"

#include <fcntl.h>
#include <unistd.h>

#include "platform/FileSystem.h"

namespace sorvane {

bool MayWriteInFolder(const QString& path) {
    if (path.isEmpty() || !FileSystem().FolderExistsFollowingLink(path)) return false;
    const QByteArray native = FileSystem::Encode(path);
    return faccessat(AT_FDCWD, native.constData(), W_OK | X_OK, AT_EACCESS) == 0;
}

}  // namespace sorvane
