#pragma once

class QWidget;

namespace sorvane {

// A companion window that docks beside the main window.
class DockedWindow {
public:
    virtual ~DockedWindow() = default;
    // Places the window beside form by its own docking rule.
    virtual void FollowForm(const QWidget* form) = 0;
};

}  // namespace sorvane
