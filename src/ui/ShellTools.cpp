#include "ui/ShellTools.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
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

namespace {

// The URL is made from the path's bytes: a name that is not UTF-8 keeps
// them as percent escapes, which the desktop turns back into the bytes.
// Empty when the path names nothing that exists.
QUrl FileUrl(const QString& path, const FileSystem& fs) {
    const QString s = mdlTools::StripQuotes(path);
    QByteArray bytes;
    if (s.isEmpty() || !fs.Exists(s) ||
        !FileSystem::EncodeExactly(fs.GetAbsolutePathName(s), &bytes))
        return {};
    return QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/"), QUrl::StrictMode);
}

}  // namespace

bool ShellOpen(const QString& path, const FileSystem& fs) {
    const QUrl url = FileUrl(path, fs);
    return !url.isEmpty() && QDesktopServices::openUrl(url);
}

QString& OpenerProgram() {
    static QString program = QStringLiteral("xdg-open");
    return program;
}

// QDesktopServices::openUrl returns once the opener has started, so a file
// that no program takes would be passed over in silence.
void OpenFileWithDesktop(const QString& path, QObject* owner, std::function<void()> failed) {
    const QUrl url = FileUrl(path, FileSystem());
    if (url.isEmpty()) return failed();
    auto* opener = new QProcess(owner);
    opener->setProcessChannelMode(QProcess::ForwardedChannels);
    QObject::connect(opener, &QProcess::finished, owner,
                     [opener, failed](int code, QProcess::ExitStatus status) {
                         opener->deleteLater();
                         if (code != 0 || status != QProcess::NormalExit) failed();
                     });
    QObject::connect(opener, &QProcess::errorOccurred, owner,
                     [opener, failed](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart) return;
                         opener->deleteLater();
                         failed();
                     });
    opener->start(OpenerProgram(), {QString::fromLatin1(url.toEncoded())});
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
