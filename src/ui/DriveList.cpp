#include "ui/DriveList.h"

#include <QStorageInfo>
#include <algorithm>

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

bool IsUnder(const QString& path, const QString& root) {
    if (root == u"/"_s) return path.startsWith(u'/');
    return path == root || path.startsWith(root + u'/');
}

}  // namespace

bool IsBrowsable(const QByteArray& type, const QString& mountPoint) {
    static const QByteArray kKernelOwn[] = {
        "proc",       "sysfs",      "cgroup",   "cgroup2", "devpts",      "devtmpfs",
        "securityfs", "pstore",     "bpf",      "tracefs", "debugfs",     "mqueue",
        "hugetlbfs",  "configfs",   "fusectl",  "autofs",  "binfmt_misc", "efivarfs",
        "nsfs",       "rpc_pipefs", "squashfs", "ramfs",   "selinuxfs",   "fuse.gvfsd-fuse",
        "fuse.portal"};
    for (const QByteArray& own : kKernelOwn)
        if (type == own) return false;
    for (const QString& hidden : {u"/proc"_s, u"/sys"_s, u"/dev"_s, u"/snap"_s})
        if (IsUnder(mountPoint, hidden)) return false;
    if (IsUnder(mountPoint, u"/run"_s)) return IsUnder(mountPoint, u"/run/media"_s);
    return mountPoint.startsWith(u'/');
}

QList<Drive> BrowsableDrives() {
    QList<Drive> drives;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (!volume.isValid() || !IsBrowsable(volume.fileSystemType(), root)) continue;
        const bool known = std::any_of(drives.cbegin(), drives.cend(),
                                       [&](const Drive& d) { return d.root == root; });
        if (known) continue;  // a file system mounted twice at one place
        const QString label = volume.name();
        drives.append({root, label.isEmpty() ? root : root + u" ("_s + label + u')'});
    }
    std::sort(drives.begin(), drives.end(), [](const Drive& a, const Drive& b) {
        if ((a.root == u"/"_s) != (b.root == u"/"_s)) return a.root == u"/"_s;
        return a.root < b.root;
    });
    return drives;
}

int DriveOf(const QList<Drive>& drives, const QString& folder) {
    int best = -1;
    for (int i = 0; i < drives.size(); ++i) {
        if (!IsUnder(folder, drives[i].root)) continue;
        if (best < 0 || drives[i].root.size() > drives[best].root.size()) best = i;
    }
    return best;
}

}  // namespace sorvane
