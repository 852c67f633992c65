#include "platform/ShownName.h"

#include <gtest/gtest.h>

using namespace sorvane;
using namespace Qt::StringLiterals;

namespace {

TEST(ShownName, ControlCharactersBecomeTheirPictures) {
    struct Case {
        QString name;
        QString shown;
    };
    const Case cases[] = {
        {u"a\nb"_s, u"a␊b"_s},
        {u"c\r\n[変換]：fake → x.JPG"_s, u"c␍␊[変換]：fake → x.JPG"_s},
        {u"tab\there.txt"_s, u"tab␉here.txt"_s},
        {u"\x1b[31mred\x1b[0m"_s, u"␛[31mred␛[0m"_s},
        {QString(QChar(0)) + u"nul"_s, u"␀nul"_s},
        {u"\x01\x1f"_s, u"␁␟"_s},
        {u"del\x7f"_s, u"del␡"_s},
        {u"\n"_s, u"␊"_s},
        {u"end\n\n"_s, u"end␊␊"_s},
        // The edges of the range, and pictures already in a name, stay.
        {u" ~"_s, u" ~"_s},
        {u"already␊here"_s, u"already␊here"_s},
        {u""_s, u""_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown.toStdString());
        EXPECT_EQ(ShownName(c.name), c.shown);
        QString out = u"前："_s;
        AppendShown(out, c.name);
        EXPECT_EQ(out, u"前："_s + c.shown);
    }
}

// The common case costs one scan: the very same string comes back, and
// the real name of one that is shown differently is left as it was.
TEST(ShownName, OrdinaryNamesAreNotCopiedAndRealNamesNotChanged) {
    // Made at run time, as names read from a folder are (a literal has no
    // shared block to compare).
    const QString plain = QString::fromUtf8("写真/２０２４年 旅行.JPG");
    const QString shown = ShownName(plain);
    EXPECT_TRUE(shown.isSharedWith(plain));
    EXPECT_EQ(shown.constData(), plain.constData());

    const QString real = u"a\nb"_s;
    EXPECT_FALSE(ShownName(real).isSharedWith(real));
    EXPECT_EQ(real, u"a\nb"_s);
}

}  // namespace
