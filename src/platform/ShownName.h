#pragma once

#include <QString>
#include <QStringView>

namespace sorvane {

// A name, or a path built from names, as the program shows it or writes it
// as text: in the lists, the log, the saved logs, messages, the progress
// window and the command line's output. A Linux name may hold any byte but
// "/" and NUL:
// - line breaks, tabs and terminal escape sequences. Shown raw, such a name
//   would split its log line, forge lines of its own or drive the
//   terminal. Every UTF-16 unit below 32 becomes its control picture
//   (U+2400 plus its code: "␀" ... "␟", LF "␊", CR "␍", TAB "␉") and DEL
//   becomes "␡".
// - bytes that are not UTF-8 (byte escapes, NameBytes.h). Each becomes
//   "\x" and its two hex digits ("\x82"), never "?" or U+FFFD, so that two
//   names that differ in such a byte never look alike. A lone surrogate
//   that is no byte escape (only a name the program built can hold one)
//   becomes "\u" and its four hex digits.
// Only the shown form changes: the files keep their real names. The shown
// form is for people; a real name may hold the text "\x82" too.

// The shown form. A text with nothing to show otherwise comes back as the
// very same string (shared, not copied) after one scan.
QString ShownName(const QString& name);
QString ShownName(QStringView name);

// The number of units of the shown form.
qsizetype ShownLength(QStringView name);

// Appends the shown form of name to out, piece by piece: no temporary
// string, so a long log built name by name costs no more than before.
void AppendShown(QString& out, QStringView name);

// Writes the shown form of name at `to`, which has room for
// ShownLength(name) units; returns the end.
QChar* PutShown(QChar* to, QStringView name);

// The same for nearly every name: where the shown form has as many units
// as the name (it holds no surrogate), writes it at `to`, which has room
// for name.size() units, and returns the end; otherwise returns nullptr,
// what it wrote meaning nothing. One pass, without a length asked first.
QChar* PutShownSameLength(QChar* to, QStringView name);

// The name with only its byte escapes shown ("\x82"), for an output that
// shows control characters and any other lone surrogate in a way of its own
// (JSON's escapes).
QString WithBytesShown(QStringView name);

}  // namespace sorvane
