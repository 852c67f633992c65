#pragma once

#include "ports/FormValues.h"

class QAbstractButton;
class QCheckBox;
class QLineEdit;

namespace Ui {
class frmMain;
}

namespace sorvane {

class mdlOptions;
struct ProgramFolders;
struct SettingsInEffect;
class mdlTools;

// The main window's run inputs and filter controls: filled from the
// settings, read back as values, and their arrays by index.
class MainFormControls {
public:
    explicit MainFormControls(Ui::frmMain& ui) : ui(ui) {}

    // The controls as the settings table and the settings in effect give
    // them; attributeOnly is the filter's "属性のあるもののみ".
    void Show(const mdlOptions& o, const SettingsInEffect& s, bool attributeOnly);
    // Only the replace operation has a search word and a matching mode.
    void SetModeControls();

    RunInputValues RunInputs() const;
    FormValues Values() const;

    QAbstractButton* OperationButton(int index) const;  // optRRL(index), or none
    QCheckBox* Attribute(int index) const;              // chkSys(index)
    QCheckBox* FilterSwitch(int index) const;           // chkExt(index)
    QLineEdit* FilterBox(int index) const;              // txtExt(index)

private:
    Ui::frmMain& ui;
};

}  // namespace sorvane
