#include "FontNameReader.h"

#include <cstdint>
#include <fstream>
#include <vector>

namespace mediacore {

namespace {
class Reader {
public:
    explicit Reader(const std::string& path) : _file(path, std::ios::binary) {}

    bool bytes(uint32_t offset, size_t count, std::vector<uint8_t>& out) {
        out.assign(count, 0);
        _file.clear();
        _file.seekg(offset);
        _file.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(count));
        return _file.good() || _file.gcount() == static_cast<std::streamsize>(count);
    }

    bool ok() const { return _file.is_open(); }

private:
    std::ifstream _file;
};

uint16_t u16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] << 8 | b[at + 1]);
}

uint32_t u32(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint32_t>(b[at]) << 24 | static_cast<uint32_t>(b[at + 1]) << 16 |
           static_cast<uint32_t>(b[at + 2]) << 8 | b[at + 3];
}

void appendUtf8(std::string& out, uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string fromUtf16be(const std::vector<uint8_t>& b) {
    std::string out;
    for (size_t i = 0; i + 1 < b.size(); i += 2) {
        uint32_t c = u16(b, i);
        if (c >= 0xD800 && c < 0xDC00 && i + 3 < b.size()) {
            uint32_t low = u16(b, i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        appendUtf8(out, c);
    }
    return out;
}

std::string fromLatin1(const std::vector<uint8_t>& b) {
    std::string out;
    for (uint8_t c : b)
        appendUtf8(out, c);
    return out;
}
} // namespace

std::string FontNameReader::read(const std::string& path) {
    Reader file(path);
    std::vector<uint8_t> b;
    if (!file.ok() || !file.bytes(0, 12, b))
        return {};
    uint32_t face = 0;
    if (u32(b, 0) == 0x74746366) { // 'ttcf': a collection; its first face
        if (!file.bytes(12, 4, b))
            return {};
        face = u32(b, 0);
        if (!file.bytes(face, 12, b))
            return {};
    }
    const uint16_t tables = u16(b, 4);
    if (tables == 0 || tables > 512 || !file.bytes(face + 12, tables * 16u, b))
        return {};
    uint32_t nameOffset = 0, nameLength = 0;
    for (uint16_t t = 0; t < tables; ++t)
        if (u32(b, t * 16u) == 0x6E616D65) { // 'name'
            nameOffset = u32(b, t * 16u + 8);
            nameLength = u32(b, t * 16u + 12);
        }
    if (nameLength < 6 || nameLength > (1u << 24) || !file.bytes(nameOffset, nameLength, b))
        return {};
    const uint16_t count = u16(b, 2), storage = u16(b, 4);
    // Best first: full name (4) before family (1); Windows English, then any Windows or Unicode, then Mac Roman.
    std::string best;
    int bestScore = 0;
    for (uint16_t r = 0; r < count && 6u + r * 12u + 12u <= b.size(); ++r) {
        const size_t at = 6u + r * 12u;
        const uint16_t platform = u16(b, at), language = u16(b, at + 4), id = u16(b, at + 6);
        const uint16_t length = u16(b, at + 8), offset = u16(b, at + 10);
        if ((id != 4 && id != 1) || size_t{storage} + offset + length > b.size() || length == 0)
            continue;
        int score = (id == 4 ? 10 : 0) + (platform == 3 ? (language == 0x409 ? 3 : 2) : platform == 0 ? 2 : 1);
        if (platform > 3 || score <= bestScore)
            continue;
        std::vector<uint8_t> text(b.begin() + storage + offset, b.begin() + storage + offset + length);
        std::string name = platform == 1 ? fromLatin1(text) : fromUtf16be(text);
        if (!name.empty()) {
            best = name;
            bestScore = score;
        }
    }
    return best;
}

} // namespace mediacore
