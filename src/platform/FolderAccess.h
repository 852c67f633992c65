#pragma once

#include <QString>

namespace sorvane {

// Whether this process may create files in the folder at path, as the system
// judges it for the effective user (faccessat with AT_EACCESS): a folder
// without write permission for the user, or on a file system mounted
// read-only, is not writable; so is a path that is no folder. Root passes
// every permission check but the read-only mount.
bool MayWriteInFolder(const QString& path);

}  // namespace sorvane
