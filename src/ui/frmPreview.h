#pragma once

#include <QDialog>
#include <memory>

#include "ui/DockedWindow.h"
#include "ui/PreviewTable.h"

namespace sorvane {

class mdlMain;
struct WindowFlags;

// The preview window "変換プレビュー": the targets a start pressed now would
// have, with their new names and verdicts, recomputed off the window's
// thread whenever the inputs change. Above the table a line of counts and
// "問題のみ", which shows only the skipped targets; the title carries the
// counts, or "計算中…" while a computation is due. A check the start would
// refuse at shows its message instead of the table.
//
// A tool window below the main window. Making it loads it: gPreviewOpen
// and "プレビュー表示" are set. Closing it in any way unloads it: both are
// cleared, Unloaded is emitted and the window deletes itself. While it is
// disabled (a run) it computes nothing.
class frmPreview : public QDialog, public DockedWindow {
    Q_OBJECT
public:
    frmPreview(mdlMain& program, QWidget& mainWindow, WindowFlags& flags,
               PreviewComputer::Compute compute = PreviewPlan);
    ~frmPreview() override;

    // What a start would now take.
    void InputsChanged(PreviewRequest request);
    // Directly below form.
    void FollowForm(const QWidget* form) override;

    const PreviewModel& Rows() const { return mTable->Rows(); }
    QString CountLine() const;
    QString Note() const;

Q_SIGNALS:
    void Unloaded();

protected:
    void changeEvent(QEvent* event) override;

private:
    void ShowOutdated();
    void ShowCounts();

    mdlMain& m;
    WindowFlags& mFlags;
    PreviewTable* mTable = nullptr;
};

}  // namespace sorvane
