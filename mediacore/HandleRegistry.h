#pragma once

#include <memory>
#include <mutex>
#include <unordered_set>

namespace mediacore {

// The live objects behind one kind of C handle. A handle the registry did not hand out, or one already closed,
// is refused instead of being dereferenced.
template <typename T> class HandleRegistry {
public:
    void* adopt(std::unique_ptr<T> object) {
        std::lock_guard lock(_mutex);
        T* raw = object.release();
        _live.insert(raw);
        return raw;
    }

    T* find(void* handle) const {
        std::lock_guard lock(_mutex);
        auto it = _live.find(static_cast<T*>(handle));
        return it == _live.end() ? nullptr : *it;
    }

    // Takes the object out of the registry; the caller destroys it.
    std::unique_ptr<T> release(void* handle) {
        std::lock_guard lock(_mutex);
        auto it = _live.find(static_cast<T*>(handle));
        if (it == _live.end())
            return nullptr;
        std::unique_ptr<T> object(*it);
        _live.erase(it);
        return object;
    }

private:
    mutable std::mutex _mutex;
    std::unordered_set<T*> _live;
};

} // namespace mediacore
