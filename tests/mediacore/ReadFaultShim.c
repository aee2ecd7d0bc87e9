// Loaded with LD_PRELOAD into a job runner: fails or cuts short the reads of one file past an offset, as a failing
// disk or a file truncated by another program would.
//   CLIPWRIGHT_FAULT_FILE    the file's path (as /proc/self/fd shows it)
//   CLIPWRIGHT_FAULT_OFFSET  the byte offset past which reads are hit
//   CLIPWRIGHT_FAULT_MODE    "eio": the read fails with EIO; "shrink": the file is truncated to the offset first
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <unistd.h>

typedef ssize_t (*ReadFunction)(int, void*, size_t);

static int isTheFile(int fd, const char* file) {
    char link[64];
    char target[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    ssize_t length = readlink(link, target, sizeof target - 1);
    if (length <= 0)
        return 0;
    target[length] = '\0';
    return strcmp(target, file) == 0;
}

ssize_t read(int fd, void* buffer, size_t count) {
    static ReadFunction real = NULL;
    static int shrunk = 0;
    if (!real)
        real = (ReadFunction)dlsym(RTLD_NEXT, "read");
    const char* file = getenv("CLIPWRIGHT_FAULT_FILE");
    const char* offsetText = getenv("CLIPWRIGHT_FAULT_OFFSET");
    const char* mode = getenv("CLIPWRIGHT_FAULT_MODE");
    if (file && offsetText && mode && isTheFile(fd, file)) {
        const off_t offset = (off_t)atoll(offsetText);
        const off_t at = lseek(fd, 0, SEEK_CUR);
        if (at >= 0 && at + (off_t)count > offset) {
            if (strcmp(mode, "eio") == 0) {
                errno = EIO;
                return -1;
            }
            if (strcmp(mode, "shrink") == 0 && !shrunk) {
                shrunk = 1;
                if (truncate(file, offset) != 0)
                    return -1;
            }
        }
    }
    return real(fd, buffer, count);
}
