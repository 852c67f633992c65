#pragma once

#include "ports/ExpansionChooserPort.h"
#include "run/ProgramCore.h"

namespace sorvane {

// The checks between GetRunOptions and a rename run. Each refusal is shown
// in a message box; nothing is logged.

// Makes sure the folder for moved-away colliding files exists when that
// delete mode is in force, and holds it in its on-disk spelling. True when
// a problem was reported and the run must not start.
bool CheckDeleteOption(ProgramCore& m);

// Refuses replace or insert words that no name can contain, asks about the
// comma and the semicolon, loads the search and replace patterns (their
// display forms go back into the word boxes) and lets the user look at, and
// choose between, the two readings of an ambiguous replace pattern. True
// when the run may start.
bool CheckNames(ProgramCore& m, ExpansionChooserPort& chooser);

}  // namespace sorvane
