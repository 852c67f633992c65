#pragma once

#include <QString>
#include <QStringList>
#include <Qt>

class QMimeData;
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

// Selects the whole text of a line edit, an editable combo box or a plain
// text box.
void SelectAllText(QWidget* box);
// Ctrl+A (other modifiers aside) selects the whole text of the box; returns
// whether the key was that.
bool TextKeyDown(QWidget* box, int key, Qt::KeyboardModifiers shift);

}  // namespace sorvane
