#include "run/clsHst.h"

#include <gtest/gtest.h>

#include <QDir>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "support/TempTree.h"

using namespace sorvane;

namespace {

struct ScriptedHistoryButtons : HistoryButtonsPort {
    // On at first, so that emptying the history visibly turns them off.
    bool back = true;
    bool forward = true;
    void SetBackEnabled(bool enabled) override { back = enabled; }
    void SetForwardEnabled(bool enabled) override { forward = enabled; }
    std::string State() const { return {back ? '1' : '0', forward ? '1' : '0'}; }
};

// One action and what must hold after it. Folders are relative to the tree.
//   'a' arg  make the folder if missing, then AddHst (as ChangePath does)
//   'b' 'f'  ChangeHst back or forward; it must return `here` when that
//            differs from the folder shown before, else ""; a returned folder
//            is then recorded with AddHst, as ChangePath does
//   'x' arg  remove the folder from disk
//   's' arg  write Size
// After every step GetHstHere() must be `here` and the buttons (back,
// forward; 1 enabled) must be `buttons`.
struct Step {
    char op;
    const char* arg;
    const char* here;
    const char* buttons;
};

struct Scenario {
    const char* name;
    int size;
    std::vector<Step> steps;
};

const Scenario kScenarios[] = {
    {"a full ring drops the oldest; back stops at the oldest",
     3,
     {{'a', "A", "A", "00"},
      {'a', "B", "B", "10"},
      {'a', "C", "C", "10"},
      {'a', "D", "D", "10"},
      {'b', "", "C", "11"},
      {'b', "", "B", "01"},
      {'b', "", "B", "01"},
      {'f', "", "C", "11"},
      {'f', "", "D", "10"},
      {'f', "", "D", "10"}}},
    {"visiting after going back drops what was ahead",
     3,
     {{'a', "A", "A", "00"},
      {'a', "B", "B", "10"},
      {'a', "C", "C", "10"},
      {'b', "", "B", "11"},
      {'a', "E", "E", "10"},
      {'f', "", "E", "10"},
      {'b', "", "B", "11"},
      {'b', "", "A", "01"},
      {'f', "", "B", "11"},
      {'f', "", "E", "10"}}},
    {"a vanished folder becomes its ancestor, or is dead when that is the one shown",
     5,
     {{'a', "A", "A", "00"},
      {'a', "B/sub", "B/sub", "10"},
      {'a', "C/sub", "C/sub", "10"},
      {'a', "C", "C", "10"},
      {'x', "B/sub", "C", "10"},
      {'x', "C/sub", "C", "10"},
      {'b', "", "B", "11"},
      {'b', "", "A", "01"},
      {'f', "", "B", "11"},
      {'f', "", "C", "10"}}},
    {"the same folder again, in any ASCII letter case, adds nothing",
     3,
     {{'a', "alpha", "alpha", "00"},
      {'a', "alpha", "alpha", "00"},
      {'a', "ALPHA", "alpha", "00"},
      {'a', "Ä", "Ä", "10"},
      {'a', "ä", "ä", "10"},
      {'b', "", "Ä", "11"},
      {'b', "", "alpha", "01"}}},
    // 2 dead of 6 slots: compacted to A, B, so A outlasts four more folders.
    {"a third of the slots dead compacts the ring",
     6,
     {{'a', "A", "A", "00"},
      {'a', "B/x", "B/x", "10"},
      {'a', "B/y", "B/y", "10"},
      {'a', "B", "B", "10"},
      {'x', "B/x", "B", "10"},
      {'x', "B/y", "B", "10"},
      {'b', "", "A", "01"},
      {'f', "", "B", "10"},
      {'a', "C1", "C1", "10"},
      {'a', "C2", "C2", "10"},
      {'a', "C3", "C3", "10"},
      {'a', "C4", "C4", "10"},
      {'b', "", "C3", "11"},
      {'b', "", "C2", "11"},
      {'b', "", "C1", "11"},
      {'b', "", "B", "11"},
      {'b', "", "A", "01"}}},
    // 2 dead of 7 slots is below 7 / 3: the dead slots stay and A is dropped.
    {"fewer dead slots than a third leave the ring as it is",
     7,
     {{'a', "A", "A", "00"},
      {'a', "B/x", "B/x", "10"},
      {'a', "B/y", "B/y", "10"},
      {'a', "B", "B", "10"},
      {'x', "B/x", "B", "10"},
      {'x', "B/y", "B", "10"},
      {'b', "", "A", "01"},
      {'f', "", "B", "10"},
      {'a', "C1", "C1", "10"},
      {'a', "C2", "C2", "10"},
      {'a', "C3", "C3", "10"},
      {'a', "C4", "C4", "10"},
      {'a', "C5", "C5", "10"},
      {'b', "", "C4", "11"},
      {'b', "", "C3", "11"},
      {'b', "", "C2", "11"},
      {'b', "", "C1", "11"},
      {'b', "", "B", "11"},
      {'b', "", "B", "01"}}},
    {"writing Size empties the history",
     3,
     {{'a', "A", "A", "00"},
      {'a', "B", "B", "10"},
      {'b', "", "A", "01"},
      {'s', "4", "", "00"},
      {'b', "", "", "00"},
      {'f', "", "", "00"},
      {'a', "C", "C", "00"},
      {'a', "D", "D", "10"},
      {'b', "", "C", "01"}}},
};

TEST(clsHst, Scenarios) {
    for (const Scenario& scenario : kScenarios) {
        SCOPED_TRACE(scenario.name);
        test::TempTree tree;
        ASSERT_TRUE(tree.IsValid());
        const QString root = QDir(tree.Root()).canonicalPath();
        const auto abs = [&root](const char* relative) {
            const QString r = QString::fromUtf8(relative);
            return r.isEmpty() ? QString() : root + u'/' + r;
        };
        const QString current = root;
        const FileSystem fs;
        const mdlTools tools(fs, current);
        ScriptedHistoryButtons buttons;
        clsHst hst(tools);
        hst.SetButtons(&buttons);
        hst.SetSize(scenario.size);
        ASSERT_EQ(buttons.State(), "00");

        QString shown;
        for (size_t i = 0; i < scenario.steps.size(); ++i) {
            const Step& step = scenario.steps[i];
            SCOPED_TRACE(testing::Message() << "step " << i + 1);
            const QString here = abs(step.here);
            switch (step.op) {
                case 'a':
                    if (!QDir(abs(step.arg)).exists()) {
                        ASSERT_TRUE(tree.MakeFolder(QString::fromUtf8(step.arg)));
                    }
                    hst.AddHst(abs(step.arg));
                    break;
                case 'b':
                case 'f': {
                    const QString folder = hst.ChangeHst(step.op == 'b' ? 0 : 1);
                    EXPECT_EQ(folder, here == shown ? QString() : here);
                    if (!folder.isEmpty()) hst.AddHst(folder);
                    break;
                }
                case 'x':
                    ASSERT_TRUE(QDir(abs(step.arg)).removeRecursively());
                    break;
                case 's':
                    hst.SetSize(std::stoi(step.arg));
                    EXPECT_EQ(hst.Size(), std::stoi(step.arg));
                    break;
            }
            EXPECT_EQ(hst.GetHstHere(), here);
            EXPECT_EQ(buttons.State(), step.buttons);
            shown = hst.GetHstHere();
        }
    }
}

}  // namespace
