#include "ExactCopyPieces.h"

#include "CodecCatalog.h"
#include "Demuxer.h"
#include "EngineLog.h"
#include "SmartCut.h"
#include "StreamRecords.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace mediacore {

namespace {
// A range ending this close to the file's end runs to the end: callers compute it from a duration in float
// seconds.
constexpr int64_t kEndSlackUs = 1000;

bool runsToEnd(const JoinClip& clip) {
    return clip.fileDurationUs > 0 && clip.stopUs >= clip.fileDurationUs - kEndSlackUs;
}

bool everyPictureKey(AVCodecID codec) {
    const AVCodecDescriptor* descriptor = avcodec_descriptor_get(codec);
    return descriptor && (descriptor->props & AV_CODEC_PROP_INTRA_ONLY);
}
} // namespace

ExactCopyPieces::ExactCopyPieces(const std::atomic<bool>& stop) : _stop(stop) {}

ExactCopyPieces::~ExactCopyPieces() {
    if (_folder.empty())
        return;
    std::error_code ec;
    std::filesystem::remove_all(_folder, ec);
}

int ExactCopyPieces::makeFolder() {
    if (!_folder.empty())
        return 0;
    std::error_code ec;
    std::filesystem::path base = std::filesystem::temp_directory_path(ec);
    if (ec)
        base = "/tmp";
    std::string pattern = (base / "clipwright-pieces-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!mkdtemp(name.data()))
        return EngineLog::failure("copy join", AVERROR(errno), "cannot make a folder for the exact pieces");
    _folder = name.data();
    return 0;
}

int ExactCopyPieces::needsPiece(const JoinClip& clip, const AVOutputFormat* format, bool& needed) {
    needed = false;
    if (clip.wholeFile || !clip.hasVideo)
        return 0;
    const bool fromStart = clip.startUs <= 0;
    if (fromStart && runsToEnd(clip))
        return 0;
    Demuxer input;
    if (int rc = input.open(clip.path, &_stop); rc < 0)
        return rc;
    const AVStream* video = input.stream(input.firstVideoStream());
    if (everyPictureKey(video->codecpar->codec_id))
        return 0;
    needed = true;
    const AVCodecID codec = video->codecpar->codec_id;
    const std::string container = format ? format->name : "";
    if ((codec != AV_CODEC_ID_H264 && codec != AV_CODEC_ID_HEVC) ||
        (container != "mp4" && container != "mov" && container != "matroska")) {
        _reason = std::string("the range of ") + clip.path + " (" + avcodec_get_name(codec) + " in " + container +
                  ") cannot be cut exactly by copying";
        return kNeedsEncoding;
    }
    return 0;
}

int ExactCopyPieces::makePiece(const JoinClip& clip, JoinClip& piece) {
    if (int rc = makeFolder(); rc < 0)
        return rc;
    Demuxer input;
    if (int rc = input.open(clip.path, &_stop); rc < 0)
        return rc;
    ConvertSettings settings;
    settings.cutStartUs = clip.startUs;
    // A range to the file's end keeps its last picture wherever the start falls (SmartCut moves a range's end
    // with its start onto a picture's start).
    settings.cutStopUs = runsToEnd(clip) ? 0 : clip.stopUs;
    // Pieces are QuickTime files whatever the join writes: they store each packet's decoding time, which the
    // join then keeps (an encoded edge and the copied pictures after it reorder their pictures differently, so
    // the times cannot be worked out again from the presentation times alone).
    const std::string path = _folder + "/piece-" + std::to_string(_made + 1) + ".mov";
    settings.outputPath = path;
    const std::vector<int64_t> bitRates = StreamRecords::bitRates(input);
    std::atomic<int> progress{0};
    SmartCut cutter(settings, input, bitRates, _stop, progress);
    int rc = cutter.suits() ? cutter.run(path) : SmartCut::kEncodeInstead;
    if (rc == SmartCut::kEncodeInstead) {
        _reason = "the range of " + clip.path + " cannot be cut exactly by copying: " + cutter.reason();
        return kNeedsEncoding;
    }
    if (rc < 0)
        return rc;
    EngineLog::note("copy join, " + clip.path + " " + std::to_string(clip.startUs) + ".." +
                    std::to_string(clip.stopUs) + " µs: " + cutter.summary());
    piece = clip;
    piece.path = path;
    piece.wholeFile = true;
    piece.exactPiece = true;
    piece.startUs = 0;
    piece.stopUs = clip.lengthUs();
    piece.fileDurationUs = clip.lengthUs();
    ++_made;
    return 0;
}

int ExactCopyPieces::prepare(const JoinSettings& settings, const AVOutputFormat* format, JoinSettings& cut,
                             std::atomic<double>& progress, double progressShare) {
    cut = settings;
    _made = 0;
    _reason.clear();
    // Without pictures in the output the copy cuts the sound exactly as it is.
    if (CodecCatalog::isAudioOnly(settings.outputPath))
        return 0;
    std::vector<JoinClip*> ranged;
    for (JoinClip& clip : cut.clips) {
        bool needed = false;
        if (int rc = needsPiece(clip, format, needed); rc != 0)
            return rc;
        if (needed)
            ranged.push_back(&clip);
    }
    // Every clip is checked before anything is cut: one that cannot be cut makes the whole join encoded.
    for (size_t i = 0; i < ranged.size(); ++i) {
        if (_stop.load())
            return AVERROR_EXIT;
        JoinClip piece;
        if (int rc = makePiece(*ranged[i], piece); rc != 0)
            return rc;
        *ranged[i] = piece;
        progress.store(progressShare * static_cast<double>(i + 1) / static_cast<double>(ranged.size()));
    }
    return 0;
}

} // namespace mediacore
