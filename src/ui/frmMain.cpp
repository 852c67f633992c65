#include "ui/frmMain.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QListView>
#include <QMenuBar>
#include <QMimeData>
#include <QPalette>
#include <QScrollBar>
#include <QTextCursor>

#include "matching/clsFileString.h"
#include "platform/ShownName.h"
#include "run/ProgramPlaces.h"
#include "run/RunFrame.h"
#include "run/clsHst.h"
#include "run/mdlMain.h"
#include "ui/CheckBoxValues.h"
#include "ui/DriveList.h"
#include "ui/FolderList.h"
#include "ui/ShellTools.h"
#include "ui/frmAbout.h"
#include "ui/frmOption.h"
#include "ui_frmMain.h"

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

constexpr int kEscLockMs = 1000;
constexpr qsizetype kArgumentLimit = 200;
constexpr int kLinesPerBlock = 64;

void SetChecked(QCheckBox* box, bool on) {
    box->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

CheckBoxValue ValueOf(const QCheckBox* box) {
    return CheckBoxValueOf(box->checkState());
}

}  // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent), ui(std::make_unique<Ui::frmMain>()) {
    ui->setupUi(this);
    // The log is written by the program only: no undo record of every line.
    ui->rtfLog->setUndoRedoEnabled(false);
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

frmMain::~frmMain() = default;

void frmMain::Attach(mdlMain& program, RunFrame& frame) {
    m = &program;
    mFrame = &frame;
    mHst = std::make_unique<clsHst>(m->tools);
    mHst->SetButtons(this);
    m->options.SetFormSource(this);
    mCompanions = std::make_unique<CompanionWindows>(*this, m->state);
}

void frmMain::ConnectControls() {
    for (int i = 0; i < 3; ++i)
        connect(OperationButton(i), &QAbstractButton::clicked, this,
                [this, i] { optRRL_Click(i); });
    connect(ui->chkErrNoChk, &QCheckBox::clicked, this, &frmMain::chkErrNoChk_Click);
    connect(ui->chkFol, &QCheckBox::clicked, this, &frmMain::chkFol_Click);
    connect(ui->chksysOnly, &QCheckBox::clicked, this, &frmMain::chksysOnly_Click);
    for (int i = 0; i < 4; ++i)
        connect(Attribute(i), &QCheckBox::clicked, this, [this, i] { chkSys_Click(i); });
    for (int i = 0; i < 3; ++i)
        connect(FilterSwitch(i), &QCheckBox::clicked, this, [this, i] { chkExt_Click(i); });
    for (int i = 0; i < 2; ++i)
        connect(FilterBox(i), &QLineEdit::editingFinished, this, [this, i] {
            if (!mUpdating) SelectiveWindowRefresh(i);
        });
    ui->lstFile->setModel(&mFiles);
    ui->lstFile->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The status line follows the selection, however it changes: clicks,
    // Shift and Ctrl with the arrows and Space. Items open on a double-click
    // and on Enter only, never on a single click.
    connect(ui->lstFile, &QListView::clicked, this, &frmMain::lstFile_Click);
    connect(ui->lstFile->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmMain::lstFile_Click);
    connect(ui->lstFile, &QListView::doubleClicked, this, &frmMain::lstFile_DblClick);
    connect(ui->Drive1, &QComboBox::activated, this, &frmMain::Drive1_Change);
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
        start = m->tools.NormalizePath(argument.left(kArgumentLimit), workingFolder);
        if (!start.isEmpty() && m->fs.FileExists(start)) start = m->tools.ResolveShortcut(start);
        if (!start.isEmpty()) start = m->tools.NearestFolder(start);
    }
    if (start.isEmpty()) start = ui->txtPath->text();
    RefreshDrives();
    show();
    // "オプション表示": the options window was open when the settings were saved.
    if (m->state.gOptionWindow) cmdOption_Click();
    ChangePath(start);
    AfterRun(mFrame->OfferInterruptedRestore());
    // Whatever opened meanwhile, the user starts by typing the search word.
    activateWindow();
    ui->txtBfr->setFocus();
}

