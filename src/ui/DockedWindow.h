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

// Where a companion window docks to a form's frame: to its right, below
// it, or to its right one frame lower (under the options window, which
// takes the place to the right).
enum class Dock { Right, Below, RightLower };

// Moves window to its place by form; nothing without a form.
void DockTo(QWidget& window, const QWidget* form, Dock where);

}  // namespace sorvane
