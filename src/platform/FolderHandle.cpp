#include "platform/FolderHandle.h"

#include <unistd.h>

namespace sorvane {

FolderHandle::~FolderHandle() {
    Close();
}

void FolderHandle::Close() {
    if (mFd >= 0) ::close(mFd);
    mFd = -1;
    mFolder.clear();
}

}  // namespace sorvane
