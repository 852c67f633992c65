#pragma once

namespace sorvane {

// The filter through which a folder's files and subfolders are listed.
class clsFilter {
public:
    // Attribute mask of the attribute filter: read-only 1, hidden 2,
    // system 4, archive 32.
    int Attr() const { return mAttr; }
    void setAttr(int mask) { mAttr = mask; }

    // "属性のあるもののみ": only items that carry one of the attributes.
    bool AttrOr() const { return mAttrOr; }
    void setAttrOr(bool on) { mAttrOr = on; }

private:
    int mAttr = 0;
    bool mAttrOr = false;
};

}  // namespace sorvane
