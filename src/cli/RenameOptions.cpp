#include "cli/RenameOptions.h"

#include <QDir>

#include "platform/NameBytes.h"
#include "platform/ShownName.h"

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

struct Switch {
    const char16_t* name;
    std::variant<SystemRow, FilterRow, MethodRow> row;
    qint32 value;
};

constexpr Switch kSwitches[] = {
    {u"--part", MethodRow::WholeName, 0},
    {u"--whole", MethodRow::WholeName, 1},
    {u"--text", MethodRow::TextMode, 1},
    {u"--exact", MethodRow::TextMode, 0},
    {u"--recursive", MethodRow::Recursive, 1},
    {u"--no-recursive", MethodRow::Recursive, 0},
    {u"--files", MethodRow::Folders, 0},
    {u"--folders", MethodRow::Folders, 1},
    {u"--delete-existing", MethodRow::DeleteExisting, 1},
    {u"--sort", MethodRow::FolderSort, 1},
    {u"--no-sort", MethodRow::FolderSort, 0},
    {u"--important", FilterRow::ImportantOn, 1},
    {u"--no-important", FilterRow::ImportantOn, 0},
    {u"--detail-log", SystemRow::DetailLog, 1},
    {u"--no-detail-log", SystemRow::DetailLog, 0},
    {u"--auto-log-save", SystemRow::AutoLogSave, 1},
    {u"--no-auto-log-save", SystemRow::AutoLogSave, 0},
    {u"--journal", SystemRow::Journal, 1},
    {u"--no-journal", SystemRow::Journal, 0},
};

// Options that take a value.
const QStringList kValued = {
    u"--search"_s,       u"--replace"_s,          u"--operation"_s,
    u"--delete-mode"_s,  u"--delete-target"_s,    u"--max"_s,
    u"--include"_s,      u"--exclude"_s,          u"--log-folder"_s,
    u"--settings"_s,     u"--answer-collision"_s, u"--answer-max"_s,
    u"--answer-comma"_s, u"--answer-expansion"_s, u"--answer-stop"_s,
    u"--encoding"_s,
};

// What a repair, which takes no words, does not take.
const QStringList kNotForRepair = {
    u"--search"_s, u"--replace"_s, u"--operation"_s, u"--part"_s,    u"--whole"_s,
    u"--text"_s,   u"--exact"_s,   u"--files"_s,     u"--folders"_s,
};

RowOverride Number(std::variant<SystemRow, FilterRow, MethodRow> row, qint32 value) {
    RowOverride r;
    r.row = row;
    r.number = value;
    return r;
}

RowOverride Text(std::variant<SystemRow, FilterRow, MethodRow> row, const QString& value) {
    RowOverride r;
    r.row = row;
    r.text = value;
    return r;
}

// Index of value in choices, or -1.
int ChoiceIndex(const QString& value, const QStringList& choices) {
    return int(choices.indexOf(value));
}

}  // namespace

QString NameNotUtf8(const QString& path, const QString& what) {
    if (!name_bytes::HasEscape(path)) return {};
    return u"%1 '%2': its name holds bytes that are not UTF-8; give it by another name"_s.arg(
        what, ShownName(path));
}

QString AbsoluteArgument(const QString& path, const QString& workingDir) {
    if (path.isEmpty()) return path;
    return QDir::cleanPath(QDir(workingDir).absoluteFilePath(path));
}

QString RenameUsage() {
    return uR"(usage: sorvane-cli rename [options] [--] FOLDER

Renames the files (or folders) under FOLDER as the program's start button
does, with the settings of sorvane-cli.ini (beside the executable, or in
~/.config/sorvane for an installed copy) or of --settings FILE; the options
override them for this run only and are never saved.

  --search S, --replace R        the search word and the replace/insert word
  --operation replace|front|back replace, insert at the front or at the back
  --part | --whole               match part of the name or the whole name
  --text | --exact               A-Z without regard to case, or exactly
  --recursive | --no-recursive   descend into subfolders
  --files | --folders            rename files or folders
  --delete-existing              an existing file a new name collides with may go
  --delete-mode trash|delete|move, --delete-target DIR
  --quick                        simplified error handling (no collision checks)
  --sort | --no-sort             sort the targets of each folder
  --max N                        the most targets one run collects
  --include PATTERNS, --exclude PATTERNS   ";"-separated name patterns
  --important | --no-important   leave out the important files
  --detail-log | --no-detail-log, --auto-log-save | --no-auto-log-save
  --journal | --no-journal       keep the run's plan on disk for sorvane-cli restore
  --log-folder DIR               where saved logs go
  --settings FILE                read the settings from FILE
  --dry-run                      list the targets with their verdicts; change nothing
  --json                         print one JSON object instead of the log or the
                                 list (keys: man sorvane-cli)
  --answer-collision yes|no|all|keep|cancel   (default no)
  --answer-max yes|no (default no), --answer-comma yes|no (default no)
  --answer-expansion cancel|keep|change (default cancel)
  --answer-stop yes|no           the answer to "作業を中止しますか？" after Ctrl+C (default yes)

Questions are asked at the terminal when standard input is one, unless
their --answer option is given. Exit status: 0 when the run ended with
"終了", 1 when a check refused it or it ended otherwise, 2 for a usage error.
)"_s;
}

