#include "cli/MatchCommand.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <ostream>

using namespace Qt::StringLiterals;
using sorvane::RunMatchCommand;

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

struct Outcome {
    int status = -1;
    QString out;
    QString err;
    QJsonObject json;
};

Outcome runMatch(const QStringList& args) {
    Outcome o;
    {
        QTextStream out(&o.out);
        QTextStream err(&o.err);
        o.status = RunMatchCommand(args, out, err);
    }
    o.json = QJsonDocument::fromJson(o.out.toUtf8()).object();
    return o;
}

QStringList strings(const QJsonValue& v) {
    QStringList list;
    for (const QJsonValue& e : v.toArray()) list.append(e.toString());
    return list;
}

TEST(MatchCommand, PrintsEngineStateAndResults) {
    const Outcome o = runMatch({u"--whole"_s, u"*-*"_s, u"*"_s, u"ab-cd"_s, u"abcd"_s});
    ASSERT_EQ(o.status, 0) << o.err.toStdString();
    EXPECT_TRUE(o.err.isEmpty());
    const QJsonObject& j = o.json;
    EXPECT_EQ(j.value(u"canReplace"_s).toInt(-1), 4);
    EXPECT_EQ(j.value(u"canMatching"_s).toInt(-1), 0);
    EXPECT_EQ(j.value(u"matchPattern"_s).toString(), u"*-*"_s);
    EXPECT_EQ(j.value(u"matchPatternDisp"_s).toString(), u"*-*"_s);
    EXPECT_EQ(j.value(u"replacePattern"_s).toString(), u"*"_s);
    EXPECT_EQ(j.value(u"replacePatternDisp"_s).toString(), u"*"_s);
    EXPECT_EQ(strings(j.value(u"matchDec"_s)), (QStringList{u""_s, u"*"_s, u"-"_s, u"*"_s, u""_s}));
    EXPECT_EQ(strings(j.value(u"replaceDec"_s)), (QStringList{u""_s, u"*"_s, u""_s, u""_s, u""_s}));
    EXPECT_EQ(strings(j.value(u"replaceDecReverse"_s)),
              (QStringList{u""_s, u""_s, u""_s, u"*"_s, u""_s}));
    const QJsonArray results = j.value(u"results"_s).toArray();
    ASSERT_EQ(results.size(), 2);
    const QJsonObject first = results[0].toObject();
    EXPECT_EQ(first.value(u"name"_s).toString(), u"ab-cd"_s);
    EXPECT_TRUE(first.value(u"isMatch"_s).toBool());
    EXPECT_TRUE(first.value(u"matched"_s).toBool());
    EXPECT_EQ(first.value(u"newName"_s).toString(), u"ab"_s);
    const QJsonObject second = results[1].toObject();
    EXPECT_EQ(second.value(u"name"_s).toString(), u"abcd"_s);
    EXPECT_FALSE(second.value(u"isMatch"_s).toBool(true));
    EXPECT_FALSE(second.value(u"matched"_s).toBool(true));
    EXPECT_EQ(second.value(u"newName"_s).toString(), u"abcd"_s);
}

TEST(MatchCommand, OptionsSetTheModes) {
    // Part mode, exact: no match for other letter case.
    Outcome o = runMatch({u"ab"_s, u"X"_s, u"zABz"_s});
    ASSERT_EQ(o.status, 0);
    EXPECT_EQ(o.json.value(u"matchPattern"_s).toString(), u"*ab*"_s);
    EXPECT_FALSE(o.json.value(u"results"_s).toArray()[0].toObject().value(u"matched"_s).toBool());
    o = runMatch({u"--text"_s, u"ab"_s, u"X"_s, u"zABz"_s});
    EXPECT_EQ(o.json.value(u"results"_s).toArray()[0].toObject().value(u"newName"_s).toString(),
              u"zXz"_s);
    o = runMatch({u"--text"_s, u"--whole"_s, u"--second"_s, u"*.*"_s, u"*"_s, u"a.b.c"_s});
    const QJsonObject r = o.json.value(u"results"_s).toArray()[0].toObject();
    EXPECT_TRUE(r.value(u"matched"_s).toBool());
    EXPECT_EQ(r.value(u"newName"_s).toString(), u"b.c"_s);
}

