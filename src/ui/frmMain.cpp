#include "ui/frmMain.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QListView>
#include <QMenuBar>
#include <QMimeData>
#include <QPalette>

#include "platform/ShownName.h"
#include "run/ProgramPlaces.h"
#include "run/RunFrame.h"
#include "run/clsHst.h"
#include "run/mdlMain.h"
#include "ui/FolderList.h"
#include "ui/ShellTools.h"
#include "ui/frmAbout.h"
#include "ui/frmHistory.h"
#include "ui/frmOption.h"
#include "ui/frmPreview.h"
#include "ui/frmRepair.h"
#include "ui_frmMain.h"

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

constexpr int kEscLockMs = 1000;
constexpr qsizetype kArgumentLimit = 200;

}  // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent), ui(std::make_unique<Ui::frmMain>()) {
    ui->setupUi(this);
    mLogBox = std::make_unique<LogBoxView>(*ui->rtfLog);
    ui->rtfLog->setAccessibleName(u"ログ"_s);
    mPathBox = std::make_unique<PathBox>(*ui->txtPath);
    mControls = std::make_unique<MainFormControls>(*ui);
    mFiles = std::make_unique<FileListView>(*ui->lstFile, *ui->txtFileName);
    mDrives = std::make_unique<DriveChooser>(*ui->Drive1);
    // The status line is read-only and looks it.
    QPalette statusColours = ui->txtFileName->palette();
    statusColours.setColor(QPalette::Base, statusColours.color(QPalette::Button));
    ui->txtFileName->setPalette(statusColours);
    // A fixed size: the window can be minimised, not resized or maximised.
    setFixedSize(size());
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    tmrEscCancel.setSingleShot(true);
    tmrEscCancel.setInterval(kEscLockMs);
    connect(&tmrEscCancel, &QTimer::timeout, this, [this] { mEscLock = false; });
    ConnectControls();
}

// The controls go after the window's own members: nothing they signal or
// send while they go (a box losing the focus ends its editing) may reach
// the window's handlers.
frmMain::~frmMain() {
    for (QObject* child : findChildren<QObject*>()) {
        child->removeEventFilter(this);
        child->disconnect(this);
    }
}

void frmMain::Attach(mdlMain& program, RunFrame& frame) {
    m = &program;
    mFrame = &frame;
    mHst = std::make_unique<clsHst>(m->Tools());
    mHst->SetButtons(&mPorts);
    mFiles->Attach(program);
    mCompanions = std::make_unique<CompanionWindows>(*this, mFlags);
}

