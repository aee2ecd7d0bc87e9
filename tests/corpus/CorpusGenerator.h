#pragma once

#include <string>
#include <vector>

// A corpus of damaged, truncated and odd media made at test time from small clips: truncations at many offsets,
// bytes flipped in headers and bodies, odd sizes and pixel formats, odd declared durations and timestamp gaps,
// and files under awkward names. Nothing large: every file is a second or two of a small picture.
struct CorpusFile {
    std::string path;
    std::string kind; // how it was made, for messages
};

class CorpusGenerator {
public:
    // Makes (once per fixture folder) and lists the corpus's files whose names hold `only` (all of them when it is
    // empty), after the intact clip every join starts with. A file's bytes do not depend on `only`.
    static std::vector<CorpusFile> all(const std::string& only = {});
};
