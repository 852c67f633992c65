#pragma once

#include <QString>

#include "platform/FileSystem.h"

namespace sorvane {

// One rename of a run's plan as its journal keeps it: the item, by its
// identity when it was listed, and its two paths relative to the start
// folder.
struct JournalRecord {
    FileIdentity identity;
    QString oldPath;
    QString newPath;
};

}  // namespace sorvane
