#pragma once

// Internal to mdlRename: what its source files share. Callers use
// mdlRename.h.

#include <QString>
#include <QStringView>

#include "platform/FileSystem.h"

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
// nameMax bytes (-1: no known limit); names are written in UTF-8.
inline bool FitsNameMax(QStringView name, qint64 nameMax) {
    if (nameMax < 0 || name.size() * 3 <= nameMax) return true;
    qint64 bytes = 0;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        bytes += u < 0x80 ? 1 : u < 0x800 ? 2 : QChar::isSurrogate(u) ? 2 : 3;
    }
    return bytes <= nameMax;
}

}  // namespace sorvane::rename_helpers