void frmMain::ConnectControls() {
    for (int i = 0; i < 3; ++i)
        connect(mControls->OperationButton(i), &QAbstractButton::clicked, this,
                [this, i] { optRRL_Click(i); });
    connect(ui->chkErrNoChk, &QCheckBox::clicked, this, &frmMain::chkErrNoChk_Click);
    connect(ui->chkFol, &QCheckBox::clicked, this, &frmMain::chkFol_Click);
    connect(ui->chksysOnly, &QCheckBox::clicked, this, &frmMain::chksysOnly_Click);
    for (int i = 0; i < 4; ++i)
        connect(mControls->Attribute(i), &QCheckBox::clicked, this, [this, i] { chkSys_Click(i); });
    for (int i = 0; i < 3; ++i)
        connect(mControls->FilterSwitch(i), &QCheckBox::clicked, this,
                [this, i] { chkExt_Click(i); });
    for (int i = 0; i < 2; ++i)
        connect(mControls->FilterBox(i), &QLineEdit::editingFinished, this, [this, i] {
            if (!mUpdating) SelectiveWindowRefresh(i);
        });
    // The status line follows the selection, however it changes: clicks,
    // Shift and Ctrl with the arrows and Space. Items open on a double-click
    // and on Enter only, never on a single click.
    connect(ui->lstFile, &QListView::clicked, this, &frmMain::lstFile_Click);
    connect(ui->lstFile->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmMain::lstFile_Click);
    connect(ui->lstFile, &QListView::doubleClicked, this, &frmMain::lstFile_DblClick);
    // A file system chosen shows the folder last shown on it; one that has
    // gone falls back as every folder change does.
    connect(mDrives.get(), &DriveChooser::FolderChosen, this, [this](const QString& folder) {
        if (!mUpdating) ChangePath(folder);
    });
    connect(ui->cmdPath, &QPushButton::clicked, this, &frmMain::cmdPath_Click);
    connect(ui->Dir1, &FolderList::PathChosen, this, [this](const QString& path) {
        if (!mUpdating) ChangePath(path);
    });
    connect(ui->cmdOption, &QPushButton::clicked, this, &frmMain::cmdOption_Click);
    connect(ui->cmdStart, &QPushButton::clicked, this, &frmMain::cmdStart_Click);
    connect(ui->cmdHst_0, &QPushButton::clicked, this, [this] { cmdHst_Click(clsHst::kBack); });
    connect(ui->cmdHst_1, &QPushButton::clicked, this, [this] { cmdHst_Click(clsHst::kForward); });
    connect(ui->cmdReturn, &QPushButton::clicked, this, &frmMain::cmdReturn_Click);
    connect(ui->cmdEnd, &QPushButton::clicked, this, &frmMain::cmdEnd_Click);
    connect(ui->mnuEtcHelp, &QAction::triggered, this, &frmMain::mnuEtcHelp_Click);
    connect(ui->mnuEtcVersion, &QAction::triggered, this, &frmMain::mnuEtcVersion_Click);
    connect(ui->mnuEtcPreview, &QAction::triggered, this, &frmMain::mnuEtcPreview_Click);
    connect(ui->mnuEtcRepair, &QAction::triggered, this, &frmMain::mnuEtcRepair_Click);
    connect(ui->mnuEtcHistory, &QAction::triggered, this, &frmMain::mnuEtcHistory_Click);
    // Whatever a start takes from the window changes the preview: the words
    // as they are typed, and every switch, after its own handler.
    for (QLineEdit* box : {ui->txtBfr, ui->txtAft, ui->txtPath})
        connect(box, &QLineEdit::textChanged, this, &frmMain::PreviewInputsChanged);
    for (QAbstractButton* button : centralWidget()->findChildren<QAbstractButton*>())
        if (button->isCheckable())
            connect(button, &QAbstractButton::clicked, this, &frmMain::PreviewInputsChanged);
    // Every control sees keys and drops here first, as the window does. A
    // focused button presses on Enter as on Space, as in the dialogs.
    for (QWidget* w : findChildren<QWidget*>()) {
        w->installEventFilter(this);
        w->setAcceptDrops(true);
        if (auto* button = qobject_cast<QPushButton*>(w)) button->setAutoDefault(true);
    }
    setAcceptDrops(true);
}

// --- Opening and the settings ------------------------------------------------

void frmMain::Load(const QString& argument, const QString& workingFolder) {
    mUpdating = false;
    SetFormOptions(false);
    QString start;
    if (!argument.isEmpty()) {
        // Typed in a shell: a relative name means the shell's folder.
        const mdlTools& t = m->Tools();
        start = t.NormalizePath(argument.left(kArgumentLimit), workingFolder);
        if (!start.isEmpty() && m->Fs().FileExists(start)) start = t.ResolveShortcut(start);
        if (!start.isEmpty()) start = t.NearestFolder(start);
    }
    if (start.isEmpty()) start = mPathBox->Path();
    RefreshDrives();
    show();
    // "オプション表示": the options window was open when the settings were saved.
    if (m->Settings().gOptionWindow) cmdOption_Click();
    ChangePath(start);
    // "プレビュー表示": the same for the preview window, on the folder shown.
    if (m->Settings().gPreviewWindow) mnuEtcPreview_Click();
    // "修復表示": the same for the repair window.
    if (m->Settings().gRepairWindow) mnuEtcRepair_Click();
    AfterRun(mFrame->OfferInterruptedRestore());
    // Whatever opened meanwhile, the user starts by typing the search word.
    activateWindow();
    ui->txtBfr->setFocus();
}

