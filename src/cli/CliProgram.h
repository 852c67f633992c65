#pragma once

#include <QTextStream>

#include "cli/CliLogBox.h"
#include "cli/CliPorts.h"
#include "ports/LogBoxPort.h"
#include "ports/PlainRunInputs.h"
#include "run/RunFrame.h"
#include "run/mdlMain.h"

namespace sorvane {

// The program as one command of sorvane-cli runs it: the stand-ins of its
// windows (questions and messages on err, the log kept for the end), the
// program state they serve and the run frame. Ctrl+C stops its runs while
// it lives.
class CliProgram {
public:
    CliProgram(QTextStream& err, const CliIo& io, const CliAnswers& answers);
    CliProgram(const CliProgram&) = delete;
    CliProgram& operator=(const CliProgram&) = delete;

    mdlMain& Program() { return mProgram; }
    RunFrame& Frame() { return mFrame; }
    CliConsole& Console() { return mConsole; }
    PlainRunInputs& Inputs() { return mInputs; }
    // The log of the command's run, with "\n" line ends.
    void PrintLog(QTextStream& out) const { mLogBox.Print(out); }

private:
    CliInterrupt mInterrupt;
    CliConsole mConsole;
    CliMessageBox mMessages{mConsole};
    CliProgressWindow mProgressWindow{mConsole};
    CliLogBox mLogBox;
    PlainRunInputs mInputs;
    CliForms mForms;
    CliOverwriteQuestion mOverwrite{mConsole};
    CliExpansionChooser mChooser{mConsole};
    mdlMain mProgram{MainPorts{mMessages, mProgressWindow, mLogBox, mInputs, mForms}};
    RunFrame mFrame{mProgram, mOverwrite, mChooser};
};

}  // namespace sorvane
