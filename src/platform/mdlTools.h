#pragma once

#include <QString>
#include <QStringList>

#include "platform/FileSystem.h"

namespace sorvane {

// The path procedures of the program: turning what the user types, drops or
// configures into an absolute path, finding the nearest existing folder and
// the on-disk spelling of a path, reading shortcuts. Each returns "" instead
// of failing.
class mdlTools {
public:
    // currentFolder is the folder against which relative texts are resolved
    // when no base is given (the folder the main window shows).
    explicit mdlTools(const FileSystem& fs, QString currentFolder = QString());
    void SetCurrentFolder(const QString& folder) { mCurrentFolder = folder; }

    QString NormalizePath(const QString& path, const QString& base = QString()) const;
    QString NearestFolder(const QString& path, const QString& base = QString()) const;
    QString TruePath(const QString& path) const;

    // A shortcut is a symbolic link. ResolveShortcut gives the target of a
    // link and any other path unchanged; GetShortcutTarget gives the target
    // of a link as an absolute path (a relative target is taken from the
    // link's folder), and "" for anything else or a target it cannot read.
    QString ResolveShortcut(const QString& path) const;
    QString GetShortcutTarget(const QString& path) const;
    // The folder that dropping these local paths means: a folder itself, the
    // folder of a file, the target of one dropped shortcut (or its folder),
    // the folder of the first of several items; "" for an empty list.
    QString DropFolder(const QStringList& paths) const;

    static QString StripQuotes(const QString& text);
    static bool NoControlChars(const QString& text);
    static int CheckValue(bool flag) { return flag ? 1 : 0; }
    static bool ValueToBool(int value) { return value != 0; }

private:
    const FileSystem& mFs;
    QString mCurrentFolder;
};

// Leading blanks (spaces only, as typed paths carry them) removed.
QString TrimLeadingSpaces(const QString& text);

}  // namespace sorvane
