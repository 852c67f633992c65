#include "run/clsHst.h"

#include <QList>

#include "matching/clsFileString.h"

namespace sorvane {

clsHst::clsHst(const mdlTools& tools, int size) : mTools(tools) {
    SetSize(size);
}

void clsHst::SetSize(int hs) {
    mSize = hs < 1 ? 1 : hs;
    ResetHst();
}

void clsHst::ResetHst() {
    mPaths.clear();
    mDead.clear();
    mHere = 1;
    mEnds[0] = mEnds[1] = 1;
    SetButtonEnabled(kBack, false);
    SetButtonEnabled(kForward, false);
    mFirstAdd = true;
}

int clsHst::Step(int slot, int way) const {
    if (way == kForward) return slot == mSize ? 1 : slot + 1;
    return slot == 1 ? mSize : slot - 1;
}

bool clsHst::SameFolder(const QString& a, const QString& b) {
    return clsFileString::FileStrComp(a, b, CompareMode::Text) == 0;
}

void clsHst::SetButtonEnabled(int way, bool enabled) {
    if (mButtons == nullptr) return;
    if (way == kBack) {
        mButtons->SetBackEnabled(enabled);
    } else {
        mButtons->SetForwardEnabled(enabled);
    }
}

void clsHst::AddHst(const QString& hstPathNew) {
    if (mFirstAdd) {
        mPaths[mHere] = hstPathNew;
        mFirstAdd = false;
    }
    if (SameFolder(mPaths.value(mHere), hstPathNew)) return;
    // A full ring drops its oldest folder.
    if (mHere == mEnds[1] && Step(mEnds[1], kForward) == mEnds[0]) {
        mEnds[0] = Step(mEnds[0], kForward);
    }
    // Whatever lay ahead of the folder shown leaves the live range.
    mHere = Step(mHere, kForward);
    mEnds[1] = mHere;
    mDead.remove(mHere);
    SetButtonEnabled(kForward, false);
    SetButtonEnabled(kBack, true);
    mPaths[mHere] = hstPathNew;
}

QString clsHst::ChangeHst(int way) {
    if (way != kBack && way != kForward) return QString();
    int slot = mHere;
    int count = 0;
    QString result;
    for (;;) {
        ++count;
        if (slot == mEnds[way]) {
            // The dead slots passed on the way leave the live range.
            mEnds[way] = mHere;
            SetButtonEnabled(way, false);
            break;
        }
        slot = Step(slot, way);
        if (!mDead.contains(slot)) {
            const QString folder = mTools.NearestFolder(mPaths.value(slot));
            mPaths[slot] = folder;
            if (!folder.isEmpty() && !SameFolder(folder, mPaths.value(mHere))) {
                mHere = slot;
                if (slot == mEnds[way]) SetButtonEnabled(way, false);
                SetButtonEnabled(1 - way, true);
                result = folder;
                break;
            }
            mDead.insert(slot);
        }
        if (count >= mSize) break;
    }
    if (count <= mSize) {
        CompactHst();
    } else {
        ResetHst();
        result.clear();
    }
    return result;
}

void clsHst::CompactHst() {
    if (static_cast<double>(mDead.size()) < static_cast<double>(mSize) / 3.0) return;
    // Gathered first: writing slots 1, 2, 3 ... in place would overwrite
    // slots not yet read when the live range wraps around the ring.
    QList<QString> live;
    int newHere = 1;
    for (int slot = mEnds[0];; slot = Step(slot, kForward)) {
        if (!mDead.contains(slot)) {
            live.append(mPaths.value(slot));
            if (slot == mHere) newHere = static_cast<int>(live.size());
        }
        if (slot == mEnds[1]) break;
    }
    for (int i = 0; i < live.size(); ++i) mPaths[i + 1] = live[i];
    mHere = newHere;
    mEnds[0] = 1;
    mEnds[1] = live.isEmpty() ? 1 : static_cast<int>(live.size());
    mDead.clear();
}

}  // namespace sorvane
