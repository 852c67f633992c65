#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "platform/PackedNames.h"
#include "run/ProgramCore.h"

namespace sorvane {

class RunFrame;
namespace test {
struct ProgramAccess;
}

// Run control: start-up, the program's state and the objects its runs
// share. The front ends read the state through const views and change it
// only by the named commands below; the runs themselves go through RunFrame.
class mdlMain {
public:
    explicit mdlMain(MainPorts ports);
    mdlMain(const mdlMain&) = delete;
    mdlMain& operator=(const mdlMain&) = delete;

    // Start-up up to, not including, loading the main window: the program
    // folder, the settings table and file, the program state, the log record.
    void Main(const QString& executablePath);

    // Puts the settings table into effect: the program state and the filter
    // the file list and the runs select with. A front end then fills its
    // run inputs from RunInputsOf(Options()).
    void ApplySettings();
    // Reads a settings file chosen by the user and fills both windows again.
    void LoadSettingsFile(const QString& path);
    // Reads a settings file into the settings table, the defaults first;
    // ApplySettings puts it into effect. False when it could not be read.
    bool ReadSettingsFile(const QString& path);
    // Writes the settings file: the settings in effect and the windows'
    // values (FormsPort::Values) first go into the settings table.
    bool SaveSettingsFile(const QString& path);
    // Saves the log of the last run now, at the user's request: the main
    // window is disabled meanwhile, and a failure shows the lines of what
    // could not be written.
    void SaveLogNow();

    // --- Views ---------------------------------------------------------------
    const SettingsInEffect& Settings() const { return m.settings; }
    const RunInputs& Inputs() const { return m.inputs; }
    const ProgramFolders& Folders() const { return m.folders; }
    const mdlOptions& Options() const { return m.options; }
    // The settings table itself, which a front end may change row by row
    // before ApplySettings puts it into effect.
    mdlOptions& Options() { return m.options; }
    const FileSystem& Fs() const { return m.fs; }
    const mdlTools& Tools() const { return m.tools; }
    const clsFilter& Filter() const { return m.filter; }
    const mdlLog& Log() const { return m.log; }
    const mdlRename& Rename() const { return m.rename; }
    const EndStatus& RunEnd() const { return m.runEnd; }
    const RunJournal& Journal() const { return m.journal; }
    MessageBoxPort& Messages() { return m.ports.messages; }
    // The progress window's model, which the window itself drives.
    clsCancel& CancelDialog() { return m.CancelDialog; }

    // --- Commands ------------------------------------------------------------
    // The main window shows folder; relative texts are taken from it.
    void ShowFolder(const QString& folder);
    // Lists folder through the program's filter: its candidates in the
    // order a run takes them, and its subfolders into *subfolders.
    PackedNames ListFolder(const QString& folder, QList<FolderEntry>* subfolders);
    void SetOperation(RenameOperation operation);
    // The run renames folders (chkFol) or files.
    void SetFolderMode(bool folders);
    // One side of the filter (0 include, any other the exclude side) from
    // the switches in effect and the side's pattern text.
    void ApplyFilterSide(int side, const QString& text);
    // chkExt(index); the side's patterns follow at its next ApplyFilterSide.
    void SetFilterSwitch(int index, bool on);
    // The attribute filter: chkSys as a mask of attribute bits, chksysOnly.
    void SetAttributeFilter(int mask, bool attributeOnly);
    void SetDeleteMode(DeleteMode mode);
    // Colliding files go to this folder (the delete mode follows).
    void SetDeleteTarget(const QString& folder);
    void SetLogFolder(const QString& folder);
    // A folder the user dropped for the delete target or the log folder: set
    // as the two above do when the settings file can hold its name; a name
    // with bytes that are not UTF-8 is refused with a message (false).
    bool DropDeleteTarget(const QString& folder);
    bool DropLogFolder(const QString& folder);
    // Whether a dropped settings file can be read by its path: one with
    // bytes that are not UTF-8 is refused with a message (false).
    bool DropSettingsFile(const QString& path);
    // The options window opened or closed ("オプション表示").
    void SetOptionWindowOpen(bool open);
    // The preview window opened or closed ("プレビュー表示").
    void SetPreviewWindowOpen(bool open);
    // The repair window opened or closed ("修復表示"), and the repair chosen
    // there ("修復方法", "修復文字コード").
    void SetRepairWindowOpen(bool open);
    void SetRepair(NameRepair repair);
    void SetDetailLog(bool on);
    void SetAutoLogSave(bool on);
    void SetEscQuits(bool on);
    void SetSaveOnExit(bool on);

private:
    friend class RunFrame;
    friend struct test::ProgramAccess;

    ProgramCore m;
};

// The run inputs as the settings table gives them to the main window's
// controls.
RunInputValues RunInputsOf(const mdlOptions& options);

}  // namespace sorvane
