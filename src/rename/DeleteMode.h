#pragma once

#include <QtGlobal>

namespace sorvane {

// How a run removes the existing files that targets collide with
// ("削除モード"). The values are the ones the settings file stores.
enum class DeleteMode : qint32 {
    ToTrash = 0,   // moved to the trash
    Forced = 1,    // deleted completely
    ToFolder = 2,  // moved into a new folder under the delete-target folder
};

}  // namespace sorvane
