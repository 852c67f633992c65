#pragma once

#include <QString>

namespace sorvane {

// The progress window itself (three texts and a cancel button). The cancel
// logic around it lives in clsCancel; the window only shows texts and, while
// pending events run, reports a click on "中止(&C)" through clsCancel::CancelClick.
class ProgressWindowPort {
public:
    virtual ~ProgressWindowPort() = default;
    virtual void SetCaption(const QString& caption) = 0;
    virtual void SetTitle(const QString& title) = 0;
    virtual void SetText(const QString& text) = 0;
    virtual void Show() = 0;  // at the top of the window order, restored, not topmost
    virtual void Hide() = 0;
    virtual void ProcessEvents() = 0;  // let pending window events run once
    // Shows the texts set so far at once, before a step that lets no events
    // run (a window that draws only now and then would show them after it).
    virtual void ShowTextsNow() {}
    // Whether texts set now would be seen. A window that draws only now and
    // then says no in between, so that no one builds texts nobody reads.
    virtual bool WantsTexts() const { return true; }
};

}  // namespace sorvane
