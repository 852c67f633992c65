#pragma once

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
#include "run/ProgramFolders.h"
#include "run/RunInputs.h"
#include "run/RunJournal.h"
#include "run/SettingsInEffect.h"
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

// What the run drivers of run/ work on: the program's state and the objects
// its runs share. mdlMain owns the one instance and keeps it from the front
// ends, which see it through mdlMain's views and commands only.
struct ProgramCore {
    explicit ProgramCore(MainPorts windows);
    ProgramCore(const ProgramCore&) = delete;
    ProgramCore& operator=(const ProgramCore&) = delete;

    ProgramFolders folders;
    SettingsInEffect settings;
    RunInputs inputs;
    FileSystem fs;
    mdlTools tools{fs};
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

}  // namespace sorvane
