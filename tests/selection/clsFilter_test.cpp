#include "selection/clsFilter.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>

#include "support/TempTree.h"
#include "support/scripted/ScriptedProgressWindow.h"

using namespace sorvane;
using namespace Qt::StringLiterals;
using sorvane::test::TempTree;

namespace {

QStringList Sorted(QStringList names) {
    names.sort();
    return names;
}

QStringList Listed(const clsFilter& filter) {
    QStringList names;
    for (int i = 0; i < filter.ListCount(); ++i) names.append(filter.ListItem(i));
    return names;
}

// One item of every kind the attribute bits tell apart.
struct FilterAttributes : ::testing::Test {
    TempTree tree;
    FileSystem fs;
    clsFilter filter{fs};

    void SetUp() override {
        ASSERT_TRUE(tree.MakeFile(u"plain.txt"_s));
        ASSERT_TRUE(tree.MakeFile(u".hidden"_s));
        ASSERT_TRUE(tree.MakeFile(u"ro.txt"_s));
        ASSERT_EQ(::chmod(tree.Path(u"ro.txt"_s).toUtf8().constData(), 0444), 0);
        ASSERT_TRUE(tree.MakeFifo(u"fifo"_s));
        ASSERT_TRUE(tree.MakeSymlink(u"link"_s, u"plain.txt"_s));
        ASSERT_TRUE(tree.MakeFolder(u"sub"_s));
        ASSERT_TRUE(tree.MakeFolder(u".hsub"_s));
        ASSERT_TRUE(tree.MakeFolder(u"rosub"_s));
        ASSERT_EQ(::chmod(tree.Path(u"rosub"_s).toUtf8().constData(), 0555), 0);
        ASSERT_TRUE(tree.MakeSymlink(u"sublink"_s, u"sub"_s));
    }
};

struct AttributeCase {
    int attr;
    bool attrOr;
    QStringList files;
    QStringList folders;
};

TEST_F(FilterAttributes, AttributeFilterKeepsTheItemsOfTheTickedBoxes) {
    const std::vector<AttributeCase> cases = {
        // Default: hidden and system items left out.
        {1 | 32,
         false,
         {u"link"_s, u"plain.txt"_s, u"ro.txt"_s, u"sublink"_s},
         {u"rosub"_s, u"sub"_s}},
        {32, false, {u"link"_s, u"plain.txt"_s, u"sublink"_s}, {u"sub"_s}},
        {1 | 2 | 4 | 32,
         false,
         {u".hidden"_s, u"fifo"_s, u"link"_s, u"plain.txt"_s, u"ro.txt"_s, u"sublink"_s},
         {u".hsub"_s, u"rosub"_s, u"sub"_s}},
        {1 | 4 | 32,
         false,
         {u"fifo"_s, u"link"_s, u"plain.txt"_s, u"ro.txt"_s, u"sublink"_s},
         {u"rosub"_s, u"sub"_s}},
        {0, false, {}, {u"sub"_s}},
        // Only items that carry one of the ticked attributes.
        {2, true, {u".hidden"_s}, {u".hsub"_s}},
        {4, true, {u"fifo"_s}, {}},
        {1, true, {u"ro.txt"_s}, {u"rosub"_s}},
        {1 | 2, true, {u".hidden"_s, u"ro.txt"_s}, {u".hsub"_s, u"rosub"_s}},
        {32, true, {u".hidden"_s, u"link"_s, u"plain.txt"_s, u"ro.txt"_s, u"sublink"_s}, {}},
    };
    for (const AttributeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "Attr " << c.attr << " AttrOr " << c.attrOr);
        filter.setAttr(c.attr);
        filter.setAttrOr(c.attrOr);
        QStringList files, folders;
        int error = -1;
        EXPECT_EQ(filter.sGetFiles(files, tree.Root(), &error), c.files.size());
        EXPECT_EQ(error, 0);
        EXPECT_EQ(Sorted(files), c.files);
        EXPECT_EQ(filter.sGetFoldersFSO(folders, tree.Root(), &error), c.folders.size());
        EXPECT_EQ(error, 0);
        EXPECT_EQ(Sorted(folders), c.folders);
    }
}

