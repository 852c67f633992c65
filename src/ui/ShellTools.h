#pragma once

#include <QString>
#include <QStringList>
#include <Qt>
#include <functional>

class QMimeData;
class QObject;
class QWidget;

namespace sorvane {

class FileSystem;
class mdlTools;

// The local files of a drop's URL list, in their order, by their bytes.
// Other URLs are left out.
QStringList DroppedPaths(const QMimeData* data);

// The folder that a drop means (mdlTools::DropFolder) from the local files
// of its URL list (DroppedPaths); "" when it carries none.
QString DropFolder(const QMimeData* data, const mdlTools& tools);

// Opens an existing file with its application, or a folder (or a link to
// one) in the file manager, through the desktop; surrounding quotes are
// removed first. Reports nothing; returns whether the desktop was asked and
// took the request.
bool ShellOpen(const QString& path, const FileSystem& fs);

// Opens an existing file with the program the desktop has for it, through
// the desktop's opener run as a process of its own (OpenerProgram), whose
// exit status tells whether a program took the file: failed is called on
// owner's thread when none did or the opener could not be started. The
// process belongs to owner.
void OpenFileWithDesktop(const QString& path, QObject* owner, std::function<void()> failed);
// The opener: "xdg-open", given the file's URL; a test puts a stand-in here.
QString& OpenerProgram();

// Selects the whole text of a line edit, an editable combo box or a plain
// text box.
void SelectAllText(QWidget* box);
// Ctrl+A (other modifiers aside) selects the whole text of the box; returns
// whether the key was that.
bool TextKeyDown(QWidget* box, int key, Qt::KeyboardModifiers shift);

}  // namespace sorvane
