#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <QtGlobal>

namespace sorvane {

// Names side by side in one text of UTF-16 units, exactly as they were given
// (a lone surrogate included), each found by its span: a large folder's
// names cost their units and one span each, not a string and an allocation
// per name.
class PackedNames {
public:
    qsizetype size() const { return mSpans.size(); }
    bool empty() const { return mSpans.isEmpty(); }
    QStringView operator[](qsizetype i) const {
        const Span& span = mSpans[i];
        return QStringView(mText).sliced(span.start, span.length);
    }
    // Where name i starts in Text().
    quint32 Start(qsizetype i) const { return mSpans[i].start; }
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
    // Both grow by realloc, which moves a large one's pages rather than
    // copying them into fresh memory.
    QString mText;
    QList<Span> mSpans;
    quint32 mEnd = 0;  // where the last name ends
};

}  // namespace sorvane
