#pragma once

#include <QString>

namespace sorvane {

// How the last rename or restore run ended.
enum class RunEnd {
    None,              // no run has set an end (the log record keeps "")
    Done,              // "終了"
    ListingStopped,    // the user stopped while the list was built
    ListingFailed,     // the list could not be built
    QuestionsStopped,  // the user stopped at the overwrite questions
    RenameStopped,     // the user stopped while renaming or restoring
    RenameFailed,      // the removal of colliding files failed
    JournalFailed,     // the journal could not be written; nothing was changed
};

// The end status of a run: how it ended and whether the user stopped the
// detailed log after that. Text() is what the log record says.
struct EndStatus {
    RunEnd end = RunEnd::None;
    bool logStopped = false;

    QString Text() const;
    // The run did all it was asked to, log included.
    bool Complete() const { return end == RunEnd::Done && !logStopped; }
};

}  // namespace sorvane
