#pragma once

#include <QList>

#include "ports/MessageBoxPort.h"

namespace sorvane {

// Answers message boxes from a queue and records every request. With the
// queue empty it presses the default button.
class ScriptedMessageBox : public MessageBoxPort {
public:
    MsgAnswer Show(const MessageRequest& request) override {
        shown.append(request);
        if (answers.isEmpty()) return DefaultAnswer(request);
        return answers.takeFirst();
    }

    QList<MsgAnswer> answers;
    QList<MessageRequest> shown;
};

}  // namespace sorvane
