#include "log/mdlLog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QStringList>
#include <functional>

#include "platform/FileSystem.h"
#include "platform/TextCodec.h"
#include "platform/mdlTools.h"
#include "ports/LogBoxPort.h"
#include "settings/mdlOptions.h"
#include "support/TempTree.h"
#include "support/scripted/ScriptedMessageBox.h"

using namespace sorvane;
using namespace Qt::StringLiterals;
using sorvane::test::Inventory;
using sorvane::test::TempTree;

namespace {

const QDateTime kSecond{QDate(2026, 3, 14), QTime(12, 34, 56, 789)};
const QString kName = u"sorvane_Log_20260314123456"_s;  // the saves' name at kSecond

// The program around one log record: a temporary tree, the settings, a log
// box and a clock that stands still until the test moves it.
struct LogProgram {
    TempTree tree;
    FileSystem fs;
    QString current;
    mdlTools tools{fs, current};
    ScriptedMessageBox messages;
    mdlOptions options{messages};
    MemoryLogBox logBox;
    QString exeName;
    QDateTime clock = kSecond;
    mdlLog log{fs, tools, options, logBox};

    explicit LogProgram(const QString& exe = u"sorvane"_s) : exeName(exe) {
        options.InitOptions(tree.Root(), exeName);
        log.SetLogPath(tree.Path(u"Log"_s));
        log.Now = [this] { return clock; };
    }

    // Every entry of a folder, hidden ones and dangling links too, sorted.
    static QStringList Entries(const QString& folder) {
        return QDir(folder).entryList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    }
};

QStringList SaveSet(const QString& name) {
    return {name + u".ini"_s, name + u".log"_s, name + u".txt"_s};
}

QString Hex(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex(' '));
}

TEST(mdlLogSave, SavesInOneSecondTakeTheCounters00To02) {
    LogProgram p;
    ASSERT_TRUE(p.tree.IsValid());
    p.logBox.Append(u"ログ\r\n"_s);
    QStringList expected;
    for (const char* counter : {"00", "01", "02"}) {
        EXPECT_EQ(p.log.SaveLogFiles(false), 0) << counter;
        EXPECT_EQ(p.log.LogSaveErrorText, QString());
        expected += SaveSet(kName + QLatin1StringView(counter));
        expected.sort();
        // Exactly the three files per save: no temporary left behind.
        EXPECT_EQ(LogProgram::Entries(p.log.LogPath()), expected) << counter;
    }
    // A new second starts again at 00.
    p.clock = p.clock.addSecs(1);
    EXPECT_EQ(p.log.SaveLogFiles(true), 0);
    EXPECT_TRUE(QFile::exists(p.tree.Path(u"Log/sorvane_Log_2026031412345700.log"_s)));
}

struct BlockCase {
    const char* what;
    QString exeName;
    std::function<bool(TempTree&)> setUp;  // makes entries inside "Log"
    const char* counter;                   // the counter the save must take
};

void PrintTo(const BlockCase& c, std::ostream* os) {
    *os << c.what;
}

bool ReadOnlyFile(TempTree& t, const QString& relative) {
    return t.MakeFile(relative) && ::chmod(t.NativePath(relative.toUtf8()).constData(), 0444) == 0;
}

class BlockingEntries : public ::testing::TestWithParam<BlockCase> {};

