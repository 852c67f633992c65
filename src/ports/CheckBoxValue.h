#pragma once

#include <QtGlobal>

namespace sorvane {

// The value of a check box as the run control reads it. A front end maps
// its toolkit's states onto these in one place.
enum class CheckBoxValue { Unchecked, Checked, Grayed };

// The settings file keeps a switch as 0 or 1.
constexpr CheckBoxValue CheckBoxOfSetting(qint32 value) {
    return value != 0 ? CheckBoxValue::Checked : CheckBoxValue::Unchecked;
}

// A greyed box is stored as on, as every box that is not clear.
constexpr qint32 SettingOfCheckBox(CheckBoxValue value) {
    return value != CheckBoxValue::Unchecked ? 1 : 0;
}

}  // namespace sorvane
