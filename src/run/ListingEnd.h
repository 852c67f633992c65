#pragma once

namespace sorvane {

// How the listing of a dry run ended.
enum class ListingEnd {
    Done,       // the whole list was built
    Refused,    // a check refused the run; nothing was listed
    Stopped,    // the user stopped it (Ctrl+C on the command line)
    AtMaximum,  // the list stops at the maximum (--max)
    Failed,     // the folders could not be listed completely
};

}  // namespace sorvane