void frmMain::SetFormOptions(bool refresh) {
    const mdlOptions& o = m->options;
    const ProgramState& s = m->state;
    mUpdating = true;
    mFrame->SettingsApplied();
    mHst->SetSize(o.Num(SystemRow::MaxHistory));
    const QString initial = o.Text(SystemRow::InitialPath);
    ui->txtPath->setText(initial.isEmpty() ? s.gStartPath
                                           : m->tools.NormalizePath(initial, s.gAppPath));
    ui->chkExt_2->setToolTip(u"除外："_s + s.gImportantPatterns);
    ui->chkErrNoChk->setEnabled(o.Num(SystemRow::QuickAllowed) == 1);
    constexpr FilterRow kAttributeRows[] = {FilterRow::ReadOnly, FilterRow::Hidden,
                                            FilterRow::Archive, FilterRow::System};
    for (int i = 0; i < 4; ++i) SetChecked(Attribute(i), o.Num(kAttributeRows[i]) != 0);
    SetChecked(ui->chksysOnly, m->filter.AttrOr());
    SetChecked(ui->chkR, o.Num(MethodRow::Recursive) != 0);
    SetChecked(ui->chkD, o.Num(MethodRow::DeleteExisting) != 0);
    for (int i = 0; i < 3; ++i) SetChecked(FilterSwitch(i), s.gFilterSwitch[size_t(i)]);
    SetChecked(ui->chkFol, o.Num(MethodRow::Folders) != 0);
    SetChecked(ui->chkBS, o.Num(MethodRow::TextMode) != 0);
    if (QAbstractButton* op = OperationButton(s.gOperation)) op->setChecked(true);
    SetModeControls();
    (o.Num(MethodRow::WholeName) == 1 ? ui->optM_1 : ui->optM_0)->setChecked(true);
    ui->txtBfr->setText(o.Text(MethodRow::SearchWord));
    ui->txtAft->setText(o.Text(MethodRow::ReplaceWord));
    SetChecked(ui->chkErrNoChk, o.Num(MethodRow::QuickList) != 0);
    ui->chkD->setEnabled(!ui->chkErrNoChk->isChecked());
    ui->txtExt_0->setText(o.Text(FilterRow::Include));
    ui->txtExt_1->setText(o.Text(FilterRow::Exclude));
    ui->cmdReturn->setEnabled(false);
    mUpdating = false;
    if (refresh) {
        QString path = ui->txtPath->text();
        if (m->fs.FileExists(path)) path = m->tools.ResolveShortcut(path);
        ChangePath(path);
    }
}

// Only the replace operation has a search word and a matching mode.
void frmMain::SetModeControls() {
    const bool replace = ui->optRRL_0->isChecked();
    ui->txtBfr->setVisible(replace);
    ui->lbl変換前->setVisible(replace);
    ui->chkBS->setEnabled(replace);
    ui->Frame4->setEnabled(replace);
    ui->lbl変換後->setText(replace ? u"置換語"_s : u"挿入語"_s);
}

void frmMain::optRRL_Click(int index) {
    if (mUpdating) return;
    m->state.gOperation = index;
    SetModeControls();
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
    // The listing of the file list holds the folder's subfolders too.
    ui->Dir1->SetPath(folder, m->filter.Listing().folders);
    m->filter.ReleaseNames();
    m->state.gCurPath = folder;
    ui->txtPath->setText(folder);
    setWindowTitle(u"Sorvane－"_s + ShownName(folder));
    ShowItemCount();
    ShowDrive(folder);
    mUpdating = false;
    mHst->AddHst(folder);
    ShowRestingPointer();
}

