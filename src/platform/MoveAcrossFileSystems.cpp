// The move of a file or a symbolic link onto another file system, where a
// rename cannot take it.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileSystem.h"
#include "platform/NativePath.h"

namespace sorvane {

using namespace native_path;

namespace {

// The copy keeps the original's owner (only the superuser can give a file
// away), permission bits (the umask cut them at creation) and times, as mv
// does. Like mv, a file system that cannot keep them still gets the copy:
// they are not the file's content.
void KeepAttributes(int fd, const struct stat& st) {
    if (::geteuid() == 0) (void)::fchown(fd, st.st_uid, st.st_gid);
    (void)::fchmod(fd, st.st_mode & 07777);
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    (void)::futimens(fd, times);
}

void KeepLinkAttributes(const QByteArray& link, const struct stat& st) {
    if (::geteuid() == 0) (void)::lchown(link.constData(), st.st_uid, st.st_gid);
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    (void)::utimensat(AT_FDCWD, link.constData(), times, AT_SYMLINK_NOFOLLOW);
}

// Moves a file or a symbolic link to another file system: the copy is made
// under a name that nothing else holds (O_EXCL, symlink), written to disk,
// and only then is the original removed; any failure removes the copy and
// leaves the original. Folders are never moved this way.
int CopyAcross(const QByteArray& source, const QByteArray& target) {
    struct stat st;
    if (::lstat(source.constData(), &st) != 0) return errno == ENOENT ? kRenameNotFound : EIO;

    if (S_ISLNK(st.st_mode)) {
        QByteArray link(qsizetype(st.st_size) + 1, '\0');
        const ssize_t length = ::readlink(source.constData(), link.data(), size_t(link.size()));
        if (length < 0 || length >= link.size()) return EIO;
        link.truncate(length);
        if (::symlink(link.constData(), target.constData()) != 0)
            return errno == EEXIST ? kRenameExists : EIO;
        KeepLinkAttributes(target, st);
        if (::unlink(source.constData()) != 0) {
            ::unlink(target.constData());
            return EIO;
        }
        return kRenameOk;
    }
    if (!S_ISREG(st.st_mode)) return EXDEV;

    const int in = ::open(source.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (in < 0) return errno == ENOENT ? kRenameNotFound : EIO;
    struct stat opened;
    if (::fstat(in, &opened) != 0 || opened.st_dev != st.st_dev || opened.st_ino != st.st_ino) {
        ::close(in);
        return EIO;
    }
    const int out =
        ::open(target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 07777);
    if (out < 0) {
        const int err = errno;
        ::close(in);
        return err == EEXIST ? kRenameExists : EIO;
    }
    bool ok = true;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ok = false;
        if (n <= 0) break;
        if (!WriteAll(out, buffer, n)) {
            ok = false;
            break;
        }
    }
    if (ok) KeepAttributes(out, st);
    ok = ::fsync(out) == 0 && ok;
    ok = ::close(out) == 0 && ok;
    ::close(in);
    // The original goes only when the name still holds the file just copied.
    struct stat now;
    ok = ok && ::lstat(source.constData(), &now) == 0 && now.st_dev == st.st_dev &&
         now.st_ino == st.st_ino && ::unlink(source.constData()) == 0;
    if (!ok) {
        ::unlink(target.constData());
        return EIO;
    }
    return kRenameOk;
}

}  // namespace

MoveResult FileSystem::MoveFileAcrossFileSystems(const QString& from, const QString& to) const {
    return MoveResultOf(CopyAcross(Encode(from), Encode(to)));
}

}  // namespace sorvane
