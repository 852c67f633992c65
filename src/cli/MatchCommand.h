#pragma once

#include <QStringList>
#include <QTextStream>

namespace sorvane {

// sorvane-cli match [--whole] [--text] [--second] SEARCH REPLACE [NAME...]
//
// Sets up the pattern engine as a rename run would (text mode with --text,
// whole-name mode with --whole, the second reading with --second), and prints
// one JSON object: the engine's status, its normalised and display forms, the
// token list and both rows, and for every NAME whether it matches and its new
// name. Arguments after "--" are never options. Returns 0, or 2 with a
// message on err for a usage error. args are the arguments after "match".
int RunMatchCommand(const QStringList& args, QTextStream& out, QTextStream& err);

}  // namespace sorvane
