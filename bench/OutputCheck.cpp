#include "OutputCheck.h"

#include "BenchProcess.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            result.push_back(line);
    return result;
}

// The lines of a hash muxer's output ("0,v,MD5=..."): anything else the program printed is left out.
std::vector<std::string> hashLines(const std::vector<std::string>& args) {
    std::vector<std::string> result;
    for (const std::string& line : lines(BenchProcess::run(args, true).output))
        if (line.find("MD5=") != std::string::npos)
            result.push_back(line);
    return result;
}

// The checksum of each decoded picture of the first video stream, in order.
std::vector<std::string> pictureHashes(const std::string& path) {
    std::vector<std::string> result;
    const BenchProcess::Result run =
        BenchProcess::run({"ffmpeg", "-nostdin", "-v", "error", "-i", path, "-map", "0:v:0", "-f", "framemd5", "-"}, true);
    for (const std::string& line : lines(run.output))
        if (line[0] != '#' && line.find(',') != std::string::npos)
            result.push_back(line.substr(line.rfind(',') + 1));
    return result;
}

void mismatch(const std::string& what, const std::string& text) {
    std::printf("MISMATCH %s: %s\n", what.c_str(), text.c_str());
}

std::string seconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f s", value);
    return text;
}

// Both files' facts, side by side, after a difference.
void showBoth(const OutputCheck::Facts& engine, const OutputCheck::Facts& ffmpeg) {
    std::printf("  engine: %s\n  ffmpeg: %s\n", OutputCheck::describe(engine).c_str(),
                OutputCheck::describe(ffmpeg).c_str());
}

bool readable(const std::string& what, const std::string& path, const OutputCheck::Facts& facts) {
    if (!facts.ok)
        mismatch(what, "ffprobe cannot read " + path);
    return facts.ok;
}

} // namespace

OutputCheck::Facts OutputCheck::probe(const std::string& path) {
    Facts facts;
    const BenchProcess::Result run = BenchProcess::run(
        {"ffprobe", "-v", "error", "-count_packets", "-show_entries",
         "stream=codec_type,codec_name,profile,pix_fmt,width,height,sample_rate,channels,nb_read_packets,duration:"
         "format=duration",
         "-of", "default", path},
        true);
    facts.ok = run.status == 0;
    bool inFormat = false;
    for (const std::string& line : lines(run.output)) {
        if (line == "[STREAM]") {
            facts.streams.emplace_back();
            continue;
        }
        if (line == "[FORMAT]" || line == "[/STREAM]") {
            inFormat = line == "[FORMAT]";
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string key = line.substr(0, equals), value = line.substr(equals + 1);
        const double number = value == "N/A" ? -1 : std::atof(value.c_str());
        if (inFormat) {
            if (key == "duration")
                facts.duration = number;
            continue;
        }
        if (facts.streams.empty())
            continue;
        Stream& s = facts.streams.back();
        if (key == "codec_type")
            s.type = value;
        else if (key == "codec_name")
            s.codec = value;
        else if (key == "profile")
            s.profile = value;
        else if (key == "pix_fmt")
            s.pixelFormat = value;
        else if (key == "width")
            s.width = static_cast<int>(number);
        else if (key == "height")
            s.height = static_cast<int>(number);
        else if (key == "sample_rate")
            s.sampleRate = static_cast<int>(number);
        else if (key == "channels")
            s.channels = static_cast<int>(number);
        else if (key == "nb_read_packets")
            s.packets = static_cast<long>(number);
        else if (key == "duration")
            s.duration = number;
    }
    return facts;
}

std::vector<std::string> OutputCheck::decodedHashes(const std::string& path) {
    return hashLines({"ffmpeg", "-nostdin", "-v", "error", "-i", path, "-map", "0:v?", "-map", "0:a?", "-f",
                      "streamhash", "-hash", "md5", "-"});
}

std::vector<std::string> OutputCheck::packetHashes(const std::string& path) {
    return hashLines({"ffmpeg", "-nostdin", "-v", "error", "-i", path, "-map", "0:v?", "-map", "0:a?", "-c", "copy",
                      "-f", "streamhash", "-hash", "md5", "-"});
}

bool OutputCheck::sameDecoded(const std::string& what, const std::vector<std::string>& engine,
                              const std::vector<std::string>& ffmpeg) {
    std::vector<std::vector<std::string>> ours, theirs;
    for (const std::string& path : engine)
        ours.push_back(decodedHashes(path));
    for (const std::string& path : ffmpeg)
        theirs.push_back(decodedHashes(path));
    // How many of `all` decode otherwise than `one`.
    auto otherwise = [](const std::vector<std::vector<std::string>>& all, const std::vector<std::string>& one) {
        return std::count_if(all.begin(), all.end(), [&one](const auto& hashes) { return hashes != one; });
    };
    for (const auto& a : ours)
        for (const auto& b : theirs)
            if (!a.empty() && a == b) {
                std::printf("check %s: the same decoded streams as the ffmpeg program's (%zu streams; of %zu runs "
                            "each, %ld of the engine's and %ld of the ffmpeg program's came out otherwise)\n",
                            what.c_str(), a.size(), engine.size(), static_cast<long>(otherwise(ours, a)),
                            static_cast<long>(otherwise(theirs, a)));
                return true;
            }
    if (ours.empty() || theirs.empty() || ours.back().empty() || theirs.back().empty()) {
        mismatch(what, "no decoded streams to compare");
        return false;
    }
    // Nothing alike: the last runs' outputs, in detail.
    const std::vector<std::string>&a = ours.back(), &b = theirs.back();
    for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        const std::string x = i < a.size() ? a[i] : "(none)", y = i < b.size() ? b[i] : "(none)";
        if (x != y)
            mismatch(what, "decoded stream " + std::to_string(i) + " differs: engine " + x + ", ffmpeg " + y +
                               " (no other runs alike)");
    }
    const std::vector<std::string> pa = pictureHashes(engine.back()), pb = pictureHashes(ffmpeg.back());
    long differing = 0;
    for (size_t i = 0; i < std::min(pa.size(), pb.size()); ++i)
        if (pa[i] != pb[i] && differing++ == 0)
            std::printf("  the first picture that differs is picture %zu\n", i);
    std::printf("  pictures that differ: %ld; pictures: engine %zu, ffmpeg %zu\n", differing, pa.size(), pb.size());
    showBoth(probe(engine.back()), probe(ffmpeg.back()));
    return false;
}

