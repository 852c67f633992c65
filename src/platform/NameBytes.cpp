#include "platform/NameBytes.h"

#include <algorithm>
#include <bit>
#include <vector>

#include "platform/NativePath.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace sorvane::name_bytes {

namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at the start of bytes (of size
// left, at least 1), or 0 when none starts there: no overlong form, no
// encoded surrogate, nothing beyond U+10FFFF, none cut short.
int SequenceLength(const unsigned char* bytes, qsizetype left) {
    const unsigned char lead = bytes[0];
    int length = 0;
    // The range the second byte must lie in, which rules out the overlong
    // forms, the surrogates and what lies beyond U+10FFFF.
    unsigned char low = 0x80, high = 0xBF;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (left < length || bytes[1] < low || bytes[1] > high) return 0;
    for (int k = 2; k < length; ++k)
        if (!IsContinuation(bytes[k])) return 0;
    return length;
}

// Appends the character of the valid sequence of length at bytes.
void PutCharacter(const unsigned char* bytes, int length, char16_t*& out) {
    char32_t c = length == 1   ? bytes[0]
                 : length == 2 ? bytes[0] & 0x1F
                 : length == 3 ? bytes[0] & 0x0F
                               : bytes[0] & 0x07;
    for (int k = 1; k < length; ++k) c = (c << 6) | (bytes[k] & 0x3F);
    if (c < 0x10000) {
        *out++ = char16_t(c);
        return;
    }
    c -= 0x10000;
    *out++ = char16_t(0xD800 + (c >> 10));
    *out++ = char16_t(0xDC00 + (c & 0x3FF));
}

// The decoding of a name with a byte that is not valid UTF-8, sequence by
// sequence. Rare: nearly every name is valid and Qt's decoder takes it.
void AppendEscaped(QByteArrayView bytes, QString& text) {
    const qsizetype start = text.size();
    text.resize(start + bytes.size());  // never more units than bytes
    char16_t* const begin = reinterpret_cast<char16_t*>(text.data());
    char16_t* out = begin + start;
    const auto* at = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = at + bytes.size();
    while (at < end) {
        const int length = SequenceLength(at, end - at);
        if (length == 0) {
            *out++ = EscapeOf(*at++);
            continue;
        }
        PutCharacter(at, length, out);
        at += length;
    }
    text.truncate(out - begin);
}

}  // namespace

namespace {

bool IsPlain(char16_t unit, char16_t stop) noexcept {
    return char16_t(unit - 0x20) < 0x5F && unit != stop;
}

// The plain start of text; with out given, its units are also written
// there as bytes (and up to eight more, which the caller writes over).
template <bool kPut>
qsizetype Plain(QStringView text, char16_t stop, char* out) noexcept {
    const char16_t* const units = text.utf16();
    const qsizetype size = text.size();
    qsizetype i = 0;
#if defined(__SSE2__)
    // Eight units at a time; the last eight are tested again where the
    // text is not a multiple of eight long (they all passed, or the first
    // failure found is the first of all).
    constexpr qsizetype kLanes = 8;
    if (size >= kLanes) {
        const __m128i below = _mm_set1_epi16(0x20), above = _mm_set1_epi16(0x7E);
        const __m128i stops = _mm_set1_epi16(short(stop));
        for (;; i += kLanes) {
            const qsizetype at = std::min(i, size - kLanes);
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + at));
            if constexpr (kPut)
                _mm_storel_epi64(reinterpret_cast<__m128i*>(out + at), _mm_packus_epi16(v, v));
            // Signed comparisons: a unit from U+8000 on is below 0x20 too.
            const __m128i bad =
                _mm_or_si128(_mm_or_si128(_mm_cmplt_epi16(v, below), _mm_cmpgt_epi16(v, above)),
                             _mm_cmpeq_epi16(v, stops));
            if (const unsigned mask = unsigned(_mm_movemask_epi8(bad)))
                return at + std::countr_zero(mask) / 2;
            if (at + kLanes == size) return size;
        }
    }
