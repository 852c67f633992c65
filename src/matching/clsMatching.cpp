#include "matching/clsMatching.h"

#include <algorithm>
#include <cstring>

#include "matching/clsFileString.h"

namespace sorvane {

namespace {

const QString kStar = QStringLiteral("*");
const QString kQuestion = QStringLiteral("?");

bool isWild(const QString& t) {
    return t == kStar || t == kQuestion;
}

// Every "*" and "?" becomes a token of its own, every run of other
// characters one literal token; no empty tokens.
QStringList tokenize(QStringView p) {
    QStringList tokens;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < p.size(); ++i) {
        const QChar c = p[i];
        if (c != u'*' && c != u'?') continue;
        if (i > runStart) tokens.append(p.mid(runStart, i - runStart).toString());
        tokens.append(c == u'*' ? kStar : kQuestion);
        runStart = i + 1;
    }
    if (p.size() > runStart) tokens.append(p.mid(runStart).toString());
    return tokens;
}

// In every run of adjacent wildcards only the first "*" survives; the others
// become empty tokens.
void collapseStars(QStringList& tokens) {
    bool starSeen = false;
    for (QString& t : tokens) {
        if (t == kStar) {
            if (starSeen)
                t.clear();
            else
                starSeen = true;
        } else if (t != kQuestion) {
            starSeen = false;
        }
    }
}

// Part mode: the star of a leading or trailing run of wildcards goes to the
// outside, so that "*??*" reads as "??*".
void moveOuterStars(QStringList& tokens) {
    const qsizetype n = tokens.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (tokens[i] == kStar) {
            tokens.swapItemsAt(i, 0);
            break;
        }
        if (!tokens[i].isEmpty() && tokens[i] != kQuestion) break;
    }
    for (qsizetype i = n - 1; i >= 0; --i) {
        if (tokens[i] == kStar) {
            tokens.swapItemsAt(i, n - 1);
            break;
        }
        if (!tokens[i].isEmpty() && tokens[i] != kQuestion) break;
    }
}

// The token list: an empty token at both ends and between wildcards
// (except "*" directly followed by "*"), where replacement text may go.
QStringList buildList(const QStringList& tokens) {
    QStringList list;
    list.reserve(tokens.size() * 2 + 2);
    list.append(QString());
    for (const QString& t : tokens) {
        if (t.isEmpty()) continue;
        const QString& prev = list.constLast();
        if ((isWild(prev) && t == kQuestion) || (prev == kQuestion && t == kStar))
            list.append(QString());
        list.append(t);
    }
    list.append(QString());
    return list;
}

QStringList reversed(const QStringList& list) {
    QStringList r;
    r.reserve(list.size());
    for (qsizetype i = list.size() - 1; i >= 0; --i) r.append(list[i]);
    return r;
}

bool onlyWildcards(const QString& s) {
    for (QChar c : s) {
        if (c != u'*' && c != u'?') return false;
    }
    return true;
}

