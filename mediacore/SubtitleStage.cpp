#include "SubtitleStage.h"

#include "FontNameReader.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>

namespace mediacore {

namespace {
constexpr int kDefaultScriptHeight = 288; // libass's PlayResY when a script gives none
constexpr int kShadowPixels = 2;

// A name safe inside the override list: the list is split at commas and each item at its last '='.
std::string cleanName(const std::string& name) {
    std::string clean;
    for (char c : name)
        if (c != ',' && c != '=' && static_cast<unsigned char>(c) >= 0x20)
            clean += c;
    return clean;
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}
// A folder that holds the one font file (as a link) for libass, which loads every font of the folder it is
// given: pointed at the system's font folder, each graph built would load dozens of fonts. One folder per font,
// named after its path, kept for the next graph (and the next run) under the temporary folder.
std::string singleFontFolder(const std::string& fontFile) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path font = fs::absolute(fs::path(fontFile), ec);
    if (ec)
        return "";
    const fs::path folder = fs::temp_directory_path(ec) / ("clipwright-fonts-" + std::to_string(::getuid())) /
                            std::to_string(std::hash<std::string>{}(font.string()));
    const fs::path link = folder / font.filename();
    if (fs::is_symlink(fs::symlink_status(link, ec)) && fs::read_symlink(link, ec) == font)
        return folder.string();
    fs::create_directories(folder, ec);
    // Another graph may be making the same link at the same moment: make it under a private name, then rename.
    const fs::path part = folder / (".link-" + std::to_string(::getpid()) + "-" + font.filename().string());
    fs::remove(part, ec);
    fs::create_symlink(font, part, ec);
    if (!ec)
        fs::rename(part, link, ec);
    if (ec) {
        fs::remove(part, ec);
        return font.parent_path().string(); // as before: the font's own folder
    }
    return folder.string();
}
} // namespace

bool SubtitleStage::isScript(const std::string& path) {
    const std::string extension = lower(std::filesystem::path(path).extension().string());
    return extension == ".ass" || extension == ".ssa";
}

int SubtitleStage::scriptHeight(const std::string& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    std::string line;
    for (int lines = 0; lines < 200 && std::getline(file, line); ++lines) {
        if (lower(line).rfind("playresy:", 0) == 0) {
            int value = std::atoi(line.c_str() + 9);
            return value > 0 ? value : kDefaultScriptHeight;
        }
        if (line.rfind("[Events]", 0) == 0)
            break;
    }
    return kDefaultScriptHeight;
}

std::string SubtitleStage::assColour(uint32_t word) {
    char text[16];
    std::snprintf(text, sizeof text, "&H00%02X%02X%02X", (word >> 8) & 0xFF, (word >> 16) & 0xFF, word >> 24);
    return text;
}

std::string SubtitleStage::forceStyle(const SUBTITLE_PARAM& subtitle, int width, int height) {
    const std::string path(subtitle.path);
    std::string style;
    auto add = [&style](const std::string& item) { style += (style.empty() ? "" : ",") + item; };
    const int row = subtitle.position >= 0 ? std::min(subtitle.position, std::max(0, height - 1)) : -1;
    if (isScript(path)) {
        if (row >= 0) {
            // Alignment 6 is libass's own code for top centre (its override list is read in that code).
            add("Alignment=6");
            add("MarginV=" + std::to_string(row * scriptHeight(path) / std::max(1, height)));
        }
        return style;
    }
    add("PlayResX=" + std::to_string(width));
    add("PlayResY=" + std::to_string(height));
    const std::string font = subtitle.szFontFile[0] ? cleanName(FontNameReader::read(subtitle.szFontFile)) : "";
    if (!font.empty())
        add("FontName=" + font);
    if (subtitle.fontsize > 0)
        add("FontSize=" + std::to_string(std::min(subtitle.fontsize, height)));
    add("PrimaryColour=" + assColour(subtitle.fontclr));
    add("BackColour=" + assColour(subtitle.shadowclr));
    add("Shadow=" + std::to_string(subtitle.shadow ? kShadowPixels : 0));
    if (row >= 0) {
        add("Alignment=6");
        add("MarginV=" + std::to_string(row));
    }
    return style;
}

void SubtitleStage::append(FilterGraphPlan& plan, const SUBTITLE_PARAM& subtitle, int width, int height,
                           int64_t graphStartUs) {
    FilterGraphPlan::Options options = {{"filename", subtitle.path}};
    std::error_code ec;
    if (subtitle.szFontFile[0] && !isScript(subtitle.path) &&
        std::filesystem::is_regular_file(std::filesystem::path(subtitle.szFontFile), ec)) {
        const std::string folder = singleFontFolder(subtitle.szFontFile);
        if (!folder.empty())
            options.push_back({"fontsdir", folder});
    }
    std::string style = forceStyle(subtitle, width, height);
    if (!style.empty())
        options.push_back({"force_style", style});
    // The shift is exact in microseconds: TB is the frames' time base in seconds.
    const std::string shift = std::to_string(graphStartUs) + "/(1000000*TB)";
    if (graphStartUs != 0)
        plan.append("setpts", {{"expr", "PTS+" + shift}});
    plan.append("subtitles", std::move(options));
    if (graphStartUs != 0)
        plan.append("setpts", {{"expr", "PTS-" + shift}});
}

} // namespace mediacore
