#pragma once

#include <QString>

namespace sorvane {

// What the run control asks of the windows: disable and enable the main
// window, copy the settings into the controls of the main window and of the
// detailed options window, and show the files again after a run.
class FormsPort {
public:
    virtual ~FormsPort() = default;
    virtual void SetMainEnabled(bool enabled) = 0;        // frmMainEnable
    virtual void ApplyMainFormOptions(bool refresh) = 0;  // frmMain.SetFormOptions
    virtual void ApplyOptionFormOptions() = 0;            // frmOption.SetFormOptions
    // After a rename the main window shows the start folder again; after a
    // restore it refreshes its view. A front end without a folder view
    // keeps these empty.
    virtual void ChangePath(const QString& /*path*/) {}  // frmMain.ChangePath
    virtual void WindowRefresh() {}                      // frmMain.WindowRefresh
};

}  // namespace sorvane
