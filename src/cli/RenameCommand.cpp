#include "cli/RenameCommand.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "cli/CliCommands.h"
#include "cli/CliProgram.h"
#include "cli/RenameOptions.h"
#include "cli/RunJson.h"
#include "platform/FileSystem.h"
#include "platform/ShownName.h"
#include "platform/mdlTools.h"
#include "ports/PlainRunInputs.h"
#include "run/RenameRun.h"
#include "run/RunFrame.h"
#include "run/mdlMain.h"

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

// "sorvane-cli rename: " or "sorvane-cli repair: ".
QString Prefix(bool repair) {
    return repair ? u"sorvane-cli repair: "_s : u"sorvane-cli rename: "_s;
}

// The message quotes what was typed: its control characters are shown, not
// sent to the terminal.
int UsageError(QTextStream& err, const QString& message, bool repair) {
    err << Prefix(repair) << ShownName(message)
        << (repair ? u"\n(see sorvane-cli repair --help)\n"_s
                   : u"\n(see sorvane-cli rename --help)\n"_s);
    return kCliUsage;
}

// One line per target, three fields: the names in their shown form, so that
// a tab or a line break in a name cannot add fields or lines. Then the count.
void PrintTargets(const mdlRename& r, QTextStream& out) {
    const qint32 count = r.GetTargetCount();
    for (qint32 i = 0; i < count; ++i)
        out << int(r.Status(i).verdict()) << u'\t' << ShownName(r.OldName(i)) << u'\t'
            << ShownName(r.NewName(i)) << u'\n';
    out << count << u'\n';
}

// What an unfinished listing tells the user; the exit status.
int ListingStatus(ListingEnd end, const mdlRename& r, QTextStream& err, const QString& kPrefix) {
    switch (end) {
        case ListingEnd::Done:
            return kCliOk;
        case ListingEnd::Refused:
            break;
        case ListingEnd::Stopped:
            err << kPrefix << u"the listing was stopped\n"_s;
            break;
        case ListingEnd::AtMaximum:
            err << kPrefix
                << u"the list stops at the maximum of %1 targets (--max)\n"_s.arg(
                       r.GetTargetCount());
            break;
        case ListingEnd::Failed:
            err << kPrefix << u"the folders could not be listed completely\n"_s;
            break;
    }
    return kCliFailed;
}

int RunCommand(const QStringList& args, QTextStream& out, QTextStream& err, const CliIo& io,
               const QString& executablePath, bool repair);

QString ExecutablePath() {
    return QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : QString();
}

}  // namespace

int RunRenameCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    return RunRenameCommand(args, out, err, CliIo::System(), ExecutablePath());
}

int RunRepairCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    return RunRepairCommand(args, out, err, CliIo::System(), ExecutablePath());
}

int RunRenameCommand(const QStringList& args, QTextStream& out, QTextStream& err, const CliIo& io,
                     const QString& executablePath) {
    return RunCommand(args, out, err, io, executablePath, false);
}

int RunRepairCommand(const QStringList& args, QTextStream& out, QTextStream& err, const CliIo& io,
                     const QString& executablePath) {
    return RunCommand(args, out, err, io, executablePath, true);
}

namespace {

// A rename, or with repair a repair of names: the same run and outputs.
int RunCommand(const QStringList& args, QTextStream& out, QTextStream& err, const CliIo& io,
               const QString& executablePath, bool repair) {
    const QString kPrefix = Prefix(repair);
    const auto UsageError = [&err, repair](const QString& message) {
        return sorvane::UsageError(err, message, repair);
    };
    const QString workingDir = FileSystem().CurrentDirectory();
    RenameOptions o;
    o.repairCommand = repair;
    QString error;
    if (!ParseRenameOptions(args, workingDir, o, error)) return UsageError(error);
    if (o.help) {
        out << (repair ? RepairUsage() : RenameUsage());
        return kCliOk;
    }
    // The window takes a file in its path box for the file's folder; on the
    // command line that would rename a whole folder (and its subfolders)
    // where the user named one file, so a file is refused.
    // The path is read as the run will read it (blanks and quotes removed),
    // and a dangling symbolic link counts as a file: it must never stand for
    // the folder it lies in.
    {
        const FileSystem fs;
        const mdlTools tools(fs, workingDir);
        const QString start = tools.NormalizePath(o.folder);
        if (!start.isEmpty() && fs.Exists(start) && !fs.FolderExistsFollowingLink(start))
            return UsageError(
                u"'%1' is not a folder: give the folder to rename in"_s.arg(o.folder));
    }
    if (o.settingsFile) {
        if (const QString refused = NameNotUtf8(*o.settingsFile, u"settings file"_s);
            !refused.isEmpty())
            return UsageError(refused);
        if (!QFileInfo(*o.settingsFile).isFile())
            return UsageError(u"settings file '%1' not found"_s.arg(*o.settingsFile));
    }

    CliProgram program(err, io, o.answers);
    mdlMain& m = program.Program();
    CliConsole& console = program.Console();
    m.Main(executablePath);
    // Relative paths typed on the command line mean the working directory,
    // as the folder the window shows does for the program.
    const QString current = m.Tools().TruePath(workingDir);
    m.ShowFolder(current.isEmpty() ? workingDir : current);
    if (o.settingsFile && !m.ReadSettingsFile(*o.settingsFile)) return kCliFailed;
    ApplyRowOverrides(o.rows, m.Options());
    m.ApplySettings();
    program.Inputs().Assign(RunInputsOf(m.Options()));
    program.Inputs().repair = o.repair;
    // In part mode an empty replace word deletes the search word from every
    // name it is found in. The window shows that word; on the command line
    // a missing option must not mean it.
    const RunInputValues& in = program.Inputs();
    if (!repair && !o.replaceGiven && m.Settings().gOperation == RenameOperation::Replace &&
        !in.wholeName && in.replaceWord.isEmpty() && !in.searchWord.isEmpty())
        return UsageError(
            u"the replace word is empty, which would delete the search word from every name: "
            u"give --replace WORD, or --replace \"\" to delete it"_s);

    RunFrame& frame = program.Frame();
    frame.SettingsApplied();

    int status = kCliFailed;
    if (o.dryRun) {
        const ListingEnd end = frame.DryRun(o.folder, program.Inputs());
        if (o.json)
            WriteDryRunJson(out, m.Rename(), end);
        else if (end != ListingEnd::Refused)
            PrintTargets(m.Rename(), out);
        status = ListingStatus(end, m.Rename(), err, kPrefix);
    } else {
        // The JSON is written while the run's target list is still there.
        bool reported = false;
        if (o.json)
            frame.SetRunEndObserver([&] {
                console.EraseProgress();
                WriteRunJson(out, m.Rename(), m.RunEnd(), true);
                reported = true;
            });
        const RunFrame::StartResult result = frame.Start(o.folder, program.Inputs());
        console.EraseProgress();
        if (!o.json)
            program.PrintLog(out);
        else if (!reported)
            WriteRunJson(out, m.Rename(), m.RunEnd(), false);
        if (result.ran) {
            status = RunDidAll(m.Rename(), m.RunEnd()) ? kCliOk : kCliFailed;
            if (!m.RunEnd().Complete())
                err << kPrefix << m.RunEnd().Text() << u'\n';
            else if (status != kCliOk)
                err << kPrefix
                    << u"%1 target(s) could not be renamed (see the [エラー] lines of the log)\n"_s
                           .arg(FailedTargets(m.Rename()));
        }
    }
    console.EraseProgress();
    out.flush();
    err.flush();
    return status;
}

}  // namespace

}  // namespace sorvane
