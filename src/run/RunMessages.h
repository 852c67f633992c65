#pragma once

#include <QString>

#include "ports/MessageBoxPort.h"

namespace sorvane {

// Log lines that more than one run writes.
inline const QString kStoppedByUser = QStringLiteral("！処理はユーザにより中止されました。");

}  // namespace sorvane
