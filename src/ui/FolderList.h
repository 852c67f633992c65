#pragma once

#include <QListWidget>
#include <QString>

#include "platform/FileSystem.h"

class QKeyEvent;
class QMouseEvent;

namespace sorvane {

// The folder list of the main window. It shows one folder: the folder with
// the folders above it as an indented path of open folders, the root first,
// then the folder's real subfolders (symbolic links left out), one step
// further in, in the order of the file list. Every item holds a full path;
// the text shows the folder's name (the root its path) through ShownName.
//
// Each item has an index: -1 the folder shown, -2 its parent, -3 the
// parent's parent and so on up to the root; 0, 1, ... its subfolders.
//
// The list never opens a folder itself: it asks its owner with PathChosen,
// and the owner shows the folder it settles on with SetPath.
class FolderList : public QListWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent = nullptr);

    // Shows folder (a trailing "/" dropped) and reads its subfolders again.
    // A folder that cannot be read shows itself alone, without a message.
    // The current item becomes the folder shown, or, when the key that asked
    // for this folder remembered one, the first subfolder equal to it (ASCII
    // letter case aside): highlighted, not opened.
    void SetPath(const QString& folder);
    // The same with the folder's subfolders already read (as the filter's
    // listing of the folder holds them), so the folder is read once.
    void SetPath(const QString& folder, QList<FolderEntry> subFolders);
    QString Path() const { return mPath; }

    int CurrentIndexValue() const;  // -1 when there is no current item
    void SetCurrentIndexValue(int index);
    QString ItemPath(int index) const;              // "" for an index with no item
    int FirstIndex() const { return -mAncestors; }  // the root's index
    int SubFolderCount() const { return count() - mAncestors; }

Q_SIGNALS:
    // The user opened a folder: double-click, Enter, Right arrow on a
    // subfolder, Left arrow on the folder shown (its parent) or above it.
    void PathChosen(const QString& path);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool NavigationKey(int key);
    void CopyToClipboard(int key) const;
    void Choose(const QString& path, const QString& remember);
    QListWidgetItem* AddItem(const QString& path, const QString& text, int level, bool open);

    FileSystem mFileSystem;
    QString mPath;
    int mAncestors = 0;   // the folder shown and the folders above it
    QString mRemembered;  // the subfolder the next SetPath highlights
};

}  // namespace sorvane
