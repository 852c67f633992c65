#pragma once

#include "ports/NameRepairKind.h"
#include "ui/TableWindow.h"

class QComboBox;
class QPushButton;
class QRadioButton;

namespace sorvane {

class mdlMain;
struct WindowFlags;

// The repair window "名前の修復": the choice of repair (文字コード with its
// code page, zipの文字化け, 濁点の結合), the table of every target the
// repair would now have under the main window's start folder, recursion
// switch and filter, computed off the window's thread as the preview's is,
// and "修復(&R)", which asks the main window to run the repair
// (TableWindow). Loaded, it sets gRepairOpen and "修復表示"; it docks below
// the main window, or below the preview while that is open.
class frmRepair : public TableWindow {
    Q_OBJECT
public:
    frmRepair(mdlMain& program, QWidget& mainWindow, WindowFlags& flags,
              PreviewComputer::Compute compute = PreviewPlan);

    // What a start would now take; the window puts its repair in.
    void InputsChanged(PreviewRequest request);
    NameRepair Repair() const;

Q_SIGNALS:
    // "修復(&R)": run this repair.
    void RepairAsked(NameRepair repair);

private:
    void ShowChoice(NameRepair repair);
    void ChoiceChanged();

    mdlMain& m;
    QRadioButton* optRepair[3] = {};
    QComboBox* cboCodePage = nullptr;
    QPushButton* cmdRepair = nullptr;
    PreviewRequest mRequest;  // the main window's last, without the repair
    bool mHasRequest = false;
};

}  // namespace sorvane
