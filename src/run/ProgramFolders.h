#pragma once

#include <QString>

namespace sorvane {

// The folders the program works from.
struct ProgramFolders {
    QString gAppPath;    // the program folder, in its on-disk spelling
    QString gDataPath;   // where relative folder settings start: gAppPath, or the
                         // user's data folder for the program (ProgramPlaces)
    QString gCurPath;    // the folder the main window shows; base of typed relative paths
    QString gStartPath;  // where the main window starts when "初期パス" is empty
};

}  // namespace sorvane
