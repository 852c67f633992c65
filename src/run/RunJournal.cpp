#include "run/RunJournal.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>

#include "platform/DurableFile.h"
#include "platform/MakeFolders.h"
#include "platform/NameBytes.h"
#include "run/EndStatus.h"

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

constexpr QByteArrayView kVersionLine = "sorvane journal 1";
constexpr QByteArrayView kRename = "rename";
constexpr QByteArrayView kCompleted = "completed";
constexpr QByteArrayView kRestored = "restored";
const QString kSuffix = u".journal"_s;
constexpr qsizetype kFlushAt = 1 << 16;
// A journal is read whole; one of ten million targets is about 1 GiB.
constexpr qint64 kMaxJournalSize = qint64(4) << 30;

bool NeedsEscape(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F || c == '%';
}

// The most room one unit of a name takes: three bytes of UTF-8, each
// escaped to three.
constexpr qsizetype kRoomPerUnit = 9;

char* PutByte(char* at, char c, bool escape = false) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    if (!escape && !NeedsEscape(c)) {
        *at++ = c;
        return at;
    }
    const auto u = static_cast<unsigned char>(c);
    *at++ = '%';
    *at++ = kHex[u >> 4];
    *at++ = kHex[u & 15];
    return at;
}

char* PutBytes(char* at, QByteArrayView bytes) {
    std::memcpy(at, bytes.data(), size_t(bytes.size()));
    return at + bytes.size();
}

// PutEscapedText from the first unit beyond ASCII on: other characters
// through the encoder, and a byte that is not UTF-8 (a byte escape)
// escaped, so that the journal stays UTF-8 and gives back the exact name.
// nullptr for a text that names no bytes (a lone surrogate that is no
// escape), which no journal may hold in place of the name.
Q_NEVER_INLINE char* PutEscapedBeyondAscii(char* at, QStringView text, QByteArray& scratch) {
    const char16_t* const units = text.utf16();
    for (qsizetype i = 0; i < text.size();) {
        if (name_bytes::IsEscapeAt(units, i)) {
            at = PutByte(at, char(name_bytes::ByteOf(units[i++])), true);
            continue;
        }
        // Characters up to the next byte escape, which never lies inside a
        // pair.
        qsizetype end = i + 1;
        while (end < text.size() && !name_bytes::IsEscapeAt(units, end)) ++end;
        if (!FileSystem::EncodeExactly(text.sliced(i, end - i), &scratch)) return nullptr;
        for (const char c : std::as_const(scratch)) at = PutByte(at, c);
        i = end;
    }
    return at;
}

// The bytes of text on disk, escaped, written at `at`, which has room for
// kRoomPerUnit per unit; returns their end, nullptr for a text that names
// no bytes. ASCII, nearly every name, goes straight from the units (its
// printable start many units at once); anything else as
// PutEscapedBeyondAscii says.
char* PutEscapedText(char* at, QStringView text, QByteArray& scratch) {
    const qsizetype plain = name_bytes::PutPlain(at, text, u'%');
    at += plain;
    for (qsizetype i = plain; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit - 0x20u < 0x5Fu && unit != u'%') {  // printable ASCII, kept as it is
            *at++ = char(unit);
            continue;
        }
        if (unit >= 0x80) return PutEscapedBeyondAscii(at, text.sliced(i), scratch);
        at = PutByte(at, char(unit));
    }
    return at;
}

template <typename N>
char* PutNumber(char* at, N n) {
    return std::to_chars(at, at + 24, n).ptr;
}

bool AppendEscapedText(QByteArray& out, QStringView text, QByteArray& scratch) {
    const qsizetype start = out.size();
    out.resize(start + text.size() * kRoomPerUnit);
    const char* const end = PutEscapedText(out.data() + start, text, scratch);
    out.resize(end ? end - out.constData() : start);
    return end != nullptr;
}

// The records' bytes, written in place: room is made once per record
// rather than piece by piece.
class RecordBuffer {
public:
    explicit RecordBuffer(qsizetype capacity) : mBytes(capacity, Qt::Uninitialized) {}
    // Where up to room bytes may be written; Done takes their end.
    char* Room(qsizetype room) {
        if (mUsed + room > mBytes.size()) mBytes.resize(std::max(mUsed + room, 2 * mBytes.size()));
        return mBytes.data() + mUsed;
    }
    void Done(const char* end) { mUsed = end - mBytes.constData(); }
    QByteArrayView Bytes() const { return QByteArrayView(mBytes.constData(), mUsed); }
    void Clear() { mUsed = 0; }

private:
    QByteArray mBytes;
    qsizetype mUsed = 0;
};

