#pragma once

#include <Qt>

#include "ports/CheckBoxValue.h"

namespace sorvane {

// The one place where Qt's check states meet the run control's values: Qt
// gives 2 for a ticked box, which the run control must never read as greyed.
constexpr CheckBoxValue CheckBoxValueOf(Qt::CheckState state) {
    switch (state) {
        case Qt::Checked:
            return CheckBoxValue::Checked;
        case Qt::PartiallyChecked:
            return CheckBoxValue::Grayed;
        case Qt::Unchecked:
            break;
    }
    return CheckBoxValue::Unchecked;
}

constexpr Qt::CheckState QtCheckStateOf(CheckBoxValue value) {
    switch (value) {
        case CheckBoxValue::Checked:
            return Qt::Checked;
        case CheckBoxValue::Grayed:
            return Qt::PartiallyChecked;
        case CheckBoxValue::Unchecked:
            break;
    }
    return Qt::Unchecked;
}

}  // namespace sorvane
