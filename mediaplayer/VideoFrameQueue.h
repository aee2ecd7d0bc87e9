#pragma once

#include "DecodedPicture.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

// The pictures the decoding thread has made and the main thread has not shown yet, oldest first.
//
// The decoding thread pushes; the main thread peeks, pops and clears. `onPushed` runs on the pushing thread after
// a push into a queue the reader had found empty (so the reader can be woken without a flood of calls);
// `onPopped` runs on the main thread after every pop or clear, so the producer can refill.
class VideoFrameQueue {
public:
    explicit VideoFrameQueue(size_t capacity) : _capacity(capacity) {}

    void setOnPushed(std::function<void()> callback);
    void setOnPopped(std::function<void()> callback);

    size_t capacity() const { return _capacity; }
    // Pictures of `serial` waiting (End marks not counted).
    size_t pictureCount(uint64_t serial) const;
    bool full(uint64_t serial) const { return pictureCount(serial) >= _capacity; }

    void push(DecodedPicture picture);
    // The oldest entry of `serial`; older serials in front of it are dropped on the way.
    std::optional<DecodedPicture> front(uint64_t serial);
    // The entry after the front one (of the same serial), if any.
    std::optional<DecodedPicture> second(uint64_t serial);
    void pop();
    void clear();

    // Blocks up to `timeout` until an entry of `serial` satisfying `match` is queued; true when one is.
    bool waitFor(uint64_t serial, const std::function<bool(const DecodedPicture&)>& match,
                 std::chrono::milliseconds timeout);

private:
    void dropOlder(uint64_t serial);
    void popped();

    const size_t _capacity;
    mutable std::mutex _mutex;
    std::condition_variable _changed;
    std::deque<DecodedPicture> _entries;
    bool _readerSawEmpty = true;
    std::function<void()> _onPushed;
    std::function<void()> _onPopped;
};
