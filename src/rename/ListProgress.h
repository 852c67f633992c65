#pragma once

#include <QString>

namespace sorvane {

// What building a target list needs of a progress display: texts to show
// while it works, and a poll that tells it to stop. The run's list shows
// them in its progress window; a plan computed away from the window shows
// nothing and only stops when told to.
class ListProgress {
public:
    virtual ~ListProgress() = default;
    // Whether texts set now would be seen: the build makes its texts only then.
    virtual bool WantsTexts() const = 0;
    virtual void SetCaption(const QString& caption) = 0;
    virtual void SetTitle(const QString& title) = 0;
    virtual void SetText(const QString& text) = 0;
    // True when the build is to stop here; title names the work for a
    // question that may ask the user first.
    virtual bool Stop(const QString& title) = 0;
};

}  // namespace sorvane
