// The system calls of a rename, and the renames that never replace an
// existing item.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <optional>

#include "platform/FileSystem.h"
#include "platform/ForEachEntry.h"
#include "platform/NameFolding.h"
#include "platform/NativePath.h"
#include "platform/VolumeKind.h"

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

VolumeKind RenameSystemCalls::Volume(const char* path) {
    return KindOfVolume(path);
}

namespace {

QString Joined(const QString& folder, QStringView name) {
    QString path = folder;
    path += name;
    return path;
}

// Whether two names are one spelt in other case, as Qt compares them
// without case. Nearly every pair differs at a unit of plain ASCII, which
// settles it without Qt's walk through its folding tables.
bool SameButForCase(QStringView a, QStringView b) {
    if (a.size() != b.size()) return false;
    const char16_t* x = a.utf16();
    const char16_t* y = b.utf16();
    for (qsizetype k = 0; k < a.size(); ++k) {
        if (x[k] == y[k]) continue;
        if (x[k] >= 0x80 || y[k] >= 0x80) return a.compare(b, Qt::CaseInsensitive) == 0;
        const char16_t fx = x[k] | 0x20, fy = y[k] | 0x20;
        if (fx != fy || fx < u'a' || fx > u'z') return false;
    }
    return true;
}

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
bool IsFolder(const QByteArray& path) {
    struct stat st;
    return Lstat(path, &st) && S_ISDIR(st.st_mode);
}

int MissingCode(const QByteArray& from) {
    struct stat st;
    return Lstat(from, &st) ? kRenameTargetFolderMissing : kRenameNotFound;
}

pid_t ThisProcess() {
    static const pid_t pid = ::getpid();  // a run never moves to a child process
    return pid;
}

}  // namespace

// The service's one piece of state: the system calls its renames go through.
FileSystem::FileSystem() : mCalls(&DefaultCalls()) {}

FileSystem::FileSystem(RenameSystemCalls& calls) : mCalls(&calls) {}

// Every route checks that nothing is at the new name in the same step that
// takes it (RENAME_NOREPLACE, or link(), which fails on any existing name),
// or, where the file system refuses the flag, right before the rename (see
// RenameAfterKernelCheck and CheckedRename). A dangling symbolic link at the
// new name is an existing item, and no route follows a final link.

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

// The rename relative to the open folder does what MoveItem's first steps
// do on the whole paths; a failure of it has changed nothing and is left to
// the way of the paths, which finds what went wrong. A stand-in for the
// system calls always gets the paths.
MoveResult FileSystem::MoveItemIn(FolderHandle& handle, const QString& folder, QStringView from,
                                  QStringView to) const {
    if (folder.isEmpty() || !IsSingleName(from) || !IsSingleName(to) || from == to ||
        !handle.Open(folder))
        return MoveItem(Joined(folder, from), Joined(folder, to));
    if (mCalls != &DefaultCalls()) return MoveInOpenFolder(handle, folder, from, to);
    if (handle.mWatch.Watching())
        if (const std::optional<MoveResult> moved = MoveWatched(handle, from, to)) return *moved;
    const MoveResult result = MoveInOpenFolder(handle, folder, from, to);
    if (result == MoveStatus::Ok) handle.Renamed();
    return result;
}

