#pragma once

#include <QtGlobal>

namespace sorvane {

// How the listing of a dry run ended.
enum class ListingEnd {
    Done,       // the whole list was built
    Refused,    // a check refused the run; nothing was listed
    Stopped,    // the user stopped it (Ctrl+C on the command line)
    AtMaximum,  // the list stops at the maximum (--max)
    Failed,     // the folders could not be listed completely
};

// The end of a listing that was not refused: only a list that holds
// exactly the maximum was cut there; anything else that is not complete
// could not be built.
constexpr ListingEnd ListingEndOf(bool complete, bool stopped, qint32 count, qint32 maxCount) {
    if (complete) return ListingEnd::Done;
    if (stopped) return ListingEnd::Stopped;
    return count > 0 && count >= maxCount ? ListingEnd::AtMaximum : ListingEnd::Failed;
}

}  // namespace sorvane
