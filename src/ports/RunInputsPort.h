#pragma once

#include <QString>

#include "ports/CheckBoxValue.h"
#include "ports/NameRepairKind.h"

namespace sorvane {

// The values of the run inputs: what a front end hands a run at its start,
// and what the settings give to the controls.
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
    // A repair of names ("名前の修復") instead of a rename by the words.
    NameRepair repair = NameRepair::None;
};

// The two word boxes, into which the pre-run check writes the display forms
// of the patterns it loaded.
class RunInputsPort {
public:
    virtual ~RunInputsPort() = default;
    virtual void SetSearchWord(const QString& text) = 0;   // txtBfr
    virtual void SetReplaceWord(const QString& text) = 0;  // txtAft
};

}  // namespace sorvane
