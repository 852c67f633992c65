#pragma once

#include <QString>

#include "ports/MessageBoxPort.h"
#include "ports/ProgressWindowPort.h"

namespace sorvane {

// The progress window as the workers see it: texts to show, and the poll
// DoCancel that asks "作業を中止しますか？" once the user has pressed "中止(&C)".
class clsCancel {
public:
    clsCancel(ProgressWindowPort& window, MessageBoxPort& messages);

    // Set by a click on "中止(&C)"; cleared when the window is shown and when
    // the user declines to stop.
    bool IsCancel = false;

    bool DoCancel(const QString& title);
    // Whether the window would show texts set now: the workers build their
    // progress texts only then.
    bool WantsTexts() const { return mWindow.WantsTexts(); }
    void SetVisible(bool visible);
    bool IsVisible() const { return mVisible; }

    // The text as shown: its names in their shown form (ShownName).
    QString Text() const { return mText; }
    void SetText(const QString& text);
    QString Caption() const { return mCaption; }
    void SetCaption(const QString& caption);
    QString Title() const { return mTitle; }
    void SetTitle(const QString& title);
    // The texts set so far on screen now, before a step that does not poll.
    void ShowTextsNow() {
        if (mVisible) mWindow.ShowTextsNow();
    }

    // The window's "中止(&C)" button (mfrmCancel_CancelClick).
    void CancelClick() { IsCancel = true; }

private:
    ProgressWindowPort& mWindow;
    MessageBoxPort& mMessages;
    QString mText;
    QString mCaption = QStringLiteral("作業中");
    QString mTitle;
    bool mVisible = false;
};

}  // namespace sorvane
