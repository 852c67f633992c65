#pragma once

#include <QString>

#include "log/mdlLog.h"
#include "matching/clsMatching.h"
#include "platform/FileSystem.h"
#include "platform/mdlTools.h"
#include "ports/FormsPort.h"
#include "ports/LogBoxPort.h"
#include "ports/MessageBoxPort.h"
#include "ports/ProgressWindowPort.h"
#include "ports/RunInputsPort.h"
#include "ports/clsCancel.h"
#include "rename/mdlRename.h"
#include "run/EndStatus.h"
#include "run/ProgramState.h"
#include "run/RunJournal.h"
#include "selection/clsFilter.h"
#include "settings/mdlOptions.h"

namespace sorvane {

// The windows (or their stand-ins) that the run control talks to.
struct MainPorts {
    MessageBoxPort& messages;
    ProgressWindowPort& progressWindow;
    LogBoxPort& logBox;
    RunInputsPort& runInputs;
    FormsPort& forms;
};

// Run control: the program state, the shared objects of the runs, start-up
// and the small helpers every run uses.
class mdlMain {
public:
    explicit mdlMain(MainPorts ports);
    mdlMain(const mdlMain&) = delete;
    mdlMain& operator=(const mdlMain&) = delete;

    // Start-up up to, not including, loading the main window: the program
    // folder, the settings table and file, the program state, the log record.
    void Main(const QString& executablePath);

    // Puts the settings table into effect: the program state and the filter
    // the file list and the runs select with. A front end then fills its
    // run inputs from RunInputsOf(options).
    void ApplySettings();

    // Reads a settings file chosen by the user and fills both windows again.
    void LoadSettingsFile(const QString& path);

    ProgramState state;
    FileSystem fs;
    mdlTools tools{fs, state.gCurPath};
    mdlOptions options;
    mdlLog log;
    clsFilter filter;
    clsMatching matching;
    clsCancel CancelDialog;
    MainPorts ports;
    // The target list of the last rename run.
    mdlRename rename{fs, matching, filter, CancelDialog};
    // How the last run ended; the log record keeps its text.
    EndStatus runEnd;
    // The journal of the target list, on disk.
    RunJournal journal;
};

// Saves the log of the last run now, at the user's request: the main window
// is disabled meanwhile, and a failure shows the lines of what could not be
// written.
void SaveLogNow(mdlMain& m);

// One side of the filter (0 include, any other the exclude side) from the
// switches in effect and the side's pattern text: the include patterns when
// that switch is on; the exclude patterns, the important files or both,
// joined by ";", when either is on. Also the file or folder mode.
void ApplyFilterSide(mdlMain& m, int side, const QString& text);

// The run inputs as the settings table gives them to the main window's
// controls.
RunInputValues RunInputsOf(const mdlOptions& options);

}  // namespace sorvane
