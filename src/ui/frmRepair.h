#pragma once

#include <QDialog>

#include "ports/NameRepairKind.h"
#include "ui/DockedWindow.h"
#include "ui/PreviewTable.h"

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
// and "修復(&R)", which asks the main window to run the repair. The title
// carries the counts.
//
// A tool window that docks below the main window (below the preview while
// that is open). Making it loads it: gRepairOpen and "修復表示" are set.
// Closing it in any way unloads it: both are cleared, Unloaded is emitted
// and the window deletes itself. While it is disabled (a run) it computes
// nothing.
class frmRepair : public QDialog, public DockedWindow {
    Q_OBJECT
public:
    frmRepair(mdlMain& program, QWidget& mainWindow, WindowFlags& flags,
              PreviewComputer::Compute compute = PreviewPlan);
    ~frmRepair() override;

    // What a start would now take; the window puts its repair in.
    void InputsChanged(PreviewRequest request);
    NameRepair Repair() const;
    void FollowForm(const QWidget* form) override;

    const PreviewModel& Rows() const { return mTable->Rows(); }

Q_SIGNALS:
    void Unloaded();
    // "修復(&R)": run this repair.
    void RepairAsked(NameRepair repair);

protected:
    void changeEvent(QEvent* event) override;

private:
    void ShowChoice(NameRepair repair);
    void ChoiceChanged();
    void ShowTitle(bool outdated);

    mdlMain& m;
    WindowFlags& mFlags;
    QRadioButton* optRepair[3] = {};
    QComboBox* cboCodePage = nullptr;
    QPushButton* cmdRepair = nullptr;
    PreviewTable* mTable = nullptr;
    PreviewRequest mRequest;  // the main window's last, without the repair
    bool mHasRequest = false;
};

}  // namespace sorvane
