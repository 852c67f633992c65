#include "rename/mdlRename.h"

#include <gtest/gtest.h>

#include <QSet>
#include <ostream>

#include "ports/scripted/ScriptedMessageBox.h"
#include "ports/scripted/ScriptedProgressWindow.h"
#include "support/TempTree.h"

using namespace sorvane;
using namespace Qt::StringLiterals;
using sorvane::test::TempTree;

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

constexpr bool kWhole = true;
constexpr bool kPart = false;

// Target lists built over real files in a temporary folder.
struct RenameHarness {
    TempTree tree;
    FileSystem fs;
    clsMatching matching;
    clsFilter filter{fs};
    ScriptedProgressWindow window;
    ScriptedMessageBox messages;
    clsCancel progress{window, messages};
    mdlRename list{fs, matching, filter, progress};
    RenameListSettings settings;

    void Init() {
        ASSERT_TRUE(tree.IsValid());
        list.InitRename(10000);
        settings.folderSort = true;
    }

    // "d:" makes a folder, anything else a file.
    void Make(const QStringList& items) {
        for (const QString& item : items) {
            if (item.startsWith(u"d:"))
                ASSERT_TRUE(tree.MakeFolder(item.mid(2))) << item.toStdString();
            else
                ASSERT_TRUE(tree.MakeFile(item, item.toUtf8())) << item.toStdString();
        }
    }

    void Pattern(const QString& search, const QString& replace, bool whole = kWhole,
                 int cmpMode = 0) {
        matching.CmpMode = cmpMode;
        matching.setFileNameMode(whole ? -1 : 0);
        matching.setMatchPattern(search);
        matching.setReplacePattern(replace);
        ASSERT_EQ(matching.CanReplace() & 1, 0) << search.toStdString();
    }

    bool Build(const QString& start = {}) {
        return list.MakeRenameList(start.isEmpty() ? tree.Root() : start, settings);
    }

    QStringList Entries() const {
        QStringList entries;
        for (qint32 i = 0; i < list.GetTargetCount(); ++i)
            entries.append(list.OldName(i) + u" > "_s + list.NewName(i) + u" : "_s +
                           QString::number(list.Status(i)));
        return entries;
    }

    // Presses "中止(&C)" once, as soon as the progress window shows caption,
    // and answers the question with answer.
    void StopAt(const QString& caption, MsgAnswer answer = MsgAnswer::Yes) {
        progress.SetVisible(true);  // as a run does: clears the last stop
        messages.answers = {answer};
        window.onProcessEvents = [this, caption, clicked = false](int) mutable {
            if (!clicked && !window.captions.isEmpty() && window.captions.last() == caption) {
                clicked = true;
                progress.CancelClick();
            }
        };
    }
};

struct RenameList : ::testing::Test, RenameHarness {
    void SetUp() override { Init(); }
};

struct VerdictCase {
    const char* name;
    QStringList items;
    QString search;
    QString replace;
    bool whole;
    int cmpMode;
    QStringList expected;
};

void RunVerdictCases(bool folderMode, const std::vector<VerdictCase>& cases) {
    for (const VerdictCase& c : cases) {
        SCOPED_TRACE(c.name);
        RenameHarness t;
        t.Init();
        t.settings.folderMode = folderMode;
        t.Make(c.items);
        t.Pattern(c.search, c.replace, c.whole, c.cmpMode);
        EXPECT_TRUE(t.Build());
        EXPECT_EQ(t.Entries(), c.expected);
        EXPECT_EQ(t.list.BasePath(), t.tree.Root() + u'/');
    }
}