void frmMain::SetFormOptions(bool refresh) {
    const mdlOptions& o = m->Options();
    const SettingsInEffect& s = m->Settings();
    const ProgramFolders& f = m->Folders();
    mUpdating = true;
    mFrame->SettingsApplied();
    mHst->SetSize(o.Num(SystemRow::MaxHistory));
    const QString initial = o.Text(SystemRow::InitialPath);
    mPathBox->SetPath(initial.isEmpty() ? f.gStartPath
                                        : m->Tools().NormalizePath(initial, f.gAppPath));
    mControls->Show(o, s, m->Filter().AttrOr());
    ui->cmdReturn->setEnabled(false);
    mUpdating = false;
    PreviewInputsChanged();
    if (refresh) {
        QString path = mPathBox->Path();
        if (m->Fs().FileExists(path)) path = m->Tools().ResolveShortcut(path);
        ChangePath(path);
    }
}

void frmMain::optRRL_Click(int index) {
    if (mUpdating) return;
    m->SetOperation(RenameOperation(index));
    mControls->SetModeControls();
}

// "既存ファイル削除" keeps its mark while disabled; a run reads it as off.
void frmMain::chkErrNoChk_Click() {
    if (mUpdating) return;
    ui->chkD->setEnabled(!ui->chkErrNoChk->isChecked());
}

// --- The folder ---------------------------------------------------------------

// Shows a folder: the nearest existing one on the way up from path, else
// the folder shown, the program folder or the root, in that order; the last
// two with a message. When even the root is gone the program ends.
void frmMain::ChangePath(const QString& path) {
    frmMainMousePointer(MousePointer::ArrowHourglass);
    const QString folder = FolderToShow(path);
    if (folder.isEmpty()) {
        ShowRestingPointer();
        return;
    }
    mUpdating = true;
    FilterRefresh(0);
    FilterRefresh(1);
    MakeFileList(folder);
    m->ShowFolder(folder);
    mPathBox->SetPath(folder);
    setWindowTitle(u"Sorvane－"_s + ShownName(folder));
    mFiles->ShowItemCount();
    mDrives->Show(folder);
    mUpdating = false;
    mHst->AddHst(folder);
    PreviewInputsChanged();
    ShowRestingPointer();
}

// Back and forward through the folders shown.
void frmMain::cmdHst_Click(int index) {
    const QString folder = mHst->ChangeHst(index);
    if (folder.isEmpty()) return;
    ChangePath(folder);
    ui->lstFile->setFocus();
}

void frmMain::SetHistoryEnabled(int index, bool enabled) {
    (index == 0 ? ui->cmdHst_0 : ui->cmdHst_1)->setEnabled(enabled);
}

QString frmMain::FolderToShow(const QString& path) {
    const mdlTools& t = m->Tools();
    QString folder = t.NearestFolder(path);
    if (folder.isEmpty()) folder = t.NearestFolder(m->Folders().gCurPath);
    const auto fallBack = [&](const QString& to, MessageId where) {
        folder = t.NearestFolder(to);
        if (!folder.isEmpty()) ShowMessage(m->Messages(), where);
    };
    if (folder.isEmpty()) fallBack(m->Folders().gAppPath, MessageId::PathFallbackToProgramFolder);
    if (folder.isEmpty())
        fallBack(FileSystem::WindowsFolder(), MessageId::PathFallbackToSystemFolder);
    if (folder.isEmpty()) {
        ShowMessage(m->Messages(), MessageId::PathFatal);
        close();
        QCoreApplication::exit(1);
    }
    return folder;
}

