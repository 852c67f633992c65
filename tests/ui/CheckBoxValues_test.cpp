#include "ui/CheckBoxValues.h"

#include <gtest/gtest.h>

namespace sorvane {
namespace {

// Qt's ticked state is 2, which as a bare number would read as greyed and
// turn text mode off for a ticked "テキストモード".
TEST(CheckBoxValues, QtStatesMapBothWays) {
    const struct {
        Qt::CheckState qt;
        CheckBoxValue value;
    } cases[] = {
        {Qt::Unchecked, CheckBoxValue::Unchecked},
        {Qt::Checked, CheckBoxValue::Checked},
        {Qt::PartiallyChecked, CheckBoxValue::Grayed},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckBoxValueOf(c.qt), c.value) << int(c.qt);
        EXPECT_EQ(QtCheckStateOf(c.value), c.qt) << int(c.qt);
    }
}

}  // namespace
}  // namespace sorvane
