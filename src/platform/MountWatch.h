#pragma once

namespace sorvane {

// Tells whether file systems were mounted or unmounted since it last looked.
// The kernel marks the process's mount table (/proc/self/mountinfo) at every
// mount and unmount; asking costs one poll, no reading. Where the table
// cannot be watched it always says yes, so that a caller reads the mounted
// file systems again rather than miss a change.
class MountWatch {
public:
    MountWatch();
    ~MountWatch();
    MountWatch(const MountWatch&) = delete;
    MountWatch& operator=(const MountWatch&) = delete;

    bool Changed();

private:
    int mTable = -1;
};

}  // namespace sorvane