// The folder shown, read again (F5, filter changes, after a restore).
void frmMain::WindowRefresh() {
    ChangePath(m->Folders().gCurPath);
}

void frmMain::RefreshDrives() {
    mDrives->Refresh(m->Folders().gCurPath);
}

void frmMain::cmdPath_Click() {
    const QString folder = m->Tools().NearestFolder(m->Folders().gCurPath);
    ShellOpen(folder.isEmpty() ? QDir::homePath() : folder, m->Fs());
}

// --- The file list -------------------------------------------------------------

// One side of the filter from its controls, and the file or folder mode.
void frmMain::FilterRefresh(int index) {
    m->ApplyFilterSide(index, mControls->FilterBox(index == 0 ? 0 : 1)->text());
}

// A pattern edit re-lists the folder only when it changed the filter.
void frmMain::SelectiveWindowRefresh(int index) {
    const int side = index == 0 ? 0 : 1;
    const QString before = m->Filter().Patterns(side);
    FilterRefresh(side);
    if (m->Filter().Patterns(side) != before) WindowRefresh();
}

// The folder through the program's one filter, in the order a run takes
// the names: A-Z folded, then by code units. The list holds the names
// packed; the listing of the file list holds the folder's subfolders too.
void frmMain::MakeFileList(const QString& folder) {
    QList<FolderEntry> subfolders;
    mFiles->SetNames(m->ListFolder(folder, &subfolders));
    ui->Dir1->SetPath(folder, subfolders);
}

// Opening an item: a file with its application, a symbolic link (the
// shortcut of this system) by its target, a folder by showing it.
void frmMain::lstFile_Click() {
    if (!mUpdating) mFiles->ShowSelection();
}

void frmMain::lstFile_DblClick(const QModelIndex& item) {
    if (!item.isValid() || item.row() >= mFiles->size()) return;
    QString path =
        FileSystem::BuildPath(m->Folders().gCurPath, mFiles->Name(item.row()).toString());
    if (m->Fs().FileExists(path)) {
        const QString target = m->Tools().GetShortcutTarget(path);
        if (!target.isEmpty()) {
            path = target;
            if (m->Fs().FolderExistsFollowingLink(target)) {
                ChangePath(target);
            } else if (m->Fs().Exists(target)) {
                ChangePath(FileSystem::ParentFolderName(target));
                mFiles->SelectFile(FileSystem::GetFileName(target));
            } else {
                ShowMessage(m->Messages(), MessageId::ShortcutTargetMissing, {ShownName(target)});
            }
        } else {
            OpenFileWithDesktop(path, this, [this, shown = ShownName(path)] {
                ShowMessage(m->Messages(), MessageId::NoProgramForFile, {shown});
            });
        }
        mPathBox->SetPath(m->Tools().NearestFolder(path));
    } else if (m->Fs().FolderExists(path)) {
        ChangePath(path);
    } else {
        WindowRefresh();
    }
}

// Enter opens the current item as a double-click does. Ctrl+A selects every
// item; Ctrl+B, C, X, E and F copy the selected names without extension,
// the names, the extensions or the full paths. A key handled here is used
// up whole: its press is also its character, so the list's keyboard search
// never sees it and no later key is swallowed.
bool frmMain::lstFile_KeyDown(QKeyEvent* event) {
    if (mFiles->size() == 0 || !ui->lstFile->currentIndex().isValid()) return false;
    const int key = event->key();
    if (!(event->modifiers() & Qt::ControlModifier)) {
        if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
        // A row Qt made current without the user picking it (the focus
        // moved into the list) is no item: Enter opens nothing then.
        const QModelIndex current = ui->lstFile->currentIndex();
        if (ui->lstFile->selectionModel()->isSelected(current)) lstFile_DblClick(current);
        return true;
    }
    if (!mFiles->IsShortcut(event)) return false;
    frmMainMousePointer(MousePointer::ArrowHourglass);
    mFiles->UseShortcut(key);
    ShowRestingPointer();
    return true;
}

