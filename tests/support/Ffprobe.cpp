#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <array>
#include <cmath>
#include <cstdio>
#include <regex>

std::string captureOutput(const std::string& command, int* status) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        if (status)
            *status = -1;
        return output;
    }
    std::array<char, 65536> buffer{};
    size_t got;
    while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        output.append(buffer.data(), got);
    int rc = pclose(pipe);
    if (status)
        *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return output;
}

namespace {
double rational(const QString& text) {
    const auto parts = text.split('/');
    if (parts.size() == 2) {
        double den = parts[1].toDouble();
        return den == 0 ? 0 : parts[0].toDouble() / den;
    }
    return text.toDouble();
}

long long number(const QJsonValue& value) {
    return value.isString() ? value.toString().toLongLong() : static_cast<long long>(value.toDouble());
}
}  // namespace

const FfprobeStream* FfprobeResult::firstVideo() const {
    for (const auto& s : streams)
        if (s.codecType == "video" && !s.attachedPicture)
            return &s;
    return nullptr;
}

const FfprobeStream* FfprobeResult::firstAudio() const {
    for (const auto& s : streams)
        if (s.codecType == "audio")
            return &s;
    return nullptr;
}

int FfprobeResult::count(const std::string& codecType) const {
    int n = 0;
    for (const auto& s : streams)
        if (s.codecType == codecType && !s.attachedPicture)
            ++n;
    return n;
}

FfprobeResult ffprobe(const std::string& path) {
    FfprobeResult result;
    int status = 0;
    std::string json = captureOutput("ffprobe -v error -print_format json -show_format -show_streams " +
                                         MediaFixtures::quote(path) + " 2>/dev/null",
                                     &status);
    if (status != 0)
        return result;
    QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(json));
    if (!doc.isObject())
        return result;
    QJsonObject format = doc.object().value("format").toObject();
    result.formatName = format.value("format_name").toString().toStdString();
    result.duration = format.value("duration").toString().toDouble();
    result.size = number(format.value("size"));
    result.bitRate = number(format.value("bit_rate"));
    for (const QJsonValue& value : doc.object().value("streams").toArray()) {
        QJsonObject o = value.toObject();
        FfprobeStream s;
        s.index = o.value("index").toInt();
        s.codecType = o.value("codec_type").toString().toStdString();
        s.codecName = o.value("codec_name").toString().toStdString();
        s.width = o.value("width").toInt();
        s.height = o.value("height").toInt();
        s.frameRate = rational(o.value("avg_frame_rate").toString());
        s.sampleRate = o.value("sample_rate").toString().toInt();
        s.channels = o.value("channels").toInt();
        s.bitRate = number(o.value("bit_rate"));
        s.duration = o.value("duration").toString().toDouble();
        s.frameCount = number(o.value("nb_frames"));
        s.attachedPicture = o.value("disposition").toObject().value("attached_pic").toInt() != 0;
        QJsonObject tags = o.value("tags").toObject();
        s.language = tags.value("language").toString().toStdString();
        s.title = tags.value("title").toString().toStdString();
        if (tags.contains("rotate"))
            s.rotation = -tags.value("rotate").toString().toInt();
        for (const QJsonValue& side : o.value("side_data_list").toArray()) {
            QJsonObject sd = side.toObject();
            if (sd.contains("rotation"))
                s.rotation = sd.value("rotation").toInt();
        }
        result.streams.push_back(s);
    }
    result.ok = true;
    return result;
}

std::vector<double> ffprobePacketTimes(const std::string& path, const std::string& stream, const std::string& entry) {
    std::vector<double> times;
    std::string out = captureOutput("ffprobe -v error -select_streams " + stream + " -show_entries packet=" + entry +
                                    " -of csv=p=0 " + MediaFixtures::quote(path) + " 2>/dev/null");
    size_t start = 0;
    while (start < out.size()) {
        size_t end = out.find('\n', start);
        if (end == std::string::npos)
            end = out.size();
        std::string line = out.substr(start, end - start);
        if (!line.empty() && line != "N/A")
            times.push_back(std::stod(line));
        start = end + 1;
    }
    return times;
}

double meanAbsoluteDifference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    if (a.empty() || a.size() != b.size())
        return 1e9;
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i)
        sum += std::abs(int(a[i]) - int(b[i]));
    return sum / static_cast<double>(a.size());
}

bool ffmpegDecodesCleanly(const std::string& path) {
    int status = 0;
    std::string errors = captureOutput("ffmpeg -nostdin -hide_banner -v error -i " + MediaFixtures::quote(path) +
                                           " -f null - 2>&1",
                                       &status);
    return status == 0 && errors.empty();
}

double ffmpegMeanVolume(const std::string& path, double start, double length) {
    std::string range = " -ss " + std::to_string(start);
    if (length > 0)
        range += " -t " + std::to_string(length);
    std::string out = captureOutput("ffmpeg -nostdin -hide_banner" + range + " -i " + MediaFixtures::quote(path) +
                                    " -map 0:a:0 -af volumedetect -f null - 2>&1");
    std::smatch m;
    static const std::regex re("mean_volume: (-?[0-9.]+|-inf) dB");
    if (std::regex_search(out, m, re))
        return m[1] == "-inf" ? -INFINITY : std::stod(m[1]);
    return NAN;
}

std::vector<unsigned char> ffmpegFrameRgb(const std::string& path, double seconds, int* width, int* height) {
    FfprobeResult info = ffprobe(path);
    const FfprobeStream* video = info.firstVideo();
    std::vector<unsigned char> pixels;
    if (!video)
        return pixels;
    // ffmpeg applies the display matrix by default, so swap the size of a quarter-turned stream.
    int w = video->width, h = video->height;
    if (std::abs(video->rotation) % 180 == 90)
        std::swap(w, h);
    std::string out = captureOutput("ffmpeg -nostdin -hide_banner -loglevel error -ss " + std::to_string(seconds) +
                                    " -i " + MediaFixtures::quote(path) +
                                    " -frames:v 1 -f rawvideo -pix_fmt rgb24 - 2>/dev/null");
    if (out.size() != static_cast<size_t>(w) * h * 3)
        return pixels;
    pixels.assign(out.begin(), out.end());
    if (width)
        *width = w;
    if (height)
        *height = h;
    return pixels;
}
