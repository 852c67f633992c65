#pragma once

#include <QString>
#include <vector>

#include "ports/LogBoxPort.h"

namespace sorvane {

// The log box's text, kept as it was appended, piece by piece, and where
// each of its lines starts: a view draws any line from here without the
// whole text being copied or laid out. Lines end at CR LF (also one split
// between two pieces); the last line is what follows the last CR LF, empty
// when the text ends with one.
class LogLines {
public:
    void Append(QString text);
    void Clear();
    // Where the text ends now; TakeBack(mark) drops what came after.
    qint64 Mark() const { return mText.Mark(); }
    void TakeBack(qint64 mark);
    QString Text() const { return mText.Text(); }

    qsizetype LineCount() const { return qsizetype(mLineStarts.size()); }
    // Line i, without its CR LF.
    QString Line(qsizetype i) const;
    qsizetype LineLength(qsizetype i) const;
    // The line of the most units: the widest, as far as units tell.
    qsizetype LongestLine() const;

    // The text by its units, lines ended by CR LF, as screen readers read
    // it: its size, where line i starts, the line of a unit, and a range.
    qint64 Size() const { return mSize; }
    qint64 LineStart(qsizetype i) const { return mLineStarts[size_t(i)]; }
    qsizetype LineOf(qint64 offset) const;
    QString Range(qint64 from, qint64 to) const;

private:
    // crBefore: the text before piece ends with CR.
    void Index(const QString& piece, bool crBefore);
    void MeasureEndedLines();

    MemoryLogBox mText;
    std::vector<qint64> mPieceStarts;  // where each piece starts in the text
    std::vector<qint64> mLineStarts{0};
    qint64 mSize = 0;
    qsizetype mLongest = 0;   // among the lines ended so far
    qsizetype mMeasured = 0;  // lines held against mLongest
};

}  // namespace sorvane
