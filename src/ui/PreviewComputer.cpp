#include "ui/PreviewComputer.h"

#include <utility>

namespace sorvane {

PreviewComputer::PreviewComputer(Compute compute, QObject* parent,
                                 std::function<void()> beforeHandOver)
    : QObject(parent), mCompute(std::move(compute)), mBeforeHandOver(std::move(beforeHandOver)) {
    mSettle.setSingleShot(true);
    mSettle.setInterval(kSettleMs);
    connect(&mSettle, &QTimer::timeout, this, &PreviewComputer::Launch);
    mWorker = std::thread([this] { Work(); });
}

PreviewComputer::~PreviewComputer() {
    {
        const std::lock_guard lock(mMutex);
        mQuit = true;
        mNext.reset();
    }
    if (mInFlight) mInFlight->store(true);
    mWake.notify_one();
    mWorker.join();
}

void PreviewComputer::Request(PreviewRequest request) {
    ++mAwaited;
    mLatest = std::move(request);
    mPending = true;
    if (mInFlight) mInFlight->store(true);
    Q_EMIT Outdated();
    if (mPaused) return;
    // The first request has nothing on screen to settle against: it is
    // computed at once.
    if (mAwaited == 1)
        Launch();
    else
        mSettle.start();
}

void PreviewComputer::SetPaused(bool paused) {
    mPaused = paused;
    if (paused) {
        mSettle.stop();
        if (mInFlight) mInFlight->store(true);
        // A run changes the folders: whatever was computed before it is
        // stale, and the last request is computed again once it ends.
        if (mAwaited == 0) return;
        ++mAwaited;
        mPending = true;
    } else if (mPending) {
        mSettle.start();
    }
}

void PreviewComputer::Launch() {
    if (!mPending || mPaused) return;
    mPending = false;
    mInFlight = std::make_shared<std::atomic<bool>>(false);
    {
        const std::lock_guard lock(mMutex);
        mNext = Job{mLatest, mAwaited, mInFlight};
    }
    mWake.notify_one();
}

void PreviewComputer::Work() {
    for (;;) {
        Job job;
        {
            std::unique_lock lock(mMutex);
            mWake.wait(lock, [this] { return mQuit || mNext; });
            if (mQuit) return;
            job = std::move(*mNext);
            mNext.reset();
        }
        auto preview = std::make_shared<const PlanPreview>(mCompute(job.request, *job.stop));
        if (job.stop->load()) continue;
        if (mBeforeHandOver) mBeforeHandOver();
        // Handed to the window's thread, which alone knows whether it is
        // still the last request's: a newer request may come in this very
        // moment, after the stop flag was read.
        QMetaObject::invokeMethod(
            this,
            [this, generation = job.generation, preview = std::move(preview)]() mutable {
                Deliver(generation, std::move(preview));
            },
            Qt::QueuedConnection);
    }
}

void PreviewComputer::Deliver(quint64 generation, std::shared_ptr<const PlanPreview> preview) {
    if (generation != mAwaited) return;
    mDelivered = generation;
    Q_EMIT Computed(std::move(preview));
}

}  // namespace sorvane
