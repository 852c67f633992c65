#include "platform/TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <utility>

#include "platform/FileSystem.h"
#include "platform/NameBytes.h"

namespace sorvane {

namespace {

// ICU's name for Microsoft's code page 932 (NEC and IBM extensions, "～" as
// U+FF5E, "－" as U+FF0D), which is what Windows calls Shift-JIS.
constexpr const char* kCp932Name = "windows-31j";

const QByteArray kUtf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

// Stateless: a lead byte or high surrogate at the end is an error rather
// than held back silently for input that never comes.
constexpr auto kEncodeFlags = QStringConverter::Flag::Stateless;
constexpr auto kDecodeFlags =
    QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;

// The text in code page 932, or nothing when some character would not come
// back identical (unmapped, a one-way fallback mapping, an unpaired surrogate).
bool EncodeCp932(const QString& text, QByteArray* bytes) {
    QStringEncoder encoder(kCp932Name, kEncodeFlags);
    if (!encoder.isValid()) return false;
    QByteArray encoded = encoder.encode(text);
    if (encoder.hasError()) return false;
    QStringDecoder decoder(kCp932Name, kDecodeFlags);
    const QString back = decoder.decode(encoded);
    if (decoder.hasError() || back != text) return false;
    *bytes = std::move(encoded);
    return true;
}

QString DecodeUtf8(const QByteArray& bytes, bool* ok) {
    QStringDecoder decoder(QStringConverter::Utf8, kDecodeFlags);
    QString text = decoder.decode(bytes);
    *ok = !decoder.hasError();
    return text;
}

}  // namespace

bool DecodeStrictly(const char* codePage, QByteArrayView bytes, QString* text) {
    QStringDecoder decoder(codePage, QStringConverter::Flag::Stateless);
    if (!decoder.isValid()) return false;
    QString decoded = decoder.decode(bytes);
    if (decoder.hasError()) return false;
    *text = std::move(decoded);
    return true;
}

// ICU puts a substitute in for an unmapped character without saying so: the
// text must come back from its bytes.
bool EncodeStrictly(const char* codePage, QStringView text, QByteArray* bytes) {
    QStringEncoder encoder(codePage, QStringConverter::Flag::Stateless);
    if (!encoder.isValid()) return false;
    QByteArray encoded = encoder.encode(text);
    QString back;
    if (encoder.hasError() || !DecodeStrictly(codePage, encoded, &back) || back != text)
        return false;
    *bytes = std::move(encoded);
    return true;
}

bool ReadNameBytes(const char* codePage, QStringView name, QString* text) {
    QByteArray bytes;
    return FileSystem::EncodeExactly(name, &bytes) && DecodeStrictly(codePage, bytes, text);
}

QString Cp932Reading(QStringView path) {
    QString reading;
    bool any = false;
    bool first = true;
    for (const QStringView part : path.split(u'/')) {
        if (!std::exchange(first, false)) reading += u'/';
        if (!name_bytes::HasEscape(part)) {
            reading += part;
            continue;
        }
        QString text;
        if (!ReadNameBytes(kCp932Name, part, &text)) return {};
        for (const QChar c : text)
            if (c.unicode() < 0x20 || c.unicode() == 0x7F) return {};
        reading += text;
        any = true;
    }
    return any ? reading : QString();
}

bool HasShiftJisCodec() {
    return QStringEncoder(kCp932Name).isValid();
}

QByteArray EncodeTextFile(const QString& text, bool* lossless) {
    if (lossless) *lossless = true;
    QByteArray bytes;
    if (EncodeCp932(text, &bytes)) return bytes;

    QStringEncoder encoder(QStringConverter::Utf8, kEncodeFlags);
    bytes = kUtf8Bom;
    bytes += encoder.encode(text);
    if (lossless && encoder.hasError()) *lossless = false;
    return bytes;
}

QString DecodeTextFile(const QByteArray& bytes, bool* clean) {
    bool ok = true;
    QString text;
    if (bytes.startsWith(kUtf8Bom)) {
        text = DecodeUtf8(bytes.sliced(kUtf8Bom.size()), &ok);
    } else {
        QStringDecoder cp932(kCp932Name, kDecodeFlags);
        if (cp932.isValid()) {
            text = cp932.decode(bytes);
            ok = !cp932.hasError();
        } else {
            ok = false;
        }
        if (!ok) {
            bool utf8Ok = false;
            QString utf8 = DecodeUtf8(bytes, &utf8Ok);
            if (utf8Ok || !cp932.isValid()) {
                text = std::move(utf8);
                ok = utf8Ok;
            }
        }
    }
    if (clean) *clean = ok;
    return text;
}

}  // namespace sorvane
