#include "platform/NameTable.h"

#include <gtest/gtest.h>

#include <QHash>
#include <QString>
#include <vector>

using namespace sorvane;
using namespace Qt::StringLiterals;

namespace {

// Every name under one hash that starts the probe in the last slot: each
// lookup walks past indices whose hashes agree but whose names do not, and
// wraps around to the first slot.
TEST(NameTable, NamesUnderOneHashAreToldApartByTheCallersComparison) {
    const std::vector<QString> names = {u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s, u"f"_s};
    const size_t hash = ~size_t(0);
    NameTable table;
    table.Reset(names.size());
    for (size_t i = 0; i < names.size(); ++i) table.Insert(hash, qint32(i));

    for (size_t i = 0; i < names.size(); ++i) {
        const qint32 found =
            table.Find(hash, [&](qint32 j) { return names[size_t(j)] == names[i]; });
        EXPECT_EQ(found, qint32(i)) << names[i].toStdString();
    }
    EXPECT_EQ(table.Find(hash, [&](qint32 j) { return names[size_t(j)] == u"g"_s; }), -1);
    // The first slot holds an index of the other hash: never taken for this one.
    EXPECT_EQ(table.Find(0, [](qint32) { return true; }), -1);
}

// Names compared with letters folded, as the duplicate marks compare new
// names: a same name is not added, and the one found is the first added.
TEST(NameTable, FindOrInsertAnswersWithTheFirstOfSameNames) {
    const std::vector<QString> names = {u"a.txt"_s, u"B.txt"_s, u"A.TXT"_s,
                                        u"b.txt"_s, u"c"_s,     u"a.Txt"_s};
    const auto folded = [&](qint32 i) { return names[size_t(i)].toLower(); };
    NameTable table;
    table.Reset(names.size());
    std::vector<qint32> found;
    for (size_t i = 0; i < names.size(); ++i) {
        const qint32 index = qint32(i);
        found.push_back(table.FindOrInsert(qHash(folded(index)), index,
                                           [&](qint32 j) { return folded(j) == folded(index); }));
    }
    EXPECT_EQ(found, (std::vector<qint32>{-1, -1, 0, 1, -1, 0}));

    table.Reset(names.size());
    EXPECT_EQ(table.Find(qHash(u"a.txt"_s), [](qint32) { return true; }), -1);
    EXPECT_EQ(NameTable().Find(0, [](qint32) { return true; }), -1);
}

}  // namespace
