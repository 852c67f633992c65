#pragma once

namespace sorvane {

// The main window's back and forward buttons (cmdHst 0 and 1) as the folder
// history drives them: it only ever turns them on or off.
class HistoryButtonsPort {
public:
    virtual ~HistoryButtonsPort() = default;
    virtual void SetBackEnabled(bool enabled) = 0;
    virtual void SetForwardEnabled(bool enabled) = 0;
};

}  // namespace sorvane
