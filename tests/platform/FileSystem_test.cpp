#include "platform/FileSystem.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <functional>
#include <utility>
#include <vector>

#include "support/TempTree.h"

using namespace sorvane;
using namespace Qt::StringLiterals;
using sorvane::test::Inventory;
using sorvane::test::TempTree;

namespace {

// A file system that refuses RENAME_NOREPLACE, and optionally hard links
// too, on a volume that only this machine changes or that others share. As
// the kernel does, the flag is refused only after the names were looked up:
// a missing item or folder is ENOENT, anything at the new name EEXIST.
class FlagRefused : public RenameSystemCalls {
public:
    explicit FlagRefused(bool linksRefused, bool shared = true)
        : mLinksRefused(linksRefused), mShared(shared) {}
    int Renameat2NoReplace(const char* from, const char* to) override {
        ++flagCalls;
        struct stat st;
        if (::lstat(from, &st) != 0) return -1;
        if (::lstat(to, &st) == 0) {
            errno = EEXIST;
        } else if (const int err = errno; err != ENOENT) {
            errno = err;
        } else {
            errno = ParentMissing(to) ? ENOENT : EINVAL;
        }
        return -1;
    }
    int Link(const char* from, const char* to) override {
        ++linkCalls;
        if (!mLinksRefused) return RenameSystemCalls::Link(from, to);
        errno = EPERM;
        return -1;
    }
    VolumeKind Volume(const char*) override {
        ++sharedAsked;
        return {true, mShared, false};
    }
    int flagCalls = 0, linkCalls = 0, sharedAsked = 0;

private:
    static bool ParentMissing(const char* path) {
        struct stat st;
        return ::stat(QFileInfo(QString::fromUtf8(path)).path().toUtf8().constData(), &st) != 0;
    }
    bool mLinksRefused;
    bool mShared;
};

// Plays a case-insensitive file system on top of another route: the hard
// link `alias` stands for the other spelling of `original`'s one directory
// entry, so it goes away whenever `original` is moved or removed.
class CaseInsensitive : public RenameSystemCalls {
public:
    CaseInsensitive(RenameSystemCalls& base, QByteArray original, QByteArray alias)
        : mBase(base), mOriginal(std::move(original)), mAlias(std::move(alias)) {}
    int Renameat2NoReplace(const char* from, const char* to) override {
        return Gone(from, mBase.Renameat2NoReplace(from, to));
    }
    int Rename(const char* from, const char* to) override {
        return Gone(from, mBase.Rename(from, to));
    }
    int Link(const char* from, const char* to) override { return mBase.Link(from, to); }
    int Unlink(const char* path) override { return Gone(path, mBase.Unlink(path)); }

private:
    int Gone(const char* path, int result) {
        if (result == 0 && mOriginal == path) ::unlink(mAlias.constData());
        return result;
    }
    RenameSystemCalls& mBase;
    QByteArray mOriginal, mAlias;
};

enum class Route { NoReplace, KernelChecked, LinkUnlink, CheckedRename };

std::string RouteName(Route route) {
    switch (route) {
        case Route::NoReplace:
            return "NoReplace";
        case Route::KernelChecked:
            return "KernelChecked";
        case Route::LinkUnlink:
            return "LinkUnlink";
        case Route::CheckedRename:
            return "CheckedRename";
    }
    return {};
}

void PrintTo(Route route, std::ostream* out) {
    *out << RouteName(route);
}

class MoveItemTest : public testing::TestWithParam<Route> {
protected:
    void SetUp() override {
        ASSERT_TRUE(tree.IsValid());
        ASSERT_TRUE(tree.MakeFile(u"src.txt"_s, "source"));
        ASSERT_TRUE(tree.MakeFile(u"srcdir/inner/deep.txt"_s, "deep"));
        ASSERT_TRUE(tree.MakeFile(u"other.txt"_s, "other"));
    }
    RenameSystemCalls& Calls() {
        switch (GetParam()) {
            case Route::NoReplace:
                return real;
            case Route::KernelChecked:
                return flagRefusedHere;
            case Route::LinkUnlink:
                return flagRefused;
            case Route::CheckedRename:
                return flagAndLinksRefused;
        }
        return real;
    }
    FileSystem Fs() { return FileSystem(Calls()); }
    QString P(const QString& relative) const { return tree.Path(relative); }

