#pragma once

#include <QList>
#include <QStringList>

#include "ports/ExpansionChooserPort.h"

namespace sorvane {

// Answers the expansion chooser from a queue (0, cancel, when it runs dry)
// and records what it was shown and how many beeps came before each showing.
class ScriptedExpansionChooser : public ExpansionChooserPort {
public:
    int Choose(const ExpansionViews& views, const QString& message) override {
        chosenViews.append(views);
        messages.append(message);
        beepsBeforeChoose.append(beeps);
        return answers.isEmpty() ? 0 : answers.takeFirst();
    }
    void Display(const ExpansionViews& views) override { displayedViews.append(views); }
    void Beep() override { ++beeps; }

    QList<int> answers;
    QList<ExpansionViews> chosenViews;
    QStringList messages;
    QList<ExpansionViews> displayedViews;
    int beeps = 0;
    QList<int> beepsBeforeChoose;
};

}  // namespace sorvane
