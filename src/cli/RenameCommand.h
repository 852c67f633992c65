#pragma once

#include <QStringList>
#include <QTextStream>

#include "cli/CliPorts.h"

namespace sorvane {

// sorvane-cli rename [options] [--] FOLDER
//
// One rename run without a window, through the same run frame as the
// program's start button: the start checks, the pre-run checks, the run,
// the log record and the automatic log saving. Message boxes go to err,
// the log box's text to out at the end. With --dry-run the target list is
// built and printed, and nothing is renamed or removed. Returns 0 when the
// run ended with "終了", 1 when a check refused it or it ended otherwise,
// 2 for a usage error. args are the arguments after "rename".
int RunRenameCommand(const QStringList& args, QTextStream& out, QTextStream& err);

// The same with the terminal and the program's own path given: the
// settings file is read beside executablePath.
int RunRenameCommand(const QStringList& args, QTextStream& out, QTextStream& err, const CliIo& io,
                     const QString& executablePath);

// sorvane-cli repair [options] --encoding cp932|euc-jp|unzip-cp932 | --nfc [--] FOLDER
//
// A repair of names instead of a rename by words: the files and folders
// under FOLDER whose names need the repair get their repaired names, with
// the same checks, verdicts, questions, journal, log and exit statuses as a
// rename. args are the arguments after "repair".
int RunRepairCommand(const QStringList& args, QTextStream& out, QTextStream& err);
int RunRepairCommand(const QStringList& args, QTextStream& out, QTextStream& err, const CliIo& io,
                     const QString& executablePath);

}  // namespace sorvane
