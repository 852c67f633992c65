#include "platform/NameFolding.h"

namespace sorvane {

QString CaselessName(QStringView name) {
    return name.toString().normalized(QString::NormalizationForm_KC).toCaseFolded();
}

}  // namespace sorvane
