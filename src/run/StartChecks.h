#pragma once

#include <QString>
#include <optional>

#include "platform/FileSystem.h"
#include "platform/mdlTools.h"
#include "ports/MessageBoxPort.h"
#include "ports/RunInputsPort.h"
#include "rename/RenameOperation.h"
#include "run/RunInputs.h"
#include "run/SettingsInEffect.h"

namespace sorvane {

// The input box a refused start points the user to.
enum class RunInputBox { None, Path, SearchWord, ReplaceWord };

// A check that refuses the start: the message that says why and the box
// to fix.
struct Refusal {
    MessageId message = MessageId::Other;
    RunInputBox focus = RunInputBox::None;
};

// The checks a start makes before it lists anything, as values: the start
// command shows their refusals in message boxes, the preview shows them in
// its own window, and both decide alike.

// The start folder and the words: the start folder (a file names its
// folder) in its on-disk spelling, or the refusal.
struct StartFolderCheck {
    QString start;
    std::optional<Refusal> refusal;
};
StartFolderCheck CheckStartFolderAndWords(const FileSystem& fs, const mdlTools& tools,
                                          RenameOperation operation, const QString& pathText,
                                          const RunInputValues& in);

// The run inputs a start captures from the windows' values.
RunInputs RunInputsFrom(const RunInputValues& in, const SettingsInEffect& settings);

// The folder colliding files are moved to, when a run with these inputs
// moves them there: the folder in its on-disk spelling, or the refusal.
// target is the text of the setting, relative to the folder shown.
struct DeleteTargetCheck {
    QString folder;
    std::optional<MessageId> refusal;
};
DeleteTargetCheck CheckDeleteTarget(const FileSystem& fs, const mdlTools& tools,
                                    const QString& target);

// A replace or insert word that holds a character no name can hold.
std::optional<MessageId> CheckWordCharacters(RenameOperation operation, const QString& word);

// The start asks before it takes a word with a comma or a semicolon.
bool WordNeedsCommaQuestion(const QString& word);

}  // namespace sorvane
