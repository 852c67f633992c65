#include "cli/JournalCommands.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QThread>
#include <functional>

#include "support/TempTree.h"

using namespace Qt::StringLiterals;
using sorvane::test::Inventory;
using sorvane::test::TempTree;

namespace {

constexpr int kFiles = 3000;

// sorvane-cli with its journals in dataHome.
struct Cli {
    QString dataHome;

    void Start(QProcess& p, const QStringList& args) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_DATA_HOME"_s, dataHome);
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(SORVANE_CLI_PATH), args);
        p.closeWriteChannel();
    }
    // Output that nobody reads goes nowhere: a full pipe would stop the
    // program where nothing waits for it.
    static void Discard(QProcess& p, bool err = true) {
        p.setStandardOutputFile(QProcess::nullDevice());
        if (err) p.setStandardErrorFile(QProcess::nullDevice());
    }
    // The exit status, -1 when it did not end normally; err gets stderr and
    // out stdout, each only when asked for.
    int Run(const QStringList& args, QString* err = nullptr, QString* out = nullptr) const {
        QProcess p;
        if (!out) p.setStandardOutputFile(QProcess::nullDevice());
        if (!err) p.setStandardErrorFile(QProcess::nullDevice());
        Start(p, args);
        if (!p.waitForFinished(120000)) return -1;
        if (err) *err = QString::fromUtf8(p.readAllStandardError());
        if (out) *out = QString::fromUtf8(p.readAllStandardOutput());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    QString JournalFolder() const { return dataHome + u"/sorvane/journal"_s; }
    // Rewrites the one journal there is by edit.
    void EditJournal(const std::function<void(QByteArray&)>& edit) const {
        const QStringList names = QDir(JournalFolder()).entryList({u"*.journal"_s});
        ASSERT_EQ(names.size(), 1);
        QFile journal(JournalFolder() + u'/' + names.front());
        ASSERT_TRUE(journal.open(QIODevice::ReadOnly));
        QByteArray text = journal.readAll();
        journal.close();
        edit(text);
        ASSERT_TRUE(journal.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(journal.write(text), text.size());
    }
    bool HasJournal() const {
        return !QDir(JournalFolder()).entryList({u"*.journal"_s}, QDir::Files).isEmpty();
    }
};

QStringList RenameArgs(const TempTree& tree) {
    return {u"rename"_s,      u"--search"_s,     u"f*.txt"_s, u"--replace"_s, u"g*.txt"_s,
            u"--recursive"_s, u"--detail-log"_s, u"--max"_s,  u"100000"_s,    tree.Path(u"t"_s)};
}

void Fill(TempTree& tree) {
    for (int i = 0; i < kFiles; ++i)
        ASSERT_TRUE(tree.MakeFile(u"t/d%1/f%2.txt"_s.arg(i % 3).arg(i), QByteArray::number(i)));
}

// The tree without the journal folder, which is no part of what was renamed.
Inventory RenamedTree(const TempTree& tree) {
    Inventory inventory = tree.Take();
    std::erase_if(inventory, [](const auto& e) { return e.first.startsWith("data"); });
    return inventory;
}

// How many of the files carry their new names.
int RenamedCount(const Inventory& inventory) {
    int renamed = 0;
    for (const auto& [path, item] : inventory)
        if (item.kind == 'f' && path.contains("/g")) ++renamed;
    return renamed;
}

// A run killed at any point, then restored from its journal, leaves the
// tree exactly as it was: every name, inode and content. Killed before its
// journal is on disk, it has changed nothing.
TEST(JournalRestore, KilledRunComesBackExactly) {
    // Milliseconds after the journal appears; -1 kills before it does, and
    // the last run is not killed at all.
    constexpr int kNoKill = 1 << 30;
    const int delays[] = {-1, 0, 1, 2, 4, 6, 9, 13, 18, 25, 35, 50, 80, 120, 200, kNoKill};
    int partial = 0;
    for (const int delay : delays) {
        SCOPED_TRACE(delay);
        TempTree tree;
        Fill(tree);
        const Inventory before = tree.Take();
        const Cli cli{tree.Path(u"data"_s)};

        QProcess run;
        Cli::Discard(run);
        cli.Start(run, RenameArgs(tree));
        if (delay >= 0 && delay != kNoKill) {
            // waitForFinished(0) looks once whether it ended: the state
            // alone changes only in an event loop.
            const QDeadlineTimer deadline(120000);
            while (!cli.HasJournal() && !run.waitForFinished(0) &&
                   run.state() != QProcess::NotRunning) {
                if (deadline.hasExpired()) {
                    run.kill();
                    run.waitForFinished(10000);
                    FAIL() << "the run neither wrote its journal nor ended within 120 s";
                }
                QThread::usleep(200);
            }
            QThread::msleep(ulong(delay));
        }
        if (delay != kNoKill) run.kill();
        run.waitForFinished(120000);

        Inventory killed = tree.Take();
        const int renamed = RenamedCount(killed);
        if (renamed > 0 && renamed < kFiles) ++partial;
        if (!cli.HasJournal()) {
            EXPECT_EQ(renamed, 0) << "renamed before the journal was on disk";
            continue;
        }
        QString err;
        const int status = cli.Run({u"restore"_s}, &err);
        // A journal cut off before its plan was complete found nothing to
        // restore: the run had renamed nothing.
        if (renamed > 0) {
            EXPECT_EQ(status, 0) << err.toStdString();
        }
        EXPECT_EQ(RenamedTree(tree), before);
    }
    EXPECT_GT(partial, 0) << "no kill fell among the renames";
}

// What the user did after the run is respected: a file made at an old name
// is never replaced, an item moved away is reported and left where it is.
TEST(JournalRestore, LeavesWhatTheUserChangedMeanwhile) {
    TempTree tree;
    for (int i = 1; i <= 3; ++i)
        ASSERT_TRUE(tree.MakeFile(u"t/f%1.txt"_s.arg(i), QByteArray::number(i)));
    const Cli cli{tree.Path(u"data"_s)};
    ASSERT_EQ(cli.Run(RenameArgs(tree)), 0);
    ASSERT_TRUE(tree.MakeFile(u"t/f1.txt"_s, "users"));
    ASSERT_TRUE(QFile::rename(tree.Path(u"t/g2.txt"_s), tree.Path(u"elsewhere.txt"_s)));

    QString log;
    EXPECT_EQ(cli.Run({u"restore"_s}, nullptr, &log), 1);
    EXPECT_EQ(tree.Read(u"t/f1.txt"_s), "users");
    EXPECT_EQ(tree.Read(u"t/g1.txt"_s), "1");
    EXPECT_EQ(tree.Read(u"elsewhere.txt"_s), "2");
    EXPECT_EQ(tree.Read(u"t/f3.txt"_s), "3");
    EXPECT_TRUE(log.contains(
        u"[スキップ]復元しようとしているファイルが移動・または削除されています。：f2.txt ← g2.txt"_s))
        << log.toStdString();
    EXPECT_TRUE(log.contains(
        u"[スキップ]復元後の名前と同じ名前のファイルまたはフォルダが新たに存在しています。：f1.txt ← g1.txt"_s));
    EXPECT_TRUE(log.contains(u"==復元されたファイル数：1=="_s));
}

// A restore writes and saves its log as the settings file it is given says.
TEST(JournalRestore, TakesTheLogSettingsOfTheFileGiven) {
    TempTree tree;
    ASSERT_TRUE(tree.MakeFile(u"t/f1.txt"_s, "1"));
    ASSERT_TRUE(tree.MakeFile(u"restore.ini"_s,
                              "\xEF\xBB\xBF[システム]\r\nログ表示=0\r\n自動ログ保存=1\r\n"
                              "ログパス=" +
                                  tree.Path(u"logs"_s).toUtf8() + "\r\n"));
    const Cli cli{tree.Path(u"data"_s)};
    ASSERT_EQ(cli.Run(RenameArgs(tree)), 0);

    QString err, log;
    EXPECT_EQ(cli.Run({u"restore"_s, u"--settings"_s, tree.Path(u"restore.ini"_s)}, &err, &log), 0)
        << err.toStdString();
    EXPECT_EQ(tree.Read(u"t/f1.txt"_s), "1");
    EXPECT_FALSE(log.contains(u"[復元]"_s)) << "no detailed lines: " << log.toStdString();
    EXPECT_EQ(QDir(tree.Path(u"logs"_s)).entryList({u"*.log"_s}, QDir::Files).size(), 1);
}

// A damaged record is never passed over in silence: the restore puts back
// what it can read, says how many lines it could not, and fails.
TEST(JournalRestore, ADamagedRecordFailsTheRestore) {
    TempTree tree;
    for (const QString& name : {u"t/f1%.txt"_s, u"t/f2.txt"_s, u"t/f3.txt"_s})
        ASSERT_TRUE(tree.MakeFile(name, name.toUtf8()));
    const Cli cli{tree.Path(u"data"_s)};
    ASSERT_EQ(cli.Run(RenameArgs(tree)), 0);
    cli.EditJournal([](QByteArray& text) {
        ASSERT_EQ(text.count("%25"), 2) << "the old and the new name of f1%.txt";
        text.replace("f1%25", "f1%2G");
    });

    QString log;
    EXPECT_EQ(cli.Run({u"restore"_s}, nullptr, &log), 1);
    EXPECT_TRUE(log.contains(u"！復元記録に読めない行が1行あります。"_s)) << log.toStdString();
    EXPECT_TRUE(log.contains(u"==復元記録の読めなかった行数：1=="_s));
    EXPECT_FALSE(log.contains(u"全て復元されました"_s));
    EXPECT_EQ(tree.Read(u"t/f2.txt"_s), "t/f2.txt");
    EXPECT_EQ(tree.Read(u"t/g1%.txt"_s), "t/f1%.txt");
}

// Names with line breaks, tabs, "%" and characters beyond ASCII, in folders
// named alike, come back exactly through the journal's text; so does a
// control byte or "%" right after a character beyond ASCII, which is
// escaped as any other.
TEST(JournalRestore, AnyNameComesBackExactly) {
    TempTree tree;
    const QString names[] = {
        u"t/f\nb%.txt"_s,        u"t/f\t%25é日本.txt"_s,   u"t/s p%0A/f\u001b[31m.txt"_s,
        u"t/fü🙂.txt"_s,      u"t/fé\nb.txt"_s,         u"t/fü%.txt"_s,
        u"t/f日%0A\u0001.txt"_s, u"t/f🙂\t\u007f.txt"_s, u"t/dé%\r/fß%25\n.txt"_s};
    for (const QString& name : names) ASSERT_TRUE(tree.MakeFile(name, name.toUtf8()));
    const Inventory before = tree.Take();
    const Cli cli{tree.Path(u"data"_s)};
    ASSERT_EQ(cli.Run(RenameArgs(tree)), 0);
    ASSERT_EQ(RenamedCount(tree.Take()), int(std::size(names)));
    QString err;
    EXPECT_EQ(cli.Run({u"restore"_s}, &err), 0) << err.toStdString();
    EXPECT_EQ(RenamedTree(tree), before);
}

// Names in any bytes, the way archives and disks of other systems give
// them, and a plain name in a folder whose own name is not UTF-8: each is
// listed, renamed byte for byte, logged by its shown form, and restored to
// the exact bytes. JSON gives the exact bytes beside the shown name.
TEST(JournalRestore, NamesInAnyBytesAreRenamedAndComeBackExactly) {
    const QByteArray names[] = {
        "plain.txt",
        "\x82\xa0\x82\xa2.txt",  // "あい" in Shift-JIS
        "\xa4\xa2.txt",          // "あ" in EUC-JP
        "caf\xe9.txt",           // Latin-1
        "\x80.txt",              // a lone continuation byte
        "\xc0\xaf.txt",          // an overlong "/"
        "cut\xe3\x81",           // a sequence cut off at the end
        "\xfe\xff.txt",
        "\xed\xa0\x80.txt",                   // an encoded surrogate
        "あ\x82z.txt",                        // valid UTF-8 mixed with a byte that is not
        "\x83t\x83H\x83\x8b\x83_/inner.txt",  // "フォルダ" in Shift-JIS, holding a file
    };
    TempTree tree;
    Inventory renamedExpected;
    for (const QByteArray& name : names) {
        ASSERT_TRUE(tree.MakeRawFile("t/" + name, name));
        const qsizetype slash = name.lastIndexOf('/');
        renamedExpected["t/" + name.left(slash + 1) + "X_" + name.mid(slash + 1)] = {};
    }
    const Inventory before = tree.Take();
    const Cli cli{tree.Path(u"data"_s)};
    const QStringList args = {u"rename"_s, u"--operation"_s, u"front"_s,        u"--replace"_s,
                              u"X_"_s,     u"--recursive"_s, u"--detail-log"_s, tree.Path(u"t"_s)};

    QString out;
    ASSERT_EQ(cli.Run(args + QStringList{u"--dry-run"_s, u"--json"_s}, nullptr, &out), 0);
    const QJsonObject plan = QJsonDocument::fromJson(out.toUtf8()).object();
    QStringList shown, bytes;
    for (const QJsonValue target : plan[u"targets"_s].toArray()) {
        shown.append(target[u"new"_s].toString());
        bytes.append(target[u"newBytes"_s].toString());
    }
    EXPECT_EQ(shown.size(), int(std::size(names)));
    EXPECT_TRUE(shown.contains(u"X_\\x82\\xA0\\x82\\xA2.txt"_s)) << out.toStdString();
    EXPECT_TRUE(bytes.contains(QString::fromLatin1(QByteArray("X_\x82\xa0\x82\xa2.txt").toHex())));
    EXPECT_TRUE(shown.contains(u"\\x83t\\x83H\\x83\\x8B\\x83_/X_inner.txt"_s));

    QString log;
    ASSERT_EQ(cli.Run(args, nullptr, &log), 0);
    Inventory after = RenamedTree(tree);
    for (auto& [path, item] : after) item = {};
    for (const auto& [path, item] : renamedExpected)
        EXPECT_TRUE(after.contains(path)) << path.toHex(' ').toStdString();
    EXPECT_TRUE(log.contains(u"[変換]：\\x82\\xA0\\x82\\xA2.txt → X_\\x82\\xA0\\x82\\xA2.txt"_s))
        << log.toStdString();
    EXPECT_TRUE(log.contains(u"==条件に一致したファイルは全て変換されました。=="_s));
    EXPECT_TRUE(log.contains(u"==変換されたファイル数：%1=="_s.arg(std::size(names))));

    // The journal stays UTF-8 text, such bytes escaped.
    const QStringList journals = QDir(cli.JournalFolder()).entryList({u"*.journal"_s});
    ASSERT_EQ(journals.size(), 1);
    QFile journal(cli.JournalFolder() + u'/' + journals.front());
    ASSERT_TRUE(journal.open(QIODevice::ReadOnly));
    const QByteArray text = journal.readAll();
    EXPECT_TRUE(text.isValidUtf8());
    EXPECT_TRUE(text.contains("\t%82%A0%82%A2.txt\tX_%82%A0%82%A2.txt\n")) << text.toStdString();

    QString err;
    EXPECT_EQ(cli.Run({u"restore"_s}, &err), 0) << err.toStdString();
    EXPECT_EQ(RenamedTree(tree), before);
}

// A repair of Shift-JIS names through the real command line: the dry run,
// the run (folders after what they hold) and the restore agree, a name the
// code page cannot read is left as it is, and every byte comes back.
TEST(JournalRestore, ARepairOfShiftJisNamesComesBackExactly) {
    const QByteArray folder = "t/\x83t\x83H\x83\x8b\x83_";  // "フォルダ"
    const QByteArray names[] = {
        "t/\x82\xa0\x82\xa2.txt",          // "あい.txt"
        "t/\x81\x60.txt",                  // "～" (U+FF5E in code page 932)
        "t/\x87\x40.txt",                  // "①"
        "t/\xfb\xfc.txt",                  // "髙"
        "t/\x87\x94.txt",                  // "∑"
        "t/\xb6\xc0\xb6\xc5.txt",          // "ｶﾀｶﾅ"
        "t/\x82.bad",                      // not code page 932
        folder + "/\x8e\xca\x90\x5e.jpg",  // "写真.jpg"
    };
    TempTree tree;
    for (const QByteArray& name : names) ASSERT_TRUE(tree.MakeRawFile(name, name));
    const Inventory before = tree.Take();
    const Cli cli{tree.Path(u"data"_s)};
    const QStringList args = {u"repair"_s,      u"--encoding"_s,   u"cp932"_s,
                              u"--recursive"_s, u"--detail-log"_s, tree.Path(u"t"_s)};

    QString out, err;
    ASSERT_EQ(cli.Run(args + QStringList{u"--dry-run"_s}, &err, &out), 0) << err.toStdString();
    QStringList planned = out.split(u'\n', Qt::SkipEmptyParts);
    planned.removeLast();  // the count
    planned.sort();
    EXPECT_EQ(planned, (QStringList{
                           u"1\t\\x81`.txt\t～.txt"_s,
                           u"1\t\\x82\\xA0\\x82\\xA2.txt\tあい.txt"_s,
                           u"1\t\\x83t\\x83H\\x83\\x8B\\x83_\tフォルダ"_s,
                           u"1\t\\x83t\\x83H\\x83\\x8B\\x83_/\\x8Eʐ^.jpg\t"
                           u"\\x83t\\x83H\\x83\\x8B\\x83_/写真.jpg"_s,
                           u"1\t\\x87@.txt\t①.txt"_s,
                           u"1\t\\x87\\x94.txt\t∑.txt"_s,
                           u"1\t\\xB6\\xC0\\xB6\\xC5.txt\tｶﾀｶﾅ.txt"_s,
                           u"1\t\\xFB\\xFC.txt\t髙.txt"_s,
                           u"11\t\\x82.bad\t"_s,
                       }));

    QString log;
    ASSERT_EQ(cli.Run(args, &err, &log), 0) << err.toStdString();
    QStringList after;
    for (const auto& [path, item] : RenamedTree(tree)) after.append(QString::fromUtf8(path));
    EXPECT_EQ(after, (QStringList{u"t"_s, u"t/\uFFFD.bad"_s, u"t/∑.txt"_s, u"t/①.txt"_s,
                                  u"t/あい.txt"_s, u"t/フォルダ"_s, u"t/フォルダ/写真.jpg"_s,
                                  u"t/髙.txt"_s, u"t/～.txt"_s, u"t/ｶﾀｶﾅ.txt"_s}));
    EXPECT_TRUE(log.contains(u"[スキップ]名前をCP932として読めません。：\\x82.bad"_s))
        << log.toStdString();
    EXPECT_TRUE(log.contains(u"==変換された項目数：8=="_s));

    EXPECT_EQ(cli.Run({u"restore"_s}, &err), 0) << err.toStdString();
    EXPECT_EQ(RenamedTree(tree), before);
}

// A zip made on Windows holds Shift-JIS names without saying so; unpacked
// by a tool that reads them as code page 437 (Python's zipfile), the files
// and the folder get their Japanese names back.
TEST(JournalRestore, ARepairGivesAZipsShiftJisNamesBack) {
    TempTree tree;
    QProcess python;
    python.setWorkingDirectory(tree.Root());
    python.start(u"python3"_s, {u"-c"_s,
                                uR"(
import zipfile
class Windows(zipfile.ZipInfo):
    def _encodeFilenameFlags(self):
        return self.filename.encode('cp437'), self.flag_bits
with zipfile.ZipFile('x.zip', 'w') as z:
    for name in ['写真.txt', 'フォルダ/中身.txt', 'plain.txt']:
        info = Windows(name.encode('cp932').decode('cp437'))
        info.create_system = 0
        z.writestr(info, b'x')
zipfile.ZipFile('x.zip').extractall('t')
)"_s});
    ASSERT_TRUE(python.waitForFinished(60000));
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    ASSERT_TRUE(tree.Take().contains(QString(u"t/âtâHâïâ_/ÆåÉg.txt"_s).toUtf8()));

    const Cli cli{tree.Path(u"data"_s)};
    QString err;
    ASSERT_EQ(cli.Run({u"repair"_s, u"--encoding"_s, u"unzip-cp932"_s, u"--recursive"_s,
                       tree.Path(u"t"_s)},
                      &err),
              0)
        << err.toStdString();
    QStringList after;
    for (const auto& [path, item] : RenamedTree(tree))
        if (path.startsWith("t/")) after.append(QString::fromUtf8(path));
    EXPECT_EQ(after, (QStringList{u"t/plain.txt"_s, u"t/フォルダ"_s, u"t/フォルダ/中身.txt"_s,
                                  u"t/写真.txt"_s}));
}

// A journal that cannot be written stops the run before anything changes,
// unless journaling is switched off.
TEST(JournalRestore, UnwritableJournalStopsTheRunUntouched) {
    TempTree tree;
    ASSERT_TRUE(tree.MakeFile(u"t/f1.txt"_s, "1"));
    ASSERT_TRUE(tree.MakeFile(u"data/sorvane/journal"_s, "a file in the way"));
    const Cli cli{tree.Path(u"data"_s)};
    const Inventory before = tree.Take();
    QString err;
    EXPECT_EQ(cli.Run(RenameArgs(tree), &err), 1);
    EXPECT_TRUE(err.contains(u"中断 / 復元記録の作成中(予期しないエラー)"_s)) << err.toStdString();
    EXPECT_EQ(tree.Take(), before);

    EXPECT_EQ(cli.Run(RenameArgs(tree) << u"--no-journal"_s), 0);
    EXPECT_EQ(tree.Read(u"t/g1.txt"_s), "1");
}

// A record names its item by device and inode: an item with the record's
// inode on another device is not the item renamed, and stays where it is.
TEST(JournalRestore, ItemOnAnotherDeviceIsLeftAlone) {
    TempTree tree;
    for (int i = 1; i <= 2; ++i)
        ASSERT_TRUE(tree.MakeFile(u"t/f%1.txt"_s.arg(i), QByteArray::number(i)));
    const Cli cli{tree.Path(u"data"_s)};
    ASSERT_EQ(cli.Run(RenameArgs(tree)), 0);
    // The record of f2.txt gets the next device number.
    cli.EditJournal([](QByteArray& text) {
        QList<QByteArray> lines = text.split('\n');
        int changed = 0;
        for (QByteArray& line : lines) {
            QList<QByteArray> fields = line.split('\t');
            if (fields.size() != 5 || fields[0] != "rename" || fields[3] != "f2.txt") continue;
            fields[1] = QByteArray::number(fields[1].toULongLong() + 1);
            line = fields.join('\t');
            ++changed;
        }
        ASSERT_EQ(changed, 1);
        text = lines.join('\n');
    });

    QString log;
    EXPECT_EQ(cli.Run({u"restore"_s}, nullptr, &log), 1);
    EXPECT_EQ(tree.Read(u"t/f1.txt"_s), "1");
    EXPECT_EQ(tree.Read(u"t/g2.txt"_s), "2");
    EXPECT_FALSE(QFile::exists(tree.Path(u"t/f2.txt"_s)));
    EXPECT_TRUE(log.contains(
        u"[スキップ]復元しようとしているファイルが移動・または削除されています。：f2.txt ← g2.txt"_s))
        << log.toStdString();
    EXPECT_TRUE(log.contains(u"==復元されたファイル数：1=="_s));
}

}  // namespace
