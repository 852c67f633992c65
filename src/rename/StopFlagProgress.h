#pragma once

#include <atomic>

#include "rename/ListProgress.h"

namespace sorvane {

// The progress of a list built away from the progress window (on a worker
// thread): nothing is shown and nobody is asked; the build stops as soon as
// the flag is set, from any thread.
class StopFlagProgress final : public ListProgress {
public:
    explicit StopFlagProgress(const std::atomic<bool>& stop) : mStop(stop) {}

    bool WantsTexts() const override { return false; }
    void SetCaption(const QString&) override {}
    void SetTitle(const QString&) override {}
    void SetText(const QString&) override {}
    bool Stop(const QString&) override { return mStop.load(std::memory_order_relaxed); }

private:
    const std::atomic<bool>& mStop;
};

}  // namespace sorvane