    TempTree tree;
    RenameSystemCalls real;
    FlagRefused flagRefusedHere{true, false};
    FlagRefused flagRefused{false};
    FlagRefused flagAndLinksRefused{true};
};

TEST_P(MoveItemTest, NeverReplacesAnExistingItem) {
    ASSERT_TRUE(tree.MakeFile(u"file"_s, "old"));
    ASSERT_TRUE(tree.MakeFolder(u"empty"_s));
    ASSERT_TRUE(tree.MakeFile(u"full/x"_s, "x"));
    ASSERT_TRUE(tree.MakeSymlink(u"dangling"_s, u"nowhere"_s));
    ASSERT_TRUE(tree.MakeSymlink(u"link"_s, u"other.txt"_s));
    ASSERT_TRUE(tree.MakeHardLink(u"hard.txt"_s, u"src.txt"_s));
    // On a case-sensitive file system this is a second entry of the same
    // file, not the same entry: it must count as existing.
    ASSERT_TRUE(tree.MakeHardLink(u"SRC.TXT"_s, u"src.txt"_s));

    const QString sources[] = {u"src.txt"_s, u"srcdir"_s};
    const QString targets[] = {u"file"_s,     u"empty"_s,     u"full"_s,
                               u"dangling"_s, u"link"_s,      u"hard.txt"_s,
                               u"SRC.TXT"_s,  u"other.txt"_s, u"srcdir/inner"_s};
    for (const QString& from : sources) {
        for (const QString& to : targets) {
            SCOPED_TRACE((from + u" -> "_s + to).toStdString());
            const Inventory before = tree.Take();
            EXPECT_EQ(Fs().MoveItem(P(from), P(to)), MoveStatus::Exists);
            EXPECT_EQ(tree.Take(), before);
        }
    }
}

TEST_P(MoveItemTest, RenamesWithoutLosingAnything) {
    ASSERT_TRUE(tree.MakeSymlink(u"link"_s, u"other.txt"_s));
    ASSERT_TRUE(tree.MakeSymlink(u"dangling"_s, u"nowhere"_s));
    ASSERT_TRUE(tree.MakeFolder(u"sub"_s));
    ASSERT_TRUE(tree.MakeFile(u"case.txt"_s, "case"));
    struct Case {
        QString from, to;
    } const cases[] = {
        {u"src.txt"_s, u"renamed.txt"_s},
        {u"renamed.txt"_s, u"sub/moved.txt"_s},
        {u"srcdir"_s, u"sub/名前"_s},  // a folder with its contents
        {u"link"_s, u"link2"_s},       // the link moves, its target stays
        {u"dangling"_s, u"dangling2"_s},
        {u"case.txt"_s, u"CASE.txt"_s},  // two names on a case-sensitive system
    };
    const std::vector contents = TempTree::Contents(tree.Take());
    for (const Case& c : cases) {
        SCOPED_TRACE((c.from + u" -> "_s + c.to).toStdString());
        const FileIdentity identity = Fs().Identity(P(c.from));
        ASSERT_TRUE(identity.valid);
        EXPECT_EQ(Fs().MoveItem(P(c.from), P(c.to)), MoveStatus::Ok);
        EXPECT_FALSE(Fs().Exists(P(c.from)));
        EXPECT_EQ(Fs().Identity(P(c.to)), identity);
    }
    EXPECT_EQ(TempTree::Contents(tree.Take()), contents);
    EXPECT_EQ(tree.Read(u"sub/名前/inner/deep.txt"_s), "deep");
    EXPECT_EQ(tree.Read(u"other.txt"_s), "other");
}

TEST_P(MoveItemTest, ReportsFailuresAndChangesNothing) {
    struct Case {
        QString from, to;
        MoveStatus expected;
    } const cases[] = {
        {P(u"missing"_s), P(u"new"_s), MoveStatus::NotFound},
        {P(u"src.txt"_s), P(u"nofolder/new"_s), MoveStatus::TargetFolderMissing},
        {P(u"srcdir"_s), P(u"srcdir/inner/moved"_s), MoveStatus::Failed},  // into its own subfolder
        {P(u"srcdir"_s), P(u"srcdir/moved"_s), MoveStatus::Failed},
        {P(u"src.txt"_s), P(u"srcdir/"_s), MoveStatus::Exists},  // no name: the folder is there
        {P(u"src.txt"_s), P(u"src.txt"_s), MoveStatus::Ok},      // already at that name
        {P(u"missing"_s), P(u"missing"_s), MoveStatus::NotFound},
        // An embedded NUL would otherwise cut the path down to "src.txt".
        {P(u"src.txt"_s) + QChar(u'\0') + u"x"_s, P(u"new"_s), MoveStatus::Failed},
        {P(u"src.txt"_s), P(u"new"_s) + QChar(u'\0') + u"x"_s, MoveStatus::Failed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.from + u" -> "_s + c.to).toStdString());
        const Inventory before = tree.Take();
        const MoveResult result = Fs().MoveItem(c.from, c.to);
        EXPECT_EQ(result.status, c.expected) << result.error;
        // A failure names its errno; the others need none.
        EXPECT_EQ(result.error != 0, c.expected == MoveStatus::Failed) << result.error;
        EXPECT_EQ(tree.Take(), before);
    }
}

TEST_P(MoveItemTest, ChangesOnlyLetterCaseOfTheSameEntryThroughATemporaryName) {
    ASSERT_TRUE(tree.MakeFile(u"photo.jpg"_s, "jpeg"));
    ASSERT_TRUE(tree.MakeHardLink(u"PHOTO.JPG"_s, u"photo.jpg"_s));
    const FileIdentity identity = Fs().Identity(P(u"photo.jpg"_s));
    CaseInsensitive calls(Calls(), P(u"photo.jpg"_s).toUtf8(), P(u"PHOTO.JPG"_s).toUtf8());
    const Inventory before = tree.Take();

    EXPECT_EQ(FileSystem(calls).MoveItem(P(u"photo.jpg"_s), P(u"PHOTO.JPG"_s)), MoveStatus::Ok);

    Inventory expected = before;
    expected.erase("photo.jpg");
    EXPECT_EQ(tree.Take(), expected);  // no temporary name left behind
    EXPECT_EQ(Fs().Identity(P(u"PHOTO.JPG"_s)), identity);
}

INSTANTIATE_TEST_SUITE_P(Routes, MoveItemTest,
                         testing::Values(Route::NoReplace, Route::KernelChecked, Route::LinkUnlink,
                                         Route::CheckedRename),
                         [](const testing::TestParamInfo<Route>& info) {
                             return RouteName(info.param);
                         });

// Plays a volume mounted through FUSE that compares names without case (an
// exFAT card): a name the folder holds under any spelling is refused as
// taken, and another spelling of an entry is not found by its path as the
// entry itself (FUSE gives it a node number of its own), so only the
// folder's listing can tell the item from another.
class CaselessVolume : public RenameSystemCalls {
public:
    int Renameat2NoReplace(const char* from, const char* to) override {
        const QFileInfo target(QString::fromUtf8(to));
        const QStringList names = target.dir().entryList(QDir::AllEntries | QDir::Hidden |
                                                         QDir::System | QDir::NoDotAndDotDot);
        for (const QString& name : names) {
            if (name.compare(target.fileName(), Qt::CaseInsensitive) == 0) {
                errno = EEXIST;
                return -1;
            }
        }
        return RenameSystemCalls::Renameat2NoReplace(from, to);
    }
};

