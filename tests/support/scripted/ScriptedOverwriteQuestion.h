#pragma once

#include <gtest/gtest.h>

#include <QList>
#include <QStringList>

#include "ports/OverwriteQuestionPort.h"

namespace sorvane {

// Answers the overwrite question from a queue and records each caption and
// question. A question beyond the queue fails the test, unless
// answerDefaults is set (then it answers No, the dialog's default); answers
// left unused at the end fail it too.
class ScriptedOverwriteQuestion : public OverwriteQuestionPort {
public:
    ~ScriptedOverwriteQuestion() override {
        EXPECT_TRUE(answers.isEmpty()) << answers.size() << " overwrite answer(s) left unused";
    }

    OverwriteAnswer Ask(const QString& caption, const QString& label) override {
        captions.append(caption);
        labels.append(label);
        if (!answers.isEmpty()) return answers.takeFirst();
        if (!answerDefaults)
            ADD_FAILURE() << "unexpected overwrite question: " << label.toStdString();
        return OverwriteAnswer::No;
    }

    QList<OverwriteAnswer> answers;
    QStringList captions;
    QStringList labels;
    bool answerDefaults = false;
};

}  // namespace sorvane
