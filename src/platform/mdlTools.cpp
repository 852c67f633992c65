#include "platform/mdlTools.h"

namespace sorvane {

QString TrimLeadingSpaces(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == u' ') ++i;
    return text.mid(i);
}

mdlTools::mdlTools(const FileSystem& fs, QString currentFolder)
    : mFs(fs), mCurrentFolder(std::move(currentFolder)) {}

QString mdlTools::StripQuotes(const QString& text) {
    QString s = text;
    if (s.startsWith(u'"')) s.remove(0, 1);
    if (s.endsWith(u'"')) s.chop(1);
    return s;
}

bool mdlTools::NoControlChars(const QString& text) {
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        if (text.at(i).unicode() < 32) return false;
    }
    return true;
}

QString mdlTools::NormalizePath(const QString& path, const QString& base) const {
    QString s = StripQuotes(TrimLeadingSpaces(path));
    if (!NoControlChars(s)) return QString();
    const QString b = base.isEmpty() ? mCurrentFolder : base;
    // Without a drive the text is relative to the base. On this system the
    // only drive is the root, so a text beginning with "/" is already
    // absolute and a leading "//" is just the root.
    if (FileSystem::DriveName(s).isEmpty()) s = FileSystem::BuildPath(b, s);
    return mFs.GetAbsolutePathName(s);
}

QString mdlTools::NearestFolder(const QString& path, const QString& base) const {
    QString s = NormalizePath(path, base);
    while (!s.isEmpty() && !mFs.FolderExistsFollowingLink(s)) s = FileSystem::ParentFolderName(s);
    return TruePath(s);
}

QString mdlTools::TruePath(const QString& path) const {
    const QString s = TrimLeadingSpaces(path);
    if (s.isEmpty() || !mFs.Exists(s)) return QString();
    const QString drive = FileSystem::DriveName(s);
    if (drive.isEmpty()) return QString();
    // Each component in the spelling stored on disk. Empty components (a
    // doubled "/") are skipped; the path is not otherwise rewritten.
    QString result;
    QString prefix;
    const QStringList parts = s.split(u'/', Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        prefix += u'/' + part;
        const QString stored = mFs.StoredName(prefix);
        if (stored.isEmpty()) return QString();
        result += u'/' + stored;
    }
    return result.isEmpty() ? QStringLiteral("/") : result;
}

QString mdlTools::ResolveShortcut(const QString& path) const {
    return mFs.IsSymbolicLink(path) ? GetShortcutTarget(path) : path;
}

QString mdlTools::GetShortcutTarget(const QString& path) const {
    const QString target = mFs.LinkTarget(path);
    if (target.isEmpty()) return QString();
    if (target.startsWith(u'/')) return mFs.GetAbsolutePathName(target);
    const QString link = mFs.GetAbsolutePathName(path);
    return mFs.GetAbsolutePathName(
        FileSystem::BuildPath(FileSystem::ParentFolderName(link), target));
}

QString mdlTools::DropFolder(const QStringList& paths) const {
    if (paths.isEmpty()) return QString();
    const QString first = paths.first();
    // A folder, or nothing that exists, is the folder meant.
    if (!mFs.FileExists(first)) return first;
    if (paths.size() > 1) return FileSystem::ParentFolderName(first);
    const QString s = ResolveShortcut(first);
    if (mFs.FolderExistsFollowingLink(s)) return s;
    if (mFs.Exists(s)) return FileSystem::ParentFolderName(s);
    return FileSystem::ParentFolderName(first);
}

}  // namespace sorvane
