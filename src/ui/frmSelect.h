#pragma once

#include <QDialog>
#include <QStringList>
#include <array>
#include <memory>

#include "ports/ExpansionChooserPort.h"
#include "ui/DockedWindow.h"

class QPlainTextEdit;

namespace Ui {
class frmSelect;
}

namespace sorvane {

// The expansion chooser: three views side by side, one line per search token
// numbered from 0, show the search token list (rtfView_0) and the two
// readings of the replace pattern (rtfView_1, rtfView_2), so that the same
// line number means the same token in all three. The scroll bar vscSelect
// and the caret of any view pick a line; the carets of all three follow.
//
// Choose asks in a new modal window with a message and three buttons,
// cmdBs_0 "中止(&C)", cmdBs_1 "このまま(&R)" and cmdBs_2 "変えてみる(&S)"; Esc
// and the close box cancel. Display shows the views in this window, turned
// into the reduced display-only style, without waiting; it stays open between
// runs and is refilled at each.
class frmSelect : public QDialog, public ExpansionChooserPort, public DockedWindow {
    Q_OBJECT
public:
    explicit frmSelect(QWidget* parent = nullptr);
    ~frmSelect() override;

    ExpansionChoice Choose(const ExpansionViews& views, const QString& message) override;
    void Display(const ExpansionViews& views) override;
    void Beep() override;

    // Fills view Trg (0, 1 or 2) from the token list dec, one line per
    // entry: its number right-aligned in three characters, " : ", the entry.
    void LoadDecData(int Trg, const QStringList& dec);
    // Turns the window into the display-only style: no message, no buttons,
    // low views, a fixed tool window below the main window. Does nothing
    // when the style is already applied.
    void ToolStyle();
    // Places the window directly below form.
    void FollowForm(const QWidget* form) override;

    // The index of the button that closed the window, 0 when it was closed
    // otherwise.
    qint16 retV = 0;

    // Every way of closing ends here.
    void done(int result) override;

Q_SIGNALS:
    // The window in the display-only style has opened, and has closed.
    void DisplayOpened();
    void DisplayClosed();

private:
    void Load(const ExpansionViews& views);
    void Button(qint16 index);
    void ScrollTo(int line);
    void CaretMoved(int view);
    // Puts the caret of the view at the start of the line.
    void MoveCaret(int view, int line);

    std::unique_ptr<Ui::frmSelect> ui;
    std::array<QPlainTextEdit*, 3> mViews{};
    bool mBusy = false;
    bool mToolStyle = false;
};

}  // namespace sorvane
