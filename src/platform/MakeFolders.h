#pragma once

#include <QString>

#include "platform/FileSystem.h"

namespace sorvane {

// Makes sure the folder at path exists, creating its missing parents first.
// True when the folder is there afterwards (a symbolic link to a folder
// counts); false for an empty path, when a file or a dangling link is in the
// way, or when a folder cannot be created. Never removes or replaces anything.
bool MakeFolders(const FileSystem& fs, const QString& path);

}  // namespace sorvane
