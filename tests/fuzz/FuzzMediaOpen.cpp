// libFuzzer target: MediaOpen, MediaGetInfo, MediaGetDuration and a snapshot on any bytes, then a short conversion
// and a short join of what opened. The bytes are handed over as an anonymous in-memory file (memfd), which the
// engine opens like any file of the user's; outputs go to a private folder and are removed after each input.
#include "libMediaCore.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// The first half second at a small size: enough to reach the decoders, filters, encoders and muxers.
constexpr int64_t kShortUs = 500'000;

const std::string& outputFolder() {
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "fuzz-media-XXXXXX").string();
        return std::string(mkdtemp(pattern.data()) ? pattern : ".");
    }();
    return folder;
}

void convertShort(const std::string& input, const std::string& output) {
    CONVERT_HANDLE job = apiMediaConvertCreate();
    if (apiMediaConvertSetInputMedia(job, input.c_str()) > 0) {
        apiMediaConvertSetCutTime(job, 0, kShortUs);
        apiMediaConvertSetVideoFrameSize(job, 64, 48);
        if (apiMediaConvertSetOutputPath(job, output.c_str()) > 0)
            apiMediaConvertStart(job);
    }
    apiMediaConvertClose(job);
}

void joinShort(const std::string& input, const std::string& output) {
    JOIN_HANDLE job = apiMediaJoinCreate();
    if (apiMediaJoinAddMediaClip(job, input.c_str(), 0, kShortUs) &&
        apiMediaJoinAddMediaClip(job, input.c_str(), 0, kShortUs)) {
        apiMediaJoinSetVideoFrameSize(job, 64, 48);
        if (apiMediaJoinSetOutputPath(job, output.c_str()) >= 0)
            apiMediaJoinStart(job);
    }
    apiMediaJoinClose(job);
}

} // namespace

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
        const std::string converted = outputFolder() + "/converted.mp4";
        const std::string joined = outputFolder() + "/joined.mp4";
        convertShort(path, converted);
        joinShort(path, joined);
        std::error_code ignored;
        std::filesystem::remove(converted, ignored);
        std::filesystem::remove(joined, ignored);
    }
    close(fd);
    return 0;
}
