#pragma once

#include <QString>
#include <QStringView>
#include <QTextStream>

namespace sorvane {

// Writes one JSON text to a stream as it goes, so that a list of a million
// targets is never held twice in memory. The caller gives the structure
// (Begin/End, Key before each member of an object); the writer places the
// commas and escapes the strings.
//
// Every string comes out as valid JSON in valid UTF-8, whatever it holds:
// the characters JSON requires escaped, every other control character
// (C0, DEL, C1) and U+2028/U+2029 as \uXXXX escapes, and a lone surrogate
// as the \uXXXX escape of its code unit, so that it is neither lost nor
// turned into bytes that are not UTF-8.
// The exact bytes of a name in lower-case hex, two digits a byte, where it
// holds a byte that is not UTF-8; "" for any other name, and for one that
// names no bytes.
QString NameBytesHex(QStringView name);

class JsonWriter {
public:
    explicit JsonWriter(QTextStream& out) : mOut(out) {}
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;
    ~JsonWriter() { Flush(); }

    void BeginObject() { Open(u'{'); }
    void EndObject() { Close(u'}'); }
    void BeginArray() { Open(u'['); }
    void EndArray() { Close(u']'); }

    void Key(QStringView key);
    void String(QStringView text);
    void Number(qint64 n);
    void Bool(bool b);
    // A member of an object: its key, then its value.
    void Member(QStringView key, QStringView text) {
        Key(key);
        String(text);
    }
    void Member(QStringView key, qint64 n) {
        Key(key);
        Number(n);
    }
    void Member(QStringView key, qint32 n) {
        Key(key);
        Number(n);
    }
    void Member(QStringView key, bool b) {
        Key(key);
        Bool(b);
    }
    // A name or path: key with the name, each byte that is not UTF-8 shown
    // as "\x82" (so that it stays valid UTF-8), and only for such a name
    // key + "Bytes" with its exact bytes in hex (NameBytesHex).
    void NameMember(QStringView key, QStringView name);

    // Ends the text with a line feed and hands what is buffered to the stream.
    void Finish();
    void Flush();

private:
    void BeforeValue();
    void Open(QChar bracket);
    void Close(QChar bracket);
    void Quoted(QStringView text);

    QTextStream& mOut;
    QString mBuf;
    bool mFirst = true;      // no member or element yet in the open container
    bool mAfterKey = false;  // a key waits for its value
};

}  // namespace sorvane
