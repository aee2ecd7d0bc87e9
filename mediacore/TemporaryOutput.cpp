#include "TemporaryOutput.h"

#include "EngineLog.h"

extern "C" {
#include <libavutil/error.h>
}

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <regex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mediacore {

namespace fs = std::filesystem;

namespace {
constexpr const char* kSuffix = ".clipwright-part";
constexpr size_t kRandomDigits = 16;

std::string randomSuffix() {
    static thread_local std::mt19937_64 generator{std::random_device{}()};
    char text[kRandomDigits + 1];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(generator()));
    return text;
}

// The longest name the folder's file system takes (255 bytes on the usual ones).
size_t longestName(const fs::path& folder) {
    const long longest = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    return longest > 0 ? static_cast<size_t>(longest) : 255;
}

// `name` cut to at most `bytes` bytes without splitting a UTF-8 character.
std::string shortened(const std::string& name, size_t bytes) {
    if (name.size() <= bytes)
        return name;
    size_t end = bytes;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
        --end;
    return name.substr(0, end);
}

// ".<name>.<16 hex digits>.clipwright-part" in the target's folder; the target's name is shortened where the
// whole would be longer than the file system takes, so any name it takes for the target can be written.
std::string temporaryName(const std::string& target) {
    const fs::path t(target);
    const size_t fixed = 2 + kRandomDigits + std::strlen(kSuffix);
    const size_t longest = longestName(t.parent_path());
    const std::string name = shortened(t.filename().string(), longest > fixed ? longest - fixed : 0);
    return "." + name + "." + randomSuffix() + kSuffix;
}

bool namedAsOurs(const std::string& name) {
    static const std::regex ours(R"(^\..*\.[0-9a-f]{16}\.clipwright-part$)");
    return std::regex_match(name, ours);
}

// Creates `name` in `folder` exclusively and locks it; the open descriptor, or a negative AVERROR.
int createLocked(int folder, const std::string& name) {
    const int fd = ::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0)
        return AVERROR(errno);
    // Nobody else holds the lock of a file that did not exist a moment ago.
    ::flock(fd, LOCK_EX | LOCK_NB);
    return fd;
}

// Whether `name` in `folder` is still the file open as `fd`.
bool stillNamed(int folder, const std::string& name, int fd) {
    struct stat named {
    }, open{};
    return ::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 && ::fstat(fd, &open) == 0 &&
           named.st_dev == open.st_dev && named.st_ino == open.st_ino;
}

fs::path folderOf(const std::string& target) {
    const fs::path folder = fs::path(target).parent_path();
    return folder.empty() ? fs::path(".") : folder;
}
} // namespace

void TemporaryOutput::removeStale(const std::string& folder) {
    const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return;
    std::error_code ec;
    for (fs::directory_iterator it(folder.empty() ? "." : folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!namedAsOurs(name))
            continue;
        const int fd = ::openat(dir, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat info {};
        // A live writer holds the lock; a dead one's was released with its process.
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 && stillNamed(dir, name, fd))
            ::unlinkat(dir, name.c_str(), 0);
        ::close(fd);
    }
    ::close(dir);
}

TemporaryOutput::~TemporaryOutput() {
    discard();
}

int TemporaryOutput::checkTarget(const std::string& target) {
    if (target.empty() || fs::path(target).filename().empty())
        return EngineLog::failure("check output path", AVERROR(EINVAL), "no file name: " + target);
    std::error_code ec;
    if (fs::exists(fs::symlink_status(target, ec)))
        return EngineLog::failure("check output path", AVERROR(EEXIST), target);
    fs::path folder = fs::path(target).parent_path();
    if (folder.empty())
        folder = ".";
    if (!fs::is_directory(folder, ec))
        return EngineLog::failure("check output path", AVERROR(ENOENT), "no such folder: " + folder.string());
    if (fs::path(target).filename().string().size() > longestName(folder))
        return EngineLog::failure("check output path", AVERROR(ENAMETOOLONG), target);
    // Writing is the only reliable test (permissions, read-only mounts, root's rights): create and remove a probe.
    const fs::path probe = folder / temporaryName(target);
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0)
        return EngineLog::failure("check output path", AVERROR(errno), "cannot write in " + folder.string());
    ::close(fd);
    ::unlink(probe.c_str());
    return 0;
}

int TemporaryOutput::produce(const std::string& target, const std::atomic<bool>& stop,
                             const std::function<int(const std::string&)>& write) {
    TemporaryOutput output;
    int rc = output.create(target);
    if (rc < 0)
        return rc;
    rc = write(output.path());
    if (stop.load() || rc == AVERROR_EXIT)
        return 0;
    if (rc < 0)
        return rc;
    if ((rc = output.commit()) < 0)
        return rc;
    return 1;
}

int TemporaryOutput::create(const std::string& target) {
    discard();
    int rc = checkTarget(target);
    if (rc < 0)
        return rc;
    const fs::path folder = folderOf(target);
    removeStale(folder.string());
    _folder = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (_folder < 0)
        return EngineLog::failure("create temporary output", AVERROR(errno), folder.string());
    for (int attempt = 0; attempt < 8; ++attempt) {
        const std::string name = temporaryName(target);
        const int fd = createLocked(_folder, name);
        if (fd == AVERROR(EEXIST))
            continue;
        if (fd < 0) {
            discard();
            return EngineLog::failure("create temporary output", fd, (folder / name).string());
        }
        // Another job's clean-up may have taken it for stale between the creation and the lock: then again.
        if (!stillNamed(_folder, name, fd)) {
            ::close(fd);
            continue;
        }
        _lock = fd;
        _name = name;
        _path = (folder / name).string();
        _targetName = fs::path(target).filename().string();
        _committed = false;
        return 0;
    }
    discard();
    return EngineLog::failure("create temporary output", AVERROR(EEXIST), target);
}

int TemporaryOutput::commit() {
    if (_path.empty())
        return AVERROR(EINVAL);
    // Through the folder's descriptor: the output lands in the folder the job was given even if it was renamed.
    if (::renameat2(_folder, _name.c_str(), _folder, _targetName.c_str(), RENAME_NOREPLACE) != 0) {
        int error = errno;
        if (error != EINVAL && error != ENOSYS)
            return EngineLog::failure("rename output", AVERROR(error), _targetName);
        // A file system without RENAME_NOREPLACE: linkat() refuses an existing name just the same.
        if (::linkat(_folder, _name.c_str(), _folder, _targetName.c_str(), 0) != 0)
            return EngineLog::failure("rename output", AVERROR(errno), _targetName);
        ::unlinkat(_folder, _name.c_str(), 0);
    }
    _committed = true;
    discard();
    return 0;
}

void TemporaryOutput::discard() {
    if (!_path.empty() && !_committed && _folder >= 0)
        ::unlinkat(_folder, _name.c_str(), 0);
    if (_lock >= 0)
        ::close(_lock);
    if (_folder >= 0)
        ::close(_folder);
    _lock = -1;
    _folder = -1;
    _path.clear();
    _name.clear();
}

} // namespace mediacore