void frmMain::chkFol_Click() {
    if (mUpdating) return;
    m->SetFolderMode(ui->chkFol->isChecked());
    WindowRefresh();
}

void frmMain::chkSys_Click(int index) {
    if (mUpdating) return;
    const int bit = m->Options().AttrBits[size_t(index)];
    const int mask = m->Filter().Attr();
    m->SetAttributeFilter(mControls->Attribute(index)->isChecked() ? mask | bit : mask & ~bit,
                          m->Filter().AttrOr());
    WindowRefresh();
}

void frmMain::chksysOnly_Click() {
    if (mUpdating) return;
    m->SetAttributeFilter(m->Filter().Attr(), ui->chksysOnly->isChecked());
    WindowRefresh();
}

void frmMain::chkExt_Click(int index) {
    if (mUpdating) return;
    const bool on = mControls->FilterSwitch(index)->isChecked();
    m->SetFilterSwitch(index, on);
    if (on && index < 2) mControls->FilterBox(index)->setFocus();
    SelectiveWindowRefresh(index);
}

// --- Runs ---------------------------------------------------------------------

void frmMain::cmdStart_Click() {
    if (mBusy) return;
    // A pattern typed but not yet applied (the button pressed by its access
    // key, the box never left) counts as leaving the box would make it.
    SelectiveWindowRefresh(0);
    SelectiveWindowRefresh(1);
    const RunFrame::StartResult result = mFrame->Start(mPathBox->Path(), mControls->RunInputs());
    if (result.ran) {
        AfterRun(true);
        return;
    }
    switch (result.focus) {
        case RunInputBox::Path:
            ui->txtPath->setFocus();
            break;
        case RunInputBox::SearchWord:
            // A hidden box cannot take the focus; the replace word is next.
            (ui->txtBfr->isVisible() ? ui->txtBfr : ui->txtAft)->setFocus();
            break;
        case RunInputBox::ReplaceWord:
            ui->txtAft->setFocus();
            break;
        case RunInputBox::None:
            break;
    }
}

void frmMain::cmdReturn_Click() {
    if (mBusy) return;
    AfterRun(mFrame->Restore());
}

// The window's own end of a run: the restore button, the front, the Esc lock.
void frmMain::AfterRun(bool ran) {
    if (!ran) return;
    // The summary is the end of the log: the box shows it.
    mLogBox->ShowEnd();
    ui->cmdReturn->setEnabled(mFrame->CanRestore());
    if (mFlags.gHistoryOpen && mHistory) mHistory->Reload();
    raise();
    activateWindow();
    EscCancel();
}

// The controls and the menu go dark, not the window itself: the progress
// window and the questions of a run are its children and must stay live.
// The options window goes dark with them. Events waiting meanwhile are
// handled once, still busy, so that the pointer shows and a click made
// during the run starts nothing.
void frmMain::SetMainEnabled(bool enabled) {
    mBusy = true;
    frmMainMousePointer(enabled ? MousePointer::Default : MousePointer::Hourglass);
    QCoreApplication::processEvents();
    centralWidget()->setEnabled(enabled);
    menuBar()->setEnabled(enabled);
    mCompanions->SetCompanionsEnabled(enabled);
    mBusy = !enabled;
    // The controls read as a start reads them only while they are enabled,
    // and a run or a settings file may have changed any of them.
    if (enabled) PreviewInputsChanged();
}

// After a piece of work: the pointer of the state the window is in; a run
// that shows its folder again is still busy.
void frmMain::ShowRestingPointer() {
    frmMainMousePointer(mBusy ? MousePointer::Hourglass : MousePointer::Default);
}

void frmMain::frmMainMousePointer(MousePointer pointer) {
    SetPointer(*this, pointer);
    mCompanions->SetCompanionsPointer(pointer);
}

void frmMain::EscCancel() {
    mEscLock = true;
    tmrEscCancel.start();
}

