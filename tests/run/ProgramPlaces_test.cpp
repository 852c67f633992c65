#include "run/ProgramPlaces.h"

#include <gtest/gtest.h>

#include <QDir>

#include "support/TempTree.h"

using namespace Qt::StringLiterals;
using namespace sorvane;
using sorvane::test::TempTree;

namespace {

// The help menu's file: beside the executable first, then where the install
// rules put it; the first place names the missing file when neither has it.
TEST(ProgramPlaces, ReadmeBesideTheProgramThenInstalled) {
    struct Case {
        bool beside;
        bool installed;
        QString expected;
    };
    const Case cases[] = {
        {true, true, u"prefix/bin/readme.txt"_s},
        {false, true, u"prefix/share/doc/sorvane/readme.txt"_s},
        {false, false, u"prefix/bin/readme.txt"_s},
    };
    for (const Case& c : cases) {
        TempTree tree;
        ASSERT_TRUE(tree.MakeFolder(u"prefix/bin"_s));
        if (c.beside) {
            ASSERT_TRUE(tree.MakeFile(u"prefix/bin/readme.txt"_s));
        }
        if (c.installed) {
            ASSERT_TRUE(tree.MakeFile(u"prefix/share/doc/sorvane/readme.txt"_s));
        }
        EXPECT_EQ(ReadmePath(tree.Path(u"prefix/bin"_s)), tree.Path(c.expected))
            << c.beside << c.installed;
    }
}

}  // namespace
