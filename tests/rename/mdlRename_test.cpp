#include "rename/mdlRename.h"

#include <gtest/gtest.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <atomic>
#include <ostream>

#include "rename/StopFlagProgress.h"
#include "support/TempTree.h"
#include "support/scripted/ScriptedMessageBox.h"
#include "support/scripted/ScriptedProgressWindow.h"

using namespace sorvane;
using namespace Qt::StringLiterals;
using sorvane::test::TempTree;

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

constexpr bool kWhole = true;
constexpr bool kPart = false;

// The text of a name given by its bytes.
QString B(const char* bytes) {
    return FileSystem::Decode(QByteArray(bytes));
}

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
        matching.setCmpMode(CompareMode(cmpMode));
        matching.setFileNameMode(whole ? NameMode::Whole : NameMode::Partial);
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
                           QString::number(list.Status(i).Word()));
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
    RunVerdictCases(false,
                    {
                        {"free new name",
                         {u"x1.txt"_s},
                         u"*1.txt"_s,
                         u"*.txt"_s,
                         kWhole,
                         0,
                         {u"x1.txt > x.txt : 1"_s}},
                        {"existing file",
                         {u"x1.txt"_s, u"x.txt"_s},
                         u"*1.txt"_s,
                         u"*.txt"_s,
                         kWhole,
                         0,
                         {u"x1.txt > x.txt : 2"_s}},
                        {"existing folder, left to the rename",
                         {u"x1.txt"_s, u"d:x.txt"_s},
                         u"*1.txt"_s,
                         u"*.txt"_s,
                         kWhole,
                         0,
                         {u"x1.txt > x.txt : 1"_s}},
                        {"chain",
                         {u"a1.txt"_s, u"a11.txt"_s},
                         u"*1.txt"_s,
                         u"*.txt"_s,
                         kWhole,
                         0,
                         {u"a11.txt > a1.txt : 6"_s, u"a1.txt > a.txt : 1"_s}},
                        {"duplicates",
                         {u"a1.txt"_s, u"a2.txt"_s},
                         u"a?.txt"_s,
                         u"a.txt"_s,
                         kWhole,
                         0,
                         {u"a2.txt > a.txt : 5"_s, u"a1.txt > a.txt : 5"_s}},
                        {"duplicates onto a folder",
                         {u"a1.txt"_s, u"a2.txt"_s, u"d:a.txt"_s},
                         u"a?.txt"_s,
                         u"a.txt"_s,
                         kWhole,
                         0,
                         {u"a2.txt > a.txt : 8"_s, u"a1.txt > a.txt : 8"_s}},
                        {"duplicates onto a file",
                         {u"a1.txt"_s, u"a2.txt"_s, u"a.txt"_s},
                         u"a?.txt"_s,
                         u"a.txt"_s,
                         kWhole,
                         0,
                         {u"a2.txt > a.txt : 5"_s, u"a1.txt > a.txt : 5"_s}},
                        {"duplicates that differ in case",
                         {u"a1.txt"_s, u"A2.txt"_s},
                         u"?*.txt"_s,
                         u"?.txt"_s,
                         kWhole,
                         0,
                         {u"A2.txt > A.txt : 5"_s, u"a1.txt > a.txt : 5"_s}},
                        {"identical",
                         {u"a.txt"_s},
                         u"*.txt"_s,
                         u"*.txt"_s,
                         kWhole,
                         0,
                         {u"a.txt > a.txt : 4"_s}},
                        {"case only",
                         {u"a.txt"_s},
                         u"a.txt"_s,
                         u"A.TXT"_s,
                         kWhole,
                         0,
                         {u"a.txt > A.TXT : 1"_s}},
                        // A file system that keeps case apart: A.TXT is another file,
                        // which the rename refuses to replace; it is never offered for
                        // deletion, as it might be the target under another spelling.
                        {"case only onto a separate file",
                         {u"a.txt"_s, u"A.TXT"_s},
                         u"a.txt"_s,
                         u"A.TXT"_s,
                         kWhole,
                         0,
                         {u"a.txt > A.TXT : 1"_s}},
                        {"empty new name",
                         {u"abc"_s, u"xabc"_s},
                         u"abc"_s,
                         u""_s,
                         kPart,
                         0,
                         {u"xabc > x : 1"_s, u"abc >  : 7"_s}},
                        {"not a target", {u"a.log"_s}, u"*.txt"_s, u"*.doc"_s, kWhole, 0, {}},
                        // Names whose bytes are not UTF-8: "*" carries their bytes,
                        // "?" takes one of them, in text mode too.
                        {"bytes that are not UTF-8 carried by a star",
                         {B("\x82\xa0.txt")},
                         u"*.txt"_s,
                         u"X_*.txt"_s,
                         kWhole,
                         0,
                         {B("\x82\xa0.txt") + u" > X_"_s + B("\x82\xa0.txt") + u" : 1"_s}},
                        {"one such byte is one character",
                         {B("a\x82.TXT"), B("a\x82\xa0.TXT")},
                         u"a?.txt"_s,
                         u"b?.txt"_s,
                         kWhole,
                         1,
                         {B("a\x82.TXT") + u" > b"_s + B("\x82.txt : 1")}},
                        // The escapes of E3 81 82 spell "あ" on disk: the two new
                        // names are the same bytes.
                        {"duplicates by their bytes",
                         {B("\xe3\x81Z\x82.txt"), u"Zあ.txt"_s},
                         u"*Z?.txt"_s,
                         u"*?.txt"_s,
                         kWhole,
                         0,
                         {B("\xe3\x81Z\x82.txt") + u" > あ.txt : 5"_s, u"Zあ.txt > あ.txt : 5"_s}},
                        // A "?" that cuts a pair leaves half of it, no byte of the
                        // old name; a byte that is one stays.
                        {"half of a pair is no byte",
                         {u"💩a.txt"_s, B("x\xa9\x62.txt")},
                         u"?*"_s,
                         u"*"_s,
                         kWhole,
                         0,
                         {u"💩a.txt > "_s + QChar(0xDCA9) + u"a.txt : 7"_s,
                          B("x\xa9\x62.txt > \xa9\x62.txt : 1")}},
                        // A high half cut off joins a byte into another character.
                        {"half of a pair joined to a byte",
                         {B("\xf0\x9f\x98\x80\x82")},
                         u"??*"_s,
                         u"?*"_s,
                         kWhole,
                         0,
                         {B("\xf0\x9f\x98\x80\x82") + u" > 💂 : 7"_s}},
                        // Words given in bytes, in a folder of plain names.
                        {"words in bytes that spell a character",
                         {u"x.txt"_s},
                         u"*.txt"_s,
                         QString(QChar(0xDCE3)) + QChar(0xDC81) + QChar(0xDC82) + u"*.txt"_s,
                         kWhole,
                         0,
                         {u"x.txt > あx.txt : 1"_s}},
                    });
}

