#pragma once

#include <QString>

#include "run/RunFrame.h"
#include "run/mdlMain.h"
#include "support/TempTree.h"
#include "support/scripted/ScriptedExpansionChooser.h"
#include "support/scripted/ScriptedMessageBox.h"
#include "support/scripted/ScriptedOverwriteQuestion.h"
#include "support/scripted/ScriptedProgressWindow.h"
#include "ui/frmMain.h"

namespace sorvane::test {

// The main window on a program with default settings in a folder of its
// own, the other windows scripted, and a temporary tree to run on. Start
// opens the window on the tree.
struct ScriptedDesktop {
    TempTree app;
    TempTree tree;
    ScriptedMessageBox messages;
    ScriptedProgressWindow progress;
    ScriptedOverwriteQuestion overwrite;
    ScriptedExpansionChooser chooser;
    frmMain window;
    mdlMain program{MainPorts{messages, progress, window.LogBox(), window.Ports(), window.Ports()}};
    RunFrame frame{program, overwrite, chooser};

    void Start() {
        window.Attach(program, frame);
        program.Main(app.Root() + QStringLiteral("/sorvane"));
        window.Load(tree.Root(), app.Root());
    }
};

}  // namespace sorvane::test