// What the records of one folder's targets begin with: the word, the
// folder's device and the escaped folder of both paths.
struct RecordFolder {
    QByteArray head;  // "rename\t" and the device's number
    QByteArray folder;
};

// One "rename" record: the item's device and inode, its old path and its
// new one. False, with nothing written, for a name that names no bytes.
bool PutRecord(RecordBuffer& out, const RecordFolder& where, ino_t inode, QStringView oldName,
               QStringView newName, QByteArray& scratch) {
    constexpr qsizetype kNumbersRoom = 24 + 4;
    const QByteArrayView folder = where.folder;
    char* at = out.Room(where.head.size() + kNumbersRoom + 2 * folder.size() +
                        kRoomPerUnit * (oldName.size() + newName.size()));
    at = PutBytes(at, where.head);
    *at++ = '\t';
    at = PutNumber(at, inode);
    *at++ = '\t';
    at = PutEscapedText(PutBytes(at, folder), oldName, scratch);
    if (!at) return false;
    *at++ = '\t';
    at = PutEscapedText(PutBytes(at, folder), newName, scratch);
    if (!at) return false;
    *at++ = '\n';
    out.Done(at);
    return true;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool Unescape(QByteArrayView text, QByteArray* bytes) {
    bytes->clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            if (NeedsEscape(text[i])) return false;
            bytes->append(text[i]);
            continue;
        }
        if (i + 2 >= text.size()) return false;
        const int high = HexValue(text[i + 1]), low = HexValue(text[i + 2]);
        if (high < 0 || low < 0) return false;
        bytes->append(char(high * 16 + low));
        i += 2;
    }
    return true;
}

template <typename N>
void AppendNumber(QByteArray& out, N n) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
    out.append(digits, end - digits);
}

template <typename N>
bool ParseNumber(QByteArrayView text, N* n) {
    const auto [end, ec] = std::from_chars(text.begin(), text.end(), *n);
    return ec == std::errc() && end == text.end() && !text.isEmpty();
}

QByteArray IsoTime(const QDateTime& time) {
    return time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODateWithMs).toUtf8();
}

void AppendField(QByteArray& out, QByteArrayView key, QByteArrayView value) {
    out.append(key).append('\t').append(value).append('\n');
}

template <typename N>
void AppendNumberField(QByteArray& out, QByteArrayView key, N n) {
    out.append(key).append('\t');
    AppendNumber(out, n);
    out.append('\n');
}

// "<tab>key=n", a count of an end or restore line.
void AppendCount(QByteArray& out, QByteArrayView key, qint64 n) {
    out.append('\t').append(key).append('=');
    AppendNumber(out, n);
}

// A path of the plan: relative, each component one name ("", "." and ".."
// are none), so that no record reaches outside the start folder.
bool IsPlanPath(const QString& path) {
    if (path.isEmpty() || path.startsWith(u'/')) return false;
    for (const QStringView part : QStringView(path).split(u'/'))
        if (!FileSystem::IsSingleName(part)) return false;
    return true;
}

// The folder part of a relative path, its final "/" included.
QStringView FolderOf(const QString& path) {
    return QStringView(path).left(path.lastIndexOf(u'/') + 1);
}

bool ParseRecord(QByteArrayView line, JournalRecord* record) {
    const QList<QByteArrayView> fields = [&] {
        QList<QByteArrayView> parts;
        qsizetype from = 0;
        for (qsizetype tab = line.indexOf('\t'); tab >= 0; tab = line.indexOf('\t', from)) {
            parts.append(line.sliced(from, tab - from));
            from = tab + 1;
        }
        parts.append(line.sliced(from));
        return parts;
    }();
    if (fields.size() != 5) return false;
    QByteArray bytes;
    if (!ParseNumber(fields[1], &record->identity.device) ||
        !ParseNumber(fields[2], &record->identity.inode))
        return false;
    // 0: the listing gave no inode number that is the item's own.
    record->identity.valid = record->identity.inode != 0;
    if (!Unescape(fields[3], &bytes)) return false;
    record->oldPath = FileSystem::Decode(bytes);
    if (!Unescape(fields[4], &bytes)) return false;
    record->newPath = FileSystem::Decode(bytes);
    return IsPlanPath(record->oldPath) && IsPlanPath(record->newPath) &&
           FolderOf(record->oldPath) == FolderOf(record->newPath);
}

