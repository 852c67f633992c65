#pragma once

#include <QString>

namespace sorvane {

// The buttons, icons and answers of a message box, named as the program's
// messages name them.
enum class MsgButtons { OK, OKCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class MsgIcon { None, Information, Warning, Error, Question };
enum class MsgAnswer { OK, Cancel, Yes, No, Retry, Abort, Ignore };

struct MessageRequest {
    QString text;
    QString title;
    MsgButtons buttons = MsgButtons::OK;
    MsgIcon icon = MsgIcon::None;
    int defaultButton = 0;  // 0-based index into the button set: 1 preselects "No" of Yes/No
};

// The answer a message box gives when its default button is pressed.
MsgAnswer DefaultAnswer(const MessageRequest& request);

// A modal message box: shows the text and returns the button pressed.
class MessageBoxPort {
public:
    virtual ~MessageBoxPort() = default;
    virtual MsgAnswer Show(const MessageRequest& request) = 0;
};

}  // namespace sorvane
