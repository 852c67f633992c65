#pragma once

#include <QIcon>

namespace sorvane {

// The program's icon, drawn from its SVG at the usual window and menu sizes.
QIcon ProgramIcon();

}  // namespace sorvane
