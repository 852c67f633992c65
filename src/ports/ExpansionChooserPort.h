#pragma once

#include <QString>
#include <QStringList>

namespace sorvane {

// The three views of the expansion chooser: the search token list and the
// two readings of the replace pattern, one entry per token.
struct ExpansionViews {
    QStringList matchDec;
    QStringList replaceDec;
    QStringList replaceDecReverse;
};

// The expansion chooser. Choose shows it modally with a message and returns
// retV: 0 cancel (also the close box and Esc), 1 keep the first reading,
// 2 take the second. Display shows the views in the display-only window
// without waiting. Beep sounds the system beep that announces the modal
// chooser.
class ExpansionChooserPort {
public:
    virtual ~ExpansionChooserPort() = default;
    virtual int Choose(const ExpansionViews& views, const QString& message) = 0;
    virtual void Display(const ExpansionViews& views) = 0;
    virtual void Beep() = 0;
};

}  // namespace sorvane
