#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <vector>

namespace sorvane {

// Names side by side in one text of UTF-16 units, exactly as they were given
// (a lone surrogate included), each found by its span: a large folder's
// names cost their units and one span each, not a string and an allocation
// per name.
class PackedNames {
public:
    qsizetype size() const { return qsizetype(mSpans.size()); }
    bool empty() const { return mSpans.empty(); }
    QStringView operator[](qsizetype i) const {
        const Span& span = mSpans[size_t(i)];
        return QStringView(mText).sliced(span.start, span.length);
    }
    // Where name i starts in Text().
    quint32 Start(qsizetype i) const { return mSpans[size_t(i)].start; }
    const QString& Text() const { return mText; }

    void Append(QStringView name) {
        mText += name;
        Close();
    }
    // The text, to append the next name to in place; Close ends that name
    // at the text's end.
    QString& OpenText() { return mText; }
    void Close();
    // Empties the names and keeps the memory, for the next folder.
    void Clear();
    // Empties the names and gives their memory back.
    void Release();
    // Hands the text over and empties the names; the spans keep their memory.
    QString TakeText();

private:
    struct Span {
        quint32 start;
        quint32 length;
    };
    QString mText;
    std::vector<Span> mSpans;
    quint32 mEnd = 0;  // where the last name ends
};

}  // namespace sorvane
