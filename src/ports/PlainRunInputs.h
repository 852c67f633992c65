#pragma once

#include "ports/RunInputsPort.h"

namespace sorvane {

// Run inputs held in plain fields, as the command line or a test sets them.
class PlainRunInputs : public RunInputsPort {
public:
    QString SearchWord() const override { return searchWord; }
    QString ReplaceWord() const override { return replaceWord; }
    void SetSearchWord(const QString& text) override { searchWord = text; }
    void SetReplaceWord(const QString& text) override { replaceWord = text; }
    int RecursiveValue() const override { return recursive; }
    int DeleteValue() const override { return deleteValue; }
    bool DeleteEnabled() const override { return deleteEnabled; }
    int TextModeValue() const override { return textMode; }
    bool WholeNameSelected() const override { return wholeName; }
    int QuickListValue() const override { return quickList; }
    bool QuickListEnabled() const override { return quickListEnabled; }

    QString searchWord;
    QString replaceWord;
    int recursive = kChecked;
    int deleteValue = kUnchecked;
    bool deleteEnabled = true;
    int textMode = kChecked;
    bool wholeName = false;
    int quickList = kUnchecked;
    bool quickListEnabled = false;
};

}  // namespace sorvane
