#pragma once

#include <QString>
#include <QStringView>

namespace sorvane {

// A name, or a path built from names, as the program shows it or writes it
// as text: in the log, the saved logs, messages, the progress window and
// the command line's output. A Linux name may hold line breaks, tabs and
// terminal escape sequences; shown raw, such a name would split its log
// line, forge lines of its own or drive the terminal. Every UTF-16 unit
// below 32 becomes its control picture (U+2400 plus its code: "␀" ... "␟",
// LF "␊", CR "␍", TAB "␉") and DEL becomes "␡". Only the shown form
// changes: the files keep their real names.

// The shown form. A text without control characters comes back as the very
// same string (shared, not copied) after one scan.
QString ShownName(const QString& name);

// Appends the shown form of name to out, piece by piece: no temporary
// string, so a long log built name by name costs no more than before.
void AppendShown(QString& out, QStringView name);

// Writes the shown form of name at `to`, which has room for its units (the
// shown form has as many); returns the end.
QChar* PutShown(QChar* to, QStringView name);

}  // namespace sorvane