// A change of case alone goes through; a name another entry holds under any
// spelling, letters beyond A-Z included, stays a collision and loses nothing.
TEST(CaselessVolume, OnlyTheItemItselfMayTakeItsOtherSpelling) {
    struct Case {
        QStringList files, folders;
        QString from, to;
        MoveStatus expected;
        QStringList after;  // the folder's entries; empty when unchanged
        // Two entries that fold alike: a plan never hands such a rename to
        // a run (MoveItemIn), whose folder the volume would not let hold them.
        bool planRefuses = false;
    };
    const Case cases[] = {
        {{u"IMG.JPG"_s}, {}, u"IMG.JPG"_s, u"img.jpg"_s, MoveStatus::Ok, {u"img.jpg"_s}},
        {{}, {u"Photos"_s}, u"Photos"_s, u"photos"_s, MoveStatus::Ok, {u"photos"_s}},
        {{u"B.TXT"_s, u"a.txt"_s}, {}, u"B.TXT"_s, u"A.TXT"_s, MoveStatus::Exists, {}},
        {{u"x.TXT"_s, u"X.txt"_s}, {}, u"x.TXT"_s, u"x.txt"_s, MoveStatus::Exists, {}, true},
        {{u"ÉTÉ.TXT"_s, u"été.txt"_s},
         {},
         u"ÉTÉ.TXT"_s,
         u"ÉTÉ.txt"_s,
         MoveStatus::Exists,
         {},
         true},
        {{u"ÉTÉ.TXT"_s}, {}, u"ÉTÉ.TXT"_s, u"été.txt"_s, MoveStatus::Ok, {u"été.txt"_s}},
    };
    // A run's renames in one folder take no look at it (MoveItemIn); any
    // other move may.
    for (const Case& c : cases)
        for (const bool inFolder : {false, true}) {
            if (inFolder && c.planRefuses) continue;
            SCOPED_TRACE(
                (c.from + u" -> "_s + c.to + (inFolder ? u" in folder"_s : u""_s)).toStdString());
            TempTree tree;
            for (const QString& f : c.files) ASSERT_TRUE(tree.MakeFile(u"card/"_s + f, f.toUtf8()));
            for (const QString& f : c.folders)
                ASSERT_TRUE(tree.MakeFile(u"card/"_s + f + u"/in"_s));
            const Inventory before = tree.Take();
            CaselessVolume calls;
            FolderHandle handle;
            const MoveResult result =
                inFolder ? FileSystem(calls).MoveItemIn(handle, tree.Path(u"card/"_s), c.from, c.to)
                         : FileSystem(calls).MoveItem(tree.Path(u"card/"_s + c.from),
                                                      tree.Path(u"card/"_s + c.to));
            EXPECT_EQ(result.status, c.expected) << result.error;
            if (c.after.isEmpty()) {
                EXPECT_EQ(tree.Take(), before);
            } else {
                EXPECT_EQ(QDir(tree.Path(u"card"_s))
                              .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                          c.after);
                EXPECT_EQ(tree.Take().size(), before.size());
            }
        }
}

// Another program acting on the new name in the moment of the rename, on a
// shared volume whose file system refuses both the no-replace flag and
// second links: the reserved name keeps what it made from being replaced.
class RacingRename : public FlagRefused {
public:
    RacingRename() : FlagRefused(true) {}
    std::function<void(const char* to)> race;
    int Rename(const char* from, const char* to) override {
        if (race) race(to);
        return FlagRefused::Rename(from, to);
    }
};

TEST(CheckedRenameRace, WhatAnotherProgramPutsAtTheNewNameIsNeverReplaced) {
    TempTree tree;
    ASSERT_TRUE(tree.MakeFile(u"dir/inner.txt"_s, "inner"));
    ASSERT_TRUE(tree.MakeFile(u"a.txt"_s, "a"));
    RacingRename calls;
    const FileSystem fs(calls);

    // Someone drops a file into the folder reserved for the new name.
    calls.race = [](const char* to) {
        const int fd =
            ::open((QByteArray(to) + "/theirs.txt").constData(), O_CREAT | O_EXCL | O_WRONLY, 0600);
        if (fd >= 0) ::close(fd);
    };
    EXPECT_EQ(fs.MoveItem(tree.Path(u"dir"_s), tree.Path(u"new"_s)), MoveStatus::Exists);
    EXPECT_EQ(tree.Read(u"dir/inner.txt"_s), "inner");
    EXPECT_TRUE(QFileInfo::exists(tree.Path(u"new/theirs.txt"_s)));

    // Someone creates the new name exclusively: the reservation holds it.
    bool theirsMade = true;
    calls.race = [&](const char* to) {
        const int fd = ::open(to, O_CREAT | O_EXCL | O_WRONLY, 0600);
        theirsMade = fd >= 0;
        if (fd >= 0) ::close(fd);
    };
    EXPECT_EQ(fs.MoveItem(tree.Path(u"a.txt"_s), tree.Path(u"b.txt"_s)), MoveStatus::Ok);
    EXPECT_FALSE(theirsMade);
    EXPECT_EQ(tree.Read(u"b.txt"_s), "a");
}