// Back and forward through the folders shown.
void frmMain::cmdHst_Click(int index) {
    const QString folder = mHst->ChangeHst(index);
    if (folder.isEmpty()) return;
    ChangePath(folder);
    ui->lstFile->setFocus();
}

void frmMain::SetBackEnabled(bool enabled) {
    ui->cmdHst_0->setEnabled(enabled);
}
void frmMain::SetForwardEnabled(bool enabled) {
    ui->cmdHst_1->setEnabled(enabled);
}

QString frmMain::FolderToShow(const QString& path) {
    const mdlTools& t = m->tools;
    QString folder = t.NearestFolder(path);
    if (folder.isEmpty()) folder = t.NearestFolder(m->state.gCurPath);
    const auto fallBack = [&](const QString& to, const QString& where) {
        folder = t.NearestFolder(to);
        if (!folder.isEmpty())
            ShowMessage(m->ports.messages, MessageId::PathFallback,
                        u"パスが見つかりませんでした。\r\n"_s + where + u"に移動しました。"_s,
                        u"異常なパス"_s, MsgButtons::OK, MsgIcon::Information);
    };
    if (folder.isEmpty()) fallBack(m->state.gAppPath, u"起動フォルダ"_s);
    if (folder.isEmpty()) fallBack(FileSystem::WindowsFolder(), u"システムフォルダ"_s);
    if (folder.isEmpty()) {
        ShowMessage(m->ports.messages, MessageId::PathFatal,
                    u"パスがどうしても見つかりません。\r\nアプリケーションを終了します。\r\n"
                    u"…ていうか、システムフォルダさえ取得できないし、やばいかも。"_s,
                    u"異常終了"_s, MsgButtons::OK, MsgIcon::Error);
        close();
        QCoreApplication::exit(1);
    }
    return folder;
}

// The folder shown, read again (F5, filter changes, after a restore).
void frmMain::WindowRefresh() {
    ChangePath(m->state.gCurPath);
}

// --- The drive list -------------------------------------------------------------

void frmMain::RefreshDrives() {
    ReadDrives();
    if (!m->state.gCurPath.isEmpty()) ShowDrive(m->state.gCurPath);
}

void frmMain::ReadDrives() {
    const bool updating = std::exchange(mUpdating, true);
    mDrives = BrowsableDrives();
    ui->Drive1->clear();
    for (const Drive& d : std::as_const(mDrives)) ui->Drive1->addItem(ShownName(d.text));
    mUpdating = updating;
}

// The drive list shows the file system of the folder, which remembers it as
// the folder last shown there. A stick mounted or removed since the list was
// read is there or gone first.
void frmMain::ShowDrive(const QString& folder) {
    if (mMounts.Changed()) ReadDrives();
    const int index = DriveOf(mDrives, folder);
    const bool updating = std::exchange(mUpdating, true);
    ui->Drive1->setCurrentIndex(index);
    mUpdating = updating;
    if (index >= 0) mLastFolder.insert(mDrives[index].root, folder);
}

// A file system chosen shows the folder last shown on it; one that has gone
// falls back as every folder change does.
void frmMain::Drive1_Change(int index) {
    if (mUpdating || index < 0 || index >= mDrives.size()) return;
    const QString root = mDrives[index].root;
    ChangePath(mLastFolder.value(root, root));
}

void frmMain::cmdPath_Click() {
    const QString folder = m->tools.NearestFolder(m->state.gCurPath);
    ShellOpen(folder.isEmpty() ? QDir::homePath() : folder, m->fs);
}

// --- The file list -------------------------------------------------------------

// One side of the filter from its controls, and the file or folder mode.
void frmMain::FilterRefresh(int index) {
    ApplyFilterSide(*m, index, FilterBox(index == 0 ? 0 : 1)->text());
}

// A pattern edit re-lists the folder only when it changed the filter.
void frmMain::SelectiveWindowRefresh(int index) {
    const int side = index == 0 ? 0 : 1;
    const QString before = m->filter.Patterns(side);
    FilterRefresh(side);
    if (m->filter.Patterns(side) != before) WindowRefresh();
}