// Only this button saves. With "保存" off, a settings file that exists keeps
// its values but learns that saving is off and whether the options window
// was open.
void frmMain::cmdEnd_Click() {
    if (mBusy) return;
    mdlOptions& o = m->Options();
    if (m->Settings().gSaveOnExit) {
        m->SaveSettingsFile(o.IniFilePath);
    } else if (m->Fs().FileExists(o.IniFilePath)) {
        o.LoadOptionFile(o.IniFilePath, true);
        o.SetNum(SystemRow::SaveOnExit, 0);
        o.SetNum(SystemRow::OptionWindow, m->Settings().gOptionWindow ? 1 : 0);
        o.SetNum(SystemRow::PreviewWindow, m->Settings().gPreviewWindow ? 1 : 0);
        o.SetNum(SystemRow::RepairWindow, m->Settings().gRepairWindow ? 1 : 0);
        o.SaveOptionFile(o.IniFilePath);
    }
    close();
}

// The options window opens and closes by the one button. A closed one may
// await its deletion; it no longer counts.
void frmMain::cmdOption_Click() {
    if (mFlags.gOptionWindow && mOption) {
        mOption->close();
        return;
    }
    mOption = new frmOption(*m, *this, mFlags);
    connect(mOption, &frmOption::RefreshAsked, this, &frmMain::WindowRefresh);
    connect(mOption, &frmOption::BrowseAsked, this, &frmMain::cmdPath_Click);
    connect(mOption, &frmOption::SettingsChanged, this, &frmMain::PreviewInputsChanged);
    mCompanions->Loaded(Companion::Options, mOption.data());
    // The version and history windows give the right edge to the options
    // window and take it back when it closes.
    connect(mOption, &frmOption::Unloaded, this, [this] {
        mCompanions->Follow(Companion::About);
        mCompanions->Follow(Companion::History);
    });
    mCompanions->Follow(Companion::About);
    mCompanions->Follow(Companion::History);
    mOption->show();
}

void frmMain::ApplyOptionFormOptions() {
    if (mFlags.gOptionWindow && mOption) mOption->SetFormOptions();
}

void frmMain::mnuEtcHelp_Click() {
    ShellOpen(ReadmePath(m->Folders().gAppPath), m->Fs());
}

// One version window: the loaded one is brought to the front. A closed one
// may await its deletion; it no longer counts.
void frmMain::mnuEtcVersion_Click() {
    if (!mAbout || !mFlags.gAboutOpen) {
        mAbout = new frmAbout(mFlags, this);
        mCompanions->Loaded(Companion::About, mAbout.data());
    }
    mAbout->show();
    mAbout->raise();
    mAbout->activateWindow();
}

// A table window opens and closes by its menu item, which is checked while
// it is open. A closed one may await its deletion; it no longer counts.
// setUp connects what is the window's own before it shows.
template <typename Window, typename SetUp>
void frmMain::ToggleTableWindow(QPointer<Window>& window, bool loaded, Companion which,
                                QAction* item, SetUp setUp) {
    if (loaded && window) {
        window->close();
        return;
    }
    window = new Window(*m, *this, mFlags);
    mCompanions->Loaded(which, window.data());
    connect(window, &TableWindow::Unloaded, this, [item] { item->setChecked(false); });
    setUp(window.data());
    item->setChecked(true);
    mCompanions->Follow(which);
    window->show();
    PreviewInputsChanged();
}

// The repair window docks below the preview while that is open.
void frmMain::mnuEtcPreview_Click() {
    ToggleTableWindow(mPreview, mFlags.gPreviewOpen, Companion::Preview, ui->mnuEtcPreview,
                      [this](frmPreview* preview) {
                          connect(preview, &TableWindow::Unloaded, this,
                                  [this] { mCompanions->Follow(Companion::Repair); });
                      });
}

