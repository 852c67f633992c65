// The preview window "変換プレビュー" on a large folder, for
// bench/preview_bench.sh. The main window shows FOLDER with "*.txt" ->
// "*.dat" on the whole name in its boxes, the settings at their defaults
// but for no limit on the targets; then, on the offscreen platform:
//
//  1. the preview is opened from its menu item, and timed until its title
//     shows the counts (and until the rows are in its table);
//  2. 20 keys are pressed in the search word box txtBfr, one every 30 ms,
//     delivered to the focused box as a user's key presses: "_abcdefghi"
//     after "*.txt", then 10 Backspaces, so that every key changes the word
//     and the last word is "*.txt" again, which every file matches. A 1 ms
//     heartbeat timer measures the longest gap in the window's event loop
//     from the first key until 100 ms after the last key's counts are shown;
//  3. the time from the last key to the counts in the title;
//  4. the heap in use before the preview is opened, after its first result
//     and after its last.
//
// With --no-preview the same happens without the preview window (keys and
// waits included), so that the whole program's peak memory can be compared;
// with --plan-alone the window's thread computes PreviewPlan once on the
// same inputs instead, timed, with the heap its result holds.
// Prints "name value" lines for the script; exits 1 when the preview did not
// show the counts of every file.
#include <malloc.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "ui/DesktopProgram.h"
#include "ui/frmPreview.h"

using namespace sorvane;
using namespace Qt::StringLiterals;

