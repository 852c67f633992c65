#include "cli/JournalCommands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "cli/CliCommands.h"
#include "cli/CliProgram.h"
#include "cli/RenameCommand.h"
#include "cli/RenameOptions.h"
#include "platform/ShownName.h"
#include "ports/PlainRunInputs.h"
#include "run/ProgramPlaces.h"
#include "run/RunFrame.h"
#include "run/mdlMain.h"

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

QString ExecutablePath() {
    return QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : QString();
}

// The words of the states, in the order of their values.
constexpr const char16_t* kStateWords[] = {u"interrupted", u"completed", u"restored"};
static_assert(std::size(kStateWords) == size_t(JournalState::Restored) + 1);

QString StateWord(JournalState state) {
    return QString::fromUtf16(kStateWords[size_t(state)]);
}

// The newest journal that is not restored, or "".
QString NewestUnrestored(const QString& folder) {
    QString path;
    ForEachJournal(folder, [&](const JournalInfo& info) {
        if (info.state != JournalState::Restored) path = info.path;
        return path.isEmpty();
    });
    return path;
}

int Usage(QTextStream& err, const QString& command, const QString& message) {
    err << u"sorvane-cli "_s << command << u": "_s << ShownName(message)
        << u"\n(see sorvane-cli --help)\n"_s;
    return kCliUsage;
}

}  // namespace

int RunRestoreCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    return RunRestoreCommand(args, out, err, CliIo::System(), ExecutablePath());
}

int RunRestoreCommand(const QStringList& args, QTextStream& out, QTextStream& err, const CliIo& io,
                      const QString& executablePath) {
    const QString prefix = u"sorvane-cli restore: "_s;
    QString journal;
    QString settingsFile;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == u"--help") {
            out << u"Usage: sorvane-cli restore [--settings FILE] [JOURNAL]\n"_s;
            return kCliOk;
        }
        if (arg == u"--settings") {
            if (++i == args.size())
                return Usage(err, u"restore"_s, u"option --settings needs a file"_s);
            settingsFile = AbsoluteArgument(args[i], FileSystem().CurrentDirectory());
        } else if (arg.startsWith(u'-') || !journal.isEmpty()) {
            return Usage(err, u"restore"_s, u"give at most one journal file"_s);
        } else {
            journal = arg;
        }
    }
    for (const auto& [file, what] :
         {std::pair{settingsFile, u"settings file"_s}, std::pair{journal, u"journal"_s}})
        if (const QString refused = NameNotUtf8(file, what); !refused.isEmpty())
            return Usage(err, u"restore"_s, refused);
    if (!settingsFile.isEmpty() && !QFileInfo(settingsFile).isFile())
        return Usage(err, u"restore"_s, u"settings file '%1' not found"_s.arg(settingsFile));

    CliProgram program(err, io, CliAnswers{});
    mdlMain& m = program.Program();
    m.Main(executablePath);
    // The restore writes a log and saves it as these settings say.
    if (!settingsFile.isEmpty() && !m.ReadSettingsFile(settingsFile)) return kCliFailed;
    m.ApplySettings();
    RunFrame& frame = program.Frame();
    frame.SettingsApplied();

    const QString path = journal.isEmpty() ? NewestUnrestored(m.Journal().Folder()) : journal;
    if (path.isEmpty()) {
        err << prefix << u"no journal to restore in "_s << ShownName(m.Journal().Folder()) << u'\n';
        return kCliFailed;
    }
    const QString error = frame.RestoreJournal(path);
    program.Console().EraseProgress();
    if (!error.isEmpty()) {
        err << prefix << ShownName(path) << u": "_s << ShownName(error) << u'\n';
        return kCliFailed;
    }
    program.PrintLog(out);
    out.flush();
    // A restore that left something behind keeps the list restorable.
    const qint64 unread = frame.UnreadByLastRestore();
    const bool complete = m.RunEnd().Complete() && !frame.CanRestore() && unread == 0;
    if (!m.RunEnd().Complete())
        err << prefix << m.RunEnd().Text() << u'\n';
    else if (unread > 0)
        err << prefix << unread
            << u" line(s) of the journal could not be read; their items were not restored\n"_s;
    else if (!complete)
        err << prefix << u"some items could not be restored (see the log)\n"_s;
    err.flush();
    return complete ? kCliOk : kCliFailed;
}

int RunJournalCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (!args.isEmpty()) {
        if (args[0] == u"--help") {
            out << u"Usage: sorvane-cli journal\n"_s;
            return kCliOk;
        }
        return Usage(err, u"journal"_s, u"takes no arguments"_s);
    }
    const QString folder = JournalFolder(PlacesOf(FileSystem::ParentFolderName(ExecutablePath())));
    for (const JournalInfo& info : ListJournals(folder)) {
        out << info.time.toString(u"yyyy-MM-dd HH:mm:ss"_s) << u'\t' << StateWord(info.state)
            << u'\t' << info.records << u'\t' << ShownName(info.folder) << u'\t'
            << ShownName(info.path) << u'\n';
    }
    return kCliOk;
}

}  // namespace sorvane
