#pragma once

#include <QString>

#include "ports/LogBoxPort.h"

class QPlainTextEdit;

namespace sorvane {

// The log box (rtfLog) as the runs write it: the text keeps its CR LF line
// ends, the box shows them as line breaks.
class LogBoxView : public LogBoxPort {
public:
    explicit LogBoxView(QPlainTextEdit& box);

    void Append(QString text) override;
    void Clear() override;
    QString Text() const override { return mText; }
    // The end of the log in view: the caret there, scrolled to the bottom.
    void ShowEnd();

private:
    QPlainTextEdit& mBox;
    QString mText;  // the log text with its CR LF line ends
    int mLinesInBlock = 0;
};

}  // namespace sorvane