// The value of "key=value" among the fields of a line, or -1.
qint64 CountField(QByteArrayView line, QByteArrayView key) {
    for (qsizetype from = 0; from < line.size();) {
        qsizetype tab = line.indexOf('\t', from);
        if (tab < 0) tab = line.size();
        const QByteArrayView field = line.sliced(from, tab - from);
        qint64 n = 0;
        if (field.startsWith(key) && field.size() > key.size() && field[key.size()] == '=' &&
            ParseNumber(field.sliced(key.size() + 1), &n))
            return n;
        from = tab + 1;
    }
    return -1;
}

bool ReadHeaderLine(QByteArrayView key, QByteArrayView value, JournalInfo& info) {
    QByteArray bytes;
    QString text;
    if (key == "folder") {
        // No path holds a NUL.
        if (!Unescape(value, &bytes) || bytes.contains('\0')) return false;
        text = FileSystem::Decode(bytes);
        if (!text.startsWith(u'/')) return false;
        info.folder = text.endsWith(u'/') ? text : text + u'/';
    } else if (key == "device") {
        return ParseNumber(value, &info.device);
    } else if (key == "time") {
        info.time = QDateTime::fromString(QString::fromUtf8(value), Qt::ISODateWithMs);
    } else if (key == "object") {
        info.itemWord = QString::fromUtf8(value);
    } else if (key == "pid") {
        return ParseNumber(value, &info.pid);
    } else if (key == "targets") {
        return ParseNumber(value, &info.planned);
    } else if (key == "operation") {
        info.operation = QString::fromUtf8(value);
    } else if (key == "search" || key == "replace") {
        if (!Unescape(value, &bytes)) return false;
        (key == "search" ? info.search : info.replace) = FileSystem::Decode(bytes);
    }
    return true;  // a field a later version added
}

// The journal files of folder, the newest first: their names begin with
// their time.
QStringList JournalNames(const QDir& folder) {
    return folder.entryList({u"*"_s + kSuffix}, QDir::Files, QDir::Name | QDir::Reversed);
}

}  // namespace

int RunJournal::Begin(const mdlRename& r, bool deleteRequested, const JournalWords& words) {
    mPath.clear();
    qint64 count = 0;
    for (qint32 i = 0; i < r.GetTargetCount(); ++i)
        if (r.WillRename(i, deleteRequested)) ++count;
    if (count == 0) return 0;
    const FileSystem fs;
    if (mFolder.isEmpty()) return ENOENT;
    const bool made = !fs.FolderExists(mFolder);
    if (!MakeFolders(fs, mFolder)) return EACCES;
    if (made) DurableFile::SyncFolder(FileSystem::ParentFolderName(mFolder));

    const QString stem = QDateTime::currentDateTime().toString(u"yyyyMMdd-HHmmss-zzz"_s) + u'-' +
                         QString::number(::getpid());
    for (int attempt = 0;; ++attempt) {
        const QString path = FileSystem::BuildPath(
            mFolder, stem + (attempt ? u'-' + QString::number(attempt) : QString()) + kSuffix);
        const int err = Write(path, r, deleteRequested, count, words);
        if (err == 0) {
            mPath = path;
            Prune();
            return 0;
        }
        if (err != EEXIST || attempt == 9) return err;
    }
}