// Aligns the replace token list R with the search token list S. Returns none
// when it is usable, else Unusable, with ExtraWildcards when R has too many;
// on success row holds, for every search position, the replace token written
// there. A failure before the placing of the rest leaves row as it was; one
// during it leaves empties.
ReplaceFlags alignReplace(const QStringList& R, const QStringList& S, int cannotMatch,
                          QStringList& row) {
    constexpr ReplaceFlags kFailed = ReplaceFlag::Unusable;
    if (cannotMatch != 0) return kFailed;
    const int nr = int(R.size());
    const int ns = int(S.size());
    const int rStars = int(R.count(kStar)), sStars = int(S.count(kStar));
    const int rQuest = int(R.count(kQuestion)), sQuest = int(S.count(kQuestion));
    if (rStars > sStars || rQuest > sQuest) return kFailed | ReplaceFlag::ExtraWildcards;

    // 1-based, 0 = not linked.
    std::vector<int> rLink(size_t(nr) + 2, 0), sLink(size_t(ns) + 2, 0);
    auto r = [&R](int i) -> const QString& { return R[i - 1]; };
    auto s = [&S](int j) -> const QString& { return S[j - 1]; };
    auto link = [&](int i, int j) {
        rLink[size_t(i)] = j;
        sLink[size_t(j)] = i;
    };
    const int m = std::min(nr, ns);

    int front = 0;
    for (int i = 2; i <= m - 1 && r(i) == s(i); ++i) {
        link(i, i);
        front = i;
    }
    int back = 0;
    for (int i = 2; i <= m - front && r(nr - i + 1) == s(ns - i + 1); ++i) {
        link(nr - i + 1, ns - i + 1);
        back = i;
    }
    // A changed token beside the common part still takes the place of the
    // search token it contains ("ab" -> "AB", or a text put at an empty token).
    if (front + back < m) {
        if (front != 0 && rLink[size_t(front + 1)] == 0 &&
            clsFileString::FileInStr(1, r(front + 1), s(front + 1), CompareMode::Text) != 0)
            link(front + 1, front + 1);
        if (back != 0 && rLink[size_t(nr - back)] == 0 &&
            clsFileString::FileInStr(1, r(nr - back), s(ns - back), CompareMode::Text) != 0)
            link(nr - back, ns - back);
    }

    auto firstLinked = [&](int from) {
        for (int p = from; p <= nr; ++p) {
            if (rLink[size_t(p)] != 0) return p;
        }
        return nr + 1;
    };
    auto limitOf = [&](int next) { return next > nr ? ns + 1 : rLink[size_t(next)]; };
    auto pass = [&](auto isKind) {
        int last = 0;
        int next = firstLinked(1);
        int limit = limitOf(next);
        for (int i = 2; i <= nr - 1; ++i) {
            const QString& t = r(i);
            if (!isKind(t) || t.isEmpty() || rLink[size_t(i)] != 0) {
                last = std::max(last, rLink[size_t(i)]);
                continue;
            }
            if (i >= next) {
                next = firstLinked(i + 1);
                limit = limitOf(next);
            }
            int from = last + 1;
            for (;;) {
                int j = from;
                while (j <= ns && clsFileString::FileStrComp(s(j), t, CompareMode::Text) != 0) ++j;
                if (j > ns || j > limit) break;
                if (sLink[size_t(j)] == 0 && j < limit) {
                    link(i, j);
                    last = j;
                    break;
                }
                from = j + 1;
            }
        }
    };
    if (rStars == sStars) pass([](const QString& t) { return t == kStar; });
    if (rQuest == sQuest) pass([](const QString& t) { return t == kQuestion; });
    pass([](const QString& t) { return !isWild(t); });
    pass([](const QString& t) { return isWild(t); });

    // The links must run strictly upwards on both sides and agree.
    int prev = 0;
    for (int i = 1; i <= nr; ++i) {
        const int j = rLink[size_t(i)];
        if (j == 0) continue;
        if (j > ns || sLink[size_t(j)] != i || j <= prev) return kFailed;
        prev = j;
    }
    prev = 0;
    for (int j = 1; j <= ns; ++j) {
        const int i = sLink[size_t(j)];
        if (i == 0) continue;
        if (i > nr || rLink[size_t(i)] != j || i <= prev) return kFailed;
        prev = i;
    }

    // Every unlinked replace token takes the next free search position.
    row = QStringList();
    row.resize(ns);
    int k = 1;
    for (int i = 2; i <= nr - 1; ++i) {
        if (rLink[size_t(i)] != 0) {
            k = rLink[size_t(i)] + 1;
            continue;
        }
        if (k > ns || sLink[size_t(k)] != 0) return kFailed;
        link(i, k);
        ++k;
    }
    // A replace wildcard stands for text that a search token covered. Put at
    // an empty search token (whose capture is always "") it would write
    // nothing and drop that part of the name without a word, so such an
    // alignment is not usable.
    for (int i = 2; i <= nr - 1; ++i) {
        if (isWild(r(i)) && s(rLink[size_t(i)]).isEmpty()) return kFailed;
    }
    for (int i = 2; i <= nr - 1; ++i) row[rLink[size_t(i)] - 1] = r(i);
    return {};
}

}  // namespace

void clsMatching::setFileNameMode(NameMode value) {
    mFileNameMode = value;
    const QString typed = mMatchTyped;
    setMatchPattern(typed);
}

void clsMatching::setMatchPattern(const QString& p) {
    if (p.isEmpty()) {
        mMatchTyped.clear();
        mCannotMatch = 1;
        mCompiledMode = mFileNameMode;
        mTokenCount = 0;
        return;
    }
    if (p == mMatchTyped && mFileNameMode == mCompiledMode) return;
    mMatchTyped = p;
    mCannotMatch = 1;
    mCompiledMode = mFileNameMode;
    compileSearch(p);
    mCannotMatch = 0;
    const QString typedReplace = mReplaceTyped;
    setReplacePattern(typedReplace);
}

