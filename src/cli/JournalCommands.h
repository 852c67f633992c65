#pragma once

#include <QStringList>
#include <QTextStream>

#include "cli/CliPorts.h"

namespace sorvane {

// sorvane-cli restore [--settings FILE] [JOURNAL]
//
// Undoes a run from its journal: the one named, or the newest that is not
// restored, with the settings of sorvane-cli.ini or of FILE (the detailed
// log, the automatic log saving and its folder). An item is moved back only
// when the item at its new name is the one the run listed and nothing holds
// its old name; the restore's log goes to out. Returns 0 when every renamed
// item was put back, 1 otherwise, 2 for a usage error.
int RunRestoreCommand(const QStringList& args, QTextStream& out, QTextStream& err);
int RunRestoreCommand(const QStringList& args, QTextStream& out, QTextStream& err, const CliIo& io,
                      const QString& executablePath);

// sorvane-cli journal: the kept journals, the newest first, one per line:
// time, state, count, start folder, file.
int RunJournalCommand(const QStringList& args, QTextStream& out, QTextStream& err);

}  // namespace sorvane
