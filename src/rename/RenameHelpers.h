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

}  // namespace sorvane::rename_helpers
