#pragma once

#include <QString>
#include <QTextStream>

#include "rename/mdlRename.h"
#include "run/EndStatus.h"
#include "run/ListingEnd.h"

namespace sorvane {

// The JSON object of `sorvane-cli rename --json`: the end of the run (end,
// endStatus, complete), the counts of the log's summary and one entry per
// target of r, in the order of the target list, with its paths relative to
// the start folder, its verdict and the rename's outcome. ran: the run went
// through the run frame (false when a check refused it). The keys are
// described in the manual page, sorvane-cli(1).
// The targets whose rename ended in an error (not a skip by verdict).
qint32 FailedTargets(const mdlRename& r);
// The run did all it was asked to: complete, and no target ended in an error.
bool RunDidAll(const mdlRename& r, const EndStatus& end);

void WriteRunJson(QTextStream& out, const mdlRename& r, const EndStatus& end, bool ran);

// The same for `--dry-run --json`: the listing's end, the count and the
// targets with their verdicts, without outcomes.
void WriteDryRunJson(QTextStream& out, const mdlRename& r, ListingEnd end);

}  // namespace sorvane
