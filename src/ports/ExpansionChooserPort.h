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

// The answer of the expansion chooser (its retV 0, 1, 2).
enum class ExpansionChoice {
    Cancel,      // "中止(&C)", also the close box and Esc
    KeepFirst,   // the first reading of the replace pattern
    TakeSecond,  // the second reading
};

// The expansion chooser. Choose shows it modally with a message and returns
// the user's choice. Display shows the views in the display-only window
// without waiting. Beep sounds the system beep that announces the modal
// chooser.
class ExpansionChooserPort {
public:
    virtual ~ExpansionChooserPort() = default;
    virtual ExpansionChoice Choose(const ExpansionViews& views, const QString& message) = 0;
    virtual void Display(const ExpansionViews& views) = 0;
    virtual void Beep() = 0;
};

// The views as text: one block per view, one line per token numbered from 0
// as the chooser numbers them.
QString ExpansionViewsText(const ExpansionViews& views);

}  // namespace sorvane
