#include "platform/FolderWatch.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <functional>

#include "support/TempTree.h"

using namespace sorvane;
using namespace Qt::StringLiterals;
using sorvane::test::TempTree;
using At = FolderWatch::At;

namespace {

// A new name is free only when no entry was listed or has entered under it
// since, compared as a volume that ignores case compares; a file's own
// other spelling is the file while it is the one entry under that name.
// Whatever another program puts in the folder counts from then on.
TEST(FolderWatch, KnowsEveryNameThatEntersTheFolderAfterItsListing) {
    TempTree tree;
    for (const QString& name : {u"in/IMG_1.JPG"_s, u"in/IMG_2.JPG"_s, u"elsewhere"_s})
        ASSERT_TRUE(tree.MakeFile(name));
    ASSERT_TRUE(tree.MakeFolder(u"in/Album"_s));
    const QByteArray in = tree.NativePath("in/");
    const int fd = ::open(in.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    FolderWatch watch;
    ASSERT_TRUE(watch.Start(fd));

    const auto make = [&](const char* name) {
        return [&, name] { ASSERT_TRUE(tree.MakeFile(QString::fromUtf8(name))); };
    };
    const std::function<void()> nothing = [] {};
    struct Step {
        const char* what;
        std::function<void()> change;
        const char *to, *from;
        At expected;
    } const steps[] = {
        {"a name no entry holds", nothing, "P_1.JPG", "IMG_1.JPG", At::Free},
        {"the item's own other spelling", nothing, "img_1.jpg", "IMG_1.JPG", At::TheItem},
        {"another listed entry's spelling", nothing, "img_2.jpg", "IMG_1.JPG", At::Unknown},
        // A folder's change of case never takes the way a file's may.
        {"a folder's own other spelling", nothing, "album", "Album", At::Unknown},
        {"made by another program", make("in/p_3.jpg"), "P_3.JPG", "IMG_1.JPG", At::Unknown},
        {"moved in by another program",
         [&] {
             ASSERT_EQ(std::rename(tree.NativePath("elsewhere").constData(),
                                   (in + "Q_4.JPG").constData()),
                       0);
         },
         "q_4.jpg", "IMG_1.JPG", At::Unknown},
        {"a second entry under the item's spelling", make("in/Img_1.jpg"), "img_1.jpg", "IMG_1.JPG",
         At::Unknown},
        {"a name that may be a short alias", nothing, "PHOTO~1.JPG", "IMG_1.JPG", At::Unknown},
        {"a name that FAT would cut", nothing, "P_5.", "IMG_1.JPG", At::Unknown},
        {"a name beyond ASCII", nothing, "写真.JPG", "IMG_1.JPG", At::Unknown},
        {"still free", nothing, "P_6.JPG", "IMG_1.JPG", At::Free},
        // Beyond ASCII the folding of each volume is its own: no more guesses.
        {"after a name beyond ASCII entered", make("in/写真"), "P_6.JPG", "IMG_1.JPG", At::Unknown},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        EXPECT_EQ(watch.Look(step.to, step.from), step.expected);
    }
    EXPECT_FALSE(watch.Watching());
    // A folder that holds such a name is not watched at all.
    EXPECT_FALSE(watch.Start(fd));
    ::close(fd);
}

}  // namespace
