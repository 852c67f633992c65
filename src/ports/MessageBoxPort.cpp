#include "ports/MessageBoxPort.h"

#include "ports/MessageCatalogue.h"

namespace sorvane {

std::vector<MsgAnswer> ButtonAnswers(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::OK:
            return {MsgAnswer::OK};
        case MsgButtons::OKCancel:
            return {MsgAnswer::OK, MsgAnswer::Cancel};
        case MsgButtons::YesNo:
            return {MsgAnswer::Yes, MsgAnswer::No};
        case MsgButtons::YesNoCancel:
            return {MsgAnswer::Yes, MsgAnswer::No, MsgAnswer::Cancel};
        case MsgButtons::RetryCancel:
            return {MsgAnswer::Retry, MsgAnswer::Cancel};
        case MsgButtons::AbortRetryIgnore:
            return {MsgAnswer::Abort, MsgAnswer::Retry, MsgAnswer::Ignore};
    }
    return {MsgAnswer::OK};
}

size_t DefaultIndex(const MessageRequest& request) {
    const auto index = static_cast<size_t>(request.defaultButton);
    return index < ButtonAnswers(request.buttons).size() ? index : 0;
}

MsgAnswer DefaultAnswer(const MessageRequest& request) {
    return ButtonAnswers(request.buttons)[DefaultIndex(request)];
}

MsgAnswer ShowMessage(MessageBoxPort& port, MessageId id, const QStringList& args) {
    return port.Show(MessageCatalogue::Request(id, args));
}

}  // namespace sorvane
