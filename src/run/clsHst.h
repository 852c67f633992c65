#pragma once

#include <QHash>
#include <QSet>
#include <QString>

#include "platform/mdlTools.h"
#include "ports/HistoryButtonsPort.h"

namespace sorvane {

// The back/forward history of the folders shown: a ring of Size slots whose
// live range runs from the oldest to the newest folder and holds the folder
// shown now. Folders that vanished are replaced by their nearest existing
// ancestor when they are reached, or skipped as dead. Folder texts that differ
// only in the letter case of A to Z are the same folder.
class clsHst {
public:
    static constexpr int kBack = 0;
    static constexpr int kForward = 1;

    // tools finds the nearest existing folder; it must outlive the history.
    explicit clsHst(const mdlTools& tools, int size = 100);

    int Size() const { return mSize; }
    // Sets the capacity (at least 1) and empties the history.
    void SetSize(int hs);

    // The buttons to enable and disable from now on; nullptr for none. Their
    // current state is left as it is.
    void SetButtons(HistoryButtonsPort* cmd) { mButtons = cmd; }

    // Records the folder now shown; the same folder as the current one adds
    // nothing, so the call after a step back or forward is harmless.
    void AddHst(const QString& hstPathNew);
    // Steps back (kBack) or forward (kForward) to the next usable folder and
    // returns it, or "" when there is none in that direction (or way is
    // neither).
    QString ChangeHst(int way);
    QString GetHstHere() const { return mPaths.value(mHere); }

private:
    void ResetHst();
    int Step(int slot, int way) const;
    void CompactHst();
    void SetButtonEnabled(int way, bool enabled);
    static bool SameFolder(const QString& a, const QString& b);

    const mdlTools& mTools;
    HistoryButtonsPort* mButtons = nullptr;
    int mSize = 1;
    // Slots 1..Size. Only the slots ever filled are stored, so a large
    // capacity costs nothing until it is used; a missing slot is empty.
    QHash<int, QString> mPaths;
    QSet<int> mDead;  // its size is the number of dead slots
    int mHere = 1;
    int mEnds[2] = {1, 1};  // the oldest and the newest slot of the live range
    bool mFirstAdd = true;
};

}  // namespace sorvane