TEST(RenameVerdicts, FileMode) {
    RunVerdictCases(
        false,
        {
            {"free new name", {u"x1.txt"_s}, u"*1.txt"_s, u"*.txt"_s, kWhole, 0,
             {u"x1.txt > x.txt : 1"_s}},
            {"existing file", {u"x1.txt"_s, u"x.txt"_s}, u"*1.txt"_s, u"*.txt"_s, kWhole, 0,
             {u"x1.txt > x.txt : 2"_s}},
            {"existing folder, left to the rename", {u"x1.txt"_s, u"d:x.txt"_s}, u"*1.txt"_s,
             u"*.txt"_s, kWhole, 0, {u"x1.txt > x.txt : 1"_s}},
            {"chain", {u"a1.txt"_s, u"a11.txt"_s}, u"*1.txt"_s, u"*.txt"_s, kWhole, 0,
             {u"a11.txt > a1.txt : 6"_s, u"a1.txt > a.txt : 1"_s}},
            {"duplicates", {u"a1.txt"_s, u"a2.txt"_s}, u"a?.txt"_s, u"a.txt"_s, kWhole, 0,
             {u"a2.txt > a.txt : 5"_s, u"a1.txt > a.txt : 5"_s}},
            {"duplicates onto a folder", {u"a1.txt"_s, u"a2.txt"_s, u"d:a.txt"_s}, u"a?.txt"_s,
             u"a.txt"_s, kWhole, 0, {u"a2.txt > a.txt : 8"_s, u"a1.txt > a.txt : 8"_s}},
            {"duplicates onto a file", {u"a1.txt"_s, u"a2.txt"_s, u"a.txt"_s}, u"a?.txt"_s,
             u"a.txt"_s, kWhole, 0, {u"a2.txt > a.txt : 5"_s, u"a1.txt > a.txt : 5"_s}},
            {"duplicates that differ in case", {u"a1.txt"_s, u"A2.txt"_s}, u"?*.txt"_s,
             u"?.txt"_s, kWhole, 0, {u"A2.txt > A.txt : 5"_s, u"a1.txt > a.txt : 5"_s}},
            {"identical", {u"a.txt"_s}, u"*.txt"_s, u"*.txt"_s, kWhole, 0,
             {u"a.txt > a.txt : 4"_s}},
            {"case only", {u"a.txt"_s}, u"a.txt"_s, u"A.TXT"_s, kWhole, 0,
             {u"a.txt > A.TXT : 1"_s}},
            // A file system that keeps case apart: A.TXT is another file.
            {"case only onto a separate file", {u"a.txt"_s, u"A.TXT"_s}, u"a.txt"_s,
             u"A.TXT"_s, kWhole, 0, {u"a.txt > A.TXT : 2"_s}},
            {"empty new name", {u"abc"_s, u"xabc"_s}, u"abc"_s, u""_s, kPart, 0,
             {u"xabc > x : 1"_s, u"abc >  : 7"_s}},
            {"not a target", {u"a.log"_s}, u"*.txt"_s, u"*.doc"_s, kWhole, 0, {}},
        });
}

TEST(RenameVerdicts, FolderMode) {
    RunVerdictCases(
        true,
        {
            {"free new name", {u"d:d1"_s, u"f1"_s}, u"*1"_s, u"*"_s, kWhole, 0,
             {u"d1 > d : 1"_s}},
            {"existing file", {u"d:d1"_s, u"d"_s}, u"*1"_s, u"*"_s, kWhole, 0,
             {u"d1 > d : 2"_s}},
            {"existing folder", {u"d:d1"_s, u"d:d"_s}, u"*1"_s, u"*"_s, kWhole, 0,
             {u"d1 > d : 8"_s}},
            {"duplicates", {u"d:d1"_s, u"d:d2"_s}, u"d?"_s, u"d"_s, kWhole, 0,
             {u"d2 > d : 5"_s, u"d1 > d : 5"_s}},
            {"duplicates onto a file", {u"d:d1"_s, u"d:d2"_s, u"d"_s}, u"d?"_s, u"d"_s, kWhole, 0,
             {u"d2 > d : 5"_s, u"d1 > d : 5"_s}},
            {"duplicates onto a folder", {u"d:d1"_s, u"d:d2"_s, u"d:d"_s}, u"d?"_s, u"d"_s,
             kWhole, 0, {u"d2 > d : 8"_s, u"d1 > d : 8"_s}},
            {"identical", {u"d:abc"_s}, u"*"_s, u"*"_s, kWhole, 0, {u"abc > abc : 4"_s}},
            {"case only", {u"d:abc"_s}, u"abc"_s, u"ABC"_s, kWhole, 0, {u"abc > ABC : 1"_s}},
            {"case only onto a separate folder", {u"d:abc"_s, u"d:ABC"_s}, u"abc"_s, u"ABC"_s,
             kWhole, 0, {u"abc > ABC : 8"_s}},
            {"empty new name", {u"d:abc"_s}, u"abc"_s, u""_s, kPart, 0, {u"abc >  : 7"_s}},
        });
}

