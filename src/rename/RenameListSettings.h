#pragma once

#include <QString>

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
};

}  // namespace sorvane
