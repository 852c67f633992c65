#pragma once

#include <QString>
#include <array>

#include "ports/CheckBoxValue.h"
#include "ports/RunInputsPort.h"

namespace sorvane {

// The filter controls of the main window as one value.
struct FilterValues {
    std::array<CheckBoxValue, 4> attributes{};               // chkSys(0..3)
    CheckBoxValue attributeOnly = CheckBoxValue::Unchecked;  // chksysOnly
    std::array<CheckBoxValue, 3> switches{};                 // chkExt(0..2)
    std::array<QString, 2> patterns;                         // txtExt(0..1)
    CheckBoxValue folders = CheckBoxValue::Unchecked;        // chkFol
};

// What the windows hold that the settings file keeps beside the settings in
// effect: the run inputs and the filter controls.
struct FormValues {
    RunInputValues run;
    FilterValues filter;
};

}  // namespace sorvane
