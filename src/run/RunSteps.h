#pragma once

#include <QString>

#include "run/ProgramCore.h"

namespace sorvane {

// The small steps that the runs share. Front ends do not call them: they go
// through mdlMain and RunFrame.

// The settings in effect (gMaxTargets ... gFolderSort) from the settings
// table, with the log folder and the attribute filter it sets.
void SetGlobalOptions(ProgramCore& m);

// The run inputs at the start of a run: the words, the switches, the
// comparison and the matching method.
void GetRunOptions(ProgramCore& m, const RunInputValues& in);

// The settings table from the settings in effect and the windows' values,
// before the table is written to a file; a front end without windows
// leaves it as it is.
void GetFormOptions(ProgramCore& m);

// The run's target list from its plan (MakePlan), built under the progress
// window. The last list goes first: the two are never held at once. A start
// folder that is not an absolute path gives no list, as the builder would
// walk from the root or the working directory. True when every folder was
// listed completely.
bool ListTargets(ProgramCore& m, const QString& startFolder);

// True when the user pressed "中止(&C)"; the stop is then logged.
bool CheckCancel(ProgramCore& m);

// Appends one line, with its line end, to the log box.
void AddLogLine(ProgramCore& m, const QString& line);

}  // namespace sorvane
