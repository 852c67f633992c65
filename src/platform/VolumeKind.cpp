#include "platform/VolumeKind.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>

#include <QByteArray>
#include <QFile>
#include <QList>

namespace sorvane {

namespace {

// The types of statfs(2) this needs, as linux/magic.h gives them.
constexpr unsigned long kFuse = 0x65735546;
constexpr unsigned long kUtf16Types[] = {
    0x4d44,      // FAT (vfat, msdos)
    0x2011BAB0,  // exFAT
    0x5346544e,  // NTFS (ntfs)
    0x7366746e,  // NTFS (ntfs3)
};
constexpr unsigned long kSharedTypes[] = {
    0x6969,      // NFS
    0x517B,      // SMB
    0xFF534D42,  // CIFS
    0xFE534D42,  // SMB2
    0x00c36400,  // Ceph
    0x01021997,  // 9P
    0x5346414F,  // AFS
    0x6B414653,  // kAFS
    0x73757245,  // Coda
    0x7461636f,  // OCFS2
    0x01161970,  // GFS2
};

template <size_t N>
bool IsOneOf(unsigned long type, const unsigned long (&types)[N]) {
    for (const unsigned long t : types)
        if (t == type) return true;
    return false;
}

// A field of /proc/self/mountinfo, whose space, tab, newline and backslash
// are written as octal escapes ("\040").
QByteArray Unescaped(const QByteArray& field) {
    QByteArray text;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                text += char(code);
                i += 3;
                continue;
            }
        }
        text += field[i];
    }
    return text;
}

struct Mount {
    QByteArray type;   // "fuseblk", "fuse.sshfs"; "" when not found
    QByteArray point;  // where it is mounted
};

// The mount of device in /proc/self/mountinfo.
Mount MountOf(dev_t device) {
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray id =
        QByteArray::number(major(device)) + ':' + QByteArray::number(minor(device));
    // Fields: id parent major:minor root point options [optional...] - type source ...
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 5 || fields[2] != id) continue;
        const qsizetype dash = fields.indexOf("-");
        if (dash < 0 || dash + 1 >= fields.size()) return {};
        return {fields[dash + 1], Unescaped(fields[4])};
    }
    return {};
}

// NTFS through FUSE, which mounts as "fuseblk" like exFAT: its root finds
// "$MFT", which no other volume holds there.
bool IsNtfs(const Mount& mount) {
    struct stat st;
    return mount.type == "fuse.ntfs-3g" ||
           (mount.type == "fuseblk" && ::fstatat(AT_FDCWD, (mount.point + "/$MFT").constData(), &st,
                                                 AT_SYMLINK_NOFOLLOW) == 0);
}

}  // namespace

namespace {

VolumeKind KindOf(const struct statfs& fs, const struct stat* st) {
    const unsigned long type = static_cast<unsigned long>(fs.f_type);
    if (type != kFuse) return {IsOneOf(type, kUtf16Types), IsOneOf(type, kSharedTypes), false};
    // A FUSE volume on a device of this machine (a card or a stick through
    // exfat-fuse, ntfs-3g or fusefat) is changed only through this system;
    // others (sshfs and the like) may be changed from elsewhere.
    if (!st) return {true, true, false, true};
    const Mount mount = MountOf(st->st_dev);
    const QByteArray& kind = mount.type;
    const bool local = kind == "fuseblk" || kind == "fuse.fusefat" || kind == "fuse.exfat" ||
                       kind == "fuse.ntfs-3g" || kind == "fuse.fuse2fs";
    return {true, !local, kind == "fuse.fusefat", !local || IsNtfs(mount)};
}

}  // namespace

VolumeKind KindOfVolume(int fd) {
    struct statfs fs;
    struct stat st;
    if (::fstatfs(fd, &fs) != 0) return {};
    return KindOf(fs, ::fstat(fd, &st) == 0 ? &st : nullptr);
}

VolumeKind KindOfVolume(const char* path) {
    struct statfs fs;
    struct stat st;
    if (::statfs(path, &fs) != 0) return {};
    return KindOf(fs, ::stat(path, &st) == 0 ? &st : nullptr);
}

}  // namespace sorvane
