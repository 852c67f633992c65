#pragma once

#include <QStringList>
#include <QTemporaryFile>
#include <QTextStream>

#include "ports/LogBoxPort.h"

namespace sorvane {

// The command line's log box: the log goes into a temporary file as it
// comes, in pieces, and is printed from there at the end, so that a long
// log lies in the program's memory nowhere. The file is removed from its
// folder as soon as it is open. Where no temporary file can be made, the
// texts are kept in memory instead.
class CliLogBox : public LogBoxPort {
public:
    CliLogBox();

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
    bool Spooled() const { return mFile.isOpen(); }

    mutable QTemporaryFile mFile;
    MemoryLogBox mMemory;  // where no file could be made
};

}  // namespace sorvane
