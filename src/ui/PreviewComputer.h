#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "run/PlanPreview.h"

namespace sorvane {

// Computes previews on a worker thread of its own, so that the window's
// thread never waits for a listing. The first request is computed at once;
// each later one stops the computation in flight at once and is computed
// once the requests have paused for 150 ms. Only the result of the last
// request is ever delivered, a stale one is dropped wherever it is.
class PreviewComputer : public QObject {
    Q_OBJECT
public:
    using Compute =
        std::function<PlanPreview(const PreviewRequest& request, const std::atomic<bool>& stop)>;
    static constexpr int kSettleMs = 150;

    // compute: PreviewPlan, or a stand-in in tests. beforeHandOver, when
    // given, is called on the worker between a computation that was not
    // stopped and the handing over of its result: a test holds it there to
    // make a newer request in that moment.
    explicit PreviewComputer(Compute compute = PreviewPlan, QObject* parent = nullptr,
                             std::function<void()> beforeHandOver = {});
    // Stops the computation in flight and waits for the worker to end.
    ~PreviewComputer() override;

    // The inputs changed: this is what a start would now take.
    void Request(PreviewRequest request);
    // While paused (during a run) nothing is computed; the last request is
    // computed when the pause ends.
    void SetPaused(bool paused);
    // The last request's preview has not arrived yet (it waits, is being
    // computed, or waits for the pause to end).
    bool Busy() const { return mAwaited != mDelivered; }

Q_SIGNALS:
    // A computation is due: what is shown is no longer the inputs' preview.
    void Outdated();
    // The preview of the last request.
    void Computed(std::shared_ptr<const PlanPreview> preview);

private:
    struct Job {
        PreviewRequest request;
        quint64 generation = 0;
        std::shared_ptr<std::atomic<bool>> stop;
    };
    void Launch();
    void Work();
    void Deliver(quint64 generation, std::shared_ptr<const PlanPreview> preview);

    Compute mCompute;
    std::function<void()> mBeforeHandOver;
    QTimer mSettle;
    PreviewRequest mLatest;  // the last request
    bool mPending = false;   // the last request still waits for the worker
    quint64 mAwaited = 0;    // the generation of the last request
    quint64 mDelivered = 0;
    bool mPaused = false;
    std::shared_ptr<std::atomic<bool>> mInFlight;  // the stop flag of the job handed over last

    // Shared with the worker.
    std::mutex mMutex;
    std::condition_variable mWake;
    std::optional<Job> mNext;
    bool mQuit = false;
    std::thread mWorker;
};

}  // namespace sorvane
