#include "cli/RunJson.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringDecoder>

#include "support/TempTree.h"

using namespace Qt::StringLiterals;
using sorvane::test::Inventory;
using sorvane::test::TempTree;

namespace {

// `sorvane-cli rename ... --json` as a script runs it: its exit status and
// standard output parsed as one JSON object.
struct JsonRun {
    int status = -1;
    QJsonObject json;
    QString err;
};

JsonRun RunJson(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(SORVANE_CLI_PATH), QStringList{u"rename"_s, u"--json"_s} + args);
    p.closeWriteChannel();
    JsonRun r;
    if (!p.waitForFinished(120000)) return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.err = QString::fromUtf8(p.readAllStandardError());
    const QByteArray out = p.readAllStandardOutput();
    // Valid UTF-8 and valid JSON, one object and nothing else.
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(out);
    EXPECT_FALSE(utf8.hasError()) << out.toStdString();
    EXPECT_TRUE(text.endsWith(u"}\n"_s)) << out.toStdString();
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(out, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError)
        << error.errorString().toStdString() << " in " << out.toStdString();
    r.json = doc.object();
    return r;
}

const QString kWords[] = {
    u"none"_s,      u"rename"_s, u"exists"_s, u"exists-delete"_s, u"identical"_s,
    u"duplicate"_s, u"chain"_s,  u"empty"_s,  u"folder-exists"_s, u"deleted-collision"_s};

// The names below the root that the tree holds as files, as text.
QStringList FileNames(const TempTree& tree) {
    QStringList names;
    for (const auto& [path, item] : tree.Take())
        if (item.kind == 'f') names.append(QString::fromUtf8(path));
    return names;
}

struct RunJsonTest : ::testing::Test {
    TempTree tree;
    // Control characters and a character outside the BMP, which the JSON
    // must carry exactly.
    const QString odd = u"x\n\t\x1b[1m\"\\😀.txt"_s;
    void SetUp() override {
        ASSERT_TRUE(tree.IsValid());
        for (const QString& name : {u"a.txt"_s, u"b.txt"_s, u"sub/c.txt"_s, odd})
            ASSERT_TRUE(tree.MakeFile(name, name.toUtf8()));
        ASSERT_TRUE(tree.MakeFile(u"b.dat"_s, "old"));
    }
    QStringList Args(const QStringList& more = {}) const {
        return QStringList{tree.Root(), u"--search"_s, u"*.txt"_s,      u"--replace"_s,
                           u"*.dat"_s,  u"--whole"_s,  u"--recursive"_s} +
               more;
    }
};

// Each target's paths, verdict and outcome say what happened in the tree;
// the counts are those of the summary.
TEST_F(RunJsonTest, ARunReportsEveryTargetAsTheTreeShowsIt) {
    const JsonRun r = RunJson(Args());
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.json[u"dryRun"], false);
    EXPECT_EQ(r.json[u"end"], u"done"_s);
    EXPECT_EQ(r.json[u"endStatus"], u"終了"_s);
    EXPECT_EQ(r.json[u"complete"], true);
    EXPECT_TRUE(r.json[u"folder"].toString().endsWith(u'/'));
    const QJsonObject counts = r.json[u"counts"].toObject();
    EXPECT_EQ(counts[u"matched"], 4);
    EXPECT_EQ(counts[u"renamed"], 3);
    EXPECT_EQ(counts[u"notRenamed"], 1);
    EXPECT_EQ(counts[u"deleted"], 0);

    const QStringList files = FileNames(tree);
    QStringList olds;
    for (const QJsonValue& v : r.json[u"targets"].toArray()) {
        const QJsonObject t = v.toObject();
        const QString old = t[u"old"].toString();
        const QString now = t[u"new"].toString();
        const int verdict = t[u"verdict"].toInt();
        SCOPED_TRACE(old.toStdString());
        olds.append(old);
        EXPECT_EQ(t[u"verdictName"], kWords[verdict]);
        EXPECT_EQ(t[u"status"].toInt(), verdict + 16 * t[u"renameBits"].toInt());
        if (old == u"b.txt") {
            EXPECT_EQ(t[u"verdictName"], u"exists"_s);
            EXPECT_EQ(t[u"outcome"], u"skipped"_s);
            EXPECT_TRUE(files.contains(old));
            EXPECT_EQ(tree.Read(u"b.dat"_s), "old");
        } else {
            EXPECT_EQ(t[u"verdictName"], u"rename"_s);
            EXPECT_EQ(t[u"outcome"], u"renamed"_s);
            EXPECT_FALSE(files.contains(old));
            EXPECT_EQ(tree.Read(now), old.toUtf8());
        }
    }
    olds.sort();
    EXPECT_EQ(olds, (QStringList{u"a.txt"_s, u"b.txt"_s, u"sub/c.txt"_s, odd}));
}

