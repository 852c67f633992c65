#include "platform/DurableFile.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

#include "platform/FileSystem.h"
#include "platform/NativePath.h"

namespace sorvane {

using namespace native_path;

namespace {

int SyncFolderBytes(const QByteArray& folder) {
    const int fd =
        ::open(folder.isEmpty() ? "." : folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    const int result = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return result;
}

}  // namespace

int DurableFile::Create(const QString& path) {
    Close();
    QByteArray native;
    if (!ToNative(path, &native)) return EINVAL;
    mFd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (mFd < 0) return errno;
    mPath = path;
    return 0;
}

int DurableFile::Write(QByteArrayView bytes) {
    if (mFd < 0) return EBADF;
    return WriteAll(mFd, bytes.data(), bytes.size()) ? 0 : (errno ? errno : EIO);
}

int DurableFile::Sync() {
    if (mFd < 0) return EBADF;
    if (::fsync(mFd) != 0) return errno;
    return SyncFolder(FileSystem::ParentFolderName(mPath));
}

void DurableFile::Close() {
    if (mFd >= 0) ::close(mFd);
    mFd = -1;
}

int DurableFile::Append(const QString& path, QByteArrayView bytes) {
    QByteArray native;
    if (!ToNative(path, &native)) return EINVAL;
    const int fd = ::open(native.constData(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return errno;
    const int result = WriteAll(fd, bytes.data(), bytes.size()) ? 0 : (errno ? errno : EIO);
    ::close(fd);
    return result;
}

int DurableFile::SyncFolder(const QString& path) {
    QByteArray native;
    if (!ToNative(path, &native)) return EINVAL;
    return SyncFolderBytes(native);
}

bool IsProgramProcess(qint64 pid) {
    if (pid <= 0 || ::kill(pid_t(pid), 0) != 0) {
        if (pid > 0 && errno == EPERM) return true;  // alive, another user's
        return false;
    }
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly)) return true;
    return comm.readAll().startsWith("sorvane");
}

}  // namespace sorvane
