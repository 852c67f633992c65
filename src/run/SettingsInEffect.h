#pragma once

#include <QString>
#include <array>

#include "ports/NameRepairKind.h"
#include "rename/DeleteMode.h"
#include "rename/RenameOperation.h"

namespace sorvane {

// The settings in effect: read from the settings table at start-up and
// whenever a settings file is loaded (SettingsOf), then changed only by the
// named commands of mdlMain as the user works the windows.
struct SettingsInEffect {
    qint32 gMaxTargets = 0;
    bool gEscQuits = false;
    bool gSaveOnExit = false;
    bool gPatternConfirm = false;
    bool gPatternShow = false;
    bool gDetailLog = false;
    bool gOptionWindow = false;              // the options window is open, or opens at start-up
    bool gPreviewWindow = false;             // the same for the preview window
    bool gRepairWindow = false;              // the same for the repair window ("名前の修復")
    NameRepair gRepair = NameRepair::Cp932;  // the repair chosen there
    bool gAutoLogSave = false;
    bool gJournal = true;  // a run's plan is kept on disk for a restore after a crash
    DeleteMode gDelMode = DeleteMode::ToTrash;
    QString gDelTarget;
    std::array<bool, 3> gFilterSwitch{};  // include on, exclude on, important files excluded
    QString gImportantPatterns;
    bool gFileMode = false;
    bool gFolderMode = false;
    QString gItemWord;  // "ファイル" or "フォルダ"
    RenameOperation gOperation = RenameOperation::Replace;
    bool gFolderSort = false;
};

}  // namespace sorvane
