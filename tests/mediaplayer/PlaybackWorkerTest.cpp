#include "PlaybackWorker.h"
#include "AudioSampleBuffer.h"
#include "Demuxer.h"
#include "PlayerEdits.h"
#include "VideoFrameQueue.h"

#include "PlayerTestSupport.h"
#include "support/MediaFixtures.h"

extern "C" {
#include <libavutil/samplefmt.h>
}

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

// The decoding thread's sound, read the way the audio output reads it (no sound device is needed): 48 kHz
// stereo 16-bit, one millisecond is 48 frames of 4 bytes.
class PlaybackWorkerTest : public ::testing::Test {
protected:
    static constexpr int kRate = 48000;

    PlaybackWorkerTest() { sound.setFormat(kRate, 4); }

    std::unique_ptr<PlaybackWorker> makeWorker(const std::string& path, const mediacore::ConvertSettings& edits) {
        mediacore::AudioTarget target;
        target.sampleRate = kRate;
        target.channels = 2;
        target.sampleFormats = {AV_SAMPLE_FMT_S16};
        auto worker = std::make_unique<PlaybackWorker>(path, nullptr, pictures, sound, target);
        sound.setOnConsumed([w = worker.get()] { w->wake(); });
        pictures.setOnPopped([w = worker.get()] { w->wake(); });
        worker->setEdits(edits, 1, 1);
        return worker;
    }

    // Reads `ms` of sound of `serial` as it comes (pictures are taken off the queue as well, so decoding goes
    // on); returns the samples of the left channel and the time of the first one.
    std::vector<int16_t> readSound(uint64_t serial, int ms, int64_t* firstUs) {
        std::vector<int16_t> left;
        std::vector<int16_t> chunk(2 * 4800);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        *firstUs = -1;
        while (left.size() < static_cast<size_t>(ms) * kRate / 1000 && std::chrono::steady_clock::now() < deadline) {
            while (pictures.front(serial) && !pictures.front(serial)->isEnd())
                pictures.pop();
            int64_t pts = 0;
            const size_t bytes = sound.read(reinterpret_cast<uint8_t*>(chunk.data()), chunk.size() * 2, serial, &pts);
            if (bytes == 0) {
                if (sound.finished(serial))
                    break;
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                continue;
            }
            if (*firstUs < 0)
                *firstUs = pts;
            for (size_t i = 0; i < bytes / 4; ++i)
                left.push_back(chunk[i * 2]);
        }
        return left;
    }

    // The 2 s tone of the mp3 fixture placed at [startUs, endUs) of the file.
    static mediacore::ConvertSettings withMusic(int64_t startUs, int64_t endUs) {
        mediacore::ConvertSettings edits;
        mediacore::ConvertSettings::Music music;
        music.path = MediaFixtures::mp3WithCover();
        music.musicEndUs = 2000000;
        music.timelineStartUs = startUs;
        music.timelineEndUs = endUs;
        edits.music.push_back(music);
        return edits;
    }

    static double rms(const std::vector<int16_t>& samples, double fromS, double toS) {
        const size_t from = static_cast<size_t>(fromS * kRate), to = std::min(samples.size(), size_t(toS * kRate));
        double sum = 0;
        for (size_t i = from; i < to; ++i)
            sum += double(samples[i]) * samples[i];
        return to > from ? std::sqrt(sum / (to - from)) : 0;
    }

    VideoFrameQueue pictures{6};
    AudioSampleBuffer sound;
};

TEST_F(PlaybackWorkerTest, SoundAndPictureStartExactlyAtASeeksTarget) {
    auto worker = makeWorker(MediaFixtures::mp4(), mediacore::ConvertSettings());
    worker->start(0, 1);
    int64_t first = -1;
    std::vector<int16_t> samples = readSound(1, 200, &first);
    EXPECT_EQ(first, 0);
    EXPECT_GT(rms(samples, 0, 0.2), 1000); // the file's sine

    pictures.clear();
    sound.clear();
    worker->seek(1234567, 2);
    // The seek's result is the frame on screen at 1.2346 s (25 fps: the one at 1.2 s); a slow seek may show
    // nearer frames before it. It is looked at before any sound is taken: once the sound has played on, pictures
    // behind it are late and give way to later ones, as a player's should.
    ASSERT_TRUE(pictures.waitFor(
        2, [](const DecodedPicture& p) { return p.seekResult; }, std::chrono::seconds(10)));
    std::optional<DecodedPicture> result;
    while ((result = pictures.front(2)) && result->preview) {
        EXPECT_LT(result->ptsUs, 1200000);
        pictures.pop();
    }
    ASSERT_TRUE(result.has_value());
    EXPECT_TRUE(result->seekResult);
    EXPECT_EQ(result->ptsUs, 1200000);
    samples = readSound(2, 100, &first);
    EXPECT_NEAR(first, 1234567, 21); // to the sample
}

