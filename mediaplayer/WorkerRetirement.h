#pragma once

#include <memory>

class PlaybackWorker;

// Ends decoding threads away from the main thread. A worker handed over is told to stop at once; joining its
// thread and freeing its demuxer, decoders and filter graphs (which can take a few hundred milliseconds in the
// middle of an exact seek) happen on a thread of their own, so stopping or dropping a player never stalls the
// window. `keepAlive` is what the worker still writes into (its picture queue and sound buffer): it is let go
// only after the worker is gone.
class WorkerRetirement {
public:
    static void retire(std::unique_ptr<PlaybackWorker> worker, std::shared_ptr<void> keepAlive);
    // Workers handed over and not yet gone.
    static int pending();
    // Waits up to timeoutMs until every worker handed over is gone; true when they are.
    static bool waitForAll(int timeoutMs);
};
