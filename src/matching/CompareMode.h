#pragma once

namespace sorvane {

// How names and literal text are compared: exactly, code unit by code unit,
// or in text mode ("テキストモード"), where only A-Z are folded onto a-z. The
// values are the ones the pattern engine's callers have always passed.
enum class CompareMode {
    Exact = 0,
    Text = 1,
};

}  // namespace sorvane
