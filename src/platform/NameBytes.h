#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace sorvane {

// A file name is its bytes, whatever they are. The program holds names as
// UTF-16 text; a byte that is not part of a valid UTF-8 sequence (a name in
// Shift-JIS or EUC-JP from an archive, a disk or a share of another system)
// is carried as one unit U+DC80 + (byte - 0x80), a "byte escape", and turns
// back into that byte on the way to the system. Valid UTF-8 never gives a
// lone surrogate, so bytes -> text -> bytes is the identity for every name.
//
// A byte escape is a unit in U+DC80..U+DCFF that does not follow a high
// surrogate (there it is the low half of a pair). Text the program builds
// may hold other lone surrogates ("?" can cut a pair in two); those name no
// bytes and are refused by whatever hands text to the system.
namespace name_bytes {

constexpr char16_t kFirstEscape = 0xDC80;
constexpr char16_t kLastEscape = 0xDCFF;

constexpr char16_t EscapeOf(unsigned char byte) noexcept {
    return char16_t(kFirstEscape + (byte - 0x80));
}
constexpr unsigned char ByteOf(char16_t escape) noexcept {
    return static_cast<unsigned char>(escape - kFirstEscape + 0x80);
}
constexpr bool IsSurrogate(char16_t unit) noexcept {
    return char16_t(unit - 0xD800) < 0x800;
}
constexpr bool IsHighSurrogate(char16_t unit) noexcept {
    return char16_t(unit - 0xD800) < 0x400;
}
constexpr bool IsLowSurrogate(char16_t unit) noexcept {
    return char16_t(unit - 0xDC00) < 0x400;
}

// Whether unit i of units (of a text that begins at units) is a byte
// escape.
inline bool IsEscapeAt(const char16_t* units, qsizetype i) noexcept {
    return char16_t(units[i] - kFirstEscape) <= kLastEscape - kFirstEscape &&
           !(i > 0 && IsHighSurrogate(units[i - 1]));
}

// Whether text holds a surrogate, paired or not: one quick scan that lets
// nearly every name skip the rest. Without an early way out, so that the
// compiler can test many units at once: names are short.
inline bool HasSurrogate(QStringView text) noexcept {
    const char16_t* const units = text.utf16();
    unsigned any = 0;
    for (qsizetype i = 0; i < text.size(); ++i) any |= unsigned(IsSurrogate(units[i]));
    return any != 0;
}

// The number of units at the start of text that are printable ASCII
// (U+0020..U+007E) other than stop: the part of a name that every writer
// of names (to the system, the journal, the log) may copy as it is. Many
// units are tested at once; nearly every name is nothing else.
qsizetype PlainPrefix(QStringView text, char16_t stop = 0) noexcept;

// The same, its units also written at out as bytes; out has room for at
// least as many bytes as text has units, and those beyond the plain start
// are left for the caller to write.
qsizetype PutPlain(char* out, QStringView text, char16_t stop = 0) noexcept;

// Whether text holds a byte escape.
bool HasEscape(QStringView text) noexcept;

// Decodes bytes by the rule above onto the end of text. Returns whether
// they were plain ASCII, which no later check of the name needs to look
// into for surrogates.
bool AppendDecoded(QByteArrayView bytes, QString& text);

// The number of bytes text has on the system: an escape is one byte, a
// character its UTF-8 length (a lone surrogate that is no escape counts
// three, as it would be shown).
qsizetype NativeSize(QStringView text) noexcept;

// Makes text the form a name read from disk has: escapes side by side that
// spell valid UTF-8 (the escapes of E3 81 82) become that character ("あ"),
// so that two texts of the same bytes are the same text. False, with text
// left as it was, when it holds something no bytes give (a NUL, or a lone
// surrogate that is no escape).
bool MakeCanonical(QString& text);

// Whether every surrogate of a name as built from oldName and the words of
// an operation (a replace pattern, an inserted word), before it is made
// canonical, came from one of them: each byte escape and each pair is one
// of theirs, and there is no other lone surrogate. A "?" that cuts a
// character beyond the Basic Multilingual Plane in two leaves halves: a
// low half that looks like an escape but stands for no byte of the old
// name, or a high half that joins an escape into another character.
// Counted per value, as a new name never uses a piece of the old name
// twice.
bool SurrogatesComeFrom(QStringView newName, QStringView oldName, QStringView words);

}  // namespace name_bytes

}  // namespace sorvane
