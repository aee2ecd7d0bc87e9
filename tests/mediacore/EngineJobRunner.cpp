// Runs one engine job in a process of its own, for tests that change the process around it (a read-fault shim
// loaded with LD_PRELOAD, a file size limit). Prints the job's Start result; exits 0 when it ran.
//   engine_job_runner convert <input> <output> [<startUs> <stopUs> [<vcodec>]]
//   engine_job_runner join <output> <input>...
// CLIPWRIGHT_FILE_SIZE_LIMIT (bytes) limits the files the process writes; a write past it fails with EFBIG.

#include "libMediaCore.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/resource.h>

namespace {

int convert(int argc, char** argv) {
    if (argc < 4)
        return 2;
    CONVERT_HANDLE job = apiMediaConvertCreate();
    if (apiMediaConvertSetInputMedia(job, argv[2]) <= 0)
        return 3;
    if (argc >= 6 && apiMediaConvertSetCutTime(job, std::atoll(argv[4]), std::atoll(argv[5])) <= 0)
        return 3;
    if (argc >= 7 && apiMediaConvertSetVcodec(job, argv[6]) <= 0)
        return 3;
    if (apiMediaConvertSetOutputPath(job, argv[3]) <= 0)
        return 3;
    const int rc = apiMediaConvertStart(job);
    apiMediaConvertClose(job);
    std::printf("%d\n", rc);
    return 0;
}

int join(int argc, char** argv) {
    if (argc < 4)
        return 2;
    JOIN_HANDLE job = apiMediaJoinCreate();
    for (int i = 3; i < argc; ++i)
        if (!apiMediaJoinAddMediaClip(job, argv[i], 0, 0))
            return 3;
    if (apiMediaJoinSetOutputPath(job, argv[2]) <= 0)
        return 3;
    const int rc = apiMediaJoinStart(job);
    apiMediaJoinClose(job);
    std::printf("%d\n", rc);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (const char* limit = std::getenv("CLIPWRIGHT_FILE_SIZE_LIMIT")) {
        // The write past the limit fails with EFBIG instead of killing the process, as a full disk's would.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlim_t bytes = static_cast<rlim_t>(std::atoll(limit));
        const rlimit value{bytes, bytes};
        if (setrlimit(RLIMIT_FSIZE, &value) != 0)
            return 4;
    }
    if (argc >= 2 && std::strcmp(argv[1], "convert") == 0)
        return convert(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "join") == 0)
        return join(argc, argv);
    return 2;
}