// In a folder that the handle watches, the names it holds are known: a new
// name under which no entry has been seen is taken by a plain rename. So is
// a change of case of a file that is the one entry under its name, on a
// volume that ignores case and changes a spelling in place (no other entry
// can be there while the item is); elsewhere it goes through the temporary
// name. None of it looks at the volume, but for the probe once per device.
// This closes what the kernel's look closes (RenameAfterKernelCheck): every
// item that this system has put in the folder since its listing was read is
// in the reports. It cannot close the same moment: an item that another
// program makes at the new name between the reading of the reports and the
// rename is replaced. A first rename that fails here has changed nothing,
// and the other routes find out why; the temporary route answers for itself.
std::optional<MoveResult> FileSystem::MoveWatched(FolderHandle& handle, QStringView from,
                                                  QStringView to) const {
    QByteArray& source = handle.mFrom;
    QByteArray& target = handle.mTo;
    if (!ToNative(from, &source) || !ToNative(to, &target)) return std::nullopt;
    const int fd = handle.mFd;
    switch (handle.mWatch.Look(target, source)) {
        case FolderWatch::At::Free:
            if (::renameat(fd, source.constData(), fd, target.constData()) == 0)
                return MoveResult{MoveStatus::Ok, 0};
            return std::nullopt;
        case FolderWatch::At::TheItem: {
            DeviceOffers& offers = *handle.Offers();
            if (offers.ignoresCase != DeviceOffers::Offer::Yes) return std::nullopt;
            if (offers.spellingInPlace == DeviceOffers::Offer::Unknown)
                offers.spellingInPlace =
                    SpellingChangesInPlace(fd) ? DeviceOffers::Offer::Yes : DeviceOffers::Offer::No;
            // No other entry can be at the new name while the item is.
            if (offers.spellingInPlace == DeviceOffers::Offer::Yes) {
                if (::renameat(fd, source.constData(), fd, target.constData()) == 0)
                    return MoveResult{MoveStatus::Ok, 0};
                return std::nullopt;
            }
            const QByteArray temporary = Encode(TemporaryName(from, ThisProcess()));
            if (!handle.mWatch.Free(temporary) ||
                ::renameat(fd, source.constData(), fd, temporary.constData()) != 0)
                return std::nullopt;
            if (::renameat(fd, temporary.constData(), fd, target.constData()) == 0)
                return MoveResult{MoveStatus::Ok, 0};
            const int err = errno;
            if (::renameat(fd, temporary.constData(), fd, source.constData()) != 0)
                return MoveResultOf(EIO);
            return MoveResultOf(Failure(err));
        }
        case FolderWatch::At::Unknown:
            break;
    }
    return std::nullopt;
}

