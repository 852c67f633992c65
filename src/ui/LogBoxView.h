#pragma once

#include <QString>

#include "ports/LogBoxPort.h"
#include "ui/LogLines.h"

namespace sorvane {

class LogView;

// The log box (rtfLog) as the runs write it: the text is kept as it comes,
// with its CR LF line ends, and the box draws its lines from there. A long
// log comes in pieces, so that it is never also held whole.
class LogBoxView : public LogBoxPort {
public:
    explicit LogBoxView(LogView& box);
    // The box shows nothing once its lines are gone.
    ~LogBoxView() override;
    LogBoxView(const LogBoxView&) = delete;
    LogBoxView& operator=(const LogBoxView&) = delete;

    void Append(QString text) override;
    void Clear() override;
    QString Text() const override { return mLines.Text(); }
    bool TakesPieces() const override { return true; }
    qint64 Mark() const override { return mLines.Mark(); }
    void TakeBack(qint64 mark) override;
    // The end of the log in view.
    void ShowEnd();

private:
    LogView& mBox;
    LogLines mLines;
};

}  // namespace sorvane
