// The system calls of a rename, and the renames that never replace an
// existing item.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/FileSystem.h"
#include "platform/NativePath.h"

namespace sorvane {

using namespace native_path;

int RenameSystemCalls::Renameat2NoReplace(const char* from, const char* to) {
    return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
}

int RenameSystemCalls::Rename(const char* from, const char* to) {
    return ::rename(from, to);
}

// Flags 0: a link to a symbolic link names the link itself, never its target.
int RenameSystemCalls::Link(const char* from, const char* to) {
    return ::linkat(AT_FDCWD, from, AT_FDCWD, to, 0);
}

int RenameSystemCalls::Unlink(const char* path) {
    return ::unlinkat(AT_FDCWD, path, 0);
}

namespace {

RenameSystemCalls& DefaultCalls() {
    static RenameSystemCalls calls;
    return calls;
}

// A code for "anything else" that can never be read as success, not found,
// target folder missing or exists.
int Failure(int err) {
    if (err == 0 || err == kRenameNotFound || err == kRenameTargetFolderMissing ||
        err == kRenameExists)
        return EIO;
    return err;
}

// kRenameNotFound when the item itself is missing; when it is there, what
// was missing is the folder of the new name.
int MissingCode(const QByteArray& from) {
    struct stat st;
    return Lstat(from, &st) ? kRenameTargetFolderMissing : kRenameNotFound;
}

}  // namespace

// The service's one piece of state: the system calls its renames go through.
FileSystem::FileSystem() : mCalls(&DefaultCalls()) {}

FileSystem::FileSystem(RenameSystemCalls& calls) : mCalls(&calls) {}

// Every route checks that nothing is at the new name in the same step that
// takes it (RENAME_NOREPLACE, or link(), which fails on any existing name);
// only where the file system offers neither is the check a separate lstat.
// A dangling symbolic link at the new name is an existing item, and no
// route follows a final link.

MoveResult FileSystem::MoveItem(const QString& from, const QString& to) const {
    return MoveResultOf(MoveCode(from, to));
}

int FileSystem::MoveCode(const QString& from, const QString& to) const {
    QByteArray source, target;
    if (!ToNative(from, &source) || !ToNative(to, &target)) return EINVAL;
    if (source.isEmpty()) return kRenameNotFound;

    // A new name without a last component ("", "dir/", "dir/.") names no new
    // item; when it names an existing folder, that is a collision.
    QByteArray folder, name;
    SplitNative(target, &folder, &name);
    if (target.endsWith('/') || name.isEmpty() || IsDotOrDotDot(name.constData())) {
        struct stat st;
        return Lstat(target, &st) ? kRenameExists : EINVAL;
    }

    // A rename to the very same path leaves the item where it was asked to
    // be; nothing is touched.
    if (source == target) {
        struct stat st;
        if (Lstat(source, &st)) return kRenameOk;
        return errno == ENOENT ? kRenameNotFound : Failure(errno);
    }
    return Move(source, target, true);
}

// The rename relative to the open folder does what MoveItem's first step
// does on the whole paths. Anything else, a failure included, is left to
// MoveItem itself, which starts again from the paths and finds what went
// wrong; a failed rename has changed nothing. A stand-in for the system
// calls always gets the paths.
MoveResult FileSystem::MoveItemIn(FolderHandle& handle, const QString& folder, QStringView from,
                                  QStringView to) const {
    QByteArray& source = handle.mFrom;
    QByteArray& target = handle.mTo;
    if (mCalls == &DefaultCalls() && !folder.isEmpty() && IsSingleName(from) && IsSingleName(to) &&
        from != to && ToNative(from, &source) && ToNative(to, &target)) {
        // The same text as the last time is mostly the very same string.
        const bool same = handle.mFd >= 0 && (handle.mFolder.constData() == folder.constData()
                                                  ? handle.mFolder.size() == folder.size()
                                                  : handle.mFolder == folder);
        if (!same) {
            handle.Close();
            QByteArray native;
            if (ToNative(folder, &native)) {
                handle.mFd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
                if (handle.mFd >= 0) handle.mFolder = folder;
            }
        }
        if (handle.mFd >= 0 && ::renameat2(handle.mFd, source.constData(), handle.mFd,
                                           target.constData(), RENAME_NOREPLACE) == 0)
            return {MoveStatus::Ok, 0};
    }
    QString fromPath = folder, toPath = folder;
    fromPath += from;
    toPath += to;
    return MoveItem(fromPath, toPath);
}

int FileSystem::Move(const QByteArray& from, const QByteArray& to, bool sameItemAllowed) const {
    if (mCalls->Renameat2NoReplace(from.constData(), to.constData()) == 0) return kRenameOk;
    const int err = errno;
    switch (err) {
        // Like EEXIST: a folder holding something is at the new name.
        case ENOTEMPTY:
            return Collision(from, to, sameItemAllowed);
        // The file system refuses the flag (or the kernel lacks the call).
        // EINVAL is also the answer for a folder moved into itself; the
        // fallback's own rename then fails the same way.
        case EINVAL:
        case ENOSYS:
            return MoveWithoutNoReplace(from, to, sameItemAllowed);
        default:
            return Refused(err, from, to, sameItemAllowed);
    }
}

int FileSystem::MoveWithoutNoReplace(const QByteArray& from, const QByteArray& to,
                                     bool sameItemAllowed) const {
    struct stat st;
    if (!Lstat(from, &st)) return errno == ENOENT ? kRenameNotFound : Failure(errno);
    if (S_ISDIR(st.st_mode)) return CheckedRename(from, to, sameItemAllowed);

    if (mCalls->Link(from.constData(), to.constData()) == 0) {
        if (mCalls->Unlink(from.constData()) == 0) return kRenameOk;
        // Leave the item with its old name only, as if nothing happened.
        const int err = errno;
        mCalls->Unlink(to.constData());
        return Failure(err);
    }
    const int err = errno;
    switch (err) {
        // No hard links here (FAT, some network file systems, protected
        // links) or too many of them: a checked rename is what remains.
        case EPERM:
        case EOPNOTSUPP:
        case EMLINK:
        case ENOSYS:
            return CheckedRename(from, to, sameItemAllowed);
        default:
            return Refused(err, from, to, sameItemAllowed);
    }
}

// Where neither the no-replace rename nor a second link is possible, the
// new name is first reserved with a placeholder only this program can have
// made (an exclusive empty file, or an empty folder for a folder), and the
// plain rename then replaces nothing but that placeholder. Whatever takes
// the name before the reservation is a collision; a folder placeholder that
// someone fills makes the rename fail; a file placeholder is checked to be
// still ours and empty right before the rename.
int FileSystem::CheckedRename(const QByteArray& from, const QByteArray& to,
                              bool sameItemAllowed) const {
    struct stat source;
    if (!Lstat(from, &source)) return errno == ENOENT ? kRenameNotFound : Failure(errno);
    const bool folder = S_ISDIR(source.st_mode);
    if (folder) {
        if (::mkdir(to.constData(), 0700) != 0) return Refused(errno, from, to, sameItemAllowed);
    } else {
        const int fd =
            ::open(to.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) return Refused(errno, from, to, sameItemAllowed);
        ::close(fd);
    }
    struct stat reserved;
    if (!Lstat(to, &reserved)) return Failure(errno == ENOENT ? EIO : errno);
    const auto stillOurs = [&] {
        struct stat now;
        return Lstat(to, &now) && now.st_dev == reserved.st_dev && now.st_ino == reserved.st_ino &&
               (folder || (S_ISREG(now.st_mode) && now.st_size == 0 && now.st_nlink == 1));
    };
    if (!stillOurs()) return kRenameExists;
    if (mCalls->Rename(from.constData(), to.constData()) == 0) return kRenameOk;
    const int err = errno;
    if (stillOurs()) {
        if (folder) {
            ::rmdir(to.constData());
        } else {
            ::unlink(to.constData());
        }
    }
    if (err == ENOENT) return MissingCode(from);
    if (err == EEXIST || err == ENOTEMPTY) return kRenameExists;
    return Failure(err);
}

// The new name was refused with err (read before anything else can change
// errno): something is there, the item has gone, or a plain failure.
int FileSystem::Refused(int err, const QByteArray& from, const QByteArray& to,
                        bool sameItemAllowed) const {
    if (err == EEXIST) return Collision(from, to, sameItemAllowed);
    if (err == ENOENT) return MissingCode(from);
    return Failure(err);
}

// Something is at the new name. It may be the item itself: on a file system
// that ignores letter case (of A-Z or of any letters, depending on the file
// system) both names lead to one directory entry, and the new spelling is
// reached through a free temporary name. Where the file system keeps one
// inode number for every spelling, the same device and inode tell so. A
// volume mounted through FUSE gives each spelling a node number of its own:
// there the folder's listing tells, and afterwards the folder must list the
// new spelling. A hard link at the new name has the same identity too, but
// it is a separate entry: the second step of the temporary route then
// refuses to replace it and the item gets its old name back, so it stays a
// collision.
int FileSystem::Collision(const QByteArray& from, const QByteArray& to,
                          bool sameItemAllowed) const {
    if (!sameItemAllowed) return kRenameExists;
    struct stat source, target;
    if (!Lstat(from, &source)) return kRenameExists;
    if (Lstat(to, &target) && source.st_dev == target.st_dev && source.st_ino == target.st_ino)
        return MoveThroughTemporary(from, to);
    if (!SameEntrySpeltOtherwise(from, to)) return kRenameExists;
    const int result = MoveThroughTemporary(from, to);
    if (result != kRenameOk || Lists(to)) return result;
    return EIO;  // renamed, but not to the spelling asked for
}

QString FileSystem::TemporaryName(QStringView name, qint64 pid) {
    // FNV-1a of the name's bytes: the same name and process give the same
    // temporary name in every copy of the program.
    quint64 hash = 14695981039346656037ULL;
    for (const char c : Encode(name.toString())) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return QStringLiteral(".sorvane-%1-%2.tmp").arg(pid).arg(hash, 16, 16, QLatin1Char('0'));
}

// Both steps go through the no-replace rename, so a new name that turns out
// to be a separate entry (a hard link on a case-sensitive file system) fails
// the second step, and the item gets its old name back.
int FileSystem::MoveThroughTemporary(const QByteArray& from, const QByteArray& to) const {
    QByteArray folder, name;
    SplitNative(from, &folder, &name);
    if (!folder.endsWith('/')) folder += '/';
    const QByteArray temporary = folder + Encode(TemporaryName(Decode(name), ::getpid()));
    int result = Move(from, temporary, false);
    // A taken temporary name is a failure, not a collision at the new name.
    if (result == kRenameExists) return EEXIST;
    if (result != kRenameOk) return result;
    result = Move(temporary, to, false);
    if (result == kRenameOk) return kRenameOk;
    // If even the way back fails, the item sits at the temporary name; say
    // so with a plain failure, never with "exists" or "not found".
    if (Move(temporary, from, false) != kRenameOk) return EIO;
    return result;
}

}  // namespace sorvane
