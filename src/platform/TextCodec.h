#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace sorvane {

// The encoding of the program's text files (the settings file, saved logs).
//
// A file is written in Shift-JIS as Windows knows it (code page 932) when
// every character of the text comes back unchanged from that encoding;
// otherwise the whole file is written in UTF-8 behind a byte-order mark.
// Nothing is ever replaced by "?": for example U+301C "〜" has no code in
// code page 932 (its 0x8160 is U+FF5E "～"), so a text holding it goes to
// UTF-8.
//
// lossless (optional) becomes false only when the text holds an unpaired
// UTF-16 surrogate, which no encoding can carry; it is written as U+FFFD.
QByteArray EncodeTextFile(const QString& text, bool* lossless = nullptr);

// Reads what EncodeTextFile writes: a file that begins with the UTF-8
// byte-order mark is UTF-8 (the mark is dropped), any other file code page
// 932. A file that is not valid code page 932 but is valid UTF-8 (a file
// saved by a Linux editor without the mark) is read as UTF-8.
//
// clean (optional) becomes false when bytes were invalid in the encoding
// taken and so could not be read exactly.
QString DecodeTextFile(const QByteArray& bytes, bool* clean = nullptr);

// Code pages of ICU by name ("windows-31j" is code page 932, "EUC-JP",
// "IBM437"), strictly. Decoding fails on a byte sequence the code page does
// not define, never putting in a replacement character; encoding fails on
// a character that does not come back the same from the code page.
bool DecodeStrictly(const char* codePage, QByteArrayView bytes, QString* text);
bool EncodeStrictly(const char* codePage, QStringView text, QByteArray* bytes);
// A name's bytes on disk read strictly in the code page; false also for a
// name that names no bytes.
bool ReadNameBytes(const char* codePage, QStringView name, QString* text);

// The reading of a name or path whose bytes are not UTF-8 as code page 932,
// where they are Shift-JIS from Windows: each component that holds byte
// escapes (NameBytes.h) read from its bytes, the others as they are. ""
// when no component holds one, or when one of them is not clean code page
// 932 (an invalid or unmapped byte, or a control character).
QString Cp932Reading(QStringView path);

// Whether code page 932 is available (through ICU); without it every file is
// written as UTF-8 with the mark, which the reader still reads.
bool HasShiftJisCodec();

}  // namespace sorvane
