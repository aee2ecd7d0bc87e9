#include "VideoFrameQueue.h"

#include <algorithm>

void VideoFrameQueue::setOnPushed(std::function<void()> callback) {
    std::lock_guard lock(_mutex);
    _onPushed = std::move(callback);
}

void VideoFrameQueue::setOnPopped(std::function<void()> callback) {
    std::lock_guard lock(_mutex);
    _onPopped = std::move(callback);
}

size_t VideoFrameQueue::pictureCount(uint64_t serial) const {
    std::lock_guard lock(_mutex);
    return static_cast<size_t>(std::count_if(_entries.begin(), _entries.end(), [serial](const DecodedPicture& p) {
        return p.serial == serial && !p.isEnd();
    }));
}

void VideoFrameQueue::push(DecodedPicture picture) {
    std::function<void()> notify;
    {
        std::lock_guard lock(_mutex);
        _entries.push_back(std::move(picture));
        if (_readerSawEmpty) {
            _readerSawEmpty = false;
            notify = _onPushed;
        }
    }
    _changed.notify_all();
    if (notify)
        notify();
}

void VideoFrameQueue::dropOlder(uint64_t serial) {
    while (!_entries.empty() && _entries.front().serial != serial)
        _entries.pop_front();
}

std::optional<DecodedPicture> VideoFrameQueue::front(uint64_t serial) {
    std::lock_guard lock(_mutex);
    dropOlder(serial);
    if (_entries.empty()) {
        _readerSawEmpty = true;
        return std::nullopt;
    }
    return _entries.front();
}

std::optional<DecodedPicture> VideoFrameQueue::second(uint64_t serial) {
    std::lock_guard lock(_mutex);
    dropOlder(serial);
    if (_entries.size() < 2 || _entries[1].serial != serial)
        return std::nullopt;
    return _entries[1];
}

void VideoFrameQueue::pop() {
    {
        std::lock_guard lock(_mutex);
        if (!_entries.empty())
            _entries.pop_front();
        if (_entries.empty())
            _readerSawEmpty = true;
    }
    popped();
}

void VideoFrameQueue::clear() {
    {
        std::lock_guard lock(_mutex);
        _entries.clear();
        _readerSawEmpty = true;
    }
    popped();
}

void VideoFrameQueue::popped() {
    std::function<void()> notify;
    {
        std::lock_guard lock(_mutex);
        notify = _onPopped;
    }
    if (notify)
        notify();
}

bool VideoFrameQueue::waitFor(uint64_t serial, const std::function<bool(const DecodedPicture&)>& match,
                              std::chrono::milliseconds timeout) {
    std::unique_lock lock(_mutex);
    return _changed.wait_for(lock, timeout, [&] {
        return std::any_of(_entries.begin(), _entries.end(),
                           [&](const DecodedPicture& p) { return p.serial == serial && match(p); });
    });
}
