// Fuzzes the program's way of holding a file name, which may be any bytes
// but "/" and NUL. Two names are cut from the input (at its first NUL);
// for each it checks what the conversions promise:
//  - bytes -> text -> bytes is the identity, and the text has as many
//    bytes on disk as the name (NativeSize);
//  - the text is the one form those bytes have: making it canonical
//    changes nothing;
//  - a name that is valid UTF-8 reads as Qt reads it (a byte-order mark at
//    its start kept);
//  - the shown form loses no byte: it holds no replacement character or
//    "?" that the name does not hold, no lone surrogate, and its length is
//    ShownLength; only byte escapes are shown by WithBytesShown.
// And for the two: where neither holds a backslash or a control character
// (whose shown forms a real name may also spell), two different names are
// never shown alike.

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/FileSystem.h"
#include "platform/NameBytes.h"
#include "platform/ShownName.h"

using sorvane::FileSystem;
using sorvane::ShownLength;
using sorvane::ShownName;
using sorvane::WithBytesShown;
namespace name_bytes = sorvane::name_bytes;

namespace {

[[noreturn]] void fail(const char* what, const QByteArray& name) {
    std::fprintf(stderr, "names_fuzz: %s\n  name (hex) %s\n", what, name.toHex(' ').constData());
    std::abort();
}

// Valid UTF-8 as Qt reads it, a byte-order mark at the start kept.
QString Utf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

qsizetype CountOf(QStringView text, QChar c) {
    return text.count(c);
}

bool HasLoneSurrogate(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (name_bytes::IsHighSurrogate(u) && i + 1 < text.size() &&
            name_bytes::IsLowSurrogate(text[i + 1].unicode())) {
            ++i;
        } else if (name_bytes::IsSurrogate(u)) {
            return true;
        }
    }
    return false;
}

// The checks on one name; returns its shown form.
QString CheckName(const QByteArray& name) {
    const QString text = FileSystem::Decode(name);
    QByteArray back;
    if (!FileSystem::EncodeExactly(text, &back) || back != name)
        fail("bytes do not come back", name);
    if (FileSystem::Encode(text) != name) fail("Encode differs", name);
    if (name_bytes::NativeSize(text) != name.size()) fail("NativeSize differs", name);
    QString canonical = text;
    if (!name_bytes::MakeCanonical(canonical) || canonical != text) fail("not canonical", name);
    if (name.isValidUtf8() && text != Utf8(name)) fail("valid UTF-8 read otherwise", name);
    if (name_bytes::HasEscape(text) == name.isValidUtf8())
        fail("escapes where UTF-8 is valid", name);

    const QString shown = ShownName(text);
    if (shown.size() != ShownLength(text)) fail("ShownLength differs", name);
    if (HasLoneSurrogate(shown)) fail("shown form holds a lone surrogate", name);
    if (CountOf(shown, QChar::ReplacementCharacter) != CountOf(text, QChar::ReplacementCharacter))
        fail("a byte shown as U+FFFD", name);
    if (CountOf(shown, u'?') != CountOf(text, u'?')) fail("a byte shown as ?", name);
    const QString bytesShown = WithBytesShown(text);
    if (HasLoneSurrogate(bytesShown)) fail("WithBytesShown left a lone surrogate", name);
    if (!name_bytes::HasEscape(text) && bytesShown != text) fail("WithBytesShown changed", name);
    return shown;
}

// A name of the input's bytes: "/" and NUL, which no name holds, taken
// out; with plain set, also the backslash and control characters.
QByteArray NameOf(const std::uint8_t* data, size_t size, bool plain) {
    QByteArray name;
    for (size_t i = 0; i < size; ++i) {
        const auto c = static_cast<char>(data[i]);
        if (c == '/' || c == '\0') continue;
        if (plain && (c == '\\' || data[i] < 0x20 || data[i] == 0x7F)) continue;
        name.append(c);
    }
    return name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    size_t cut = 0;
    while (cut < size && data[cut] != 0) ++cut;
    const std::uint8_t* second = data + (cut < size ? cut + 1 : size);
    const size_t secondSize = size - size_t(second - data);
    const QByteArray whole = NameOf(data, size, false);
    CheckName(whole);
    // A byte-order mark begins a name as any other character does.
    CheckName("\xEF\xBB\xBF" + whole);
    const QByteArray a = NameOf(data, cut, true);
    const QByteArray b = NameOf(second, secondSize, true);
    const QString shownA = CheckName(a);
    const QString shownB = CheckName(b);
    if (a != b && shownA == shownB) fail("two names shown alike", a + " | " + b);
    return 0;
}
