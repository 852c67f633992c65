#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace sorvane {

// The buttons, icons and answers of a message box, named as the program's
// messages name them.
enum class MsgButtons { OK, OKCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class MsgIcon { None, Information, Warning, Error, Question };
enum class MsgAnswer { OK, Cancel, Yes, No, Retry, Abort, Ignore };

// Which of the program's messages a box shows, so that a front end or a
// test can tell one question from another without reading its text. The
// text, title, buttons, icon and default button of each are in
// MessageCatalogue.
enum class MessageId {
    Other,  // none of the program's own: a request built by hand
    // The progress window
    StopQuestion,  // "作業を中止しますか？", titled by the work in progress
    // The settings file
    SettingsOpenError,   // the file cannot be opened or made
    SettingsWriteError,  // the file cannot be written
    // The start command's checks
    StartFolderEmpty,
    StartFolderMissing,
    SearchWordEmpty,
    ReplaceWordEmpty,
    InsertWordEmpty,
    SearchWordControlChars,
    ReplaceWordControlChars,
    // The checks before a rename
    DeleteTargetEmpty,
    DeleteTargetMissing,
    ForbiddenInReplace,  // a replace word holds a character no name can hold
    ForbiddenInInsert,   // an insert word holds one, "*" and "?" included
    CommaQuestion,
    BadReplacePattern,
    // A run
    ListingFailed,
    TooManyTargetsQuestion,
    DetailLogAfterRenameQuestion,   // a stopped rename: build its detailed log?
    DetailLogAfterRestoreQuestion,  // a stopped restore: build its detailed log?
    RenameFailed,
    JournalFailed,
    InterruptedRunQuestion,         // at start-up: restore the run that died?
    InterruptedRunDamagedQuestion,  // the same, with lines of its journal unread
    InterruptedRunRestoreFailed,    // that restore could not begin
    LogError,
    AutoLogSaveError,
    // The detailed options window
    ManualLogSaveError,
    FolderNotStorable,           // a dropped folder whose bytes the settings file cannot hold
    SettingsFileNameUnreadable,  // a dropped settings file whose name is not UTF-8
    // The main window
    PathFallbackToProgramFolder,  // "パスが見つかりませんでした。" … the program's folder
    PathFallbackToSystemFolder,  // the same, the system folder
    PathFatal,                   // "パスがどうしても見つかりません。" …
    ShortcutTargetMissing,
    NoProgramForFile,      // %1 the file: the desktop found no program to open it
    HistoryRestoreFailed,  // %1 the journal, %2 why it cannot be restored
};

struct MessageRequest {
    MessageId id = MessageId::Other;
    QString text;
    QString title;
    MsgButtons buttons = MsgButtons::OK;
    MsgIcon icon = MsgIcon::None;
    int defaultButton = 0;  // 0-based index into the button set: 1 preselects "No" of Yes/No
};

// The answers of a button set, in the order its buttons stand.
std::vector<MsgAnswer> ButtonAnswers(MsgButtons buttons);

// The index of the default button, kept within the button set.
size_t DefaultIndex(const MessageRequest& request);

// The answer a message box gives when its default button is pressed.
MsgAnswer DefaultAnswer(const MessageRequest& request);

// A modal message box: shows the text and returns the button pressed.
class MessageBoxPort {
public:
    virtual ~MessageBoxPort() = default;
    virtual MsgAnswer Show(const MessageRequest& request) = 0;
};

// One message box: which message, text, title, buttons, icon and the index
// of the default button.
inline MessageRequest MakeRequest(MessageId id, const QString& text, const QString& title,
                                  MsgButtons buttons, MsgIcon icon, int defaultButton = 0) {
    MessageRequest request;
    request.id = id;
    request.text = text;
    request.title = title;
    request.buttons = buttons;
    request.icon = icon;
    request.defaultButton = defaultButton;
    return request;
}

// Shows one of the program's messages as the catalogue gives it, its
// variable parts (%1, %2, ...) filled in from args.
MsgAnswer ShowMessage(MessageBoxPort& port, MessageId id, const QStringList& args = {});

}  // namespace sorvane
