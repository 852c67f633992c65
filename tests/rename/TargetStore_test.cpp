#include "rename/TargetStore.h"

#include <gtest/gtest.h>

#include <limits>

using namespace sorvane;

namespace {

// Every target comes back exactly as it was added: its names at any length
// (those past a record's own room included, among short ones), whether it is
// a folder, its inode at full width, and each part of its status, which a
// change of another part leaves alone.
TEST(TargetStore, GivesBackEveryTargetAsAdded) {
    struct Row {
        qsizetype oldUnits, newUnits;
        ino_t inode;
        bool folder;
    };
    const Row rows[] = {
        {3, 4, 0, false},
        {254, 3, 1, true},
        {255, 255, ino_t(1) << 40, false},
        {3, 256, std::numeric_limits<ino_t>::max(), true},
        {1, 1, 12345, false},
        {300, 70000, ino_t(1) << 63, false},
        {0, 2, 7, true},
    };
    TargetStore store;
    QString shared = QString(u'q').repeated(40000);  // a text shared, not copied
    const quint16 sharedText = store.ShareText(shared);
    std::vector<QString> oldNames, newNames;
    for (int round = 0; round < 3; ++round) {
        store.BeginFolder(QStringLiteral("d%1/").arg(round), dev_t(round));
        for (const Row& row : rows) {
            const int k = int(oldNames.size());
            oldNames.push_back(QString(QChar(u'a' + k % 26)).repeated(row.oldUnits));
            newNames.push_back(QString(QChar(u'A' + k % 26)).repeated(row.newUnits));
            const TargetStore::NamePlace oldPlace =
                round == 1 ? store.PlaceIn(sharedText, QStringView(shared).sliced(k, row.oldUnits))
                           : store.Copy(oldNames.back());
            if (round == 1)
                oldNames.back() = QStringView(shared).sliced(k, row.oldUnits).toString();
            store.Add(oldPlace, store.Copy(newNames.back()),
                      TargetStatus(Verdict(k % 13), RenameOutcome(k % 6)), row.inode, row.folder);
        }
    }
    ASSERT_EQ(store.Count(), qint32(oldNames.size()));
    for (qint32 i = 0; i < store.Count(); ++i) {
        const Row& row = rows[size_t(i) % std::size(rows)];
        SCOPED_TRACE(i);
        EXPECT_EQ(store.OldName(i), oldNames[size_t(i)]);
        EXPECT_EQ(store.NewName(i), newNames[size_t(i)]);
        EXPECT_EQ(store.IsFolder(i), row.folder);
        EXPECT_EQ(store.Identity(i).inode, row.inode);
        EXPECT_EQ(store.Identity(i).device, dev_t(i / qint32(std::size(rows))));
        EXPECT_EQ(store.Folder(i), QStringLiteral("d%1/").arg(i / qint32(std::size(rows))));
        TargetStatus& status = store.Status(i);
        status.SetRestoreOutcome(RestoreOutcome(i % 6));
        EXPECT_EQ(status.verdict(), Verdict(i % 13));
        EXPECT_EQ(status.renameOutcome(), RenameOutcome(i % 6));
        status.SetVerdict(Verdict::TooLong);
        EXPECT_EQ(store.Status(i).Word(), 10 + 16 * (i % 6) + 256 * (i % 6));
    }
}

}  // namespace
