#pragma once

#include <QFlags>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <vector>

#include "matching/CompareMode.h"

namespace sorvane {

// How much of a name the search pattern covers (FileNameMode): in part mode
// it may match anywhere in the name, in whole mode it must match all of it.
// The values are the ones the pattern engine has always been given.
enum class NameMode : short {
    Partial = 0,
    Whole = -1,
};

// Why a replace pattern cannot be used as it is (CanReplace).
enum class ReplaceFlag {
    // The replace pattern cannot be used: no search pattern, or the
    // alignment of the two patterns failed.
    Unusable = 1,
    // Comes with Unusable: more "*" or more "?" than the search pattern.
    ExtraWildcards = 2,
    // Usable, but the two readings of the pattern (aligned from the left and
    // from the right) give different names.
    TwoReadings = 4,
};
Q_DECLARE_FLAGS(ReplaceFlags, ReplaceFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(ReplaceFlags)

// The pattern object: a search pattern ("検索語") and optionally a replace
// pattern ("置換語"), compiled once when set, then used to test names and
// build new names.
//
// The pattern language has two wildcards: "*" (any run of characters,
// including none) and "?" (exactly one character). Everything else is a
// literal. A character is one UTF-16 code unit. In part mode
// (NameMode::Partial) the pattern may match anywhere in the name; in whole mode
// (NameMode::Whole) it must match the whole name.
//
// Token lists and rows are returned as QStringList: entry 1 of a token list
// is item 0 of the list, entry n is item n-1.
class clsMatching {
public:
    // How literals are compared. May be changed at any time; it takes effect
    // at the next match.
    CompareMode CmpMode() const { return mCmpMode; }
    void setCmpMode(CompareMode mode) { mCmpMode = mode; }

    NameMode FileNameMode() const { return mFileNameMode; }
    // Stores the mode and sets the search pattern again, which recompiles it
    // when the mode differs from the one it was compiled for.
    void setFileNameMode(NameMode value);

    // Empty when the replace pattern can be used and reads only one way.
    ReplaceFlags CanReplace() const {
        return mCannotMatch != 0 ? mReplaceStatus | ReplaceFlag::Unusable : mReplaceStatus;
    }
    // 1 while there is no usable search pattern, else 0.
    int CanMatching() const { return mCannotMatch; }

    // The search pattern without the stars that part mode adds.
    QString MatchPatternDisp() const { return mMatchDisp; }
    // The normalised search pattern (for example "*abc*" for "abc" in part mode).
    QString MatchPattern() const { return mMatchNormal; }
    // Compiles p. "" makes every name fail but keeps MatchPattern() and
    // MatchPatternDisp() as they were. Setting the same text again in the
    // same mode does nothing. Re-applies the replace pattern last given.
    void setMatchPattern(const QString& p);

    // The replace pattern exactly as given.
    QString ReplacePatternDisp() const { return mReplaceTyped; }
    // The normalised replace pattern.
    QString ReplacePattern() const { return mReplaceNormal; }
    void setReplacePattern(const QString& v);

    // Only while CanReplace() has TwoReadings: true builds names with the second
    // reading (aligned from the right), false with the first one.
    void SetReplacePatternReverse(bool IsRev);

    // True when FileName matches the search pattern. Leaves the captures of
    // the match in Captures().
    bool IsMatch(QStringView FileName);
    bool IsMatch(const QString& FileName) { return IsMatch(QStringView(FileName)); }

    // False (name unchanged) when CanReplace() has Unusable or the name does not
    // match; otherwise replaces FileName by the new name and returns true.
    bool MatchAndReplaceFileName(QString& FileName);
    // The new name of name appended to text when name matches, text left as
    // it was otherwise: MatchAndReplaceFileName without a string of its
    // own. name must not lie in text.
    bool AppendReplacedName(QStringView name, QString& text);

    // The search token list (empty while there is no search pattern).
    QStringList GetMatchDec() const;
    // Reverse false: the row that builds names; Reverse true: the second
    // reading in left-to-right order. Item i belongs to search token i. After
    // an unusable replace pattern these are the rows of the last usable one.
    QStringList GetReplaceDec(bool Reverse) const;

    // What each search token covered in the last name that matched: 0-based
    // start and length in that name, item i for search token i. Meaningful
    // only after a successful match.
    struct Capture {
        qsizetype Start = 0;
        qsizetype Length = 0;
    };
    const std::vector<Capture>& Captures() const { return mCaptures; }

private:
    enum class TokKind : std::uint8_t { Empty, Star, Question, Literal };
    struct Tok {
        TokKind Kind;
        std::int32_t Off;  // into mLitExact / mLitFolded
        std::int32_t Len;
    };
    struct Seg {
        std::int32_t First;  // 0-based token indices, First > Last for an empty segment
        std::int32_t Last;
        std::int32_t Len;
        // The first literal character and its offset in the segment (-1: none),
        // so that the search for a middle segment skips places that cannot match.
        std::int32_t LeadOff;
        char16_t Lead;
        char16_t LeadFolded;
    };
    // One entry of the row that builds names: a piece of mRowText, or the
    // capture of the search token at the same index.
    struct RowPiece {
        bool UseCapture;
        std::int32_t Off;
        std::int32_t Len;
    };

    void compileSearch(const QString& p);
    void buildRowPieces();
    bool literalAt(const Tok& tok, const char16_t* at, bool fold) const;
    bool matchSegment(const Seg& seg, const char16_t* name, qsizetype q, bool fold);
    bool matchEnds(QStringView name, bool fold);
    static qsizetype findLead(const Seg& seg, const char16_t* name, qsizetype pos, qsizetype last,
                              bool fold);
    bool matchName(QStringView name);

    CompareMode mCmpMode = CompareMode::Exact;
    NameMode mFileNameMode = NameMode::Partial;
    NameMode mCompiledMode = NameMode::Partial;
    int mCannotMatch = 1;
    ReplaceFlags mReplaceStatus = ReplaceFlag::Unusable;

    QString mMatchNormal;
    QString mMatchTyped;
    QString mMatchDisp;
    QStringList mTokens;
    QStringList mTokensRev;
    int mTokenCount = 0;  // 0 while there is no search pattern

    std::vector<Tok> mToks;
    std::vector<Seg> mSegs;
    QString mLitExact;
    QString mLitFolded;
    qsizetype mMinLen = 0;
    // The pattern is one "*" with at most a literal on either side ("*.jpg",
    // "IMG*", "a*z"): a name is tested at its two ends only.
    bool mEndsOnly = false;
    // The pattern ends in a literal, whose last unit (as it is, and folded)
    // every name it matches ends in.
    bool mEndsInLiteral = false;
    char16_t mLastExact = 0;
    char16_t mLastFolded = 0;
    std::vector<Capture> mCaptures;

    QString mReplaceTyped;
    QString mReplaceNormal;
    QStringList mRowFirst;
    QStringList mRowSecond;  // right-to-left: item i belongs to search token n-1-i
    QStringList mRowActive;
    std::vector<RowPiece> mRowPieces;
    QString mRowText;
};

}  // namespace sorvane
