#pragma once

#include "ports/clsCancel.h"
#include "rename/ListProgress.h"

namespace sorvane {

// The list build's progress in the run's progress window: its texts go to
// the window, and a stop is the window's "中止(&C)" confirmed by the user.
class CancelListProgress final : public ListProgress {
public:
    explicit CancelListProgress(clsCancel& progress) : mProgress(progress) {}

    bool WantsTexts() const override { return mProgress.WantsTexts(); }
    void SetCaption(const QString& caption) override { mProgress.SetCaption(caption); }
    void SetTitle(const QString& title) override { mProgress.SetTitle(title); }
    void SetText(const QString& text) override { mProgress.SetText(text); }
    bool Stop(const QString& title) override { return mProgress.DoCancel(title); }

private:
    clsCancel& mProgress;
};

}  // namespace sorvane
