#include "platform/FolderHandle.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileSystem.h"

namespace sorvane {

FolderHandle::~FolderHandle() {
    Close();
}

void FolderHandle::Close() {
    mWatch.Stop();
    mGuarded = 0;
    if (mFd >= 0) ::close(mFd);
    mFd = -1;
    mFolder.clear();
}

bool FolderHandle::Open(const QString& folder) {
    // The same text as the last time is mostly the very same string.
    const bool same =
        mFd >= 0 && (mFolder.constData() == folder.constData() ? mFolder.size() == folder.size()
                                                               : mFolder == folder);
    if (same) return true;
    Close();
    QByteArray native;
    if (!FileSystem::EncodeExactly(folder, &native)) return false;
    const int fd =
        ::open(native.isEmpty() ? "." : native.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    mFd = fd;
    mFolder = folder;
    mDeviceKnown = false;
    return true;
}

// The device is asked for only when a rename needs what is known of it: a
// rename that simply succeeds costs no stat of its folder.
DeviceOffers* FolderHandle::Offers() {
    if (mFd < 0) return nullptr;
    if (!mDeviceKnown) {
        struct stat st;
        const dev_t device = ::fstat(mFd, &st) == 0 ? st.st_dev : 0;
        for (mDevice = 0; mDevice < mDevices.size(); ++mDevice)
            if (mDevices[mDevice].device == device) break;
        if (mDevice == mDevices.size()) mDevices.emplace_back().device = device;
        mDeviceKnown = true;
    }
    return &mDevices[mDevice];
}

// The second rename guarded only by the kernel's look starts the watch: a
// folder with one rename is not worth the read of its names.
void FolderHandle::Renamed() {
    if (!mDeviceKnown || mWatch.Watching() || mGuarded > 1) return;
    const DeviceOffers& device = mDevices[mDevice];
    if (device.noReplace != DeviceOffers::Offer::No || !device.kindKnown || device.kind.shared ||
        device.kind.foldersLoseContents || device.kind.hidesNames)
        return;
    if (++mGuarded == 2) mWatch.Start(mFd);
}

}  // namespace sorvane
