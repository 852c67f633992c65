#include "platform/PackedNames.h"

#include <limits>
#include <new>

namespace sorvane {

void PackedNames::Close() {
    // The spans count in 32 bits: a text beyond them is refused as memory
    // that cannot be had, not wrapped around.
    if (quint64(mText.size()) > std::numeric_limits<quint32>::max()) throw std::bad_alloc();
    const quint32 end = quint32(mText.size());
    mSpans.append(Span{mEnd, end - mEnd});
    mEnd = end;
}

void PackedNames::Clear() {
    mText.resize(0);
    mSpans.clear();
    mEnd = 0;
}

void PackedNames::Release() {
    mText = QString();
    mSpans = QList<Span>();
    mEnd = 0;
}

void PackedNames::Squeeze() {
    mText.squeeze();
    mSpans.squeeze();
}

}  // namespace sorvane
