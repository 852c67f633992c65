#pragma once

#include <QString>
#include <functional>

#include "ui/CompanionDialog.h"
#include "ui/PreviewTable.h"

class QVBoxLayout;

namespace sorvane {

// A companion window that shows a plan's table (PreviewTable) below the
// main window: the preview and the repair window. Its title carries the
// table's counts, or "計算中…" while a computation is due.
//
// Making it loads it (CompanionDialog; remember is the setting that opens
// it at start-up). While it is disabled (a run) it computes nothing.
class TableWindow : public CompanionDialog {
    Q_OBJECT
public:
    TableWindow(QWidget& mainWindow, const QString& title, bool& loaded,
                std::function<void(bool)> remember, PreviewComputer::Compute compute,
                int initialHeight);
    // Directly below form.
    void FollowForm(const QWidget* form) override;

    const PreviewModel& Rows() const { return mTable->Rows(); }
    QString CountLine() const { return mTable->CountLine(); }
    QString Note() const { return mTable->Note(); }

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
