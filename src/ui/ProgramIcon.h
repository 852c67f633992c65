#pragma once

#include <QIcon>

namespace sorvane {

// The program's icon, drawn from its SVG at whatever size is shown.
QIcon ProgramIcon();

}  // namespace sorvane
