#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include "ports/NameRepairKind.h"

namespace sorvane {

// What a repair makes of one name.
enum class RepairResult {
    NotTarget,   // the name needs no repair
    Repaired,    // repaired is its new name
    Unreadable,  // it needs repair but cannot be read in the code page
};

// The repair of name, its new name in repaired when it is Repaired:
// - Cp932, EucJp: names that are not valid UTF-8 (they hold byte escapes),
//   read from their bytes in that code page;
// - UnzipCp932: names that hold a character beyond ASCII and are all of
//   code page 437: their bytes there, which the archive held, read in code
//   page 932 into another text. Any other name, a correct Japanese one
//   among them, is no target;
// - Nfc: valid names holding a combining sequence that canonical
//   composition changes; only such sequences are composed, so a CJK
//   compatibility ideograph (神 U+FA19) stays the character it is.
// Reading is strict: a byte sequence the code page does not define makes
// the name Unreadable, never a name with replacement characters.
RepairResult RepairName(NameRepair repair, QStringView name, QString& repaired);

// The name of the code page a repair reads in, for its messages: "CP932",
// "EUC-JP"; "" for Nfc and None.
QString RepairCodePageName(NameRepair repair);

}  // namespace sorvane
