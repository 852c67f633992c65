#include <QApplication>

#include "run/RunFrame.h"
#include "run/mdlMain.h"
#include "ui/QtExpansionChooser.h"
#include "ui/QtMessageBox.h"
#include "ui/Translation.h"
#include "ui/frmDlgCancel.h"
#include "ui/frmDlgDel.h"
#include "ui/frmMain.h"

using namespace sorvane;

namespace {

// The companion windows are placed beside the main window, which Wayland
// does not let a program do: unless the user chose a platform, the program
// runs on X11 (XWayland on a Wayland desktop).
void PreferX11() {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && qEnvironmentVariableIsSet("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

}  // namespace

int main(int argc, char* argv[]) {
    PreferX11();
    QApplication app(argc, argv);
    InstallJapaneseTranslation(app);
    QtMessageBox messages;
    frmMain mainWindow;
    frmDlgCancel progressWindow(&mainWindow);
    frmDlgDel overwrite(&mainWindow);
    QtExpansionChooser chooser(&mainWindow);
    mdlMain program(MainPorts{messages, progressWindow, mainWindow, mainWindow, mainWindow});
    RunFrame frame(program, overwrite, chooser);
    progressWindow.Attach(&program.CancelDialog);
    mainWindow.Attach(program, frame);

    program.Main(QCoreApplication::applicationFilePath());

    messages.SetParent(&mainWindow);
    // The whole argument text: a folder name may hold blanks.
    mainWindow.Load(QCoreApplication::arguments().mid(1).join(u' '));
    return app.exec();
}