TEST_F(FilterAttributes, FilesComeBeforeFoldersAndLinksToFoldersAreFiles) {
    filter.IsFile = true;
    filter.IsFolder = true;
    ASSERT_EQ(filter.MakeFileList(tree.Root()), 0);
    const QStringList names = Listed(filter);
    ASSERT_EQ(names.size(), 6);
    EXPECT_EQ(Sorted(names.mid(0, 4)),
              (QStringList{u"link"_s, u"plain.txt"_s, u"ro.txt"_s, u"sublink"_s}));
    EXPECT_EQ(Sorted(names.mid(4)), (QStringList{u"rosub"_s, u"sub"_s}));

    filter.IsFile = false;
    ASSERT_EQ(filter.MakeFileList(tree.Root() + u'/'), 0);
    EXPECT_EQ(Sorted(Listed(filter)), (QStringList{u"rosub"_s, u"sub"_s}));
}

TEST(clsFilter, StartsWithTheDefaultsOfTheProgram) {
    clsFilter filter;
    EXPECT_TRUE(filter.IsFile);
    EXPECT_FALSE(filter.IsFolder);
    EXPECT_EQ(filter.Attr(), 33);
    EXPECT_FALSE(filter.AttrOr());
    EXPECT_FALSE(filter.IsMatchOther(0));
    EXPECT_FALSE(filter.IsMatchOther(1));
    EXPECT_EQ(filter.ListCount(), 0);
    // Mask 6: hidden and system items fail, read-only ones pass.
    EXPECT_FALSE(filter.PassesAttributes(2 | 32));
    EXPECT_FALSE(filter.PassesAttributes(4));
    EXPECT_TRUE(filter.PassesAttributes(1 | 32));
}

struct FilterPatterns : ::testing::Test {
    TempTree tree;
    FileSystem fs;
    clsFilter filter{fs};

    void SetUp() override {
        for (const QString& name :
             {u"a.txt"_s, u"b.TXT"_s, u"c.log"_s, u"abc"_s, u"x.exe"_s, u"y.tmp"_s, u"abc.txt"_s})
            ASSERT_TRUE(tree.MakeFile(name));
    }

    QStringList List(bool includeOn, const QString& include, bool excludeOn,
                     const QString& exclude) {
        filter.setIsMatchOther(0, includeOn);
        filter.setPatterns(0, include);
        filter.setIsMatchOther(1, excludeOn);
        filter.setPatterns(1, exclude);
        EXPECT_EQ(filter.MakeFileList(tree.Root()), 0);
        return Sorted(Listed(filter));
    }
};

struct PatternCase {
    bool includeOn;
    QString include;
    bool excludeOn;
    QString exclude;
    QStringList expected;
};

TEST_F(FilterPatterns, IncludeAndExcludeListsMatchWholeNamesInTextMode) {
    const QStringList all = {u"a.txt"_s, u"abc"_s,   u"abc.txt"_s, u"b.TXT"_s,
                             u"c.log"_s, u"x.exe"_s, u"y.tmp"_s};
    const std::vector<PatternCase> cases = {
        {false, {}, false, {}, all},
        {true, u"*.txt"_s, false, {}, {u"a.txt"_s, u"abc.txt"_s, u"b.TXT"_s}},
        {true, u"*.TXT"_s, false, {}, {u"a.txt"_s, u"abc.txt"_s, u"b.TXT"_s}},
        {true, u"abc"_s, false, {}, {u"abc"_s}},
        {true, u"*.txt;"_s, false, {}, {u"a.txt"_s, u"abc.txt"_s, u"b.TXT"_s}},
        {true, u"?.log;abc"_s, false, {}, {u"abc"_s, u"c.log"_s}},
        // An empty piece or a lone "*" lets everything through.
        {true, u"a;;b"_s, false, {}, all},
        {true, u"*.log;*"_s, false, {}, all},
        {true, u"*;;*"_s, false, {}, all},
        // A switched-off list is ignored whatever its text.
        {false, u"*.log"_s, false, u"*.txt"_s, all},
        // An exclude list that matches everything drops everything.
        {false, {}, true, {}, {}},
        {false, {}, true, u";*;"_s, {}},
        {false, {}, true, u"*.tmp;;"_s, {}},
        {false,
         {},
         true,
         u"*.tmp;*.exe;*.com;*.bat;*.dll"_s,
         {u"a.txt"_s, u"abc"_s, u"abc.txt"_s, u"b.TXT"_s, u"c.log"_s}},
        {true, u"?.*"_s, true, u"*.LOG"_s, {u"a.txt"_s, u"b.TXT"_s, u"x.exe"_s, u"y.tmp"_s}},
        {true, u"a*"_s, true, u"*.txt"_s, {u"abc"_s}},
    };
    for (const PatternCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.include.toStdString() << " / " << c.exclude.toStdString());
        EXPECT_EQ(List(c.includeOn, c.include, c.excludeOn, c.exclude), c.expected);
    }
}

