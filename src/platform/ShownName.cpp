#include "platform/ShownName.h"

#include <cstring>

#include "platform/NameBytes.h"

namespace sorvane {

namespace {

constexpr char16_t kDelete = 0x7F;
constexpr char16_t kFirstPicture = 0x2400;   // "␀"
constexpr char16_t kDeletePicture = 0x2421;  // "␡"
constexpr qsizetype kByteLength = 4;         // "\x82"
constexpr qsizetype kUnitLength = 6;         // "\uDE00"

// Whether a unit may need another form: a control character or a
// surrogate. One comparison each for nearly every unit.
bool MayChange(char16_t c) {
    return c < 0x20 || c == kDelete || name_bytes::IsSurrogate(c);
}

// Whether unit i is one half of a surrogate pair, which is shown as it is.
bool InPair(const char16_t* units, qsizetype size, qsizetype i) {
    if (name_bytes::IsHighSurrogate(units[i]))
        return i + 1 < size && name_bytes::IsLowSurrogate(units[i + 1]);
    return i > 0 && name_bytes::IsHighSurrogate(units[i - 1]);
}

// The number of units unit i is shown as.
qsizetype LengthAt(const char16_t* units, qsizetype size, qsizetype i) {
    const char16_t c = units[i];
    if (!name_bytes::IsSurrogate(c) || InPair(units, size, i)) return 1;
    return name_bytes::IsEscapeAt(units, i) ? kByteLength : kUnitLength;
}

char16_t* PutHex(char16_t* out, unsigned value, int digits) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) *out++ = kHex[(value >> shift) & 15];
    return out;
}

// Writes the shown form of unit i.
char16_t* PutUnit(char16_t* out, const char16_t* units, qsizetype size, qsizetype i) {
    const char16_t c = units[i];
    if (c < 0x20 || c == kDelete) {
        *out++ = c == kDelete ? kDeletePicture : char16_t(kFirstPicture + c);
    } else if (!name_bytes::IsSurrogate(c) || InPair(units, size, i)) {
        *out++ = c;
    } else if (name_bytes::IsEscapeAt(units, i)) {
        *out++ = u'\\';
        *out++ = u'x';
        out = PutHex(out, name_bytes::ByteOf(c), 2);
    } else {
        *out++ = u'\\';
        *out++ = u'u';
        out = PutHex(out, c, 4);
    }
    return out;
}

// Whether any unit may need another form: one pass without a way out, which
// the compiler can make over many units at once.
bool AnyMayChange(QStringView text) {
    const char16_t* const units = text.utf16();
    unsigned any = 0;
    for (qsizetype i = 0; i < text.size(); ++i) any |= unsigned(MayChange(units[i]));
    return any != 0;
}

qsizetype FirstToChange(QStringView text) {
    const char16_t* const units = text.utf16();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i)
        if (MayChange(units[i]) && (!name_bytes::IsSurrogate(units[i]) || !InPair(units, size, i)))
            return i;
    return -1;
}

}  // namespace

QString WithBytesShown(QStringView name) {
    const char16_t* const units = name.utf16();
    QString shown;
    shown.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (!name_bytes::IsEscapeAt(units, i)) {
            shown += QChar(units[i]);
            continue;
        }
        char16_t escape[kByteLength] = {u'\\', u'x'};
        PutHex(escape + 2, name_bytes::ByteOf(units[i]), 2);
        shown += QStringView(escape, kByteLength);
    }
    return shown;
}

QString ShownName(const QString& name) {
    if (!AnyMayChange(name) || FirstToChange(name) < 0) return name;
    return ShownName(QStringView(name));
}

QString ShownName(QStringView name) {
    QString shown(ShownLength(name), Qt::Uninitialized);
    PutShown(shown.data(), name);
    return shown;
}

qsizetype ShownLength(QStringView name) {
    const char16_t* const units = name.utf16();
    const qsizetype size = name.size();
    qsizetype length = size;
    if (!name_bytes::HasSurrogate(name)) return length;
    for (qsizetype i = 0; i < size; ++i)
        if (name_bytes::IsSurrogate(units[i])) length += LengthAt(units, size, i) - 1;
    return length;
}

// One copy, each unit shown on the way: the detailed log appends three
// names per target.
void AppendShown(QString& out, QStringView name) {
    const qsizetype at = out.size();
    out.resize(at + ShownLength(name));
    PutShown(out.data() + at, name);
}

// Printable ASCII is copied as it is; the rest in one pass, which the
// compiler can make over many units at once.
QChar* PutShownSameLength(QChar* to, QStringView name) {
    char16_t* const out = reinterpret_cast<char16_t*>(to);
    const char16_t* const units = name.utf16();
    const qsizetype size = name.size();
    const qsizetype plain = name_bytes::PlainPrefix(name);
    std::memcpy(out, units, size_t(plain) * sizeof(char16_t));
    unsigned surrogates = 0;
    for (qsizetype i = plain; i < size; ++i) {
        const char16_t c = units[i];
        const bool control = c < 0x20 || c == kDelete;
        out[i] = control ? (c == kDelete ? kDeletePicture : char16_t(kFirstPicture + c)) : c;
        surrogates |= unsigned(name_bytes::IsSurrogate(c));
    }
    return surrogates == 0 ? reinterpret_cast<QChar*>(out + size) : nullptr;
}

// A name with a surrogate is written again, unit by unit.
QChar* PutShown(QChar* to, QStringView name) {
    if (QChar* end = PutShownSameLength(to, name)) return end;
    char16_t* out = reinterpret_cast<char16_t*>(to);
    const char16_t* const units = name.utf16();
    for (qsizetype i = 0; i < name.size(); ++i) out = PutUnit(out, units, name.size(), i);
    return reinterpret_cast<QChar*>(out);
}

}  // namespace sorvane