QString RepairUsage() {
    return uR"(usage: sorvane-cli repair --encoding cp932|euc-jp|unzip-cp932 | --nfc [options] [--] FOLDER

Repairs the names of the files and folders under FOLDER (名前の修復), with
the checks, verdicts, questions, journal and log of a rename:
  --encoding cp932       names that are not UTF-8, read as Shift-JIS (Windows' code page 932)
  --encoding euc-jp      names that are not UTF-8, read as EUC-JP
  --encoding unzip-cp932 names that unzip read as code page 437 from a zip of Shift-JIS names
  --nfc                  combining marks composed (macOS's split dakuten: か + ゛ -> が)
A name that needs no repair is no target; one the code page cannot read is
skipped with its own verdict (11, unreadable). A folder is renamed after
everything inside it.

The options of sorvane-cli rename but the words, the operation and the
matching (--search, --replace, --operation, --part, --whole, --text, --exact,
--files, --folders): --recursive, --include, --exclude, --max, --settings,
--dry-run, --json, --journal, --delete-existing, --answer-... (sorvane-cli
rename --help). Exit status as for rename.
)"_s;
}

bool ParseRenameOptions(const QStringList& args, const QString& workingDir, RenameOptions& o,
                        QString& error) {
    QStringList operands;
    bool quick = false;
    bool deleteExisting = false;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (optionsEnded || !a.startsWith(u'-') || a == u"-") {
            operands.append(a);
            continue;
        }
        if (a == u"--") {
            optionsEnded = true;
            continue;
        }
        if (a == u"--help" || a == u"-h") {
            o.help = true;
            continue;
        }
        if (a == u"--dry-run") {
            o.dryRun = true;
            continue;
        }
        if (a == u"--json") {
            o.json = true;
            continue;
        }
        if (o.repairCommand && a == u"--nfc") {
            o.repair = NameRepair::Nfc;
            continue;
        }
        if (o.repairCommand && kNotForRepair.contains(a.left(a.indexOf(u'=')))) {
            error = u"option %1 is not one of repair's: a repair takes no words"_s.arg(a);
            return false;
        }
        if (a == u"--quick") {
            // The check box can be used only where the settings allow it;
            // asking for it on the command line allows it.
            quick = true;
            o.rows.append(Number(SystemRow::QuickAllowed, 1));
            o.rows.append(Number(MethodRow::QuickList, 1));
            continue;
        }
        bool matched = false;
        for (const Switch& s : kSwitches) {
            if (a == QStringView(s.name)) {
                o.rows.append(Number(s.row, s.value));
                if (s.row == decltype(s.row)(MethodRow::DeleteExisting)) deleteExisting = true;
                matched = true;
                break;
            }
        }
        if (matched) continue;

        // "--name value" or "--name=value".
        QString name = a;
        QString value;
        const qsizetype eq = a.indexOf(u'=');
        if (eq > 0) {
            name = a.left(eq);
            value = a.mid(eq + 1);
        }
        if (!kValued.contains(name) || (name == u"--encoding" && !o.repairCommand)) {
            error =
                u"unknown option '%1' (put \"--\" before a folder that begins with \"-\")"_s.arg(a);
            return false;
        }
        if (eq <= 0) {
            if (i + 1 >= args.size()) {
                error = u"option %1 needs a value"_s.arg(name);
                return false;
            }
            value = args[++i];
        }
        const auto bad = [&](const QString& allowed) {
            error = u"option %1: '%2' is not one of %3"_s.arg(name, value, allowed);
            return false;
        };
        if (name == u"--search") {
            o.rows.append(Text(MethodRow::SearchWord, value));
        } else if (name == u"--replace") {
            o.replaceGiven = true;
            o.rows.append(Text(MethodRow::ReplaceWord, value));
        } else if (name == u"--operation") {
            const int k = ChoiceIndex(value, {u"replace"_s, u"front"_s, u"back"_s});
            if (k < 0) return bad(u"replace|front|back"_s);
            o.rows.append(Number(MethodRow::Operation, k));
        } else if (name == u"--delete-mode") {
            const int k = ChoiceIndex(value, {u"trash"_s, u"delete"_s, u"move"_s});
            if (k < 0) return bad(u"trash|delete|move"_s);
            o.rows.append(Number(MethodRow::DelMode, k));
        } else if (name == u"--delete-target") {
            o.rows.append(Text(MethodRow::DelTarget, AbsoluteArgument(value, workingDir)));
        } else if (name == u"--log-folder") {
            // Logs are written by Qt, which cannot take such a name.
            error = NameNotUtf8(AbsoluteArgument(value, workingDir), u"log folder"_s);
            if (!error.isEmpty()) return false;
            o.rows.append(Text(SystemRow::LogPath, AbsoluteArgument(value, workingDir)));
        } else if (name == u"--encoding") {
            static const NameRepair kRepairs[] = {NameRepair::Cp932, NameRepair::EucJp,
                                                  NameRepair::UnzipCp932};
            const int k = ChoiceIndex(value, {u"cp932"_s, u"euc-jp"_s, u"unzip-cp932"_s});
            if (k < 0) return bad(u"cp932|euc-jp|unzip-cp932"_s);
            o.repair = kRepairs[k];
        } else if (name == u"--max") {
            bool ok = false;
            const qint32 n = value.toInt(&ok);
            if (!ok || n < 1 || value.trimmed() != value) {
                error = u"option --max: '%1' is not a whole number of at least 1"_s.arg(value);
                return false;
            }
            o.rows.append(Number(SystemRow::MaxTargets, n));
        } else if (name == u"--include") {
            o.rows.append(Number(FilterRow::IncludeOn, 1));
            o.rows.append(Text(FilterRow::Include, value));
        } else if (name == u"--exclude") {
            o.rows.append(Number(FilterRow::ExcludeOn, 1));
            o.rows.append(Text(FilterRow::Exclude, value));
        } else if (name == u"--settings") {
            if (value.isEmpty()) {
                error = u"option --settings needs a file"_s;
                return false;
            }
            o.settingsFile = AbsoluteArgument(value, workingDir);
        } else if (name == u"--answer-collision") {
            static const OverwriteAnswer kAnswers[] = {
                OverwriteAnswer::Yes, OverwriteAnswer::No, OverwriteAnswer::DeleteAll,
                OverwriteAnswer::KeepAll, OverwriteAnswer::Cancel};
            const int k = ChoiceIndex(value, {u"yes"_s, u"no"_s, u"all"_s, u"keep"_s, u"cancel"_s});
            if (k < 0) return bad(u"yes|no|all|keep|cancel"_s);
            o.answers.collision = kAnswers[k];
        } else if (name == u"--answer-expansion") {
            static const ExpansionChoice kChoices[] = {
                ExpansionChoice::Cancel, ExpansionChoice::KeepFirst, ExpansionChoice::TakeSecond};
            const int k = ChoiceIndex(value, {u"cancel"_s, u"keep"_s, u"change"_s});
            if (k < 0) return bad(u"cancel|keep|change"_s);
            o.answers.expansion = kChoices[k];
        } else {
            const int k = ChoiceIndex(value, {u"yes"_s, u"no"_s});
            if (k < 0) return bad(u"yes|no"_s);
            const bool yes = k == 0;
            if (name == u"--answer-max")
                o.answers.max = yes;
            else if (name == u"--answer-comma")
                o.answers.comma = yes;
            else
                o.answers.stop = yes;
        }
    }
    if (o.help) return true;
    if (o.repairCommand && o.repair == NameRepair::None) {
        error = u"say which repair: --encoding cp932|euc-jp|unzip-cp932, or --nfc"_s;
        return false;
    }
    if (operands.isEmpty()) {
        error = u"FOLDER is required"_s;
        return false;
    }
    if (operands.size() > 1) {
        error = u"only one FOLDER may be given (got '%1' and '%2')"_s.arg(operands[0], operands[1]);
        return false;
    }
    // The window disables "既存ファイル削除" while the simplified handling is
    // on: asking for both is a contradiction, not a choice to make quietly.
    if (quick && deleteExisting) {
        error = u"--quick and --delete-existing cannot be used together"_s;
        return false;
    }
    o.folder = operands.first();
    return true;
}

void ApplyRowOverrides(const QList<RowOverride>& rows, mdlOptions& settings) {
    for (const RowOverride& r : rows) {
        std::visit(
            [&](auto row) {
                if (r.number) settings.SetNum(row, *r.number);
                if (r.text) settings.SetText(row, *r.text);
            },
            r.row);
    }
}

}  // namespace sorvane
