#include "TemporaryOutput.h"

#include "EngineLog.h"

extern "C" {
#include <libavutil/error.h>
}

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <regex>
#include <signal.h>
#include <unistd.h>

namespace mediacore {

namespace fs = std::filesystem;

namespace {
std::string randomSuffix() {
    static thread_local std::mt19937_64 generator{std::random_device{}()};
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(generator()));
    return text;
}

// Creates `path` exclusively; 0 or a negative AVERROR.
int createExclusive(const std::string& path) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return AVERROR(errno);
    ::close(fd);
    return 0;
}

// ".<name>.<pid>-<16 hex digits>.part": the process id tells a file of a running job from one a killed process
// left behind.
std::string temporaryName(const std::string& target) {
    fs::path t(target);
    return (t.parent_path() /
            ("." + t.filename().string() + "." + std::to_string(::getpid()) + "-" + randomSuffix() + ".part"))
        .string();
}

// The writer's process id of a temporary file of ours, or 0 for any other name.
pid_t writerOf(const std::string& name) {
    static const std::regex ours(R"(^\..+\.([0-9]{1,10})-[0-9a-f]{16}\.part$)");
    std::smatch match;
    if (!std::regex_match(name, match, ours))
        return 0;
    const long long pid = std::stoll(match[1].str());
    return pid > 0 && pid <= INT32_MAX ? static_cast<pid_t>(pid) : 0;
}

bool processIsGone(pid_t pid) {
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}
} // namespace

void TemporaryOutput::removeStale(const std::string& folder) {
    std::error_code ec;
    for (fs::directory_iterator it(folder.empty() ? "." : folder, ec), end; !ec && it != end; it.increment(ec)) {
        const pid_t writer = writerOf(it->path().filename().string());
        if (writer == 0 || writer == ::getpid() || !processIsGone(writer))
            continue;
        std::error_code ignored;
        if (it->is_regular_file(ignored) && !it->is_symlink(ignored))
            fs::remove(it->path(), ignored);
    }
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
    // Writing is the only reliable test (permissions, read-only mounts, root's rights): create and remove a probe.
    std::string probe = temporaryName(target);
    int rc = createExclusive(probe);
    if (rc < 0)
        return EngineLog::failure("check output path", rc, "cannot write in " + folder.string());
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
    removeStale(fs::path(target).parent_path().string());
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::string candidate = temporaryName(target);
        rc = createExclusive(candidate);
        if (rc == AVERROR(EEXIST))
            continue;
        if (rc < 0)
            return EngineLog::failure("create temporary output", rc, candidate);
        _path = candidate;
        _target = target;
        _committed = false;
        return 0;
    }
    return EngineLog::failure("create temporary output", AVERROR(EEXIST), target);
}

int TemporaryOutput::commit() {
    if (_path.empty())
        return AVERROR(EINVAL);
    if (::renameat2(AT_FDCWD, _path.c_str(), AT_FDCWD, _target.c_str(), RENAME_NOREPLACE) != 0) {
        int error = errno;
        if (error != EINVAL && error != ENOSYS)
            return EngineLog::failure("rename output", AVERROR(error), _target);
        // A file system without RENAME_NOREPLACE: link() refuses an existing name just the same.
        if (::link(_path.c_str(), _target.c_str()) != 0)
            return EngineLog::failure("rename output", AVERROR(errno), _target);
        ::unlink(_path.c_str());
    }
    _committed = true;
    _path.clear();
    return 0;
}

void TemporaryOutput::discard() {
    if (!_path.empty() && !_committed)
        ::unlink(_path.c_str());
    _path.clear();
}

} // namespace mediacore
