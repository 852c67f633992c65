#include "run/ProgramPlaces.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/FileSystem.h"
#include "platform/FolderAccess.h"

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

const QString kUserFolderName = u"sorvane"_s;

// A file that the install rules put under the prefix of the program folder
// (the folder above bin), or "" when the program folder has no parent.
QString InstalledFile(const QString& appPath, const QString& relative) {
    const QString prefix = FileSystem::ParentFolderName(appPath);
    return prefix.isEmpty() ? QString() : FileSystem::BuildPath(prefix, relative);
}

bool IsInstalledCopy(const QString& appPath) {
    const QString entry = InstalledFile(appPath, u"share/applications/sorvane.desktop"_s);
    return !entry.isEmpty() && QFileInfo(entry).isFile();
}

}  // namespace

ProgramPlaces PlacesOf(const QString& appPath) {
    ProgramPlaces places{true, appPath, appPath, appPath};
    if (MayWriteInFolder(appPath) && !IsInstalledCopy(appPath)) return places;
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (config.isEmpty() || data.isEmpty()) return places;
    places.portable = false;
    places.settingsFolder = FileSystem::BuildPath(config, kUserFolderName);
    places.dataFolder = FileSystem::BuildPath(data, kUserFolderName);
    // An installed program's folder (/usr/bin) is nothing a user renames in.
    places.startFolder = QDir::homePath();
    return places;
}

QString JournalFolder(const ProgramPlaces& places) {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString base =
        data.isEmpty() ? places.dataFolder : FileSystem::BuildPath(data, kUserFolderName);
    return FileSystem::BuildPath(base, u"journal"_s);
}

QString ReadmePath(const QString& appPath) {
    const QString beside = FileSystem::BuildPath(appPath, u"readme.txt"_s);
    if (QFileInfo(beside).isFile()) return beside;
    const QString installed = InstalledFile(appPath, u"share/doc/sorvane/readme.txt"_s);
    return !installed.isEmpty() && QFileInfo(installed).isFile() ? installed : beside;
}

}  // namespace sorvane
