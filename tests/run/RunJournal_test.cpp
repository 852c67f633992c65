#include "run/RunJournal.h"

#include <gtest/gtest.h>

#include <QFile>

#include "support/TempTree.h"

using namespace Qt::StringLiterals;
using sorvane::JournalInfo;
using sorvane::JournalRecord;
using sorvane::JournalState;
using sorvane::ReadJournal;
using sorvane::test::TempTree;

namespace {

const QByteArray kHeader =
    "sorvane journal "
    "1\nfolder\t/data/photos%0Anew/\ndevice\t7\ntime\t2026-12-07T10:15:00.123+09:00\n"
    "object\tファイル\npid\t0\ntargets\t2\n";

// The records a journal's text yields, with its state and the lines left
// out: a record that is damaged, or that would reach outside the start
// folder or move an item to another folder, is never replayed.
TEST(RunJournalRead, TakesOnlyRecordsThatStayInTheirFolder) {
    struct Case {
        const char* name;
        QByteArray tail;
        std::vector<std::pair<QString, QString>> records;
        JournalState state;
        qint64 damaged;
    };
    std::vector<Case> cases = {
        {"escapes",
         "rename\t7\t11\tsub/a%0Ab%25.txt\tsub/c%09.txt\n",
         {{u"sub/a\nb%.txt"_s, u"sub/c\t.txt"_s}},
         JournalState::Interrupted,
         0},
        {"a cut last line",
         "rename\t7\t11\ta\tb\nrename\t7\t12\tc\td",
         {{u"a"_s, u"b"_s}},
         JournalState::Interrupted,
         0},
        {"absolute", "rename\t7\t11\t/etc/passwd\t/etc/x\n", {}, JournalState::Interrupted, 1},
        {"dot dot", "rename\t7\t11\t../a\t../b\n", {}, JournalState::Interrupted, 1},
        {"inner dot dot", "rename\t7\t11\ts/../a\ts/../b\n", {}, JournalState::Interrupted, 1},
        {"another folder", "rename\t7\t11\ts/a\tt/a\n", {}, JournalState::Interrupted, 1},
        {"empty name", "rename\t7\t11\ts/a\ts/\n", {}, JournalState::Interrupted, 1},
        {"bad escape", "rename\t7\t11\ta%G1\tb\n", {}, JournalState::Interrupted, 1},
        {"raw tab field", "rename\t7\t11\ta\tb\tc\n", {}, JournalState::Interrupted, 1},
        // Inode 0: the listing gave the item no number of its own.
        {"no inode", "rename\t7\t0\ta\tb\n", {{u"a"_s, u"b"_s}}, JournalState::Interrupted, 0},
        // A name is its bytes, escaped or not.
        {"not UTF-8",
         "rename\t7\t11\t\xff\tb%FE\n",
         {{QString(QChar(0xDCFF)), u"b"_s + QChar(0xDCFE)}},
         JournalState::Interrupted,
         0},
        {"completed",
         "rename\t7\t11\ta\tb\ncompleted\trenamed=1\n",
         {{u"a"_s, u"b"_s}},
         JournalState::Completed,
         0},
        {"partly restored",
         "rename\t7\t11\ta\tb\ncompleted\trenamed=1\nrestored\ttarget=2\trestored=1\n",
         {{u"a"_s, u"b"_s}},
         JournalState::Completed,
         0},
        {"restored",
         "rename\t7\t11\ta\tb\nrestored\ttarget=1\trestored=1\ttime=x\n",
         {{u"a"_s, u"b"_s}},
         JournalState::Restored,
         0},
    };
    // Read in pieces: lines that straddle them are read whole.
    Case longer{"longer than a piece", {}, {}, JournalState::Completed, 0};
    for (int i = 0; i < 3000; ++i) {
        const QString oldPath = u"sub/old%1.txt"_s.arg(i), newPath = u"sub/new%1.txt"_s.arg(i);
        longer.tail += "rename\t7\t11\t" + oldPath.toUtf8() + '\t' + newPath.toUtf8() + '\n';
        longer.records.emplace_back(oldPath, newPath);
    }
    longer.tail += "completed\trenamed=3000\nrename\t7\t12\tc\td";
    cases.push_back(longer);
    TempTree tree;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString name = QString::fromUtf8(c.name) + u".journal"_s;
        ASSERT_TRUE(tree.MakeFile(name, kHeader + c.tail));
        const QString path = tree.Path(name);
        JournalInfo info;
        std::vector<JournalRecord> records;
        QString error;
        ASSERT_TRUE(ReadJournal(path, info, &records, &error)) << error.toStdString();
        EXPECT_EQ(info.folder, u"/data/photos\nnew/"_s);
        EXPECT_EQ(info.itemWord, u"ファイル"_s);
        EXPECT_EQ(info.planned, 2);
        EXPECT_EQ(info.state, c.state);
        EXPECT_EQ(info.damaged, c.damaged);
        std::vector<std::pair<QString, QString>> paths;
        for (const JournalRecord& r : records) {
            paths.emplace_back(r.oldPath, r.newPath);
            EXPECT_EQ(r.identity.device, dev_t(7));
        }
        EXPECT_EQ(paths, c.records);
    }
}

TEST(RunJournalRead, RefusesWhatIsNoJournal) {
    TempTree tree;
    const QByteArray texts[] = {"", "sorvane journal 2\nfolder\t/a/\n", "sorvane journal 1\n",
                                "sorvane journal 1\nfolder\trelative/\n",
                                "sorvane journal 1\nfolder\t/a%00b/\n"};
    for (const QByteArray& text : texts) {
        SCOPED_TRACE(text.toStdString());
        ASSERT_TRUE(tree.MakeFile(u"x.journal"_s, text));
        JournalInfo info;
        QString error;
        EXPECT_FALSE(ReadJournal(tree.Path(u"x.journal"_s), info, nullptr, &error));
        EXPECT_FALSE(error.isEmpty());
        QFile::remove(tree.Path(u"x.journal"_s));
    }
}

}  // namespace
