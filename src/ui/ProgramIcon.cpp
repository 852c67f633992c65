#include "ui/ProgramIcon.h"

namespace sorvane {

// Qt SVG's icon engine draws the one SVG at each size when it is asked for.
QIcon ProgramIcon() {
    return QIcon(QStringLiteral(":/icons/sorvane.svg"));
}

}  // namespace sorvane
