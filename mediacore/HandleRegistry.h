#pragma once

#include <memory>
#include <mutex>
#include <unordered_map>

namespace mediacore {

// The live objects behind one kind of C handle. A handle the registry did not hand out, or one already closed,
// is refused instead of being dereferenced. Every call holds its own reference to the object, so a close on
// another thread never frees an object under a call in flight: the last reference ends it.
template <typename T> class HandleRegistry {
public:
    void* adopt(std::unique_ptr<T> object) {
        std::lock_guard lock(_mutex);
        std::shared_ptr<T> shared(std::move(object));
        void* handle = shared.get();
        _live.emplace(handle, std::move(shared));
        return handle;
    }

    std::shared_ptr<T> find(void* handle) const {
        std::lock_guard lock(_mutex);
        auto it = _live.find(handle);
        return it == _live.end() ? nullptr : it->second;
    }

    // Takes the object out of the registry; it ends when the caller and every call in flight have let it go.
    std::shared_ptr<T> release(void* handle) {
        std::lock_guard lock(_mutex);
        auto it = _live.find(handle);
        if (it == _live.end())
            return nullptr;
        std::shared_ptr<T> object = std::move(it->second);
        _live.erase(it);
        return object;
    }

private:
    mutable std::mutex _mutex;
    std::unordered_map<void*, std::shared_ptr<T>> _live;
};

} // namespace mediacore
