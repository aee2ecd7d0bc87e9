#include "HeapRelease.h"

#include <cstdlib> // defines __GLIBC__ with the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// Blocks of at least this size are mapped on their own and unmapped when freed, instead of the library raising the
// limit as it sees large blocks freed (which leaves every later picture in a pool).
constexpr int kOwnMappingBytes = 1 << 20;
// Pools for all threads together: decoding and encoding threads then share a few instead of keeping one each.
constexpr int kPools = 4;

} // namespace

void HeapRelease::configure() {
#if defined(__GLIBC__)
    static const bool done = [] {
        mallopt(M_MMAP_THRESHOLD, kOwnMappingBytes);
        mallopt(M_ARENA_MAX, kPools);
        return true;
    }();
    (void)done;
#endif
}

void HeapRelease::giveBack() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}