bool OutputCheck::samePackets(const std::string& what, const std::string& engine, const std::string& ffmpeg,
                              Slack slack) {
    const std::vector<std::string> ours = packetHashes(engine), theirs = packetHashes(ffmpeg);
    bool same = !ours.empty() && ours == theirs;
    for (size_t i = 0; !same && i < std::max(ours.size(), theirs.size()); ++i) {
        const std::string a = i < ours.size() ? ours[i] : "(none)", b = i < theirs.size() ? theirs[i] : "(none)";
        if (a != b)
            mismatch(what, "packets of stream " + std::to_string(i) + " differ: engine " + a + ", ffmpeg " + b);
    }
    if (!same)
        showBoth(probe(engine), probe(ffmpeg));
    // The packets alone say nothing of their timing: the streams must also last as long.
    same = sameShape(what, engine, ffmpeg, slack) && same;
    if (same)
        std::printf("check %s: the same packets as the ffmpeg program's (%zu streams)\n", what.c_str(), ours.size());
    return same;
}

bool OutputCheck::sameShape(const std::string& what, const std::string& engine, const std::string& ffmpeg,
                            Slack slack) {
    const Facts ours = probe(engine), theirs = probe(ffmpeg);
    if (!readable(what, engine, ours) || !readable(what, ffmpeg, theirs))
        return false;
    bool same = true;
    auto differ = [&](const std::string& text) {
        mismatch(what, text);
        same = false;
    };
    if (ours.streams.size() != theirs.streams.size())
        differ("streams: engine " + std::to_string(ours.streams.size()) + ", ffmpeg " +
               std::to_string(theirs.streams.size()));
    for (size_t i = 0; i < std::min(ours.streams.size(), theirs.streams.size()); ++i) {
        const Stream &a = ours.streams[i], &b = theirs.streams[i];
        const std::string at = "stream " + std::to_string(i) + " ";
        auto text = [&](const char* name, const std::string& x, const std::string& y) {
            if (x != y)
                differ(at + name + ": engine " + x + ", ffmpeg " + y);
        };
        auto whole = [&](const char* name, long x, long y, long allowed) {
            if (std::labs(x - y) > allowed)
                differ(at + name + ": engine " + std::to_string(x) + ", ffmpeg " + std::to_string(y));
        };
        text("type", a.type, b.type);
        text("codec", a.codec, b.codec);
        text("profile", a.profile, b.profile);
        text("pixel format", a.pixelFormat, b.pixelFormat);
        whole("width", a.width, b.width, 0);
        whole("height", a.height, b.height, 0);
        whole("sample rate", a.sampleRate, b.sampleRate, 0);
        whole("channels", a.channels, b.channels, 0);
        if (a.type == "video")
            whole("pictures", a.packets, b.packets, slack.pictures);
        if (std::fabs(a.duration - b.duration) > slack.seconds)
            differ(at + "duration: engine " + seconds(a.duration) + ", ffmpeg " + seconds(b.duration));
    }
    if (std::fabs(ours.duration - theirs.duration) > slack.seconds)
        differ("duration: engine " + seconds(ours.duration) + ", ffmpeg " + seconds(theirs.duration));
    if (same)
        std::printf("check %s: the same shape as the ffmpeg program's output (%s)\n", what.c_str(),
                    describe(ours).c_str());
    else
        showBoth(ours, theirs);
    return same;
}

