#include "platform/NameTable.h"

namespace sorvane {

void NameTable::Reset(size_t count) {
    size_t capacity = 4;
    while (capacity < count * 2) capacity *= 2;
    mSlots.assign(capacity, -1);
    mHashes.resize(count);
}

void NameTable::Clear() {
    mSlots.clear();
    mHashes.clear();
}

}  // namespace sorvane
