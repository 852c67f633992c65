#pragma once

#include <QString>

#include "ports/CheckBoxValue.h"

namespace sorvane {

// The values of the run inputs, as the settings give them to the controls.
struct RunInputValues {
    QString searchWord;
    QString replaceWord;
    CheckBoxValue recursive = CheckBoxValue::Checked;
    CheckBoxValue deleteValue = CheckBoxValue::Unchecked;
    bool deleteEnabled = true;
    CheckBoxValue textMode = CheckBoxValue::Checked;
    bool wholeName = false;
    CheckBoxValue quickList = CheckBoxValue::Unchecked;
    bool quickListEnabled = false;
};

// The run inputs of the main window as a run reads them at its start, and
// the two word boxes that the pre-run check writes the display forms back to.
class RunInputsPort {
public:
    virtual ~RunInputsPort() = default;
    virtual QString SearchWord() const = 0;                // txtBfr
    virtual QString ReplaceWord() const = 0;               // txtAft
    virtual void SetSearchWord(const QString& text) = 0;   // txtBfr
    virtual void SetReplaceWord(const QString& text) = 0;  // txtAft
    virtual CheckBoxValue RecursiveValue() const = 0;      // chkR
    virtual CheckBoxValue DeleteValue() const = 0;         // chkD
    virtual bool DeleteEnabled() const = 0;                // chkD
    virtual CheckBoxValue TextModeValue() const = 0;       // chkBS
    virtual bool WholeNameSelected() const = 0;            // optM index 1
    virtual CheckBoxValue QuickListValue() const = 0;      // chkErrNoChk
    virtual bool QuickListEnabled() const = 0;             // chkErrNoChk
};

}  // namespace sorvane
