#include "run/mdlMain.h"

#include <iterator>

#include "platform/NameBytes.h"
#include "platform/ShownName.h"
#include "rename/CancelListProgress.h"
#include "run/ProgramPlaces.h"
#include "run/RunMessages.h"
#include "run/RunPlan.h"
#include "run/RunSteps.h"
#include "run/StartChecks.h"

namespace sorvane {

namespace {

const QString kStartupStatus = QStringLiteral("(アプリケーション開始直後)");

// The attribute switches in the order of the filter's attribute bits.
constexpr FilterRow kAttributeRows[] = {FilterRow::ReadOnly, FilterRow::Hidden, FilterRow::Archive,
                                        FilterRow::System};

QString ItemWordOf(bool folders) {
    return folders ? QStringLiteral("フォルダ") : QStringLiteral("ファイル");
}

// The filter's patterns and switches from the settings in effect.
void ApplyFilterSettings(mdlMain& m, const mdlOptions& o) {
    m.ApplyFilterSide(0, o.Text(FilterRow::Include));
    m.ApplyFilterSide(1, o.Text(FilterRow::Exclude));
}

// A folder setting: "" stays "", anything else is made absolute against
// the folder relative settings start from.
QString FolderSetting(const ProgramCore& m, const QString& text) {
    return text.isEmpty() ? QString() : m.tools.NormalizePath(text, m.folders.gDataPath);
}

// The settings file is text (Shift-JIS or UTF-8): a folder whose name has
// a byte that is not UTF-8 cannot be written in it and read back as the
// same folder. Such a folder is refused with a message.
bool CanStore(ProgramCore& m, const QString& folder) {
    if (!name_bytes::HasEscape(folder)) return true;
    ShowMessage(m.ports.messages, MessageId::FolderNotStorable, {ShownName(folder)});
    return false;
}

// The repair of the settings' two rows ("修復方法", "修復文字コード"), and
// the first row of a repair.
NameRepair RepairOf(qint32 kind, qint32 codePage) {
    if (kind == 1) return NameRepair::UnzipCp932;
    if (kind == 2) return NameRepair::Nfc;
    return codePage == 1 ? NameRepair::EucJp : NameRepair::Cp932;
}
qint32 RepairKindOf(NameRepair repair) {
    return repair == NameRepair::UnzipCp932 ? 1 : repair == NameRepair::Nfc ? 2 : 0;
}

// The folder, or the nearest folder above it whose path the settings file
// can hold.
QString StorableFolder(QString folder) {
    while (name_bytes::HasEscape(folder)) folder = FileSystem::ParentFolderName(folder);
    return folder;
}

}  // namespace

ProgramCore::ProgramCore(MainPorts windows)
    : options(windows.messages),
      log(fs, tools, options, windows.logBox),
      CancelDialog(windows.progressWindow, windows.messages),
      ports(windows) {
    // Listing a folder lets the windows breathe, also outside a run.
    filter.setEventPort(&ports.progressWindow);
}

mdlMain::mdlMain(MainPorts ports) : m(ports) {}

void mdlMain::Main(const QString& executablePath) {
    const QString exeFolder =
        FileSystem::ParentFolderName(m.fs.GetAbsolutePathName(executablePath));
    ProgramFolders& f = m.folders;
    f.gAppPath = m.tools.TruePath(exeFolder);
    if (f.gAppPath.isEmpty()) f.gAppPath = exeFolder;
    ShowFolder(f.gAppPath);
    const ProgramPlaces places = PlacesOf(f.gAppPath);
    f.gDataPath = places.dataFolder;
    f.gStartPath = places.startFolder;
    m.journal.SetFolder(JournalFolder(places));
    m.options.InitOptions(places.settingsFolder, FileSystem::GetBaseName(executablePath));
    m.options.LoadOptionFile(m.options.IniFilePath, false);
    SetGlobalOptions(m);
    m.log.InitLogInfo(kStartupStatus);
}

void mdlMain::ApplySettings() {
    SetGlobalOptions(m);
    ApplyFilterSettings(*this, m.options);
}

void mdlMain::LoadSettingsFile(const QString& path) {
    m.ports.forms.SetMainEnabled(false);
    const bool optionWindow = m.settings.gOptionWindow;
    const bool previewWindow = m.settings.gPreviewWindow;
    const bool repairWindow = m.settings.gRepairWindow;
    m.options.LoadOptionFile(path, true);
    SetGlobalOptions(m);
    m.ports.forms.ApplyMainFormOptions(true);
    m.settings.gOptionWindow = optionWindow;
    m.settings.gPreviewWindow = previewWindow;
    m.settings.gRepairWindow = repairWindow;
    if (optionWindow) m.ports.forms.ApplyOptionFormOptions();
    m.ports.forms.SetMainEnabled(true);
}

bool mdlMain::ReadSettingsFile(const QString& path) {
    return m.options.LoadOptionFile(path, true);
}

bool mdlMain::SaveSettingsFile(const QString& path) {
    GetFormOptions(m);
    return m.options.SaveOptionFile(path);
}

void mdlMain::SaveLogNow() {
    m.ports.forms.SetMainEnabled(false);
    GetFormOptions(m);
    if (m.log.SaveLogFiles(true) != 0)
        ShowMessage(m.ports.messages, MessageId::ManualLogSaveError, {m.log.LogSaveErrorText});
    m.ports.forms.SetMainEnabled(true);
}

void mdlMain::ShowFolder(const QString& folder) {
    m.folders.gCurPath = folder;
    m.tools.SetCurrentFolder(folder);
}

PackedNames mdlMain::ListFolder(const QString& folder, QList<FolderEntry>* subfolders) {
    clsFilter& f = m.filter;
    f.MakeFileList(folder);
    if (subfolders) *subfolders = f.Listing().folders;
    return f.TakeListNames();
}

void mdlMain::SetOperation(RenameOperation operation) {
    m.settings.gOperation = operation;
}

void mdlMain::SetFolderMode(bool folders) {
    SettingsInEffect& s = m.settings;
    s.gFolderMode = folders;
    s.gFileMode = !folders;
    s.gItemWord = ItemWordOf(folders);
}

void mdlMain::ApplyFilterSide(int side, const QString& text) {
    const SettingsInEffect& s = m.settings;
    clsFilter& f = m.filter;
    QString pattern;
    if (side == 0) {
        f.setIsMatchOther(0, s.gFilterSwitch[0]);
        if (s.gFilterSwitch[0]) pattern = text;
    } else {
        side = 1;
        f.setIsMatchOther(1, s.gFilterSwitch[1] || s.gFilterSwitch[2]);
        if (s.gFilterSwitch[1]) pattern = text;
        if (s.gFilterSwitch[2]) {
            if (!pattern.isEmpty()) pattern += u';';
            pattern += s.gImportantPatterns;
        }
    }
    f.setPatterns(side, pattern);
    f.IsFile = s.gFileMode;
    f.IsFolder = s.gFolderMode;
}

void mdlMain::SetFilterSwitch(int index, bool on) {
    if (index >= 0 && index < 3) m.settings.gFilterSwitch[size_t(index)] = on;
}

void mdlMain::SetAttributeFilter(int mask, bool attributeOnly) {
    m.filter.setAttr(mask);
    m.filter.setAttrOr(attributeOnly);
}

void mdlMain::SetDeleteMode(DeleteMode mode) {
    m.settings.gDelMode = mode;
}

void mdlMain::SetDeleteTarget(const QString& folder) {
    m.settings.gDelMode = DeleteMode::ToFolder;
    m.settings.gDelTarget = folder;
}

void mdlMain::SetLogFolder(const QString& folder) {
    m.log.SetLogPath(folder);
}

bool mdlMain::DropDeleteTarget(const QString& folder) {
    if (!CanStore(m, folder)) return false;
    SetDeleteTarget(folder);
    return true;
}

bool mdlMain::DropLogFolder(const QString& folder) {
    if (!CanStore(m, folder)) return false;
    SetLogFolder(folder);
    return true;
}

bool mdlMain::DropSettingsFile(const QString& path) {
    if (!name_bytes::HasEscape(path)) return true;
    ShowMessage(m.ports.messages, MessageId::SettingsFileNameUnreadable, {ShownName(path)});
    return false;
}

void mdlMain::SetPreviewWindowOpen(bool open) {
    m.settings.gPreviewWindow = open;
}

void mdlMain::SetRepairWindowOpen(bool open) {
    m.settings.gRepairWindow = open;
}

void mdlMain::SetRepair(NameRepair repair) {
    if (repair != NameRepair::None) m.settings.gRepair = repair;
}

void mdlMain::SetOptionWindowOpen(bool open) {
    m.settings.gOptionWindow = open;
}

void mdlMain::SetDetailLog(bool on) {
    m.settings.gDetailLog = on;
}
void mdlMain::SetAutoLogSave(bool on) {
    m.settings.gAutoLogSave = on;
}
void mdlMain::SetEscQuits(bool on) {
    m.settings.gEscQuits = on;
}
void mdlMain::SetSaveOnExit(bool on) {
    m.settings.gSaveOnExit = on;
}

RunInputValues RunInputsOf(const mdlOptions& o) {
    RunInputValues in;
    in.searchWord = o.Text(MethodRow::SearchWord);
    in.replaceWord = o.Text(MethodRow::ReplaceWord);
    in.recursive = CheckBoxOfSetting(o.Num(MethodRow::Recursive));
    in.textMode = CheckBoxOfSetting(o.Num(MethodRow::TextMode));
    in.wholeName = o.Num(MethodRow::WholeName) == 1;
    in.quickList = CheckBoxOfSetting(o.Num(MethodRow::QuickList));
    in.quickListEnabled = o.Num(SystemRow::QuickAllowed) == 1;
    in.deleteValue = CheckBoxOfSetting(o.Num(MethodRow::DeleteExisting));
    // "既存ファイル削除" cannot be used while the simplified handling is checked.
    in.deleteEnabled = in.quickList == CheckBoxValue::Unchecked;
    return in;
}

void SetGlobalOptions(ProgramCore& m) {
    const mdlOptions& o = m.options;
    SettingsInEffect& s = m.settings;
    const auto on = [&](auto row) { return o.Num(row) != 0; };

    s.gMaxTargets = o.Num(SystemRow::MaxTargets);
    s.gEscQuits = on(SystemRow::EscQuits);
    s.gSaveOnExit = on(SystemRow::SaveOnExit);
    s.gPatternConfirm = on(SystemRow::PatternConfirm);
    s.gPatternShow = on(SystemRow::PatternShow);
    s.gDetailLog = on(SystemRow::DetailLog);
    s.gOptionWindow = on(SystemRow::OptionWindow);
    s.gPreviewWindow = on(SystemRow::PreviewWindow);
    s.gRepairWindow = on(SystemRow::RepairWindow);
    s.gRepair = RepairOf(o.Num(SystemRow::RepairKind), o.Num(SystemRow::RepairCodePage));

    QString logPath = FolderSetting(m, o.Text(SystemRow::LogPath));
    if (logPath.isEmpty())
        logPath = FileSystem::BuildPath(m.folders.gDataPath, QStringLiteral("Log"));
    m.log.SetLogPath(logPath);
    s.gAutoLogSave = on(SystemRow::AutoLogSave);
    s.gJournal = on(SystemRow::Journal);

    s.gDelMode = DeleteMode(o.Num(MethodRow::DelMode));

    int mask = 0;
    for (size_t i = 0; i < std::size(kAttributeRows); ++i)
        if (o.Num(kAttributeRows[i]) == 1) mask |= o.AttrBits[i];
    m.filter.setAttr(mask);
    m.filter.setAttrOr(on(FilterRow::AttributeOnly));
    s.gFilterSwitch = {on(FilterRow::IncludeOn), on(FilterRow::ExcludeOn),
                       on(FilterRow::ImportantOn)};
    s.gImportantPatterns = o.Text(FilterRow::Important);

    s.gFileMode = o.Num(MethodRow::Folders) == 0;
    s.gFolderMode = !s.gFileMode;
    s.gItemWord = ItemWordOf(o.Num(MethodRow::Folders) == 1);
    s.gOperation = RenameOperation(o.Num(MethodRow::Operation));
    s.gDelTarget = FolderSetting(m, o.Text(MethodRow::DelTarget));
    s.gFolderSort = on(MethodRow::FolderSort);
}

void GetRunOptions(ProgramCore& m, const RunInputValues& in) {
    m.inputs = RunInputsFrom(in, m.settings);
    m.matching.setCmpMode(m.inputs.gRunTextMode ? CompareMode::Text : CompareMode::Exact);
    m.matching.setFileNameMode(m.inputs.gRunWholeName ? NameMode::Whole : NameMode::Partial);
}

void GetFormOptions(ProgramCore& m) {
    const std::optional<FormValues> form = m.ports.forms.Values();
    if (!form) return;
    const SettingsInEffect& s = m.settings;
    const RunInputValues& run = form->run;
    const FilterValues& filter = form->filter;
    mdlOptions& o = m.options;
    const auto flag = [](bool on) { return on ? 1 : 0; };

    o.SetText(SystemRow::InitialPath, StorableFolder(m.folders.gCurPath));
    o.SetNum(SystemRow::EscQuits, flag(s.gEscQuits));
    o.SetNum(SystemRow::SaveOnExit, flag(s.gSaveOnExit));
    o.SetNum(SystemRow::DetailLog, flag(s.gDetailLog));
    o.SetNum(SystemRow::OptionWindow, flag(s.gOptionWindow));
    o.SetNum(SystemRow::PreviewWindow, flag(s.gPreviewWindow));
    o.SetNum(SystemRow::RepairWindow, flag(s.gRepairWindow));
    o.SetNum(SystemRow::RepairKind, RepairKindOf(s.gRepair));
    if (s.gRepair == NameRepair::Cp932 || s.gRepair == NameRepair::EucJp)
        o.SetNum(SystemRow::RepairCodePage, s.gRepair == NameRepair::EucJp ? 1 : 0);
    o.SetText(SystemRow::LogPath, m.log.LogPath());
    o.SetNum(SystemRow::AutoLogSave, flag(s.gAutoLogSave));

    for (size_t i = 0; i < std::size(kAttributeRows); ++i)
        o.SetNum(kAttributeRows[i], SettingOfCheckBox(filter.attributes[i]));
    o.SetNum(FilterRow::AttributeOnly, SettingOfCheckBox(filter.attributeOnly));
    constexpr FilterRow kSwitchRows[] = {FilterRow::IncludeOn, FilterRow::ExcludeOn,
                                         FilterRow::ImportantOn};
    for (size_t i = 0; i < std::size(kSwitchRows); ++i)
        o.SetNum(kSwitchRows[i], SettingOfCheckBox(filter.switches[i]));
    o.SetText(FilterRow::Include, filter.patterns[0]);
    o.SetText(FilterRow::Exclude, filter.patterns[1]);

    o.SetNum(MethodRow::Recursive, SettingOfCheckBox(run.recursive));
    o.SetNum(MethodRow::DeleteExisting, SettingOfCheckBox(run.deleteValue));
    o.SetNum(MethodRow::Folders, SettingOfCheckBox(filter.folders));
    o.SetNum(MethodRow::TextMode, SettingOfCheckBox(run.textMode));
    o.SetNum(MethodRow::Operation, qint32(s.gOperation));
    o.SetNum(MethodRow::WholeName, flag(run.wholeName));
    o.SetText(MethodRow::SearchWord, run.searchWord);
    o.SetText(MethodRow::ReplaceWord, run.replaceWord);
    o.SetNum(MethodRow::DelMode, qint32(s.gDelMode));
    // A folder the settings file cannot hold leaves the row as it was.
    if (!name_bytes::HasEscape(s.gDelTarget)) o.SetText(MethodRow::DelTarget, s.gDelTarget);
    o.SetNum(MethodRow::QuickList, SettingOfCheckBox(run.quickList));
}

bool ListTargets(ProgramCore& m, const QString& startFolder) {
    m.rename.ClearRenameList();
    if (FileSystem::DriveName(startFolder).isEmpty()) return false;
    CancelListProgress listing(m.CancelDialog);
    RenamePlan plan = MakePlan(PlanRequest{startFolder, m.settings, m.inputs, m.filter.Selection()},
                               listing, &m.ports.progressWindow);
    const bool complete = plan.complete;
    m.rename.TakePlan(std::move(plan));
    return complete;
}

bool CheckCancel(ProgramCore& m) {
    const bool cancelled = m.CancelDialog.IsCancel;
    if (cancelled) AddLogLine(m, kStoppedByUser);
    return cancelled;
}

void AddLogLine(ProgramCore& m, const QString& line) {
    m.ports.logBox.Append(line + QStringLiteral("\r\n"));
}

}  // namespace sorvane
