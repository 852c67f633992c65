#include "platform/MakeFolders.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <functional>

#include "support/TempTree.h"

using namespace sorvane;
using namespace Qt::StringLiterals;
using sorvane::test::Inventory;
using sorvane::test::TempTree;

namespace {

struct MakeFoldersCase {
    const char* what;
    std::function<bool(TempTree&)> setUp;
    QString path;  // relative to the tree; "" stands for the empty path itself
    bool result;
    QStringList created;  // the folders that must be new afterwards, and no others
};

void PrintTo(const MakeFoldersCase& c, std::ostream* os) {
    *os << c.what;
}

bool Nothing(TempTree&) {
    return true;
}

class MakeFoldersTable : public ::testing::TestWithParam<MakeFoldersCase> {};

TEST_P(MakeFoldersTable, CreatesOnlyTheMissingFoldersAndNeverTouchesWhatIsThere) {
    const MakeFoldersCase& c = GetParam();
    TempTree tree;
    ASSERT_TRUE(tree.IsValid());
    ASSERT_TRUE(tree.MakeFile(u"keep/data.txt"_s, "data"));
    ASSERT_TRUE(c.setUp(tree));
    const Inventory before = tree.Take();

    FileSystem fs;
    const QString path = c.path.isEmpty() ? QString() : tree.Path(c.path);
    EXPECT_EQ(MakeFolders(fs, path), c.result) << c.what;

    Inventory expected = before;
    const Inventory after = tree.Take();
    for (const QString& folder : c.created) {
        const auto found = after.find(folder.toUtf8());
        ASSERT_NE(found, after.end()) << c.what << ": " << folder.toStdString();
        EXPECT_EQ(found->second.kind, 'd') << c.what;
        expected.emplace(found->first, found->second);
    }
    EXPECT_EQ(after, expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, MakeFoldersTable,
    ::testing::Values(
        MakeFoldersCase{"empty path", Nothing, u""_s, false, {}},
        MakeFoldersCase{"existing folder", Nothing, u"keep"_s, true, {}},
        MakeFoldersCase{"several levels",
                        Nothing,
                        u"a/b/c/d"_s,
                        true,
                        {u"a"_s, u"a/b"_s, u"a/b/c"_s, u"a/b/c/d"_s}},
        MakeFoldersCase{"trailing slash", Nothing, u"a/b/"_s, true, {u"a"_s, u"a/b"_s}},
        MakeFoldersCase{"link to a folder counts as the folder",
                        [](TempTree& t) { return t.MakeSymlink(u"link"_s, t.Path(u"keep"_s)); },
                        u"link"_s,
                        true,
                        {}},
        MakeFoldersCase{"missing folder inside a linked folder",
                        [](TempTree& t) { return t.MakeSymlink(u"link"_s, t.Path(u"keep"_s)); },
                        u"link/sub"_s,
                        true,
                        {u"keep/sub"_s}},
        MakeFoldersCase{"file in the way", Nothing, u"keep/data.txt"_s, false, {}},
        MakeFoldersCase{
            "file in the way of a parent", Nothing, u"keep/data.txt/sub/deeper"_s, false, {}},
        MakeFoldersCase{
            "dangling link in the way",
            [](TempTree& t) { return t.MakeSymlink(u"dangling"_s, t.Path(u"nowhere"_s)); },
            u"dangling"_s,
            false,
            {}},
        MakeFoldersCase{
            "dangling link in the way of a parent",
            [](TempTree& t) { return t.MakeSymlink(u"dangling"_s, t.Path(u"nowhere"_s)); },
            u"dangling/sub"_s,
            false,
            {}},
        MakeFoldersCase{
            "link to a file in the way",
            [](TempTree& t) { return t.MakeSymlink(u"filelink"_s, t.Path(u"keep/data.txt"_s)); },
            u"filelink/sub"_s,
            false,
            {}}));

TEST(MakeFolders, FolderThatTheSystemRefusesIsAFailure) {
    // Nothing can be created in /proc, whoever runs the test.
    FileSystem fs;
    EXPECT_FALSE(MakeFolders(fs, u"/proc/sorvane-no-such-folder/sub"_s));
    EXPECT_FALSE(fs.Exists(u"/proc/sorvane-no-such-folder"_s));
}

}  // namespace
