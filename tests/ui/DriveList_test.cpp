#include "ui/DriveList.h"

#include <gtest/gtest.h>

using namespace sorvane;
using namespace Qt::StringLiterals;

namespace {

TEST(DriveList, OnlyFileSystemsAUserBrowses) {
    const struct {
        QByteArray type;
        QString mountPoint;
        bool browsable;
    } cases[] = {
        {"ext4", u"/"_s, true},
        {"ext4", u"/home"_s, true},
        {"vfat", u"/run/media/u/USB"_s, true},
        {"tmpfs", u"/run/user/1000"_s, false},
        {"proc", u"/proc"_s, false},
        {"cgroup2", u"/sys/fs/cgroup"_s, false},
        {"devpts", u"/dev/pts"_s, false},
        {"squashfs", u"/snap/core/1"_s, false},
        {"tmpfs", u"/dev/shm"_s, false},
        {"ext4", u"/srv/data"_s, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsBrowsable(c.type, c.mountPoint), c.browsable) << c.mountPoint.toStdString();
}

// A folder belongs to the longest mount point it lies under, never to one
// that merely shares the beginning of its name.
TEST(DriveList, AFolderBelongsToItsLongestMountPoint) {
    const QList<Drive> drives = {
        {u"/"_s, u"/"_s}, {u"/home"_s, u"/home"_s}, {u"/home/u/usb"_s, u"/home/u/usb (USB)"_s}};
    EXPECT_EQ(DriveOf(drives, u"/home/u/usb/photos"_s), 2);
    EXPECT_EQ(DriveOf(drives, u"/home/u/usb2"_s), 1);
    EXPECT_EQ(DriveOf(drives, u"/homework"_s), 0);
    EXPECT_EQ(DriveOf(drives, u"/"_s), 0);
}

}  // namespace
