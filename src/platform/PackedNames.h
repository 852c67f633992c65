#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <algorithm>
#include <utility>

namespace sorvane {

// Names side by side in one text of UTF-16 units, exactly as they were given
// (a lone surrogate included), each found by its span: a large folder's
// names cost their units and one span each, not a string and an allocation
// per name.
class PackedNames {
public:
    PackedNames() = default;
    PackedNames(const PackedNames&) = default;
    PackedNames& operator=(const PackedNames&) = default;
    // A moved-from one is empty, ready for names.
    PackedNames(PackedNames&& other) noexcept { *this = std::move(other); }
    PackedNames& operator=(PackedNames&& other) noexcept {
        mText = std::exchange(other.mText, QString());
        mSpans = std::exchange(other.mSpans, QList<Span>());
        mEnd = std::exchange(other.mEnd, 0);
        return *this;
    }

    qsizetype size() const { return mSpans.size(); }
    QStringView operator[](qsizetype i) const { return View(mSpans[i]); }
    const QString& Text() const { return mText; }

    void Append(QStringView name) {
        mText += name;
        Close();
    }
    // The text, to append the next name to in place; Close ends that name
    // at the text's end.
    QString& OpenText() { return mText; }
    void Close();
    // Room for this many units in this many names.
    void Reserve(qsizetype units, qsizetype names) {
        mText.reserve(units);
        mSpans.reserve(names);
    }
    // Empties the names and keeps the memory, for the next folder; a text
    // shared with another owner by then stays theirs.
    void Clear();
    // Empties the names and gives their memory back.
    void Release();
    // Gives back the room grown beyond the names, for a list kept long.
    void Squeeze();
    // Orders the names by less(a, b) on their texts, stably (a merge sort
    // asks less the fewest times); the text stays as it is.
    template <typename Less>
    void Sort(Less less) {
        std::stable_sort(mSpans.begin(), mSpans.end(),
                         [&](const Span& a, const Span& b) { return less(View(a), View(b)); });
    }

private:
    struct Span {
        quint32 start;
        quint32 length;
    };
    QStringView View(const Span& span) const {
        return QStringView(mText).sliced(span.start, span.length);
    }

    // Both grow by realloc, which moves a large one's pages rather than
    // copying them into fresh memory.
    QString mText;
    QList<Span> mSpans;
    quint32 mEnd = 0;  // where the last name ends
};

}  // namespace sorvane