// The matchers follow every change of the text, also after the list had
// matched everything and after it shrank.
TEST_F(FilterPatterns, ListsFollowEveryChangeOfTheirText) {
    EXPECT_EQ(List(true, u"*.log"_s, false, {}), QStringList{u"c.log"_s});
    EXPECT_EQ(List(true, u"*.log"_s, false, {}), QStringList{u"c.log"_s});
    EXPECT_EQ(List(true, u"a;;b"_s, false, {}).size(), 7);
    EXPECT_EQ(List(true, u"*.log"_s, false, {}), QStringList{u"c.log"_s});
    EXPECT_EQ(List(true, u"a.txt;b.txt;c.log;x.exe;y.tmp;abc"_s, false, {}).size(), 6);
    EXPECT_EQ(filter.PatternCount(0), 6);
    EXPECT_EQ(List(true, u"x.*"_s, false, {}), QStringList{u"x.exe"_s});
    EXPECT_EQ(filter.PatternCount(0), 1);
    EXPECT_EQ(List(true, u"x.*"_s, true, u"*.exe"_s), QStringList{});
    EXPECT_EQ(List(true, u"x.*"_s, true, u"*.tmp"_s), QStringList{u"x.exe"_s});
}

// Lists longer than a hundred patterns keep every pattern: the ones at the
// end still include or exclude.
TEST_F(FilterPatterns, MoreThanAHundredPatternsAreAllUsed) {
    QStringList many;
    for (int k = 0; k < 149; ++k) many.append(u"none%1.*"_s.arg(k));
    many.append(u"y.tmp"_s);
    const QString text = many.join(u';');

    EXPECT_EQ(List(false, {}, true, text), (QStringList{u"a.txt"_s, u"abc"_s, u"abc.txt"_s,
                                                        u"b.TXT"_s, u"c.log"_s, u"x.exe"_s}));
    EXPECT_EQ(filter.PatternCount(1), 150);
    EXPECT_EQ(filter.ListActive(1), 1);
    EXPECT_EQ(List(true, text, false, {}), QStringList{u"y.tmp"_s});
}

TEST(clsFilter, AFolderThatCannotBeReadIsReported) {
    TempTree tree;
    clsFilter filter;
    filter.IsFolder = true;
    EXPECT_EQ(filter.MakeFileList(tree.Path(u"missing"_s)), ENOENT);
    EXPECT_EQ(filter.ListCount(), 0);
}

TEST(clsFilter, ListingLetsPendingWindowEventsRun) {
    TempTree tree;
    ASSERT_TRUE(tree.MakeFile(u"a.txt"_s));
    ScriptedProgressWindow window;
    clsFilter filter;
    filter.setEventPort(&window);
    ASSERT_EQ(filter.MakeFileList(tree.Root()), 0);
    EXPECT_EQ(window.pumps, 1);
    EXPECT_EQ(Listed(filter), QStringList{u"a.txt"_s});
}

}  // namespace
