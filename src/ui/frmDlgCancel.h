#pragma once

#include <QDialog>
#include <QElapsedTimer>

#include "ports/ProgressWindowPort.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace sorvane {

class clsCancel;

// The progress window: a title line, a text and the "中止(&C)" button. It
// cannot be closed from its title bar; the button reaches the worker through
// clsCancel while pending events run.
class frmDlgCancel : public QDialog, public ProgressWindowPort {
    Q_OBJECT
public:
    explicit frmDlgCancel(QWidget* parent = nullptr);

    // The object whose IsCancel the button sets.
    void Attach(clsCancel* owner) { mOwner = owner; }

    void SetCaption(const QString& caption) override;
    void SetTitle(const QString& title) override;
    void SetText(const QString& text) override;
    void Show() override;
    void Hide() override;
    void ProcessEvents() override;
    void ShowTextsNow() override;
    // The shortest time between two event pumps (16 ms, one frame).
    void SetPumpInterval(int milliseconds) { mPumpIntervalMs = milliseconds; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void CancelButton_Click();
    void TextsChanged();
    void ApplyTexts();

    clsCancel* mOwner = nullptr;
    QElapsedTimer mPumped;
    QString mCaption;
    QString mTitle;
    QString mText;
    bool mTextsPending = false;
    int mPumpIntervalMs = 16;
    QLineEdit* Text2;
    QPlainTextEdit* Text1;
    QPushButton* CancelButton;
};

}  // namespace sorvane
