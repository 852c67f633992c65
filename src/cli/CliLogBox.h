#pragma once

#include <QFile>
#include <QStringList>
#include <QTextStream>
#include <memory>

#include "ports/LogBoxPort.h"

namespace sorvane {

// The command line's log box: the log goes into a file as it comes, in
// pieces, and is printed from there at the end, so that a long log lies in
// the program's memory nowhere. The file is first one in memory that no
// folder shows (a log of a run of 100,000 targets takes 9 MB, which a
// file system on disk would take noticeably longer to write and read); a
// log beyond inMemory bytes moves to a temporary file on disk, removed
// from its folder as soon as it is open. Where neither can be made, the
// texts are kept in the program's memory instead.
class CliLogBox : public LogBoxPort {
public:
    static constexpr qint64 kInMemory = qint64(64) << 20;
    explicit CliLogBox(qint64 inMemory = kInMemory);

    void Append(QString text) override;
    void Clear() override;
    QString Text() const override;
    bool TakesPieces() const override { return true; }
    qint64 Mark() const override;
    void TakeBack(qint64 mark) override;

    // The text with its "\r\n" line ends as "\n" (a lone "\r" or "\n"
    // stays as it is), ending in a line end unless it is empty.
    void Print(QTextStream& out) const;

private:
    bool Spooled() const { return mFile && mFile->isOpen(); }
    // A temporary file on disk in place of the one in memory, with what
    // that held; nullptr when none can be made.
    std::unique_ptr<QFile> MovedToDisk() const;

    mutable std::unique_ptr<QFile> mFile;
    qint64 mInMemory;
    bool mOnDisk = false;
    MemoryLogBox mMemory;  // where no file could be made
};

}  // namespace sorvane
