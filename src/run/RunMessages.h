#pragma once

#include <QString>

#include "ports/MessageBoxPort.h"

namespace sorvane {

// End-status texts and log lines that more than one run writes.
inline const QString kStatusDone = QStringLiteral("終了");
inline const QString kStatusRenameStopped = QStringLiteral("中断 / リネーム中(ユーザによる)");
inline const QString kStatusLogStopped = QStringLiteral(" / ログ作成中断(ユーザによる)");
inline const QString kStoppedByUser = QStringLiteral("！処理はユーザにより中止されました。");

}  // namespace sorvane
