#include "run/RunPlan.h"

#include <gtest/gtest.h>

#include <QDir>
#include <thread>
#include <vector>

#include "support/TempTree.h"

using namespace sorvane;
using namespace Qt::StringLiterals;
using test::TempTree;

namespace {

// A plan as text: every target's folder, names and status, and whether
// the list is complete.
QStringList Rows(const RenamePlan& plan) {
    QStringList rows{plan.complete ? u"complete"_s : u"cut"_s};
    for (qint32 i = 0; i < plan.targets.Count(); ++i)
        rows.append(plan.targets.OldPath(i) + u'|' + plan.targets.NewPath(i) + u'|' +
                    QString::number(int(plan.targets.Status(i).verdict())));
    return rows;
}

// Two plans computed at the same time on two threads, each with its own
// file system, filter and matching, equal the plan computed alone; the
// build under ThreadSanitizer (preset tsan) reports any state they share.
TEST(RunPlan, TwoPlansAtOnceOnTwoThreadsEqualOneAlone) {
    TempTree tree;
    ASSERT_TRUE(tree.IsValid());
    for (int f = 0; f < 4; ++f) {
        for (int i = 0; i < 150; ++i) {
            const QString folder = u"d%1/"_s.arg(f);
            ASSERT_TRUE(tree.MakeFile(folder + u"IMG_%1.JPG"_s.arg(i)));
            // Existing new names, duplicate new names and unchanged names.
            if (i % 10 == 0) {
                ASSERT_TRUE(tree.MakeFile(folder + u"IMG_%1.jpg"_s.arg(i)));
            }
            if (i % 15 == 0) {
                ASSERT_TRUE(tree.MakeFile(folder + u"img_%1.JPG"_s.arg(i)));
            }
        }
    }
    PlanRequest request;
    request.startFolder = QDir(tree.Root()).canonicalPath();
    request.settings.gMaxTargets = 100000;
    request.settings.gFolderSort = true;
    request.inputs.gSearchWord = u"*.JPG"_s;
    request.inputs.gReplaceWord = u"*.jpg"_s;
    request.inputs.gRunRecursive = true;
    request.inputs.gRunWholeName = true;
    request.inputs.gRunTextMode = true;
    request.filter.patterns = {u"*.JPG"_s, u"img_1*"_s};
    request.filter.matchOther = {true, true};

    const std::atomic<bool> never{false};
    const QStringList alone = Rows(MakePlan(request, never));
    ASSERT_GT(alone.size(), 300);

    std::vector<QStringList> together(2);
    std::vector<std::thread> threads;
    for (QStringList& rows : together)
        threads.emplace_back([&request, &rows, &never] { rows = Rows(MakePlan(request, never)); });
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(together[0], alone);
    EXPECT_EQ(together[1], alone);
}

}  // namespace
