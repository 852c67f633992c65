#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace sorvane {

// One mounted file system as the drive list shows it.
struct Drive {
    QString root;  // its mount point
    QString text;  // the mount point, with its label when it has one
};

// Whether a user would browse a mounted file system: not one of the
// kernel's own (proc, sysfs, cgroup, devpts, ...), not a snap or squashfs
// image, not mounted inside /proc, /sys, /dev or /run (but /run/media).
bool IsBrowsable(const QByteArray& fileSystemType, const QString& mountPoint);

// The browsable mounted file systems, "/" first, then by mount point.
QList<Drive> BrowsableDrives();

// The index of the drive that holds folder (the longest mount point it lies
// under), or -1.
int DriveOf(const QList<Drive>& drives, const QString& folder);

}  // namespace sorvane
