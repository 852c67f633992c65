#include "ui/TableWindow.h"

#include <QEvent>
#include <QVBoxLayout>

namespace sorvane {

using namespace Qt::StringLiterals;

TableWindow::TableWindow(QWidget& mainWindow, const QString& title, bool& loaded,
                         std::function<void(bool)> remember, PreviewComputer::Compute compute,
                         int initialHeight)
    : CompanionDialog(mainWindow, Qt::Tool, loaded, std::move(remember)), mTitle(title) {
    mTable = new PreviewTable(std::move(compute), this);
    mLayout = new QVBoxLayout(this);
    mLayout->addWidget(mTable, 1);
    connect(mTable, &PreviewTable::Outdated, this, [this] { ShowTitle(true); });
    connect(mTable, &PreviewTable::Shown, this, [this] { ShowTitle(false); });

    resize(mainWindow.frameGeometry().width(), initialHeight);
    FollowForm(&mainWindow);
    setWindowTitle(mTitle);
}

void TableWindow::FollowForm(const QWidget* form) {
    DockTo(*this, form, Dock::Below);
}

void TableWindow::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) mTable->SetPaused(!isEnabled());
}

// The rows shown stay until the new ones come, so that the table does not
// flicker while the user types; the title says they are out of date.
void TableWindow::ShowTitle(bool outdated) {
    const QString counts = mTable->Counts();
    setWindowTitle(outdated           ? mTitle + u"－計算中…"_s
                   : counts.isEmpty() ? mTitle
                                      : mTitle + u"－"_s + counts);
}

}  // namespace sorvane
