#include "platform/Trash.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <functional>

#include "platform/FileSystem.h"
#include "support/TempTree.h"

using namespace sorvane;
using namespace Qt::StringLiterals;
using sorvane::test::Inventory;
using sorvane::test::TempTree;
using sorvane::test::TreeItem;

namespace {

// The record of an item that TestTrash deleted.
QByteArray Record(const QByteArray& encodedPath) {
    return "[Trash Info]\nPath=" + encodedPath + "\nDeletionDate=2024-03-05T07:08:09\n";
}

QByteArray ReadAt(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool WriteAt(const QString& path, const QByteArray& content) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::NewOnly) && file.write(content) > 0;
}

mode_t ModeOf(const QString& path) {
    struct stat st;
    return ::lstat(path.toUtf8().constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

bool IsEmptyFolder(const QString& path) {
    return QDir(path).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System |
                              QDir::NoDotAndDotDot);
}

// Runs call in an empty temporary working folder; whether it stayed empty.
bool LeavesWorkingFolderEmpty(const std::function<void()>& call) {
    QTemporaryDir working;
    const QString before = QDir::currentPath();
    if (!working.isValid() || !QDir::setCurrent(working.path())) return false;
    call();
    QDir::setCurrent(before);
    return IsEmptyFolder(working.path());
}

// A trash with a fixed clock, a data folder ("" from the environment) and
// optionally a top folder for every item.
class TestTrash : public Trash {
public:
    TestTrash(const FileSystem& fs, const QString& data, QString top = {})
        : Trash(fs), mTop(std::move(top)) {
        SetDataFolder(data);
        SetClock([] { return QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9)); });
    }

protected:
    QString TopFolder(const QString& folder) const override {
        return mTop.isEmpty() ? Trash::TopFolder(folder) : mTop;
    }

private:
    QString mTop;
};

// Sets an environment variable for as long as it lives.
class Variable {
public:
    Variable(const char* name, const QByteArray& value)
        : mName(name), mSet(qEnvironmentVariableIsSet(name)), mOld(qgetenv(name)) {
        qputenv(name, value);
    }
    ~Variable() { mSet ? qputenv(mName, mOld) : qunsetenv(mName); }

private:
    const char* mName;
    bool mSet;
    QByteArray mOld;
};

// A file system on which every rename fails.
class MoveFails : public RenameSystemCalls {
public:
    int Renameat2NoReplace(const char*, const char*) override {
        ++calls;
        errno = EIO;
        return -1;
    }
    int calls = 0;
};

