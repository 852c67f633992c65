#pragma once

#include <gtest/gtest.h>

#include <QList>
#include <QStringList>

#include "ports/ExpansionChooserPort.h"

namespace sorvane {

// Answers the expansion chooser from a queue and records what it was shown
// and how many beeps came before each showing. A showing beyond the queue
// fails the test, unless answerDefaults is set (then it cancels); answers
// left unused at the end fail it too.
class ScriptedExpansionChooser : public ExpansionChooserPort {
public:
    ~ScriptedExpansionChooser() override {
        EXPECT_TRUE(answers.isEmpty()) << answers.size() << " chooser answer(s) left unused";
    }

    ExpansionChoice Choose(const ExpansionViews& views, const QString& message) override {
        chosenViews.append(views);
        messages.append(message);
        beepsBeforeChoose.append(beeps);
        if (!answers.isEmpty()) return answers.takeFirst();
        if (!answerDefaults) ADD_FAILURE() << "unexpected chooser: " << message.toStdString();
        return ExpansionChoice::Cancel;
    }
    void Display(const ExpansionViews& views) override { displayedViews.append(views); }
    void Beep() override { ++beeps; }

    QList<ExpansionChoice> answers;
    QList<ExpansionViews> chosenViews;
    QStringList messages;
    QList<ExpansionViews> displayedViews;
    int beeps = 0;
    QList<int> beepsBeforeChoose;
    bool answerDefaults = false;
};

}  // namespace sorvane
