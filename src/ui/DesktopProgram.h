#pragma once

#include <QString>

#include "run/RunFrame.h"
#include "run/mdlMain.h"
#include "ui/QtMessageBox.h"
#include "ui/frmDlgCancel.h"
#include "ui/frmDlgDel.h"
#include "ui/frmMain.h"
#include "ui/frmSelect.h"

namespace sorvane {

// The desktop program put together: the main window with its dialogs, the
// run control that talks to them, and the run frame both use.
class DesktopProgram {
public:
    DesktopProgram();
    DesktopProgram(const DesktopProgram&) = delete;
    DesktopProgram& operator=(const DesktopProgram&) = delete;

    // Start-up of the program at executablePath (settings, program state),
    // up to loading the main window.
    void Main(const QString& executablePath);
    // Loads and shows the main window on the command line's argument text,
    // a relative path taken from the working directory.
    void LoadMainWindow(const QString& argument);

    frmMain& Window() { return mWindow; }
    mdlMain& Program() { return mProgram; }
    frmSelect& Chooser() { return mChooser; }

private:
    // The windows first: the run control keeps references to them.
    frmMain mWindow;
    QtMessageBox mMessages;  // parented to the window once start-up is done
    frmDlgCancel mProgress{&mWindow};
    frmDlgDel mOverwrite{&mWindow};
    frmSelect mChooser{&mWindow};  // the display-only window; asks in new ones
    mdlMain mProgram;
    RunFrame mFrame;
};

}  // namespace sorvane
