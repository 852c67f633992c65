#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <variant>

#include "cli/CliPorts.h"
#include "ports/NameRepairKind.h"
#include "settings/mdlOptions.h"

namespace sorvane {

// One settings row set by an option, for this run only.
struct RowOverride {
    std::variant<SystemRow, FilterRow, MethodRow> row;
    std::optional<qint32> number;
    std::optional<QString> text;
};

// The command line of `sorvane-cli rename`, parsed.
struct RenameOptions {
    QString folder;                       // the start folder as given
    std::optional<QString> settingsFile;  // --settings, made absolute
    bool dryRun = false;
    bool json = false;  // one JSON object on standard output instead of the log
    bool help = false;
    CliAnswers answers;
    QList<RowOverride> rows;  // in the order given; a later one wins
    // Set before parsing for `sorvane-cli repair`, which takes --encoding or
    // --nfc, the repair, and no words.
    bool repairCommand = false;
    NameRepair repair = NameRepair::None;
    bool replaceGiven = false;  // --replace was given, "" included
};

// A file or folder argument, absolute against workingDir: it means what it
// meant where the command was typed.
// The refusal of a file given on the command line (a settings file, a
// journal; what says which) whose name holds bytes that are not UTF-8: such
// files are read by Qt, which cannot take such a name. "" for any other
// path.
QString NameNotUtf8(const QString& path, const QString& what);

QString AbsoluteArgument(const QString& path, const QString& workingDir);

// The usage texts of `sorvane-cli rename` and `sorvane-cli repair`.
QString RenameUsage();
QString RepairUsage();

// Parses the arguments after "rename". Folder arguments (--settings,
// --delete-target, --log-folder) are made absolute against workingDir, so
// that they mean what they meant where the command was typed. False with
// error set for a usage error.
bool ParseRenameOptions(const QStringList& args, const QString& workingDir, RenameOptions& options,
                        QString& error);

// Writes the overridden rows into the settings table.
void ApplyRowOverrides(const QList<RowOverride>& rows, mdlOptions& settings);

}  // namespace sorvane
