#pragma once

#include <QString>

#include "rename/RenameListSettings.h"
#include "rename/TargetStore.h"

namespace sorvane {

// What building a target list produces: the targets with their verdicts,
// and what a run needs to know of how they were found. A plain value that
// moves from the builder to the run that renames it.
struct RenamePlan {
    TargetStore targets;
    QString basePath;             // the start folder, ending in "/"
    QString itemWord;             // "ファイル" or "フォルダ"
    RenameListSettings settings;  // the settings it was built with
    qint32 maxCount = 0;          // the maximum it was built under
    bool complete = false;        // every folder was listed completely
};

}  // namespace sorvane
