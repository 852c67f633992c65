#include "cli/JsonWriter.h"

#include "platform/FileSystem.h"
#include "platform/NameBytes.h"
#include "platform/ShownName.h"

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

// Beyond this the buffer goes to the stream.
constexpr qsizetype kFlushSize = 64 * 1024;

void AppendEscape(QString& buf, char16_t unit) {
    static const char16_t kHex[] = u"0123456789abcdef";
    buf += u"\\u";
    for (int shift = 12; shift >= 0; shift -= 4) buf += QChar(kHex[(unit >> shift) & 0xF]);
}

}  // namespace

QString NameBytesHex(QStringView name) {
    QByteArray bytes;
    if (!name_bytes::HasEscape(name) || !FileSystem::EncodeExactly(name, &bytes)) return {};
    return QString::fromLatin1(bytes.toHex());
}

void JsonWriter::NameMember(QStringView key, QStringView name) {
    if (!name_bytes::HasEscape(name)) {
        Member(key, name);
        return;
    }
    Member(key, WithBytesShown(name));
    // A name that names no bytes (it holds half of a pair) has none to give.
    if (const QString hex = NameBytesHex(name); !hex.isEmpty())
        Member(QString(key.toString() + u"Bytes"_s), hex);
}

void JsonWriter::BeforeValue() {
    if (mAfterKey) {
        mAfterKey = false;
        return;
    }
    if (!mFirst) mBuf += u',';
    mFirst = false;
}

void JsonWriter::Open(QChar bracket) {
    BeforeValue();
    mBuf += bracket;
    mFirst = true;
}

void JsonWriter::Close(QChar bracket) {
    mBuf += bracket;
    mFirst = false;
    if (mBuf.size() >= kFlushSize) Flush();
}

void JsonWriter::Key(QStringView key) {
    if (!mFirst) mBuf += u',';
    mFirst = false;
    Quoted(key);
    mBuf += u':';
    mAfterKey = true;
}

void JsonWriter::String(QStringView text) {
    BeforeValue();
    Quoted(text);
}

void JsonWriter::Number(qint64 n) {
    BeforeValue();
    mBuf += QString::number(n);
}

void JsonWriter::Bool(bool b) {
    BeforeValue();
    mBuf += b ? u"true" : u"false";
}

void JsonWriter::Quoted(QStringView text) {
    mBuf += u'"';
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < size &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            mBuf += text[i];
            mBuf += text[++i];
            continue;
        }
        switch (c) {
            case u'"':
                mBuf += u"\\\"";
                continue;
            case u'\\':
                mBuf += u"\\\\";
                continue;
            case u'\n':
                mBuf += u"\\n";
                continue;
            case u'\r':
                mBuf += u"\\r";
                continue;
            case u'\t':
                mBuf += u"\\t";
                continue;
            default:
                break;
        }
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029 ||
            QChar::isSurrogate(c)) {
            AppendEscape(mBuf, c);
        } else {
            mBuf += text[i];
        }
    }
    mBuf += u'"';
}

void JsonWriter::Finish() {
    mBuf += u'\n';
    Flush();
}

void JsonWriter::Flush() {
    if (mBuf.isEmpty()) return;
    mOut << mBuf;
    mBuf.clear();
}

}  // namespace sorvane
