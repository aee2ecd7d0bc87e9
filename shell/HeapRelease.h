#pragma once

// The heap of a process that decodes and encodes large pictures on many threads: the C library keeps what those
// threads freed in per-thread pools and reuses it only for like requests, so after an export or a closed window
// the process stays hundreds of MiB larger although nothing is in use (measured in bench_editor_memory).
//
// configure() makes large blocks (pictures, encoder buffers) go straight back to the system when freed and keeps
// the number of pools small; giveBack() returns what the pools hold free. Both are harmless where the C library
// has no such controls.
class HeapRelease {
public:
    // Once per process, before the first large work; later calls do nothing.
    static void configure();
    // After heavy work has ended (a job finished, a window closed).
    static void giveBack();
};
