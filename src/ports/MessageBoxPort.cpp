#include "ports/MessageBoxPort.h"

#include <array>
#include <vector>

namespace sorvane {

namespace {

std::vector<MsgAnswer> ButtonsOf(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::OK: return {MsgAnswer::OK};
        case MsgButtons::OKCancel: return {MsgAnswer::OK, MsgAnswer::Cancel};
        case MsgButtons::YesNo: return {MsgAnswer::Yes, MsgAnswer::No};
        case MsgButtons::YesNoCancel: return {MsgAnswer::Yes, MsgAnswer::No, MsgAnswer::Cancel};
        case MsgButtons::RetryCancel: return {MsgAnswer::Retry, MsgAnswer::Cancel};
        case MsgButtons::AbortRetryIgnore:
            return {MsgAnswer::Abort, MsgAnswer::Retry, MsgAnswer::Ignore};
    }
    return {MsgAnswer::OK};
}

}  // namespace

MsgAnswer DefaultAnswer(const MessageRequest& request) {
    const auto answers = ButtonsOf(request.buttons);
    const auto index = static_cast<size_t>(request.defaultButton);
    return index < answers.size() ? answers[index] : answers.front();
}

}  // namespace sorvane
