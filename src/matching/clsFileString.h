#pragma once

#include <QString>
#include <QStringView>

#include "matching/CompareMode.h"

namespace sorvane {

// String operations on file names in text mode ("テキストモード").
//
// Text mode folds only the 26 ASCII letters A-Z onto a-z and compares
// everything else by UTF-16 code unit: full-width letters, accented letters,
// kana and kanji compare as they are, and characters that have no Shift-JIS
// code are never equal to each other or to "?". Ordering in text mode is by
// the folded code units (unsigned), which is what the sorting-like callers
// need: a stable, locale-independent order.
//
// Positions are 1-based; a character is one UTF-16 code unit. Every method
// compares as its Mode says (CompareMode::Exact or CompareMode::Text).
// The class holds no state: every member is static, instances may still be
// created and used like objects.
class clsFileString {
public:
    // The text-mode code of one unit: A-Z become a-z, nothing else changes.
    static constexpr char16_t FoldUnit(char16_t c) noexcept {
        return static_cast<char16_t>(c - u'A') < 26u ? static_cast<char16_t>(c + 32) : c;
    }

    // Position of the first occurrence of st2 in st1 at or after Start;
    // 0 if none. An empty st2 gives Start. A Start below 1 is taken as 1.
    static int FileInStr(int Start, QStringView st1, QStringView st2, CompareMode Mode);

    // Position of the last character of the last occurrence of st2 in st1
    // that begins at or before Start; 0 if none. An empty st2 gives Start.
    static int FileInStrR(int Start, QStringView st1, QStringView st2, CompareMode Mode);

    // FName with A-Z turned into a-z, everything else unchanged.
    static QString FileLCase(QStringView FName);

    // -1, 0 or 1: st1 before, equal to or after st2 (a proper prefix first).
    static int FileStrComp(QStringView st1, QStringView st2, CompareMode Mode);

    // Number of non-overlapping occurrences of part in text, scanned from
    // the left; 0 for an empty part.
    static int GetSQNumText(QStringView text, QStringView part, CompareMode Mode);

    // True when the two pieces of equal length are equal in the mode.
    static bool EqualUnits(const char16_t* a, const char16_t* b, qsizetype len,
                           CompareMode Mode) noexcept;
};

}  // namespace sorvane
