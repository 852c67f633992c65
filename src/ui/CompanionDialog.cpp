#include "ui/CompanionDialog.h"

namespace sorvane {

CompanionDialog::CompanionDialog(QWidget& mainWindow, Qt::WindowFlags flags, bool& loaded,
                                 std::function<void(bool)> remember)
    : QDialog(&mainWindow) {
    setWindowFlags(flags | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    loaded = true;
    if (remember) remember(true);
    // Every way of closing a dialog ends in done(), which emits finished.
    connect(this, &QDialog::finished, this, [this, &loaded, remember] {
        loaded = false;
        if (remember) remember(false);
        deleteLater();
        Q_EMIT Unloaded();
    });
}

// Deleted with the main window the program state may be gone already.
CompanionDialog::~CompanionDialog() {
    disconnect(this, &QDialog::finished, this, nullptr);
}

}  // namespace sorvane
