// Fuzzes the journal reader (ReadJournal) with any bytes on disk. Besides
// crashes and sanitizer reports it checks what the reader promises:
//  - a file it refuses comes with the reason;
//  - a journal it takes has an absolute start folder ending in "/"; each
//    record has an identity exactly when it has an inode, and two paths
//    that stay in the start folder (each component one name) and in one
//    same folder; the count is the records';
//  - reading without the records gives the same header, counts and state;
//  - what it read, written again in the journal's format by the small
//    writer here, reads back the same, with nothing damaged.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/FileSystem.h"
#include "run/RunJournal.h"

using sorvane::JournalInfo;
using sorvane::JournalRecord;
using sorvane::JournalState;
using sorvane::ReadJournal;

namespace {

[[noreturn]] void fail(const char* what, const JournalRecord* record = nullptr) {
    std::fprintf(stderr, "journal_fuzz: %s\n", what);
    if (record)
        std::fprintf(stderr, "  record %llu %llu '%s' '%s'\n",
                     static_cast<unsigned long long>(record->identity.device),
                     static_cast<unsigned long long>(record->identity.inode),
                     record->oldPath.toUtf8().constData(), record->newPath.toUtf8().constData());
    std::abort();
}

// In the temporary folder, which scripts/fuzz.sh puts in memory: every
// save is flushed to disk.
const QString& Folder() {
    static const QTemporaryDir dir;
    if (!dir.isValid()) fail("no temporary folder");
    static const QString path = dir.path();
    return path;
}

// Input: one flag byte, then the file. Flag bit 0: the bytes are the file
// as they are. Otherwise the file begins with the version line (unless
// bit 1) and each byte picks a piece of a journal's lines; byte 0xFE puts
// the byte after it in as it is.
QByteArray decode(const std::uint8_t* data, size_t size) {
    if (size == 0) return {};
    const int flags = data[0];
    if ((flags & 1) != 0)
        return QByteArray(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    // Split at "|", which no piece holds.
    static const QList<QByteArray> pieces =
        QByteArray(
            "sorvane journal 1\n|folder\t/s/\n|folder\t|device\t|time\t|object\t|pid\t|"
            "targets\t|rename\t7\t11\t|rename\t|completed|restored\t|target=|restored=|"
            "\t|\n|/|.|..|a|b/|%|%0A|%25|%2F|%00|%e9|%C3%A9|é|\xff|\x80|0|1|7|-1|"
            "18446744073709551615|99999999999999999999|ファイル|フォルダ|"
            "2026-12-07T10:15:00.123+09:00| |\r")
            .split('|');
    QByteArray bytes = (flags & 2) != 0 ? QByteArray() : pieces[0];
    for (size_t i = 1; i < size; ++i) {
        if (data[i] == 0xFE && i + 1 < size) {
            bytes.append(char(data[++i]));
        } else {
            bytes.append(pieces[data[i] % pieces.size()]);
        }
    }
    return bytes;
}

// The journal's escape: the bytes 0x00-0x1F, 0x7F and "%" as "%" and two
// hex digits. The path's own bytes: a byte that is not UTF-8 is written as
// it is, which the reader takes as well as its escape.
QByteArray escaped(const QString& text) {
    static constexpr char hex[] = "0123456789ABCDEF";
    QByteArray out;
    for (const char c : sorvane::FileSystem::Encode(text)) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || c == '%')
            out.append('%').append(hex[u >> 4]).append(hex[u & 15]);
        else
            out.append(c);
    }
    return out;
}

QByteArray rewritten(const JournalInfo& info, const std::vector<JournalRecord>& records) {
    QByteArray out = "sorvane journal 1\n";
    out += "folder\t" + escaped(info.folder) + '\n';
    out += "device\t" + QByteArray::number(qulonglong(info.device)) + '\n';
    out += "object\t" + info.itemWord.toUtf8() + '\n';
    out += "pid\t" + QByteArray::number(info.pid) + '\n';
    out += "targets\t" + QByteArray::number(info.planned) + '\n';
    for (const JournalRecord& r : records)
        out += "rename\t" + QByteArray::number(qulonglong(r.identity.device)) + '\t' +
               QByteArray::number(qulonglong(r.identity.inode)) + '\t' + escaped(r.oldPath) + '\t' +
               escaped(r.newPath) + '\n';
    if (info.state == JournalState::Completed) out += "completed\n";
    if (info.state == JournalState::Restored) out += "restored\ttarget=1\trestored=1\n";
    return out;
}

// Relative, each component one name: not empty, not "." or "..", no NUL.
bool staysInside(const QString& path) {
    if (path.isEmpty() || path.startsWith(u'/')) return false;
    for (const QStringView part : QStringView(path).split(u'/'))
        if (part.isEmpty() || part == u"." || part == u".." || part.contains(QChar(0)))
            return false;
    return true;
}

bool sameHeader(const JournalInfo& a, const JournalInfo& b) {
    return a.folder == b.folder && a.device == b.device && a.itemWord == b.itemWord &&
           a.pid == b.pid && a.planned == b.planned && a.records == b.records && a.state == b.state;
}

bool sameRecords(const std::vector<JournalRecord>& a, const std::vector<JournalRecord>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].identity != b[i].identity || a[i].oldPath != b[i].oldPath ||
            a[i].newPath != b[i].newPath)
            return false;
    return true;
}

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fail("a journal file could not be written");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const QString path = Folder() + QStringLiteral("/in.journal");
    write(path, decode(data, size));

    JournalInfo info;
    std::vector<JournalRecord> records;
    QString error;
    if (!ReadJournal(path, info, &records, &error)) {
        if (error.isEmpty()) fail("a refused file without a reason");
        return 0;
    }
    if (info.path != path) fail("the journal's path is not the file's");
    if (!info.folder.startsWith(u'/') || !info.folder.endsWith(u'/'))
        fail("a start folder that is not absolute or lacks its final /");
    if (info.records != qint64(records.size())) fail("the record count is not the records'");
    for (const JournalRecord& r : records) {
        // Inode 0 is a record whose listing gave no number: no identity.
        if (r.identity.valid != (r.identity.inode != 0))
            fail("a record whose identity does not follow its inode", &r);
        if (!staysInside(r.oldPath) || !staysInside(r.newPath))
            fail("a record that leaves the start folder", &r);
        if (r.oldPath.left(r.oldPath.lastIndexOf(u'/') + 1) !=
            r.newPath.left(r.newPath.lastIndexOf(u'/') + 1))
            fail("a record that moves an item to another folder", &r);
    }

    JournalInfo headerOnly;
    if (!ReadJournal(path, headerOnly, nullptr, nullptr) || !sameHeader(info, headerOnly) ||
        headerOnly.damaged != info.damaged || headerOnly.time != info.time)
        fail("reading without the records gives another header");

    const QString again = Folder() + QStringLiteral("/again.journal");
    write(again, rewritten(info, records));
    JournalInfo backInfo;
    std::vector<JournalRecord> back;
    if (!ReadJournal(again, backInfo, &back, &error)) fail("the journal written again was refused");
    if (!sameHeader(info, backInfo) || backInfo.damaged != 0)
        fail("the journal written again reads another header");
    if (!sameRecords(records, back)) fail("the journal written again reads other records");
    return 0;
}
