#include "run/mdlMain.h"

#include "run/RunMessages.h"

namespace sorvane {

namespace {

const QString kStartupStatus = QStringLiteral("(アプリケーション開始直後)");

}  // namespace

mdlMain::mdlMain(MainPorts ports_)
    : options(ports_.messages),
      log(fs, tools, options, ports_.logBox, state.gLogPath, options.ExeName),
      CancelDialog(ports_.progressWindow, ports_.messages), ports(ports_) {
    // Listing a folder lets the windows breathe, also outside a run.
    filter.setEventPort(&ports.progressWindow);
}

void mdlMain::Main(const QString& executablePath) {
    state.gSelectOpen = false;
    state.gAboutOpen = false;
    const QString exeFolder =
        FileSystem::ParentFolderName(fs.GetAbsolutePathName(executablePath));
    state.gAppPath = tools.TruePath(exeFolder);
    if (state.gAppPath.isEmpty()) state.gAppPath = exeFolder;
    state.gCurPath = state.gAppPath;
    options.InitOptions(state.gAppPath, FileSystem::GetBaseName(executablePath));
    options.LoadOptionFile(options.IniFilePath, false);
    SetGlobalOptions();
    log.InitLogInfo(kStartupStatus);
}

void mdlMain::SetGlobalOptions() {
    const OptionTable& sys = options.SystemOptions;
    const OptionTable& filt = options.FilterOptions;
    const OptionTable& method = options.MethodOptions;

    state.gMaxTargets = sys.Num(1);
    state.gEscQuits = sys.Num(4) != 0;
    state.gSaveOnExit = sys.Num(5) != 0;
    state.gPatternConfirm = sys.Num(6) != 0;
    state.gPatternShow = sys.Num(7) != 0;
    state.gDetailLog = sys.Num(8) != 0;
    state.gOptionWindow = sys.Num(9) != 0;

    state.gLogPath = sys.Text(10).isEmpty() ? QString() : tools.NormalizePath(sys.Text(10), state.gAppPath);
    if (state.gLogPath.isEmpty()) state.gLogPath = FileSystem::BuildPath(state.gAppPath, QStringLiteral("Log"));
    state.gAutoLogSave = sys.Num(11) != 0;

    state.gDelMode = method.Num(9);

    int mask = 0;
    for (int i = 0; i < 4; ++i) {
        if (filt.Num(i + 1) == 1) mask |= options.AttrBits[static_cast<size_t>(i)];
    }
    filter.setAttr(mask);
    filter.setAttrOr(filt.Num(5) != 0);
    for (int i = 0; i < 3; ++i) state.gFilterSwitch[static_cast<size_t>(i)] = filt.Num(6 + i) != 0;
    state.gImportantPatterns = filt.Text(11);

    state.gFileMode = method.Num(3) == 0;
    state.gFolderMode = !state.gFileMode;
    state.gItemWord = method.Num(3) == 1 ? QStringLiteral("フォルダ") : QStringLiteral("ファイル");
    state.gOperation = method.Num(5);
    state.gDelTarget =
        method.Text(10).isEmpty() ? QString() : tools.NormalizePath(method.Text(10), state.gAppPath);
    state.gFolderSort = method.Num(12) != 0;
}

void mdlMain::LoadSettingsFile(const QString& path) {
    ports.forms.SetMainEnabled(false);
    const bool optionWindow = state.gOptionWindow;
    options.LoadOptionFile(path, true);
    SetGlobalOptions();
    ports.forms.ApplyMainFormOptions(true);
    state.gOptionWindow = optionWindow;
    if (state.gOptionWindow) ports.forms.ApplyOptionFormOptions();
    ports.forms.SetMainEnabled(true);
}

void mdlMain::GetRunOptions() {
    const RunInputsPort& in = ports.runInputs;
    state.gSearchWord = in.SearchWord();
    state.gReplaceWord = in.ReplaceWord();
    state.gRunFolderMode = state.gFolderMode;
    state.gRunRecursive = in.RecursiveValue() != kUnchecked;
    state.gRunDelete = in.DeleteValue() != kUnchecked && in.DeleteEnabled();
    matching.CmpMode = in.TextModeValue() == kChecked ? 1 : 0;
    matching.setFileNameMode(in.WholeNameSelected() ? -1 : 0);
    state.gRunQuickList = in.QuickListValue() != kUnchecked && in.QuickListEnabled();
}

bool mdlMain::CheckCancel() {
    const bool cancelled = CancelDialog.IsCancel;
    if (cancelled) AddLogLine(kStoppedByUser);
    return cancelled;
}

void mdlMain::AddLogLine(const QString& line) { ports.logBox.Append(line + QStringLiteral("\r\n")); }

}  // namespace sorvane
