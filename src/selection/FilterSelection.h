#pragma once

#include <QString>
#include <array>

namespace sorvane {

// What a filter selects by, as a value: a filter given it selects the same
// items as the one it was taken from.
struct FilterSelection {
    int attr = 1 | 32;                 // the attribute mask (clsFilter::Attr)
    bool attrOr = false;               // "属性のあるもののみ"
    std::array<bool, 2> matchOther{};  // include and exclude switched on
    std::array<QString, 2> patterns;   // their ";"-separated patterns
    bool isFile = true;
    bool isFolder = false;
};

}  // namespace sorvane