// The folder through the program's one filter, in the order a run takes
// the names: A-Z folded, then by code units. The list holds the names
// packed; the filter lets go of its own copy.
void frmMain::MakeFileList(const QString& folder) {
    clsFilter& f = m->filter;
    f.MakeFileList(folder);
    QStringList names;
    names.reserve(f.ListCount());
    for (int i = 0; i < f.ListCount(); ++i) names.append(f.ListItem(i));
    mFiles.SetNames(names);
}

void frmMain::ShowItemCount() {
    ui->txtFileName->setText(QString::number(mFiles.size()) + m->state.gItemWord);
}

// One selected item shows its name; several their count.
void frmMain::lstFile_Click() {
    if (mUpdating) return;
    const QModelIndexList selected = ui->lstFile->selectionModel()->selectedRows();
    if (selected.size() == 1) {
        const QModelIndex current = ui->lstFile->currentIndex();
        if (current.isValid()) ui->txtFileName->setText(current.data().toString());
    } else if (selected.size() > 1) {
        ui->txtFileName->setText(QString::number(selected.size()) + m->state.gItemWord +
                                 u"を選択"_s);
    }
}

// Opening an item: a file with its application, a symbolic link (the
// shortcut of this system) by its target, a folder by showing it.
void frmMain::lstFile_DblClick(const QModelIndex& item) {
    if (!item.isValid() || item.row() >= mFiles.size()) return;
    QString path = FileSystem::BuildPath(m->state.gCurPath, mFiles.Name(item.row()).toString());
    if (m->fs.FileExists(path)) {
        const QString target = m->tools.GetShortcutTarget(path);
        if (!target.isEmpty()) {
            path = target;
            if (m->fs.FolderExistsFollowingLink(target)) {
                ChangePath(target);
            } else if (m->fs.Exists(target)) {
                ChangePath(FileSystem::ParentFolderName(target));
                SelectFile(FileSystem::GetFileName(target));
            } else {
                ShowMessage(m->ports.messages, MessageId::ShortcutTargetMissing,
                            u"ショートカット先が存在しません。\r\n"_s + ShownName(target),
                            u"パスの指定"_s, MsgButtons::OK, MsgIcon::Error);
            }
        } else {
            ShellOpen(path, m->fs);
        }
        ui->txtPath->setText(m->tools.NearestFolder(path));
    } else if (m->fs.FolderExists(path)) {
        ChangePath(path);
    } else {
        WindowRefresh();
    }
}

void frmMain::SelectFile(const QString& name) {
    for (int i = 0; i < mFiles.size(); ++i) {
        if (clsFileString::FileStrComp(mFiles.Name(i), name, CompareMode::Text) != 0) continue;
        const QModelIndex index = mFiles.index(i);
        ui->lstFile->setCurrentIndex(index);
        ui->lstFile->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
        return;
    }
}

// Enter opens the current item as a double-click does. Ctrl+A selects every
// item; Ctrl+B, C, X, E and F copy the selected names without extension,
// the names, the extensions or the full paths. A key handled here is used
// up whole: its press is also its character, so the list's keyboard search
// never sees it and no later key is swallowed.
bool frmMain::lstFile_KeyDown(QKeyEvent* event) {
    if (mFiles.size() == 0 || !ui->lstFile->currentIndex().isValid()) return false;
    const int key = event->key();
    if (!(event->modifiers() & Qt::ControlModifier)) {
        if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
        lstFile_DblClick(ui->lstFile->currentIndex());
        return true;
    }
    switch (key) {
        case Qt::Key_A:
        case Qt::Key_B:
        case Qt::Key_C:
        case Qt::Key_X:
        case Qt::Key_E:
        case Qt::Key_F:
            break;
        default:
            return false;
    }
    frmMainMousePointer(MousePointer::ArrowHourglass);
    if (key == Qt::Key_A) {
        mUpdating = true;
        ui->lstFile->selectAll();
        ui->txtFileName->setText(QString::number(mFiles.size()) + m->state.gItemWord + u"を選択"_s);
        mUpdating = false;
    } else {
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        const QString text = ListItemsText(key);
        if (!text.isEmpty()) clipboard->setText(text);
    }
    ShowRestingPointer();
    return true;
}

