#pragma once

#include <QWidget>
#include <memory>

#include "ui/PreviewComputer.h"
#include "ui/PreviewModel.h"

class QCheckBox;
class QLabel;
class QTableView;

namespace sorvane {

// The table of the targets a run would now have, with their new names and
// verdicts, recomputed off the window's thread whenever a request comes
// (PreviewComputer): the preview's and the repair window's. Above the table
// a line of counts and "問題のみ", which shows only the skipped targets; a
// check the start would refuse at shows its message instead of the table.
class PreviewTable : public QWidget {
    Q_OBJECT
public:
    explicit PreviewTable(PreviewComputer::Compute compute, QWidget* parent = nullptr);

    void Request(PreviewRequest request);
    // While paused (its window disabled during a run) it computes nothing.
    void SetPaused(bool paused);

    const PreviewModel& Rows() const { return *mRows; }
    QString CountLine() const;
    QString Note() const;
    // The counts of the last result shown, "" while it has no rows.
    QString Counts() const { return mCounts; }

Q_SIGNALS:
    // A computation is due: the rows shown are out of date.
    void Outdated();
    // A result is shown.
    void Shown();

private:
    void Show(std::shared_ptr<const PlanPreview> preview);

    PreviewModel* mRows = nullptr;
    PreviewComputer* mComputer = nullptr;
    QLabel* lblCount = nullptr;
    QCheckBox* chkProblems = nullptr;
    QLabel* lblNote = nullptr;
    QTableView* grdPreview = nullptr;
    QString mCounts;
};

}  // namespace sorvane
