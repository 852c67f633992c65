#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "ui/DockedWindow.h"
#include "ui/PreviewTable.h"

class QVBoxLayout;

namespace sorvane {

// A companion window that shows a plan's table (PreviewTable) below the
// main window: the preview and the repair window. Its title carries the
// table's counts, or "計算中…" while a computation is due.
//
// Making it loads it: loaded is set and remember(true) is called (the
// setting that opens it at start-up). Closing it in any way unloads it:
// both are cleared, Unloaded is emitted and the window deletes itself.
// While it is disabled (a run) it computes nothing.
class TableWindow : public QDialog, public DockedWindow {
    Q_OBJECT
public:
    TableWindow(QWidget& mainWindow, const QString& title, bool& loaded,
                std::function<void(bool)> remember, PreviewComputer::Compute compute,
                int initialHeight);
    ~TableWindow() override;

    // Directly below form.
    void FollowForm(const QWidget* form) override;

    const PreviewModel& Rows() const { return mTable->Rows(); }
    QString CountLine() const { return mTable->CountLine(); }
    QString Note() const { return mTable->Note(); }

Q_SIGNALS:
    void Unloaded();

protected:
    void changeEvent(QEvent* event) override;
    PreviewTable& Table() { return *mTable; }
    // The window's layout, the table in it: a window puts its own
    // controls above the table.
    QVBoxLayout& Layout() { return *mLayout; }

private:
    void ShowTitle(bool outdated);

    const QString mTitle;
    PreviewTable* mTable = nullptr;
    QVBoxLayout* mLayout = nullptr;
};

}  // namespace sorvane