// A rename through the open folder gives what MoveItem gives on the whole
// paths, code for code and tree for tree, whatever stands at either name.
TEST(MoveItemIn, AgreesWithMoveItemOnTheWholePaths) {
    struct Case {
        QString from, to;
    } const cases[] = {
        {u"src.txt"_s, u"new.txt"_s},
        {u"src.txt"_s, u"other.txt"_s},
        {u"src.txt"_s, u"folder"_s},
        {u"src.txt"_s, u"dangling"_s},
        {u"src.txt"_s, u"SRC.TXT"_s},
        {u"src.txt"_s, u"src.txt"_s},
        {u"missing"_s, u"new.txt"_s},
        {u"missing"_s, u"missing"_s},
        {u"folder"_s, u"名前"_s},
        {u"folder"_s, u"other.txt"_s},
        {u"dangling"_s, u"new"_s},
        {u"src.txt"_s, u"folder/in.txt"_s},
        {u"src.txt"_s, u"nofolder/x"_s},
        {u"src.txt"_s, u".."_s},
        {u"src.txt"_s, u""_s},
        {u"src.txt"_s, u"a"_s + QChar(u'\0') + u"b"_s},
        {u"src.txt"_s, u"a"_s + QChar(0xD800)},
    };
    const FileSystem fs;
    for (const Case& c : cases) {
        SCOPED_TRACE((c.from + u" -> "_s + c.to).toStdString());
        MoveResult codes[2];
        Inventory after[2];
        for (int way = 0; way < 2; ++way) {
            TempTree tree;
            ASSERT_TRUE(tree.MakeFile(u"in/src.txt"_s, "source"));
            ASSERT_TRUE(tree.MakeFile(u"in/other.txt"_s, "other"));
            ASSERT_TRUE(tree.MakeFile(u"in/folder/x"_s, "x"));
            ASSERT_TRUE(tree.MakeSymlink(u"in/dangling"_s, u"nowhere"_s));
            ASSERT_TRUE(tree.MakeHardLink(u"in/SRC.TXT"_s, u"in/src.txt"_s));
            const QString folder = tree.Path(u"in/"_s);
            FolderHandle handle;
            codes[way] = way == 0 ? fs.MoveItem(folder + c.from, folder + c.to)
                                  : fs.MoveItemIn(handle, folder, c.from, c.to);
            after[way] = tree.Take();
            // Two trees: the same items, under other inode numbers.
            for (auto& [path, item] : after[way]) item.inode = 0;
        }
        EXPECT_EQ(codes[1], codes[0]);
        EXPECT_EQ(after[1], after[0]);
    }
}

// The names reach the system as Qt's own UTF-8 encoding gives them, for
// characters of every encoded length, and the next rename through the same
// handle leaves nothing of a longer name before it.
TEST(MoveItemIn, HandsOverTheUtf8OfEveryCharacterLength) {
    TempTree tree;
    ASSERT_TRUE(tree.MakeFile(u"in/src"_s, "source"));
    const QString folder = tree.Path(u"in/"_s);
    const FileSystem fs;
    FolderHandle handle;
    QString previous = u"src"_s;
    for (const QString& name : {u"long name \U0001D49C 𝒜𝒜"_s, u"a"_s, u"é"_s, u"あ"_s,
                                u"\U0001D49C"_s, u"x\u00e9\u3042\U0001F600y"_s}) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_EQ(fs.MoveItemIn(handle, folder, previous, name), MoveStatus::Ok);
        struct stat st;
        EXPECT_EQ(::lstat((folder + name).toUtf8().constData(), &st), 0);
        EXPECT_NE(::lstat((folder + previous).toUtf8().constData(), &st), 0);
        previous = name;
    }
}

// One handle serves folder after folder, each opened when its turn comes.
TEST(MoveItemIn, OneHandleRenamesInFolderAfterFolder) {
    TempTree tree;
    for (const QString& name : {u"a/1"_s, u"a/2"_s, u"b/1"_s, u"b/c/1"_s})
        ASSERT_TRUE(tree.MakeFile(name, name.toUtf8()));
    const FileSystem fs;
    FolderHandle handle;
    struct Step {
        QString folder, from, to;
        MoveStatus expected;
    } const steps[] = {
        {u"a/"_s, u"1"_s, u"x"_s, MoveStatus::Ok}, {u"a/"_s, u"2"_s, u"x"_s, MoveStatus::Exists},
        {u"b/"_s, u"1"_s, u"x"_s, MoveStatus::Ok}, {u"b/c/"_s, u"1"_s, u"x"_s, MoveStatus::Ok},
        {u"a/"_s, u"2"_s, u"y"_s, MoveStatus::Ok}, {u"b/"_s, u"1"_s, u"z"_s, MoveStatus::NotFound},
    };
    for (const Step& s : steps)
        EXPECT_EQ(fs.MoveItemIn(handle, tree.Path(s.folder), s.from, s.to), s.expected)
            << (s.folder + s.from).toStdString();
    for (const QString& name : {u"a/x"_s, u"a/y"_s, u"b/x"_s, u"b/c/x"_s})
        EXPECT_TRUE(fs.FileExists(tree.Path(name))) << name.toStdString();
    EXPECT_EQ(tree.Read(u"a/x"_s), "a/1");
    EXPECT_EQ(tree.Read(u"b/c/x"_s), "b/c/1");
}