TEST_F(PlaybackWorkerTest, SeeksOvertakingOneAnotherOnABusyMachineStartExactlyAtTheirTargets) {
    // Every core is kept busy, so the decoding thread is slow and a seek often comes while the one before it is
    // still being decoded. The second seek of each pair lies behind the first, in the same group of pictures.
    std::atomic<bool> stop{false};
    std::vector<std::thread> busy;
    for (unsigned i = 0; i < std::max(2u, std::thread::hardware_concurrency()); ++i)
        busy.emplace_back([&stop] {
            volatile uint64_t spin = 0;
            while (!stop.load(std::memory_order_relaxed))
                spin = spin + 1;
        });
    auto worker = makeWorker(MediaFixtures::mp4(), mediacore::ConvertSettings());
    worker->start(1000000, 1);
    uint64_t serial = 1;
    int64_t first = -1;
    readSound(serial, 40, &first);
    for (int round = 0; round < 12; ++round) {
        // Settle where the pair starts: 1.0 s (a key frame; 25 fps, one every second).
        worker->seek(1000000, ++serial);
        readSound(serial, 40, &first);
        const int64_t ahead = 1900000, behind = 1500000 + 8000 * round;
        worker->seek(ahead, ++serial);
        std::this_thread::sleep_for(std::chrono::microseconds(500 * (round % 5)));
        worker->seek(behind, ++serial);
        ASSERT_TRUE(pictures.waitFor(
            serial, [](const DecodedPicture& p) { return p.seekResult; }, std::chrono::seconds(20)));
        // Seeks this close together may be answered with a preview first; the exact frame follows.
        std::optional<DecodedPicture> result;
        while ((result = pictures.front(serial)) && result->preview) {
            EXPECT_LE(result->ptsUs, behind);
            pictures.pop();
        }
        ASSERT_TRUE(result.has_value());
        EXPECT_TRUE(result->seekResult) << "round " << round;
        EXPECT_EQ(result->ptsUs, behind / 40000 * 40000) << "round " << round;
        const std::vector<int16_t> samples = readSound(serial, 60, &first);
        EXPECT_NEAR(first, behind, 21) << "round " << round; // to the sample
        EXPECT_GT(rms(samples, 0, 0.05), 1000) << "round " << round;
    }
    stop = true;
    for (std::thread& thread : busy)
        thread.join();
}

TEST_F(PlaybackWorkerTest, SeeksInQuickSuccessionShowPreviewsThenTheLastOnesExactFrame) {
    // A slider dragged forward then back through a clip with one key frame: each seek comes 2 ms after the
    // one before, long before its exact frame (decoded from the start) is there.
    auto worker = makeWorker(PlayerTestSupport::draggingClip(), mediacore::ConvertSettings());
    worker->start(0, 1);
    ASSERT_TRUE(pictures.waitFor(
        1, [](const DecodedPicture& p) { return p.seekResult; }, std::chrono::seconds(10)));
    std::vector<int64_t> targets;
    for (int i = 0; i <= 20; ++i)
        targets.push_back(3000000 + 100000 * i); // 3.0 .. 5.0 s
    for (int i = 19; i >= 10; --i)
        targets.push_back(3000000 + 100000 * i + 50000); // back to 4.05 s
    uint64_t serial = 1;
    for (int64_t target : targets) {
        worker->seek(target, ++serial);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ASSERT_TRUE(pictures.waitFor(
        serial, [](const DecodedPicture& p) { return p.seekResult; }, std::chrono::seconds(20)));
    // The last seek's pictures: previews (frames at or before its target), then its exact frame.
    int previews = 0;
    std::optional<DecodedPicture> picture;
    while ((picture = pictures.front(serial)) && !picture->seekResult) {
        EXPECT_TRUE(picture->preview);
        EXPECT_LE(picture->ptsUs, targets.back());
        ++previews;
        pictures.pop();
    }
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->ptsUs, 4040000); // the frame on screen at 4.05 s
    EXPECT_FALSE(picture->preview);
    EXPECT_GE(previews, 1);
}

