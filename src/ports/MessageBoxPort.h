#pragma once

#include <QString>
#include <vector>

namespace sorvane {

// The buttons, icons and answers of a message box, named as the program's
// messages name them.
enum class MsgButtons { OK, OKCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class MsgIcon { None, Information, Warning, Error, Question };
enum class MsgAnswer { OK, Cancel, Yes, No, Retry, Abort, Ignore };

// Which of the program's messages a box shows, so that a front end or a
// test can tell one question from another without reading its text.
enum class MessageId {
    Other,
    // The progress window
    StopQuestion,  // "作業を中止しますか？"
    // The settings file
    SettingsFileError,
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
    ForbiddenCharacters,
    CommaQuestion,
    BadReplacePattern,
    // A run
    ListingFailed,
    TooManyTargetsQuestion,
    DetailLogQuestion,
    RenameFailed,
    JournalFailed,
    InterruptedRunQuestion,  // at start-up: restore the run that died?
    LogError,
    AutoLogSaveError,
    // The detailed options window
    ManualLogSaveError,
    // The main window
    PathFallback,  // "パスが見つかりませんでした。" …
    PathFatal,     // "パスがどうしても見つかりません。" …
    ShortcutTargetMissing,
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

inline MsgAnswer ShowMessage(MessageBoxPort& port, MessageId id, const QString& text,
                             const QString& title, MsgButtons buttons, MsgIcon icon,
                             int defaultButton = 0) {
    return port.Show(MakeRequest(id, text, title, buttons, icon, defaultButton));
}

}  // namespace sorvane