// A run asks once per device whether others share it, and never tries a
// refused second link again. On a volume only this machine changes, the
// refused no-replace rename is the kernel's look at the new name, and a
// plain rename follows it; a shared one takes links, or reserves the name.
TEST(MoveItemIn, EachDeviceIsAskedOnceAndARefusalIsNeverTriedAgain) {
    struct Case {
        const char* what;
        bool shared, linksRefused;
        int links;  // link() calls for three files
    } const cases[] = {
        {"a card or a stick", false, true, 0},
        {"shared, with links", true, false, 3},
        {"shared, without links", true, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempTree tree;
        for (const QString& name : {u"in/a1"_s, u"in/a2"_s, u"in/a3"_s, u"in/b2"_s})
            ASSERT_TRUE(tree.MakeFile(name, name.toUtf8()));
        FlagRefused calls(c.linksRefused, c.shared);
        const FileSystem fs(calls);
        FolderHandle handle;
        const QString folder = tree.Path(u"in/"_s);
        EXPECT_EQ(fs.MoveItemIn(handle, folder, u"a1"_s, u"b1"_s), MoveStatus::Ok);
        EXPECT_EQ(fs.MoveItemIn(handle, folder, u"a2"_s, u"b2"_s), MoveStatus::Exists);
        EXPECT_EQ(fs.MoveItemIn(handle, folder, u"a2"_s, u"c2"_s), MoveStatus::Ok);
        EXPECT_EQ(fs.MoveItemIn(handle, folder, u"a3"_s, u"b3"_s), MoveStatus::Ok);
        EXPECT_EQ(calls.sharedAsked, 1);
        EXPECT_EQ(calls.linkCalls, c.links);
        EXPECT_EQ(tree.Read(u"in/b1"_s), "in/a1");
        EXPECT_EQ(tree.Read(u"in/b2"_s), "in/b2");
        EXPECT_EQ(tree.Read(u"in/c2"_s), "in/a2");
        EXPECT_EQ(tree.Read(u"in/b3"_s), "in/a3");
    }
}

TEST(FileSystemPaths, PartsByText) {
    struct Case {
        QString path, parent, drive, file, base, extension;
    } const cases[] = {
        {u"/"_s, u""_s, u"/"_s, u""_s, u""_s, u""_s},
        {u""_s, u""_s, u""_s, u""_s, u""_s, u""_s},
        {u"/a"_s, u"/"_s, u"/"_s, u"a"_s, u"a"_s, u""_s},
        {u"//a"_s, u"/"_s, u"/"_s, u"a"_s, u"a"_s, u""_s},  // no network paths
        {u"/a/b.txt"_s, u"/a"_s, u"/"_s, u"b.txt"_s, u"b"_s, u"txt"_s},
        {u"/a//b/"_s, u"/a"_s, u"/"_s, u"b"_s, u"b"_s, u""_s},
        {u"a/b.tar.gz"_s, u"a"_s, u""_s, u"b.tar.gz"_s, u"b.tar"_s, u"gz"_s},
        {u"a"_s, u""_s, u""_s, u"a"_s, u"a"_s, u""_s},
        {u".bashrc"_s, u""_s, u""_s, u".bashrc"_s, u""_s, u"bashrc"_s},
        {u"/写真/名前.テキスト"_s, u"/写真"_s, u"/"_s, u"名前.テキスト"_s, u"名前"_s,
         u"テキスト"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        EXPECT_EQ(FileSystem::ParentFolderName(c.path), c.parent);
        EXPECT_EQ(FileSystem::DriveName(c.path), c.drive);
        EXPECT_EQ(FileSystem::GetFileName(c.path), c.file);
        EXPECT_EQ(FileSystem::GetBaseName(c.path), c.base);
        EXPECT_EQ(FileSystem::GetExtensionName(c.path), c.extension);
    }
}

TEST(FileSystemPaths, BuildPathPutsExactlyOneSeparator) {
    struct Case {
        QString folder, name, expected;
    } const cases[] = {
        {u"/a"_s, u"b"_s, u"/a/b"_s},   {u"/a/"_s, u"b"_s, u"/a/b"_s},
        {u"/"_s, u"b"_s, u"/b"_s},      {u""_s, u"b"_s, u"b"_s},
        {u"/a/"_s, u"/b"_s, u"/a/b"_s}, {u"/trash"_s, u""_s, u"/trash/"_s},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FileSystem::BuildPath(c.folder, c.name), c.expected) << c.folder.toStdString();
}

TEST(FileSystemPaths, AbsolutePathResolvesDotsByText) {
    TempTree tree;
    ASSERT_TRUE(tree.IsValid());
    FileSystem fs;
    const QString saved = fs.CurrentDirectory();
    ASSERT_TRUE(fs.SetCurrentDirectory(tree.Root()));
    const QString root = QDir(tree.Root()).canonicalPath();
    EXPECT_EQ(fs.CurrentDirectory(), root);
    struct Case {
        QString path, expected;
    } const cases[] = {
        {u"/a/./b/../c"_s, u"/a/c"_s},
        {u"/../.."_s, u"/"_s},
        {u"//a///b/"_s, u"/a/b"_s},
        {u"/a/b/.."_s, u"/a"_s},
        {u"x/../y"_s, root + u"/y"_s},
        {u""_s, root},
        {u".."_s, FileSystem::ParentFolderName(root)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fs.GetAbsolutePathName(c.path), c.expected) << c.path.toStdString();
    EXPECT_TRUE(fs.SetCurrentDirectory(saved));
}

TEST(FileSystemItems, AttributesAndExistence) {
    TempTree tree;
    ASSERT_TRUE(tree.MakeFile(u"plain.txt"_s));
    ASSERT_TRUE(tree.MakeFile(u".hidden"_s));
    ASSERT_TRUE(tree.MakeFile(u"ro.txt"_s));
    ASSERT_TRUE(tree.MakeFolder(u"folder"_s));
    ASSERT_TRUE(tree.MakeFolder(u".rofolder"_s));
    ASSERT_TRUE(tree.MakeFifo(u"fifo"_s));
    ASSERT_TRUE(tree.MakeSymlink(u"tofolder"_s, u"folder"_s));
    ASSERT_TRUE(tree.MakeSymlink(u"dangling"_s, u"nowhere"_s));
    ASSERT_TRUE(tree.MakeSymlink(u".hlink"_s, u"plain.txt"_s));
    ASSERT_EQ(::chmod(tree.NativePath("ro.txt").constData(), 0444), 0);
    ASSERT_EQ(::chmod(tree.NativePath(".rofolder").constData(), 0555), 0);
    struct Case {
        QString name;
        int attributes;
        bool file, folder, exists, folderFollowingLink;
    } const cases[] = {
        {u"plain.txt"_s, 32, true, false, true, false},
        {u".hidden"_s, 34, true, false, true, false},
        {u"ro.txt"_s, 33, true, false, true, false},
        {u"folder"_s, 16, false, true, true, true},
        {u"folder/"_s, 16, false, true, true, true},
        {u".rofolder"_s, 19, false, true, true, true},
        {u"fifo"_s, 4, true, false, true, false},
        {u"tofolder"_s, 32, true, false, true, true},     // a link is a file
        {u"tofolder/"_s, -1, false, false, false, true},  // the final link is not followed
        {u"dangling"_s, 32, true, false, true, false},
        {u".hlink"_s, 34, true, false, true, false},
        {u"plain.txt/"_s, -1, false, false, false, false},
        {u"missing"_s, -1, false, false, false, false},
    };
    FileSystem fs;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const QString path = tree.Path(c.name);
        EXPECT_EQ(fs.GetAttributes(path), c.attributes);
        EXPECT_EQ(fs.FileExists(path), c.file);
        EXPECT_EQ(fs.FolderExists(path), c.folder);
        EXPECT_EQ(fs.Exists(path), c.exists);
        EXPECT_EQ(fs.FolderExistsFollowingLink(path), c.folderFollowingLink);
    }
}

TEST(FileSystemItems, IdentityAndStoredName) {
    TempTree tree;
    ASSERT_TRUE(tree.MakeFile(u"a.txt"_s));
    ASSERT_TRUE(tree.MakeHardLink(u"A.TXT"_s, u"a.txt"_s));
    ASSERT_TRUE(tree.MakeSymlink(u"link"_s, u"a.txt"_s));
    FileSystem fs;
    EXPECT_EQ(fs.Identity(tree.Path(u"a.txt"_s)), fs.Identity(tree.Path(u"A.TXT"_s)));
    EXPECT_NE(fs.Identity(tree.Path(u"link"_s)), fs.Identity(tree.Path(u"a.txt"_s)));
    EXPECT_FALSE(fs.Identity(tree.Path(u"missing"_s)).valid);

    // Each hard link keeps its own spelling.
    EXPECT_EQ(fs.StoredName(tree.Path(u"A.TXT"_s)), u"A.TXT"_s);
    EXPECT_EQ(fs.StoredName(tree.Path(u"a.txt"_s)), u"a.txt"_s);
    EXPECT_EQ(fs.StoredName(tree.Path(u"link"_s)), u"link"_s);
    EXPECT_EQ(fs.StoredName(tree.Path(u"missing"_s)), u""_s);
    EXPECT_EQ(fs.StoredName(u"/"_s), u""_s);
}

class ListingTest : public testing::Test {
protected:
    void SetUp() override {
        for (const char16_t* name : {u"a.txt", u".h.txt", u"ro.txt"})
            ASSERT_TRUE(tree.MakeFile(QString::fromUtf16(name)));
        ASSERT_EQ(::chmod(tree.NativePath("ro.txt").constData(), 0444), 0);
        ASSERT_TRUE(tree.MakeFifo(u"fifo"_s));
        ASSERT_TRUE(tree.MakeSymlink(u"link"_s, u"a.txt"_s));
        ASSERT_TRUE(tree.MakeSymlink(u".hlink"_s, u"nowhere"_s));
        ASSERT_TRUE(tree.MakeFolder(u"sub"_s));
        ASSERT_TRUE(tree.MakeFolder(u".hsub"_s));
        ASSERT_TRUE(tree.MakeSymlink(u"tosub"_s, u"sub"_s));
        ASSERT_TRUE(tree.MakeRawFile("bad\xff.txt"));
        ASSERT_TRUE(tree.MakeRawFile("bad\xfe/x"));
    }
    TempTree tree;
    FileSystem fs;
};

QStringList Sorted(QStringList names) {
    names.sort();
    return names;
}

// The names whose bytes are not UTF-8, with each such byte as its escape.
const QString kBadFile = u"bad"_s + QChar(0xDCFF) + u".txt"_s;
const QString kBadFolder = u"bad"_s + QChar(0xDCFE);

TEST_F(ListingTest, FilesWithinTheMask) {
    struct Case {
        int mask;
        QStringList expected;
    } const cases[] = {
        {39,
         {u".h.txt"_s, u".hlink"_s, u"a.txt"_s, kBadFile, u"fifo"_s, u"link"_s, u"ro.txt"_s,
          u"tosub"_s}},
        {33, {u"a.txt"_s, kBadFile, u"link"_s, u"ro.txt"_s, u"tosub"_s}},
        {32, {u"a.txt"_s, kBadFile, u"link"_s, u"tosub"_s}},  // the read-only file is left out
        {37, {u"a.txt"_s, kBadFile, u"fifo"_s, u"link"_s, u"ro.txt"_s, u"tosub"_s}},
        {34, {u".h.txt"_s, u".hlink"_s, u"a.txt"_s, kBadFile, u"link"_s, u"tosub"_s}},
    };
    for (const Case& c : cases) {
        int error = -1;
        EXPECT_EQ(Sorted(fs.Files(tree.Root(), c.mask, &error)), c.expected) << c.mask;
        EXPECT_EQ(error, 0);
    }
}

TEST_F(ListingTest, SubFoldersAreRealFoldersWithTheirAttributes) {
    QList<FolderEntry> folders = fs.SubFolders(tree.Root());
    std::sort(folders.begin(), folders.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    ASSERT_EQ(folders.size(), 3);
    EXPECT_EQ(folders[0].name, u".hsub"_s);
    EXPECT_EQ(folders[0].attributes, kAttrFolder | kAttrHidden);
    EXPECT_EQ(folders[1].name, kBadFolder);
    EXPECT_EQ(folders[1].attributes, kAttrFolder);
    EXPECT_EQ(folders[2].name, u"sub"_s);
    EXPECT_EQ(folders[2].attributes, kAttrFolder);
}

TEST_F(ListingTest, UnreadableFolderIsReportedNotEmpty) {
    int error = 0;
    EXPECT_TRUE(fs.Files(tree.Path(u"missing"_s), 39, &error).isEmpty());
    EXPECT_EQ(error, ENOENT);
    EXPECT_TRUE(fs.SubFolders(tree.Path(u"a.txt"_s), &error).isEmpty());
    EXPECT_EQ(error, ENOTDIR);
}

// One read gives what Files and SubFolders give, and what stands at a name
// exactly as lstat finds it: asked for every entry, for the entries'
// names in the other letter case, and for names that are not there.
TEST_F(ListingTest, OneReadAnswersLikeTheSeparateCallsAndLstat) {
    for (const int mask : {39, 33, 32, 37, 34}) {
        FolderListing listing;
        ASSERT_EQ(fs.ReadFolder(tree.Root(), mask, true, true, listing), 0);
        EXPECT_EQ(Sorted(listing.FileNames()), Sorted(fs.Files(tree.Root(), mask))) << mask;
        QStringList folders, expectedFolders;
        for (const FolderEntry& e : listing.folders)
            folders.append(e.name + u':' + QString::number(e.attributes));
        for (const FolderEntry& e : fs.SubFolders(tree.Root()))
            expectedFolders.append(e.name + u':' + QString::number(e.attributes));
        EXPECT_EQ(Sorted(folders), Sorted(expectedFolders)) << mask;
        ASSERT_TRUE(listing.NamesExact());

        for (const QString& name : {u"a.txt"_s, u"A.TXT"_s, u".h.txt"_s, u"ro.txt"_s, u"fifo"_s,
                                    u"FIFO"_s, u"link"_s, u".hlink"_s, u"sub"_s, u"SUB"_s,
                                    u".hsub"_s, u"tosub"_s, u"missing"_s, u"a.tx"_s, u"a.txt "_s}) {
            const int a = fs.GetAttributes(tree.Path(name));
            const FolderListing::Holder expected = a < 0 ? FolderListing::Holder::Nothing
                                                   : (a & kAttrFolder)
                                                       ? FolderListing::Holder::Folder
                                                       : FolderListing::Holder::File;
            EXPECT_EQ(listing.At(name), expected) << name.toStdString();
        }
    }
}

TEST_F(ListingTest, NamesAreKeptOnlyWhenAsked) {
    FolderListing listing;
    ASSERT_EQ(fs.ReadFolder(tree.Root(), 39, true, false, listing), 0);
    EXPECT_EQ(listing.At(u"a.txt"_s), FolderListing::Holder::Unknown);
    EXPECT_EQ(listing.At(u"missing"_s), FolderListing::Holder::Unknown);
    // Without files asked for, the subfolders are still there.
    ASSERT_EQ(fs.ReadFolder(tree.Root(), 39, false, true, listing), 0);
    EXPECT_EQ(listing.FileCount(), 0);
    EXPECT_EQ(listing.folders.size(), 3);
    EXPECT_EQ(listing.At(u"a.txt"_s), FolderListing::Holder::File);
}

TEST_F(ListingTest, AFolderThatCannotBeReadIsReported) {
    FolderListing listing;
    EXPECT_EQ(fs.ReadFolder(tree.Path(u"missing"_s), 39, true, true, listing), ENOENT);
    EXPECT_EQ(listing.FileCount(), 0);
    EXPECT_EQ(listing.At(u"a.txt"_s), FolderListing::Holder::Unknown);
}

// Where a name may be found under another spelling, only the file system
// can say what is at it: a folder that may ignore letter case and holds two
// names that fold alike (played by hard links whose names differ only in
// case), names beyond ASCII, and entries that a normalising file system
// finds under an ASCII name. Plain ASCII names that fold apart answer with
// A-Z folded, even where the folder's case cannot be tested.
TEST(FolderListingSpelling, OnlyTheFileSystemAnswersWhereASpellingMayDiffer) {
    struct Case {
        const char* name;
        std::vector<std::pair<QString, QString>> items;  // name, "" or the entry it links to
        bool exact, answers;
    } const cases[] = {
        {"case kept apart", {{u"data.txt"_s, {}}, {u"DATA.TXT"_s, {}}, {u"1"_s, {}}}, true, true},
        {"case ignored",
         {{u"data.txt"_s, {}}, {u"DATA.TXT"_s, u"data.txt"_s}, {u"1"_s, {}}, {u"2"_s, {}}},
         false,
         false},
        {"no letter to test", {{u"1.2"_s, {}}, {u"3"_s, {}}}, false, true},
        {"kelvin sign", {{u"data.txt"_s, {}}, {u"\u212A.txt"_s, {}}}, false, false},
        {"greek question mark", {{u"data.txt"_s, {}}, {u"a\u037E"_s, {}}}, false, false},
        {"other letters beyond ASCII", {{u"data.txt"_s, {}}, {u"\u00E4\u212B"_s, {}}}, true, true},
    };
    const FileSystem fs;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempTree tree;
        for (const auto& [name, original] : c.items)
            ASSERT_TRUE(original.isEmpty() ? tree.MakeFile(name)
                                           : tree.MakeHardLink(name, original));
        FolderListing listing;
        ASSERT_EQ(fs.ReadFolder(tree.Root(), 39, true, true, listing), 0);
        EXPECT_EQ(listing.NamesExact(), c.exact);
        const FolderListing::Holder present =
            c.answers ? FolderListing::Holder::File : FolderListing::Holder::Unknown;
        const FolderListing::Holder absent =
            c.answers ? FolderListing::Holder::Nothing : FolderListing::Holder::Unknown;
        QStringView entry;
        EXPECT_EQ(listing.At(c.items[0].first, &entry), present);
        EXPECT_EQ(entry, c.answers ? QStringView(c.items[0].first) : QStringView());
        EXPECT_EQ(listing.At(u"K.txt"_s), absent);
        // A name beyond ASCII is never answered from the listing, nor one
        // that may be a short alias or lose a trailing dot where case is
        // folded.
        EXPECT_EQ(listing.At(u"\u00E4.txt"_s), FolderListing::Holder::Unknown);
        if (!c.exact) {
            EXPECT_EQ(listing.At(u"K~1.txt"_s), FolderListing::Holder::Unknown);
        }
    }
}

TEST_F(ListingTest, EntryExists) {
    struct Case {
        QString pattern;
        int mask;
        bool expected;
    } const cases[] = {
        {u"a.txt"_s, 39, true},     {u"A.TXT"_s, 39, false},     {u"*.txt"_s, 32, true},
        {u".h*"_s, 33, false},      {u".h*"_s, 35, true},        {u"?.txt"_s, 39, true},
        {u"???.txt"_s, 39, false},  {u"s?b"_s, 39, false},       {u"s?b"_s, 55, true},
        {u"sub"_s, 39, false},      {u"sub"_s, 55, true},        {u"ro.*"_s, 32, false},
        {u"ro.*"_s, 33, true},      {u".hl*"_s, 34, true},  // a dangling link exists
        {u"missing*"_s, 55, false}, {u"missing/*"_s, 55, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fs.EntryExists(tree.Path(c.pattern), c.mask), c.expected)
            << c.pattern.toStdString() << " " << c.mask;
}

TEST(FileSystemChanges, DeleteFileRemovesFilesAndLinksOnly) {
    TempTree tree;
    ASSERT_TRUE(tree.MakeFile(u"target.txt"_s, "keep"));
    struct Case {
        QString name;
        bool force, removed;
    } const cases[] = {
        {u"file"_s, false, true},    {u"ro"_s, false, false},     {u"ro"_s, true, true},
        {u"link"_s, false, true},    {u"dangling"_s, true, true}, {u"folder"_s, true, false},
        {u"missing"_s, true, false},
    };
    ASSERT_TRUE(tree.MakeFile(u"file"_s));
    ASSERT_TRUE(tree.MakeFile(u"ro"_s));
    ASSERT_EQ(::chmod(tree.NativePath("ro").constData(), 0444), 0);
    ASSERT_TRUE(tree.MakeSymlink(u"link"_s, u"target.txt"_s));
    ASSERT_TRUE(tree.MakeSymlink(u"dangling"_s, u"nowhere"_s));
    ASSERT_TRUE(tree.MakeFolder(u"folder"_s));
    FileSystem fs;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const bool existed = fs.Exists(tree.Path(c.name));
        EXPECT_EQ(fs.DeleteFile(tree.Path(c.name), c.force), c.removed);
        EXPECT_EQ(fs.Exists(tree.Path(c.name)), existed && !c.removed);
    }
    EXPECT_EQ(tree.Read(u"target.txt"_s), "keep");
}

}  // namespace

namespace {

// A file moved onto another file system (here /dev/shm, tmpfs) keeps what
// mv keeps: its content, permission bits beyond the umask, owner and times;
// a symbolic link keeps its target and times.
TEST(MoveAcrossFileSystems, KeepsContentModeOwnerAndTimes) {
    TempTree here;
    QTemporaryDir there(u"/dev/shm/FileSystem_test-XXXXXX"_s);
    ASSERT_TRUE(here.IsValid() && there.isValid());
    struct stat a, b;
    ASSERT_EQ(::stat(here.Root().toUtf8().constData(), &a), 0);
    ASSERT_EQ(::stat(there.path().toUtf8().constData(), &b), 0);
    if (a.st_dev == b.st_dev) GTEST_SKIP() << "/dev/shm is on the temporary folders' device";

    const FileSystem fs;
    ASSERT_TRUE(here.MakeFile(u"a.txt"_s, "content"));
    ASSERT_TRUE(here.MakeSymlink(u"link"_s, u"somewhere/else"_s));
    const QByteArray file = here.Path(u"a.txt"_s).toUtf8();
    const QByteArray link = here.Path(u"link"_s).toUtf8();
    ASSERT_EQ(::chmod(file.constData(), 0667), 0);  // bits a umask of 022 would cut
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(file.constData(), 4321, 4321), 0);
    }
    const struct timespec times[2] = {{1000000000, 0}, {1200000000, 500}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.constData(), times, 0), 0);
    ASSERT_EQ(::utimensat(AT_FDCWD, link.constData(), times, AT_SYMLINK_NOFOLLOW), 0);
    struct stat before, linkBefore;
    ASSERT_EQ(::lstat(file.constData(), &before), 0);
    ASSERT_EQ(::lstat(link.constData(), &linkBefore), 0);

    const QString movedFile = there.filePath(u"a.txt"_s);
    const QString movedLink = there.filePath(u"link"_s);
    ASSERT_EQ(fs.MoveFileAcrossFileSystems(here.Path(u"a.txt"_s), movedFile), MoveStatus::Ok);
    ASSERT_EQ(fs.MoveFileAcrossFileSystems(here.Path(u"link"_s), movedLink), MoveStatus::Ok);

    struct stat after, linkAfter;
    ASSERT_EQ(::lstat(movedFile.toUtf8().constData(), &after), 0);
    ASSERT_EQ(::lstat(movedLink.toUtf8().constData(), &linkAfter), 0);
    EXPECT_FALSE(fs.Exists(here.Path(u"a.txt"_s)) || fs.Exists(here.Path(u"link"_s)));
    EXPECT_EQ(QFileInfo(movedLink).symLinkTarget().endsWith(u"somewhere/else"_s), true);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_EQ(linkAfter.st_mtim.tv_sec, linkBefore.st_mtim.tv_sec);
    QFile copy(movedFile);
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), "content");
}

}  // namespace
