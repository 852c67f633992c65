#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <memory>

#include "ports/FormValues.h"
#include "ui/CompanionWindows.h"
#include "ui/DriveChooser.h"
#include "ui/FileListView.h"
#include "ui/LogBoxView.h"
#include "ui/MainFormControls.h"
#include "ui/MainWindowPorts.h"
#include "ui/NameListModel.h"
#include "ui/PathBox.h"
#include "ui/WindowFlags.h"

class QAbstractButton;
class QAction;
class QCheckBox;
class QLineEdit;

namespace Ui {
class frmMain;
}

namespace sorvane {

class clsHst;
class frmAbout;
class frmOption;
class frmPreview;
class frmRepair;
class frmHistory;
class mdlMain;
class RunFrame;

// The main window: every input of a run, the log of the last run, and the
// commands that start a rename and a restore. The run control talks to it
// through its log box (LogBox) and its ports (Ports).
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    LogBoxView& LogBox() { return *mLogBox; }
    MainWindowPorts& Ports() { return mPorts; }
    // Which companion windows are loaded.
    WindowFlags& Flags() { return mFlags; }

    // The program the window drives; before Load.
    void Attach(mdlMain& program, RunFrame& frame);
    // Opening the window: the controls from the settings, the start folder
    // from the command line's argument text (relative to workingFolder) or
    // "初期パス", shown, the focus in the search word.
    void Load(const QString& argument, const QString& workingFolder);

    void SetFormOptions(bool refresh);
    // The companion windows that follow this one; after Attach.
    CompanionWindows& Companions() { return *mCompanions; }
    // The pointer over this window and the options window.
    void frmMainMousePointer(MousePointer pointer);
    // The browse button: the folder shown, opened in the file manager.
    void cmdPath_Click();
    // Esc does not close the window for the next second.
    void EscCancel();
    bool EscLocked() const { return mEscLock; }

    // What MainWindowPorts forwards.
    void SetMainEnabled(bool enabled);  // frmMainEnable
    void ApplyOptionFormOptions();
    void ChangePath(const QString& path);
    void WindowRefresh();
    FormValues Values() const;
    void SetSearchWord(const QString& text);
    void SetReplaceWord(const QString& text);
    void SetHistoryEnabled(int index, bool enabled);  // cmdHst(index)

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void ConnectControls();
    void ShowRestingPointer();
    QString FolderToShow(const QString& path);
    void FilterRefresh(int index);
    void SelectiveWindowRefresh(int index);
    void MakeFileList(const QString& folder);
    void lstFile_Click();
    void chkFol_Click();
    void chkSys_Click(int index);
    void chksysOnly_Click();
    void chkExt_Click(int index);
    void cmdHst_Click(int index);
    void RefreshDrives();
    void lstFile_DblClick(const QModelIndex& item);
    bool Form_KeyDown(QKeyEvent* event);
    bool lstFile_KeyDown(QKeyEvent* event);
    void optRRL_Click(int index);
    void chkErrNoChk_Click();
    void cmdStart_Click();
    void cmdReturn_Click();
    void cmdEnd_Click();
    void cmdOption_Click();
    void mnuEtcHelp_Click();
    void mnuEtcVersion_Click();
    template <typename Window, typename SetUp>
    void ToggleTableWindow(QPointer<Window>& window, bool loaded, Companion which, QAction* item,
                           SetUp setUp);
    void mnuEtcPreview_Click();
    void mnuEtcRepair_Click();
    void cmdRepair_Click(NameRepair repair);
    void mnuEtcHistory_Click();
    // "戻す(&Z)" of the history window: the run of journal restored.
    void HistoryRestore(const QString& journal);
    // The preview, when open, learns what a start would now take.
    void PreviewInputsChanged();
    void AfterRun(bool ran);
    bool TextBoxKey(QLineEdit* box, QKeyEvent* event);
    bool Drop(QDropEvent* event);

    std::unique_ptr<Ui::frmMain> ui;
    std::unique_ptr<LogBoxView> mLogBox;
    std::unique_ptr<PathBox> mPathBox;
    std::unique_ptr<MainFormControls> mControls;
    MainWindowPorts mPorts{*this};
    WindowFlags mFlags;
    mdlMain* m = nullptr;
    RunFrame* mFrame = nullptr;
    QTimer tmrEscCancel;
    bool mEscLock = false;
    bool mUpdating = false;
    bool mBusy = false;
    std::unique_ptr<clsHst> mHst;
    std::unique_ptr<FileListView> mFiles;
    std::unique_ptr<DriveChooser> mDrives;
    QPointer<frmAbout> mAbout;  // the version window while it is loaded
    std::unique_ptr<CompanionWindows> mCompanions;
    QPointer<frmOption> mOption;    // the detailed options window while it is loaded
    QPointer<frmPreview> mPreview;  // the preview window while it is loaded
    QPointer<frmRepair> mRepair;    // the repair window while it is loaded
    QPointer<frmHistory> mHistory;  // the history window while it is loaded
};

}  // namespace sorvane
