#include "rename/NameRepair.h"

#include <gtest/gtest.h>

#include "platform/FileSystem.h"

using namespace sorvane;
using namespace Qt::StringLiterals;

namespace {

// What each repair makes of a name: the code page's own characters (where
// code page 932 is not plain Shift_JIS), names it leaves alone, and names
// it cannot read.
TEST(NameRepair, EachRepairReadsWhatItShouldAndLeavesTheRest) {
    using R = RepairResult;
    struct Case {
        const char* what;
        NameRepair repair;
        QString name;
        R result;
        QString repaired;
    };
    const auto bytes = [](const char* b) { return FileSystem::Decode(QByteArray(b)); };
    const Case cases[] = {
        {"あい", NameRepair::Cp932, bytes("\x82\xa0\x82\xa2.txt"), R::Repaired, u"あい.txt"_s},
        {"wave dash as U+FF5E", NameRepair::Cp932, bytes("\x81\x60"), R::Repaired, u"～"_s},
        {"NEC's circled digit", NameRepair::Cp932, bytes("\x87\x40"), R::Repaired, u"①"_s},
        {"IBM's 髙", NameRepair::Cp932, bytes("\xfb\xfc"), R::Repaired, u"髙"_s},
        {"NEC's ∑", NameRepair::Cp932, bytes("\x87\x94"), R::Repaired, u"∑"_s},
        {"half-width katakana", NameRepair::Cp932, bytes("\xb6\xc0\xb6\xc5"), R::Repaired,
         u"ｶﾀｶﾅ"_s},
        {"not CP932", NameRepair::Cp932, bytes("\x82.txt"), R::Unreadable, {}},
        {"UTF-8 needs none", NameRepair::Cp932, u"写真.txt"_s, R::NotTarget, {}},
        {"EUC-JP", NameRepair::EucJp, bytes("\xa4\xa2\xa4\xa4.txt"), R::Repaired, u"あい.txt"_s},
        {"not EUC-JP", NameRepair::EucJp, bytes("\x82\xa0.txt"), R::Unreadable, {}},
        {"zip mojibake", NameRepair::UnzipCp932, u"Ä╩É^.txt"_s, R::Repaired, u"写真.txt"_s},
        {"zip mojibake folder", NameRepair::UnzipCp932, u"âtâHâïâ_"_s, R::Repaired, u"フォルダ"_s},
        {"a correct Japanese name", NameRepair::UnzipCp932, u"写真.txt"_s, R::NotTarget, {}},
        {"ASCII", NameRepair::UnzipCp932, u"plain.txt"_s, R::NotTarget, {}},
        {"code page 437 but not CP932", NameRepair::UnzipCp932, u"Ä.txt"_s, R::Unreadable, {}},
        {"split dakuten", NameRepair::Nfc, u"か\u3099.txt"_s, R::Repaired, u"が.txt"_s},
        {"split handakuten", NameRepair::Nfc, u"ハ\u309Aン"_s, R::Repaired, u"パン"_s},
        {"composed already", NameRepair::Nfc, u"が.txt"_s, R::NotTarget, {}},
        {"a compatibility ideograph stays", NameRepair::Nfc, u"\uFA19社"_s, R::NotTarget, {}},
        {"... with a mark after it too", NameRepair::Nfc, u"\uFA19\u0301"_s, R::NotTarget, {}},
        {"bytes that are not UTF-8", NameRepair::Nfc, bytes("\x82\xa0"), R::NotTarget, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QString repaired;
        EXPECT_EQ(RepairName(c.repair, c.name, repaired), c.result);
        if (c.result == R::Repaired) {
            EXPECT_EQ(repaired, c.repaired);
        }
    }
}

}  // namespace