// The pictures of `serial` up to and including its result, in the order they came.
static std::vector<DecodedPicture> untilResult(VideoFrameQueue& pictures, uint64_t serial) {
    std::vector<DecodedPicture> shown;
    if (!pictures.waitFor(
            serial, [](const DecodedPicture& p) { return p.seekResult; }, std::chrono::seconds(20)))
        return shown;
    while (std::optional<DecodedPicture> picture = pictures.front(serial)) {
        pictures.pop();
        shown.push_back(*picture);
        if (picture->seekResult)
            break;
    }
    return shown;
}

TEST_F(PlaybackWorkerTest, ASeekFarAlongShowsNearerFramesOnTheWayAndAStepOnlyItsOwnFrame) {
    // One key frame: the frame at 5 s is decoded from the start, which takes a while.
    auto worker = makeWorker(PlayerTestSupport::draggingClip(), mediacore::ConvertSettings());
    worker->start(0, 1);
    ASSERT_FALSE(untilResult(pictures, 1).empty());
    const auto asked = std::chrono::steady_clock::now();
    worker->seek(5000000, 2);
    std::vector<DecodedPicture> shown = untilResult(pictures, 2);
    const auto took = std::chrono::steady_clock::now() - asked;
    ASSERT_FALSE(shown.empty());
    EXPECT_TRUE(shown.back().seekResult);
    EXPECT_EQ(shown.back().ptsUs, 5000000);
    for (size_t i = 0; i + 1 < shown.size(); ++i) {
        EXPECT_TRUE(shown[i].preview);
        EXPECT_GT(shown[i].ptsUs, 0);
        EXPECT_LT(shown[i].ptsUs, 5000000);
    }
    // A seek that takes this long has shown a picture on its way.
    if (took > std::chrono::milliseconds(100)) {
        EXPECT_GE(shown.size(), 2u) << "took " << std::chrono::duration_cast<std::chrono::milliseconds>(took).count()
                                    << " ms";
    }

    // Steps to the neighbours at a person's pace, after the pictures ahead were decoded: forward from what was
    // decoded, back from the start. None shows anything before its own frame. (Steps in quick succession are a
    // run, as a slider's drag.)
    uint64_t serial = 2;
    for (int64_t target : {5040000, 4960000, 4920000}) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        worker->seek(target, ++serial);
        shown = untilResult(pictures, serial);
        ASSERT_EQ(shown.size(), 1u) << target;
        EXPECT_TRUE(shown.front().seekResult);
        EXPECT_EQ(shown.front().ptsUs, target);
    }
}

TEST_F(PlaybackWorkerTest, PausedNothingIsDecodedAheadSoAStepForwardCarriesOn) {
    auto worker = makeWorker(PlayerTestSupport::draggingClip(), mediacore::ConvertSettings());
    worker->setPlaying(false);
    worker->start(0, 1);
    ASSERT_FALSE(untilResult(pictures, 1).empty());
    worker->seek(3000000, 2);
    ASSERT_FALSE(untilResult(pictures, 2).empty());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(pictures.front(2).has_value()); // the result alone
    // Steps forward, each the next frame: none shows anything before its own frame, and nothing follows it.
    uint64_t serial = 2;
    for (int64_t target = 3040000; target <= 3200000; target += 40000) {
        worker->seek(target, ++serial);
        const std::vector<DecodedPicture> shown = untilResult(pictures, serial);
        ASSERT_EQ(shown.size(), 1u) << target;
        EXPECT_EQ(shown.front().ptsUs, target);
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        EXPECT_FALSE(pictures.front(serial).has_value()) << target;
    }
    // Playing, the pictures after it are decoded ahead.
    worker->setPlaying(true);
    EXPECT_TRUE(pictures.waitFor(
        serial, [](const DecodedPicture& p) { return p.ptsUs == 3240000; }, std::chrono::seconds(10)));
}

