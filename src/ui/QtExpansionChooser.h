#pragma once

#include "ports/ExpansionChooserPort.h"

class QWidget;

namespace sorvane {

// The expansion chooser as a modal question that lists the three views
// (the search tokens and both readings of the replace pattern) with the
// chooser's three buttons; the display-only views go to the same kind of
// window without waiting.
class QtExpansionChooser : public ExpansionChooserPort {
public:
    explicit QtExpansionChooser(QWidget* parent = nullptr) : mParent(parent) {}
    void SetParent(QWidget* parent) { mParent = parent; }

    ExpansionChoice Choose(const ExpansionViews& views, const QString& message) override;
    void Display(const ExpansionViews& views) override;
    void Beep() override;

private:
    QWidget* mParent;
};

}  // namespace sorvane
