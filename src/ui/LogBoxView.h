#pragma once

#include <QString>

#include "ports/LogBoxPort.h"

class QPlainTextEdit;

namespace sorvane {

// The log box (rtfLog) as the runs write it: the text keeps its CR LF line
// ends, the box shows them as line breaks. The texts appended are kept as
// they came, so that a run's long log lies in memory as the box's document
// and the text handed over, not also as a copy joined to the rest.
class LogBoxView : public LogBoxPort {
public:
    explicit LogBoxView(QPlainTextEdit& box);

    void Append(QString text) override;
    void Clear() override;
    QString Text() const override { return mKept.Text(); }
    // The end of the log in view: the caret there, scrolled to the bottom.
    void ShowEnd();

private:
    QPlainTextEdit& mBox;
    MemoryLogBox mKept;  // the text with its CR LF line ends
    int mLinesInBlock = 0;
};

}  // namespace sorvane
