#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <QString>
#include <vector>

#include "platform/FolderWatch.h"
#include "platform/VolumeKind.h"

namespace sorvane {

class FileSystem;

// What a rename run has learned of one device, each thing once: its kind
// (VolumeKind), whether its file system takes second (hard) links, which is
// never tried again once refused, whether it refuses the no-replace rename,
// and whether it has shown that it ignores case.
struct DeviceOffers {
    enum class Offer : quint8 { Unknown, Yes, No };
    dev_t device = 0;
    bool kindKnown = false;
    VolumeKind kind;
    Offer links = Offer::Unknown;
    Offer noReplace = Offer::Unknown;    // only ever learned No
    Offer ignoresCase = Offer::Unknown;  // only ever learned Yes
    // Whether a plain rename changes the case of a name on it (FUSE) or
    // leaves the name as it was (the kernel's own file systems).
    Offer spellingInPlace = Offer::Unknown;
};

// A folder kept open for FileSystem::MoveItemIn, so that many renames in
// one folder do not each walk the folder's path, and what the run has
// learned of the devices of its folders. Where the device refuses the
// no-replace rename, a folder that has more than one rename is watched
// (FolderWatch), so that the rest need no look at the volume. Closed when
// destroyed.
class FolderHandle {
public:
    FolderHandle() = default;
    ~FolderHandle();
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;
    void Close();

private:
    friend class FileSystem;
    // Opens folder (its text and bytes) unless it is the one open; false
    // when it cannot be opened.
    bool Open(const QString& folder);
    // What is known of the open folder's device; null when none is open.
    DeviceOffers* Offers();
    // After a rename in the open folder by any route.
    void Renamed();

    QString mFolder;
    int mFd = -1;
    QByteArray mFrom, mTo;               // the names of the last rename, their room reused
    std::vector<DeviceOffers> mDevices;  // a run meets few
    size_t mDevice = 0;                  // of the open folder, in mDevices,
    bool mDeviceKnown = false;           // once asked for
    FolderWatch mWatch;                  // of the open folder, once started
    int mGuarded = 0;                    // renames in it the kernel's look guarded
};

}  // namespace sorvane
