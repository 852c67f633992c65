#include "run/PlanPreview.h"

#include <QRandomGenerator>
#include <thread>

#include "ports/MessageCatalogue.h"
#include "run/RunFixture.h"

using namespace sorvane;
using namespace Qt::StringLiterals;

namespace {

QString OneLine(QString text) {
    return text.replace(u"\r\n"_s, u" "_s);
}

// The program's dry run and the preview on the same inputs.
struct PreviewAgainstDryRun : test::RunFixture {
    PreviewRequest Request() const {
        return PreviewRequest{Root(), Root(), program.Settings(), inputs,
                              program.Filter().Selection()};
    }
    // An empty tree for the next case.
    void ClearTree() {
        QDir(tree.Root()).removeRecursively();
        QDir().mkpath(tree.Root());
    }
    static QStringList Rows(const mdlRename& r) {
        QStringList rows;
        for (qint32 i = 0; i < r.GetTargetCount(); ++i)
            rows.append(r.OldName(i) + u'|' + r.NewName(i) + u'|' +
                        QString::number(int(r.Status(i).verdict())));
        return rows;
    }
    static QStringList Rows(const PlanPreview& p) {
        QStringList rows;
        for (qint32 i = 0; i < p.plan.targets.Count(); ++i)
            rows.append(p.plan.targets.OldPath(i) + u'|' + p.plan.targets.NewPath(i) + u'|' +
                        QString::number(int(p.plan.targets.Status(i).verdict())));
        return rows;
    }
    // Previews, then the dry run; the rows, verdicts and counts must agree,
    // and the tree must not have changed.
    // True when the dry run listed targets.
    bool ExpectSameAsDryRun(const char* what) {
        SCOPED_TRACE(what);
        const auto before = tree.Take();
        const std::atomic<bool> never{false};
        const PlanPreview preview = PreviewPlan(Request(), never);
        EXPECT_EQ(tree.Take(), before);
        chooser.answers = {ExpansionChoice::KeepFirst};
        const ListingEnd end = frame.DryRun(Root(), inputs);
        if (!preview.twoReadings) chooser.answers.clear();
        EXPECT_TRUE(chooser.answers.isEmpty()) << "two readings, and the start did not ask";
        EXPECT_EQ(preview.end, end);
        if (preview.end != end) return false;
        if (end == ListingEnd::Refused) {
            EXPECT_EQ(preview.message,
                      OneLine(messages.shown.value(messages.shown.size() - 1).text));
            return false;
        }
        EXPECT_EQ(Rows(preview), Rows(program.Rename()));
        EXPECT_EQ(preview.deleteAsked, program.Inputs().gRunDelete);
        qint32 renamed = 0;
        for (qint32 i = 0; i < preview.plan.targets.Count(); ++i)
            renamed += !sorvane::IsSkipped(preview.VerdictOf(i));
        EXPECT_EQ(preview.renamed, renamed);
        EXPECT_EQ(preview.renamed + qint32(preview.skipped.size()), preview.plan.targets.Count());
        return preview.plan.targets.Count() > 0;
    }
};

struct PreviewCase {
    const char* name;
    QStringList files;  // "d:" makes a folder
    QString search;
    QString replace;
    bool whole;
    bool folders;
    bool deleteExisting;
    RenameOperation operation;
};

// Every verdict: a free name, an existing file (skipped, or offered for
// removal), a folder at the new name, duplicates, a chain, an empty name,
// an unchanged name, the two readings of a replace pattern, recursion.
TEST_F(PreviewAgainstDryRun, EveryVerdictAsTheDryRunDecidesIt) {
    const auto R = RenameOperation::Replace;
    const PreviewCase cases[] = {
        {"files",
         {u"a_1.txt"_s, u"b_1.txt"_s, u"b.txt"_s, u"c_1.txt"_s, u"c_2.txt"_s, u"e_1_1.txt"_s,
          u"e_1.txt"_s, u"_1"_s, u"x.txt"_s, u"s/f_1.txt"_s},
         u"_?"_s,
         u""_s,
         false,
         false,
         false,
         R},
        {"files, existing ones offered for removal",
         {u"a_1.txt"_s, u"b_1.txt"_s, u"b.txt"_s},
         u"_?"_s,
         u""_s,
         false,
         false,
         true,
         R},
        {"unchanged names",
         {u"a.txt"_s, u"b.log"_s},
         u"*.txt"_s,
         u"*.txt"_s,
         true,
         false,
         false,
         R},
        {"two readings", {u"a_b_c"_s, u"x_y"_s}, u"*_*_*"_s, u"*_*"_s, true, false, false, R},
        {"folders",
         {u"d:d1"_s, u"d:d"_s, u"d:e1"_s, u"e"_s, u"d:f1"_s, u"d:f2"_s},
         u"?1"_s,
         u"?"_s,
         true,
         true,
         false,
         R},
        {"insert at the back",
         {u"a.txt"_s, u"a.txt_x"_s},
         u""_s,
         u"_x"_s,
         false,
         false,
         false,
         RenameOperation::InsertBack},
    };
    for (const PreviewCase& c : cases) {
        ClearTree();
        for (const QString& item : c.files)
            ASSERT_TRUE(item.startsWith(u"d:"_s) ? tree.MakeFolder(item.mid(2))
                                                 : tree.MakeFile(item));
        Words(c.search, c.replace);
        inputs.wholeName = c.whole;
        inputs.deleteValue = c.deleteExisting ? CheckBoxValue::Checked : CheckBoxValue::Unchecked;
        program.SetOperation(c.operation);
        program.SetFolderMode(c.folders);
        program.ApplyFilterSide(0, QString());
        ExpectSameAsDryRun(c.name);
    }
}

// Random names of few letters give every kind of collision; each tree is
// previewed with random words and switches.
TEST_F(PreviewAgainstDryRun, RandomTreesAsTheDryRunDecidesThem) {
    QRandomGenerator random(20261208);
    const QString letters = u"ab_.1"_s;
    const auto name = [&](int most) {
        QString n;
        for (int i = 0, length = 1 + random.bounded(most); i < length; ++i)
            n += letters[random.bounded(letters.size())];
        return n;
    };
    const QStringList searches{u"a"_s, u"*a*"_s, u"?_*"_s, u"*.1"_s, u"_"_s, u"*b"_s};
    const QStringList replaces{u""_s, u"*"_s, u"b"_s, u"*_a"_s, u"1"_s, u"*."_s};
    int listed = 0;
    for (int round = 0; round < 30; ++round) {
        ClearTree();
        for (int i = 0; i < 25; ++i) {
            const QString n = name(5);
            if (n == u"."_s || n == u".."_s) continue;
            const QString where = random.bounded(3) == 0 ? u"s/"_s : QString();
            if (random.bounded(6) == 0)
                tree.MakeFolder(where + n);
            else
                tree.MakeFile(where + n);
        }
        Words(searches[random.bounded(searches.size())], replaces[random.bounded(replaces.size())]);
        inputs.wholeName = random.bounded(2) == 0;
        inputs.textMode = random.bounded(2) ? CheckBoxValue::Checked : CheckBoxValue::Unchecked;
        inputs.recursive = random.bounded(2) ? CheckBoxValue::Checked : CheckBoxValue::Unchecked;
        inputs.deleteValue = random.bounded(2) ? CheckBoxValue::Checked : CheckBoxValue::Unchecked;
        program.SetFolderMode(random.bounded(4) == 0);
        program.SetFilterSwitch(0, random.bounded(3) == 0);
        program.ApplyFilterSide(0, u"*a*"_s);
        listed += ExpectSameAsDryRun(qPrintable(u"round %1"_s.arg(round)));
        messages.shown.clear();
    }
    EXPECT_GE(listed, 15);
}

// Where the start refuses, the preview shows the very text of its message
// on one line, and lists nothing.
TEST_F(PreviewAgainstDryRun, ARefusedStartShowsItsMessage) {
    MakeFiles({u"a.txt"_s});
    struct Case {
        const char* name;
        QString search;
        QString replace;
        bool deleteToMissingFolder;
    } const cases[] = {
        {"no search word", u""_s, u"x"_s, false},
        {"a control character", u"a\tb"_s, u"x"_s, false},
        {"a character no name holds", u"a"_s, u"x|y"_s, false},
        {"a replace pattern that cannot be used", u"*.txt"_s, u"*.*"_s, false},
        {"the folder for removed files is missing", u"a"_s, u"b"_s, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Words(c.search, c.replace);
        inputs.deleteValue =
            c.deleteToMissingFolder ? CheckBoxValue::Checked : CheckBoxValue::Unchecked;
        program.SetDeleteTarget(c.deleteToMissingFolder ? Root() + u"/gone"_s : QString());
        messages.shown.clear();
        const PlanPreview preview = PreviewPlan(Request(), std::atomic<bool>{false});
        ASSERT_EQ(frame.DryRun(Root(), inputs), ListingEnd::Refused);
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_EQ(preview.end, ListingEnd::Refused);
        EXPECT_EQ(preview.message, OneLine(messages.shown[0].text));
        EXPECT_EQ(preview.plan.targets.Count(), 0);
    }
}

// Folders that go while they are listed end a preview with a message,
// never with a crash or a list of what is no longer there.
TEST_F(PreviewAgainstDryRun, FoldersRemovedWhileListedGiveAMessage) {
    Words(u"*"_s, u"*.x"_s);
    inputs.wholeName = true;
    for (int round = 0; round < 20; ++round) {
        for (int f = 0; f < 40; ++f)
            for (int i = 0; i < 10; ++i) tree.MakeFile(u"d%1/s/f%2"_s.arg(f).arg(i));
        const PreviewRequest request = Request();
        std::thread remover([this] { QDir(tree.Root()).removeRecursively(); });
        const PlanPreview preview = PreviewPlan(request, std::atomic<bool>{false});
        remover.join();
        QDir().mkpath(tree.Root());
        if (preview.end == ListingEnd::Done) continue;
        EXPECT_TRUE(preview.end == ListingEnd::Refused || preview.end == ListingEnd::Failed);
        EXPECT_FALSE(preview.message.isEmpty());
        EXPECT_EQ(preview.plan.targets.Count(), 0);
    }
}

}  // namespace