bool OutputCheck::holds(const std::string& what, const std::vector<std::string>& paths, long pictures,
                        double seconds, Slack slack) {
    if (paths.empty()) {
        mismatch(what, "no output");
        return false;
    }
    long counted = 0;
    double length = 0;
    bool ok = true;
    for (const std::string& path : paths) {
        const Facts facts = probe(path);
        if (!readable(what, path, facts)) {
            ok = false;
            continue;
        }
        const Stream* video = nullptr;
        for (const Stream& s : facts.streams)
            if (s.type == "video" && !video)
                video = &s;
        if (!video) {
            mismatch(what, "no video stream in " + path);
            ok = false;
        } else {
            counted += video->packets;
            length += video->duration;
            if (std::fabs(facts.duration - video->duration) > slack.seconds) {
                mismatch(what, path + " lasts " + ::seconds(facts.duration) + ", its video " +
                                   ::seconds(video->duration));
                ok = false;
            }
        }
        std::printf("  %s: %s\n", fs::path(path).filename().c_str(), describe(facts).c_str());
    }
    const std::string files = paths.size() == 1 ? "the output" : std::to_string(paths.size()) + " files";
    if (std::labs(counted - pictures) > slack.pictures) {
        mismatch(what, files + (paths.size() == 1 ? " holds " : " hold ") + std::to_string(counted) +
                           " pictures, not " + std::to_string(pictures));
        ok = false;
    }
    if (std::fabs(length - seconds) > slack.seconds) {
        mismatch(what, "the video of " + files + " lasts " + ::seconds(length) + ", not " + ::seconds(seconds));
        ok = false;
    }
    if (ok)
        std::printf("check %s: %s %s %ld pictures, %s video lasts %s\n", what.c_str(), files.c_str(),
                    paths.size() == 1 ? "holds" : "hold", counted, paths.size() == 1 ? "its" : "their",
                    ::seconds(length).c_str());
    return ok;
}

std::vector<std::string> OutputCheck::videoFilesUnder(const std::string& folder) {
    std::vector<std::string> files;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error)) {
        const std::string extension = it->path().extension().string();
        if (it->is_regular_file() && (extension == ".mp4" || extension == ".mov" || extension == ".mkv" ||
                                      extension == ".m4v" || extension == ".avi" || extension == ".ts"))
            files.push_back(it->path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::string> OutputCheck::added(const std::string& folder, const std::vector<std::string>& before) {
    std::vector<std::string> files;
    for (const std::string& file : videoFilesUnder(folder))
        if (std::find(before.begin(), before.end(), file) == before.end())
            files.push_back(file);
    return files;
}

std::string OutputCheck::describe(const Facts& facts) {
    std::string text;
    for (const Stream& s : facts.streams) {
        text += text.empty() ? "" : ", ";
        text += s.codec + (s.profile.empty() ? "" : " " + s.profile);
        if (s.type == "video")
            text += " " + s.pixelFormat + " " + std::to_string(s.width) + "x" + std::to_string(s.height) + " " +
                    std::to_string(s.packets) + " pictures";
        else if (s.type == "audio")
            text += " " + std::to_string(s.sampleRate) + " Hz " + std::to_string(s.channels) + " ch";
        text += " " + seconds(s.duration);
    }
    return text + "; container " + seconds(facts.duration);
}