// On a file system that ignores case, the new spelling finds the target
// itself. A second hard link plays that here: the item at the new name has
// the target's device and inode, whatever letters changed, so the target is
// renamed and never offered for deletion as the existing file.
TEST_F(RenameList, TheTargetFoundAtItsNewSpellingIsRenamedNotDeleted) {
    Make({u"ä.txt"_s, u"b.txt"_s});
    ASSERT_TRUE(tree.MakeHardLink(u"Ä.txt"_s, u"ä.txt"_s));
    ASSERT_TRUE(tree.MakeHardLink(u"B.TXT"_s, u"b.txt"_s));
    Pattern(u"ä.txt"_s, u"Ä.txt"_s);  // exact case: the links are not targets
    ASSERT_TRUE(Build());
    EXPECT_EQ(Entries(), QStringList{u"ä.txt > Ä.txt : 1"_s});

    Pattern(u"b.txt"_s, u"B.TXT"_s);
    ASSERT_TRUE(Build());
    EXPECT_EQ(Entries(), QStringList{u"b.txt > B.TXT : 1"_s});
}

struct InsertCase {
    qint32 operation;
    QString word;
    QStringList expected;
};

TEST_F(RenameList, InsertOperationsMakeEveryCandidateATarget) {
    Make({u"a.txt"_s, u"d:sub"_s});
    const std::vector<InsertCase> cases = {
        {2, u"_old"_s, {u"a.txt > a.txt_old : 1"_s}},
        {1, u"new_"_s, {u"a.txt > new_a.txt : 1"_s}},
        // A name that would move the file into another folder is never used.
        {1, u"sub/"_s, {u"a.txt > sub/a.txt : 7"_s}},
        {2, u"/.."_s, {u"a.txt > a.txt/.. : 7"_s}},
        {3, u"x"_s, {}},
    };
    for (const InsertCase& c : cases) {
        SCOPED_TRACE(c.word.toStdString());
        settings.operation = c.operation;
        settings.insertWord = c.word;
        EXPECT_TRUE(Build());
        EXPECT_EQ(Entries(), c.expected);
    }
    settings.quickList = true;
    settings.operation = 1;
    settings.insertWord = u"sub/"_s;
    EXPECT_TRUE(Build());
    EXPECT_EQ(Entries(), QStringList{u"a.txt > sub/a.txt : 7"_s});
}

TEST_F(RenameList, SortingStoresEachFolderInDescendingOrderIgnoringCase) {
    Make({u"b.txt"_s, u"a.txt"_s, u"C.txt"_s});
    settings.operation = 2;
    settings.insertWord = u"_x"_s;
    ASSERT_TRUE(Build());
    EXPECT_EQ(Entries(), (QStringList{u"C.txt > C.txt_x : 1"_s, u"b.txt > b.txt_x : 1"_s,
                                      u"a.txt > a.txt_x : 1"_s}));
    settings.folderSort = false;
    ASSERT_TRUE(Build());
    QStringList unsorted = Entries();
    unsorted.sort(Qt::CaseInsensitive);
    EXPECT_EQ(unsorted, (QStringList{u"a.txt > a.txt_x : 1"_s, u"b.txt > b.txt_x : 1"_s,
                                     u"C.txt > C.txt_x : 1"_s}));
}