// A rename that changes only the case of a name is done in place by a
// volume through FUSE, to which each spelling is a node of its own, and left
// undone by the kernel's own file systems, which see one item under both. A
// file system that did worse would do it to an empty file of the program's
// own, made in the open folder for the question and removed after it. The
// question is asked only where the other spelling finds that file: ntfs-3g
// keeps case apart for names it made itself (the file's) but not for names
// from Windows, and its answer for the one says nothing of the other.
bool FileSystem::SpellingChangesInPlace(int fd) const {
    // The temporary name of "/", which no item has: never one a restore
    // looks for.
    const QByteArray lower = Encode(TemporaryName(u"/", ThisProcess()));
    const QByteArray upper = lower.toUpper();
    struct stat st;
    if (::fstatat(fd, upper.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 || errno != ENOENT)
        return false;
    const int file =
        ::openat(fd, lower.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (file < 0) return false;
    struct stat made;
    const bool known = ::fstat(file, &made) == 0;
    ::close(file);
    const bool asked = ::fstatat(fd, upper.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0;
    const bool renamed = asked && ::renameat(fd, lower.constData(), fd, upper.constData()) == 0;
    bool upperListed = false, lowerListed = false;
    const int err =
        ForEachEntry("/proc/self/fd/" + QByteArray::number(fd), [&](DIR*, const dirent* entry) {
            const QByteArrayView name(entry->d_name);
            upperListed = upperListed || name == upper;
            lowerListed = lowerListed || name == lower;
            return true;
        });
    // Only the file made here is removed, never one another program made.
    const QByteArray& left = upperListed ? upper : lower;
    if (known && ::fstatat(fd, left.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
        st.st_ino == made.st_ino && S_ISREG(st.st_mode) && st.st_size == 0)
        ::unlinkat(fd, left.constData(), 0);
    return renamed && err == 0 && upperListed && !lowerListed;
}

MoveResult FileSystem::MoveInOpenFolder(FolderHandle& handle, const QString& folder,
                                        QStringView from, QStringView to) const {
    QByteArray& source = handle.mFrom;
    QByteArray& target = handle.mTo;
    // On a device that has shown that it ignores case, a change of case goes
    // the temporary way at once (see MoveSpellingIn).
    if (SameButForCase(from, to) && handle.Offers()->ignoresCase == DeviceOffers::Offer::Yes)
        return MoveSpellingIn(handle, folder, from, to);
    DeviceOffers* offers = nullptr;
    if (mCalls == &DefaultCalls() && ToNative(from, &source) && ToNative(to, &target)) {
        const int fd = handle.mFd;
        if (::renameat2(fd, source.constData(), fd, target.constData(), RENAME_NOREPLACE) == 0)
            return {MoveStatus::Ok, 0};
        if (errno == EEXIST || errno == ENOTEMPTY) return MoveSpellingIn(handle, folder, from, to);
        // Two names of one folder: EINVAL is the flag refused, after the
        // kernel found the new name free (RenameAfterKernelCheck), or a name
        // the file system cannot hold (the kernel's FAT), which the plain
        // rename refuses too. Only a plain rename that takes shows the flag
        // refused.
        const int err = errno;
        offers = handle.Offers();
        if (err == EINVAL && !offers->kindKnown) {
            offers->kind = KindOfVolume(fd);
            offers->kindKnown = true;
        }
        if (err == EINVAL && !offers->kind.shared && !offers->kind.foldersLoseContents &&
            ::renameat(fd, source.constData(), fd, target.constData()) == 0) {
            offers->noReplace = DeviceOffers::Offer::No;
            return {MoveStatus::Ok, 0};
        }
    }
    if (!offers) offers = handle.Offers();
    QByteArray fromNative, toNative;
    if (!ToNative(Joined(folder, from), &fromNative) || !ToNative(Joined(folder, to), &toNative))
        return MoveResultOf(EINVAL);
    const MoveResult result = MoveResultOf(Move(fromNative, toNative, false, offers));
    return result == MoveStatus::Exists ? MoveSpellingIn(handle, folder, from, to) : result;
}

// Something is at the new name of a rename that MoveItemIn was asked for,
// which its plan gave a verdict to rename: where the names differ but for
// case, that is the item itself on a volume that ignores case, spelt
// otherwise. The item takes the temporary name, and then the new one: both
// steps refuse to replace anything, so if the new name still holds an entry
// once the item has left it, that is another entry, and the item gets its
// old name back (Exists). This needs no look at the folder, which on a
// large folder of a card would cost as much as the rename itself.
MoveResult FileSystem::MoveSpellingIn(FolderHandle& handle, const QString& folder, QStringView from,
                                      QStringView to) const {
    if (CaselessName(from) != CaselessName(to)) return {MoveStatus::Exists, 0};
    QByteArray fromNative, toNative;
    if (!ToNative(Joined(folder, from), &fromNative) || !ToNative(Joined(folder, to), &toNative))
        return MoveResultOf(EINVAL);
    DeviceOffers& offers = *handle.Offers();
    const MoveResult result = MoveResultOf(MoveThroughTemporary(fromNative, toNative, &offers));
    if (result == MoveStatus::Ok) offers.ignoresCase = DeviceOffers::Offer::Yes;
    return result;
}

int FileSystem::Move(const QByteArray& from, const QByteArray& to, bool sameItemAllowed,
                     DeviceOffers* offers) const {
    if (mCalls->Renameat2NoReplace(from.constData(), to.constData()) == 0) return kRenameOk;
    const int err = errno;
    switch (err) {
        // Like EEXIST: a folder holding something is at the new name.
        case ENOTEMPTY:
            return Collision(from, to, sameItemAllowed);
        // The file system refuses the flag. EINVAL is also the answer for a
        // folder moved into itself; the rename that follows then fails the
        // same way.
        case EINVAL: {
            const VolumeKind kind = Kind(from, offers);
            if (kind.foldersLoseContents && IsFolder(from)) return ENOTSUP;
            if (!kind.shared) {
                const int result = RenameAfterKernelCheck(from, to);
                // Two names of one folder where offers are kept, and the
                // plain rename took: the flag was refused.
                if (result == kRenameOk && offers) offers->noReplace = DeviceOffers::Offer::No;
                return result;
            }
            return MoveWithoutNoReplace(from, to, sameItemAllowed, offers);
        }
        // A kernel without the call makes no check at all.
        case ENOSYS:
            return MoveWithoutNoReplace(from, to, sameItemAllowed, offers);
        default:
            return Refused(err, from, to, sameItemAllowed);
    }
}

VolumeKind FileSystem::Kind(const QByteArray& path, DeviceOffers* offers) const {
    if (offers && offers->kindKnown) return offers->kind;
    QByteArray folder, name;
    SplitNative(path, &folder, &name);
    const VolumeKind kind = mCalls->Volume(folder.constData());
    if (offers) {
        offers->kind = kind;
        offers->kindKnown = true;
    }
    return kind;
}

// The no-replace rename that the file system refused was also the check:
// the kernel looks the new name up afresh for a rename (FUSE asks the
// volume again even where it holds the name's answer) and refuses with
// EEXIST itself when anything is there; the file system's refusal of the
// flag comes only after the kernel found the name free. So the plain rename
// right after it replaces nothing that was there at that look, on a volume
// that only this system changes. It cannot close the moment between the
// two calls: an item that another program creates at the new name in that
// moment is replaced. Nothing such a file system offers closes it (a
// placeholder made first moves it to between its own last check and the
// rename, at three more trips to the volume). The look through lstat would
// be no better and can be worse: on FUSE it may answer from a name the
// kernel still holds for another spelling of an entry just moved away.
int FileSystem::RenameAfterKernelCheck(const QByteArray& from, const QByteArray& to) const {
    if (mCalls->Rename(from.constData(), to.constData()) == 0) return kRenameOk;
    const int err = errno;
    if (err == ENOENT) return MissingCode(from);
    if (err == EEXIST || err == ENOTEMPTY) return kRenameExists;
    return Failure(err);
}

// A second link at the new name, then the old one removed: link() refuses
// any existing name in the same step, on the volume itself, which is what
// counts where other machines change it too. Files only; a folder, or a
// device without links, takes the checked rename.
int FileSystem::MoveWithoutNoReplace(const QByteArray& from, const QByteArray& to,
                                     bool sameItemAllowed, DeviceOffers* offers) const {
    if (offers && offers->links == DeviceOffers::Offer::No)
        return CheckedRename(from, to, sameItemAllowed);
    struct stat st;
    if (!Lstat(from, &st)) return errno == ENOENT ? kRenameNotFound : Failure(errno);
    if (S_ISDIR(st.st_mode)) return CheckedRename(from, to, sameItemAllowed);

    if (mCalls->Link(from.constData(), to.constData()) == 0) {
        if (offers) offers->links = DeviceOffers::Offer::Yes;
        if (mCalls->Unlink(from.constData()) == 0) return kRenameOk;
        // Leave the item with its old name only, as if nothing happened.
        const int err = errno;
        mCalls->Unlink(to.constData());
        return Failure(err);
    }
    const int err = errno;
    switch (err) {
        // No hard links here (FAT, exFAT, some network file systems), or
        // none for this file (protected links, too many of them): a checked
        // rename is what remains. Only a refusal that cannot be this file's
        // own is learned for the device.
        case EPERM:
        case EOPNOTSUPP:
        case EMLINK:
        case ENOSYS:
            if (offers && err != EMLINK && (err != EPERM || st.st_uid == ::geteuid()))
                offers->links = DeviceOffers::Offer::No;
            return CheckedRename(from, to, sameItemAllowed);
        default:
            return Refused(err, from, to, sameItemAllowed);
    }
}

// On a volume that other machines may change, where neither the no-replace
// rename nor a second link is possible (or the kernel has no such rename),
// the new name is first reserved with a placeholder only this program can have
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

// Both steps refuse to replace anything, so a new name that turns out to
// be a separate entry (a hard link on a case-sensitive file system) fails
// the second step, and the item gets its old name back.
int FileSystem::MoveThroughTemporary(const QByteArray& from, const QByteArray& to,
                                     DeviceOffers* offers) const {
    QByteArray folder, name;
    SplitNative(from, &folder, &name);
    if (!folder.endsWith('/')) folder += '/';
    const QByteArray temporary = folder + Encode(TemporaryName(Decode(name), ThisProcess()));
    int result = Move(from, temporary, false, offers);
    // A taken temporary name is a failure, not a collision at the new name.
    if (result == kRenameExists) return EEXIST;
    if (result != kRenameOk) return result;
    result = Move(temporary, to, false, offers);
    if (result == kRenameOk) return kRenameOk;
    // If even the way back fails, the item sits at the temporary name; say
    // so with a plain failure, never with "exists" or "not found".
    if (Move(temporary, from, false, offers) != kRenameOk) return EIO;
    return result;
}

}  // namespace sorvane