TEST_F(PlaybackWorkerTest, PausedAtTheStartAFewPicturesAreDecodedOnceAndAStepStillShowsItsOwnFrame) {
    // Opened at the file's start and paused, the decoder is warmed with a few pictures past the first, once.
    auto worker = makeWorker(PlayerTestSupport::draggingClip(), mediacore::ConvertSettings());
    worker->setPlaying(false);
    worker->start(0, 1);
    ASSERT_FALSE(untilResult(pictures, 1).empty());
    EXPECT_TRUE(pictures.waitFor(
        1, [](const DecodedPicture& p) { return p.ptsUs >= 160000; }, std::chrono::seconds(10)));
    // A step forward from there, a seek farther on, and a step from that: each ends on its own frame, a step
    // shows nothing else, and nothing is decoded after it.
    struct Case {
        int64_t target;
        bool step;
    };
    uint64_t serial = 1;
    for (const Case& c : {Case{40000, true}, Case{2000000, false}, Case{2040000, true}}) {
        worker->seek(c.target, ++serial);
        const std::vector<DecodedPicture> shown = untilResult(pictures, serial);
        ASSERT_FALSE(shown.empty()) << c.target;
        if (c.step) {
            EXPECT_EQ(shown.size(), 1u) << c.target;
        }
        EXPECT_EQ(shown.back().ptsUs, c.target);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        EXPECT_FALSE(pictures.front(serial).has_value()) << c.target;
    }
}

TEST_F(PlaybackWorkerTest, ADragOvertakingAnExactSeekEndsOnItsLastTargetsExactFrame) {
    // The exact seek leaves frames nothing refers to undecoded on its way; the drag that overtakes it carries on
    // from there for its previews. Its last target lies among the frames left out or next to them: the exact
    // frame is found all the same, whenever the drag comes.
    auto worker = makeWorker(PlayerTestSupport::draggingClip(), mediacore::ConvertSettings());
    worker->start(0, 1);
    ASSERT_FALSE(untilResult(pictures, 1).empty());
    uint64_t serial = 1;
    for (int round = 0; round < 8; ++round) {
        worker->seek(0, ++serial);
        ASSERT_FALSE(untilResult(pictures, serial).empty());
        worker->seek(4500000, ++serial);
        std::this_thread::sleep_for(std::chrono::milliseconds(2 + 6 * round));
        const int64_t last = 2000000 + 40000 * round;
        for (int64_t target : {last - 120000, last - 80000, last - 40000, last}) {
            worker->seek(target, ++serial);
            std::this_thread::sleep_for(std::chrono::milliseconds(3));
        }
        const std::vector<DecodedPicture> shown = untilResult(pictures, serial);
        ASSERT_FALSE(shown.empty()) << "round " << round;
        for (size_t i = 0; i + 1 < shown.size(); ++i)
            EXPECT_LE(shown[i].ptsUs, last) << "round " << round;
        EXPECT_TRUE(shown.back().seekResult) << "round " << round;
        EXPECT_EQ(shown.back().ptsUs, last) << "round " << round;
    }
}

TEST_F(PlaybackWorkerTest, MusicIsMixedInItsPlaceAndPlaysAloneWithoutTheMainSound) {
    mediacore::ConvertSettings edits = withMusic(500000, 1500000);
    edits.mainAudioDisabled = true;
    auto worker = makeWorker(MediaFixtures::mp4(), edits);
    worker->start(0, 1);
    int64_t first = -1;
    std::vector<int16_t> samples = readSound(1, 1900, &first);
    EXPECT_EQ(first, 0);
    EXPECT_LT(rms(samples, 0.0, 0.45), 50);  // the main sound is off
    EXPECT_GT(rms(samples, 0.6, 1.4), 1000); // the music in its place
    EXPECT_LT(rms(samples, 1.55, 1.9), 50);

    // From a seek into the music's place, the music is where it was: 0.4 s into its part.
    pictures.clear();
    sound.clear();
    worker->seek(900000, 2);
    samples = readSound(2, 800, &first);
    EXPECT_EQ(first, 900000);
    EXPECT_GT(rms(samples, 0.0, 0.55), 1000);
    EXPECT_LT(rms(samples, 0.65, 0.8), 50);
}