TEST_F(RenameList, TheListIsCutAtTheMaximum) {
    for (int k = 0; k < 25; ++k) Make({u"f%1.txt"_s.arg(k, 2, 10, QChar(u'0'))});
    list.InitRename(10);
    Pattern(u"f*.txt"_s, u"g*.txt"_s);
    for (const bool quick : {false, true}) {
        SCOPED_TRACE(quick ? "quick" : "checked");
        settings.quickList = quick;
        settings.folderSort = !quick;
        EXPECT_FALSE(Build());
        ASSERT_EQ(list.GetTargetCount(), 10);
        if (!quick) {
            EXPECT_EQ(Entries().first(), u"f24.txt > g24.txt : 1"_s);
            EXPECT_EQ(Entries().last(), u"f15.txt > g15.txt : 1"_s);
        }
    }
    // The cut also holds across folders.
    Make({u"sub/f1.txt"_s});
    list.InitRename(25);
    settings.recursive = true;
    settings.quickList = false;
    EXPECT_FALSE(Build());
    EXPECT_EQ(list.GetTargetCount(), 25);
    list.InitRename(26);
    EXPECT_TRUE(Build());
    EXPECT_EQ(list.GetTargetCount(), 26);
}

TEST_F(RenameList, QuickListMarksEveryTargetForRenaming) {
    Make({u"a1.txt"_s, u"a2.txt"_s, u"a.txt"_s, u"b1.txt"_s, u"b11.txt"_s, u"d:c.txt"_s,
          u"c1.txt"_s});
    Pattern(u"?*1.txt"_s, u"?*.txt"_s);
    settings.quickList = true;
    ASSERT_TRUE(Build());
    QStringList entries = Entries();
    entries.sort();
    EXPECT_EQ(entries, (QStringList{u"a1.txt > a.txt : 1"_s, u"b1.txt > b.txt : 1"_s,
                                    u"b11.txt > b1.txt : 1"_s, u"c1.txt > c.txt : 1"_s}));
}

TEST_F(RenameList, FolderModeRecursionListsAFolderBeforeItsContents) {
    Make({u"d:x/x2/x3"_s, u"d:x/other"_s, u"x/x4"_s});
    settings.folderMode = true;
    settings.recursive = true;
    Pattern(u"x*"_s, u"y*"_s);
    for (const QString& start : {tree.Root(), tree.Root() + u'/'}) {
        ASSERT_TRUE(Build(start));
        EXPECT_EQ(list.BasePath(), tree.Root() + u'/');
        EXPECT_EQ(Entries(), (QStringList{u"x > y : 1"_s, u"x/x2 > x/y2 : 1"_s,
                                          u"x/x2/x3 > x/x2/y3 : 1"_s}));
    }
}

TEST_F(RenameList, FileModeRecursionVisitsEverySubfolder) {
    Make({u"a1.txt"_s, u"s/b1.txt"_s, u"s/t/c1.txt"_s, u"u/d1.txt"_s, u"u/d.txt"_s});
    settings.recursive = true;
    Pattern(u"*1.txt"_s, u"*.txt"_s);
    ASSERT_TRUE(Build());
    const QStringList entries = Entries();
    ASSERT_EQ(entries.size(), 4);
    EXPECT_EQ(entries[0], u"a1.txt > a.txt : 1"_s);
    EXPECT_EQ(QSet<QString>(entries.begin() + 1, entries.end()),
              (QSet<QString>{u"s/b1.txt > s/b.txt : 1"_s, u"s/t/c1.txt > s/t/c.txt : 1"_s,
                             u"u/d1.txt > u/d.txt : 2"_s}));
    // The contents of s/ come right after each other, s/ before s/t/.
    EXPECT_EQ(entries.indexOf(u"s/b1.txt > s/b.txt : 1"_s) + 1,
              entries.indexOf(u"s/t/c1.txt > s/t/c.txt : 1"_s));
}

