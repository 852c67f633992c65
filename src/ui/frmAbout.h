#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class frmAbout;
}

namespace sorvane {

struct ProgramState;

// The version window: the program's title and version, the copyright field
// of its version information and the release date. A fixed-size tool
// window, never modal. Making it loads it: gAboutOpen is set and the window
// is placed over the main window's upper-left corner, slightly offset.
// Closing it in any way (cmdOK, Enter, Esc, the close box) unloads it:
// gAboutOpen is cleared and the window deletes itself.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    // mainWindow is the parent and the window it first appears over; state
    // must outlive the window's closing.
    frmAbout(ProgramState& state, QWidget* mainWindow);
    ~frmAbout() override;

private:
    std::unique_ptr<Ui::frmAbout> ui;
};

}  // namespace sorvane
