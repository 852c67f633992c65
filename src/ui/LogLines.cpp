#include "ui/LogLines.h"

#include <algorithm>

namespace sorvane {

using namespace Qt::StringLiterals;

void LogLines::Append(QString text) {
    if (text.isEmpty()) return;
    const bool crBefore = mSize > 0 && mText.Pieces().last().endsWith(u'\r');
    const qint64 mark = Mark();
    const size_t lines = mLineStarts.size();
    mText.Append(std::move(text));
    // Memory that runs out while the piece is indexed leaves the lines as
    // they were, without the piece: the run then asks what to do with its
    // log, and the box goes on showing what it has.
    try {
        Index(mText.Pieces().last(), crBefore);
    } catch (...) {
        mText.TakeBack(mark);
        mLineStarts.resize(lines);
        mPieceStarts.resize(size_t(mark));
        throw;
    }
}

// mSize moves last, once nothing can fail any more.
void LogLines::Index(const QString& piece, bool crBefore) {
    if (crBefore && piece.startsWith(u'\n')) mLineStarts.push_back(mSize + 1);
    for (qsizetype end = piece.indexOf(u"\r\n"_s); end >= 0;
         end = piece.indexOf(u"\r\n"_s, end + 2))
        mLineStarts.push_back(mSize + end + 2);
    mPieceStarts.push_back(mSize);
    mSize += piece.size();
    MeasureEndedLines();
}

void LogLines::MeasureEndedLines() {
    for (; mMeasured + 1 < LineCount(); ++mMeasured)
        if (LineLength(mMeasured) > LineLength(mLongest)) mLongest = mMeasured;
}

void LogLines::Clear() {
    mText.Clear();
    mPieceStarts.clear();
    mLineStarts.assign(1, 0);
    mSize = 0;
    mLongest = mMeasured = 0;
}

void LogLines::TakeBack(qint64 mark) {
    if (mark >= Mark()) return;
    mText.TakeBack(mark);
    mSize = mark > 0 ? mPieceStarts[size_t(mark)] : 0;
    mPieceStarts.resize(size_t(mark));
    while (mLineStarts.back() > mSize) mLineStarts.pop_back();
    mLongest = mMeasured = 0;
    MeasureEndedLines();
}

qsizetype LogLines::LineLength(qsizetype i) const {
    const qint64 from = mLineStarts[size_t(i)];
    return qsizetype((i + 1 < LineCount() ? mLineStarts[size_t(i) + 1] - 2 : mSize) - from);
}

qsizetype LogLines::LongestLine() const {
    const qsizetype last = LineCount() - 1;
    return LineLength(last) > LineLength(mLongest) ? last : mLongest;
}

QString LogLines::Line(qsizetype i) const {
    const qint64 from = mLineStarts[size_t(i)];
    return Range(from, from + LineLength(i));
}

qsizetype LogLines::LineOf(qint64 offset) const {
    const auto after = std::upper_bound(mLineStarts.begin(), mLineStarts.end(), offset);
    return std::max<qsizetype>(0, qsizetype(after - mLineStarts.begin()) - 1);
}

QString LogLines::Range(qint64 from, qint64 to) const {
    if (from >= to) return {};
    const QStringList& pieces = mText.Pieces();
    size_t k = size_t(std::upper_bound(mPieceStarts.begin(), mPieceStarts.end(), from) -
                      mPieceStarts.begin()) -
               1;
    const qint64 start = mPieceStarts[k];
    if (to <= start + pieces[qsizetype(k)].size())
        return pieces[qsizetype(k)].sliced(qsizetype(from - start), qsizetype(to - from));
    // A line that runs on from one piece into the next.
    QString line;
    line.reserve(qsizetype(to - from));
    for (; from < to; ++k) {
        const QString& piece = pieces[qsizetype(k)];
        const qint64 at = from - mPieceStarts[k];
        const qint64 take = std::min<qint64>(piece.size() - at, to - from);
        line += QStringView(piece).sliced(qsizetype(at), qsizetype(take));
        from += take;
    }
    return line;
}

}  // namespace sorvane
