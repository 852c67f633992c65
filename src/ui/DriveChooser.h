#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include "platform/MountWatch.h"
#include "ui/DriveList.h"

class QComboBox;
class QKeyEvent;

namespace sorvane {

// The drive list (Drive1): the mounted file systems a user browses, each
// remembering the folder last shown on it.
class DriveChooser : public QObject {
    Q_OBJECT
public:
    explicit DriveChooser(QComboBox& box);

    // Reads the file systems again and shows the one of folder ("" none).
    void Refresh(const QString& folder);
    // Shows the file system of folder, which remembers it as the folder last
    // shown there. A stick mounted or removed since the list was read is
    // there or gone first.
    void Show(const QString& folder);
    // Ctrl+F, Ctrl+X and Ctrl+C copy the item as it is shown. True when the
    // key was one of them.
    bool CtrlCopy(const QKeyEvent* event);

Q_SIGNALS:
    // The user chose a file system: the folder last shown on it.
    void FolderChosen(const QString& folder);

private:
    void Read();

    QComboBox& mBox;
    QList<Drive> mDrives;
    MountWatch mMounts;                   // whether mDrives is to be read again
    QHash<QString, QString> mLastFolder;  // per drive root: the folder last shown there
};

}  // namespace sorvane
