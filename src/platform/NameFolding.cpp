#include "platform/NameFolding.h"

namespace sorvane {

QString CaselessName(QStringView name) {
    return name.toString().normalized(QString::NormalizationForm_KC).toCaseFolded();
}

bool MayNameAnAlias(QStringView name) {
    return name.contains(u'~') || name.endsWith(u'.') || name.endsWith(u' ');
}

bool MayNameAnAlias(QByteArrayView name) {
    return name.contains('~') || name.endsWith('.') || name.endsWith(' ');
}

}  // namespace sorvane