TEST_P(BlockingEntries, TakeTheFirstCounterThatNoEntryUses) {
    const BlockCase& c = GetParam();
    LogProgram p(c.exeName);
    ASSERT_TRUE(p.tree.MakeFolder(u"Log"_s));
    ASSERT_TRUE(c.setUp(p.tree)) << c.what;
    const Inventory before = p.tree.Take();

    EXPECT_EQ(p.log.SaveLogFiles(false), 0) << c.what;
    const QString name = c.exeName + u"_Log_20260314123456"_s + QLatin1StringView(c.counter);
    QStringList expected = SaveSet(name);
    for (const auto& [path, item] : before) {
        if (path.startsWith("Log/")) expected += QString::fromUtf8(path.mid(4));
    }
    expected.sort();
    EXPECT_EQ(LogProgram::Entries(p.log.LogPath()), expected) << c.what;

    // What was there is still there, unchanged.
    const Inventory after = p.tree.Take();
    for (const auto& [path, item] : before) {
        const auto found = after.find(path);
        ASSERT_NE(found, after.end()) << c.what << ": " << path.toStdString();
        EXPECT_EQ(found->second, item) << c.what << ": " << path.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    mdlLogNames, BlockingEntries,
    ::testing::Values(
        BlockCase{"empty folder", u"sorvane"_s, [](TempTree&) { return true; }, "00"},
        BlockCase{"file of another extension", u"sorvane"_s,
                  [](TempTree& t) { return t.MakeFile(u"Log/"_s + kName + u"00.zip"_s); }, "01"},
        BlockCase{"name alone", u"sorvane"_s,
                  [](TempTree& t) { return t.MakeFile(u"Log/"_s + kName + u"00"_s); }, "01"},
        BlockCase{"folder", u"sorvane"_s,
                  [](TempTree& t) { return t.MakeFolder(u"Log/"_s + kName + u"00.d"_s); }, "01"},
        BlockCase{"dangling link", u"sorvane"_s,
                  [](TempTree& t) {
                      return t.MakeSymlink(u"Log/"_s + kName + u"00.log"_s, t.Path(u"gone"_s));
                  },
                  "01"},
        BlockCase{"read-only file", u"sorvane"_s,
                  [](TempTree& t) { return ReadOnlyFile(t, u"Log/"_s + kName + u"00.txt"_s); },
                  "01"},
        BlockCase{
            "hidden file", u".sorvane"_s,
            [](TempTree& t) { return t.MakeFile(u"Log/.sorvane_Log_2026031412345600.txt"_s); },
            "01"},
        BlockCase{"two counters taken", u"sorvane"_s,
                  [](TempTree& t) {
                      return t.MakeFile(u"Log/"_s + kName + u"00.ini"_s) &&
                             t.MakeFolder(u"Log/"_s + kName + u"01"_s);
                  },
                  "02"},
        BlockCase{"names that only begin alike block nothing", u"sorvane"_s,
                  [](TempTree& t) {
                      return t.MakeFile(u"Log/"_s + kName + u"000.txt"_s) &&
                             t.MakeFile(u"Log/"_s + kName + u"00txt"_s) &&
                             t.MakeFile(u"Log/"_s + kName + u"0.txt"_s) &&
                             t.MakeFile(u"Log/x"_s + kName + u"00.txt"_s);
                  },
                  "00"}));

TEST(mdlLogSave, CreatesALogFolderSeveralLevelsDeep) {
    LogProgram p;
    p.log.SetLogPath(p.tree.Path(u"a/b/c/Log"_s));
    EXPECT_EQ(p.log.SaveLogFiles(false), 0);
    EXPECT_EQ(LogProgram::Entries(p.log.LogPath()), SaveSet(kName + u"00"_s));
}

TEST(mdlLogSave, TakesTheLogFoldersOnDiskSpelling) {
    LogProgram p;
    ASSERT_TRUE(p.tree.MakeFolder(u"Log"_s));
    p.log.SetLogPath(p.tree.Root() + u"//Log/"_s);
    const QString given = p.log.LogPath();
    EXPECT_EQ(p.log.SaveLogFiles(false), 0);
    EXPECT_EQ(p.log.LogPath(), p.tree.Path(u"Log"_s));
    // The information file names the folder as it was when the save began.
    const QString info = DecodeTextFile(p.tree.Read(u"Log/"_s + kName + u"00.txt"_s));
    EXPECT_TRUE(info.contains(u"ログパス="_s + given + u"\r\n"_s)) << info.toStdString();
}

struct FailureCase {
    const char* what;
    std::function<bool(LogProgram&)> setUp;  // may also point the log folder elsewhere
    LogSaveErrorFlags errors;
    std::function<QString(const LogProgram&)> text;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.what;
}

class SaveFailures : public ::testing::TestWithParam<FailureCase> {};

TEST_P(SaveFailures, SetTheirBitsAndLinesAndWriteNothingElse) {
    const FailureCase& c = GetParam();
    LogProgram p;
    p.logBox.Append(u"ログ\r\n"_s);
    ASSERT_TRUE(c.setUp(p)) << c.what;
    const QString given = p.log.LogPath();
    const Inventory before = p.tree.Take();

    EXPECT_EQ(p.log.SaveLogFiles(false), c.errors) << c.what;
    EXPECT_EQ(p.log.LogSaveErrors, c.errors) << c.what;
    EXPECT_EQ(p.log.LogSaveErrorText, c.text(p)) << c.what;
    EXPECT_EQ(p.tree.Take(), before) << c.what;
    EXPECT_EQ(p.log.LogPath(), given) << c.what;
}

bool AllNamesTaken(LogProgram& p) {
    // Every kind of entry, so that each kind is seen to block its counter.
    for (int n = 0; n < 100; ++n) {
        const QString name =
            u"Log/"_s + kName + QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
        bool made = false;
        switch (n % 4) {
            case 0:
                made = p.tree.MakeFile(name + u".zip"_s);
                break;
            case 1:
                made = p.tree.MakeFolder(name);
                break;
            case 2:
                made = p.tree.MakeSymlink(name + u".log"_s, p.tree.Path(u"gone"_s));
                break;
            default:
                made = p.tree.MakeFile(name + u".txt"_s);
                break;
        }
        if (!made) return false;
    }
    return true;
}

INSTANTIATE_TEST_SUITE_P(
    mdlLogBits, SaveFailures,
    ::testing::Values(
        FailureCase{"file where the log folder should be",
                    [](LogProgram& p) { return p.tree.MakeFile(u"Log"_s, "not a folder"); },
                    LogSaveError::Folder,
                    [](const LogProgram& p) {
                        return u"！ログフォルダの作成に失敗しました：'"_s + p.log.LogPath() +
                               u"'\r\n"_s;
                    }},
        FailureCase{"file in the way of a parent of the log folder",
                    [](LogProgram& p) {
                        p.log.SetLogPath(p.tree.Path(u"f/sub/Log"_s));
                        return p.tree.MakeFile(u"f"_s, "not a folder");
                    },
                    LogSaveError::Folder,
                    [](const LogProgram& p) {
                        return u"！ログフォルダの作成に失敗しました：'"_s + p.log.LogPath() +
                               u"'\r\n"_s;
                    }},
        FailureCase{"all 100 names taken", AllNamesTaken, LogSaveError::Name,
                    [](const LogProgram& p) {
                        return u"！ログファイル名の重複により、保存が出来ませんでした：'"_s +
                               p.log.LogPath() + u"'\r\n"_s;
                    }},
        // A folder in which nothing can be created, whoever runs the test:
        // each file is still attempted after the one before failed.
        FailureCase{"folder that takes no files",
                    [](LogProgram& p) {
                        p.log.SetLogPath(u"/proc"_s);
                        return true;
                    },
                    LogSaveError::InfoFile | LogSaveError::Options | LogSaveError::MainLog,
                    [](const LogProgram&) {
                        const QString name = u"/proc/"_s + kName + u"00"_s;
                        return u"！ログ情報ファイルの作成に失敗しました：'"_s + name +
                               u".txt'\r\n"_s + u"！設定ファイルの作成に失敗しました：'"_s + name +
                               u".ini'\r\n"_s + u"！メインログファイルの作成に失敗しました：'"_s +
                               name + u".log'\r\n"_s;
                    }}));

// A settings copy that cannot be made shows the settings file's own open
// error before its line joins those of the save.
TEST(mdlLogSave, ASettingsCopyThatCannotBeMadeShowsTheOpenErrorFirst) {
    LogProgram p;
    p.log.SetLogPath(u"/proc"_s);
    QString errorsWhenShown;
    p.messages.onShow = [&](const MessageRequest&) { errorsWhenShown = p.log.LogSaveErrorText; };
    p.log.SaveLogFiles(false);
    ASSERT_EQ(p.messages.shown.size(), 1);
    EXPECT_EQ(p.messages.shown[0].title, u"ファイルオープンエラー"_s);
    EXPECT_EQ(p.messages.shown[0].text,
              u"/proc/"_s + kName + u"00.ini のオープンに失敗しました。"_s);
    EXPECT_TRUE(errorsWhenShown.startsWith(u"！ログ情報ファイルの作成に失敗しました"_s));
    EXPECT_FALSE(errorsWhenShown.contains(u"設定ファイル"_s));
}

TEST(mdlLogSave, ASaveWithoutErrorsClearsThoseOfTheSaveBefore) {
    LogProgram p;
    ASSERT_TRUE(p.tree.MakeFile(u"Log"_s));
    EXPECT_EQ(p.log.SaveLogFiles(false), LogSaveError::Folder);
    p.log.SetLogPath(p.tree.Path(u"Elsewhere"_s));
    EXPECT_EQ(p.log.SaveLogFiles(false), 0);
    EXPECT_EQ(p.log.LogSaveErrors, 0);
    EXPECT_EQ(p.log.LogSaveErrorText, QString());
}

// The information file byte for byte: code page 932, CR LF after every line.
TEST(mdlLogFiles, InformationFileAfterARunAndBeforeAnyRun) {
    const QByteArray crlf = "\r\n";
    const auto sjis = [](const char* hex) { return QByteArray::fromHex(hex); };
    struct Case {
        const char* what;
        bool run;
        bool manual;
        QByteArray lines2to7;
    };
    const Case cases[] = {
        {"automatic save after a rename run", true, false,
         sjis("95db91b63d") + sjis("8ea993ae") + crlf +                      // 保存=自動
             sjis("91808dec93e097653d") + sjis("838a836c815b8380") + crlf +  // 操作内容=リネーム
             sjis("8f4997b98ff38bb53d") + sjis("8f4997b9") + crlf +          // 終了状況=終了
             sjis("8a4a8e6e8e9e8d8f3d") + "20260314123456 / 45296.789" + crlf +
             sjis("8f4997b98e9e8d8f3d") + "20260314123507 / 45307.5" + crlf +
             sjis("8f88979d8e9e8ad4289562293d") + "10.711" + crlf},
        {"manual save before any run", false, true,
         sjis("95db91b63d") +
             sjis("8ee893ae288f88979d8ce381418386815b835582c982e682e890dd92e882aa95cf8d5882b382ea"
                  "82c482a282e982a982e082b582ea82dc82b982f1814229") +
             crlf + sjis("91808dec93e097653d") + crlf +  // 操作内容= and nothing
             sjis("8f4997b98ff38bb53d") +
             sjis("2883418376838a8350815b8356838783938a4a8e6e92bc8ce329") + crlf +
             sjis("8a4a8e6e8e9e8d8f3d") + crlf +  // 開始時刻=
             sjis("8f4997b98e9e8d8f3d") + crlf +  // 終了時刻=
             sjis("8f88979d8e9e8ad4289562293d") + "0" + crlf},
    };
    for (const Case& c : cases) {
        LogProgram p;
        p.log.InitLogInfo(u"(アプリケーション開始直後)"_s);
        if (c.run) {
            p.log.StartLogInfo(u"リネーム"_s);
            p.clock = QDateTime(QDate(2026, 3, 14), QTime(12, 35, 7, 500));
            p.log.EndLogInfo(u"終了"_s);
        }
        p.clock = QDateTime(QDate(2026, 3, 14), QTime(12, 35, 8));
        ASSERT_EQ(p.log.SaveLogFiles(c.manual), 0) << c.what;

        const QByteArray name = "sorvane_Log_2026031412350800";
        const QByteArray expected =
            sjis("5b838d834f8fee95f15d") + crlf + c.lines2to7 +  // [ログ情報]
            sjis("838d834f837083583d") + p.log.LogPath().toUtf8() + crlf +
            sjis("838d834f8fee95f1837483408343838b3d") + name + ".txt" + crlf +
            sjis("838d834f837483408343838b3d") + name + ".log" + crlf +
            sjis("838d834f95db91b68e9e82cc90dd92e8837483408343838b3d") + name + ".ini" + crlf;
        EXPECT_EQ(Hex(p.tree.Read(u"Log/"_s + QString::fromLatin1(name) + u".txt"_s)),
                  Hex(expected))
            << c.what;
        // The settings copy is the settings file of that moment.
        EXPECT_TRUE(DecodeTextFile(p.tree.Read(u"Log/"_s + QString::fromLatin1(name) + u".ini"_s))
                        .contains(u"[システム]\r\n"_s))
            << c.what;
    }
}

TEST(mdlLogFiles, MainLogIsTheLogTextAsItStands) {
    struct Case {
        QString text;
        QByteArray bytes;
    };
    const Case cases[] = {
        {u""_s, QByteArray()},
        {u"リネーム完了\r\nok\r\n"_s, QByteArray::fromHex("838a836c815b83808aae97b90d0a6f6b0d0a")},
        // Hangul has no code in 932: the whole file goes to UTF-8 with the mark.
        {u"リネーム 한\r\n"_s, QByteArray::fromHex("efbbbf") + u"リネーム 한\r\n"_s.toUtf8()},
    };
    for (const Case& c : cases) {
        LogProgram p;
        p.logBox.Append(c.text);
        ASSERT_EQ(p.log.SaveLogFiles(false), 0);
        EXPECT_EQ(Hex(p.tree.Read(u"Log/"_s + kName + u"00.log"_s)), Hex(c.bytes))
            << c.text.toStdString();
        EXPECT_EQ(p.logBox.Text(), c.text);
    }
}

// Nothing at the name a writer is given is ever replaced or written through.
TEST(mdlLogFiles, WritersNeverReplaceAnEntry) {
    using Writer = std::function<bool(mdlLog&, const QString&)>;
    const std::pair<const char*, Writer> writers[] = {
        {"information file",
         [](mdlLog& l, const QString& f) { return l.WriteLogInfoFile(f, false); }},
        {"settings copy", [](mdlLog& l, const QString& f) { return l.SaveLogOptions(f); }},
        {"main log", [](mdlLog& l, const QString& f) { return l.SaveMainLog(f); }},
    };
    const std::pair<const char*, std::function<bool(TempTree&)>> occupants[] = {
        {"file", [](TempTree& t) { return t.MakeFile(u"Log/x"_s, "earlier"); }},
        {"dangling link",
         [](TempTree& t) { return t.MakeSymlink(u"Log/x"_s, t.Path(u"Log/target"_s)); }},
        {"folder", [](TempTree& t) { return t.MakeFolder(u"Log/x"_s); }},
    };
    for (const auto& [writerName, writer] : writers) {
        for (const auto& [occupantName, occupy] : occupants) {
            LogProgram p;
            p.logBox.Append(u"ログ\r\n"_s);
            ASSERT_TRUE(occupy(p.tree));
            const Inventory before = p.tree.Take();
            EXPECT_FALSE(writer(p.log, p.tree.Path(u"Log/x"_s)))
                << writerName << " on " << occupantName;
            EXPECT_EQ(p.tree.Take(), before) << writerName << " on " << occupantName;
        }
    }
}

struct StampCase {
    QTime start;
    QTime end;
    int endDays;  // days after the start day
    QString startTime;
    QString endTime;
    double startTimer;
    double endTimer;
    QString seconds;
};

TEST(mdlLogRecord, StampsAndDuration) {
    const QDate day(2026, 3, 14);
    const StampCase cases[] = {
        {QTime(12, 34, 56, 789), QTime(12, 35, 7, 500), 0, u"20260314123456 / 45296.789"_s,
         u"20260314123507 / 45307.5"_s, 45296.789, 45307.5, u"10.711"_s},
        {QTime(0, 0), QTime(0, 0), 0, u"20260314000000 / 0"_s, u"20260314000000 / 0"_s, 0, 0,
         u"0"_s},
        {QTime(0, 0, 0, 100), QTime(0, 0, 0, 300), 0, u"20260314000000 / 0.1"_s,
         u"20260314000000 / 0.3"_s, 0.1, 0.3, u"0.2"_s},
        {QTime(9, 5, 3), QTime(10, 0, 0, 50), 0, u"20260314090503 / 32703"_s,
         u"20260314100000 / 36000.05"_s, 32703, 36000.05, u"3297.05"_s},
        // Across midnight the duration is the time that passed, not the
        // negative difference of the two clocks.
        {QTime(23, 59, 59, 999), QTime(0, 0, 1), 1, u"20260314235959 / 86399.999"_s,
         u"20260315000001 / 1"_s, 86399.999, 1, u"1.001"_s},
    };
    for (const StampCase& c : cases) {
        LogProgram p;
        p.log.InitLogInfo(u"(アプリケーション開始直後)"_s);
        p.clock = QDateTime(day, c.start);
        p.log.StartLogInfo(u"リネームの復元"_s);
        EXPECT_EQ(p.log.LogOperation, u"リネームの復元"_s);
        EXPECT_EQ(p.log.LogStatus, QString());
        p.clock = QDateTime(day.addDays(c.endDays), c.end);
        p.log.EndLogInfo(u"中断 / リネーム中(ユーザによる)"_s);
        EXPECT_EQ(p.log.LogStatus, u"中断 / リネーム中(ユーザによる)"_s);
        EXPECT_EQ(p.log.LogStartTime, c.startTime);
        EXPECT_EQ(p.log.LogEndTime, c.endTime);
        EXPECT_DOUBLE_EQ(p.log.LogStartTimer, c.startTimer);
        EXPECT_DOUBLE_EQ(p.log.LogEndTimer, c.endTimer);
        EXPECT_EQ(FormatLogNumber(p.log.LogSeconds), c.seconds) << c.startTime.toStdString();
    }
}

TEST(mdlLogRecord, NumbersArePlainDecimals) {
    const std::pair<double, const char*> cases[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {12.0, "12"},
        {0.5, "0.5"},
        {45296.789, "45296.789"},
        {86399.999, "86399.999"},
        {-3.25, "-3.25"},
        {1e21, "1000000000000000000000"},
        {1e-7, "0.0000001"},
        {100.0, "100"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(FormatLogNumber(value), QString::fromLatin1(text)) << value;
    }
}

}  // namespace
