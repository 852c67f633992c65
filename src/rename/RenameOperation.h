#pragma once

#include <QtGlobal>

namespace sorvane {

// What a rename run does to each name ("置換方法"). The values are the ones
// the settings file stores.
enum class RenameOperation : qint32 {
    Replace = 0,      // the replace pattern builds the new name
    InsertFront = 1,  // the insert word goes before the name
    InsertBack = 2,   // the insert word goes after the name
};

}  // namespace sorvane
