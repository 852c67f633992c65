#include <QApplication>

#include "ui/DesktopProgram.h"
#include "ui/Translation.h"

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
    DesktopProgram desktop;
    desktop.Main(QCoreApplication::applicationFilePath());
    // The whole argument text: a folder name may hold blanks.
    desktop.LoadMainWindow(QCoreApplication::arguments().mid(1).join(u' '));
    return app.exec();
}
