#include "platform/mdlTools.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>

using namespace sorvane;

using namespace Qt::StringLiterals;

namespace {

struct PathFixture : ::testing::Test {
    QTemporaryDir tmp;
    QString root;  // the temporary folder in its on-disk spelling
    QString current;
    FileSystem fs;
    mdlTools tools{fs, current};

    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        root = QDir(tmp.path()).canonicalPath();
        current = root + QStringLiteral("/cur");
        tools.SetCurrentFolder(current);
        ASSERT_TRUE(QDir().mkpath(current));
        ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("/A/B/Sub")));
    }
};

TEST_F(PathFixture, NormalizePath) {
    struct Case {
        QString path;
        QString base;
        QString expected;
    };
    const QString r = root;
    const Case cases[] = {
        {QStringLiteral("\"/x/y\""), QString(), QStringLiteral("/x/y")},
        {QStringLiteral("   \"/x/y\""), QString(), QStringLiteral("/x/y")},
        {QStringLiteral("../x"), QStringLiteral("/A/B"), QStringLiteral("/A/x")},
        {QStringLiteral("/x"), QStringLiteral("/D/A"), QStringLiteral("/x")},
        {QStringLiteral("x"), QString(), r + QStringLiteral("/cur/x")},
        {QStringLiteral("x"), QStringLiteral("/base"), QStringLiteral("/base/x")},
        {QStringLiteral("//server/share/x"), QString(), QStringLiteral("/server/share/x")},
        {QStringLiteral("./a/./b/../c"), QStringLiteral("/r"), QStringLiteral("/r/a/c")},
        {QStringLiteral("/../.."), QString(), QStringLiteral("/")},
        {QStringLiteral("a\tb"), QStringLiteral("/r"), QString()},
        {QStringLiteral("a\nb"), QStringLiteral("/r"), QString()},
        {QStringLiteral("写真/２０２４"), QStringLiteral("/r"), QStringLiteral("/r/写真/２０２４")},
        {QString(), QStringLiteral("/A/B"), QStringLiteral("/A/B")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(tools.NormalizePath(c.path, c.base), c.expected) << c.path.toStdString();
    }
}

TEST_F(PathFixture, NormalizePathFollowsTheCurrentFolder) {
    current = root + QStringLiteral("/A");
    tools.SetCurrentFolder(current);
    EXPECT_EQ(tools.NormalizePath(QStringLiteral("B")), root + QStringLiteral("/A/B"));
}

TEST_F(PathFixture, NearestFolderClimbsToAnExistingFolder) {
    struct Case {
        QString path;
        QString expected;
    };
    const Case cases[] = {
        {root + QStringLiteral("/A/B/missing/deeper"), root + QStringLiteral("/A/B")},
        {root + QStringLiteral("/A/B/Sub"), root + QStringLiteral("/A/B/Sub")},
        {QStringLiteral("../A/B/nothing"), root + QStringLiteral("/A/B")},
        {QStringLiteral("../A/B/Sub/x/y"), root + QStringLiteral("/A/B/Sub")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(tools.NearestFolder(c.path, current), c.expected) << c.path.toStdString();
    }
}

TEST_F(PathFixture, NearestFolderEntersALinkedFolder) {
    const QString link = root + QStringLiteral("/linked");
    ASSERT_TRUE(QFile::link(root + QStringLiteral("/A/B"), link));
    EXPECT_EQ(tools.NearestFolder(link + QStringLiteral("/Sub/missing")),
              link + QStringLiteral("/Sub"));
}

TEST_F(PathFixture, NearestFolderOfAFileIsItsFolder) {
    QFile file(root + QStringLiteral("/A/B/photo.jpg"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(tools.NearestFolder(file.fileName()), root + QStringLiteral("/A/B"));
}

TEST_F(PathFixture, TruePath) {
    struct Case {
        QString path;
        QString expected;
    };
    const Case cases[] = {
        {QStringLiteral("/"), QStringLiteral("/")},
        {root + QStringLiteral("/A/B"), root + QStringLiteral("/A/B")},
        {QStringLiteral("  ") + root + QStringLiteral("//A///B/"), root + QStringLiteral("/A/B")},
        {root + QStringLiteral("/A/missing"), QString()},
        {QStringLiteral("A/B"), QString()},  // relative: no drive
        {QString(), QString()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(tools.TruePath(c.path), c.expected) << c.path.toStdString();
    }
}

// A folder that may be entered but not listed (mode 711) keeps the spelling
// given for what lies under it. Root lists every folder, so the look is
// made as an ordinary user.
TEST_F(PathFixture, TruePathUnderAFolderThatCannotBeListed) {
    ASSERT_EQ(::chmod(QFile::encodeName(root).constData(), 0711), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(root + u"/A"_s).constData(), 0711), 0);
    const QString path = root + u"/A/B"_s;
    const auto truePath = [&] { return tools.TruePath(path) == path; };
    if (::geteuid() != 0) {
        EXPECT_TRUE(truePath());
        return;
    }
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const bool asUser = ::setgid(65534) == 0 && ::setuid(65534) == 0;
        ::_exit(!asUser ? 2 : truePath() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "2: the user could not be changed";
}

TEST_F(PathFixture, TruePathOfADanglingLinkIsTheLinkItself) {
    const QString link = root + QStringLiteral("/A/dangling");
    ASSERT_TRUE(QFile::link(root + QStringLiteral("/nowhere"), link));
    EXPECT_EQ(tools.TruePath(link), link);
}

TEST_F(PathFixture, ShortcutsAreSymbolicLinks) {
    struct Case {
        const char* name;
        QByteArray target;  // the link's text; none: a plain item or nothing
        QString resolved;   // ResolveShortcut
        QString target_;    // GetShortcutTarget
    };
    const QString r = root;
    QFile plain(r + QStringLiteral("/A/plain.txt"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const Case cases[] = {
        {"to folder", (r + QStringLiteral("/A/B")).toUtf8(), r + QStringLiteral("/A/B"),
         r + QStringLiteral("/A/B")},
        {"dangling", (r + QStringLiteral("/gone")).toUtf8(), r + QStringLiteral("/gone"),
         r + QStringLiteral("/gone")},
        {"relative", "../A/B/Sub", r + QStringLiteral("/A/B/Sub"), r + QStringLiteral("/A/B/Sub")},
        // A target that is not UTF-8 keeps its byte, as its escape.
        {"not UTF-8", "/tmp/\xff", QStringLiteral("/tmp/") + QChar(0xDCFF),
         QStringLiteral("/tmp/") + QChar(0xDCFF)},
        {"A/plain.txt", {}, r + QStringLiteral("/A/plain.txt"), QString()},
        {"A", {}, r + QStringLiteral("/A"), QString()},
        {"missing", {}, r + QStringLiteral("/missing"), QString()},
    };
    for (const Case& c : cases) {
        const QString path =
            r + u'/' + (c.target.isNull() ? QString::fromUtf8(c.name) : QStringLiteral("cur/link"));
        if (!c.target.isNull()) {
            ::unlink(FileSystem::Encode(path).constData());
            ASSERT_EQ(::symlink(c.target.constData(), FileSystem::Encode(path).constData()), 0);
        }
        EXPECT_EQ(tools.ResolveShortcut(path), c.resolved) << c.name;
        EXPECT_EQ(tools.GetShortcutTarget(path), c.target_) << c.name;
    }
}

TEST(PathText, StripQuotesAndControlChars) {
    EXPECT_EQ(mdlTools::StripQuotes(QStringLiteral("\"a b\"")), QStringLiteral("a b"));
    EXPECT_EQ(mdlTools::StripQuotes(QStringLiteral("\"a")), QStringLiteral("a"));
    EXPECT_EQ(mdlTools::StripQuotes(QStringLiteral("a\"")), QStringLiteral("a"));
    EXPECT_EQ(mdlTools::StripQuotes(QStringLiteral("\"\"x\"\"")), QStringLiteral("\"x\""));
    EXPECT_EQ(mdlTools::StripQuotes(QStringLiteral("\"")), QString());

    EXPECT_TRUE(mdlTools::NoControlChars(QString()));
    EXPECT_TRUE(mdlTools::NoControlChars(QStringLiteral("名前 ~!\x7f")));
    EXPECT_FALSE(mdlTools::NoControlChars(QStringLiteral("a\x1f")));
    EXPECT_FALSE(mdlTools::NoControlChars(QString(QChar(0)) + QStringLiteral("a")));
    EXPECT_TRUE(mdlTools::ValueToBool(2));
    EXPECT_FALSE(mdlTools::ValueToBool(0));
    EXPECT_EQ(mdlTools::CheckValue(true), 1);
}

}  // namespace
