#pragma once

// Internal to the file-system service: its one loop over the entries of a
// folder. Callers use FileSystem.h.

#include <dirent.h>

#include <QByteArray>
#include <cerrno>

#include "platform/NativePath.h"

namespace sorvane::native_path {

// Calls visit(dir, entry) for every entry but "." and ".." until it returns
// false. Returns 0 or the errno of opening or reading the folder.
template <typename Visit>
int ForEachEntry(const QByteArray& folder, Visit visit) {
    DIR* dir = ::opendir(folder.isEmpty() ? "." : folder.constData());
    if (!dir) return errno;
    int err = 0;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (!entry) {
            err = errno;
            break;
        }
        if (IsDotOrDotDot(entry->d_name)) continue;
        if (!visit(dir, entry)) break;
    }
    ::closedir(dir);
    return err;
}

}  // namespace sorvane::native_path