TEST(RenameVerdicts, FolderMode) {
    RunVerdictCases(
        true,
        {
            {"free new name", {u"d:d1"_s, u"f1"_s}, u"*1"_s, u"*"_s, kWhole, 0, {u"d1 > d : 1"_s}},
            {"existing file", {u"d:d1"_s, u"d"_s}, u"*1"_s, u"*"_s, kWhole, 0, {u"d1 > d : 2"_s}},
            {"existing folder",
             {u"d:d1"_s, u"d:d"_s},
             u"*1"_s,
             u"*"_s,
             kWhole,
             0,
             {u"d1 > d : 8"_s}},
            {"duplicates",
             {u"d:d1"_s, u"d:d2"_s},
             u"d?"_s,
             u"d"_s,
             kWhole,
             0,
             {u"d2 > d : 5"_s, u"d1 > d : 5"_s}},
            {"duplicates onto a file",
             {u"d:d1"_s, u"d:d2"_s, u"d"_s},
             u"d?"_s,
             u"d"_s,
             kWhole,
             0,
             {u"d2 > d : 5"_s, u"d1 > d : 5"_s}},
            {"duplicates onto a folder",
             {u"d:d1"_s, u"d:d2"_s, u"d:d"_s},
             u"d?"_s,
             u"d"_s,
             kWhole,
             0,
             {u"d2 > d : 8"_s, u"d1 > d : 8"_s}},
            {"identical", {u"d:abc"_s}, u"*"_s, u"*"_s, kWhole, 0, {u"abc > abc : 4"_s}},
            {"case only", {u"d:abc"_s}, u"abc"_s, u"ABC"_s, kWhole, 0, {u"abc > ABC : 1"_s}},
            {"case only onto a separate folder",
             {u"d:abc"_s, u"d:ABC"_s},
             u"abc"_s,
             u"ABC"_s,
             kWhole,
             0,
             {u"abc > ABC : 8"_s}},
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
    // Here the other spelling is a separate entry: the rename refuses it and
    // both entries stay as they were.
    const test::Inventory before = tree.Take();
    EXPECT_EQ(list.RenameAll(false, DeleteMode::Forced, {}), 0);
    EXPECT_EQ(Entries(), QStringList{u"b.txt > B.TXT : 34"_s});
    EXPECT_EQ(tree.Take(), before);
}

// The collision checks take what stands at a new name from the folder's
// listing; asked name by name instead, the file system must give the same
// list, status for status, whatever stands there: files, folders, links,
// chains, duplicates, other letter cases, names beyond ASCII, in files and
// in folder mode, over subfolders.
TEST_F(RenameList, TheListingAnswersLikeALookupPerName) {
    Make({u"x1.txt"_s,  u"x.txt"_s,  u"y1.txt"_s, u"d:y.txt"_s,  u"a1.txt"_s,     u"a11.txt"_s,
          u"c1.txt"_s,  u"C.TXT"_s,  u"ä1.txt"_s, u"ä.txt"_s,    u"e1.txt"_s,     u"E1.txt"_s,
          u"d:f1"_s,    u"d:f"_s,    u"d:g1"_s,   u"g"_s,        u"d:h1"_s,       u"s/x1.txt"_s,
          u"s/X.TXT"_s, u"d:s/f1"_s, u"s/f"_s,    u"d:s/t/k1"_s, u"s/t/k1.txt"_s, u"s/t/K.txt"_s});
    ASSERT_TRUE(tree.MakeSymlink(u"l1.txt"_s, u"nowhere"_s));
    ASSERT_TRUE(tree.MakeSymlink(u"l.txt"_s, u"x.txt"_s));
    ASSERT_TRUE(tree.MakeHardLink(u"H.txt"_s, u"e1.txt"_s));
    struct Case {
        QString search;
        QString replace;
        int cmpMode;
    } const cases[] = {
        {u"*1.txt"_s, u"*.txt"_s, 0}, {u"*1.txt"_s, u"*.TXT"_s, 0}, {u"*1.txt"_s, u"*.txt"_s, 1},
        {u"*.txt"_s, u"*.txt"_s, 0},  {u"?1*"_s, u"?*"_s, 1},       {u"e1.txt"_s, u"H.txt"_s, 0},
        {u"*1*"_s, u"*"_s, 0},        {u"*"_s, u"x.txt"_s, 0},
    };
    settings.recursive = true;
    QSet<qint32> verdicts;
    for (const bool folderMode : {false, true}) {
        settings.folderMode = folderMode;
        for (const Case& c : cases) {
            SCOPED_TRACE(c.search.toStdString() + " > " + c.replace.toStdString() +
                         (folderMode ? " folders" : " files"));
            Pattern(c.search, c.replace, kWhole, c.cmpMode);
            list.SetNamesFromListing(false);
            ASSERT_TRUE(Build());
            const QStringList perName = Entries();
            list.SetNamesFromListing(true);
            ASSERT_TRUE(Build());
            EXPECT_EQ(Entries(), perName);
            for (qint32 i = 0; i < list.GetTargetCount(); ++i)
                verdicts.insert(list.Status(i).Word());
        }
    }
    // The cases reach every verdict of list building.
    EXPECT_EQ(verdicts, (QSet<qint32>{1, 2, 4, 5, 6, 8}));
}

// A folder that ignores letter case, played by hard links whose names differ
// only in case: every name of the folder has its other spelling, so the
// folder's test of itself finds one item under both, and the new names are
// looked up one by one. The verdicts are those of that file system.
TEST_F(RenameList, AFolderThatIgnoresCaseIsAskedNameByName) {
    Make({u"p1.jpg"_s, u"p.jpg"_s, u"q1.jpg"_s, u"1"_s});
    ASSERT_TRUE(tree.MakeHardLink(u"P1.JPG"_s, u"p1.jpg"_s));
    ASSERT_TRUE(tree.MakeHardLink(u"P.JPG"_s, u"p.jpg"_s));
    ASSERT_TRUE(tree.MakeHardLink(u"Q1.JPG"_s, u"q1.jpg"_s));
    FolderListing listing;
    ASSERT_EQ(fs.ReadFolder(tree.Root(), 39, true, true, listing), 0);
    ASSERT_FALSE(listing.NamesExact());

    struct Case {
        QString search;
        QString replace;
        QStringList expected;
    } const cases[] = {
        // The other spelling is the target itself: a change of case.
        {u"p1.jpg"_s, u"P1.jpg"_s, {u"p1.jpg > P1.jpg : 1"_s}},
        {u"P1.JPG"_s, u"p1.jpg"_s, {u"P1.JPG > p1.jpg : 1"_s}},
        // Another item under the new name, in either spelling.
        {u"p1.jpg"_s, u"P.JPG"_s, {u"p1.jpg > P.JPG : 2"_s}},
        {u"p1.jpg"_s, u"p.jpg"_s, {u"p1.jpg > p.jpg : 2"_s}},
        // Nothing under the new name in any spelling.
        {u"q1.jpg"_s, u"r.jpg"_s, {u"q1.jpg > r.jpg : 1"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.search.toStdString() + " > " + c.replace.toStdString());
        Pattern(c.search, c.replace);
        for (const bool fromListing : {true, false}) {
            list.SetNamesFromListing(fromListing);
            ASSERT_TRUE(Build());
            EXPECT_EQ(Entries(), c.expected) << fromListing;
        }
    }
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
        settings.operation = RenameOperation(c.operation);
        settings.insertWord = c.word;
        EXPECT_TRUE(Build());
        EXPECT_EQ(Entries(), c.expected);
    }
    settings.quickList = true;
    settings.operation = RenameOperation::InsertFront;
    settings.insertWord = u"sub/"_s;
    EXPECT_TRUE(Build());
    EXPECT_EQ(Entries(), QStringList{u"a.txt > sub/a.txt : 7"_s});
    // Even marked for renaming, such a name is refused by the rename itself.
    const test::Inventory before = tree.Take();
    list.SetVerdict(0, Verdict::Rename);
    EXPECT_EQ(list.RenameAll(false, DeleteMode::Forced, {}), 0);
    EXPECT_EQ(Entries(), QStringList{u"a.txt > sub/a.txt : 39"_s});
    EXPECT_EQ(tree.Take(), before);
}

TEST_F(RenameList, SortingStoresEachFolderInDescendingOrderIgnoringCase) {
    Make({u"b.txt"_s, u"a.txt"_s, u"C.txt"_s});
    settings.operation = RenameOperation::InsertBack;
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

// The order is that of the UTF-16 units with only A-Z folded: "_" comes
// after "B" unfolded but before it folded, a name before its longer
// namesakes, units above 0xFF by their whole value, and a surrogate pair
// before a unit above it.
TEST_F(RenameList, SortingComparesFoldedUtf16Units) {
    Make({u"z.txt"_s, u"Ā.txt"_s, u"ab.txt"_s, u"a.txt"_s, u"B.txt"_s, u"あ.txt"_s, u"_x.txt"_s,
          u"\U0001D49C.txt"_s, u"｡.txt"_s, u"a"_s});
    settings.operation = RenameOperation::InsertBack;
    settings.insertWord = u"_x"_s;
    ASSERT_TRUE(Build());
    QStringList oldNames;
    for (qint32 i = 0; i < list.GetTargetCount(); ++i) oldNames.append(list.OldName(i));
    EXPECT_EQ(oldNames,
              (QStringList{u"｡.txt"_s, u"\U0001D49C.txt"_s, u"あ.txt"_s, u"Ā.txt"_s, u"z.txt"_s,
                           u"B.txt"_s, u"ab.txt"_s, u"a.txt"_s, u"a"_s, u"_x.txt"_s}));
}

// Many new names shared in groups of ten, two that differ only in case and
// one of its own, in a folder large enough to fill the duplicate table.
TEST_F(RenameList, EveryTargetSharingANewNameIsMarkedDuplicate) {
    for (int k = 0; k < 300; ++k) Make({u"x%1.txt"_s.arg(k, 3, 10, QChar(u'0'))});
    Make({u"p1.txt"_s, u"P2.txt"_s, u"q7.txt"_s});
    Pattern(u"*?.txt"_s, u"*.txt"_s);
    ASSERT_TRUE(Build());
    ASSERT_EQ(list.GetTargetCount(), 303);
    QStringList unique;
    for (qint32 i = 0; i < list.GetTargetCount(); ++i) {
        if (list.Status(i).verdict() != Verdict::Duplicate)
            unique.append(list.OldName(i) + u" : "_s + QString::number(list.Status(i).Word()));
    }
    EXPECT_EQ(unique, QStringList{u"q7.txt : 1"_s});
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
        EXPECT_EQ(Entries(),
                  (QStringList{u"x > y : 1"_s, u"x/x2 > x/y2 : 1"_s, u"x/x2/x3 > x/x2/y3 : 1"_s}));
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

// p and r are large enough for the list to share the texts their names lie
// in, q is copied name by name: each keeps its names while the next folder
// is listed into the same buffers.
TEST_F(RenameList, ArraysGrowAndNamesStayOverManyFolders) {
    QStringList expected;
    for (const auto& [folder, count] : {std::pair{u"p"_s, 4000}, {u"q"_s, 7}, {u"r"_s, 4000}})
        for (int k = 0; k < count; ++k) {
            const QString name = u"%1/n%2.txt"_s.arg(folder).arg(k);
            Make({name});
            expected.append(name + u" > "_s + name.chopped(4) + u".doc : 1"_s);
        }
    settings.recursive = true;
    Pattern(u"*.txt"_s, u"*.doc"_s);
    ASSERT_TRUE(Build());
    ASSERT_EQ(list.GetTargetCount(), 8007);
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
    EXPECT_EQ(
        window.captions,
        (QStringList{u"変換作業中 0 ( 0 ) リスト作成中"_s, u"変換作業中 0 ( 0 ) リスト作成中"_s,
                     u"変換作業中 0 リスト作成中"_s, u"変換作業中 1 リスト作成中"_s}));
    EXPECT_EQ(
        window.titles,
        (QStringList{u"ファイルリスト作成中 / 0 ( 0 )"_s, u"ファイルリスト作成中 / 0 ( 0 )"_s,
                     u"ファイルリスト作成中 / 0 check"_s, u"ファイルリスト作成中 / 1 check"_s}));
    EXPECT_EQ(window.texts, (QStringList{base, base + u"a1.txt"_s, base + u"a1.txt"_s}));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(RenameList, ProgressIsShownEvery200CandidatesAndTargets) {
    for (int k = 0; k < 450; ++k) Make({u"f%1.txt"_s.arg(k)});
    settings.folderMode = false;
    Pattern(u"f*.txt"_s, u"g*.txt"_s);
    ASSERT_TRUE(Build());
    EXPECT_EQ(
        window.captions,
        (QStringList{u"変換作業中 0 ( 0 ) リスト作成中"_s, u"変換作業中 0 ( 0 ) リスト作成中"_s,
                     u"変換作業中 0 ( 200 ) リスト作成中"_s, u"変換作業中 0 ( 400 ) リスト作成中"_s,
                     u"変換作業中 0 リスト作成中"_s, u"変換作業中 1 リスト作成中"_s,
                     u"変換作業中 200 リスト作成中"_s, u"変換作業中 400 リスト作成中"_s}));
}

TEST_F(RenameList, QuickListShowsProgressEvery1000Targets) {
    for (int k = 0; k < 1500; ++k) Make({u"f%1"_s.arg(k)});
    settings.quickList = true;
    Pattern(u"f*"_s, u"g*"_s);
    ASSERT_TRUE(Build());
    QStringList checks = window.captions.filter(u"リスト作成中"_s);
    checks.removeIf([](const QString& c) { return c.contains(u'('); });
    EXPECT_EQ(checks,
              (QStringList{u"変換作業中 1 リスト作成中"_s, u"変換作業中 1000 リスト作成中"_s}));
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
        {u"変換作業中 0 ( 0 ) リスト作成中"_s, 0}, {u"変換作業中 0 ( 200 ) リスト作成中"_s, 0},
        {u"変換作業中 0 リスト作成中"_s, 0},       {u"変換作業中 1 リスト作成中"_s, 1},
        {u"変換作業中 200 リスト作成中"_s, 200},   {u"変換作業中 450 ( 0 ) リスト作成中"_s, 0},
        {u"変換作業中 450 リスト作成中"_s, 450},   {u"変換作業中 451 リスト作成中"_s, 451},
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

// A plan built away from the progress window stops on its flag alone; the
// same builder builds the whole plan once the flag is down.
TEST_F(RenameList, AStopFlagEndsABuildOfAPlan) {
    Make({u"a1.txt"_s, u"sub/b1.txt"_s});
    settings.recursive = true;
    Pattern(u"*1.txt"_s, u"*.txt"_s);
    std::atomic<bool> stop{true};
    StopFlagProgress progress(stop);
    RenameListBuilder builder(fs, matching, filter);
    const RenamePlan stopped = builder.Build(tree.Root(), settings, 10000, progress);
    EXPECT_FALSE(stopped.complete);
    EXPECT_EQ(stopped.targets.Count(), 0);

    stop = false;
    const RenamePlan plan = builder.Build(tree.Root(), settings, 10000, progress);
    EXPECT_TRUE(plan.complete);
    ASSERT_EQ(plan.targets.Count(), 2);
    EXPECT_EQ(plan.targets.NewPath(1), u"sub/b.txt"_s);
    EXPECT_EQ(plan.basePath, tree.Root() + u'/');
}

}  // namespace

// ---------------------------------------------------------------------------
// Renaming, removal of colliding files and restore

using sorvane::test::Inventory;

namespace {

// The trash of the run goes into a folder of its own for the test's life.
struct IsolatedTrash {
    QTemporaryDir home;
    QByteArray saved = qgetenv("XDG_DATA_HOME");
    bool hadValue = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    explicit IsolatedTrash(const QString& dataHome = {}) {
        qputenv("XDG_DATA_HOME", (dataHome.isEmpty() ? home.path() : dataHome).toUtf8());
    }
    ~IsolatedTrash() {
        if (hadValue)
            qputenv("XDG_DATA_HOME", saved);
        else
            qunsetenv("XDG_DATA_HOME");
    }
    QString TrashedFile(const QString& name) const {
        return home.path() + u"/Trash/files/"_s + name;
    }
};

// The trash of a file beside the home folder is the isolated one.
bool TrashIsHomeTrash(const QString& path) {
    return QStorageInfo(path) == QStorageInfo(QDir::homePath());
}

QByteArray ReadLink(const QString& path) {
    char target[4096];
    const ssize_t n = ::readlink(path.toUtf8().constData(), target, sizeof target);
    return n < 0 ? QByteArray("(no link)") : QByteArray(target, n);
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// Sets the permissions of a path for the test's life, and gives the owner
// back full access afterwards, so that the temporary tree can be removed.
struct ModeUntilEnd {
    QByteArray path;
    bool changed;
    ModeUntilEnd(const QString& p, mode_t mode)
        : path(p.toUtf8()), changed(::chmod(path.constData(), mode) == 0) {}
    ~ModeUntilEnd() { ::chmod(path.constData(), 0755); }
};

// Permissions do not bind the superuser. For the life of this object the
// calling thread (setfsuid is per thread) checks file access as "nobody",
// so a read-only folder refuses the rename as it does for any user.
struct UnprivilegedFileAccess {
    static constexpr uid_t kNobody = 65534;
    bool superuser = ::geteuid() == 0;
    bool binds = true;
    UnprivilegedFileAccess() {
        if (!superuser) return;
        ::setfsuid(kNobody);
        binds = uid_t(::setfsuid(uid_t(-1))) == kNobody;
    }
    ~UnprivilegedFileAccess() {
        if (superuser) ::setfsuid(0);
    }
};

struct RenameRun : RenameList {
    QDateTime stamp{QDate(2004, 3, 14), QTime(12, 34, 56)};
    void SetUp() override {
        RenameList::SetUp();
        list.SetClock([this] { return stamp; });
    }
    // Turns every verdict 2 into 3, as the user's "全て削除" does.
    void AgreeToDelete() {
        for (qint32 i = 0; i < list.GetTargetCount(); ++i)
            if (list.Status(i).verdict() == Verdict::FileExists)
                list.SetVerdict(i, Verdict::FileExistsDelete);
    }
    std::vector<qint32> Statuses() const {
        std::vector<qint32> statuses;
        for (qint32 i = 0; i < list.GetTargetCount(); ++i)
            statuses.push_back(list.Status(i).Word());
        return statuses;
    }
};

// A change of letter case onto a separate file: even with deletion agreed
// to ("全て削除"), nothing is removed; the rename refuses the other entry.
TEST_F(RenameRun, ACaseOnlyChangeNeverDeletesTheOtherSpelling) {
    Make({u"a.txt"_s, u"A.TXT"_s});
    Pattern(u"a.txt"_s, u"A.TXT"_s);
    const Inventory before = tree.Take();
    ASSERT_TRUE(Build());
    AgreeToDelete();
    EXPECT_EQ(list.RenameAll(true, DeleteMode::Forced, {}), 0);
    EXPECT_EQ(Statuses(), (std::vector<qint32>{34}));
    EXPECT_EQ(tree.Take(), before);
}

// The user agreed to replace b.txt by a1.txt; when a1.txt has gone before
// the removal, b.txt stays and the target is a plain skip.
TEST_F(RenameRun, ACollidingFileStaysWhenItsTargetHasGone) {
    Make({u"a1.txt"_s, u"a.txt"_s, u"c1.txt"_s, u"c.txt"_s});
    Pattern(u"*1.txt"_s, u"*.txt"_s);
    ASSERT_TRUE(Build());
    AgreeToDelete();
    ASSERT_TRUE(QFile::remove(tree.Path(u"a1.txt"_s)));
    EXPECT_EQ(list.RenameAll(true, DeleteMode::Forced, {}), 1);
    EXPECT_EQ(tree.Read(u"a.txt"_s), "a.txt");
    EXPECT_EQ(tree.Read(u"c.txt"_s), "c1.txt");
    EXPECT_EQ(list.Status(list.GetTargetCount() - 1).Word(), 2 + 32);
    EXPECT_FALSE(QFileInfo::exists(tree.Path(u"c1.txt"_s)));
}

TEST_F(RenameRun, RenamesFromTheLastTargetAndRestoresEverything) {
    Make({u"a1.txt"_s, u"b1.txt"_s, u"b.txt"_s, u"c1.txt"_s, u"c11.txt"_s});
    Pattern(u"*1.txt"_s, u"*.txt"_s);
    const Inventory before = tree.Take();
    ASSERT_TRUE(Build());
    ASSERT_EQ(Entries(), (QStringList{u"c11.txt > c1.txt : 6"_s, u"c1.txt > c.txt : 1"_s,
                                      u"b1.txt > b.txt : 2"_s, u"a1.txt > a.txt : 1"_s}));
    EXPECT_EQ(list.RenameAll(false, DeleteMode::Forced, {}), 2);
    EXPECT_EQ(Statuses(), (std::vector<qint32>{38, 17, 34, 17}));
    EXPECT_EQ(tree.Read(u"a.txt"_s), "a1.txt");
    EXPECT_EQ(tree.Read(u"c.txt"_s), "c1.txt");
    EXPECT_EQ(TempTree::Contents(tree.Take()), TempTree::Contents(before));
    EXPECT_EQ(window.captions.last(), u"変換作業中 0 リネーム中"_s);
    EXPECT_EQ(window.titles.last(), u"ファイル名変換中 / 0"_s);
    EXPECT_EQ(window.texts.last(), tree.Root() + u"/a1.txt"_s);

    EXPECT_EQ(list.RestoreAll(), 2);
    EXPECT_EQ(Statuses(), (std::vector<qint32>{38, 257, 34, 257}));
    EXPECT_EQ(tree.Take(), before);
    EXPECT_EQ(window.captions.last(), u"復元作業中 0 リネーム中"_s);
    EXPECT_EQ(window.titles.last(), u"ファイル名復元中 / 0"_s);
    EXPECT_EQ(list.RestoreAll(), 0);
    EXPECT_EQ(list.GetRestoredCount(), 2);
    EXPECT_EQ(tree.Take(), before);
}

TEST_F(RenameRun, FolderContentsAreRenamedBeforeTheFolderAndRestoredAfterIt) {
    Make({u"d:x/x2/x3"_s, u"x/x2/f"_s});
    settings.folderMode = true;
    settings.recursive = true;
    Pattern(u"x*"_s, u"y*"_s);
    const Inventory before = tree.Take();
    ASSERT_TRUE(Build());
    EXPECT_EQ(list.RenameAll(false, DeleteMode::Forced, {}), 3);
    EXPECT_EQ(Statuses(), (std::vector<qint32>{17, 17, 17}));
    EXPECT_EQ(tree.Read(u"y/y2/f"_s), "x/x2/f");
    EXPECT_TRUE(fs.FolderExists(tree.Path(u"y/y2/y3"_s)));
    EXPECT_EQ(list.RestoreAll(), 3);
    EXPECT_EQ(tree.Take(), before);
    EXPECT_EQ(window.titles.last(), u"フォルダ名復元中 / 0"_s);
}

// What a run of a list shows and leaves behind.
struct RunOutcome {
    QStringList entries;
    qint32 renamed = 0;
    std::vector<qint32> statuses;
    Inventory renamedTree;
    qint32 restored = 0;
    QStringList titles;
    QStringList texts;
    bool operator==(const RunOutcome&) const = default;
};

// A plan built apart, by a builder over a file system, matching and filter
// of its own and without the progress window, is renamed and restored
// exactly as the list that the run builds itself.
TEST_F(RenameRun, ATakenPlanRunsAsTheRunsOwnList) {
    Make({u"d:x1/x11"_s, u"d:x2"_s, u"y2"_s, u"d:x3"_s, u"d:y3"_s});
    settings.folderMode = true;
    settings.recursive = true;
    Pattern(u"x*"_s, u"y*"_s);
    const Inventory before = tree.Take();
    const auto run = [&] {
        window.titles.clear();
        window.texts.clear();
        RunOutcome o;
        o.entries = Entries();
        o.renamed = list.RenameAll(false, DeleteMode::Forced, {});
        o.statuses = Statuses();
        o.renamedTree = tree.Take();
        o.restored = list.RestoreAll();
        o.titles = window.titles;
        o.texts = window.texts;
        return o;
    };
    ASSERT_TRUE(Build());
    const RunOutcome own = run();
    ASSERT_EQ(own.renamed, 2);
    ASSERT_EQ(own.restored, 2);
    ASSERT_EQ(tree.Take(), before);

    FileSystem apartFs;
    clsMatching apartMatching;
    clsFilter apartFilter{apartFs};
    apartMatching.setCmpMode(CompareMode::Exact);
    apartMatching.setFileNameMode(NameMode::Whole);
    apartMatching.setMatchPattern(u"x*"_s);
    apartMatching.setReplacePattern(u"y*"_s);
    std::atomic<bool> stop{false};
    StopFlagProgress quiet(stop);
    RenameListBuilder builder(apartFs, apartMatching, apartFilter);
    list.TakePlan(builder.Build(tree.Root(), settings, list.MaxCount(), quiet));
    EXPECT_TRUE(list.Plan().complete);
    EXPECT_EQ(list.ItemWord(), u"フォルダ"_s);
    EXPECT_EQ(list.GetRenamedCount(), 0);
    EXPECT_EQ(list.GetRestoredCount(), 0);
    EXPECT_EQ(run(), own);
    EXPECT_EQ(tree.Take(), before);
}

struct DeleteModeCase {
    DeleteMode mode;
    QString movedTo;  // where the colliding file is found afterwards ("" gone)
};

TEST_F(RenameRun, EachDeleteModeRemovesTheCollidingFileAndRenames) {
    IsolatedTrash trash;
    const QString delTarget = tree.Path(u"deleted"_s);
    const std::vector<DeleteModeCase> cases = {
        {DeleteMode::ToTrash,
         TrashIsHomeTrash(tree.Root()) ? trash.TrashedFile(u"a.txt"_s) : QString()},
        {DeleteMode::Forced, {}},
        {DeleteMode::ToFolder, delTarget + u"/start_del2004031412345600/sub/a.txt"_s},
    };
    for (const DeleteModeCase& c : cases) {
        SCOPED_TRACE(int(c.mode));
        TempTree run;
        ASSERT_TRUE(run.MakeFile(u"start/sub/a1.txt"_s, "new"));
        ASSERT_TRUE(run.MakeFile(u"start/sub/a.txt"_s, "old"));
        ASSERT_EQ(::chmod(run.Path(u"start/sub/a.txt"_s).toUtf8().constData(), 0444), 0);
        ASSERT_TRUE(run.MakeFile(u"start/b1.txt"_s, "b"));
        settings.recursive = true;
        Pattern(u"*1.txt"_s, u"*.txt"_s);
        ASSERT_TRUE(list.MakeRenameList(run.Path(u"start"_s), settings));
        ASSERT_EQ(Entries(),
                  (QStringList{u"b1.txt > b.txt : 1"_s, u"sub/a1.txt > sub/a.txt : 2"_s}));
        AgreeToDelete();
        EXPECT_EQ(list.RenameAll(true, c.mode, delTarget), 2);
        EXPECT_EQ(Statuses(), (std::vector<qint32>{17, 25}));
        EXPECT_EQ(list.GetDeletedCount(), 1);
        EXPECT_EQ(run.Read(u"start/sub/a.txt"_s), "new");
        EXPECT_FALSE(fs.Exists(run.Path(u"start/sub/a1.txt"_s)));
        if (!c.movedTo.isEmpty()) {
            EXPECT_EQ(ReadFile(c.movedTo), "old");
        }
        // The restore brings back the renamed targets, not the removed file.
        EXPECT_EQ(list.RestoreAll(), 2);
        EXPECT_EQ(run.Read(u"start/sub/a1.txt"_s), "new");
        EXPECT_FALSE(fs.Exists(run.Path(u"start/sub/a.txt"_s)));
    }
    EXPECT_EQ(window.titles.filter(u"衝突"_s).first(), u"衝突ファイル削除中 / 0"_s);
    EXPECT_TRUE(window.texts.contains(u"削除中…"_s));
}

// A file that cannot go to the trash stays; its target is skipped.
TEST_F(RenameRun, AFailingTrashKeepsTheCollidingFile) {
    if (!TrashIsHomeTrash(tree.Root())) GTEST_SKIP() << "the trash of another file system";
    ASSERT_TRUE(tree.MakeFile(u"blocker"_s));
    IsolatedTrash trash(tree.Path(u"blocker"_s));
    Make({u"start/a1.txt"_s, u"start/a.txt"_s, u"start/b1.txt"_s});
    Pattern(u"*1.txt"_s, u"*.txt"_s);
    const Inventory before = tree.Take();
    ASSERT_TRUE(Build(tree.Path(u"start"_s)));
    AgreeToDelete();
    EXPECT_EQ(list.RenameAll(true, DeleteMode::ToTrash, {}), 1);
    EXPECT_EQ(Entries(), (QStringList{u"b1.txt > b.txt : 17"_s, u"a1.txt > a.txt : 34"_s}));
    EXPECT_EQ(list.GetDeletedCount(), 0);
    EXPECT_EQ(tree.Read(u"start/a.txt"_s), "start/a.txt");
    EXPECT_EQ(TempTree::Contents(tree.Take()), TempTree::Contents(before));
    EXPECT_FALSE(QFileInfo::exists(QDir::currentPath() + u"/files/a.txt"_s));
    EXPECT_EQ(list.RestoreAll(), 1);
    EXPECT_EQ(tree.Take(), before);
}

// A user without a data folder yet still gets a real trash.
TEST_F(RenameRun, TheTrashIsMadeWhereTheUsersDataFolderIsMissing) {
    if (!TrashIsHomeTrash(tree.Root())) GTEST_SKIP() << "the trash of another file system";
    QTemporaryDir home;
    const QString dataHome = home.path() + u"/new/share"_s;
    IsolatedTrash trash(dataHome);
    Make({u"start/a1.txt"_s, u"start/a.txt"_s});
    Pattern(u"*1.txt"_s, u"*.txt"_s);
    ASSERT_TRUE(Build(tree.Path(u"start"_s)));
    AgreeToDelete();
    EXPECT_EQ(list.RenameAll(true, DeleteMode::ToTrash, {}), 1);
    EXPECT_EQ(Statuses(), (std::vector<qint32>{25}));
    EXPECT_EQ(ReadFile(dataHome + u"/Trash/files/a.txt"_s), "start/a.txt");
    EXPECT_FALSE(QFileInfo::exists(QDir::currentPath() + u"/files/a.txt"_s));
}

TEST_F(RenameRun, ADeleteFolderThatCannotBeMadeRenamesNothing) {
    Make({u"a1.txt"_s, u"a.txt"_s, u"b1.txt"_s, u"blocker"_s});
    Pattern(u"*1.txt"_s, u"*.txt"_s);
    const Inventory before = tree.Take();
    ASSERT_TRUE(Build());
    AgreeToDelete();
    EXPECT_EQ(list.RenameAll(true, DeleteMode::ToFolder, tree.Path(u"blocker/sub"_s)), -1);
    EXPECT_EQ(Statuses(), (std::vector<qint32>{1, 3}));
    EXPECT_EQ(list.GetRenamedCount(), 0);
    EXPECT_EQ(tree.Take(), before);
}

TEST_F(RenameRun, DeleteFolderNames) {
    const QString target = tree.Path(u"trash"_s);
    EXPECT_EQ(list.MakeDeleteFolder(u"/photos/"_s, target),
              target + u"/photos_del2004031412345600/"_s);
    // The same second again: the next free number.
    EXPECT_EQ(list.MakeDeleteFolder(u"/photos/"_s, target),
              target + u"/photos_del2004031412345601/"_s);
    ASSERT_TRUE(tree.MakeFile(u"trash/photos_del2004031412345602"_s));
    EXPECT_EQ(list.MakeDeleteFolder(u"/photos/"_s, target),
              target + u"/photos_del2004031412345603/"_s);
    // The root of the file system has no folder part in the name.
    EXPECT_EQ(list.MakeDeleteFolder(u"/"_s, target), target + u"/_del2004031412345600/"_s);
    // No drive part: a relative start folder.
    EXPECT_EQ(list.MakeDeleteFolder(u"photos/"_s, target), QString());
    EXPECT_TRUE(fs.FolderExists(target + u"/_del2004031412345600"_s));
}

// Everything that can change between listing and renaming: nothing is
// replaced, nothing written through a link, nothing lost.
TEST_F(RenameRun, ChangesAfterListingNeverCostAFile) {
    Make({u"a1.txt"_s, u"b1.txt"_s, u"c1.txt"_s, u"d1.txt"_s, u"e1.txt"_s});
    Pattern(u"*1.txt"_s, u"*.txt"_s);
    ASSERT_TRUE(Build());
    ASSERT_EQ(Statuses(), (std::vector<qint32>{1, 1, 1, 1, 1}));
    ASSERT_TRUE(tree.MakeSymlink(u"a.txt"_s, u"nowhere"_s));  // dangling link
    ASSERT_TRUE(tree.MakeFolder(u"b.txt"_s));                 // a folder
    ASSERT_TRUE(tree.MakeFile(u"c.txt"_s, "user's file"));    // a file
    ASSERT_TRUE(QFile::remove(tree.Path(u"d1.txt"_s)));       // the target itself
    const Inventory before = tree.Take();
    EXPECT_EQ(list.RenameAll(false, DeleteMode::Forced, {}), 1);
    EXPECT_EQ(Entries(), (QStringList{u"e1.txt > e.txt : 17"_s, u"d1.txt > d.txt : 49"_s,
                                      u"c1.txt > c.txt : 34"_s, u"b1.txt > b.txt : 40"_s,
                                      u"a1.txt > a.txt : 34"_s}));
    EXPECT_FALSE(fs.Exists(tree.Path(u"nowhere"_s)));
    EXPECT_EQ(tree.Read(u"c.txt"_s), "user's file");
    EXPECT_EQ(TempTree::Contents(tree.Take()), TempTree::Contents(before));

    // The user puts a file at an old name and removes a renamed one.
    ASSERT_TRUE(tree.MakeFile(u"e1.txt"_s, "another"));
    const Inventory beforeRestore = tree.Take();
    EXPECT_EQ(list.RestoreAll(), 0);
    EXPECT_EQ(list.Status(0).Word(), 17 + 512);
    EXPECT_EQ(tree.Take(), beforeRestore);
    ASSERT_TRUE(QFile::remove(tree.Path(u"e1.txt"_s)));
    ASSERT_TRUE(QFile::rename(tree.Path(u"e.txt"_s), tree.Path(u"elsewhere"_s)));
    EXPECT_EQ(list.RestoreAll(), 0);
    EXPECT_EQ(list.Status(0).Word(), 17 + 768);
}

// The same changes in folder mode. An empty folder at the new name must stop
// the rename too: a plain rename(2) would replace it.
TEST_F(RenameRun, ChangesAfterListingNeverCostAFolder) {
    Make({u"d:a1"_s, u"d:b1"_s, u"d:c1"_s, u"d:d1"_s, u"e1/keep.txt"_s});
    settings.folderMode = true;
    Pattern(u"*1"_s, u"*"_s);
    ASSERT_TRUE(Build());
    ASSERT_EQ(Statuses(), (std::vector<qint32>{1, 1, 1, 1, 1}));
    ASSERT_TRUE(tree.MakeSymlink(u"a"_s, u"nowhere"_s));             // dangling link
    ASSERT_TRUE(tree.MakeFolder(u"b"_s));                            // an empty folder
    ASSERT_TRUE(tree.MakeFile(u"c"_s, "user's file"));               // a file
    ASSERT_EQ(::rmdir(tree.Path(u"d1"_s).toUtf8().constData()), 0);  // the target itself
    const Inventory before = tree.Take();
    EXPECT_EQ(list.RenameAll(false, DeleteMode::Forced, {}), 1);
    EXPECT_EQ(Entries(), (QStringList{u"e1 > e : 17"_s, u"d1 > d : 49"_s, u"c1 > c : 34"_s,
                                      u"b1 > b : 40"_s, u"a1 > a : 34"_s}));
    EXPECT_FALSE(fs.Exists(tree.Path(u"nowhere"_s)));
    EXPECT_EQ(TempTree::Contents(tree.Take()), TempTree::Contents(before));

    // The user makes a folder at the old name before the restore.
    ASSERT_TRUE(tree.MakeFolder(u"e1"_s));
    const Inventory beforeRestore = tree.Take();
    EXPECT_EQ(list.RestoreAll(), 0);
    EXPECT_EQ(list.Status(0).Word(), 17 + 512);
    EXPECT_EQ(tree.Take(), beforeRestore);
    EXPECT_EQ(tree.Read(u"e/keep.txt"_s), "e1/keep.txt");
}

struct LinkAtNewNameCase {
    const char* name;
    bool deleteRequested;
    DeleteMode delMode;
    qint32 status;      // of the target a1.txt after the run
    QString linkFound;  // where the link is afterwards, relative to the tree ("" gone)
};

// A symbolic link at the new name is an item of its own: it is kept, or, when
// the user agreed, removed or moved as itself. Nothing is ever created or
// written through it, and the file it points to stays as it was.
TEST_F(RenameRun, ALinkAtTheNewNameIsNeverFollowed) {
    const QString start = u"start"_s;
    const std::vector<LinkAtNewNameCase> cases = {
        {"kept", false, DeleteMode::Forced, 34, u"start/a.txt"_s},
        {"forced deletion", true, DeleteMode::Forced, 25, {}},
        {"delete folder", true, DeleteMode::ToFolder, 25,
         u"deleted/start_del2004031412345600/a.txt"_s},
    };
    for (const QString& target : {u"nowhere"_s, u"../pointed.txt"_s}) {
        for (const LinkAtNewNameCase& c : cases) {
            SCOPED_TRACE(c.name);
            SCOPED_TRACE(target.toStdString());
            TempTree run;
            ASSERT_TRUE(run.MakeFile(u"start/a1.txt"_s, "renamed"));
            ASSERT_TRUE(run.MakeFile(u"pointed.txt"_s, "pointed"));
            ASSERT_TRUE(run.MakeSymlink(u"start/a.txt"_s, target));
            Pattern(u"*1.txt"_s, u"*.txt"_s);
            const Inventory before = run.Take();
            ASSERT_TRUE(list.MakeRenameList(run.Path(start), settings));
            ASSERT_EQ(Entries(), QStringList{u"a1.txt > a.txt : 2"_s});
            if (c.deleteRequested) AgreeToDelete();
            EXPECT_EQ(list.RenameAll(c.deleteRequested, c.delMode, run.Path(u"deleted"_s)),
                      c.status == 25 ? 1 : 0);
            EXPECT_EQ(list.Status(0).Word(), c.status);
            EXPECT_FALSE(fs.Exists(run.Path(u"start/nowhere"_s)));
            EXPECT_EQ(run.Read(u"pointed.txt"_s), "pointed");
            const Inventory after = run.Take();
            EXPECT_EQ(after.at("pointed.txt"), before.at("pointed.txt"));
            if (c.linkFound.isEmpty()) {
                EXPECT_EQ(after.size(), before.size() - 1);
            } else {
                ASSERT_TRUE(after.contains(c.linkFound.toUtf8()));
                EXPECT_EQ(after.at(c.linkFound.toUtf8()), before.at("start/a.txt"));
            }
            list.RestoreAll();
            EXPECT_EQ(run.Read(u"start/a1.txt"_s), "renamed");
        }
    }
}

// The trash takes the link itself, dangling or not, and nothing it points to.
TEST_F(RenameRun, TheTrashNeverFollowsALinkAtTheNewName) {
    if (!TrashIsHomeTrash(tree.Root())) GTEST_SKIP() << "the trash of another file system";
    for (const QString& target : {u"nowhere"_s, u"../pointed.txt"_s}) {
        SCOPED_TRACE(target.toStdString());
        IsolatedTrash trash;
        TempTree run;
        ASSERT_TRUE(run.MakeFile(u"start/a1.txt"_s, "renamed"));
        ASSERT_TRUE(run.MakeFile(u"pointed.txt"_s, "pointed"));
        ASSERT_TRUE(run.MakeSymlink(u"start/a.txt"_s, target));
        Pattern(u"*1.txt"_s, u"*.txt"_s);
        const Inventory before = run.Take();
        ASSERT_TRUE(list.MakeRenameList(run.Path(u"start"_s), settings));
        AgreeToDelete();
        list.RenameAll(true, DeleteMode::ToTrash, {});
        EXPECT_EQ(list.Status(0).Word(), 25);
        EXPECT_FALSE(fs.Exists(run.Path(u"start/nowhere"_s)));
        EXPECT_EQ(run.Take().at("pointed.txt"), before.at("pointed.txt"));
        EXPECT_EQ(ReadLink(trash.TrashedFile(u"a.txt"_s)), target.toUtf8());
        EXPECT_EQ(list.GetDeletedCount(), 1);
    }
}

// With recursion on, a link to a folder outside the start folder is at most
// renamed itself: nothing behind it is listed, renamed or changed.
TEST_F(RenameRun, ALinkToAFolderOutsideTheStartFolderIsNeverEntered) {
    Make({u"outside/o1.txt"_s, u"d:outside/o1"_s, u"start/s1.txt"_s, u"start/real1/r1.txt"_s});
    ASSERT_TRUE(tree.MakeSymlink(u"start/ln1"_s, tree.Path(u"outside"_s)));
    settings.recursive = true;
    Pattern(u"*1*"_s, u"*2*"_s);
    const Inventory before = tree.Take();
    struct ModeCase {
        bool folderMode;
        QStringList entries;
    };
    const std::vector<ModeCase> cases = {
        {false,
         {u"s1.txt > s2.txt : 1"_s, u"ln1 > ln2 : 1"_s, u"real1/r1.txt > real1/r2.txt : 1"_s}},
        {true, {u"real1 > real2 : 1"_s}},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.folderMode);
        settings.folderMode = c.folderMode;
        ASSERT_TRUE(Build(tree.Path(u"start"_s)));
        ASSERT_EQ(Entries(), c.entries);
        EXPECT_EQ(list.RenameAll(false, DeleteMode::Forced, {}), c.entries.size());
        const Inventory after = tree.Take();
        for (const auto& [path, item] : before) {
            if (!path.startsWith("outside")) continue;
            ASSERT_TRUE(after.contains(path)) << path.constData();
            EXPECT_EQ(after.at(path), item) << path.constData();
        }
        EXPECT_EQ(TempTree::Contents(after), TempTree::Contents(before));
        EXPECT_EQ(list.RestoreAll(), c.entries.size());
        EXPECT_EQ(tree.Take(), before);
    }
}

// The root of a file system as start folder: the base path is "/" alone and
// the names below it carry no leading slash. Only read here.
TEST_F(RenameList, TheRootOfTheFileSystemAsStartFolder) {
    if (!fs.FolderExists(u"/tmp"_s)) GTEST_SKIP() << "no /tmp folder";
    settings.folderMode = true;
    Pattern(u"tmp"_s, u"tmp"_s);
    ASSERT_TRUE(Build(u"/"_s));
    EXPECT_EQ(list.BasePath(), u"/"_s);
    EXPECT_EQ(Entries(), QStringList{u"tmp > tmp : 4"_s});
    // The target is found at its new name as itself, not as another folder.
    Pattern(u"tmp"_s, u"TMP"_s);
    ASSERT_TRUE(Build(u"/"_s));
    if (fs.Exists(u"/TMP"_s)) GTEST_SKIP() << "/TMP exists";
    EXPECT_EQ(Entries(), QStringList{u"tmp > TMP : 1"_s});
}

// A folder that cannot get its old name back keeps its contents at their new
// names: under the old folder name lies the user's own folder now, and
// nothing in it is touched. A later restore, once the name is free, brings
// back the rest.
TEST_F(RenameRun, ARestoreNeverEntersAFolderThatTookAnOldName) {
    Make({u"x/x2/f"_s});
    settings.folderMode = true;
    settings.recursive = true;
    Pattern(u"x*"_s, u"y*"_s);
    const Inventory before = tree.Take();
    ASSERT_TRUE(Build());
    ASSERT_EQ(list.RenameAll(false, DeleteMode::Forced, {}), 2);
    ASSERT_EQ(Entries(), (QStringList{u"x > y : 17"_s, u"x/x2 > x/y2 : 17"_s}));
    // The user's own folder x, with a y2 of its own.
    Make({u"x/y2/mine"_s});
    const Inventory beforeRestore = tree.Take();
    EXPECT_EQ(list.RestoreAll(), 0);
    EXPECT_EQ(Entries(), (QStringList{u"x > y : 529"_s, u"x/x2 > x/y2 : 1041"_s}));
    EXPECT_EQ(tree.Take(), beforeRestore);

    ASSERT_EQ(::unlink(tree.Path(u"x/y2/mine"_s).toUtf8().constData()), 0);
    ASSERT_EQ(::rmdir(tree.Path(u"x/y2"_s).toUtf8().constData()), 0);
    ASSERT_EQ(::rmdir(tree.Path(u"x"_s).toUtf8().constData()), 0);
    EXPECT_EQ(list.RestoreAll(), 2);
    EXPECT_EQ(tree.Take(), before);
}

TEST_F(RenameRun, AReadOnlyFolderFailsTheRenameAndLosesNothing) {
    Make({u"a1.txt"_s, u"sub/b1.txt"_s, u"sub/c1.txt"_s});
    settings.recursive = true;
    Pattern(u"*1.txt"_s, u"*.txt"_s);
    ASSERT_TRUE(Build());
    // The start folder stays open to everyone, so that only sub/ refuses.
    ModeUntilEnd open(tree.Path({}), 0777);
    ModeUntilEnd readOnly(tree.Path(u"sub"_s), 0555);
    ASSERT_TRUE(open.changed && readOnly.changed);
    const Inventory before = tree.Take();
    {
        UnprivilegedFileAccess access;
        if (!access.binds)
            GTEST_SKIP() << "the superuser cannot take another file-system user here";
        EXPECT_EQ(list.RenameAll(false, DeleteMode::Forced, {}), 1);
    }
    EXPECT_EQ(Entries(), (QStringList{u"a1.txt > a.txt : 17"_s, u"sub/c1.txt > sub/c.txt : 49"_s,
                                      u"sub/b1.txt > sub/b.txt : 49"_s}));
    EXPECT_EQ(TempTree::Contents(tree.Take()), TempTree::Contents(before));
    EXPECT_EQ(list.RestoreAll(), 1);
    EXPECT_EQ(tree.Take(), before);
}

// The system refuses the new name (too long for the file system).
TEST_F(RenameRun, ARefusedRenameIsAFailureAndLosesNothing) {
    Make({u"a.txt"_s, u"b.txt"_s});
    settings.operation = RenameOperation::InsertBack;
    settings.insertWord = QString(300, u'x');
    const Inventory before = tree.Take();
    ASSERT_TRUE(Build());
    EXPECT_EQ(Statuses(), (std::vector<qint32>{10, 10}));
    // Marked to rename all the same, so that the system itself refuses.
    for (const qint32 i : {0, 1}) list.SetVerdict(i, Verdict::Rename);
    EXPECT_EQ(list.RenameAll(false, DeleteMode::Forced, {}), 0);
    EXPECT_EQ(Statuses(), (std::vector<qint32>{49, 49}));
    EXPECT_EQ(tree.Take(), before);
    EXPECT_EQ(list.RestoreAll(), 0);
    EXPECT_EQ(Statuses(), (std::vector<qint32>{49, 49}));
}

// A delete folder on another file system: the colliding file is copied
// there and only then removed.
TEST_F(RenameRun, ACollidingFileMovesToADeleteFolderOnAnotherFileSystem) {
    QTemporaryDir other(u"/dev/shm/sorvane-test-XXXXXX"_s);
    if (!other.isValid() || fs.Identity(other.path()).device == fs.Identity(tree.Root()).device)
        GTEST_SKIP() << "no second file system";
    Make({u"a1.txt"_s, u"a.txt"_s, u"b1.txt"_s});
    ASSERT_TRUE(tree.MakeSymlink(u"b.txt"_s, u"target text"_s));
    Pattern(u"*1.txt"_s, u"*.txt"_s);
    ASSERT_TRUE(Build());
    ASSERT_EQ(Entries(), (QStringList{u"b1.txt > b.txt : 2"_s, u"a1.txt > a.txt : 2"_s}));
    AgreeToDelete();
    EXPECT_EQ(list.RenameAll(true, DeleteMode::ToFolder, other.path()), 2);
    EXPECT_EQ(Statuses(), (std::vector<qint32>{25, 25}));
    const QString dest =
        other.path() + u"/"_s + QFileInfo(tree.Root()).fileName() + u"_del2004031412345600/"_s;
    EXPECT_EQ(ReadFile(dest + u"a.txt"_s), "a.txt");
    EXPECT_EQ(ReadLink(dest + u"b.txt"_s), "target text");
    EXPECT_EQ(tree.Read(u"a.txt"_s), "a1.txt");
    EXPECT_EQ(tree.Read(u"b.txt"_s), "b1.txt");
}

// Only files and links are carried to another file system. A named pipe at
// the new name cannot be moved there: it stays, the run goes on, and the
// target is reported as colliding with an existing file.
TEST_F(RenameRun, AnItemThatCannotReachTheDeleteFolderStaysAndItsTargetIsSkipped) {
    QTemporaryDir other(u"/dev/shm/sorvane-test-XXXXXX"_s);
    if (!other.isValid() || fs.Identity(other.path()).device == fs.Identity(tree.Root()).device)
        GTEST_SKIP() << "no second file system";
    Make({u"a1.txt"_s, u"b1.txt"_s, u"b.txt"_s});
    ASSERT_TRUE(tree.MakeFifo(u"a.txt"_s));
    Pattern(u"*1.txt"_s, u"*.txt"_s);
    const Inventory before = tree.Take();
    ASSERT_TRUE(Build());
    ASSERT_EQ(Entries(), (QStringList{u"b1.txt > b.txt : 2"_s, u"a1.txt > a.txt : 2"_s}));
    AgreeToDelete();
    EXPECT_EQ(list.RenameAll(true, DeleteMode::ToFolder, other.path()), 1);
    EXPECT_EQ(Statuses(), (std::vector<qint32>{25, 34}));
    EXPECT_EQ(list.GetDeletedCount(), 1);
    const Inventory after = tree.Take();
    EXPECT_EQ(after.at("a.txt"), before.at("a.txt"));
    EXPECT_EQ(after.at("a1.txt"), before.at("a1.txt"));
    EXPECT_EQ(list.RestoreAll(), 1);
    EXPECT_EQ(tree.Read(u"b1.txt"_s), "b1.txt");
}

struct RunStopCase {
    const char* name;
    bool deleteRequested;
    QString caption;
    qint32 result;
    std::vector<qint32> statuses;  // of targets 0, 1, 50, 149 and 150
    QString question;
};

// 151 targets: renaming shows progress at targets 150 and 50, removal at 150.
TEST_F(RenameRun, AStopAtEachProgressStepOfTheRename) {
    for (int k = 0; k < 151; ++k) Make({u"f%1.txt"_s.arg(k, 3, 10, QChar(u'0'))});
    Pattern(u"*.txt"_s, u"*.doc"_s);
    const std::vector<RunStopCase> cases = {
        {"first rename step",
         false,
         u"変換作業中 0 リネーム中"_s,
         0,
         {1, 1, 1, 1, 81},
         u"ファイル名の置換 / 済 0"_s},
        {"second rename step",
         false,
         u"変換作業中 100 リネーム中"_s,
         100,
         {1, 1, 81, 17, 17},
         u"ファイル名の置換 / 済 100"_s},
        {"first removal step",
         true,
         u"変換作業中 0 衝突削除中"_s,
         -1,
         {1, 1, 1, 1, 65},
         u"衝突ファイル削除中 / 済 0"_s},
    };
    for (const RunStopCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Inventory before = tree.Take();
        settings.folderSort = false;
        ASSERT_TRUE(Build());
        ASSERT_EQ(list.GetTargetCount(), 151);
        messages.shown.clear();
        StopAt(c.caption);
        const qint32 result = list.RenameAll(c.deleteRequested, DeleteMode::Forced, {});
        EXPECT_EQ(result, c.result);
        EXPECT_EQ((std::vector<qint32>{list.Status(0).Word(), list.Status(1).Word(),
                                       list.Status(50).Word(), list.Status(149).Word(),
                                       list.Status(150).Word()}),
                  c.statuses);
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_EQ(messages.shown[0].title, c.question);
        EXPECT_EQ(TempTree::Contents(tree.Take()), TempTree::Contents(before));
        progress.SetVisible(true);
        list.RestoreAll();
        EXPECT_EQ(tree.Take(), before);
    }
}

TEST_F(RenameRun, AStopDuringTheRestoreLeavesTheRestForALaterCall) {
    for (int k = 0; k < 150; ++k) Make({u"f%1.txt"_s.arg(k, 3, 10, QChar(u'0'))});
    Pattern(u"*.txt"_s, u"*.doc"_s);
    const Inventory before = tree.Take();
    ASSERT_TRUE(Build());
    ASSERT_EQ(list.RenameAll(false, DeleteMode::Forced, {}), 150);
    StopAt(u"復元作業中 100 リネーム中"_s);
    EXPECT_EQ(list.RestoreAll(), 100);
    EXPECT_EQ(list.Status(99).Word(), 257);
    EXPECT_EQ(list.Status(100).Word(), 17 + 1280);
    EXPECT_EQ(list.Status(101).Word(), 17);
    EXPECT_EQ(messages.shown.last().title, u"ファイル名の復元 / 済 100"_s);
    EXPECT_EQ(list.RestoreAll(), 50);
    EXPECT_EQ(list.Status(100).Word(), 257);
    EXPECT_EQ(list.GetRestoredCount(), 150);
    EXPECT_EQ(tree.Take(), before);
}

}  // namespace

namespace {

// A run stopped between the two steps of a case-only rename left the item at
// its temporary name: the journal's restore brings it back from there, by
// identity where the listing gave one and by the folder's names where not.
TEST_F(RenameRun, AJournalRestoreFindsAnItemLeftAtItsTemporaryName) {
    constexpr qint64 kPid = 4242;
    for (const bool identities : {true, false}) {
        SCOPED_TRACE(identities);
        TempTree card;
        ASSERT_TRUE(card.MakeFile(u"d/IMG_1.JPG"_s, "1") && card.MakeFile(u"d/IMG_2.JPG"_s, "2"));
        const test::Inventory before = card.Take();
        const auto record = [&](const QString& name) {
            const FileIdentity id = fs.Identity(card.Path(u"d/"_s + name));
            return JournalRecord{identities ? id : FileIdentity{id.device, 0, false},
                                 u"d/"_s + name, u"d/"_s + name.toLower()};
        };
        const std::vector<JournalRecord> records{record(u"IMG_1.JPG"_s), record(u"IMG_2.JPG"_s)};
        // IMG_1 was renamed; IMG_2 was stopped between the two steps.
        ASSERT_TRUE(QFile::rename(card.Path(u"d/IMG_1.JPG"_s), card.Path(u"d/img_1.jpg"_s)));
        ASSERT_TRUE(
            QFile::rename(card.Path(u"d/IMG_2.JPG"_s),
                          card.Path(u"d/"_s + FileSystem::TemporaryName(u"IMG_2.JPG"_s, kPid))));

        list.LoadJournalList(card.Root(), u"ファイル"_s, kPid, records);
        EXPECT_EQ(list.RestoreAll(), 2);
        EXPECT_EQ(card.Take(), before);
    }
}

}  // namespace

namespace {

// A new name longer than the folder's file system holds (255 bytes of UTF-8
// here) gets its own verdict before anything moves, in the quick list too.
TEST_F(RenameList, ANameTooLongForTheFileSystemIsSkipped) {
    ASSERT_EQ(fs.NameMax(tree.Root()), (NameLimit{255, false}))
        << "the cases are sized for 255 bytes";
    Make({u"x"_s});
    const QString ji = u"字"_s;       // 3 bytes
    const QString emoji = u"🙂"_s;  // 4 bytes, two UTF-16 units
    const struct {
        const char* what;
        QString word;  // inserted in front of "x"
        Verdict verdict;
    } cases[] = {
        {"ASCII at the limit", QString(254, u'a'), Verdict::Rename},
        {"ASCII one byte over", QString(255, u'a'), Verdict::TooLong},
        {"Japanese at the limit", ji.repeated(84) + u"ab"_s, Verdict::Rename},
        {"Japanese one byte over", ji.repeated(84) + u"abc"_s, Verdict::TooLong},
        {"beyond the BMP at the limit", emoji.repeated(63) + u"ab"_s, Verdict::Rename},
        {"beyond the BMP one byte over", emoji.repeated(63) + u"abc"_s, Verdict::TooLong},
        // A byte that is not UTF-8 is one byte, though one unit of the text.
        {"such bytes at the limit", B("\x82").repeated(254), Verdict::Rename},
        {"such bytes one byte over", B("\x82").repeated(255), Verdict::TooLong},
    };
    settings.operation = RenameOperation::InsertFront;
    for (const bool quick : {false, true}) {
        settings.quickList = quick;
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (quick ? ", quick" : ""));
            settings.insertWord = c.word;
            ASSERT_TRUE(Build());
            ASSERT_EQ(list.GetTargetCount(), 1);
            EXPECT_EQ(list.Status(0).verdict(), c.verdict);
        }
    }
    const test::Inventory before = tree.Take();
    EXPECT_EQ(list.RenameAll(false, DeleteMode::Forced, {}), 0);
    EXPECT_EQ(tree.Take(), before);
}

}  // namespace

namespace {

// A repair takes files and folders together, each by its own kind's rules:
// an existing name, two byte names that read as one, a name too long once
// it is UTF-8, one the code page cannot read; names that need no repair
// are no targets. A folder is listed before what it holds, so that the
// renames, from the last target to the first, reach it after its contents.
TEST_F(RenameList, ARepairJudgesEachTargetByItsOwnKind) {
    ASSERT_EQ(fs.NameMax(tree.Root()), (NameLimit{255, false}));
    const QString longName = B("\x82\xa0").repeated(100);  // 200 bytes, 300 once UTF-8
    Make({B("\x82\xa0.txt"), u"あ.txt"_s, B("\x81\xca.txt"), B("\xee\xf9.txt"), longName,
          B("\x82.bad"), u"d:"_s + B("\x83t\x83H\x83\x8b\x83_"), u"plain.txt"_s});
    settings.repair = NameRepair::Cp932;
    ASSERT_TRUE(Build());
    QStringList entries = Entries();
    entries.sort();
    QStringList expected = {
        B("\x82\xa0.txt") + u" > あ.txt : 2"_s,
        B("\x81\xca.txt") + u" > ￢.txt : 5"_s,
        B("\xee\xf9.txt") + u" > ￢.txt : 5"_s,
        longName + u" > "_s + u"あ"_s.repeated(100) + u" : 10"_s,
        B("\x82.bad") + u" >  : 11"_s,
        B("\x83t\x83H\x83\x8b\x83_") + u" > フォルダ : 1"_s,
    };
    expected.sort();
    EXPECT_EQ(entries, expected);
    for (qint32 i = 0; i < list.GetTargetCount(); ++i)
        EXPECT_EQ(list.Plan().targets.IsFolder(i), list.NewName(i) == u"フォルダ"_s);
    EXPECT_EQ(list.Plan().itemWord, u"項目"_s);

    // Split dakuten: a composed twin is an existing name; a split folder
    // and the split name inside it are both targets, the folder first.
    TempTree nfd;
    const QString ga = u"か\u3099"_s;
    ASSERT_TRUE(nfd.MakeFile(ga + u".txt"_s) && nfd.MakeFile(u"が.txt"_s) &&
                nfd.MakeFile(ga + u"/中"_s + ga + u".txt"_s));
    settings.repair = NameRepair::Nfc;
    settings.recursive = true;
    ASSERT_TRUE(list.MakeRenameList(nfd.Root(), settings));
    // The folder's contents are listed by its old name, which they are
    // renamed under before it.
    EXPECT_EQ(Entries(),
              (QStringList{ga + u".txt > が.txt : 2"_s, ga + u" > が : 1"_s,
                           ga + u"/中"_s + ga + u".txt > "_s + ga + u"/中が.txt : 1"_s}));
}

}  // namespace