TEST_F(PlaybackWorkerTest, TheChosenSoundTrackIsPlayed) {
    // The mkv's first track is a 440 Hz tone, its second (stream 2) an 880 Hz one.
    // The tone's frequency from its zero crossings (two a period) between 0.1 and 0.5 s.
    auto hertz = [](const std::vector<int16_t>& samples) {
        int count = 0;
        for (size_t i = kRate / 10 + 1; i < size_t(kRate / 2); ++i)
            count += (samples[i - 1] < 0) != (samples[i] < 0);
        return count / (2 * 0.4);
    };
    struct Case {
        int streamIndex;
        int hertz;
    };
    for (const Case& c : {Case{-1, 440}, Case{1, 440}, Case{2, 880}, Case{7, 440} /* no such stream: the first */}) {
        mediacore::ConvertSettings edits;
        edits.audioStreamIndex = c.streamIndex;
        auto worker = makeWorker(MediaFixtures::twoAudioMkv(), edits);
        worker->start(0, 1);
        int64_t first = -1;
        const std::vector<int16_t> samples = readSound(1, 500, &first);
        ASSERT_GE(samples.size(), size_t(kRate / 2));
        EXPECT_NEAR(hertz(samples), c.hertz, c.hertz / 20.0) << "stream " << c.streamIndex;
        sound.setOnConsumed(nullptr);
        pictures.setOnPopped(nullptr);
        worker.reset();
        pictures.clear();
        sound.clear();
    }
}

TEST_F(PlaybackWorkerTest, MusicPlaysOverAFileWithoutSound) {
    mediacore::ConvertSettings edits = withMusic(1000000, 2000000);
    auto worker = makeWorker(MediaFixtures::noAudio(), edits);
    worker->start(500000, 1);
    int64_t first = -1;
    std::vector<int16_t> samples = readSound(1, 1500, &first);
    EXPECT_EQ(first, 500000);
    EXPECT_LT(rms(samples, 0.0, 0.45), 50);  // 0.5 .. 0.95 s: before the music's place
    EXPECT_GT(rms(samples, 0.6, 1.4), 1000); // 1.1 .. 1.9 s
    // It ends with the file: the end is marked once the music has nothing more, after its last sound.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::vector<uint8_t> rest(4800 * 4);
    while (!sound.finished(1) && std::chrono::steady_clock::now() < deadline) {
        int64_t pts = 0;
        if (sound.read(rest.data(), rest.size(), 1, &pts) == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        else
            EXPECT_LT(pts, 2000000); // nothing past the file's end
    }
    EXPECT_TRUE(sound.finished(1));
}

TEST_F(PlaybackWorkerTest, TheMainGainLeavesTheMusicAtItsLevel) {
    // The file's sine alone before 0.5 s, the music mixed in over it from 1.0 s.
    const std::string music = MediaFixtures::mp3WithCover();
    std::vector<double> mainAlone, withMusic;
    for (double gain : {1.0, 0.5, 0.0}) {
        PlayerEdits edits;
        ASSERT_EQ(edits.addDubbingMusic(music.c_str(), 0, 2000000, 1000000, 2000000, 0, 0, 1.0), 1);
        edits.setMainGain(gain);
        auto worker = makeWorker(MediaFixtures::mp4(), edits.settings());
        worker->start(0, 1);
        int64_t first = -1;
        const std::vector<int16_t> samples = readSound(1, 1900, &first);
        mainAlone.push_back(rms(samples, 0.05, 0.45));
        withMusic.push_back(rms(samples, 1.1, 1.8));
        sound.setOnConsumed(nullptr);
        pictures.setOnPopped(nullptr);
        worker.reset();
        pictures.clear();
        sound.clear();
    }
    EXPECT_GT(mainAlone[0], 1000);
    EXPECT_NEAR(mainAlone[1] / mainAlone[0], 0.5, 0.03);
    EXPECT_LT(mainAlone[2], 50);
    EXPECT_GT(withMusic[2], 1000); // the music alone, at its own level
}
