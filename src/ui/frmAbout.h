#pragma once

#include <QDialog>
#include <memory>

#include "ui/DockedWindow.h"

namespace Ui {
class frmAbout;
}

namespace sorvane {

struct WindowFlags;

// The version window: the program's title and version, the copyright field
// of its version information and the release date. A fixed-size tool
// window, never modal. Making it loads it: gAboutOpen is set and the window
// is placed over the main window's upper-left corner, slightly offset.
// Closing it in any way (cmdOK, Enter, Esc, the close box) unloads it:
// gAboutOpen is cleared and the window deletes itself.
class frmAbout : public QDialog, public DockedWindow {
    Q_OBJECT
public:
    // mainWindow is the parent and the window it first appears over; state
    // must outlive the window's closing.
    frmAbout(WindowFlags& state, QWidget* mainWindow);
    ~frmAbout() override;

    // At the right edge of form, top-aligned; one form height lower while
    // the options window, which takes that place, is open.
    void FollowForm(const QWidget* form) override;

private:
    std::unique_ptr<Ui::frmAbout> ui;
    const WindowFlags& mState;
};

}  // namespace sorvane