void frmMain::mnuEtcRepair_Click() {
    ToggleTableWindow(mRepair, mFlags.gRepairOpen, Companion::Repair, ui->mnuEtcRepair,
                      [this](frmRepair* repair) {
                          connect(repair, &frmRepair::RepairAsked, this, &frmMain::cmdRepair_Click);
                      });
}

// The history window opens and closes by its menu item, which is checked
// while it is open.
void frmMain::mnuEtcHistory_Click() {
    if (mFlags.gHistoryOpen && mHistory) {
        mHistory->close();
        return;
    }
    mHistory = new frmHistory(m->Journal().Folder(), *this, mFlags);
    mCompanions->Loaded(Companion::History, mHistory.data());
    connect(mHistory, &frmHistory::Unloaded, this,
            [this] { ui->mnuEtcHistory->setChecked(false); });
    connect(mHistory, &frmHistory::RestoreAsked, this, &frmMain::HistoryRestore);
    ui->mnuEtcHistory->setChecked(true);
    mCompanions->Follow(Companion::History);
    mHistory->show();
}

// A restore from the journal replaces the window's record of the last run,
// as any restore does.
void frmMain::HistoryRestore(const QString& journal) {
    if (mBusy) return;
    const QString error = mFrame->RestoreJournal(journal);
    if (!error.isEmpty()) {
        ShowMessage(m->Messages(), MessageId::HistoryRestoreFailed,
                    {ShownName(journal), ShownName(error)});
        if (mHistory) mHistory->Reload();
        return;
    }
    AfterRun(true);
}

// "修復(&R)" of the repair window: a run as the start button's, with the
// start folder box, the switches and the filter, and the repair instead of
// the words.
void frmMain::cmdRepair_Click(NameRepair repair) {
    if (mBusy) return;
    SelectiveWindowRefresh(0);
    SelectiveWindowRefresh(1);
    RunInputValues inputs = mControls->RunInputs();
    inputs.repair = repair;
    const RunFrame::StartResult result = mFrame->Start(mPathBox->Path(), inputs);
    if (result.ran)
        AfterRun(true);
    else if (result.focus == RunInputBox::Path)
        ui->txtPath->setFocus();
}

// What a start now takes: the start folder box, the words as they stand,
// the switches, the settings and the filter in effect; the repair window
// takes the same with its repair. Nothing while the window is busy, when
// the controls do not read as a start reads them, nor while the window
// writes its controls: it asks once when it is done.
void frmMain::PreviewInputsChanged() {
    const bool preview = mFlags.gPreviewOpen && mPreview;
    const bool repair = mFlags.gRepairOpen && mRepair;
    if ((!preview && !repair) || !m || mBusy || mUpdating) return;
    const PreviewRequest request{m->Folders().gCurPath, mPathBox->Path(), m->Settings(),
                                 mControls->RunInputs(), m->Filter().Selection()};
    if (preview) mPreview->InputsChanged(request);
    if (repair) mRepair->InputsChanged(request);
}

// --- Keys, closing and drops ----------------------------------------------------

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress: {
            // A key the window or the control handles is used up here; any
            // other key goes on to the control untouched, so that Tab moves
            // the focus once and a focused button presses on Enter.
            auto* key = static_cast<QKeyEvent*>(event);
            if (Form_KeyDown(key)) return true;
            if (watched == ui->lstFile && lstFile_KeyDown(key)) return true;
            if (watched == ui->Drive1 && mDrives->CtrlCopy(key)) return true;
            if (auto* box = qobject_cast<QLineEdit*>(watched); box && TextBoxKey(box, key))
                return true;
            break;
        }
        case QEvent::MouseButtonPress:
            // A click on the window's background counts the list again.
            if (watched == centralWidget()) mFiles->ShowItemCount();
            // A click into a pattern box applies what it holds.
            for (int i = 0; i < 2; ++i)
                if (watched == mControls->FilterBox(i) && !mUpdating) SelectiveWindowRefresh(i);
            break;
        case QEvent::FocusIn:
            if (auto* box = qobject_cast<QLineEdit*>(watched))
                QTimer::singleShot(0, box, [box] { SelectAllText(box); });
            break;
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            if (!drag->mimeData()->hasUrls()) break;
            drag->acceptProposedAction();
            return true;
        }
        case QEvent::Drop:
            if (Drop(static_cast<QDropEvent*>(event))) return true;
            break;
        default:
            break;
    }
    return QMainWindow::eventFilter(watched, event);
}

