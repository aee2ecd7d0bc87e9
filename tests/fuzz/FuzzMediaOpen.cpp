// libFuzzer target: MediaOpen, MediaGetInfo, MediaGetDuration and a snapshot on any bytes. The bytes are handed
// over as an anonymous in-memory file (memfd), which the engine opens like any file of the user's.
#include "libMediaCore.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int fd = memfd_create("fuzz-media", 0);
    if (fd < 0)
        return 0;
    for (size_t written = 0; written < size;) {
        const ssize_t n = write(fd, data + written, size - written);
        if (n <= 0)
            break;
        written += static_cast<size_t>(n);
    }
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    if (MEDIA_HANDLE media = MediaOpen(path.c_str())) {
        AUDIO_STREAM_INFO audio{};
        VIDEO_STREAM_INFO video{};
        if (MediaGetInfo(media, &audio, &video) >= 0) {
            std::vector<unsigned char> pixels(64 * 48 * 4);
            MediaSnapshot(media, MediaGetDuration(media) / 2, 64, 48, pixels.data(), 0);
        }
        MediaClose(media);
    }
    close(fd);
    return 0;
}
