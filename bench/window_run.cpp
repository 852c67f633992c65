// One rename run started from the main window, as a user starts it, for
// bench/window_bench.sh: the folder, "*.txt" -> "*.dat" on the whole name,
// recursive, the detailed log on, no limit on the targets; then a click on
// "開始(&S)". Runs on the offscreen platform; prints the seconds from the
// click to the end of the run, and the end status.
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRadioButton>
#include <cstdio>

#include "ui/DesktopProgram.h"

using namespace sorvane;
using namespace Qt::StringLiterals;

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: window_run FOLDER\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    DesktopProgram desktop;
    desktop.Main(QCoreApplication::applicationFilePath());
    mdlMain& program = desktop.Program();
    program.Options().SetNum(SystemRow::MaxTargets, 100000000);
    program.Options().SetNum(SystemRow::DetailLog, 1);
    program.Options().SetNum(SystemRow::AutoLogSave, 0);
    program.ApplySettings();
    desktop.LoadMainWindow(QString::fromLocal8Bit(argv[1]));
    frmMain& window = desktop.Window();

    window.findChild<QRadioButton*>(u"optM_1"_s)->setChecked(true);
    window.findChild<QLineEdit*>(u"txtBfr"_s)->setText(u"*.txt"_s);
    window.findChild<QLineEdit*>(u"txtAft"_s)->setText(u"*.dat"_s);
    QElapsedTimer clock;
    clock.start();
    window.findChild<QAbstractButton*>(u"cmdStart"_s)->click();
    // The run from the click to its end, the folder shown again included;
    // then the end status.
    std::printf("%.3f\n%s\n", double(clock.nsecsElapsed()) / 1e9,
                program.RunEnd().Text().toUtf8().constData());
    return program.RunEnd().Complete() ? 0 : 1;
}
