#include "GatedJobFactory.h"

#include <chrono>
#include <thread>

namespace {

class GatedJob : public MediaJob {
public:
    GatedJob(std::shared_ptr<MediaJob> inner, std::shared_ptr<std::atomic<int>> open,
             std::shared_ptr<std::atomic<int>> waiting)
        : _inner(std::move(inner)), _open(std::move(open)), _waiting(std::move(waiting)) {}

    Kind kind() const override { return _inner->kind(); }
    void* handle() const override { return _inner->handle(); }
    int setInputMedia(const QString& path) override { return _inner->setInputMedia(path); }
    int setOutputPath(const QString& path) override { return _inner->setOutputPath(path); }
    int start() override {
        ++*_waiting;
        while (!_stopped.load()) {
            int passes = _open->load();
            if (passes < 0 || (passes > 0 && _open->compare_exchange_weak(passes, passes - 1)))
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        if (_stopped.load())
            return -1; // stopped at the gate: the engine never starts, as a stopped job it reports no success
        return _inner->start();
    }
    bool startSucceeded(int result) const override { return _inner->startSucceeded(result); }
    double progress() override { return _inner->progress(); }
    int stop() override {
        _stopped = true;
        return _inner->stop();
    }
    int close() override { return _inner->close(); }

private:
    std::shared_ptr<MediaJob> _inner;
    std::shared_ptr<std::atomic<int>> _open;
    std::shared_ptr<std::atomic<int>> _waiting;
    std::atomic<bool> _stopped{false};
};

} // namespace

std::shared_ptr<MediaJob> GatedJobFactory::create(MediaJob::Kind kind) {
    std::shared_ptr<MediaJob> inner = _inner.create(kind);
    if (!inner)
        return nullptr;
    return std::make_shared<GatedJob>(std::move(inner), _open, _waiting);
}
