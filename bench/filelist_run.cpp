// The main window's file list on a folder of 100,000 files, for
// bench/filelist_bench.sh: ChangePath into the folder beside the filter's
// listing alone, and a switch of the include patterns to "*.txt" beside the
// same listing with that pattern. Medians of RUNS runs; offscreen platform.
#include <malloc.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "ui/DesktopProgram.h"

using namespace sorvane;
using namespace Qt::StringLiterals;

namespace {

double MedianMs(int runs, const std::function<void()>& run) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        run();
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The heap this process holds in use, in KiB: what a list keeps, without
// what was freed after a listing.
long HeapInUseKiB() {
    const struct mallinfo2 info = mallinfo2();
    return long((info.uordblks + info.hblkhd) / 1024);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: filelist_run FOLDER [RUNS]\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    DesktopProgram desktop;
    desktop.Main(QCoreApplication::applicationFilePath());
    desktop.LoadMainWindow(QDir::rootPath());
    mdlMain& program = desktop.Program();
    frmMain& window = desktop.Window();
    // The baseline lists through a filter of its own, set as the program's.
    clsFilter filter = program.Filter();

    const double listing = MedianMs(runs, [&] { filter.MakeFileList(folder); });
    qint64 nameBytes = 0;
    for (int i = 0; i < filter.ListCount(); ++i) nameBytes += filter.ListItem(i).size() * 2;
    filter.ReleaseNames();
    // The program's own filter has listed the folder before, as the
    // baseline's has: what it keeps between listings is not the list's.
    program.ListFolder(folder, nullptr);
    const long beforeList = HeapInUseKiB();
    const double change = MedianMs(runs, [&] { window.ChangePath(folder); });
    const long listKiB = HeapInUseKiB() - beforeList;

    auto* box = window.findChild<QLineEdit*>(u"txtExt_0"_s);
    auto* on = window.findChild<QAbstractButton*>(u"chkExt_0"_s);
    box->setText(u"*.txt"_s);
    const double filtered =
        MedianMs(runs,
                 [&] {
                     on->click();  // on: the pattern takes effect and the folder is listed again
                     on->click();  // off again for the next run
                 }) /
        2;
    filter.setIsMatchOther(0, true);
    filter.setPatterns(0, u"*.txt"_s);
    const double filterListing = MedianMs(runs, [&] { filter.MakeFileList(folder); });

    std::printf("  listing alone      %8.1f ms\n", listing);
    std::printf("  ChangePath         %8.1f ms   ratio %.2f (target <= 2)\n", change,
                change / listing);
    std::printf("  listing \"*.txt\"    %8.1f ms\n", filterListing);
    std::printf("  switch to \"*.txt\"  %8.1f ms   ratio %.2f (target <= 2)\n", filtered,
                filtered / filterListing);
    std::printf(
        "  the list's memory  %8ld KiB   the names' text %lld KiB, ratio %.2f (target <= 2)\n",
        listKiB, static_cast<long long>(nameBytes / 1024),
        double(listKiB) * 1024 / double(std::max<qint64>(nameBytes, 1)));
    return 0;
}