void clsMatching::compileSearch(const QString& p) {
    const bool whole = mCompiledMode != NameMode::Partial;
    const QString wrapped = whole ? p : kStar + p + kStar;
    QStringList tokens = tokenize(wrapped);
    collapseStars(tokens);
    if (!whole) moveOuterStars(tokens);
    mTokens = buildList(tokens);
    mTokensRev = reversed(mTokens);
    mTokenCount = int(mTokens.size());
    mMatchNormal = mTokens.join(QString());

    // The display form drops the stars that part mode added.
    const QString& t = mMatchNormal;
    if (whole) {
        mMatchDisp = t;
    } else if (t != QStringLiteral("**") && t.size() > 1) {
        mMatchDisp = t;
        if (mMatchDisp.startsWith(u'*') && !p.startsWith(u'*')) mMatchDisp.remove(0, 1);
        if (mMatchDisp.endsWith(u'*') && !p.endsWith(u'*')) mMatchDisp.chop(1);
    } else {
        mMatchDisp = p.isEmpty() ? QString() : t;
    }

    // Compiled form: kinds and literal pieces (exact and folded once here, so
    // that matching a name compares raw code units).
    const int n = mTokenCount;
    mToks.clear();
    mToks.reserve(size_t(n));
    mLitExact.clear();
    for (const QString& tok : std::as_const(mTokens)) {
        Tok k{TokKind::Literal, int(mLitExact.size()), int(tok.size())};
        if (tok.isEmpty())
            k.Kind = TokKind::Empty;
        else if (tok == kStar)
            k.Kind = TokKind::Star;
        else if (tok == kQuestion)
            k.Kind = TokKind::Question;
        else
            mLitExact += tok;
        mToks.push_back(k);
    }
    mLitFolded = clsFileString::FileLCase(mLitExact);

    // Segments between the stars, 0-based token indices; the last one stops
    // before the closing empty token.
    mSegs.clear();
    mMinLen = 0;
    int first = 1;
    auto closeSegment = [this](int a, int b) {
        Seg seg{a, b, 0, -1, 0, 0};
        for (int i = a; i <= b; ++i) {
            const Tok& tok = mToks[size_t(i)];
            if (tok.Kind == TokKind::Literal && seg.LeadOff < 0) {
                seg.LeadOff = seg.Len;
                seg.Lead = mLitExact.at(tok.Off).unicode();
                seg.LeadFolded = mLitFolded.at(tok.Off).unicode();
            }
            seg.Len += tok.Kind == TokKind::Question ? 1 : tok.Len;
        }
        mSegs.push_back(seg);
        mMinLen += seg.Len;
    };
    for (int i = 1; i < n; ++i) {
        if (mToks[size_t(i)].Kind == TokKind::Star) {
            closeSegment(first, i - 1);
            first = i + 1;
        }
    }
    closeSegment(first, n - 2);
    mCaptures.assign(size_t(n), Capture{});
    const auto bare = [this](const Seg& seg) {
        return seg.First > seg.Last ||
               (seg.First == seg.Last && mToks[size_t(seg.First)].Kind == TokKind::Literal);
    };
    mEndsOnly = mSegs.size() == 2 && bare(mSegs[0]) && bare(mSegs[1]);
    // The last token but the closing empty one.
    mEndsInLiteral = n > 2 && mToks[size_t(n - 2)].Kind == TokKind::Literal;
    if (mEndsInLiteral) {
        const Tok& last = mToks[size_t(n - 2)];
        mLastExact = mLitExact.at(last.Off + last.Len - 1).unicode();
        mLastFolded = mLitFolded.at(last.Off + last.Len - 1).unicode();
    }
}

bool clsMatching::literalAt(const Tok& tok, const char16_t* at, bool fold) const {
    if (!fold)
        return std::memcmp(at, mLitExact.constData() + tok.Off,
                           size_t(tok.Len) * sizeof(char16_t)) == 0;
    const auto* folded = reinterpret_cast<const char16_t*>(mLitFolded.constData()) + tok.Off;
    for (int i = 0; i < tok.Len; ++i) {
        if (clsFileString::FoldUnit(at[i]) != folded[i]) return false;
    }
    return true;
}

