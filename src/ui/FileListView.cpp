#include "ui/FileListView.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <algorithm>

#include "matching/clsFileString.h"
#include "platform/ShownName.h"
#include "run/mdlMain.h"

namespace sorvane {

using namespace Qt::StringLiterals;

FileListView::FileListView(QListView& list, QLineEdit& status) : mList(list), mStatus(status) {
    mList.setModel(&mFiles);
    mList.setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void FileListView::ShowItemCount() {
    mStatus.setText(QString::number(mFiles.size()) + m->Settings().gItemWord);
}

// One selected item shows its name; several their count.
void FileListView::ShowSelection() {
    if (mSelectingAll) return;
    const QModelIndexList selected = mList.selectionModel()->selectedRows();
    if (selected.size() == 1) {
        const QModelIndex current = mList.currentIndex();
        if (current.isValid()) mStatus.setText(current.data().toString());
    } else if (selected.size() > 1) {
        mStatus.setText(QString::number(selected.size()) + m->Settings().gItemWord + u"を選択"_s);
    }
}

void FileListView::SelectFile(const QString& name) {
    for (int i = 0; i < mFiles.size(); ++i) {
        if (clsFileString::FileStrComp(mFiles.Name(i), name, CompareMode::Text) != 0) continue;
        const QModelIndex index = mFiles.index(i);
        mList.setCurrentIndex(index);
        mList.selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
        return;
    }
}

bool FileListView::IsShortcut(const QKeyEvent* event) const {
    if (!(event->modifiers() & Qt::ControlModifier)) return false;
    switch (event->key()) {
        case Qt::Key_A:
        case Qt::Key_B:
        case Qt::Key_C:
        case Qt::Key_X:
        case Qt::Key_E:
        case Qt::Key_F:
            return true;
        default:
            return false;
    }
}

void FileListView::UseShortcut(int key) {
    if (key == Qt::Key_A) {
        mSelectingAll = true;
        mList.selectAll();
        mStatus.setText(QString::number(mFiles.size()) + m->Settings().gItemWord + u"を選択"_s);
        mSelectingAll = false;
        return;
    }
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    const QString text = ItemsText(key);
    if (!text.isEmpty()) clipboard->setText(text);
}

// One selected item gives its text alone; several, each followed by CR LF.
// Each in its shown form: the clipboard holds text, which a byte that is
// not UTF-8 or a line break in a name would not survive as such.
QString FileListView::ItemsText(int key) const {
    const auto textOf = [&](const QString& name) {
        switch (key) {
            case Qt::Key_B:
                return ShownName(FileSystem::GetBaseName(name));
            case Qt::Key_E:
                return ShownName(FileSystem::GetExtensionName(name));
            case Qt::Key_F:
                return ShownName(FileSystem::BuildPath(m->Folders().gCurPath, name));
            default:
                return ShownName(name);
        }
    };
    QModelIndexList selected = mList.selectionModel()->selectedRows();
    if (selected.size() == 1) return textOf(mFiles.Name(mList.currentIndex().row()).toString());
    std::sort(selected.begin(), selected.end());
    QString text;
    for (const QModelIndex& index : std::as_const(selected))
        text += textOf(mFiles.Name(index.row()).toString()) + u"\r\n"_s;
    return text;
}

}  // namespace sorvane
