#include <QApplication>

#include "platform/FileSystem.h"
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
    // The whole argument text: a folder name may hold blanks. By its bytes,
    // so that a folder whose name is not UTF-8 is named exactly.
    QStringList args;
    for (int i = 1; i < argc; ++i) args.append(FileSystem::Decode(argv[i]));
    desktop.LoadMainWindow(args.join(u' '));
    return app.exec();
}
