#include "ui/FolderList.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>

#include "matching/clsFileString.h"
#include "platform/ShownName.h"

namespace sorvane {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kLevelRole = Qt::UserRole + 1;

// Draws each item as many steps in as its level says.
class IndentDelegate : public QStyledItemDelegate {
public:
    IndentDelegate(int step, QObject* parent) : QStyledItemDelegate(parent), mStep(step) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem indented = option;
        indented.rect.setLeft(option.rect.left() + Indent(index));
        QStyledItemDelegate::paint(painter, indented, index);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(Indent(index), 0);
    }

private:
    int Indent(const QModelIndex& index) const { return index.data(kLevelRole).toInt() * mStep; }

    int mStep;
};

// A-Z folded, then by code units, as the file list is ordered.
bool ListedBefore(const FolderEntry& a, const FolderEntry& b) {
    const int folded = clsFileString::FileStrComp(a.name, b.name, CompareMode::Text);
    return folded != 0 ? folded < 0
                       : clsFileString::FileStrComp(a.name, b.name, CompareMode::Exact) < 0;
}

}  // namespace

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setItemDelegate(new IndentDelegate(style()->pixelMetric(QStyle::PM_SmallIconSize), this));
}

QListWidgetItem* FolderList::AddItem(const QString& path, const QString& text, int level,
                                     bool open) {
    auto* item = new QListWidgetItem(
        style()->standardIcon(open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon),
        ShownName(text), this);
    item->setData(kPathRole, path);
    item->setData(kLevelRole, level);
    return item;
}

void FolderList::SetPath(const QString& folder) {
    QString path = folder;
    while (path.size() > 1 && path.endsWith(u'/')) path.chop(1);
    SetPath(path, mFileSystem.SubFolders(path));
}

void FolderList::SetPath(const QString& folder, QList<FolderEntry> subFolders) {
    QString path = folder;
    while (path.size() > 1 && path.endsWith(u'/')) path.chop(1);
    mPath = path;

    QStringList chain;  // the root first, the folder shown last
    for (QString p = path; !p.isEmpty(); p = FileSystem::ParentFolderName(p)) chain.prepend(p);
    std::stable_sort(subFolders.begin(), subFolders.end(), ListedBefore);

    clear();
    mAncestors = int(chain.size());
    for (int level = 0; level < mAncestors; ++level) {
        const QString& p = chain[level];
        const QString name = FileSystem::GetFileName(p);
        AddItem(p, name.isEmpty() ? p : name, level, true);
    }
    for (const FolderEntry& entry : std::as_const(subFolders))
        AddItem(FileSystem::BuildPath(path, entry.name), entry.name, mAncestors, false);

    int current = -1;
    if (!mRemembered.isEmpty()) {
        for (int i = 0; i < SubFolderCount(); ++i) {
            if (clsFileString::FileStrComp(ItemPath(i), mRemembered, CompareMode::Text) == 0) {
                current = i;
                break;
            }
        }
        mRemembered.clear();
    }
    SetCurrentIndexValue(current);
}

int FolderList::CurrentIndexValue() const {
    const int row = currentRow();
    return row < 0 ? -1 : row - mAncestors;
}

void FolderList::SetCurrentIndexValue(int index) {
    if (QListWidgetItem* it = item(index + mAncestors)) setCurrentItem(it);
}

QString FolderList::ItemPath(int index) const {
    const QListWidgetItem* it = item(index + mAncestors);
    return it ? it->data(kPathRole).toString() : QString();
}

// What the next SetPath highlights is set anew by every choice, so that it
// holds also when the owner shows the new folder from within PathChosen.
void FolderList::Choose(const QString& path, const QString& remember) {
    mRemembered = remember;
    Q_EMIT PathChosen(path);
}

// Enter, Right and Left without Ctrl; true when the key is consumed.
bool FolderList::NavigationKey(int key) {
    if (!currentItem()) return false;
    const int index = CurrentIndexValue();
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            Choose(ItemPath(index), {});
            return true;
        case Qt::Key_Right:
            if (index < 0) return false;
            Choose(ItemPath(index), {});
            return true;
        case Qt::Key_Left:
            if (index >= 0) {
                SetCurrentIndexValue(-1);
            } else if (index == -1) {
                if (mAncestors > 1) Choose(ItemPath(-2), mPath);
            } else {
                Choose(ItemPath(index), ItemPath(index + 1));
            }
            return true;
        default:
            return false;
    }
}

// Ctrl+X and Ctrl+C: the folder's name (a root's whole path); Ctrl+F: the
// whole path.
void FolderList::CopyToClipboard(int key) const {
    if (!currentItem()) return;
    const QString path = currentItem()->data(kPathRole).toString();
    const QString name = FileSystem::GetFileName(path);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(ShownName(key == Qt::Key_F || name.isEmpty() ? path : name));
}

// A Ctrl shortcut is used up whole: its press is also the character it
// types, so the list's search by letters never sees it, and no later key
// is swallowed (Ctrl pressed alone types nothing).
void FolderList::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    bool consumed = false;
    if (event->modifiers() & Qt::ControlModifier) {
        consumed = key == Qt::Key_X || key == Qt::Key_C || key == Qt::Key_F;
        if (consumed) CopyToClipboard(key);
    } else {
        consumed = NavigationKey(key);
    }
    if (consumed)
        event->accept();
    else
        QListWidget::keyPressEvent(event);
}

void FolderList::mouseDoubleClickEvent(QMouseEvent* event) {
    const QListWidgetItem* it = itemAt(event->position().toPoint());
    if (!it || event->button() != Qt::LeftButton) {
        QListWidget::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
    Choose(it->data(kPathRole).toString(), {});
}

}  // namespace sorvane
