#include "SoundServerConnection.h"

#include <pulse/context.h>
#include <pulse/introspect.h>
#include <pulse/operation.h>
#include <pulse/proplist.h>
#include <pulse/rtclock.h>
#include <pulse/thread-mainloop.h>
#include <pulse/timeval.h>

namespace {

pa_usec_t usecFromNow(std::chrono::milliseconds span) {
    return pa_rtclock_now() + static_cast<pa_usec_t>(span.count()) * PA_USEC_PER_MSEC;
}

} // namespace

std::unique_ptr<SoundServerConnection> SoundServerConnection::connect(std::chrono::milliseconds timeout) {
    std::unique_ptr<SoundServerConnection> made(new SoundServerConnection);
    made->_loop = pa_threaded_mainloop_new();
    if (!made->_loop)
        return nullptr;
    pa_proplist* properties = pa_proplist_new();
    pa_proplist_sets(properties, PA_PROP_APPLICATION_NAME, "Clipwright");
    pa_proplist_sets(properties, PA_PROP_APPLICATION_ID, "clipwright");
    made->_context = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(made->_loop), "Clipwright", properties);
    pa_proplist_free(properties);
    if (!made->_context)
        return nullptr;
    pa_context_set_state_callback(made->_context, &SoundServerConnection::stateChanged, made.get());
    // No server is started for a preview: without one the player plays on the wall clock.
    if (pa_context_connect(made->_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        return nullptr;
    if (pa_threaded_mainloop_start(made->_loop) < 0)
        return nullptr;
    Lock lock(*made);
    const bool answered = made->waitUntil(
        [&] {
            const pa_context_state_t state = pa_context_get_state(made->_context);
            return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
        },
        timeout);
    if (!answered || pa_context_get_state(made->_context) != PA_CONTEXT_READY)
        return nullptr;
    made->_ready = true;
    return made;
}

void SoundServerConnection::stop() {
    if (_loop)
        pa_threaded_mainloop_stop(_loop);
}

SoundServerConnection::~SoundServerConnection() {
    // The loop's thread first, so no callback runs while, or after, the objects go.
    stop();
    if (_deadline)
        pa_threaded_mainloop_get_api(_loop)->time_free(_deadline);
    if (_context) {
        pa_context_set_state_callback(_context, nullptr, nullptr);
        pa_context_disconnect(_context);
        pa_context_unref(_context);
    }
    if (_loop)
        pa_threaded_mainloop_free(_loop);
}

pa_mainloop_api* SoundServerConnection::api() const {
    return pa_threaded_mainloop_get_api(_loop);
}

SoundServerConnection::Lock::Lock(const SoundServerConnection& connection) : _loop(connection._loop) {
    pa_threaded_mainloop_lock(_loop);
}

SoundServerConnection::Lock::~Lock() {
    pa_threaded_mainloop_unlock(_loop);
}

void SoundServerConnection::stateChanged(pa_context* context, void* self) {
    auto* connection = static_cast<SoundServerConnection*>(self);
    connection->wake();
    if (connection->_ready && !PA_CONTEXT_IS_GOOD(pa_context_get_state(context)) && connection->onLost)
        connection->onLost();
}

void SoundServerConnection::wake() {
    pa_threaded_mainloop_signal(_loop, 0);
}

bool SoundServerConnection::waitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    _timedOut = false;
    const pa_usec_t at = usecFromNow(timeout);
    if (_deadline) {
        pa_context_rttime_restart(_context, _deadline, at);
    } else {
        _deadline = pa_context_rttime_new(
            _context, at,
            [](pa_mainloop_api*, pa_time_event*, const struct timeval*, void* self) {
                auto* connection = static_cast<SoundServerConnection*>(self);
                connection->_timedOut = true;
                connection->wake();
            },
            this);
    }
    bool result = true;
    while (!done()) {
        if (_timedOut || !_deadline) {
            result = done();
            break;
        }
        pa_threaded_mainloop_wait(_loop);
    }
    if (_deadline)
        pa_context_rttime_restart(_context, _deadline, PA_USEC_INVALID);
    return result;
}

std::optional<pa_sample_spec> SoundServerConnection::defaultSinkSpec() {
    struct Query {
        SoundServerConnection* connection;
        std::optional<pa_sample_spec> sampleSpec;
        bool done = false;
    } query{this, std::nullopt};
    Lock lock(*this);
    pa_operation* operation = pa_context_get_sink_info_by_name(
        _context, "@DEFAULT_SINK@",
        [](pa_context*, const pa_sink_info* info, int eol, void* data) {
            auto* q = static_cast<Query*>(data);
            if (info && !q->sampleSpec)
                q->sampleSpec = info->sample_spec;
            if (eol != 0) {
                q->done = true;
                q->connection->wake();
            }
        },
        &query);
    if (!operation)
        return std::nullopt;
    waitUntil([&] { return query.done || pa_operation_get_state(operation) != PA_OPERATION_RUNNING; },
              std::chrono::seconds(2));
    // A query that did not finish must not call back into this frame later.
    if (pa_operation_get_state(operation) == PA_OPERATION_RUNNING)
        pa_operation_cancel(operation);
    pa_operation_unref(operation);
    return query.sampleSpec;
}
