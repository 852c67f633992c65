#include "ui/NameToolTip.h"

#include "platform/ShownName.h"
#include "platform/TextCodec.h"

namespace sorvane {

using namespace Qt::StringLiterals;

QString ReadingToolTip(QStringView name) {
    const QString reading = Cp932Reading(name);
    if (reading.isEmpty()) return {};
    return ShownName(name) + u"\nShift-JISでの読み："_s + ShownName(reading);
}

}  // namespace sorvane
