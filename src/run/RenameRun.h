#pragma once

#include <QString>

#include "ports/OverwriteQuestionPort.h"
#include "run/ProgramCore.h"

namespace sorvane {

// One rename run from the checked inputs to the summary in the log box:
// the target list, the maximum, the overwrite questions, the removal of
// colliding files and the renames, the detailed log and the summary. Sets
// the end status runEnd. startFolder is the start folder in its on-disk
// spelling. True when at least one target was renamed, so the run can be
// restored.
bool RunRename(ProgramCore& m, OverwriteQuestionPort& overwrite, const QString& startFolder);

}  // namespace sorvane