TEST_F(RenameList, RecursionNeverEntersALinkToAFolder) {
    Make({u"outside/o1.txt"_s, u"d:outside/o1"_s, u"start/s1.txt"_s, u"d:start/real1"_s});
    ASSERT_TRUE(tree.MakeSymlink(u"start/ln1"_s, u"../outside"_s));
    const QString start = tree.Path(u"start"_s);
    settings.recursive = true;
    Pattern(u"*1*"_s, u"*2*"_s);
    ASSERT_TRUE(Build(start));
    // The link itself is a file; nothing behind it is listed.
    QStringList entries = Entries();
    entries.sort();
    EXPECT_EQ(entries, (QStringList{u"ln1 > ln2 : 1"_s, u"s1.txt > s2.txt : 1"_s}));

    settings.folderMode = true;
    ASSERT_TRUE(Build(start));
    EXPECT_EQ(Entries(), QStringList{u"real1 > real2 : 1"_s});
}

TEST_F(RenameList, ArraysGrowOverManyFolders) {
    QStringList expected;
    for (const QString& folder : {u"p"_s, u"q"_s, u"r"_s})
        for (int k = 0; k < 700; ++k) {
            const QString name = u"%1/n%2.txt"_s.arg(folder).arg(k);
            Make({name});
            expected.append(name + u" > "_s + name.chopped(4) + u".doc : 1"_s);
        }
    settings.recursive = true;
    Pattern(u"*.txt"_s, u"*.doc"_s);
    ASSERT_TRUE(Build());
    ASSERT_EQ(list.GetTargetCount(), 2100);
    QStringList entries = Entries();
    entries.sort();
    expected.sort();
    EXPECT_EQ(entries, expected);
}

TEST_F(RenameList, FilterDecidesTheCandidatesAndKeepsItsSwitches) {
    Make({u"a1.txt"_s, u"b1.log"_s, u"d:c1.txt"_s});
    filter.setIsMatchOther(0, true);
    filter.setPatterns(0, u"*.txt"_s);
    Pattern(u"*1.*"_s, u"*2.*"_s);
    ASSERT_TRUE(Build());
    EXPECT_EQ(Entries(), QStringList{u"a1.txt > a2.txt : 1"_s});
    settings.folderMode = true;
    ASSERT_TRUE(Build());
    EXPECT_EQ(Entries(), QStringList{u"c1.txt > c2.txt : 1"_s});
    EXPECT_TRUE(filter.IsFile);
    EXPECT_FALSE(filter.IsFolder);
}

TEST_F(RenameList, AFolderThatCannotBeListedEndsWithAnEmptyList) {
    Make({u"a1.txt"_s});
    Pattern(u"*1.txt"_s, u"*.txt"_s);
    ASSERT_TRUE(Build());
    ASSERT_EQ(list.GetTargetCount(), 1);
    EXPECT_FALSE(Build(tree.Path(u"missing"_s)));
    EXPECT_EQ(list.GetTargetCount(), 0);
}

TEST_F(RenameList, InitAndClearEndTheList) {
    Make({u"a1.txt"_s});
    Pattern(u"*1.txt"_s, u"*.txt"_s);
    ASSERT_TRUE(Build());
    list.InitRename(5);
    EXPECT_EQ(list.GetTargetCount(), 0);
    EXPECT_EQ(list.MaxCount(), 5);
    ASSERT_TRUE(Build());
    EXPECT_EQ(list.GetTargetCount(), 1);
    list.ClearRenameList();
    EXPECT_EQ(list.GetTargetCount(), 0);
    EXPECT_EQ(list.GetRenamedCount(), 0);
    EXPECT_EQ(list.GetRestoredCount(), 0);
    EXPECT_EQ(list.GetDeletedCount(), 0);
}

