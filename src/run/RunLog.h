#pragma once

#include <QString>
#include <functional>

#include "run/ProgramCore.h"

namespace sorvane {

// The end of a run's log, shared by the rename and the restore run.

// After a stop, when some items have changed already: asks whether the
// detailed log is still wanted. The progress window hides for the question
// and shows again on Yes, the stop forgotten first when clearStop; No logs
// that the detailed log was not made. Returns whether to make it.
bool AskDetailedLog(ProgramCore& m, MessageId question, bool clearStop);

// Writes a run's log into the log box in one step: the detailed part (when
// detailed) built by buildDetailed into head and buf, then the summary that
// appendSummary adds to buf. When building or holding the text fails, the
// user is asked once (AskLogError): OK empties the log box and writes the
// summary alone after a line that says so. False when no log was written.
bool WriteRunLog(ProgramCore& m, bool detailed,
                 const std::function<void(QString& head, QString& buf)>& buildDetailed,
                 const std::function<void(QString& buf)>& appendSummary);

}  // namespace sorvane
