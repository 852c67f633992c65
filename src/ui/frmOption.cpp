#include "ui/frmOption.h"

#include <QCheckBox>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTimer>
#include <functional>
#include <utility>

#include "platform/ShownName.h"
#include "run/mdlMain.h"
#include "ui/ShellTools.h"
#include "ui_frmOption.h"

namespace sorvane {

using namespace Qt::StringLiterals;

frmOption::frmOption(mdlMain& program, QWidget& mainWindow, WindowFlags& flags)
    : QDialog(&mainWindow), ui(std::make_unique<Ui::frmOption>()), m(program), mFlags(flags) {
    ui->setupUi(this);
    mDelTarget = std::make_unique<PathBox>(*ui->txtDelTarget);
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    ConnectControls();
    mFlags.gOptionWindow = true;
    m.SetOptionWindowOpen(true);
    FollowForm(&mainWindow);
    SetFormOptions();
    // Every way of closing a dialog ends in done(), which emits finished.
    connect(this, &QDialog::finished, this, [this] {
        mFlags.gOptionWindow = false;
        m.SetOptionWindowOpen(false);
        deleteLater();
        Q_EMIT Unloaded();
    });
}

// Deleted with the main window the program state may be gone already.
frmOption::~frmOption() {
    disconnect(this, &QDialog::finished, this, nullptr);
}

void frmOption::ConnectControls() {
    // A click does nothing while the window itself writes its controls.
    const auto onClick = [this](QAbstractButton* button, std::function<void()> action) {
        connect(button, &QAbstractButton::clicked, this, [this, action = std::move(action)] {
            if (!mUpdating) action();
        });
    };
    // A control that changes a setting in effect says so after it.
    const auto onSetting = [this, onClick](QAbstractButton* button, std::function<void()> action) {
        onClick(button, [this, action = std::move(action)] {
            action();
            Q_EMIT SettingsChanged();
        });
    };
    for (int i = 0; i < 3; ++i)
        onSetting(DelModeButton(i), [this, i] { m.SetDeleteMode(DeleteMode(i)); });
    connect(ui->txtDelTarget, &QLineEdit::textEdited, this, &frmOption::txtDelTarget_Change);
    const std::pair<QCheckBox*, void (mdlMain::*)(bool)> switches[] = {
        {ui->chkLog, &mdlMain::SetDetailLog},
        {ui->chkLogAuto, &mdlMain::SetAutoLogSave},
        {ui->chkEsc, &mdlMain::SetEscQuits},
        {ui->chkSave, &mdlMain::SetSaveOnExit},
    };
    for (const auto& [box, command] : switches)
        onSetting(box, [this, box, command] { (m.*command)(box->isChecked()); });
    onClick(ui->cmdExplorer, [this] { OpenFolder(mDelTarget->Path()); });
    onClick(ui->cmdOpenLogFolder, [this] { OpenFolder(m.Log().LogPath()); });
    onClick(ui->cmdOpenLastIniFolder, [this] { OpenFolder(m.Options().LastIniFolder); });
    onClick(ui->cmdLogSave, [this] {
        m.SaveLogNow();
        // A save spells the log folder as it is stored on disk.
        SetLogSaveToolTip();
    });
    onClick(ui->cmdSave, [this] { m.SaveSettingsFile(m.Options().IniFilePath); });
    onClick(ui->cmdOpen, [this] { m.LoadSettingsFile(m.Options().IniFilePath); });
    // The defaults: the settings file is not read.
    onClick(ui->cmdReset, [this] { m.LoadSettingsFile(QString()); });
    onClick(ui->cmdOpenIni, [this] { cmdOpenIni_Click(); });
    onClick(ui->cmdClose, [this] { close(); });

    ui->txtDelTarget->installEventFilter(this);
    AcceptDrops(DelTargetControls() + LogPathControls() + QList<QWidget*>{ui->cmdOpen});
}

// The controls' own handling of drags (a line edit would insert the text of
// a URL) gives way to the window's.
void frmOption::AcceptDrops(const QList<QWidget*>& controls) {
    for (QWidget* control : controls) {
        control->setAcceptDrops(true);
        control->installEventFilter(this);
    }
}

void frmOption::FollowForm(const QWidget* form) {
    DockTo(*this, form, Dock::Right);
}

void frmOption::SetFormOptions() {
    const SettingsInEffect& s = m.Settings();
    mUpdating = true;
    if (QAbstractButton* mode = DelModeButton(int(s.gDelMode))) mode->setChecked(true);
    // The path text itself, so that it comes back unchanged when edited.
    mDelTarget->SetPath(s.gDelTarget);
    ui->chkLog->setChecked(s.gDetailLog);
    ui->chkLogAuto->setChecked(s.gAutoLogSave);
    ui->chkEsc->setChecked(s.gEscQuits);
    ui->chkSave->setChecked(s.gSaveOnExit);
    SetRuntimeToolTips();
    mUpdating = false;
}

void frmOption::SetRuntimeToolTips() {
    const QString file = u'\'' + ShownName(m.Options().IniFileName) + u'\'';
    SetLogSaveToolTip();
    ui->cmdSave->setToolTip(file + u"に現在の状態を保存します。"_s);
    ui->cmdOpen->setToolTip(file +
                            u"を読み込み、保存されている状態に戻します。"
                            u"またIniファイルをドロップすると一時的にそれを読み込みます。"_s);
    ui->cmdOpenIni->setToolTip(
        file + u"を開きます。ファイルが無い場合は現在の状態を保存してそれを開きます。"_s);
    ui->cmdOpenLastIniFolder->setToolTip(u'\'' + ShownName(m.Options().LastIniFolder) +
                                         u"'を開きます。"_s);
}

void frmOption::SetLogSaveToolTip() {
    ui->cmdLogSave->setToolTip(u"ログフォルダ:"_s + ShownName(m.Log().LogPath()));
}

// Typing a target means moving the colliding files there.
void frmOption::txtDelTarget_Change(const QString& text) {
    if (mUpdating) return;
    ui->optDelMode_2->setChecked(true);
    m.SetDeleteTarget(text == ui->txtDelTarget->text() ? mDelTarget->Path() : text);
    Q_EMIT SettingsChanged();
}

// The nearest existing folder on the way up, a relative path taken from
// where the relative folder settings start; without one, the folder the
// main window shows.
void frmOption::OpenFolder(const QString& path) {
    const QString folder = m.Tools().NearestFolder(path, m.Folders().gDataPath);
    if (folder.isEmpty()) {
        Q_EMIT BrowseAsked();
        return;
    }
    ShellOpen(folder, m.Fs());
}

// A settings file that is not there yet is written from the current state,
// so that there is something to open.
void frmOption::cmdOpenIni_Click() {
    const QString& path = m.Options().IniFilePath;
    if (!m.Fs().FileExists(path)) m.SaveSettingsFile(path);
    ShellOpen(path, m.Fs());
}

// --- Keys and drops --------------------------------------------------------------

void frmOption::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F5) {
        if (!mUpdating) Q_EMIT RefreshAsked();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool frmOption::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
            if (watched == ui->txtDelTarget) {
                auto* key = static_cast<QKeyEvent*>(event);
                return TextKeyDown(ui->txtDelTarget, key->key(), key->modifiers());
            }
            break;
        case QEvent::FocusIn:
            if (watched == ui->txtDelTarget)
                QTimer::singleShot(0, ui->txtDelTarget,
                                   [this] { SelectAllText(ui->txtDelTarget); });
            break;
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            if (DroppedPaths(drag->mimeData()).isEmpty()) {
                drag->ignore();
            } else {
                drag->acceptProposedAction();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (DropOn(qobject_cast<QWidget*>(watched), *drop->mimeData())) {
                drop->acceptProposedAction();
            } else {
                drop->ignore();
            }
            return true;
        }
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}