namespace {

QElapsedTimer gClock;

double Ms(qint64 ns) {
    return double(ns) / 1e6;
}

// The heap this process holds in use (all arenas), in KiB.
long HeapInUseKiB() {
    const struct mallinfo2 info = mallinfo2();
    return long((info.uordblks + info.hblkhd) / 1024);
}

// Ticks every millisecond on the window's thread; the longest time between
// two ticks is the longest the event loop was kept from its events.
class Heartbeat {
public:
    Heartbeat() {
        mTimer.setTimerType(Qt::PreciseTimer);
        mTimer.setInterval(1);
        QObject::connect(&mTimer, &QTimer::timeout, [this] { Tick(); });
    }
    void Start() {
        mLast = gClock.nsecsElapsed();
        mLongest = 0;
        mLongestEnd = mLast;
        mTimer.start();
    }
    void Stop() {
        Tick();
        mTimer.stop();
    }
    qint64 Longest() const { return mLongest; }
    qint64 LongestEnd() const { return mLongestEnd; }

private:
    void Tick() {
        const qint64 now = gClock.nsecsElapsed();
        if (now - mLast > mLongest) {
            mLongest = now - mLast;
            mLongestEnd = now;
        }
        mLast = now;
    }
    QTimer mTimer;
    qint64 mLast = 0;
    qint64 mLongest = 0;
    qint64 mLongestEnd = 0;
};

// Runs the event loop for ms milliseconds.
void RunFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// The number of targets in a title with counts, or -1.
int TargetsIn(const QString& title) {
    static const QRegularExpression counts(u"対象(\\d+)・変換(\\d+)・スキップ(\\d+)$"_s);
    const QRegularExpressionMatch match = counts.match(title);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// Watches one preview: when its title last showed counts, and when a
// result had been shown in full (the table's rows included).
struct Watch {
    qint64 title = 0;  // the title showed counts
    qint64 shown = 0;  // the result's rows were in the table
    int targets = -1;
    int results = 0;
    // While armed, a result quits loop quitAfterMs later.
    bool armed = false;
    QEventLoop* loop = nullptr;
    int quitAfterMs = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
    enum class Mode { Preview, NoPreview, PlanAlone };
    Mode mode = Mode::Preview;
    if (argc == 3 && std::strcmp(argv[2], "--no-preview") == 0)
        mode = Mode::NoPreview;
    else if (argc == 3 && std::strcmp(argv[2], "--plan-alone") == 0)
        mode = Mode::PlanAlone;
    if (argc != 2 && mode == Mode::Preview) {
        std::fprintf(stderr, "usage: preview_run FOLDER [--no-preview | --plan-alone]\n");
        return 2;
    }
    const bool preview = mode == Mode::Preview;
    // Every file of the folder is a target.
    const int files = int(QDir(QString::fromLocal8Bit(argv[1]))
                              .entryList(QDir::Files | QDir::Hidden | QDir::System)
                              .size());
    gClock.start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    DesktopProgram desktop;
    desktop.Main(QCoreApplication::applicationFilePath());
    mdlMain& program = desktop.Program();
    // The defaults, whatever a settings file beside the program says, but
    // for the maximum, which would cut the list at 10,000 targets.
    program.Options().SetDefaultOptions();
    program.Options().SetNum(SystemRow::MaxTargets, 100000000);
    program.ApplySettings();
    desktop.LoadMainWindow(QString::fromLocal8Bit(argv[1]));
    frmMain& window = desktop.Window();
    window.findChild<QRadioButton*>(u"optM_1"_s)->setChecked(true);
    auto* search = window.findChild<QLineEdit*>(u"txtBfr"_s);
    search->setText(u"*.txt"_s);
    window.findChild<QLineEdit*>(u"txtAft"_s)->setText(u"*.dat"_s);
    RunFor(200);

    if (mode == Mode::PlanAlone) {
        // Where the time goes: the plan alone on this thread, and its freeing.
        const QString& folder = program.Folders().gCurPath;
        const PreviewRequest request{folder, folder, program.Settings(), window.Values().run,
                                     program.Filter().Selection()};
        const std::atomic<bool> stop{false};
        const long heapBefore = HeapInUseKiB();
        const qint64 start = gClock.nsecsElapsed();
        auto plan = std::make_unique<PlanPreview>(PreviewPlan(request, stop));
        const qint64 planned = gClock.nsecsElapsed();
        const long heapPlan = HeapInUseKiB();
        const qint32 count = plan->plan.targets.Count();
        plan.reset();
        const qint64 freed = gClock.nsecsElapsed();
        std::printf("plan_ms %.1f\n", Ms(planned - start));
        std::printf("plan_free_ms %.1f\n", Ms(freed - planned));
        std::printf("plan_heap_kib %ld\n", heapPlan - heapBefore);
        std::printf("plan_targets %d\n", count);
        return count == files ? 0 : 1;
    }

    Heartbeat heartbeat;
    Watch watch;
    const long heapBefore = HeapInUseKiB();
    long heapOpen = heapBefore;

    // 1. The preview opened from its menu item.
    frmPreview* form = nullptr;
    if (preview) {
        auto* item = window.findChild<QAction*>(u"mnuEtcPreview"_s);
        QEventLoop loop;
        heartbeat.Start();
        const qint64 start = gClock.nsecsElapsed();
        item->trigger();
        const qint64 opened = gClock.nsecsElapsed();
        // Before the first result has come: the window alone.
        heapOpen = HeapInUseKiB();
        form = window.findChild<frmPreview*>();
        auto* computer = form ? form->findChild<PreviewComputer*>() : nullptr;
        if (!computer || !item->isChecked()) {
            std::fprintf(stderr, "preview_run: the preview did not open\n");
            return 1;
        }
        QObject::connect(form, &QWidget::windowTitleChanged, [&watch](const QString& title) {
            const int targets = TargetsIn(title);
            if (targets < 0) return;
            watch.title = gClock.nsecsElapsed();
            watch.targets = targets;
        });
        // After the window's own slot: the result has been shown in full.
        QObject::connect(computer, &PreviewComputer::Computed, [&watch] {
            watch.shown = gClock.nsecsElapsed();
            ++watch.results;
            if (watch.armed)
                QTimer::singleShot(watch.quitAfterMs, Qt::PreciseTimer, watch.loop,
                                   &QEventLoop::quit);
        });
        watch.loop = &loop;
        watch.armed = true;
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        loop.exec();
        heartbeat.Stop();
        watch.armed = false;
        std::printf("open_ms %.1f\n", Ms(opened - start));
        std::printf("first_title_ms %.1f\n", Ms(watch.title - start));
        std::printf("first_shown_ms %.1f\n", Ms(watch.shown - start));
        std::printf("first_stall_ms %.1f\n", Ms(heartbeat.Longest()));
        std::printf("first_targets %d\n", watch.targets);
        std::printf("settle_ms %d\n", PreviewComputer::kSettleMs);
        if (watch.targets != files || watch.results != 1) {
            std::fprintf(stderr, "preview_run: first preview: %d targets, %d results, title %s\n",
                         watch.targets, watch.results, qPrintable(form->windowTitle()));
            return 1;
        }
        RunFor(200);
    }
    const long heapFirst = HeapInUseKiB();

    // 2. 20 keys in the focused search word, one every 30 ms.
    window.activateWindow();
    search->setFocus();
    RunFor(50);  // the box selects its text when it takes the focus
    search->deselect();
    search->end(false);
    if (QApplication::focusWidget() != search) {
        std::fprintf(stderr, "preview_run: the search word box does not have the focus\n");
        return 1;
    }
    std::vector<int> keys;
    for (const char c : std::string_view("_abcdefghi")) keys.push_back(c);
    for (int i = 0; i < 10; ++i) keys.push_back(Qt::Key_Backspace);
    QString expected = search->text();
    QEventLoop typing;
    QTimer keyTimer;
    keyTimer.setTimerType(Qt::PreciseTimer);
    keyTimer.setInterval(30);
    size_t pressed = 0;
    qint64 lastKey = 0;
    int resultsWhileTyping = 0;
    int notOutdated = 0;  // keys after which the title did not say 計算中…
    bool keysLost = false;
    QObject::connect(&keyTimer, &QTimer::timeout, [&] {
        const int key = keys[pressed++];
        if (key == Qt::Key_Backspace) {
            QTest::keyClick(search, Qt::Key_Backspace);
            expected.chop(1);
        } else {
            QTest::keyClick(search, char(key));
            expected.append(QChar(key));
        }
        if (search->text() != expected) keysLost = true;
        // Each key makes the shown result out of date at once.
        if (preview && !form->windowTitle().endsWith(u"－計算中…"_s)) ++notOutdated;
        if (pressed < keys.size()) return;
        keyTimer.stop();
        lastKey = gClock.nsecsElapsed();
        // Only what comes after the last key counts; a result shown between
        // two keys is not the last one.
        resultsWhileTyping = watch.results;
        watch = Watch{};
        watch.loop = &typing;
        watch.quitAfterMs = 100;  // the table's painting counts too
        watch.armed = true;
        // Without the preview nothing comes: a wait as long as with it.
        if (!preview) QTimer::singleShot(1000, Qt::PreciseTimer, &typing, &QEventLoop::quit);
    });
    watch.results = 0;
    QTimer::singleShot(60000, &typing, &QEventLoop::quit);
    heartbeat.Start();
    const qint64 firstKey = gClock.nsecsElapsed();
    keyTimer.start();
    typing.exec();
    heartbeat.Stop();
    const long heapFinal = HeapInUseKiB();

    std::printf("keys %zu\n", pressed);
    std::printf("typing_ms %.1f\n", Ms(lastKey - firstKey));
    std::printf("stall_ms %.1f\n", Ms(heartbeat.Longest()));
    std::printf("stall_at_ms %.1f\n", Ms(heartbeat.LongestEnd() - lastKey));
    std::printf("heap_before_kib %ld\n", heapBefore);
    std::printf("heap_open_kib %ld\n", heapOpen);
    std::printf("heap_first_kib %ld\n", heapFirst);
    std::printf("heap_final_kib %ld\n", heapFinal);
    if (keysLost || pressed != keys.size() || search->text() != u"*.txt"_s) {
        std::fprintf(stderr, "preview_run: the keys did not reach the box (\"%s\")\n",
                     qPrintable(search->text()));
        return 1;
    }
    if (!preview) return 0;
    std::printf("final_title_ms %.1f\n", Ms(watch.title - lastKey));
    std::printf("final_shown_ms %.1f\n", Ms(watch.shown - lastKey));
    std::printf("final_targets %d\n", watch.targets);
    std::printf("final_results %d\n", watch.results);
    std::printf("results_while_typing %d\n", resultsWhileTyping);
    if (notOutdated > 0) {
        std::fprintf(stderr, "preview_run: %d keys left the title without 計算中…\n", notOutdated);
        return 1;
    }
    if (watch.targets != files || watch.results != 1 || watch.shown < lastKey) {
        std::fprintf(stderr, "preview_run: last preview: %d targets, %d results, title %s\n",
                     watch.targets, watch.results, qPrintable(form->windowTitle()));
        return 1;
    }
    return 0;
}
