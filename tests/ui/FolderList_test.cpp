#include "ui/FolderList.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>

#include "support/TempTree.h"
#include "ui/WidgetApp.h"

using namespace sorvane;
using namespace Qt::StringLiterals;

namespace {

// A list whose owner shows every folder it is asked for, as the main
// window does, on a tree root/alpha, root/top/{aaa, mid/{x, y}}.
struct FolderListFixture : test::WithApplication, ::testing::Test {
    test::TempTree tree;
    FolderList list;
    QStringList chosen;

    void SetUp() override {
        for (const QString& folder : {u"alpha"_s, u"top/aaa"_s, u"top/mid/x"_s, u"top/mid/y"_s})
            ASSERT_TRUE(tree.MakeFolder(folder));
        QObject::connect(&list, &FolderList::PathChosen, [this](const QString& path) {
            chosen.append(path);
            list.SetPath(path);
        });
    }
    QString At(const QString& relative) const {
        return relative.isEmpty() ? tree.Root() : tree.Path(relative);
    }
};

TEST_F(FolderListFixture, ArrowsEnterAndDoubleClickMoveThroughTheTree) {
    const struct {
        const char* what;
        QString start;  // relative to the root
        int index;
        Qt::Key key;
        QString opened;  // "-" when no folder is asked for
        int current;     // the current index afterwards
    } cases[] = {
        {"Right on a subfolder opens it", u"top/mid"_s, 1, Qt::Key_Right, u"top/mid/y"_s, -1},
        {"Right on an ancestor goes on to the list", u"top/mid"_s, -2, Qt::Key_Right, u"-"_s, -2},
        {"Left on a subfolder moves to the folder", u"top/mid"_s, 1, Qt::Key_Left, u"-"_s, -1},
        {"Left on the folder opens the parent", u"top/mid"_s, -1, Qt::Key_Left, u"top"_s, 1},
        {"Left on the grandparent opens it", u"top/mid"_s, -3, Qt::Key_Left, u""_s, 1},
        {"Enter on an ancestor opens it", u"top/mid"_s, -2, Qt::Key_Return, u"top"_s, -1},
        {"Enter on the folder reads it again", u"top"_s, -1, Qt::Key_Enter, u"top"_s, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        list.SetPath(At(c.start));
        list.SetCurrentIndexValue(c.index);
        chosen.clear();
        QTest::keyClick(&list, c.key);
        EXPECT_EQ(chosen, c.opened == u"-"_s ? QStringList() : QStringList{At(c.opened)});
        EXPECT_EQ(list.Path(), c.opened == u"-"_s ? At(c.start) : At(c.opened));
        EXPECT_EQ(list.CurrentIndexValue(), c.current);
        EXPECT_TRUE(list.currentItem()->isSelected());
    }

    // At the root Left does nothing at all.
    list.SetPath(u"/"_s);
    chosen.clear();
    QTest::keyClick(&list, Qt::Key_Left);
    EXPECT_TRUE(chosen.isEmpty());
    EXPECT_EQ(list.Path(), u"/"_s);

    list.SetPath(At(u"top"_s));
    list.show();
    chosen.clear();
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {},
                       list.visualItemRect(list.item(list.count() - 1)).center());
    EXPECT_EQ(chosen, QStringList{At(u"top/mid"_s)});
    list.hide();
}

// The ancestors from the root down, then the real subfolders A-Z folded,
// then by code units; names are shown through their shown form.
TEST_F(FolderListFixture, ShowsThePathAndTheSubfoldersInTheFileListsOrder) {
    for (const QString& folder : {u"s/b"_s, u"s/A"_s, u"s/a"_s, u"s/c\nd"_s})
        ASSERT_TRUE(tree.MakeFolder(folder));
    ASSERT_TRUE(tree.MakeFile(u"s/file"_s));
    ASSERT_TRUE(tree.MakeSymlink(u"s/link"_s, tree.Path(u"s/b"_s)));
    list.SetPath(tree.Path(u"s/"_s));

    EXPECT_EQ(list.Path(), tree.Path(u"s"_s));
    const int depth = int(QDir::cleanPath(tree.Root()).count(u'/')) + 2;
    EXPECT_EQ(list.FirstIndex(), -depth);
    EXPECT_EQ(list.ItemPath(-depth), u"/"_s);
    EXPECT_EQ(list.item(0)->text(), u"/"_s);
    EXPECT_EQ(list.ItemPath(-2), tree.Root());
    EXPECT_EQ(list.item(depth - 1)->text(), u"s"_s);
    EXPECT_EQ(list.CurrentIndexValue(), -1);
    ASSERT_EQ(list.SubFolderCount(), 4);
    const QStringList names = {u"A"_s, u"a"_s, u"b"_s, u"c\nd"_s};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(list.ItemPath(i), tree.Path(u"s/"_s + names[i]));
    EXPECT_EQ(list.item(depth + 3)->text(), u"c\u240Ad"_s);
}

TEST_F(FolderListFixture, AFolderThatCannotBeReadShowsItselfAlone) {
    ASSERT_TRUE(tree.MakeFile(u"file"_s));
    const QString gone = tree.Path(u"top/mid"_s);
    list.SetPath(gone);
    ASSERT_EQ(list.SubFolderCount(), 2);
    ASSERT_TRUE(QDir(gone).removeRecursively());
    for (const QString& path : {gone, tree.Path(u"file"_s), tree.Path(u"none/deeper"_s)}) {
        SCOPED_TRACE(path.toStdString());
        list.SetPath(path);
        EXPECT_EQ(list.SubFolderCount(), 0);
        EXPECT_EQ(list.ItemPath(-1), path);
        EXPECT_EQ(list.CurrentIndexValue(), -1);
    }
}

TEST_F(FolderListFixture, CtrlKeysCopyTheNameOrThePath) {
    list.SetPath(At(u"top/mid"_s));
    const struct {
        int index;
        Qt::Key key;
        QString text;
    } cases[] = {
        {0, Qt::Key_C, u"x"_s},
        {1, Qt::Key_X, u"y"_s},
        {-2, Qt::Key_C, u"top"_s},
        {1, Qt::Key_F, At(u"top/mid/y"_s)},
        {list.FirstIndex(), Qt::Key_X, u"/"_s},
        {list.FirstIndex(), Qt::Key_F, u"/"_s},
    };
    for (const auto& c : cases) {
        list.SetCurrentIndexValue(c.index);
        QGuiApplication::clipboard()->setText(u"before"_s);
        QTest::keyClick(&list, c.key, Qt::ControlModifier);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), c.text) << c.index;
    }

    // Neither a shortcut nor Ctrl alone swallows the next character: the
    // first "y" finds y.
    list.SetCurrentIndexValue(-1);
    QTest::keyClick(&list, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(&list, Qt::Key_Control, Qt::ControlModifier);
    QTest::keyClick(&list, Qt::Key_Y);
    EXPECT_EQ(list.CurrentIndexValue(), 1);
    EXPECT_TRUE(chosen.isEmpty());
}

}  // namespace