// A literal at the start, the star, a literal at the end: what matchName
// finds for this shape, without its walk over the segments.
bool clsMatching::matchEnds(QStringView name, bool fold) {
    const qsizetype L = name.size();
    const Seg& head = mSegs[0];
    const Seg& tail = mSegs[1];
    if (L < head.Len + tail.Len) return false;
    const char16_t* s = name.utf16();
    if (head.Len > 0 && !literalAt(mToks[size_t(head.First)], s, fold)) return false;
    if (tail.Len > 0 && !literalAt(mToks[size_t(tail.First)], s + L - tail.Len, fold)) return false;
    mCaptures[0] = {0, 0};
    mCaptures[mToks.size() - 1] = {L, 0};
    if (head.Len > 0) mCaptures[size_t(head.First)] = {0, head.Len};
    if (tail.Len > 0) mCaptures[size_t(tail.First)] = {L - tail.Len, tail.Len};
    mCaptures[size_t(tail.First - 1)] = {head.Len, L - head.Len - tail.Len};
    return true;
}

bool clsMatching::matchSegment(const Seg& seg, const char16_t* name, qsizetype q, bool fold) {
    for (int t = seg.First; t <= seg.Last; ++t) {
        const Tok& tok = mToks[size_t(t)];
        Capture& cap = mCaptures[size_t(t)];
        switch (tok.Kind) {
            case TokKind::Empty:
                cap = {q, 0};
                break;
            case TokKind::Question:
                cap = {q, 1};
                ++q;
                break;
            case TokKind::Literal: {
                cap = {q, tok.Len};
                if (!literalAt(tok, name + q, fold)) return false;
                q += tok.Len;
                break;
            }
            case TokKind::Star:
                break;  // never inside a segment
        }
    }
    return true;
}

// The first start position p in pos..last at which the segment's first
// literal character is in place; -1 if there is none.
qsizetype clsMatching::findLead(const Seg& seg, const char16_t* name, qsizetype pos, qsizetype last,
                                bool fold) {
    const char16_t* base = name + seg.LeadOff;
    if (fold && seg.LeadFolded >= u'a' && seg.LeadFolded <= u'z') {
        // A letter: either case may stand in the name.
        const char16_t upper = static_cast<char16_t>(seg.LeadFolded - 32);
        for (qsizetype p = pos; p <= last; ++p) {
            if (base[p] == seg.LeadFolded || base[p] == upper) return p;
        }
        return -1;
    }
    // Exact, or text mode with a character that folding leaves alone.
    const char16_t wanted = fold ? seg.LeadFolded : seg.Lead;
    const qsizetype at = QStringView(base + pos, last - pos + 1).indexOf(QChar(wanted));
    return at < 0 ? -1 : pos + at;
}

bool clsMatching::matchName(QStringView name) {
    const bool fold = mCmpMode != CompareMode::Exact;
    // The last unit first: it turns away nearly every name that an
    // extension ("*.exe") does not match, at one comparison.
    if (mEndsInLiteral) {
        if (name.isEmpty()) return false;
        const char16_t last = name.back().unicode();
        if (fold ? clsFileString::FoldUnit(last) != mLastFolded : last != mLastExact) return false;
    }
    if (mEndsOnly) return matchEnds(name, fold);
    const qsizetype L = name.size();
    qsizetype slack = L - mMinLen;
    if (slack < 0) return false;
    const char16_t* s = name.utf16();
    const size_t n = mToks.size();
    mCaptures[0] = {0, 0};
    mCaptures[n - 1] = {L, 0};
    if (mSegs.size() == 1) return slack == 0 && matchSegment(mSegs[0], s, 0, fold);

    const Seg& lastSeg = mSegs.back();
    if (!matchSegment(lastSeg, s, L - lastSeg.Len, fold)) return false;
    if (!matchSegment(mSegs[0], s, 0, fold)) return false;
    qsizetype pos = mSegs[0].Len;
    qsizetype prev = pos;
    // Leftmost placement of every middle segment: segments have fixed
    // lengths, so this finds a match whenever there is one.
    for (size_t k = 1; k + 1 < mSegs.size(); ++k) {
        const Seg& seg = mSegs[k];
        for (;;) {
            if (seg.LeadOff >= 0) {
                const qsizetype p = findLead(seg, s, pos, pos + slack, fold);
                if (p < 0) return false;
                slack -= p - pos;
                pos = p;
            }
            if (matchSegment(seg, s, pos, fold)) break;
            ++pos;
            if (--slack < 0) return false;
        }
        mCaptures[size_t(seg.First - 1)] = {prev, pos - prev};
        pos += seg.Len;
        prev = pos;
    }
    mCaptures[size_t(lastSeg.First - 1)] = {pos, slack};
    return true;
}

bool clsMatching::IsMatch(QStringView FileName) {
    if (mCannotMatch != 0) return false;
    return matchName(FileName);
}