// The dry run gives the targets of the text listing, with nothing changed.
TEST_F(RunJsonTest, ADryRunListsTheTargetsAndChangesNothing) {
    const Inventory before = tree.Take();
    const JsonRun r = RunJson(Args({u"--dry-run"_s}));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(tree.Take(), before);
    EXPECT_EQ(r.json[u"dryRun"], true);
    EXPECT_EQ(r.json[u"end"], u"done"_s);
    EXPECT_EQ(r.json[u"counts"].toObject(), (QJsonObject{{u"matched"_s, 4}}));
    QStringList lines;
    for (const QJsonValue& v : r.json[u"targets"].toArray()) {
        const QJsonObject t = v.toObject();
        EXPECT_FALSE(t.contains(u"outcome")) << "no outcomes without a run";
        EXPECT_EQ(t[u"verdictName"], kWords[t[u"verdict"].toInt()]);
        lines.append(u"%1 %2 %3"_s.arg(t[u"verdict"].toInt())
                         .arg(t[u"old"].toString(), t[u"new"].toString()));
    }
    lines.sort();
    EXPECT_EQ(lines,
              (QStringList{u"1 a.txt a.dat"_s, u"1 sub/c.txt sub/c.dat"_s,
                           u"1 "_s + odd + u" x\n\t\x1b[1m\"\\😀.dat"_s, u"2 b.txt b.dat"_s}));
}

// A colliding file let go: removed, and said so by the verdict and count.
TEST_F(RunJsonTest, ADeletedCollisionIsReported) {
    const JsonRun r = RunJson(Args({u"--delete-existing"_s, u"--delete-mode"_s, u"delete"_s,
                                    u"--answer-collision"_s, u"all"_s}));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.json[u"counts"].toObject()[u"deleted"], 1);
    EXPECT_EQ(r.json[u"counts"].toObject()[u"renamed"], 4);
    EXPECT_EQ(tree.Read(u"b.dat"_s), "b.txt");
    int collisions = 0;
    for (const QJsonValue& v : r.json[u"targets"].toArray()) {
        const QJsonObject t = v.toObject();
        if (t[u"old"] != u"b.txt"_s) continue;
        ++collisions;
        EXPECT_EQ(t[u"verdict"], 9);
        EXPECT_EQ(t[u"verdictName"], u"deleted-collision"_s);
        EXPECT_EQ(t[u"outcome"], u"renamed"_s);
    }
    EXPECT_EQ(collisions, 1);
}

// A refused run and a refused dry run still give one object to read.
TEST_F(RunJsonTest, ARefusalIsAnObjectToo) {
    for (const QStringList& more : {QStringList{}, QStringList{u"--dry-run"_s}}) {
        const JsonRun r =
            RunJson(QStringList{tree.Root(), u"--search"_s, u""_s, u"--replace"_s, u"x"_s} + more);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.json[u"end"], u"refused"_s);
        EXPECT_EQ(r.json[u"complete"], false);
        EXPECT_EQ(r.json[u"targets"].toArray().size(), 0);
        EXPECT_FALSE(r.err.isEmpty()) << "the message box went to standard error";
    }
}

// Sets or clears the immutable flag of a file, which even root cannot
// rename; false where the file system or the user cannot.
bool SetImmutable(const QString& path, bool on) {
    const int fd = ::open(path.toUtf8().constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
}

// A target whose rename fails ends the run with exit 1 and "complete"
// false, though the run went to its end; the other targets are renamed.
TEST_F(RunJsonTest, ATargetWhoseRenameFailsMakesTheRunIncomplete) {
    if (!SetImmutable(tree.Path(u"a.txt"_s), true))
        GTEST_SKIP() << "no immutable files here (needs root and ext4, xfs or btrfs)";
    const JsonRun r = RunJson(Args({u"--answer-collision"_s, u"no"_s}));
    SetImmutable(tree.Path(u"a.txt"_s), false);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.json[u"end"], u"done"_s);
    EXPECT_EQ(r.json[u"complete"], false);
    EXPECT_TRUE(r.err.contains(u"1 target(s) could not be renamed"_s)) << r.err.toStdString();
    EXPECT_EQ(tree.Read(u"sub/c.dat"_s), "sub/c.txt");
    EXPECT_EQ(tree.Read(u"a.txt"_s), "a.txt");
}

// "?" takes one UTF-16 unit: half of a surrogate pair can be cut off, and
// the new name left with a lone surrogate must still be valid JSON.
TEST(RunJsonNames, ALoneSurrogateInANewNameIsEscaped) {
    TempTree t;
    ASSERT_TRUE(t.MakeFile(u"😀a.txt"_s));
    const JsonRun r = RunJson(
        {t.Root(), u"--search"_s, u"?*"_s, u"--replace"_s, u"*"_s, u"--whole"_s, u"--dry-run"_s});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonArray targets = r.json[u"targets"].toArray();
    ASSERT_EQ(targets.size(), 1);
    EXPECT_EQ(targets[0].toObject()[u"old"], u"😀a.txt"_s);
    EXPECT_EQ(targets[0].toObject()[u"new"], u"😀a.txt"_s.mid(1));
}

}  // namespace
