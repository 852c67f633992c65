#pragma once

#include <gtest/gtest.h>

#include <utility>

#include "settings/mdlOptions.h"

namespace sorvane::test {

// Every row of the three tables, for comparing whole tables.
inline void ExpectSameTables(const mdlOptions& actual, const mdlOptions& expected) {
    const std::pair<const OptionTable*, const OptionTable*> tables[] = {
        {&actual.SystemOptions, &expected.SystemOptions},
        {&actual.FilterOptions, &expected.FilterOptions},
        {&actual.MethodOptions, &expected.MethodOptions},
    };
    for (const auto& [a, e] : tables) {
        ASSERT_EQ(a->Rows.size(), e->Rows.size());
        for (int n = 1; n <= a->Rows.size(); ++n) {
            SCOPED_TRACE((e->Name + u' ' + e->Row(n).Key).toStdString());
            EXPECT_EQ(a->Num(n), e->Num(n));
            EXPECT_EQ(a->Text(n), e->Text(n));
        }
    }
}

}  // namespace sorvane::test