void clsMatching::setReplacePattern(const QString& v) {
    mReplaceTyped = v;
    mReplaceStatus = ReplaceFlag::Unusable;
    const int n = mTokenCount;
    if (n < 3) {
        mReplaceNormal = v;
        return;
    }
    const bool whole = mCompiledMode != NameMode::Partial;
    if (v.isEmpty() && whole) {
        mReplaceNormal.clear();
        QStringList empties;
        empties.resize(n);
        mRowFirst = empties;
        mRowSecond = empties;
        mRowActive = empties;
        mReplaceStatus = {};
        buildRowPieces();
        return;
    }
    QString r = v;
    const QString& s = mMatchTyped;
    if (!whole) {
        // Match the stars that part mode put around the search pattern.
        r = kStar + v + kStar;
        if (onlyWildcards(s) && s.startsWith(u'?')) r.remove(0, 1);
        if (s.startsWith(u'*')) r.remove(0, 1);
        if (s.endsWith(u'*')) r.chop(1);
    }
    const QStringList R = buildList(tokenize(r));
    mReplaceNormal = v.isEmpty() ? QString() : R.join(QString());

    const ReplaceFlags s1 = alignReplace(R, mTokens, mCannotMatch, mRowFirst);
    const ReplaceFlags s2 = alignReplace(reversed(R), mTokensRev, mCannotMatch, mRowSecond);
    mReplaceStatus = s1 | s2;
    if (clsFileString::GetSQNumText(v, kStar, CompareMode::Exact) >
            clsFileString::GetSQNumText(s, kStar, CompareMode::Exact) ||
        clsFileString::GetSQNumText(v, kQuestion, CompareMode::Exact) >
            clsFileString::GetSQNumText(s, kQuestion, CompareMode::Exact))
        mReplaceStatus = ReplaceFlag::Unusable | ReplaceFlag::ExtraWildcards;
    if (CanReplace().testFlag(ReplaceFlag::Unusable)) return;
    mRowActive = mRowFirst;
    for (int i = 2; i <= n - 1; ++i) {
        const QString& e = mRowFirst[i - 1];
        if (isWild(e) && e != mRowSecond[n - i]) mReplaceStatus |= ReplaceFlag::TwoReadings;
    }
    buildRowPieces();
}

void clsMatching::buildRowPieces() {
    mRowPieces.clear();
    mRowPieces.reserve(size_t(mRowActive.size()));
    mRowText.clear();
    for (const QString& e : std::as_const(mRowActive)) {
        if (isWild(e)) {
            mRowPieces.push_back({true, 0, 0});
        } else {
            mRowPieces.push_back({false, int(mRowText.size()), int(e.size())});
            mRowText += e;
        }
    }
}

void clsMatching::SetReplacePatternReverse(bool IsRev) {
    if (!CanReplace().testFlag(ReplaceFlag::TwoReadings)) return;
    mRowActive = IsRev ? reversed(mRowSecond) : mRowFirst;
    buildRowPieces();
}

bool clsMatching::MatchAndReplaceFileName(QString& FileName) {
    QString result;
    if (!AppendReplacedName(FileName, result)) return false;
    FileName = std::move(result);
    return true;
}

bool clsMatching::AppendReplacedName(QStringView name, QString& text) {
    if (CanReplace().testFlag(ReplaceFlag::Unusable)) return false;
    // A usable pattern always has a row of one entry per search token.
    if (mRowPieces.size() != mToks.size()) return false;
    if (!matchName(name)) return false;
    const size_t n = mToks.size();
    qsizetype total = 0;
    for (size_t i = 0; i < n; ++i)
        total += mRowPieces[i].UseCapture ? mCaptures[i].Length : mRowPieces[i].Len;
    const qsizetype start = text.size();
    text.resize(start + total);
    QChar* out = text.data() + start;
    const QChar* from = name.data();
    const QChar* row = mRowText.constData();
    for (size_t i = 0; i < n; ++i) {
        const RowPiece& piece = mRowPieces[i];
        const QChar* at = piece.UseCapture ? from + mCaptures[i].Start : row + piece.Off;
        const qsizetype len = piece.UseCapture ? mCaptures[i].Length : piece.Len;
        std::copy_n(at, len, out);
        out += len;
    }
    return true;
}

QStringList clsMatching::GetMatchDec() const {
    return mTokens.mid(0, mTokenCount);
}

QStringList clsMatching::GetReplaceDec(bool Reverse) const {
    return Reverse ? reversed(mRowSecond) : mRowActive;
}

}  // namespace sorvane
