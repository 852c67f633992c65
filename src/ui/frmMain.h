#pragma once

#include <QMainWindow>

#include "ports/FormsPort.h"
#include "ports/LogBoxPort.h"

class QPlainTextEdit;

namespace sorvane {

// The main window: for now its log box and the switching on and off that
// the run control asks for while a settings file is loaded.
class frmMain : public QMainWindow, public LogBoxPort, public FormsPort {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);

    // LogBoxPort: the log box rtfLog.
    void Append(const QString& text) override;
    void Clear() override;
    QString Text() const override;

    // FormsPort
    void SetMainEnabled(bool enabled) override { setEnabled(enabled); }
    void ApplyMainFormOptions(bool) override {}
    void ApplyOptionFormOptions() override {}

private:
    QPlainTextEdit* rtfLog;
    QString mText;  // the log text with its CR LF line ends
};

}  // namespace sorvane
