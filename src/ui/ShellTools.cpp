#include "ui/ShellTools.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QStringList>
#include <QUrl>

#include "platform/FileSystem.h"
#include "platform/mdlTools.h"

namespace sorvane {

namespace {

// The local path of a file URL from its own bytes, so that a name that is
// not valid UTF-8 keeps them rather than being read with replacement
// characters.
bool LocalPath(const QUrl& url, QString* path) {
    if (!url.isLocalFile() || !url.host().isEmpty()) return false;
    const QByteArray bytes =
        QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    if (bytes.isEmpty()) return false;
    *path = FileSystem::Decode(bytes);
    return true;
}

}  // namespace

QStringList DroppedPaths(const QMimeData* data) {
    QStringList paths;
    if (!data || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls()) {
        QString path;
        if (LocalPath(url, &path)) paths.append(path);
    }
    return paths;
}

QString DropFolder(const QMimeData* data, const mdlTools& tools) {
    return tools.DropFolder(DroppedPaths(data));
}

// The URL is made from the path's bytes: a name that is not UTF-8 keeps
// them as percent escapes, which the desktop turns back into the bytes.
bool ShellOpen(const QString& path, const FileSystem& fs) {
    const QString s = mdlTools::StripQuotes(path);
    QByteArray bytes;
    if (s.isEmpty() || !fs.Exists(s) ||
        !FileSystem::EncodeExactly(fs.GetAbsolutePathName(s), &bytes))
        return false;
    return QDesktopServices::openUrl(
        QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/"), QUrl::StrictMode));
}

void SelectAllText(QWidget* box) {
    if (auto* combo = qobject_cast<QComboBox*>(box)) box = combo->lineEdit();
    if (auto* line = qobject_cast<QLineEdit*>(box)) {
        line->setSelection(0, int(line->text().size()));
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(box)) {
        text->selectAll();
    }
}

bool TextKeyDown(QWidget* box, int key, Qt::KeyboardModifiers shift) {
    if (!(shift & Qt::ControlModifier) || key != Qt::Key_A) return false;
    SelectAllText(box);
    return true;
}

}  // namespace sorvane
