#include "cli/CliLogBox.h"

#include <sys/mman.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryFile>
#include <stdexcept>

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype kChunk = 1 << 15;  // units read or written at once

// Writes pieces of text out with their "\r\n" line ends as "\n", through a
// reused buffer. A "\r" that ends one piece waits for the next to show
// whether a "\n" follows it.
class LogPrinter {
public:
    explicit LogPrinter(QTextStream& out) : mOut(out) { mChunk.reserve(kChunk); }
    ~LogPrinter() {
        if (mHeldCr) Put(u"\r");
        if (!mLast.isNull() && mLast != u'\n') Put(u"\n");
        mOut << mChunk;
    }

    void Piece(QStringView text) {
        if (text.isEmpty()) return;
        if (mHeldCr && text.front() != u'\n') Put(u"\r");
        qsizetype from = 0;
        for (qsizetype cr = text.indexOf(u'\r'); cr >= 0; cr = text.indexOf(u'\r', from)) {
            Put(text.sliced(from, cr - from));
            from = cr + 1;
            if (from < text.size() && text[from] != u'\n') Put(u"\r");
        }
        Put(text.sliced(from));
        mHeldCr = text.back() == u'\r';
        mLast = text.back();
    }

private:
    void Put(QStringView text) {
        mChunk.append(text);
        if (mChunk.size() < kChunk) return;
        mOut << mChunk;
        mChunk.resize(0);
    }

    QTextStream& mOut;
    QString mChunk;
    bool mHeldCr = false;
    QChar mLast;
};

}  // namespace

namespace {

// Open and unlinked: the file goes with the program, however it ends.
std::unique_ptr<QFile> TemporaryFileOnDisk() {
    auto file = std::make_unique<QTemporaryFile>(QDir::tempPath() + u"/sorvane-log-XXXXXX"_s);
    if (!file->open()) return nullptr;
    QFile::remove(file->fileName());
    return file;
}

std::unique_ptr<QFile> FileInMemory() {
    const int fd = ::memfd_create("sorvane-log", MFD_CLOEXEC);
    if (fd < 0) return nullptr;
    auto file = std::make_unique<QFile>();
    if (file->open(fd, QIODevice::ReadWrite, QFileDevice::AutoCloseHandle)) return file;
    ::close(fd);
    return nullptr;
}

}  // namespace

CliLogBox::CliLogBox(qint64 inMemory) : mFile(FileInMemory()), mInMemory(inMemory) {
    if (!mFile) {
        mFile = TemporaryFileOnDisk();
        mOnDisk = true;
    }
}

std::unique_ptr<QFile> CliLogBox::MovedToDisk() const {
    std::unique_ptr<QFile> disk = TemporaryFileOnDisk();
    if (!disk) return nullptr;
    const qint64 end = mFile->pos();
    QByteArray chunk(kChunk * qsizetype(sizeof(QChar)), Qt::Uninitialized);
    mFile->seek(0);
    qint64 at = 0;
    while (at < end) {
        const qint64 read = mFile->read(chunk.data(), qMin<qint64>(chunk.size(), end - at));
        if (read <= 0 || disk->write(chunk.constData(), read) != read) break;
        at += read;
    }
    mFile->seek(end);
    return at == end ? std::move(disk) : nullptr;
}

// The units as they are, a lone surrogate included, so that Text() gives
// back exactly what came. A file that cannot take them is a log that
// cannot be held: the run asks what to do, as it does when memory runs out.
// A log that outgrows memory goes on in a file on disk, or, where none can
// be made, stays where it is.
void CliLogBox::Append(QString text) {
    if (!Spooled()) return mMemory.Append(std::move(text));
    const qint64 bytes = text.size() * qint64(sizeof(QChar));
    if (!mOnDisk && mFile->pos() + bytes > mInMemory) {
        if (std::unique_ptr<QFile> disk = MovedToDisk()) mFile = std::move(disk);
        mOnDisk = true;
    }
    if (mFile->write(reinterpret_cast<const char*>(text.constData()), bytes) != bytes)
        throw std::runtime_error("the log cannot be written to its temporary file");
}

void CliLogBox::Clear() {
    if (!Spooled()) return mMemory.Clear();
    TakeBack(0);
}

qint64 CliLogBox::Mark() const {
    return Spooled() ? mFile->pos() : mMemory.Mark();
}

void CliLogBox::TakeBack(qint64 mark) {
    if (!Spooled()) return mMemory.TakeBack(mark);
    mFile->resize(mark);
    mFile->seek(mark);
}

QString CliLogBox::Text() const {
    if (!Spooled()) return mMemory.Text();
    const qint64 end = mFile->pos();
    QString text(end / qint64(sizeof(QChar)), Qt::Uninitialized);
    mFile->seek(0);
    const qint64 read = mFile->read(reinterpret_cast<char*>(text.data()), end);
    mFile->seek(end);
    if (read != end) text.truncate(qMax<qint64>(read, 0) / qint64(sizeof(QChar)));
    return text;
}

void CliLogBox::Print(QTextStream& out) const {
    LogPrinter printer(out);
    if (!Spooled()) {
        for (const QString& piece : mMemory.Pieces()) printer.Piece(piece);
        return;
    }
    const qint64 end = mFile->pos();
    QString chunk(kChunk, Qt::Uninitialized);
    mFile->seek(0);
    for (qint64 at = 0; at < end;) {
        const qint64 want = qMin<qint64>(kChunk * qint64(sizeof(QChar)), end - at);
        const qint64 read = mFile->read(reinterpret_cast<char*>(chunk.data()), want);
        if (read <= 0) break;
        at += read;
        printer.Piece(QStringView(chunk).first(read / qint64(sizeof(QChar))));
    }
    mFile->seek(end);
}

}  // namespace sorvane
