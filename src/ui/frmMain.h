#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <memory>

#include "platform/MountWatch.h"
#include "ports/FormsPort.h"
#include "ports/HistoryButtonsPort.h"
#include "ports/LogBoxPort.h"
#include "ports/RunInputsPort.h"
#include "settings/FormOptionsSource.h"
#include "ui/CompanionWindows.h"
#include "ui/DriveList.h"
#include "ui/NameListModel.h"

class QAbstractButton;
class QCheckBox;
class QLineEdit;

namespace Ui {
class frmMain;
}

namespace sorvane {

class clsHst;
class frmAbout;
class frmOption;
class mdlMain;
class RunFrame;

// The main window: every input of a run, the log of the last run, and the
// commands that start a rename and a restore. It is the log box, the run
// inputs, the forms port and the settings snapshot's source of the run
// control it drives.
class frmMain : public QMainWindow,
                public LogBoxPort,
                public RunInputsPort,
                public FormsPort,
                public FormOptionsSource,
                public HistoryButtonsPort {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

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

    // LogBoxPort: rtfLog.
    void Append(QString text) override;
    void Clear() override;
    QString Text() const override;

    // RunInputsPort: the controls a run reads.
    QString SearchWord() const override;
    QString ReplaceWord() const override;
    void SetSearchWord(const QString& text) override;
    void SetReplaceWord(const QString& text) override;
    CheckBoxValue RecursiveValue() const override;
    CheckBoxValue DeleteValue() const override;
    bool DeleteEnabled() const override;
    CheckBoxValue TextModeValue() const override;
    bool WholeNameSelected() const override;
    CheckBoxValue QuickListValue() const override;
    bool QuickListEnabled() const override;

    // FormsPort
    void SetMainEnabled(bool enabled) override;  // frmMainEnable
    void ApplyMainFormOptions(bool refresh) override { SetFormOptions(refresh); }
    void ApplyOptionFormOptions() override;
    void ChangePath(const QString& path) override;
    void WindowRefresh() override;

    // HistoryButtonsPort: cmdHst 0 and 1.
    void SetBackEnabled(bool enabled) override;
    void SetForwardEnabled(bool enabled) override;

    // FormOptionsSource
    QString FolderListPath() const override;
    bool EscQuits() const override;
    bool SaveOnExit() const override;
    bool DetailLog() const override;
    bool OptionWindow() const override;
    QString LogPath() const override;
    bool AutoLogSave() const override;
    CheckBoxValue AttributeValue(int index) const override;
    CheckBoxValue AttributeOnlyValue() const override;
    CheckBoxValue FilterSwitchValue(int index) const override;
    QString FilterText(int index) const override;
    CheckBoxValue FolderValue() const override;
    int Operation() const override;
    int DelMode() const override;
    QString DelTarget() const override;

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
    void ShowItemCount();
    void lstFile_Click();
    void chkFol_Click();
    void chkSys_Click(int index);
    void chksysOnly_Click();
    void chkExt_Click(int index);
    void cmdHst_Click(int index);
    void RefreshDrives();
    void ReadDrives();
    void ShowDrive(const QString& folder);
    void Drive1_Change(int index);
    void lstFile_DblClick(const QModelIndex& item);
    bool Form_KeyDown(QKeyEvent* event);
    bool lstFile_KeyDown(QKeyEvent* event);
    bool CtrlCopy(QWidget* control, QKeyEvent* event);
    QString ListItemsText(int key) const;
    void SelectFile(const QString& name);
    void SetModeControls();
    void optRRL_Click(int index);
    void chkErrNoChk_Click();
    void cmdStart_Click();
    void cmdReturn_Click();
    void cmdEnd_Click();
    void cmdOption_Click();
    void mnuEtcHelp_Click();
    void mnuEtcVersion_Click();
    void AfterRun(bool ran);
    bool TextBoxKey(QLineEdit* box, QKeyEvent* event);
    bool Drop(QDropEvent* event);
    QAbstractButton* OperationButton(int index) const;
    QCheckBox* Attribute(int index) const;
    QCheckBox* FilterSwitch(int index) const;
    QLineEdit* FilterBox(int index) const;

    std::unique_ptr<Ui::frmMain> ui;
    mdlMain* m = nullptr;
    RunFrame* mFrame = nullptr;
    QTimer tmrEscCancel;
    bool mEscLock = false;
    bool mUpdating = false;
    bool mBusy = false;
    std::unique_ptr<clsHst> mHst;
    QList<Drive> mDrives;
    MountWatch mMounts;                   // whether mDrives is to be read again
    QHash<QString, QString> mLastFolder;  // per drive root: the folder last shown there
    NameListModel mFiles;                 // the file list's names
    QString mText;                        // the log text with its CR LF line ends
    int mLinesInBlock = 0;
    QPointer<frmAbout> mAbout;  // the version window while it is loaded
    std::unique_ptr<CompanionWindows> mCompanions;
    QPointer<frmOption> mOption;  // the detailed options window while it is loaded
};

}  // namespace sorvane
