#pragma once

#include <QDialog>
#include <functional>

#include "ui/DockedWindow.h"

namespace sorvane {

// A companion window of the main window that is loaded while it exists:
// making it sets loaded and calls remember(true) (a setting that opens it
// at start-up, when it has one); closing it in any way clears both, emits
// Unloaded and deletes the window.
class CompanionDialog : public QDialog, public DockedWindow {
    Q_OBJECT
public:
    CompanionDialog(QWidget& mainWindow, Qt::WindowFlags flags, bool& loaded,
                    std::function<void(bool)> remember = {});
    ~CompanionDialog() override;

Q_SIGNALS:
    void Unloaded();
};

}  // namespace sorvane
