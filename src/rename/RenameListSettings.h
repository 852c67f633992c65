#pragma once

#include <QString>

#include "rename/NameRepair.h"
#include "rename/RenameOperation.h"

namespace sorvane {

// The settings of one run that shape the target list.
struct RenameListSettings {
    bool folderMode = false;  // the run renames folders (gRunFolderMode)
    bool recursive = false;   // descend into subfolders (gRunRecursive)
    bool quickList = false;   // no collision checks (gRunQuickList)
    bool folderSort = false;  // sort the targets of each folder (gFolderSort)
    RenameOperation operation = RenameOperation::Replace;  // gOperation
    QString insertWord;  // the word of the insert operations (gReplaceWord)
    // A repair of names instead of the operation: files and folders
    // together, each new name the repaired name (folderMode is not read).
    NameRepair repair = NameRepair::None;
};

}  // namespace sorvane
