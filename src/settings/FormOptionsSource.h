#pragma once

#include <QString>

#include "ports/CheckBoxValue.h"

namespace sorvane {

// Where the settings snapshot takes its values: the main window's controls
// and the settings in effect in the program state. The snapshot stores a
// check box that is not clear as 1, a clear one as 0.
class FormOptionsSource {
public:
    virtual ~FormOptionsSource() = default;

    // "システム"
    virtual QString FolderListPath() const = 0;  // the folder the folder list shows
    virtual bool EscQuits() const = 0;           // gEscQuits
    virtual bool SaveOnExit() const = 0;         // gSaveOnExit
    virtual bool DetailLog() const = 0;          // gDetailLog
    virtual bool OptionWindow() const = 0;       // gOptionWindow
    virtual QString LogPath() const = 0;         // gLogPath
    virtual bool AutoLogSave() const = 0;        // gAutoLogSave

    // "絞り込み"
    virtual CheckBoxValue AttributeValue(int index) const = 0;     // chkSys(0..3)
    virtual CheckBoxValue AttributeOnlyValue() const = 0;          // chksysOnly
    virtual CheckBoxValue FilterSwitchValue(int index) const = 0;  // chkExt(0..2)
    virtual QString FilterText(int index) const = 0;               // txtExt(0..1)

    // "処理方法"
    virtual CheckBoxValue RecursiveValue() const = 0;  // chkR
    virtual CheckBoxValue DeleteValue() const = 0;     // chkD
    virtual CheckBoxValue FolderValue() const = 0;     // chkFol
    virtual CheckBoxValue TextModeValue() const = 0;   // chkBS
    virtual int Operation() const = 0;                 // gOperation
    virtual bool WholeNameSelected() const = 0;        // optM index 1
    virtual QString SearchWord() const = 0;            // txtBfr
    virtual QString ReplaceWord() const = 0;           // txtAft
    virtual int DelMode() const = 0;                   // gDelMode
    virtual QString DelTarget() const = 0;             // gDelTarget
    virtual CheckBoxValue QuickListValue() const = 0;  // chkErrNoChk
};

}  // namespace sorvane