// The Enter actions of the boxes, and Ctrl+A selecting the whole text.
bool frmMain::TextBoxKey(QLineEdit* box, QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && box == ui->txtBfr) {
        ui->txtAft->setFocus();
        return true;
    }
    if (enter && box == ui->txtAft) {
        ui->cmdStart->setFocus();
        return true;
    }
    if (enter && box == ui->txtPath) {
        ChangePath(mPathBox->Path());
        return true;
    }
    for (int i = 0; i < 2; ++i) {
        if (enter && box == mControls->FilterBox(i)) {
            // The pattern as typed goes into the filter first.
            FilterRefresh(i);
            if (mControls->FilterSwitch(i)->isChecked()) WindowRefresh();
            return true;
        }
    }
    // The status line is read-only: Ctrl+X copies and removes nothing.
    if (box == ui->txtFileName && event->key() == Qt::Key_X &&
        (event->modifiers() & Qt::ControlModifier)) {
        QGuiApplication::clipboard()->clear();
        QGuiApplication::clipboard()->setText(box->selectedText());
        return true;
    }
    return TextKeyDown(box, event->key(), event->modifiers());
}

void frmMain::keyPressEvent(QKeyEvent* event) {
    if (Form_KeyDown(event))
        event->accept();
    else
        QMainWindow::keyPressEvent(event);
}

// The window's own keys, seen before the focused control's: F5, Alt+Left
// and Alt+Right, Esc. Returns whether the key was one of them.
bool frmMain::Form_KeyDown(QKeyEvent* event) {
    if (mBusy) return false;
    const int key = event->key();
    const bool alt = event->modifiers() & Qt::AltModifier;
    if (key == Qt::Key_F5) {
        RefreshDrives();
        WindowRefresh();
    } else if (alt && key == Qt::Key_Left) {
        if (ui->cmdHst_0->isEnabled()) ui->cmdHst_0->click();
    } else if (alt && key == Qt::Key_Right) {
        if (ui->cmdHst_1->isEnabled()) ui->cmdHst_1->click();
    } else if (key == Qt::Key_Escape) {
        if (!mEscLock && m->Settings().gEscQuits) close();
    } else {
        return false;
    }
    return true;
}

// While a run goes on, the progress window's "中止(&C)" is the only way out.
void frmMain::closeEvent(QCloseEvent* event) {
    if (mBusy) {
        event->ignore();
        return;
    }
    event->accept();
    mCompanions->CloseAll();
    QCoreApplication::quit();
}

// Linux's stand-in for watching the window's moves: every move event.
void frmMain::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (mCompanions) mCompanions->FollowMain();
}

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && mCompanions)
        mCompanions->MainStateChanged(windowState());
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* event) {
    Drop(event);
}

// Dropped files and folders show the folder they mean.
bool frmMain::Drop(QDropEvent* event) {
    if (mBusy || !event->mimeData()->hasUrls()) return false;
    const QString folder = DropFolder(event->mimeData(), m->Tools());
    if (folder.isEmpty()) return false;
    ChangePath(folder);
    event->acceptProposedAction();
    return true;
}

// --- The ports ------------------------------------------------------------------

void frmMain::SetSearchWord(const QString& text) {
    ui->txtBfr->setText(text);
}
void frmMain::SetReplaceWord(const QString& text) {
    ui->txtAft->setText(text);
}

FormValues frmMain::Values() const {
    return mControls->Values();
}

}  // namespace sorvane
