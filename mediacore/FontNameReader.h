#pragma once

#include <string>

namespace mediacore {

// The name of the face in a TrueType / OpenType font file (.ttf, .otf; the first face of a .ttc collection),
// read from its 'name' table: the full name ("DejaVu Serif Bold"), else the family name, as UTF-8. The subtitle
// renderer picks fonts by these names.
class FontNameReader {
public:
    // Empty when the file cannot be read or holds no usable name.
    static std::string read(const std::string& path);
};

} // namespace mediacore
