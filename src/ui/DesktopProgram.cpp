#include "ui/DesktopProgram.h"

#include <QApplication>

#include "ui/ProgramIcon.h"

namespace sorvane {

DesktopProgram::DesktopProgram()
    : mProgram(MainPorts{mMessages, mProgress, mWindow.LogBox(), mWindow.Ports(), mWindow.Ports()}),
      mFrame(mProgram, mOverwrite, mChooser) {
    mProgress.Attach(&mProgram.CancelDialog());
    mWindow.Attach(mProgram, mFrame);
    QApplication::setWindowIcon(ProgramIcon());
    // The display-only expansion window follows the main window while open;
    // closing it clears its open flag.
    QObject::connect(&mChooser, &frmSelect::DisplayOpened, &mWindow, [this] {
        mWindow.Flags().gSelectOpen = true;
        mWindow.Companions().Loaded(Companion::Chooser, &mChooser);
        mWindow.Companions().Follow(Companion::Preview);
    });
    QObject::connect(&mChooser, &frmSelect::DisplayClosed, &mWindow, [this] {
        mWindow.Flags().gSelectOpen = false;
        mWindow.Companions().Follow(Companion::Preview);
    });
}

void DesktopProgram::Main(const QString& executablePath) {
    mProgram.Main(executablePath);
    mMessages.SetParent(&mWindow);
}

void DesktopProgram::LoadMainWindow(const QString& argument) {
    mWindow.Load(argument, mProgram.Fs().CurrentDirectory());
}

}  // namespace sorvane