#endif
    for (; i < size && IsPlain(units[i], stop); ++i)
        if constexpr (kPut) out[i] = static_cast<char>(units[i]);
    return i;
}

}  // namespace

qsizetype PlainPrefix(QStringView text, char16_t stop) noexcept {
    return Plain<false>(text, stop, nullptr);
}

qsizetype PutPlain(char* out, QStringView text, char16_t stop) noexcept {
    return Plain<true>(text, stop, out);
}

bool HasEscape(QStringView text) noexcept {
    const char16_t* const units = text.utf16();
    for (qsizetype i = 0; i < text.size(); ++i)
        if (IsEscapeAt(units, i)) return true;
    return false;
}

bool AppendDecoded(QByteArrayView bytes, QString& text) {
    // Plain ASCII, the most names, is text as it stands.
    bool ascii = true;
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    // Qt's decoder drops a byte-order mark at the start, which is part of
    // the name here.
    if (ascii) {
        text += QLatin1StringView(bytes.data(), bytes.size());
    } else if (bytes.isValidUtf8() && !bytes.startsWith("\xEF\xBB\xBF")) {
        text += QString::fromUtf8(bytes);
    } else {
        AppendEscaped(bytes, text);
    }
    return ascii;
}

qsizetype NativeSize(QStringView text) noexcept {
    const char16_t* const units = text.utf16();
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = units[i];
        if (u < 0x80) {
            bytes += 1;
        } else if (u < 0x800) {
            bytes += 2;
        } else if (!IsSurrogate(u)) {
            bytes += 3;
        } else if (IsHighSurrogate(u) && i + 1 < text.size() && IsLowSurrogate(units[i + 1])) {
            bytes += 4;
            ++i;
        } else {
            bytes += IsEscapeAt(units, i) ? 1 : 3;
        }
    }
    return bytes;
}

bool MakeCanonical(QString& text) {
    QByteArray bytes;
    if (!native_path::ToNative(text, &bytes)) return false;
    if (!HasEscape(text)) return true;
    QString canonical;
    AppendDecoded(bytes, canonical);
    text = std::move(canonical);
    return true;
}

namespace {

// Surrogates of a name: its byte escapes, and its pairs as one number each;
// false when it holds another lone surrogate, which no piece of a name
// read from disk holds.
bool TakeSurrogates(QStringView text, std::vector<char16_t>& escapes,
                    std::vector<char32_t>& pairs) {
    const char16_t* const units = text.utf16();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = units[i];
        if (!IsSurrogate(u)) continue;
        if (IsHighSurrogate(u) && i + 1 < text.size() && IsLowSurrogate(units[i + 1])) {
            pairs.push_back(char32_t(u) << 16 | units[++i]);
        } else if (IsEscapeAt(units, i)) {
            escapes.push_back(u);
        } else {
            return false;
        }
    }
    return true;
}

// Whether every item of part is in whole, as often as it is there.
template <typename T>
bool Within(std::vector<T>& part, std::vector<T>& whole) {
    std::sort(part.begin(), part.end());
    std::sort(whole.begin(), whole.end());
    return std::includes(whole.begin(), whole.end(), part.begin(), part.end());
}

}  // namespace

bool SurrogatesComeFrom(QStringView newName, QStringView oldName, QStringView words) {
    std::vector<char16_t> escapes, sourceEscapes;
    std::vector<char32_t> pairs, sourcePairs;
    if (!TakeSurrogates(newName, escapes, pairs)) return false;
    if (escapes.empty() && pairs.empty()) return true;
    // The pieces of a name read from disk, and the words, hold none.
    TakeSurrogates(oldName, sourceEscapes, sourcePairs);
    TakeSurrogates(words, sourceEscapes, sourcePairs);
    return Within(escapes, sourceEscapes) && Within(pairs, sourcePairs);
}

}  // namespace sorvane::name_bytes
