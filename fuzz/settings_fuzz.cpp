// Fuzzes the settings file reader (mdlOptions::LoadOptionFile) with any
// bytes on disk. Besides crashes and sanitizer reports it checks that
//  - a file that exists is read, and no message is shown;
//  - after a load every number keeps within its row's bounds;
//  - the table loaded, saved and loaded again into fresh settings, comes
//    back value for value.

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/TextCodec.h"
#include "settings/mdlOptions.h"

using sorvane::mdlOptions;
using sorvane::MessageBoxPort;
using sorvane::MessageRequest;
using sorvane::MsgAnswer;
using sorvane::OptionBound;
using sorvane::OptionRow;
using sorvane::OptionTable;

namespace {

[[noreturn]] void fail(const char* what, const OptionTable* table = nullptr,
                       const OptionRow* row = nullptr, const OptionRow* back = nullptr) {
    std::fprintf(stderr, "settings_fuzz: %s\n", what);
    if (table && row)
        std::fprintf(stderr, "  [%s] %s: number %d text '%s'\n", table->Name.toUtf8().constData(),
                     row->Key.toUtf8().constData(), row->Number, row->Text.toUtf8().constData());
    if (back)
        std::fprintf(stderr, "  read back: number %d text '%s'\n", back->Number,
                     back->Text.toUtf8().constData());
    std::abort();
}

// A readable settings file never needs a message.
class NoMessages : public MessageBoxPort {
public:
    MsgAnswer Show(const MessageRequest& request) override {
        std::fprintf(stderr, "settings_fuzz: message '%s'\n", request.text.toUtf8().constData());
        fail("a message was shown");
    }
};

// In the temporary folder, which scripts/fuzz.sh puts in memory: every
// save is flushed to disk.
const QString& Folder() {
    static const QTemporaryDir dir;
    if (!dir.isValid()) fail("no temporary folder");
    static const QString path = dir.path();
    return path;
}

// The pieces a settings file is made of: the sections and keys of the
// program's own tables, and the characters and numbers that the reader
// looks at or that decide the encoding.
std::vector<QString> Pieces() {
    NoMessages box;
    mdlOptions options(box);
    options.InitOptions(Folder(), QStringLiteral("sorvane"));
    std::vector<QString> pieces;
    for (const OptionTable* t :
         {&options.SystemOptions, &options.FilterOptions, &options.MethodOptions}) {
        pieces.push_back(QStringLiteral("\r\n[") + t->Name + QStringLiteral("]\r\n"));
        pieces.push_back(u'[' + t->Name + QStringLiteral("|x]"));
        for (const OptionRow& row : t->Rows) pieces.push_back(u'\n' + row.Key + u'=');
    }
    for (const char16_t* s :
         {u"=",  u"[",  u"]",          u"|",           u"'",          u" ",   u"\t",   u"\r\n",
          u"\n", u"\r", u"-",          u"+",           u".",          u"0",   u"1",    u"2",
          u"5",  u"9",  u"2147483647", u"-2147483648", u"4294967296", u"0.5", u"2.5",  u"1e3",
          u"a",  u"A",  u"〜",         u"～",          u"ｱ",          u"é",   u"写真", u"\uFEFF"})
        pieces.push_back(QString::fromUtf16(s));
    // NUL, and a lone surrogate, which no encoding carries.
    pieces.push_back(QString(QChar(0)));
    pieces.push_back(QString(QChar(0xD800)));
    return pieces;
}

// Input: one flag byte, then the file. Flag bit 0: the bytes are the file
// as they are. Otherwise each byte picks a piece; with bit 4 the first byte
// 0xFF repeats the piece before it, without its line breaks, 40000 times
// instead: one line far longer than any real one. The text is then encoded by bits 1-2 (the
// program's own encoding, UTF-8 behind the byte-order mark, UTF-8 without
// it) and with bit 3 cut at the place the second byte gives, maybe inside a
// character.
QByteArray decode(const std::uint8_t* data, size_t size) {
    if (size == 0) return {};
    const int flags = data[0];
    if ((flags & 1) != 0)
        return QByteArray(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    static const std::vector<QString> pieces = Pieces();
    QString text;
    QString last;
    bool stretched = (flags & 16) == 0;
    for (size_t i = 1; i < size; ++i) {
        if (data[i] == 0xFF && !stretched) {
            stretched = true;
            text += QString(last).remove(u'\r').remove(u'\n').repeated(40000);
            continue;
        }
        last = pieces[data[i] % pieces.size()];
        text += last;
    }
    QByteArray bytes;
    switch ((flags >> 1) & 3) {
        case 1:
            bytes = QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
            break;
        case 2:
            bytes = text.toUtf8();
            break;
        default:
            bytes = sorvane::EncodeTextFile(text);
    }
    if ((flags & 8) != 0 && size > 1) bytes.truncate(bytes.size() * data[1] / 256);
    return bytes;
}

void checkBounds(const mdlOptions& options) {
    for (const OptionTable* t :
         {&options.SystemOptions, &options.FilterOptions, &options.MethodOptions}) {
        for (const OptionRow& row : t->Rows) {
            if (row.RangeKind.testFlag(OptionBound::Lower) && row.Number < row.MinValue)
                fail("a number below its row's minimum", t, &row);
            if (row.RangeKind.testFlag(OptionBound::Upper) && row.Number > row.MaxValue)
                fail("a number above its row's maximum", t, &row);
        }
    }
}

void checkSame(const mdlOptions& read, const mdlOptions& back) {
    const std::pair<const OptionTable*, const OptionTable*> tables[] = {
        {&read.SystemOptions, &back.SystemOptions},
        {&read.FilterOptions, &back.FilterOptions},
        {&read.MethodOptions, &back.MethodOptions},
    };
    for (const auto& [a, b] : tables) {
        if (a->Rows.size() != b->Rows.size()) fail("tables of different sizes");
        for (qsizetype i = 0; i < a->Rows.size(); ++i) {
            const OptionRow& x = a->Rows[i];
            const OptionRow& y = b->Rows[i];
            if (x.Number != y.Number || x.Text != y.Text)
                fail("a value changed on its way through a save", a, &x, &y);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const QByteArray bytes = decode(data, size);
    const QString in = Folder() + QStringLiteral("/in.ini");
    const QString out = Folder() + QStringLiteral("/out.ini");
    {
        QFile file(in);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size())
            fail("the input file could not be written");
    }

    NoMessages box;
    mdlOptions options(box);
    options.InitOptions(Folder(), QStringLiteral("sorvane"));
    if (!options.LoadOptionFile(in, true)) fail("an existing file was not read");
    checkBounds(options);

    if (!options.SaveOptionFile(out)) fail("the table read could not be saved");
    mdlOptions back(box);
    back.InitOptions(Folder(), QStringLiteral("sorvane"));
    if (!back.LoadOptionFile(out, true)) fail("the file saved was not read");
    checkSame(options, back);
    return 0;
}