TEST(MatchCommand, EmptyReplaceArgument) {
    Outcome o = runMatch({u"abc"_s, u""_s, u"xabcy"_s});
    ASSERT_EQ(o.status, 0) << o.err.toStdString();
    EXPECT_EQ(o.json.value(u"canReplace"_s).toInt(-1), 0);
    EXPECT_EQ(o.json.value(u"replacePatternDisp"_s).toString(), QString());
    EXPECT_EQ(o.json.value(u"results"_s).toArray()[0].toObject().value(u"newName"_s).toString(),
              u"xy"_s);
    // In whole mode every matching name becomes empty.
    o = runMatch({u"--whole"_s, u"abc"_s, u""_s, u"abc"_s});
    const QJsonObject r = o.json.value(u"results"_s).toArray()[0].toObject();
    EXPECT_TRUE(r.value(u"matched"_s).toBool());
    EXPECT_EQ(r.value(u"newName"_s).toString(), QString());
}

TEST(MatchCommand, ArgumentsAfterDoubleDashAreNeverOptions) {
    const Outcome o = runMatch({u"--whole"_s, u"--"_s, u"-*"_s, u"--*"_s, u"-a"_s, u"--text"_s});
    ASSERT_EQ(o.status, 0) << o.err.toStdString();
    EXPECT_EQ(o.json.value(u"matchPattern"_s).toString(), u"-*"_s);
    EXPECT_EQ(o.json.value(u"replacePattern"_s).toString(), u"--*"_s);
    const QJsonArray results = o.json.value(u"results"_s).toArray();
    ASSERT_EQ(results.size(), 2);
    EXPECT_EQ(results[0].toObject().value(u"newName"_s).toString(), u"--a"_s);
    EXPECT_EQ(results[1].toObject().value(u"name"_s).toString(), u"--text"_s);
    EXPECT_EQ(results[1].toObject().value(u"newName"_s).toString(), u"---text"_s);
}

TEST(MatchCommand, UsageErrors) {
    const QStringList cases[] = {
        {},
        {u"abc"_s},
        {u"--whole"_s, u"abc"_s},
        {u"--bogus"_s, u"abc"_s, u"x"_s},
        {u"abc"_s, u"x"_s, u"-name"_s},  // a name with "-" needs "--"
        {u"--"_s, u"abc"_s},
    };
    for (const QStringList& args : cases) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const Outcome o = runMatch(args);
        EXPECT_EQ(o.status, 2);
        EXPECT_TRUE(o.out.isEmpty());
        EXPECT_TRUE(o.err.contains(u"usage: sorvane-cli match"_s));
    }
}

TEST(MatchCommand, EmptySearchPatternMatchesNothing) {
    const Outcome o = runMatch({u""_s, u"x"_s, u"abc"_s});
    ASSERT_EQ(o.status, 0);
    EXPECT_EQ(o.json.value(u"canMatching"_s).toInt(-1), 1);
    EXPECT_EQ(o.json.value(u"canReplace"_s).toInt(-1), 1);
    EXPECT_TRUE(o.json.value(u"matchDec"_s).toArray().isEmpty());
    const QJsonObject r = o.json.value(u"results"_s).toArray()[0].toObject();
    EXPECT_FALSE(r.value(u"isMatch"_s).toBool(true));
    EXPECT_EQ(r.value(u"newName"_s).toString(), u"abc"_s);
}

TEST(MatchCommand, ReachableFromTheProgram) {
    QProcess p;
    p.start(QStringLiteral(SORVANE_CLI_PATH),
            {u"match"_s, u"--whole"_s, u"写真*"_s, u"photo*"_s, u"写真01.jpg"_s});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const QJsonObject j = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    EXPECT_EQ(j.value(u"results"_s).toArray()[0].toObject().value(u"newName"_s).toString(),
              u"photo01.jpg"_s);

    QProcess bad;
    bad.start(QStringLiteral(SORVANE_CLI_PATH), {u"match"_s, u"only-one"_s});
    ASSERT_TRUE(bad.waitForFinished(30000));
    EXPECT_EQ(bad.exitCode(), 2);
    EXPECT_FALSE(bad.readAllStandardError().isEmpty());
}

}  // namespace
