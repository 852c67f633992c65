#pragma once

#include <QStringList>
#include <QTextStream>

namespace sorvane {

// Exit statuses of the command line.
constexpr int kCliOk = 0;
constexpr int kCliFailed = 1;
constexpr int kCliUsage = 2;

// One command of sorvane-cli: its name, a one-line summary for --help and
// the procedure that runs it on the arguments after the name.
struct CliCommand {
    const char* name;
    const char* usage;
    int (*run)(const QStringList& args, QTextStream& out, QTextStream& err);
};

// Dispatches the arguments (without the program name) to a command.
int RunCli(const QStringList& args, QTextStream& out, QTextStream& err);

}  // namespace sorvane