// The header, the records in rename order (from the last target to the
// first), written 64 KiB at a time, and one flush of the file and its
// folder.
int RunJournal::Write(const QString& path, const mdlRename& r, bool deleteRequested, qint64 count,
                      const JournalWords& words) const {
    DurableFile file;
    int err = file.Create(path);
    if (err != 0) return err;
    const FileSystem fs;
    QByteArray header;
    header.append(kVersionLine).append('\n');
    QByteArray name;
    header.append("folder\t");
    if (!AppendEscapedText(header, r.BasePath(), name)) err = EINVAL;
    header.append('\n');
    AppendNumberField(header, "device", fs.Identity(r.BasePath()).device);
    AppendField(header, "time", IsoTime(QDateTime::currentDateTime()));
    AppendField(header, "object", r.ItemWord().toUtf8());
    AppendNumberField(header, "pid", qint64(::getpid()));
    if (!words.operation.isEmpty()) {
        AppendField(header, "operation", words.operation.toUtf8());
        // The words are shown, never acted on: one that names no bytes is
        // left out rather than failing the run.
        for (const auto& [key, word] :
             {std::pair{"search", &words.search}, std::pair{"replace", &words.replace}}) {
            const qsizetype mark = header.size();
            header.append(key).append('\t');
            if (AppendEscapedText(header, *word, name))
                header.append('\n');
            else
                header.truncate(mark);
        }
    }
    AppendNumberField(header, "targets", count);

    const TargetStore& targets = r.Plan().targets;
    if (err == 0) err = file.Write(header);
    RecordBuffer records(kFlushAt + 4096);
    RecordFolder where;
    quint32 folderIndex = std::numeric_limits<quint32>::max();
    for (qint32 c = r.GetTargetCount() - 1; c >= 0 && err == 0; --c) {
        if (!r.WillRename(c, deleteRequested)) continue;
        if (const quint32 index = targets.FolderIndex(c, folderIndex); index != folderIndex) {
            folderIndex = index;
            where.head = kRename.toByteArray();
            where.head.append('\t');
            AppendNumber(where.head, targets.Identity(c, index).device);
            where.folder.clear();
            if (!AppendEscapedText(where.folder, targets.FolderPath(index), name)) err = EINVAL;
        }
        // A name that names no bytes could not be restored: the plan never
        // renames one, and no journal records it.
        if (err == 0 && !PutRecord(records, where, targets.Identity(c, folderIndex).inode,
                                   targets.OldName(c), targets.NewName(c), name))
            err = EINVAL;
        if (records.Bytes().size() >= kFlushAt) {
            err = file.Write(records.Bytes());
            records.Clear();
        }
    }
    if (err == 0) err = file.Write(records.Bytes());
    if (err == 0) err = file.Sync();
    file.Close();
    if (err != 0) QFile::remove(path);
    return err;
}

// Keeps the newest kKept journals.
void RunJournal::Prune() const {
    QDir folder(mFolder);
    const QStringList names = JournalNames(folder);
    for (qsizetype i = kKept; i < names.size(); ++i) folder.remove(names[i]);
}

void RunJournal::Completed(const mdlRename& r, const EndStatus& end) const {
    if (mPath.isEmpty()) return;
    QByteArray line = kCompleted.toByteArray();
    AppendCount(line, "renamed", r.GetRenamedCount());
    AppendCount(line, "not-renamed", r.GetTargetCount() - r.GetRenamedCount());
    AppendCount(line, "deleted", r.GetDeletedCount());
    line.append("\tend=").append(end.Text().toUtf8()).append('\n');
    DurableFile::Append(mPath, line);
}

void RunJournal::Restored(qint32 target, qint32 restored) const {
    if (mPath.isEmpty()) return;
    QByteArray line = kRestored.toByteArray();
    AppendCount(line, "target", target);
    AppendCount(line, "restored", restored);
    line.append("\ttime=").append(IsoTime(QDateTime::currentDateTime())).append('\n');
    DurableFile::Append(mPath, line);
}

