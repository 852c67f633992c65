#pragma once

#include <QtGlobal>

namespace sorvane {

// The repairs of names ("名前の修復") that a run can make instead of a
// rename by patterns. Their numbers are the ones the settings file keeps.
enum class NameRepair : quint8 {
    None = 0,
    Cp932 = 1,       // bytes of code page 932 (Windows' Shift-JIS) read as such
    EucJp = 2,       // bytes of EUC-JP read as such
    UnzipCp932 = 3,  // a zip's Shift-JIS names that unzip read as code page 437
    Nfc = 4,         // combining marks (macOS's split dakuten) composed
};

}  // namespace sorvane
