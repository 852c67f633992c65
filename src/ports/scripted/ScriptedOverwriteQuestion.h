#pragma once

#include <QList>
#include <QStringList>

#include "ports/OverwriteQuestionPort.h"

namespace sorvane {

// Answers the overwrite question from a queue (No when it runs dry) and
// records each caption and question.
class ScriptedOverwriteQuestion : public OverwriteQuestionPort {
public:
    OverwriteAnswer Ask(const QString& caption, const QString& label) override {
        captions.append(caption);
        labels.append(label);
        return answers.isEmpty() ? OverwriteAnswer::No : answers.takeFirst();
    }

    QList<OverwriteAnswer> answers;
    QStringList captions;
    QStringList labels;
};

}  // namespace sorvane
