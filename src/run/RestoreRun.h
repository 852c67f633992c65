#pragma once

#include "run/ProgramCore.h"

namespace sorvane {

// The restore run: moves the targets that the last rename run renamed back
// to their old names, from the first to the last, and writes the detailed
// restore log and its summary. Sets the end status runEnd. True when
// every target still to be restored was restored: a journal's lines that
// could not be read are left out, as no restore can take them.
bool RunRestore(ProgramCore& m);

}  // namespace sorvane