bool frmOption::DropOn(QWidget* control, const QMimeData& data) {
    const QStringList paths = DroppedPaths(&data);
    if (paths.isEmpty() || !control) return false;
    if (control == ui->cmdOpen) return DropSettingsFile(paths);
    const QString folder = m.Tools().DropFolder(paths);
    if (folder.isEmpty()) return false;
    if (DelTargetControls().contains(control)) {
        DropDelTarget(folder);
        return true;
    }
    if (LogPathControls().contains(control)) {
        DropLogPath(folder);
        return true;
    }
    return false;
}

void frmOption::DropDelTarget(const QString& folder) {
    if (!m.DropDeleteTarget(folder)) return;
    mUpdating = true;
    mDelTarget->SetPath(folder);
    ui->optDelMode_2->setChecked(true);
    Q_EMIT SettingsChanged();
    mUpdating = false;
}

void frmOption::DropLogPath(const QString& folder) {
    if (m.DropLogFolder(folder)) SetLogSaveToolTip();
}

// A settings file is read for the time being: the program's own file is
// neither read nor written. One dropped shortcut stands for its target.
bool frmOption::DropSettingsFile(const QStringList& paths) {
    QString path = paths.first();
    if (paths.size() == 1 && m.Fs().FileExists(path)) path = m.Tools().ResolveShortcut(path);
    if (path.isEmpty() || !m.Fs().FileExists(path)) return false;
    if (m.DropSettingsFile(path)) m.LoadSettingsFile(path);
    return true;
}

// --- Controls ----------------------------------------------------------------------

QAbstractButton* frmOption::DelModeButton(int index) const {
    QAbstractButton* const buttons[] = {ui->optDelMode_0, ui->optDelMode_1, ui->optDelMode_2};
    return index >= 0 && index < 3 ? buttons[index] : nullptr;
}

QList<QWidget*> frmOption::DelTargetControls() const {
    return {ui->frameDelMode, ui->optDelMode_0, ui->optDelMode_1,
            ui->optDelMode_2, ui->cmdExplorer,  ui->txtDelTarget};
}

QList<QWidget*> frmOption::LogPathControls() const {
    return {ui->frameLog, ui->chkLog, ui->chkLogAuto, ui->cmdOpenLogFolder, ui->cmdLogSave};
}

}  // namespace sorvane