// One selected item gives its text alone; several, each followed by CR LF.
QString frmMain::ListItemsText(int key) const {
    const auto textOf = [&](const QString& name) {
        switch (key) {
            case Qt::Key_B:
                return FileSystem::GetBaseName(name);
            case Qt::Key_E:
                return FileSystem::GetExtensionName(name);
            case Qt::Key_F:
                return FileSystem::BuildPath(m->state.gCurPath, name);
            default:
                return name;
        }
    };
    QModelIndexList selected = ui->lstFile->selectionModel()->selectedRows();
    if (selected.size() == 1)
        return textOf(mFiles.Name(ui->lstFile->currentIndex().row()).toString());
    std::sort(selected.begin(), selected.end());
    QString text;
    for (const QModelIndex& index : std::as_const(selected))
        text += textOf(mFiles.Name(index.row()).toString()) + u"\r\n"_s;
    return text;
}

// The drive list's Ctrl+F, Ctrl+X and Ctrl+C copy its item as it is shown.
bool frmMain::CtrlCopy(QWidget* control, QKeyEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) return false;
    const int key = event->key();
    if (key != Qt::Key_F && key != Qt::Key_X && key != Qt::Key_C) return false;
    auto* box = qobject_cast<QComboBox*>(control);
    QGuiApplication::clipboard()->clear();
    if (box) QGuiApplication::clipboard()->setText(box->currentText());
    return true;
}

void frmMain::chkFol_Click() {
    if (mUpdating) return;
    ProgramState& s = m->state;
    s.gFolderMode = ui->chkFol->isChecked();
    s.gFileMode = !s.gFolderMode;
    s.gItemWord = s.gFolderMode ? u"フォルダ"_s : u"ファイル"_s;
    WindowRefresh();
}

void frmMain::chkSys_Click(int index) {
    if (mUpdating) return;
    const int bit = m->options.AttrBits[size_t(index)];
    const int mask = m->filter.Attr();
    m->filter.setAttr(Attribute(index)->isChecked() ? mask | bit : mask & ~bit);
    WindowRefresh();
}

void frmMain::chksysOnly_Click() {
    if (mUpdating) return;
    m->filter.setAttrOr(ui->chksysOnly->isChecked());
    WindowRefresh();
}

void frmMain::chkExt_Click(int index) {
    if (mUpdating) return;
    const bool on = FilterSwitch(index)->isChecked();
    m->state.gFilterSwitch[size_t(index)] = on;
    if (on && index < 2) FilterBox(index)->setFocus();
    SelectiveWindowRefresh(index);
}

// --- Runs ---------------------------------------------------------------------

void frmMain::cmdStart_Click() {
    if (mBusy) return;
    // A pattern typed but not yet applied (the button pressed by its access
    // key, the box never left) counts as leaving the box would make it.
    SelectiveWindowRefresh(0);
    SelectiveWindowRefresh(1);
    const RunFrame::StartResult result = mFrame->Start(ui->txtPath->text());
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
    ui->rtfLog->moveCursor(QTextCursor::End);
    QScrollBar* bar = ui->rtfLog->verticalScrollBar();
    bar->setValue(bar->maximum());
    ui->cmdReturn->setEnabled(mFrame->CanRestore());
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
    mCompanions->SetOptionsEnabled(enabled);
    mBusy = !enabled;
}

