#pragma once

#include <gtest/gtest.h>

#include <QList>
#include <functional>

#include "ports/MessageBoxPort.h"

namespace sorvane {

// Answers message boxes from a queue and records every request. A box with
// the OK button alone needs no answer. A question beyond the queue fails the
// test, unless answerDefaults is set: then it presses the default button.
// Answers left in the queue at the end also fail it: a question that was
// expected never came.
class ScriptedMessageBox : public MessageBoxPort {
public:
    ~ScriptedMessageBox() override {
        EXPECT_TRUE(answers.isEmpty()) << answers.size() << " message answer(s) left unused";
    }

    MsgAnswer Show(const MessageRequest& request) override {
        shown.append(request);
        if (onShow) onShow(request);
        if (request.buttons == MsgButtons::OK) return MsgAnswer::OK;
        if (!answers.isEmpty()) return answers.takeFirst();
        if (!answerDefaults) ADD_FAILURE() << "unexpected question: " << request.text.toStdString();
        return DefaultAnswer(request);
    }

    QList<MsgAnswer> answers;
    QList<MessageRequest> shown;
    // Called at every box, while it is shown.
    std::function<void(const MessageRequest&)> onShow;
    bool answerDefaults = false;
};

}  // namespace sorvane
