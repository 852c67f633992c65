// The parts of a path, taken from its text alone.

#include <QStringList>

#include "platform/FileSystem.h"

namespace sorvane {

QString FileSystem::ParentFolderName(const QString& path) {
    qsizetype end = path.size();
    while (end > 0 && path[end - 1] == u'/') --end;
    if (end == 0) return {};  // "" or the root: nothing above
    const qsizetype slash = path.lastIndexOf(u'/', end - 1);
    if (slash < 0) return {};
    qsizetype cut = slash;
    while (cut > 0 && path[cut - 1] == u'/') --cut;
    return cut == 0 ? QStringLiteral("/") : path.left(cut);
}

QString FileSystem::DriveName(const QString& path) {
    return path.startsWith(u'/') ? QStringLiteral("/") : QString();
}

QString FileSystem::GetFileName(const QString& path) {
    qsizetype end = path.size();
    while (end > 0 && path[end - 1] == u'/') --end;
    const qsizetype slash = end > 0 ? path.lastIndexOf(u'/', end - 1) : -1;
    return path.mid(slash + 1, end - slash - 1);
}

QString FileSystem::GetBaseName(const QString& path) {
    const QString name = GetFileName(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.left(dot);
}

QString FileSystem::GetExtensionName(const QString& path) {
    const QString name = GetFileName(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot + 1);
}

// An empty name still gets its "/": a name appended later then lands inside
// the folder, not glued to its last component.
QString FileSystem::BuildPath(const QString& folder, const QString& name) {
    if (folder.isEmpty()) return name;
    qsizetype end = folder.size();
    while (end > 0 && folder[end - 1] == u'/') --end;
    qsizetype start = 0;
    while (start < name.size() && name[start] == u'/') ++start;
    return folder.left(end) + u'/' + name.mid(start);
}

QString FileSystem::GetAbsolutePathName(const QString& path) const {
    QString full = path;
    if (!path.startsWith(u'/')) {
        const QString current = CurrentDirectory();
        if (current.isEmpty()) return {};
        full = current + u'/' + path;
    }
    QStringList parts;
    for (const QStringView part : QStringView(full).split(u'/', Qt::SkipEmptyParts)) {
        if (part == u".") continue;
        if (part == u"..") {
            if (!parts.isEmpty()) parts.removeLast();
            continue;
        }
        parts.append(part.toString());
    }
    return u'/' + parts.join(u'/');
}

}  // namespace sorvane
