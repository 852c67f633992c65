#include "ui/DriveChooser.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>

#include "platform/ShownName.h"

namespace sorvane {

DriveChooser::DriveChooser(QComboBox& box) : mBox(box) {
    // Only a choice of the user's: the list's own changes do not activate.
    connect(&mBox, &QComboBox::activated, this, [this](int index) {
        if (index < 0 || index >= mDrives.size()) return;
        const QString root = mDrives[index].root;
        Q_EMIT FolderChosen(mLastFolder.value(root, root));
    });
}

void DriveChooser::Refresh(const QString& folder) {
    Read();
    if (!folder.isEmpty()) Show(folder);
}

void DriveChooser::Read() {
    mDrives = BrowsableDrives();
    mBox.clear();
    for (const Drive& d : std::as_const(mDrives)) mBox.addItem(ShownName(d.text));
}

void DriveChooser::Show(const QString& folder) {
    if (mMounts.Changed()) Read();
    const int index = DriveOf(mDrives, folder);
    mBox.setCurrentIndex(index);
    if (index >= 0) mLastFolder.insert(mDrives[index].root, folder);
}

bool DriveChooser::CtrlCopy(const QKeyEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) return false;
    const int key = event->key();
    if (key != Qt::Key_F && key != Qt::Key_X && key != Qt::Key_C) return false;
    QGuiApplication::clipboard()->clear();
    QGuiApplication::clipboard()->setText(mBox.currentText());
    return true;
}

}  // namespace sorvane
