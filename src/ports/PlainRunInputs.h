#pragma once

#include "ports/RunInputsPort.h"

namespace sorvane {

// Run inputs held as plain values, as the command line or a test sets them.
class PlainRunInputs : public RunInputsPort, public RunInputValues {
public:
    void Assign(const RunInputValues& values) { static_cast<RunInputValues&>(*this) = values; }

    QString SearchWord() const override { return searchWord; }
    QString ReplaceWord() const override { return replaceWord; }
    void SetSearchWord(const QString& text) override { searchWord = text; }
    void SetReplaceWord(const QString& text) override { replaceWord = text; }
    CheckBoxValue RecursiveValue() const override { return recursive; }
    CheckBoxValue DeleteValue() const override { return deleteValue; }
    bool DeleteEnabled() const override { return deleteEnabled; }
    CheckBoxValue TextModeValue() const override { return textMode; }
    bool WholeNameSelected() const override { return wholeName; }
    CheckBoxValue QuickListValue() const override { return quickList; }
    bool QuickListEnabled() const override { return quickListEnabled; }
};

}  // namespace sorvane
