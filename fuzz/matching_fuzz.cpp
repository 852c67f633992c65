// Fuzzes the pattern engine with random search and replace patterns, modes
// and names. Besides crashes and sanitizer reports it checks that
//  - IsMatch agrees with a plain wildcard matcher written here;
//  - after a match the captures of the tokens, joined in token order, give
//    back the name, and each token covered what it stands for;
//  - MatchAndReplaceFileName builds the name that the row and the captures
//    describe, and leaves the name alone when it must;
//  - the text helpers agree with Qt's own search on the same pieces.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "matching/clsFileString.h"
#include "matching/clsMatching.h"

using sorvane::clsFileString;
using sorvane::clsMatching;
using sorvane::CompareMode;
using sorvane::NameMode;
using sorvane::ReplaceFlag;
using sorvane::ReplaceFlags;

namespace {

[[noreturn]] void fail(const char* what, const QString& search, const QString& replace,
                       const QString& name, int flags) {
    std::fprintf(stderr, "matching_fuzz: %s\n  search '%s' replace '%s' name '%s' flags %d\n", what,
                 search.toUtf8().constData(), replace.toUtf8().constData(),
                 name.toUtf8().constData(), flags);
    std::abort();
}

// Input: one flag byte, then three texts separated by 0xFF. A byte 0xFE
// followed by two bytes is one raw UTF-16 unit (surrogates included); other
// bytes pick from a small alphabet so that patterns and names meet often.
struct Input {
    int flags = 0;
    QString texts[3];
};

Input decode(const std::uint8_t* data, size_t size) {
    static const char16_t alphabet[] = u"*?*?aAbBzZ._-写真ｱŵ[ ";
    constexpr size_t alphabetSize = sizeof(alphabet) / sizeof(alphabet[0]) - 1;
    Input in;
    if (size == 0) return in;
    in.flags = data[0];
    int t = 0;
    for (size_t i = 1; i < size && t < 3; ++i) {
        const std::uint8_t b = data[i];
        if (b == 0xFF) {
            ++t;
        } else if (b == 0xFE && i + 2 < size) {
            in.texts[t].append(QChar(char16_t(data[i + 1] | (data[i + 2] << 8))));
            i += 2;
        } else {
            in.texts[t].append(QChar(alphabet[b % alphabetSize]));
        }
    }
    return in;
}

bool sameUnit(char16_t a, char16_t b, bool text) {
    return text ? clsFileString::FoldUnit(a) == clsFileString::FoldUnit(b) : a == b;
}

// "*" any run, "?" one unit, everything else literal. The usual two-pointer
// walk that returns to the last star; correct for these two wildcards.
bool referenceMatch(QStringView p, QStringView s, bool text) {
    qsizetype pi = 0, si = 0, star = -1, mark = 0;
    while (si < s.size()) {
        if (pi < p.size() && p[pi] == u'*') {
            star = pi++;
            mark = si;
        } else if (pi < p.size() &&
                   (p[pi] == u'?' || sameUnit(p[pi].unicode(), s[si].unicode(), text))) {
            ++pi;
            ++si;
        } else if (star >= 0) {
            pi = star + 1;
            si = ++mark;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == u'*') ++pi;
    return pi == p.size();
}

void checkMatch(clsMatching& m, const QString& search, const QString& replace, const QString& name,
                int flags) {
    const bool whole = (flags & 1) != 0;
    const bool text = (flags & 2) != 0;
    const bool matched = m.IsMatch(name);
    const bool expected =
        !search.isEmpty() &&
        referenceMatch(whole ? search : QStringLiteral("*") + search + QStringLiteral("*"), name,
                       text);
    if (matched != expected)
        fail(expected ? "IsMatch missed a match" : "IsMatch matched wrongly", search, replace, name,
             flags);
    if (search.isEmpty()) {
        if (m.CanMatching() != 1 || !m.GetMatchDec().isEmpty())
            fail("empty search pattern still usable", search, replace, name, flags);
        return;
    }
    const QStringList tokens = m.GetMatchDec();
    if (m.CanMatching() != 0 || tokens.size() < 3 || tokens.join(QString()) != m.MatchPattern())
        fail("token list does not give the pattern", search, replace, name, flags);

    if (matched) {
        const auto& caps = m.Captures();
        if (caps.size() != size_t(tokens.size()))
            fail("capture list size", search, replace, name, flags);
        QString joined;
        qsizetype at = 0;
        for (qsizetype i = 0; i < tokens.size(); ++i) {
            const auto& c = caps[size_t(i)];
            if (c.Start != at || c.Length < 0 || c.Start + c.Length > name.size())
                fail("captures are not consecutive", search, replace, name, flags);
            const QStringView piece = QStringView(name).mid(c.Start, c.Length);
            const QString& tok = tokens[i];
            const bool ok =
                tok == u"*"   ? true
                : tok == u"?" ? c.Length == 1
                              : clsFileString::FileStrComp(
                                    piece, tok, text ? CompareMode::Text : CompareMode::Exact) == 0;
            if (!ok) fail("a token covered the wrong text", search, replace, name, flags);
            joined += piece;
            at += c.Length;
        }
        if (joined != name)
            fail("captures do not give back the name", search, replace, name, flags);
    }

    // The new name is the row with the wildcard entries filled by the captures.
    QString newName = name;
    const bool replaced = m.MatchAndReplaceFileName(newName);
    if (m.CanReplace().testFlag(ReplaceFlag::Unusable)) {
        if (replaced || newName != name)
            fail("unusable replace pattern changed a name", search, replace, name, flags);
        return;
    }
    if (replaced != matched)
        fail("MatchAndReplaceFileName and IsMatch disagree", search, replace, name, flags);
    if (!replaced) {
        if (newName != name)
            fail("a name that did not match was changed", search, replace, name, flags);
        return;
    }
    const QStringList row = m.GetReplaceDec(false);
    if (row.size() != tokens.size())
        fail("row size differs from the token count", search, replace, name, flags);
    QString built;
    for (qsizetype i = 0; i < row.size(); ++i) {
        if (row[i] == u"*" || row[i] == u"?")
            built += QStringView(name).mid(m.Captures()[size_t(i)].Start,
                                           m.Captures()[size_t(i)].Length);
        else
            built += row[i];
    }
    if (built != newName)
        fail("new name differs from row and captures", search, replace, name, flags);
    // A wildcard of the row writes what its search token covered: never at an
    // empty token, whose capture is always "".
    for (qsizetype i = 0; i < row.size(); ++i) {
        if ((row[i] == u"*" || row[i] == u"?") && tokens[i].isEmpty())
            fail("replace wildcard at an empty search token", search, replace, name, flags);
    }
    // Without TwoReadings both readings give the same name.
    if (!m.CanReplace().testFlag(ReplaceFlag::TwoReadings)) {
        const QStringList other = m.GetReplaceDec(true);
        QString second;
        for (qsizetype i = 0; i < other.size(); ++i) {
            if (other[i] == u"*" || other[i] == u"?")
                second += QStringView(name).mid(m.Captures()[size_t(i)].Start,
                                                m.Captures()[size_t(i)].Length);
            else
                second += other[i];
        }
        if (second != newName)
            fail("readings differ without TwoReadings", search, replace, name, flags);
    }
}

void checkTextHelpers(const QString& a, const QString& b) {
    const int exact = clsFileString::FileInStr(1, a, b, CompareMode::Exact);
    const int expected = b.isEmpty() ? 1 : int(a.indexOf(b)) + 1;
    if (exact != expected) fail("FileInStr differs from indexOf", a, b, QString(), 0);
    const int folded = clsFileString::FileInStr(1, a, b, CompareMode::Text);
    const int expectedFolded =
        b.isEmpty() ? 1 : int(clsFileString::FileLCase(a).indexOf(clsFileString::FileLCase(b))) + 1;
    if (folded != expectedFolded)
        fail("FileInStr text mode differs from folded indexOf", a, b, QString(), 1);
    const int cmp = clsFileString::FileStrComp(a, b, CompareMode::Exact);
    const int qcmp = QStringView(a).compare(QStringView(b), Qt::CaseSensitive);
    if (cmp != (qcmp < 0 ? -1 : qcmp > 0 ? 1 : 0))
        fail("FileStrComp differs from compare", a, b, QString(), 0);
    if ((clsFileString::FileStrComp(a, b, CompareMode::Text) == 0) !=
        (clsFileString::FileLCase(a) == clsFileString::FileLCase(b)))
        fail("FileStrComp text mode differs from FileLCase", a, b, QString(), 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size > 2048) return 0;
    const Input in = decode(data, size);
    const QString& search = in.texts[0];
    const QString& replace = in.texts[1];
    const QString& name = in.texts[2];
    const int flags = in.flags;

    clsMatching m;
    m.setCmpMode((flags & 2) != 0 ? CompareMode::Text : CompareMode::Exact);
    // Set the replace pattern first or last: the engine must not care.
    if ((flags & 8) != 0) m.setReplacePattern(replace);
    const NameMode mode = (flags & 1) != 0 ? NameMode::Whole : NameMode::Partial;
    const NameMode other = (flags & 1) != 0 ? NameMode::Partial : NameMode::Whole;
    m.setFileNameMode(mode);
    m.setMatchPattern(search);
    if ((flags & 8) == 0) m.setReplacePattern(replace);
    if ((flags & 4) != 0) m.SetReplacePatternReverse(true);
    // None, unusable, unusable with extra wildcards, or two readings.
    const ReplaceFlags status = m.CanReplace();
    const ReplaceFlags unusable = ReplaceFlag::Unusable;
    if (!search.isEmpty() && status != ReplaceFlags() && status != unusable &&
        status != (unusable | ReplaceFlag::ExtraWildcards) && status != ReplaceFlag::TwoReadings)
        fail("unexpected CanReplace", search, replace, name, flags);
    checkMatch(m, search, replace, name, flags);

    // A mode change and back, and "" then the pattern again, compile the same.
    const QStringList rowBefore = m.GetReplaceDec(false);
    m.setFileNameMode(other);
    checkMatch(m, search, replace, name, flags ^ 1);
    m.setFileNameMode(mode);
    m.setMatchPattern(QString());
    if (m.IsMatch(name)) fail("matched with an empty search pattern", search, replace, name, flags);
    m.setMatchPattern(search);
    if (m.CanReplace() != status) fail("same patterns, other status", search, replace, name, flags);
    // Compiling again goes back to the first reading.
    if (((flags & 4) == 0 || !status.testFlag(ReplaceFlag::TwoReadings)) &&
        !status.testFlag(ReplaceFlag::Unusable) && m.GetReplaceDec(false) != rowBefore)
        fail("same patterns, other row", search, replace, name, flags);
    checkMatch(m, search, replace, name, flags & ~4);

    checkTextHelpers(name, search);
    return 0;
}
