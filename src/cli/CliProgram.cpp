#include "cli/CliProgram.h"

namespace sorvane {

CliProgram::CliProgram(QTextStream& err, const CliIo& io, const CliAnswers& answers)
    : mConsole(err, io, answers) {
    mProgressWindow.Attach(&mProgram.CancelDialog());
}

}  // namespace sorvane
