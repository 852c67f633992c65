#pragma once

#include <QString>

#include "platform/FileSystem.h"

namespace sorvane {

// The path procedures of the program: turning what the user types, drops or
// configures into an absolute path, finding the nearest existing folder and
// the on-disk spelling of a path. Each returns "" instead of failing.
class mdlTools {
public:
    // currentFolder is the folder against which relative texts are resolved
    // when no base is given (the folder the main window shows); it is read at
    // every call, so it follows the program's changes of folder.
    mdlTools(const FileSystem& fs, const QString& currentFolder);

    QString NormalizePath(const QString& path, const QString& base = QString()) const;
    QString NearestFolder(const QString& path, const QString& base = QString()) const;
    QString TruePath(const QString& path) const;

    static QString StripQuotes(const QString& text);
    static bool NoControlChars(const QString& text);
    static int CheckValue(bool flag) { return flag ? 1 : 0; }
    static bool ValueToBool(int value) { return value != 0; }

private:
    const FileSystem& mFs;
    const QString& mCurrentFolder;
};

// Leading blanks (spaces only, as typed paths carry them) removed.
QString TrimLeadingSpaces(const QString& text);

}  // namespace sorvane
