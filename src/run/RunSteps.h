#pragma once

#include <QString>

#include "run/mdlMain.h"

namespace sorvane {

// The small steps that the runs share. Front ends do not call them: they go
// through mdlMain and RunFrame.

// The settings in effect (gMaxTargets ... gFolderSort) from the settings table.
void SetGlobalOptions(mdlMain& m);

// The run inputs at the start of a run: the words, the switches, the
// comparison and the matching method.
void GetRunOptions(mdlMain& m);

// True when the user pressed "中止(&C)"; the stop is then logged.
bool CheckCancel(mdlMain& m);

// Appends one line, with its line end, to the log box.
void AddLogLine(mdlMain& m, const QString& line);

}  // namespace sorvane
