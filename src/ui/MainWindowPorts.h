#pragma once

#include "ports/FormsPort.h"
#include "ports/HistoryButtonsPort.h"
#include "ports/RunInputsPort.h"

namespace sorvane {

class frmMain;

// The main window as the run control and the folder history talk to it:
// each call goes to the window's own handler.
class MainWindowPorts : public FormsPort, public RunInputsPort, public HistoryButtonsPort {
public:
    explicit MainWindowPorts(frmMain& window) : mWindow(window) {}

    void SetMainEnabled(bool enabled) override;
    void ApplyMainFormOptions(bool refresh) override;
    void ApplyOptionFormOptions() override;
    void ChangePath(const QString& path) override;
    void WindowRefresh() override;
    std::optional<FormValues> Values() const override;

    void SetSearchWord(const QString& text) override;
    void SetReplaceWord(const QString& text) override;

    void SetBackEnabled(bool enabled) override;
    void SetForwardEnabled(bool enabled) override;

private:
    frmMain& mWindow;
};

}  // namespace sorvane
