#pragma once

#include <QString>
#include <QStringList>

#include "ui/NameListModel.h"

class QKeyEvent;
class QLineEdit;
class QListView;

namespace sorvane {

class mdlMain;

// The file list (lstFile) and its status line (txtFileName): the names of
// the folder shown, what the selection is, and the Ctrl shortcuts that
// select every item or copy the selected names.
class FileListView {
public:
    FileListView(QListView& list, QLineEdit& status);

    // The program whose folder and item word the list shows; before use.
    void Attach(const mdlMain& program) { m = &program; }

    void SetNames(PackedNames names) { mFiles.SetNames(std::move(names)); }
    int size() const { return mFiles.size(); }
    QStringView Name(int row) const { return mFiles.Name(row); }

    // The status line: the number of items, or the selected one's name or
    // the number selected.
    void ShowItemCount();
    void ShowSelection();
    // Selects the item of this name (compared with A-Z folded).
    void SelectFile(const QString& name);
    // Ctrl+A selects every item; Ctrl+B, C, X, E and F copy the selected
    // names without extension, the names, the extensions or the full
    // paths. True when the key was one of them.
    bool IsShortcut(const QKeyEvent* event) const;
    void UseShortcut(int key);

private:
    QString ItemsText(int key) const;

    QListView& mList;
    QLineEdit& mStatus;
    NameListModel mFiles;
    const mdlMain* m = nullptr;
    bool mSelectingAll = false;
};

}  // namespace sorvane
