#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QStringList>
#include <initializer_list>
#include <ostream>

#include "ports/PlainRunInputs.h"
#include "run/RunFrame.h"
#include "run/mdlMain.h"
#include "support/ProgramAccess.h"
#include "support/TempTree.h"
#include "support/scripted/ScriptedExpansionChooser.h"
#include "support/scripted/ScriptedForms.h"
#include "support/scripted/ScriptedMessageBox.h"
#include "support/scripted/ScriptedOverwriteQuestion.h"
#include "support/scripted/ScriptedProgressWindow.h"

// Texts readable in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace sorvane::test {

// A program with the default settings, every window scripted, and a
// temporary tree of real files to run on.
struct RunFixture : ::testing::Test {
    TempTree app;
    TempTree tree;
    ScriptedMessageBox messages;
    ScriptedProgressWindow progress;
    MemoryLogBox logBox;
    PlainRunInputs inputs;
    ScriptedForms forms;
    ScriptedOverwriteQuestion overwrite;
    ScriptedExpansionChooser chooser;
    mdlMain program{MainPorts{messages, progress, logBox, inputs, forms}};
    ProgramCore& core = ProgramAccess::Core(program);
    RunFrame frame{program, overwrite, chooser};
    bool stopped = false;

    void SetUp() override {
        ASSERT_TRUE(app.IsValid());
        ASSERT_TRUE(tree.IsValid());
        program.Main(app.Root() + QStringLiteral("/sorvane"));
        frame.SettingsApplied();
    }

    QString Root() const { return QDir(tree.Root()).canonicalPath(); }

    // Files whose content is their own name, so that a lost or swapped file
    // shows in the inventory.
    void MakeFiles(std::initializer_list<QString> names) {
        for (const QString& name : names) ASSERT_TRUE(tree.MakeFile(name, name.toUtf8()));
    }

    void Words(const QString& search, const QString& replace) {
        inputs.searchWord = search;
        inputs.replaceWord = replace;
    }

    // Presses "中止(&C)" once, when the progress window shows caption.
    void StopAtCaption(const QString& caption) {
        stopped = false;
        progress.onProcessEvents = [this, caption](int) {
            if (!stopped && !progress.captions.isEmpty() && progress.captions.last() == caption) {
                stopped = true;
                core.CancelDialog.CancelClick();
            }
        };
    }

    // The files of the tree without their paths: equal before and after
    // exactly when no file was lost, replaced or changed.
    std::vector<TreeItem> Files() const {
        std::vector<TreeItem> files;
        for (const TreeItem& item : TempTree::Contents(tree.Take()))
            if (item.kind == 'f') files.push_back(item);
        return files;
    }

    bool Has(const QString& relative) const { return tree.Take().count(relative.toUtf8()) == 1; }
};

// Log lines, each ended by CR LF.
inline QString Lines(std::initializer_list<QString> lines) {
    QString text;
    for (const QString& line : lines) text += line + QStringLiteral("\r\n");
    return text;
}

inline bool SameRequest(const MessageRequest& a, const MessageRequest& b) {
    return a.text == b.text && a.title == b.title && a.buttons == b.buttons && a.icon == b.icon &&
           a.defaultButton == b.defaultButton;
}

inline MessageRequest Request(const QString& text, const QString& title, MsgButtons buttons,
                              MsgIcon icon, int defaultButton = 0) {
    return MakeRequest(MessageId::Other, text, title, buttons, icon, defaultButton);
}

}  // namespace sorvane::test
