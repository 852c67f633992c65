#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>
#include <memory>

#include "ui/DockedWindow.h"
#include "ui/PathBox.h"
#include "ui/WindowFlags.h"

class QAbstractButton;
class QMimeData;

namespace Ui {
class frmOption;
}

namespace sorvane {

class mdlMain;

// The detailed options window: how colliding files are removed, the log
// switches and folder, and the settings file. Every change takes effect in
// the program state at once; there is nothing to apply or cancel. A
// fixed-size tool window beside the main window, never modal.
//
// Making it loads it: gOptionWindow is set, the window is placed to the
// right of the main window and shows the state. Closing it in any way
// (cmdClose, Esc, the close box, the main window's toggle) unloads it:
// gOptionWindow is cleared, Unloaded is emitted and the window deletes
// itself.
class frmOption : public QDialog, public DockedWindow {
    Q_OBJECT
public:
    // mainWindow is the parent; program and flags must outlive the
    // window's closing.
    frmOption(mdlMain& program, QWidget& mainWindow, WindowFlags& flags);
    ~frmOption() override;

    // The controls from the program state, which stays as it is; the
    // tooltips that name the settings file and the folders.
    void SetFormOptions();
    // Places the window with its frame's top-left corner at the top-right
    // corner of form's frame.
    void FollowForm(const QWidget* form) override;

    // What dropping data on control does: a folder on the delete frame sets
    // the delete target, one on the log frame the log folder, a settings
    // file on cmdOpen is read. Returns whether the drop was taken.
    bool DropOn(QWidget* control, const QMimeData& data);

Q_SIGNALS:
    void Unloaded();
    // F5: the main window shows its folder again.
    void RefreshAsked();
    // A folder to open that does not exist: the main window's folder opens.
    void BrowseAsked();
    // A control changed a setting in effect.
    void SettingsChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ConnectControls();
    void AcceptDrops(const QList<QWidget*>& controls);
    void SetRuntimeToolTips();
    void SetLogSaveToolTip();
    void txtDelTarget_Change(const QString& text);
    void OpenFolder(const QString& path);
    void cmdOpenIni_Click();
    void DropDelTarget(const QString& folder);
    void DropLogPath(const QString& folder);
    bool DropSettingsFile(const QStringList& paths);
    QAbstractButton* DelModeButton(int index) const;
    QList<QWidget*> DelTargetControls() const;
    QList<QWidget*> LogPathControls() const;

    std::unique_ptr<Ui::frmOption> ui;
    std::unique_ptr<PathBox> mDelTarget;  // over txtDelTarget
    mdlMain& m;
    WindowFlags& mFlags;
    bool mUpdating = false;
};

}  // namespace sorvane