bool ReadJournal(const QString& path, JournalInfo& info, std::vector<JournalRecord>* records,
                 QString* error) {
    info = JournalInfo{};
    info.path = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = file.errorString();
        return false;
    }
    if (file.size() > kMaxJournalSize) {
        if (error) *error = u"the file is too large to be a journal"_s;
        return false;
    }
    bool header = true;
    qint64 lineNumber = 0;
    // False for a file that is not a journal.
    const auto take = [&](QByteArrayView line) {
        if (lineNumber++ == 0) return line == kVersionLine;
        const qsizetype tab = line.indexOf('\t');
        const QByteArrayView key = tab < 0 ? line : line.first(tab);
        if (key == kRename) {
            header = false;
            JournalRecord record;
            if (!ParseRecord(line, &record)) {
                ++info.damaged;
                return true;
            }
            ++info.records;
            if (records) records->push_back(std::move(record));
        } else if (key == kCompleted) {
            if (info.state != JournalState::Restored) info.state = JournalState::Completed;
            info.renamed = CountField(line, "renamed");
            if (const qsizetype at = line.indexOf("\tend="); at >= 0)
                info.end = QString::fromUtf8(line.sliced(at + 5));
        } else if (key == kRestored) {
            const qint64 target = CountField(line, "target");
            const qint64 restored = CountField(line, "restored");
            info.restoreTarget = target;
            info.restored = restored;
            if (target >= 0 && restored == target) info.state = JournalState::Restored;
        } else if (header && tab > 0) {
            if (!ReadHeaderLine(key, line.sliced(tab + 1), info)) ++info.damaged;
            // The count of targets ends the header: a line after it with an
            // unknown key is a damaged record, not a field of a later version.
            if (key == "targets") header = false;
        } else {
            ++info.damaged;
        }
        return true;
    };
    // Read in pieces, line by line: a journal of a million targets is never
    // held whole. A last line without its "\n" was cut off by the end of the
    // process, and is left.
    constexpr qint64 kPiece = qint64(1) << 16;
    QByteArray pending;
    for (;;) {
        const qsizetype had = pending.size();
        pending.resize(had + kPiece);
        const qint64 got = file.read(pending.data() + had, kPiece);
        pending.resize(had + std::max<qint64>(got, 0));
        if (got <= 0) break;
        qsizetype from = 0;
        for (qsizetype next = pending.indexOf('\n', had); next >= 0;
             next = pending.indexOf('\n', from)) {
            if (!take(QByteArrayView(pending).sliced(from, next - from))) {
                if (error) *error = u"the file is not a journal of this program"_s;
                return false;
            }
            from = next + 1;
        }
        pending.remove(0, from);
    }
    if (lineNumber == 0 || info.folder.isEmpty()) {
        if (error) *error = u"the file is not a journal of this program"_s;
        return false;
    }
    return true;
}

void ForEachJournal(const QString& folder, const std::function<bool(JournalInfo&)>& visit) {
    for (const QString& name : JournalNames(QDir(folder))) {
        JournalInfo info;
        if (ReadJournal(FileSystem::BuildPath(folder, name), info, nullptr, nullptr) &&
            !visit(info))
            return;
    }
}

std::vector<JournalInfo> ListJournals(const QString& folder) {
    std::vector<JournalInfo> journals;
    ForEachJournal(folder, [&](JournalInfo& info) {
        journals.push_back(std::move(info));
        return true;
    });
    return journals;
}

std::vector<HistoryEntry> ReadHistory(const QString& folder) {
    std::vector<HistoryEntry> history;
    for (const QString& name : JournalNames(QDir(folder))) {
        HistoryEntry& entry = history.emplace_back();
        entry.path = FileSystem::BuildPath(folder, name);
        entry.readable = ReadJournal(entry.path, entry.info, nullptr, &entry.error);
    }
    return history;
}

namespace {

// A run without its end line whose process (another one) is still there.
bool StillRunning(const JournalInfo& info) {
    return info.state == JournalState::Interrupted && info.pid != ::getpid() &&
           IsProgramProcess(info.pid);
}

}  // namespace

QString HistoryStateText(const JournalInfo& info) {
    if (info.restoreTarget >= 0)
        return info.state == JournalState::Restored ? u"戻した"_s : u"一部戻した"_s;
    if (info.state == JournalState::Completed)
        return info.end == u"終了"_s ? u"終わった"_s : u"中断"_s;
    return StillRunning(info) ? u"変換中"_s : u"強制終了"_s;
}

bool HistoryRestorable(const JournalInfo& info) {
    return info.state != JournalState::Restored && info.records > 0 && !StillRunning(info);
}

// Only the newest journal is read: start-up does not read them all.
std::optional<JournalInfo> InterruptedJournal(const QString& folder) {
    std::optional<JournalInfo> newest;
    ForEachJournal(folder, [&](JournalInfo& info) {
        if (info.state == JournalState::Interrupted &&
            info.records + info.damaged >= info.planned && info.records > 0 &&
            !IsProgramProcess(info.pid))
            newest = std::move(info);
        return false;
    });
    return newest;
}

}  // namespace sorvane
