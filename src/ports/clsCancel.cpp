#include "ports/clsCancel.h"

#include "platform/ShownName.h"

namespace sorvane {

clsCancel::clsCancel(ProgressWindowPort& window, MessageBoxPort& messages)
    : mWindow(window), mMessages(messages) {}

bool clsCancel::DoCancel(const QString& title) {
    mWindow.ProcessEvents();
    if (!IsCancel) return false;
    SetVisible(false);
    if (ShowMessage(mMessages, MessageId::StopQuestion, {title}) == MsgAnswer::Yes) return true;
    IsCancel = false;
    SetVisible(true);
    return false;
}

void clsCancel::SetVisible(bool visible) {
    mVisible = visible;
    if (visible) {
        mWindow.Show();
        mWindow.ProcessEvents();
        IsCancel = false;
    } else {
        mWindow.Hide();
        mWindow.ProcessEvents();
    }
}

// The text is the path being worked on: every worker sets it here, so this
// is the one place where its names turn into their shown form.
void clsCancel::SetText(const QString& text) {
    mText = ShownName(text);
    mWindow.SetText(mText);
    mWindow.ProcessEvents();
}

void clsCancel::SetCaption(const QString& caption) {
    mCaption = caption;
    mWindow.SetCaption(caption);
    mWindow.ProcessEvents();
}

void clsCancel::SetTitle(const QString& title) {
    mTitle = title;
    mWindow.SetTitle(title);
    mWindow.ProcessEvents();
}

}  // namespace sorvane
