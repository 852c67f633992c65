#pragma once

#include "ports/RunInputsPort.h"

namespace sorvane {

// Run inputs held as plain values, as the command line or a test sets them;
// the display forms of the patterns are written back into them.
class PlainRunInputs : public RunInputsPort, public RunInputValues {
public:
    void Assign(const RunInputValues& values) { static_cast<RunInputValues&>(*this) = values; }

    void SetSearchWord(const QString& text) override { searchWord = text; }
    void SetReplaceWord(const QString& text) override { replaceWord = text; }
};

}  // namespace sorvane