TEST(Trash, AnItemThatCannotGoToTheTrashStaysAndLeavesNoRecord) {
    MoveFails failing;
    struct Case {
        const char* name;
        QString file, link;  // made first: a plain file, a link to the folder "aside"
        QString data, item;
        RenameSystemCalls* calls;
    } const cases[] = {
        {"Trash is a plain file", u"data/Trash"_s, {}, u"data"_s, u"doc.txt"_s, nullptr},
        {"no data folder can be made", u"block"_s, {}, u"block/data"_s, u"doc.txt"_s, nullptr},
        {"Trash is a link", {}, u"data/Trash"_s, u"data"_s, u"doc.txt"_s, nullptr},
        {"files is a link", {}, u"data/Trash/files"_s, u"data"_s, u"doc.txt"_s, nullptr},
        {"info is a link", {}, u"data/Trash/info"_s, u"data"_s, u"doc.txt"_s, nullptr},
        {"the move fails", {}, {}, u"data"_s, u"doc.txt"_s, &failing},
        {"a folder", u"folder/inner"_s, {}, u"data"_s, u"folder"_s, nullptr},
        {"a missing item", {}, {}, u"data"_s, u"missing"_s, nullptr},
        {"a path with a NUL", {}, {}, u"data"_s, u"doc.txt"_s + QChar(u'\0'), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempTree tree;
        ASSERT_TRUE(tree.MakeFile(u"doc.txt"_s, "keep") && tree.MakeFolder(u"aside"_s));
        ASSERT_TRUE(c.file.isEmpty() || tree.MakeFile(c.file));
        ASSERT_TRUE(c.link.isEmpty() || tree.MakeSymlink(c.link, tree.Path(u"aside"_s)));
        const Inventory before = tree.Take();
        const FileSystem fs = c.calls ? FileSystem(*c.calls) : FileSystem();
        const TestTrash trash(fs, tree.Path(c.data));
        QString trashed = u"stale"_s;
        bool moved = true;
        EXPECT_TRUE(LeavesWorkingFolderEmpty(
            [&] { moved = trash.MoveToTrash(tree.Path(c.item), &trashed); }));
        EXPECT_FALSE(moved);
        EXPECT_TRUE(trashed.isEmpty());
        // Everything is as it was; only folders of the trash may have been made.
        const Inventory after = tree.Take();
        for (const auto& [path, item] : before)
            EXPECT_EQ(after.count(path) ? after.at(path) : TreeItem{}, item) << path.constData();
        for (const auto& [path, item] : after)
            EXPECT_TRUE(before.count(path) ||
                        (item.kind == 'd' && path.startsWith(c.data.toUtf8())))
                << path.constData();
    }
    EXPECT_EQ(failing.calls, 1);  // a failure is no taken name: no other name is tried
}

// With a relative $XDG_DATA_HOME, the data folder is $HOME/.local/share.
TEST(Trash, AFileGoesToTheHomeTrashBesideItsRecordAndNeverOverAnother) {
    const QString longName = QString(250, u'x') + u".txt"_s;
    struct Case {
        QString name;
        QByteArray encoded;
    } const cases[] = {
        {u"a b%c.txt"_s, "a%20b%25c.txt"},
        {u"名前.txt"_s, "%E5%90%8D%E5%89%8D.txt"},
        {u"line\nfeed"_s, "line%0Afeed"},
        {longName, longName.toUtf8()},  // no room left for ".trashinfo"
    };
    TempTree tree;
    const QString root = QFileInfo(tree.Root()).canonicalFilePath();
    for (const QChar c : root)
        ASSERT_TRUE(c.isLetterOrNumber() || QStringView(u"/._-").contains(c));
    const Variable home("HOME", tree.NativePath("home"));
    const Variable dataHome("XDG_DATA_HOME", "relative/share");
    const FileSystem fs;
    const TestTrash trash(fs, {});
    const QString share = tree.Path(u"home/.local/share"_s);

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const QString item = tree.Path(u"docs/"_s + c.name);
        QString first, trashed;
        for (const QByteArray content : {"first", "second"}) {
            ASSERT_TRUE(tree.MakeFile(u"docs/"_s + c.name, content));
            bool moved = false;
            EXPECT_TRUE(
                LeavesWorkingFolderEmpty([&] { moved = trash.MoveToTrash(item, &trashed); }));
            ASSERT_TRUE(moved);
            EXPECT_FALSE(fs.Exists(item));
            EXPECT_EQ(FileSystem::ParentFolderName(trashed), share + u"/Trash/files"_s);
            EXPECT_EQ(ReadAt(trashed), content);
            EXPECT_EQ(ReadAt(share + u"/Trash/info/"_s + FileSystem::GetFileName(trashed) +
                             u".trashinfo"_s),
                      Record(root.toUtf8() + "/docs/" + c.encoded));
            EXPECT_NE(trashed, first);
            EXPECT_TRUE(first.isEmpty() || ReadAt(first) == "first");
            first = trashed;
        }
    }
    // What is in the trash is the user's alone.
    for (const QString& folder : {u"home"_s, u"home/.local"_s, u"home/.local/share/Trash"_s,
                                  u"home/.local/share/Trash/info"_s})
        EXPECT_EQ(ModeOf(tree.Path(folder)), 0700u) << folder.toStdString();
    EXPECT_EQ(ModeOf(share + u"/Trash/info/a b%c.txt.trashinfo"_s), 0600u);
}

