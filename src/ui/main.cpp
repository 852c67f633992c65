#include <QApplication>

#include "ports/PlainRunInputs.h"
#include "run/mdlMain.h"
#include "ui/QtMessageBox.h"
#include "ui/frmDlgCancel.h"
#include "ui/frmMain.h"

using namespace sorvane;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QtMessageBox messages;
    frmDlgCancel progressWindow;
    frmMain mainWindow;
    // The main window's run controls come with its full form; until then a
    // run reads these inputs.
    PlainRunInputs runInputs;
    mdlMain program(MainPorts{messages, progressWindow, mainWindow, runInputs, mainWindow});
    progressWindow.Attach(&program.CancelDialog);

    program.Main(QCoreApplication::applicationFilePath());

    messages.SetParent(&mainWindow);
    mainWindow.show();
    return app.exec();
}
