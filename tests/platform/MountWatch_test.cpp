#include "platform/MountWatch.h"

#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>

#include "support/TempTree.h"

using namespace Qt::StringLiterals;
using namespace sorvane;
using sorvane::test::TempTree;

namespace {

// A stick mounted or removed is seen once each; nothing in between.
TEST(MountWatch, SeesEachMountAndUnmountOnce) {
    TempTree tree;
    ASSERT_TRUE(tree.MakeFolder(u"stick"_s));
    const QByteArray stick = tree.Path(u"stick"_s).toUtf8();
    MountWatch watch;
    EXPECT_FALSE(watch.Changed());
    if (::mount("sorvane-test", stick.constData(), "tmpfs", 0, nullptr) != 0)
        GTEST_SKIP() << "no mounting here: " << std::strerror(errno);
    EXPECT_TRUE(watch.Changed());
    EXPECT_FALSE(watch.Changed());
    ASSERT_EQ(::umount(stick.constData()), 0);
    EXPECT_TRUE(watch.Changed());
}

}  // namespace
