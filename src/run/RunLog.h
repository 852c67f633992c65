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

// The detailed part of a run's log as it is built, block by block: the
// blocks are kept in one text that goes to the log box at the end, or, for
// a box that takes pieces, handed to it one by one, so that a long log is
// never held whole.
class DetailedLogText {
public:
    explicit DetailedLogText(LogBoxPort& box) : mBox(box), mPieces(box.TakesPieces()) {}

    // Room for this many more units, where the text is kept whole: it is
    // then never moved as it grows.
    void Reserve(qint64 units);
    // The block being built.
    QString& Block() { return mBlock; }
    // The block built so far joins the log.
    void EndBlock();
    // The last block, then the whole text where it was kept, into the box.
    void Finish();
    // Starts again from nothing, the block holding text.
    void Restart(QString text);

private:
    LogBoxPort& mBox;
    const bool mPieces;
    QString mKept;
    QString mBlock;
};

// Writes a run's log into the log box: the detailed part (when detailed)
// built by buildDetailed, then the summary that appendSummary adds to the
// last block. When building or holding the text fails, the user is asked
// once (AskLogError): OK empties the log box and writes the summary alone
// after a line that says so; Cancel takes back whatever of the log reached
// the box. False when no log was written.
bool WriteRunLog(ProgramCore& m, bool detailed,
                 const std::function<void(DetailedLogText& log)>& buildDetailed,
                 const std::function<void(QString& block)>& appendSummary);

}  // namespace sorvane
