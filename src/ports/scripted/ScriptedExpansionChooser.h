#pragma once

#include <QList>
#include <QStringList>

#include "ports/ExpansionChooserPort.h"

namespace sorvane {

// Answers the expansion chooser from a queue (0, cancel, when it runs dry)
// and records what it was shown.
class ScriptedExpansionChooser : public ExpansionChooserPort {
public:
    int Choose(const ExpansionViews& views, const QString& message) override {
        chosenViews.append(views);
        messages.append(message);
        return answers.isEmpty() ? 0 : answers.takeFirst();
    }
    void Display(const ExpansionViews& views) override { displayedViews.append(views); }

    QList<int> answers;
    QList<ExpansionViews> chosenViews;
    QStringList messages;
    QList<ExpansionViews> displayedViews;
};

}  // namespace sorvane
