#pragma once

#include <atomic>
#include <functional>
#include <string>

namespace mediacore {

// An output written under a temporary name beside its target and renamed to the target on success. The rename
// never replaces a file: if the target exists by then, commit() fails. Until commit() succeeds the destructor
// removes the temporary file, so a stopped or failed job leaves nothing behind.
class TemporaryOutput {
public:
    TemporaryOutput() = default;
    TemporaryOutput(const TemporaryOutput&) = delete;
    TemporaryOutput& operator=(const TemporaryOutput&) = delete;
    ~TemporaryOutput();

    // Checks that the target can be written (its folder exists and is writable, no file is there yet) without
    // leaving anything behind. 0 or a negative AVERROR.
    static int checkTarget(const std::string& target);

    // A job's whole output: creates the temporary file for `target`, lets `write` fill it (given its path) and
    // commits it. A stop (`stop` set, or `write` returning AVERROR_EXIT) is the user's choice, not a failure: it
    // leaves no file and returns 0. Otherwise 1 once the target exists, or a negative AVERROR.
    static int produce(const std::string& target, const std::atomic<bool>& stop,
                       const std::function<int(const std::string&)>& write);

    // Removes the temporary files of ours in `folder` whose writing process has ended (killed while it wrote);
    // nothing else, and nothing of a process still running.
    static void removeStale(const std::string& folder);

    // Creates the empty temporary file ("<folder>/.<name>.<pid>-<random>.part") for `target`, after removing
    // stale ones from the folder.
    int create(const std::string& target);
    const std::string& path() const { return _path; }
    // Renames the temporary file to the target without replacing anything.
    int commit();
    // Removes the temporary file now.
    void discard();

private:
    std::string _path;
    std::string _target;
    bool _committed = false;
};

} // namespace mediacore