// Another program takes the new name in the moment of the first rename.
class NameTakenDuringMove : public RenameSystemCalls {
public:
    int Renameat2NoReplace(const char* from, const char* to) override {
        if (!mTaken) mTaken = WriteAt(QString::fromUtf8(to), "theirs");
        return RenameSystemCalls::Renameat2NoReplace(from, to);
    }

private:
    bool mTaken = false;
};

TEST(Trash, ANameTakenDuringTheMoveStaysItsOwnersAndTheItemTakesAnother) {
    TempTree tree;
    ASSERT_TRUE(tree.MakeFile(u"doc.txt"_s, "keep"));
    NameTakenDuringMove calls;
    const FileSystem fs(calls);
    QString trashed;
    ASSERT_TRUE(TestTrash(fs, tree.Path(u"data"_s)).MoveToTrash(tree.Path(u"doc.txt"_s), &trashed));
    EXPECT_EQ(tree.Read(u"data/Trash/files/doc.txt"_s), "theirs");
    EXPECT_FALSE(fs.Exists(tree.Path(u"data/Trash/info/doc.txt.trashinfo"_s)));
    EXPECT_EQ(ReadAt(trashed), "keep");
    EXPECT_EQ(ReadAt(tree.Path(u"data/Trash/info/"_s + FileSystem::GetFileName(trashed) +
                               u".trashinfo"_s)),
              Record(QFileInfo(tree.Root()).canonicalFilePath().toUtf8() + "/doc.txt"));
}

// Items in a folder on /dev/shm (tmpfs); the data folder is on the device of
// the temporary folders.
class OtherFileSystem : public testing::Test {
protected:
    void SetUp() override {
        struct stat a, b;
        ASSERT_TRUE(shm.isValid() && ::stat(shm.path().toUtf8().constData(), &a) == 0 &&
                    ::stat(tree.Root().toUtf8().constData(), &b) == 0);
        if (a.st_dev == b.st_dev) GTEST_SKIP() << "/dev/shm is on the temporary folders' device";
    }

    QTemporaryDir shm{u"/dev/shm/Trash_test-XXXXXX"_s};
    TempTree tree;
    const FileSystem fs;
    const QString uid = QString::number(::geteuid());
};

TEST_F(OtherFileSystem, AFileGoesToTheTrashAtTheTopOfItsFileSystem) {
    if (fs.Exists(u"/dev/shm/.Trash"_s)) GTEST_SKIP() << "/dev/shm has a shared trash";
    const QString own = u"/dev/shm/.Trash-"_s + uid;
    const bool existed = fs.Exists(own);
    ASSERT_TRUE(WriteAt(shm.path() + u"/doc.txt"_s, "keep"));
    QString trashed;
    const bool moved =
        TestTrash(fs, tree.Path(u"data"_s)).MoveToTrash(shm.path() + u"/doc.txt"_s, &trashed);
    const QString record = own + u"/info/"_s + FileSystem::GetFileName(trashed) + u".trashinfo"_s;
    const QByteArray content = ReadAt(trashed), text = ReadAt(record);
    if (!existed) {
        QDir(own).removeRecursively();
    } else if (moved) {
        QFile::remove(trashed);
        QFile::remove(record);
    }
    EXPECT_TRUE(moved);
    EXPECT_EQ(FileSystem::ParentFolderName(trashed), own + u"/files"_s);
    EXPECT_EQ(content, "keep");
    EXPECT_EQ(text, Record(FileSystem::GetFileName(shm.path()).toUtf8() + "/doc.txt"));
    EXPECT_FALSE(fs.Exists(tree.Path(u"data"_s)));  // no home trash was set up
}

