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
    struct stat st;
    if (fd < 0) return false;
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return false;
    }
    mFd = fd;
    mFolder = folder;
    for (mDevice = 0; mDevice < mDevices.size(); ++mDevice)
        if (mDevices[mDevice].device == st.st_dev) return true;
    mDevices.emplace_back().device = st.st_dev;
    return true;
}

DeviceOffers* FolderHandle::Offers() {
    return mFd >= 0 ? &mDevices[mDevice] : nullptr;
}

}  // namespace sorvane