// After a piece of work: the pointer of the state the window is in; a run
// that shows its folder again is still busy.
void frmMain::ShowRestingPointer() {
    frmMainMousePointer(mBusy ? MousePointer::Hourglass : MousePointer::Default);
}

void frmMain::frmMainMousePointer(MousePointer pointer) {
    SetPointer(*this, pointer);
    mCompanions->SetOptionsPointer(pointer);
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
    mdlOptions& o = m->options;
    if (m->state.gSaveOnExit) {
        o.SaveOptionFile(o.IniFilePath, true);
    } else if (m->fs.FileExists(o.IniFilePath)) {
        o.LoadOptionFile(o.IniFilePath, true);
        o.SetNum(SystemRow::SaveOnExit, 0);
        o.SetNum(SystemRow::OptionWindow, m->state.gOptionWindow ? 1 : 0);
        o.SaveOptionFile(o.IniFilePath, false);
    }
    close();
}

// The options window opens and closes by the one button. A closed one may
// await its deletion; it no longer counts.
void frmMain::cmdOption_Click() {
    if (m->state.gOptionWindow && mOption) {
        mOption->close();
        return;
    }
    mOption = new frmOption(*m, *this);
    mCompanions->Loaded(Companion::Options, mOption.data());
    // The version window gives the right edge to the options window and
    // takes it back when it closes.
    connect(mOption, &frmOption::Unloaded, this, [this] { mCompanions->Follow(Companion::About); });
    mCompanions->Follow(Companion::About);
    mOption->show();
}

void frmMain::ApplyOptionFormOptions() {
    if (m->state.gOptionWindow && mOption) mOption->SetFormOptions();
}

void frmMain::mnuEtcHelp_Click() {
    ShellOpen(ReadmePath(m->state.gAppPath), m->fs);
}

