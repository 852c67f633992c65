#pragma once

#include <QString>

#include "ports/NameRepairKind.h"

namespace sorvane {

// The run inputs captured at the start of a run (GetRunOptions): the words,
// the switches and the matching method as the windows held them.
struct RunInputs {
    QString gSearchWord;
    QString gReplaceWord;
    bool gRunFolderMode = false;
    bool gRunRecursive = false;
    bool gRunDelete = false;
    bool gRunQuickList = false;
    bool gRunTextMode = false;       // compare in text mode (chkBS ticked)
    bool gRunWholeName = false;      // match the whole name (optM 1)
    bool gRunSecondReading = false;  // the chooser took the replace pattern's second reading
    NameRepair gRunRepair = NameRepair::None;  // a repair of names instead of a rename
};

}  // namespace sorvane
