#pragma once

#include <atomic>
#include <functional>
#include <string>

namespace mediacore {

// An output written under a temporary name beside its target and renamed to the target on success. The rename
// never replaces a file: if the target exists by then, commit() fails. Until commit() succeeds the destructor
// removes the temporary file, so a stopped or failed job leaves nothing behind.
//
// The temporary file is locked (flock) while it exists, which is how another job, in this process or any other
// (a sandbox or container sharing the folder), tells a live one from one a killed process left behind. The
// folder is held open, so a folder renamed while the job runs still gets its output (or loses its temporary file).
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

    // Removes the temporary files of ours in `folder` whose writer has ended (killed while it wrote): named as
    // ours, owned by this user and not locked; nothing else.
    static void removeStale(const std::string& folder);

    // Creates and locks the empty temporary file ("<folder>/.<name>.<16 hex digits>.clipwright-part", the name
    // shortened where the whole would not fit the file system's name length) for `target`, after removing stale
    // ones from the folder.
    int create(const std::string& target);
    const std::string& path() const { return _path; }
    // Renames the temporary file to the target without replacing anything.
    int commit();
    // Removes the temporary file now.
    void discard();

private:
    std::string _path;
    std::string _name;       // the temporary file's name in its folder
    std::string _targetName; // the target's name in the same folder
    int _folder = -1;        // the folder, held open wherever it moves
    int _lock = -1;          // the temporary file, open and locked until it is committed or removed
    bool _committed = false;
};

} // namespace mediacore
