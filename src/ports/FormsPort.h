#pragma once

namespace sorvane {

// What the run control asks of the windows when it loads a settings file:
// disable and enable the main window, and copy the settings into the
// controls of the main window and of the detailed options window.
class FormsPort {
public:
    virtual ~FormsPort() = default;
    virtual void SetMainEnabled(bool enabled) = 0;          // frmMainEnable
    virtual void ApplyMainFormOptions(bool refresh) = 0;    // frmMain.SetFormOptions
    virtual void ApplyOptionFormOptions() = 0;              // frmOption.SetFormOptions
};

}  // namespace sorvane
