#include "matching/clsFileString.h"

#include <algorithm>
#include <cstring>

namespace sorvane {

bool clsFileString::EqualUnits(const char16_t* a, const char16_t* b, qsizetype len,
                               CompareMode Mode) noexcept {
    if (Mode == CompareMode::Exact)
        return len == 0 || std::memcmp(a, b, size_t(len) * sizeof(char16_t)) == 0;
    for (qsizetype i = 0; i < len; ++i) {
        if (FoldUnit(a[i]) != FoldUnit(b[i])) return false;
    }
    return true;
}

int clsFileString::FileStrComp(QStringView st1, QStringView st2, CompareMode Mode) {
    const qsizetype m = std::min(st1.size(), st2.size());
    const char16_t* a = st1.utf16();
    const char16_t* b = st2.utf16();
    for (qsizetype i = 0; i < m; ++i) {
        const char16_t x = Mode == CompareMode::Exact ? a[i] : FoldUnit(a[i]);
        const char16_t y = Mode == CompareMode::Exact ? b[i] : FoldUnit(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    if (st1.size() == st2.size()) return 0;
    return st1.size() < st2.size() ? -1 : 1;
}

int clsFileString::FileInStr(int Start, QStringView st1, QStringView st2, CompareMode Mode) {
    if (st2.isEmpty()) return Start;
    const qsizetype len = st2.size();
    const qsizetype last = st1.size() + 1 - len;  // last 1-based start that fits
    for (qsizetype b = std::max(Start, 1); b <= last; ++b) {
        if (EqualUnits(st1.utf16() + b - 1, st2.utf16(), len, Mode)) return int(b);
    }
    return 0;
}

int clsFileString::FileInStrR(int Start, QStringView st1, QStringView st2, CompareMode Mode) {
    if (st2.isEmpty()) return Start;
    const qsizetype len = st2.size();
    // A piece that runs past the end of st1 is shorter than st2 and cannot be equal.
    const qsizetype first = std::min<qsizetype>(Start, st1.size() + 1 - len);
    for (qsizetype b = first; b >= 1; --b) {
        if (EqualUnits(st1.utf16() + b - 1, st2.utf16(), len, Mode)) return int(b + len - 1);
    }
    return 0;
}

QString clsFileString::FileLCase(QStringView FName) {
    QString result(FName.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(result.data());
    const char16_t* in = FName.utf16();
    for (qsizetype i = 0; i < FName.size(); ++i) out[i] = FoldUnit(in[i]);
    return result;
}

int clsFileString::GetSQNumText(QStringView text, QStringView part, CompareMode Mode) {
    if (part.isEmpty()) return 0;
    const qsizetype len = part.size();
    int count = 0;
    qsizetype i = 0;
    while (i + len <= text.size()) {
        if (EqualUnits(text.utf16() + i, part.utf16(), len, Mode)) {
            ++count;
            i += len;
        } else {
            ++i;
        }
    }
    return count;
}

}  // namespace sorvane
