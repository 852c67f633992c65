#pragma once

#include <QString>
#include <QStringView>

namespace sorvane {

// The tooltip of a name or path in a list whose bytes are not UTF-8 but
// read cleanly as Shift-JIS (code page 932, as archives from Windows give
// them): its shown form, and that reading on a line of its own, so that the
// user can tell which file it is. "" for any other name.
QString ReadingToolTip(QStringView name);

}  // namespace sorvane
