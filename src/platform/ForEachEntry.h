#pragma once

// Internal to the file-system service: its one loop over the entries of a
// folder. Callers use FileSystem.h.

#include <dirent.h>

#include <QByteArray>
#include <cerrno>

#include "platform/NativePath.h"

namespace sorvane::native_path {

// Calls visit(dir, entry) for every entry but "." and ".." until it returns
// false, then finish(dir) while the folder is still open. Returns 0 or the
// errno of opening or reading the folder; a folder that cannot be opened
// is not finished.
template <typename Visit, typename Finish>
int ForEachEntry(const QByteArray& folder, Visit visit, Finish finish) {
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
    finish(dir);
    ::closedir(dir);
    return err;
}

template <typename Visit>
int ForEachEntry(const QByteArray& folder, Visit visit) {
    return ForEachEntry(folder, visit, [](DIR*) {});
}

}  // namespace sorvane::native_path
