#include "run/mdlMain.h"

#include <iterator>

#include "run/ProgramPlaces.h"
#include "run/RunMessages.h"
#include "run/RunSteps.h"

namespace sorvane {

namespace {

const QString kStartupStatus = QStringLiteral("(アプリケーション開始直後)");

// The filter's patterns and switches from the settings in effect.
void ApplyFilterSettings(mdlMain& m) {
    ApplyFilterSide(m, 0, m.options.Text(FilterRow::Include));
    ApplyFilterSide(m, 1, m.options.Text(FilterRow::Exclude));
}

// A folder setting: "" stays "", anything else is made absolute against
// the folder relative settings start from.
QString FolderSetting(const mdlMain& m, const QString& text) {
    return text.isEmpty() ? QString() : m.tools.NormalizePath(text, m.state.gDataPath);
}

}  // namespace

mdlMain::mdlMain(MainPorts ports_)
    : options(ports_.messages),
      log(fs, tools, options, ports_.logBox, state.gLogPath, options.ExeName),
      CancelDialog(ports_.progressWindow, ports_.messages),
      ports(ports_) {
    // Listing a folder lets the windows breathe, also outside a run.
    filter.setEventPort(&ports.progressWindow);
}

void mdlMain::Main(const QString& executablePath) {
    state.gSelectOpen = false;
    state.gAboutOpen = false;
    const QString exeFolder = FileSystem::ParentFolderName(fs.GetAbsolutePathName(executablePath));
    state.gAppPath = tools.TruePath(exeFolder);
    if (state.gAppPath.isEmpty()) state.gAppPath = exeFolder;
    state.gCurPath = state.gAppPath;
    const ProgramPlaces places = PlacesOf(state.gAppPath);
    state.gDataPath = places.dataFolder;
    state.gStartPath = places.startFolder;
    journal.SetFolder(JournalFolder(places));
    options.InitOptions(places.settingsFolder, FileSystem::GetBaseName(executablePath));
    options.LoadOptionFile(options.IniFilePath, false);
    SetGlobalOptions(*this);
    log.InitLogInfo(kStartupStatus);
}

void mdlMain::ApplySettings() {
    SetGlobalOptions(*this);
    ApplyFilterSettings(*this);
}

void mdlMain::LoadSettingsFile(const QString& path) {
    ports.forms.SetMainEnabled(false);
    const bool optionWindow = state.gOptionWindow;
    options.LoadOptionFile(path, true);
    SetGlobalOptions(*this);
    ports.forms.ApplyMainFormOptions(true);
    state.gOptionWindow = optionWindow;
    if (state.gOptionWindow) ports.forms.ApplyOptionFormOptions();
    ports.forms.SetMainEnabled(true);
}

void SaveLogNow(mdlMain& m) {
    m.ports.forms.SetMainEnabled(false);
    if (m.log.SaveLogFiles(true) != 0)
        ShowMessage(m.ports.messages, MessageId::ManualLogSaveError, m.log.LogSaveErrorText,
                    QStringLiteral("ログの保存"), MsgButtons::OK, MsgIcon::Error);
    m.ports.forms.SetMainEnabled(true);
}

void ApplyFilterSide(mdlMain& m, int side, const QString& text) {
    const ProgramState& s = m.state;
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

void SetGlobalOptions(mdlMain& m) {
    const mdlOptions& o = m.options;
    ProgramState& s = m.state;
    const auto on = [&](auto row) { return o.Num(row) != 0; };

    s.gMaxTargets = o.Num(SystemRow::MaxTargets);
    s.gEscQuits = on(SystemRow::EscQuits);
    s.gSaveOnExit = on(SystemRow::SaveOnExit);
    s.gPatternConfirm = on(SystemRow::PatternConfirm);
    s.gPatternShow = on(SystemRow::PatternShow);
    s.gDetailLog = on(SystemRow::DetailLog);
    s.gOptionWindow = on(SystemRow::OptionWindow);

    s.gLogPath = FolderSetting(m, o.Text(SystemRow::LogPath));
    if (s.gLogPath.isEmpty())
        s.gLogPath = FileSystem::BuildPath(s.gDataPath, QStringLiteral("Log"));
    s.gAutoLogSave = on(SystemRow::AutoLogSave);
    s.gJournal = on(SystemRow::Journal);

    s.gDelMode = o.Num(MethodRow::DelMode);

    // The attribute switches in the order of the filter's attribute bits.
    constexpr FilterRow kAttributeRows[] = {FilterRow::ReadOnly, FilterRow::Hidden,
                                            FilterRow::Archive, FilterRow::System};
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
    s.gItemWord =
        o.Num(MethodRow::Folders) == 1 ? QStringLiteral("フォルダ") : QStringLiteral("ファイル");
    s.gOperation = o.Num(MethodRow::Operation);
    s.gDelTarget = FolderSetting(m, o.Text(MethodRow::DelTarget));
    s.gFolderSort = on(MethodRow::FolderSort);
}

void GetRunOptions(mdlMain& m) {
    const RunInputsPort& in = m.ports.runInputs;
    ProgramState& s = m.state;
    s.gSearchWord = in.SearchWord();
    s.gReplaceWord = in.ReplaceWord();
    s.gRunFolderMode = s.gFolderMode;
    s.gRunRecursive = in.RecursiveValue() != CheckBoxValue::Unchecked;
    s.gRunDelete = in.DeleteValue() != CheckBoxValue::Unchecked && in.DeleteEnabled();
    // Only a ticked box compares in text mode; a greyed one compares exactly.
    m.matching.setCmpMode(in.TextModeValue() == CheckBoxValue::Checked ? CompareMode::Text
                                                                       : CompareMode::Exact);
    m.matching.setFileNameMode(in.WholeNameSelected() ? NameMode::Whole : NameMode::Partial);
    s.gRunQuickList = in.QuickListValue() != CheckBoxValue::Unchecked && in.QuickListEnabled();
}

bool CheckCancel(mdlMain& m) {
    const bool cancelled = m.CancelDialog.IsCancel;
    if (cancelled) AddLogLine(m, kStoppedByUser);
    return cancelled;
}

void AddLogLine(mdlMain& m, const QString& line) {
    m.ports.logBox.Append(line + QStringLiteral("\r\n"));
}

}  // namespace sorvane
