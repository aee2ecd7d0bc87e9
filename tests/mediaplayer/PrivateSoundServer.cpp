#include "PrivateSoundServer.h"

#include "support/MediaFixtures.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

namespace {

extern "C" char** environ;

// The process environment with `extra` (NAME=value) put in place of any variable of the same name.
std::vector<std::string> environmentWith(const std::vector<std::string>& extra) {
    std::vector<std::string> result;
    for (char** e = environ; e && *e; ++e) {
        const std::string entry(*e);
        const std::string name = entry.substr(0, entry.find('='));
        bool replaced = false;
        for (const std::string& x : extra)
            replaced = replaced || x.compare(0, name.size() + 1, name + "=") == 0;
        if (!replaced)
            result.push_back(entry);
    }
    result.insert(result.end(), extra.begin(), extra.end());
    return result;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> result;
    for (std::string& s : strings)
        result.push_back(s.data());
    result.push_back(nullptr);
    return result;
}

// Starts `program` with `args` and `env`; stdout goes to `outFd` (or the log file), stderr to the log file. The
// child is killed when this process dies.
pid_t spawn(const std::string& program, std::vector<std::string> args, std::vector<std::string> env,
            const std::string& logPath, int outFd) {
    args.insert(args.begin(), program);
    std::vector<char*> argv = pointers(args);
    std::vector<char*> envp = pointers(env);
    const int logFd = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Only async-signal-safe calls from here on.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(127);
        const int devNull = ::open("/dev/null", O_RDONLY);
        ::dup2(devNull, 0);
        ::dup2(outFd >= 0 ? outFd : logFd, 1);
        ::dup2(logFd, 2);
        ::execve(program.c_str(), argv.data(), envp.data());
        ::_exit(127);
    }
    if (logFd >= 0)
        ::close(logFd);
    return pid;
}

void end(pid_t& pid) {
    if (pid <= 0)
        return;
    ::kill(pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (::waitpid(pid, nullptr, WNOHANG) == pid) {
            pid = -1;
            return;
        }
        ::usleep(20000);
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    pid = -1;
}

} // namespace

std::string PrivateSoundServer::findProgram(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const std::string candidate = folder + "/" + program;
        if (!folder.empty() && ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

bool PrivateSoundServer::start(std::string* error) {
    const std::string program = findProgram("pulseaudio");
    const std::string pactl = findProgram("pactl");
    if (program.empty() || pactl.empty()) {
        *error = "pulseaudio or pactl is not installed";
        return false;
    }
    _folder = MediaFixtures::freshDir("clipwright-sound");
    // The server's runtime, state and cookie stay in the temporary folder.
    const std::vector<std::string> env =
        environmentWith({"XDG_RUNTIME_DIR=" + _folder, "PULSE_RUNTIME_PATH=" + _folder, "PULSE_STATE_PATH=" + _folder,
                         "HOME=" + _folder, "XDG_CONFIG_HOME=" + _folder});
    _pid = spawn(program,
                 {"--daemonize=no", "--exit-idle-time=-1", "-n", "--use-pid-file=no", "--disallow-exit",
                  "--disable-shm", "--log-target=stderr", "--file=/dev/null",
                  "--load=module-null-sink sink_name=clipwright_null rate=48000 channels=2",
                  "--load=module-native-protocol-unix auth-anonymous=1 socket=" + _folder + "/native"},
                 env, _folder + "/server.log", -1);
    if (_pid <= 0) {
        *error = "could not start pulseaudio";
        return false;
    }
    const std::vector<std::string> clientEnv = environmentWith({"PULSE_SERVER=" + address(), "HOME=" + _folder});
    for (int attempt = 0; attempt < 200; ++attempt) {
        pid_t probe = spawn(pactl, {"info"}, clientEnv, _folder + "/pactl.log", -1);
        int status = 0;
        ::waitpid(probe, &status, 0);
        if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
            return true;
        if (::waitpid(_pid, nullptr, WNOHANG) == _pid) {
            _pid = -1;
            break;
        }
        ::usleep(50000);
    }
    *error = "the sound server did not answer; its log is in " + _folder + "/server.log";
    return false;
}

void PrivateSoundServer::stop() {
    end(_pid);
}

PrivateSoundServer::~PrivateSoundServer() {
    stop();
    if (!_folder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(_folder, ignored);
    }
}

SoundRecorder::SoundRecorder(const PrivateSoundServer& server, int sampleRate) : _server(server), _rate(sampleRate) {}

SoundRecorder::~SoundRecorder() {
    stop();
}

bool SoundRecorder::start(std::string* error) {
    const std::string parec = PrivateSoundServer::findProgram("parec");
    if (parec.empty()) {
        *error = "parec is not installed";
        return false;
    }
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        *error = std::strerror(errno);
        return false;
    }
    const std::vector<std::string> env =
        environmentWith({"PULSE_SERVER=" + _server.address(), "HOME=" + _server.folder()});
    _pid = spawn(parec,
                 {"--device=" + _server.monitorSource(), "--format=float32le", "--rate=" + std::to_string(_rate),
                  "--channels=1", "--raw", "--latency-msec=5", "--process-time-msec=5"},
                 env, _server.folder() + "/parec.log", fds[1]);
    ::close(fds[1]);
    if (_pid <= 0) {
        ::close(fds[0]);
        *error = "could not start parec";
        return false;
    }
    _reader = std::thread([this, fd = fds[0]] { read(fd); });
    return true;
}

void SoundRecorder::stop() {
    end(_pid);
    if (_reader.joinable())
        _reader.join();
}

void SoundRecorder::read(int fd) {
    std::vector<char> chunk(1 << 14);
    std::vector<char> pending;
    while (true) {
        const ssize_t got = ::read(fd, chunk.data(), chunk.size());
        if (got <= 0) {
            if (got < 0 && errno == EINTR)
                continue;
            break;
        }
        const Clock::time_point now = Clock::now();
        pending.insert(pending.end(), chunk.begin(), chunk.begin() + got);
        const size_t whole = pending.size() / sizeof(float);
        std::lock_guard lock(_mutex);
        const size_t before = _samples.size();
        _samples.resize(before + whole);
        std::memcpy(_samples.data() + before, pending.data(), whole * sizeof(float));
        pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(whole * sizeof(float)));
        if (whole > 0)
            _pieces.push_back(Piece{static_cast<int64_t>(_samples.size()), now});
    }
    ::close(fd);
}

std::vector<float> SoundRecorder::samples() const {
    std::lock_guard lock(_mutex);
    return _samples;
}

SoundRecorder::Clock::time_point SoundRecorder::timeOfSample(int64_t index) const {
    std::lock_guard lock(_mutex);
    auto piece =
        std::upper_bound(_pieces.begin(), _pieces.end(), index, [](int64_t i, const Piece& p) { return i < p.end; });
    if (piece == _pieces.end())
        return _pieces.empty() ? Clock::time_point{} : _pieces.back().arrived;
    return piece->arrived - std::chrono::microseconds((piece->end - index) * 1000000 / _rate);
}

int64_t SoundRecorder::sampleAt(Clock::time_point when) const {
    std::lock_guard lock(_mutex);
    int64_t begin = 0;
    for (const Piece& piece : _pieces) {
        const Clock::time_point start =
            piece.arrived - std::chrono::microseconds((piece.end - begin) * 1000000 / _rate);
        if (when <= start)
            return begin;
        if (when < piece.arrived)
            return begin +
                   std::chrono::duration_cast<std::chrono::microseconds>(when - start).count() * _rate / 1000000;
        begin = piece.end;
    }
    return begin;
}
