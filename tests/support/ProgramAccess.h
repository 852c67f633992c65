#pragma once

#include "run/mdlMain.h"

namespace sorvane::test {

// The program's state and shared objects as the run drivers see them, for
// the tests of those drivers.
struct ProgramAccess {
    static ProgramCore& Core(mdlMain& program) { return program.m; }
};

}  // namespace sorvane::test