TEST_F(RenameList, ProgressTextsOfOneFolder) {
    Make({u"a1.txt"_s});
    Pattern(u"*1.txt"_s, u"*.txt"_s);
    ASSERT_TRUE(Build());
    const QString base = tree.Root() + u'/';
    EXPECT_EQ(window.captions, (QStringList{u"変換作業中 0 ( 0 ) リスト作成中"_s,
                                            u"変換作業中 0 ( 0 ) リスト作成中"_s,
                                            u"変換作業中 0 リスト作成中"_s,
                                            u"変換作業中 1 リスト作成中"_s}));
    EXPECT_EQ(window.titles, (QStringList{u"ファイルリスト作成中 / 0 ( 0 )"_s,
                                          u"ファイルリスト作成中 / 0 ( 0 )"_s,
                                          u"ファイルリスト作成中 / 0 check"_s,
                                          u"ファイルリスト作成中 / 1 check"_s}));
    EXPECT_EQ(window.texts, (QStringList{base, base + u"a1.txt"_s, base + u"a1.txt"_s}));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(RenameList, ProgressIsShownEvery200CandidatesAndTargets) {
    for (int k = 0; k < 450; ++k) Make({u"f%1.txt"_s.arg(k)});
    settings.folderMode = false;
    Pattern(u"f*.txt"_s, u"g*.txt"_s);
    ASSERT_TRUE(Build());
    EXPECT_EQ(window.captions,
              (QStringList{u"変換作業中 0 ( 0 ) リスト作成中"_s, u"変換作業中 0 ( 0 ) リスト作成中"_s,
                           u"変換作業中 0 ( 200 ) リスト作成中"_s,
                           u"変換作業中 0 ( 400 ) リスト作成中"_s, u"変換作業中 0 リスト作成中"_s,
                           u"変換作業中 1 リスト作成中"_s, u"変換作業中 200 リスト作成中"_s,
                           u"変換作業中 400 リスト作成中"_s}));
}

TEST_F(RenameList, QuickListShowsProgressEvery1000Targets) {
    for (int k = 0; k < 1500; ++k) Make({u"f%1"_s.arg(k)});
    settings.quickList = true;
    Pattern(u"f*"_s, u"g*"_s);
    ASSERT_TRUE(Build());
    QStringList checks = window.captions.filter(u"リスト作成中"_s);
    checks.removeIf([](const QString& c) { return c.contains(u'('); });
    EXPECT_EQ(checks, (QStringList{u"変換作業中 1 リスト作成中"_s, u"変換作業中 1000 リスト作成中"_s}));
    StopAt(u"変換作業中 1000 リスト作成中"_s);
    EXPECT_FALSE(Build());
    EXPECT_EQ(list.GetTargetCount(), 1000);
}

struct StopCase {
    QString caption;
    qint32 count;
};

// A stop while candidates are matched empties the list; a stop while targets
// are added keeps what was added.
TEST_F(RenameList, AStopAtEachProgressStepEndsTheList) {
    for (int k = 0; k < 450; ++k) Make({u"f%1.txt"_s.arg(k)});
    Make({u"sub/f.txt"_s});
    settings.recursive = true;
    Pattern(u"f*.txt"_s, u"g*.txt"_s);
    const std::vector<StopCase> cases = {
        {u"変換作業中 0 ( 0 ) リスト作成中"_s, 0},
        {u"変換作業中 0 ( 200 ) リスト作成中"_s, 0},
        {u"変換作業中 0 リスト作成中"_s, 0},
        {u"変換作業中 1 リスト作成中"_s, 1},
        {u"変換作業中 200 リスト作成中"_s, 200},
        {u"変換作業中 450 ( 0 ) リスト作成中"_s, 0},
        {u"変換作業中 450 リスト作成中"_s, 450},
        {u"変換作業中 451 リスト作成中"_s, 451},
    };
    for (const StopCase& c : cases) {
        SCOPED_TRACE(c.caption.toStdString());
        messages.shown.clear();
        StopAt(c.caption);
        EXPECT_FALSE(Build());
        EXPECT_EQ(list.GetTargetCount(), c.count);
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_EQ(messages.shown[0].title, u"ファイルリストの作成"_s);
        EXPECT_EQ(messages.shown[0].text, u"作業を中止しますか？"_s);
    }
    // Declining the question goes on to the end.
    StopAt(u"変換作業中 200 リスト作成中"_s, MsgAnswer::No);
    EXPECT_TRUE(Build());
    EXPECT_EQ(list.GetTargetCount(), 451);
}

}  // namespace
