#pragma once

#include <QString>
#include <array>

namespace sorvane {

// The program state: the settings in effect, the run inputs captured at the
// start of every run, the overwrite dialog's answers and the window flags.
// One instance lives for the whole process; tests make their own.
struct ProgramState {
    // Paths
    QString gAppPath;    // the program folder, in its on-disk spelling
    QString gDataPath;   // where relative folder settings start: gAppPath, or the
                         // user's data folder for the program (ProgramPlaces)
    QString gCurPath;    // the folder the main window shows; base of typed relative paths
    QString gStartPath;  // where the main window starts when "初期パス" is empty

    // Settings in effect (SetGlobalOptions)
    qint32 gMaxTargets = 0;
    bool gEscQuits = false;
    bool gSaveOnExit = false;
    bool gPatternConfirm = false;
    bool gPatternShow = false;
    bool gDetailLog = false;
    bool gOptionWindow = false;
    QString gLogPath;
    bool gAutoLogSave = false;
    bool gJournal = true;  // a run's plan is kept on disk for a restore after a crash
    qint32 gDelMode = 0;
    QString gDelTarget;
    std::array<bool, 3> gFilterSwitch{};  // include on, exclude on, important files excluded
    QString gImportantPatterns;
    bool gFileMode = false;
    bool gFolderMode = false;
    QString gItemWord;      // "ファイル" or "フォルダ"
    qint32 gOperation = 0;  // 0 replace, 1 insert at the front, 2 insert at the back
    bool gFolderSort = false;

    // Run state (GetRunOptions)
    QString gSearchWord;
    QString gReplaceWord;
    bool gRunFolderMode = false;
    bool gRunRecursive = false;
    bool gRunDelete = false;
    bool gRunQuickList = false;

    // Answers of the overwrite confirmation dialog
    bool gDelThis = false;
    bool gDelAll = false;
    bool gKeepAll = false;

    // Window flags
    bool gSelectOpen = false;
    bool gAboutOpen = false;
};

}  // namespace sorvane
