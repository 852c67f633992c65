#include "cli/MatchCommand.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/JsonWriter.h"
#include "matching/clsMatching.h"
#include "platform/NameBytes.h"
#include "platform/ShownName.h"

namespace sorvane {

namespace {

const QString kUsage = QStringLiteral(
    "usage: sorvane-cli match [--whole] [--text] [--second] [--] SEARCH REPLACE [NAME...]\n");

}  // namespace

int RunMatchCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    bool whole = false;
    bool text = false;
    bool second = false;
    bool optionsEnded = false;
    QStringList operands;
    for (const QString& a : args) {
        // "-" alone is an operand, as it is for most commands.
        if (optionsEnded || !a.startsWith(u'-') || a == u"-") {
            operands.append(a);
        } else if (a == u"--") {
            optionsEnded = true;
        } else if (a == u"--whole") {
            whole = true;
        } else if (a == u"--text") {
            text = true;
        } else if (a == u"--second") {
            second = true;
        } else if (a == u"--help" || a == u"-h") {
            out << kUsage;
            return 0;
        } else {
            err << QStringLiteral(
                       "sorvane-cli match: unknown option '%1' (put \"--\" before "
                       "patterns or names that begin with \"-\")\n")
                       .arg(ShownName(a))
                << kUsage;
            return 2;
        }
    }
    if (operands.size() < 2) {
        err << QStringLiteral(
                   "sorvane-cli match: SEARCH and REPLACE are required "
                   "(REPLACE may be an empty argument)\n")
            << kUsage;
        return 2;
    }

    clsMatching m;
    m.setCmpMode(text ? CompareMode::Text : CompareMode::Exact);
    m.setFileNameMode(whole ? NameMode::Whole : NameMode::Partial);
    m.setMatchPattern(operands[0]);
    m.setReplacePattern(operands[1]);
    if (second) m.SetReplacePatternReverse(true);

    // Patterns given in bytes that are not UTF-8 show those bytes.
    const auto shown = [](const QStringList& list) {
        QJsonArray array;
        for (const QString& text : list) array.append(WithBytesShown(text));
        return array;
    };
    QJsonObject root;
    root.insert(QStringLiteral("canReplace"), m.CanReplace().toInt());
    root.insert(QStringLiteral("canMatching"), m.CanMatching());
    root.insert(QStringLiteral("matchPattern"), WithBytesShown(m.MatchPattern()));
    root.insert(QStringLiteral("matchPatternDisp"), WithBytesShown(m.MatchPatternDisp()));
    root.insert(QStringLiteral("replacePattern"), WithBytesShown(m.ReplacePattern()));
    root.insert(QStringLiteral("replacePatternDisp"), WithBytesShown(m.ReplacePatternDisp()));
    root.insert(QStringLiteral("matchDec"), shown(m.GetMatchDec()));
    root.insert(QStringLiteral("replaceDec"), shown(m.GetReplaceDec(false)));
    root.insert(QStringLiteral("replaceDecReverse"), shown(m.GetReplaceDec(true)));
    QJsonArray results;
    // A name given in bytes that are not UTF-8 is shown by them, with its
    // exact bytes beside it.
    const auto insertName = [](QJsonObject& r, const QString& key, const QString& name) {
        r.insert(key, WithBytesShown(name));
        if (const QString hex = NameBytesHex(name); !hex.isEmpty())
            r.insert(key + QStringLiteral("Bytes"), hex);
    };
    for (qsizetype i = 2; i < operands.size(); ++i) {
        const QString& name = operands[i];
        QJsonObject r;
        insertName(r, QStringLiteral("name"), name);
        r.insert(QStringLiteral("isMatch"), m.IsMatch(name));
        QString newName = name;
        r.insert(QStringLiteral("matched"), m.MatchAndReplaceFileName(newName));
        // As a rename makes it: byte escapes that spell a character are it.
        name_bytes::MakeCanonical(newName);
        insertName(r, QStringLiteral("newName"), newName);
        results.append(r);
    }
    root.insert(QStringLiteral("results"), results);
    out << QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Indented));
    return 0;
}

}  // namespace sorvane
