#pragma once

namespace sorvane {

// Which companion windows are loaded: set when a window opens, cleared when
// it closes in any way. A closed window may still await its deletion.
struct WindowFlags {
    bool gOptionWindow = false;  // frmOption
    bool gSelectOpen = false;    // frmSelect in its display-only style
    bool gAboutOpen = false;     // frmAbout
    bool gPreviewOpen = false;   // frmPreview
    bool gRepairOpen = false;    // frmRepair
    bool gHistoryOpen = false;   // frmHistory
};

}  // namespace sorvane
