#include "ui/DesktopProgram.h"

namespace sorvane {

DesktopProgram::DesktopProgram()
    : mProgram(MainPorts{mMessages, mProgress, mWindow, mWindow, mWindow}),
      mFrame(mProgram, mOverwrite, mChooser) {
    mProgress.Attach(&mProgram.CancelDialog);
    mWindow.Attach(mProgram, mFrame);
    // Closing the display-only expansion window clears its open flag.
    QObject::connect(&mChooser, &frmSelect::DisplayClosed, &mWindow,
                     [this] { mProgram.state.gSelectOpen = false; });
}

void DesktopProgram::Main(const QString& executablePath) {
    mProgram.Main(executablePath);
    mMessages.SetParent(&mWindow);
}

void DesktopProgram::LoadMainWindow(const QString& argument) {
    mWindow.Load(argument);
}

}  // namespace sorvane