// One version window: the loaded one is brought to the front. A closed one
// may await its deletion; it no longer counts.
void frmMain::mnuEtcVersion_Click() {
    if (!mAbout || !m->state.gAboutOpen) {
        mAbout = new frmAbout(m->state, this);
        mCompanions->Loaded(Companion::About, mAbout.data());
    }
    mAbout->show();
    mAbout->raise();
    mAbout->activateWindow();
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
            if (watched == ui->Drive1 && CtrlCopy(ui->Drive1, key)) return true;
            if (auto* box = qobject_cast<QLineEdit*>(watched); box && TextBoxKey(box, key))
                return true;
            break;
        }
        case QEvent::MouseButtonPress:
            // A click on the window's background counts the list again.
            if (watched == centralWidget()) ShowItemCount();
            // A click into a pattern box applies what it holds.
            for (int i = 0; i < 2; ++i)
                if (watched == FilterBox(i) && !mUpdating) SelectiveWindowRefresh(i);
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
        ChangePath(box->text());
        return true;
    }
    for (int i = 0; i < 2; ++i) {
        if (enter && box == FilterBox(i)) {
            // The pattern as typed goes into the filter first.
            FilterRefresh(i);
            if (FilterSwitch(i)->isChecked()) WindowRefresh();
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
        if (!mEscLock && m->state.gEscQuits) close();
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
    const QString folder = DropFolder(event->mimeData(), m->tools);
    if (folder.isEmpty()) return false;
    ChangePath(folder);
    event->acceptProposedAction();
    return true;
}

// --- The ports ------------------------------------------------------------------

// The log text keeps its CR LF line ends; the box shows them as line breaks.
// It is appended at the end, never set anew. A text block per line would cost
// the document a block for each of a long log's lines, so lines within a
// block of kLinesPerBlock are parted by LINE SEPARATOR, which the box shows
// as a line break and gives back as one when its text is copied.
void frmMain::Append(QString text) {
    QString shown;
    shown.reserve(text.size());
    qsizetype from = 0;
    for (qsizetype end = text.indexOf(u"\r\n"_s); end >= 0; end = text.indexOf(u"\r\n"_s, from)) {
        shown += QStringView(text).mid(from, end - from);
        const bool newBlock = ++mLinesInBlock == kLinesPerBlock;
        if (newBlock) mLinesInBlock = 0;
        shown += newBlock ? QChar(u'\n') : QChar(QChar::LineSeparator);
        from = end + 2;
    }
    shown += QStringView(text).mid(from);
    QTextCursor cursor(ui->rtfLog->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(shown);
    mText += text;
}

void frmMain::Clear() {
    ui->rtfLog->clear();
    mLinesInBlock = 0;
    mText.clear();
}

QString frmMain::Text() const {
    return mText;
}

QString frmMain::SearchWord() const {
    return ui->txtBfr->text();
}
QString frmMain::ReplaceWord() const {
    return ui->txtAft->text();
}
void frmMain::SetSearchWord(const QString& text) {
    ui->txtBfr->setText(text);
}
void frmMain::SetReplaceWord(const QString& text) {
    ui->txtAft->setText(text);
}
CheckBoxValue frmMain::RecursiveValue() const {
    return ValueOf(ui->chkR);
}
CheckBoxValue frmMain::DeleteValue() const {
    return ValueOf(ui->chkD);
}
bool frmMain::DeleteEnabled() const {
    return ui->chkD->isEnabled();
}
CheckBoxValue frmMain::TextModeValue() const {
    return ValueOf(ui->chkBS);
}
bool frmMain::WholeNameSelected() const {
    return ui->optM_1->isChecked();
}
CheckBoxValue frmMain::QuickListValue() const {
    return ValueOf(ui->chkErrNoChk);
}
bool frmMain::QuickListEnabled() const {
    return ui->chkErrNoChk->isEnabled();
}

QString frmMain::FolderListPath() const {
    return m->state.gCurPath;
}
bool frmMain::EscQuits() const {
    return m->state.gEscQuits;
}
bool frmMain::SaveOnExit() const {
    return m->state.gSaveOnExit;
}
bool frmMain::DetailLog() const {
    return m->state.gDetailLog;
}
bool frmMain::OptionWindow() const {
    return m->state.gOptionWindow;
}
QString frmMain::LogPath() const {
    return m->state.gLogPath;
}
bool frmMain::AutoLogSave() const {
    return m->state.gAutoLogSave;
}
CheckBoxValue frmMain::AttributeValue(int index) const {
    return ValueOf(Attribute(index));
}
CheckBoxValue frmMain::AttributeOnlyValue() const {
    return ValueOf(ui->chksysOnly);
}
CheckBoxValue frmMain::FilterSwitchValue(int index) const {
    return ValueOf(FilterSwitch(index));
}
QString frmMain::FilterText(int index) const {
    return FilterBox(index)->text();
}
CheckBoxValue frmMain::FolderValue() const {
    return ValueOf(ui->chkFol);
}
int frmMain::Operation() const {
    return m->state.gOperation;
}
int frmMain::DelMode() const {
    return m->state.gDelMode;
}
QString frmMain::DelTarget() const {
    return m->state.gDelTarget;
}

QAbstractButton* frmMain::OperationButton(int index) const {
    QAbstractButton* const buttons[] = {ui->optRRL_0, ui->optRRL_1, ui->optRRL_2};
    return index >= 0 && index < 3 ? buttons[index] : nullptr;
}
QCheckBox* frmMain::Attribute(int index) const {
    QCheckBox* const boxes[] = {ui->chkSys_0, ui->chkSys_1, ui->chkSys_2, ui->chkSys_3};
    return boxes[index];
}
QCheckBox* frmMain::FilterSwitch(int index) const {
    QCheckBox* const boxes[] = {ui->chkExt_0, ui->chkExt_1, ui->chkExt_2};
    return boxes[index];
}
QLineEdit* frmMain::FilterBox(int index) const {
    return index == 0 ? ui->txtExt_0 : ui->txtExt_1;
}

}  // namespace sorvane
