#pragma once

#include <QString>
#include <optional>

#include "ports/FormValues.h"

namespace sorvane {

// What the run control asks of the windows: disable and enable the main
// window, copy the settings into the controls of the main window and of the
// detailed options window, show the files again after a run, and hand over
// the values of their controls for the settings file.
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
    // The controls' values as a settings file saved now keeps them; none
    // from a front end without windows, whose settings table stays as read.
    virtual std::optional<FormValues> Values() const { return std::nullopt; }
};

}  // namespace sorvane