TEST_F(OtherFileSystem, ASharedTrashServesOnlyAsARealFolderWithTheStickyBit) {
    struct Case {
        const char* name;
        mode_t shared;  // the mode of a .Trash folder in the top folder; 0: none
        QString link;   // a link there to a sticky folder elsewhere
        QString other;  // a folder there that belongs to another user
        QString trash;  // where the item goes; "" when it stays
    } const cases[] = {
        {"sticky .Trash", 01777, {}, {}, u".Trash/"_s + uid},
        {".Trash without the sticky bit", 0777, {}, {}, u".Trash-"_s + uid},
        {".Trash a link to a sticky folder", 0, u".Trash"_s, {}, u".Trash-"_s + uid},
        {"the user's folder a link", 01777, u".Trash/"_s + uid, {}, u".Trash-"_s + uid},
        {"the user's folder another's", 01777, {}, u".Trash/"_s + uid, u".Trash-"_s + uid},
        {"no .Trash", 0, {}, {}, u".Trash-"_s + uid},
        {".Trash-uid a link", 0, u".Trash-"_s + uid, {}, {}},
        {".Trash-uid another's", 0, {}, u".Trash-"_s + uid, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.other.isEmpty() && ::geteuid() != 0) continue;  // only root gives folders away
        const QString base = shm.path() + u'/' + QString::number(&c - cases);
        const QString top = base + u"/top"_s, aside = base + u"/aside"_s;
        ASSERT_TRUE(QDir().mkpath(top + u"/sub"_s) && QDir().mkpath(aside) &&
                    ::chmod(aside.toUtf8().constData(), 01777) == 0);
        ASSERT_TRUE(WriteAt(top + u"/sub/doc.txt"_s, "keep"));
        const QByteArray shared = (top + u"/.Trash"_s).toUtf8();
        ASSERT_TRUE(!c.shared || (::mkdir(shared.constData(), 0700) == 0 &&
                                  ::chmod(shared.constData(), c.shared) == 0));
        ASSERT_TRUE(c.link.isEmpty() || QFile::link(aside, top + u'/' + c.link));
        const QByteArray other = (top + u'/' + c.other).toUtf8();
        ASSERT_TRUE(c.other.isEmpty() || (::mkdir(other.constData(), 0777) == 0 &&
                                          ::chown(other.constData(), 4321, 4321) == 0));
        QString trashed;
        const bool moved =
            TestTrash(fs, tree.Path(u"data"_s), top).MoveToTrash(top + u"/sub/doc.txt"_s, &trashed);
        EXPECT_TRUE(IsEmptyFolder(aside));
        EXPECT_EQ(moved, !c.trash.isEmpty());
        EXPECT_EQ(ReadAt(moved ? trashed : top + u"/sub/doc.txt"_s), "keep");
        if (!moved) continue;
        EXPECT_EQ(trashed, top + u'/' + c.trash + u"/files/doc.txt"_s);
        EXPECT_EQ(ReadAt(top + u'/' + c.trash + u"/info/doc.txt.trashinfo"_s),
                  Record("sub/doc.txt"));
    }
}

// A record whose item is gone still holds its name for whoever wrote it: the
// item takes the next name, and the record stays as it was, byte for byte.
TEST(Trash, ARecordWithoutItsItemKeepsItsNameAndItsBytes) {
    TempTree tree;
    const QByteArray theirs =
        "[Trash Info]\nPath=/elsewhere/doc.txt\nDeletionDate=2020-01-02T03:04:05\n";
    ASSERT_TRUE(tree.MakeFile(u"doc.txt"_s, "keep"));
    ASSERT_TRUE(tree.MakeFile(u"data/Trash/info/doc.txt.trashinfo"_s, theirs));
    ASSERT_TRUE(tree.MakeFolder(u"data/Trash/files"_s));
    const FileSystem fs;
    QString trashed;
    ASSERT_TRUE(TestTrash(fs, tree.Path(u"data"_s)).MoveToTrash(tree.Path(u"doc.txt"_s), &trashed));
    EXPECT_EQ(trashed, tree.Path(u"data/Trash/files/doc.2.txt"_s));
    EXPECT_EQ(ReadAt(trashed), "keep");
    EXPECT_FALSE(fs.Exists(tree.Path(u"data/Trash/files/doc.txt"_s)));
    EXPECT_EQ(tree.Read(u"data/Trash/info/doc.txt.trashinfo"_s), theirs);
    EXPECT_EQ(tree.Read(u"data/Trash/info/doc.2.txt.trashinfo"_s),
              Record(QFileInfo(tree.Root()).canonicalFilePath().toUtf8() + "/doc.txt"));
}

}  // namespace
