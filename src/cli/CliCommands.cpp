#include "cli/CliCommands.h"

#include "cli/JournalCommands.h"
#include "cli/MatchCommand.h"
#include "cli/RenameCommand.h"
#include "platform/ShownName.h"

namespace sorvane {

namespace {

// The commands of sorvane-cli.
constexpr CliCommand kCommands[] = {
    {"match", "match [--whole] [--text] [--second] [--] SEARCH REPLACE [NAME...]", RunMatchCommand},
    {"rename", "rename [options] [--] FOLDER (sorvane-cli rename --help)", RunRenameCommand},
    {"repair",
     "repair --encoding cp932|euc-jp|unzip-cp932 | --nfc [options] [--] FOLDER  repair names "
     "(sorvane-cli repair --help)",
     RunRepairCommand},
    {"restore", "restore [JOURNAL]  undo a run from its journal (the newest not restored)",
     RunRestoreCommand},
    {"journal", "journal  list the kept journals: time, state, count, folder, file",
     RunJournalCommand},
};

QString VersionText() {
    return QStringLiteral("Sorvane %1").arg(QStringLiteral(SORVANE_VERSION_TEXT));
}

void PrintHelp(QTextStream& out) {
    out << VersionText()
        << QStringLiteral(": renames many files or folders at once by wildcard patterns.\n\n")
        << QStringLiteral("Usage: sorvane-cli COMMAND [ARGUMENTS]\n\nCommands:\n");
    for (const CliCommand& c : kCommands) {
        out << QStringLiteral("  %1\n").arg(QString::fromUtf8(c.usage));
    }
    out << QStringLiteral(
        "\nOptions:\n  --version  print the version\n  --help     print this help\n");
}

}  // namespace

int RunCli(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.isEmpty()) {
        PrintHelp(err);
        return kCliUsage;
    }
    const QString first = args.first();
    if (first == u"--version") {
        out << VersionText() << u'\n';
        return kCliOk;
    }
    if (first == u"--help" || first == u"-h" || first == u"help") {
        PrintHelp(out);
        return kCliOk;
    }
    for (const CliCommand& c : kCommands) {
        if (first == QString::fromUtf8(c.name)) return c.run(args.mid(1), out, err);
    }
    err << QStringLiteral("sorvane-cli: unknown command '%1' (see sorvane-cli --help)\n")
               .arg(ShownName(first));
    return kCliUsage;
}

}  // namespace sorvane
