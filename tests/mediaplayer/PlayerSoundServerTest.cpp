#include "Dispatch.h"
#include "LQMoviePlayer.h"
#include "PlayerTestSupport.h"
#include "PrivateSoundServer.h"

#include "support/MediaFixtures.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <thread>
#include <vector>

// The player on a real sound server: a private PulseAudio server with a null sink, whose monitor is recorded while
// the player plays a clip with a known tone. Its own test program: the others run without a sound server.
namespace {

using Clock = SoundRecorder::Clock;

constexpr int kRate = 48000;
constexpr double kToneHz = 1000;
constexpr double kAmplitude = 0.5;
// Each second of the clip starts with this much silence: the tone's onset after it marks the second.
constexpr double kGapS = 0.03;
constexpr int64_t kFrameUs = 20000; // 50 fps

// 22 s, 96x64 at 50 fps, the 1 kHz tone in uncompressed PCM so its onsets are sharp.
std::string toneClip() {
    return MediaFixtures::make(
        "clip_tone_marks_stereo_22s.mkv",
        "-f lavfi -i testsrc2=size=96x64:rate=50:duration=22 "
        "-f lavfi -i \"aevalsrc=0.5*sin(2*PI*1000*t)*gte(mod(t\\,1)\\,0.03)|0.5*sin(2*PI*1000*t)*gte(mod(t\\,1)\\,0.03)"
        ":c=stereo:s=48000:d=22\" -c:v libx264 -preset ultrafast -g 50 -pix_fmt yuv420p -c:a pcm_s16le -shortest");
}

// One look at the player from the main thread.
struct Reading {
    Clock::time_point wall;
    int64_t clockUs;   // the playhead: the sound being heard
    int64_t pictureUs; // the picture on screen
    bool playing;
    bool settled; // playing for a while (the start of playback is not judged)
};

double rms(const std::vector<float>& samples, int64_t from, int64_t to) {
    from = std::max<int64_t>(0, from);
    to = std::min<int64_t>(static_cast<int64_t>(samples.size()), to);
    double sum = 0;
    for (int64_t i = from; i < to; ++i)
        sum += double(samples[i]) * samples[i];
    return to > from ? std::sqrt(sum / double(to - from)) : 0;
}

// The tone's frequency from its rising zero crossings.
double hertz(const std::vector<float>& samples, int64_t from, int64_t to) {
    int64_t first = -1, last = -1, count = 0;
    for (int64_t i = std::max<int64_t>(1, from); i < std::min<int64_t>(to, samples.size()); ++i) {
        if (samples[i - 1] < 0 && samples[i] >= 0) {
            if (first < 0)
                first = i;
            last = i;
            ++count;
        }
    }
    return count > 1 ? double(count - 1) * kRate / double(last - first) : 0;
}

// A second's mark: the tone setting in after the clip's 30 ms of silence. A break in the sound (the sink ran
// dry) is silence of another length and is told apart by it.
struct Onset {
    int64_t sample; // the first sample of the rise
    bool mark;      // after silence of the marks' length
};

std::vector<Onset> onsets(const std::vector<float>& samples) {
    std::vector<Onset> found;
    int64_t quiet = 0;
    for (int64_t i = 0; i < static_cast<int64_t>(samples.size()); ++i) {
        const float a = std::abs(samples[i]);
        if (a < 0.01f) {
            ++quiet;
            continue;
        }
        if (a > kAmplitude / 2) {
            if (quiet >= kRate * 10 / 1000) {
                int64_t start = i;
                while (start > 0 && std::abs(samples[start - 1]) >= 0.01f)
                    --start;
                const double silenceS = double(quiet) / kRate;
                found.push_back(Onset{start, std::abs(silenceS - kGapS) < 0.004});
            }
            quiet = 0;
        }
    }
    return found;
}

// The playhead at `when`, between the two readings around it while playing; nothing outside them or when the
// main thread was held up between them (the playhead is then not known well enough).
std::optional<double> clockAt(const std::vector<Reading>& readings, Clock::time_point when) {
    for (size_t i = 1; i < readings.size(); ++i) {
        const Reading& a = readings[i - 1];
        const Reading& b = readings[i];
        if (a.wall <= when && when <= b.wall && a.settled && b.settled &&
            b.wall - a.wall < std::chrono::milliseconds(10)) {
            const double span = std::chrono::duration<double>(b.wall - a.wall).count();
            const double into = std::chrono::duration<double>(when - a.wall).count();
            return (a.clockUs + (span > 0 ? (b.clockUs - a.clockUs) * into / span : 0)) / 1e6;
        }
    }
    return std::nullopt;
}

// The first wall time at which the playhead, playing, had reached `us`.
std::optional<Clock::time_point> wallAt(const std::vector<Reading>& readings, int64_t us) {
    for (const Reading& r : readings)
        if (r.settled && r.clockUs >= us)
            return r.wall;
    return std::nullopt;
}

} // namespace

// A private server with its recorder, and a player on the tone clip, paused at its start with its sound at hand.
class PlayerSoundServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (PrivateSoundServer::findProgram("pulseaudio").empty())
            GTEST_SKIP() << "pulseaudio is not installed (scripts/install-deps installs it): the player's sound on a "
                            "sound server is not tested";
        std::string error;
        ASSERT_TRUE(server.start(&error)) << error;
        setenv("PULSE_SERVER", server.address().c_str(), 1);
        const std::string clip = toneClip();
        ASSERT_FALSE(clip.empty());
        ASSERT_TRUE(recorder.start(&error)) << error;
        player = std::make_unique<LQMoviePlayer>(QString::fromStdString(clip), ViewRect{0, 0, 96, 64});
        ASSERT_TRUE(player->hasSoundOutput()) << "the player found no sound server";
        ASSERT_TRUE(PlayerTestSupport::waitUntilShown(*player));
        PlayerTestSupport::runFor(300);
    }

    void TearDown() override { player.reset(); }

    // Looks on for `seconds`, or until the playhead reaches `untilUs`.
    void watch(double seconds, int64_t untilUs = INT64_MAX) {
        const Clock::time_point until = Clock::now() + std::chrono::milliseconds(int(seconds * 1000));
        while (Clock::now() < until && player->currentTime().microseconds() < untilUs) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            // A look every half millisecond or so is plenty; a look is a call into the player's sound output,
            // which shares a lock with the thread that feeds the server.
            std::this_thread::sleep_for(std::chrono::microseconds(500));
            const Clock::time_point now = Clock::now();
            const bool playing = player->playerStatus() == LQMoviePlayer::Playing;
            readings.push_back(Reading{now, player->currentTime().microseconds(), player->shownPictureUs(), playing,
                                       playing && now - playedAt > std::chrono::milliseconds(300)});
        }
    }

    void play() {
        player->play();
        playedAt = Clock::now();
    }

    PrivateSoundServer server;
    SoundRecorder recorder{server, kRate};
    std::unique_ptr<LQMoviePlayer> player;
    std::vector<Reading> readings;
    Clock::time_point playedAt = Clock::now();
};

TEST_F(PlayerSoundServerTest, TheToneIsHeardAtItsLevelPausesAndThePictureFollowsIt) {
    play();
    watch(30, 6500000);
    player->pause();
    const Clock::time_point pausedAt = Clock::now();
    const int64_t pausedClockUs = player->currentTime().microseconds();
    watch(1.5);
    const Clock::time_point resumedAt = Clock::now();
    play();
    watch(60, 21000000);
    player->pause();
    watch(0.3);
    recorder.stop();
    const std::vector<float> samples = recorder.samples();
    ASSERT_GT(samples.size(), size_t(kRate) * 20) << "the recording is short";

    const std::vector<Onset> heard = onsets(samples);
    const auto breaks = std::count_if(heard.begin(), heard.end(), [](const Onset& o) { return !o.mark; });
    // Starting and resuming are onsets after silence too.
    std::printf("breaks in the sound (the sink ran dry): %d\n", std::max(0, int(breaks) - 2));

    // The picture on screen is the one whose time has come on the sound's clock: not ahead of it, and behind it
    // by at most a frame plus 40 ms (a break in the sound aside).
    std::vector<int64_t> lateUs;
    int ahead = 0;
    for (const Reading& r : readings) {
        if (!r.settled)
            continue;
        ahead += r.pictureUs > r.clockUs + 5000;
        lateUs.push_back(r.clockUs - r.pictureUs - kFrameUs);
    }
    ASSERT_GT(lateUs.size(), 100u);
    EXPECT_LT(ahead, int(lateUs.size() / 50)) << "pictures ahead of the sound";
    std::sort(lateUs.begin(), lateUs.end());
    std::printf("picture behind the sound heard, less one frame: median %.1f ms, 98%% within %.1f ms; ahead in %d "
                "of %zu looks\n",
                lateUs[lateUs.size() / 2] / 1000.0, lateUs[lateUs.size() * 98 / 100] / 1000.0, ahead, lateUs.size());
    EXPECT_LT(lateUs[lateUs.size() * 98 / 100], 40000) << "the picture lags the sound";

    // Each second's mark, where the recording heard it, against the playhead at that moment: the playhead is what
    // is heard, give or take the recording's latency, and does not drift from it over the 20 s (a pause included).
    // A mark soon after a break is left out: the output is finding its feet again there.
    std::vector<double> offsets;
    std::vector<std::pair<int, int64_t>> marks; // second, sample
    int64_t lastBreak = INT64_MIN / 2;
    for (const Onset& onset : heard) {
        if (!onset.mark)
            lastBreak = onset.sample;
        std::optional<double> clock = clockAt(readings, recorder.timeOfSample(onset.sample));
        if (!onset.mark || !clock || onset.sample - lastBreak < kRate / 2)
            continue;
        const int second = static_cast<int>(std::lround(*clock - kGapS));
        if (!marks.empty() && marks.back().first == second)
            continue;
        marks.emplace_back(second, onset.sample);
        offsets.push_back(*clock - (second + kGapS));
    }
    ASSERT_GE(offsets.size(), 12u) << "the seconds' marks were not heard";
    const auto [low, high] = std::minmax_element(offsets.begin(), offsets.end());
    std::vector<double> sorted = offsets;
    std::sort(sorted.begin(), sorted.end());
    std::printf("playhead - sound heard: %.1f .. %.1f ms (median %.1f) over %zu marks\n", *low * 1000, *high * 1000,
                sorted[sorted.size() / 2] * 1000, offsets.size());
    EXPECT_LT(*high - *low, 0.040) << "the playhead drifts from the sound heard";
    EXPECT_LT(std::abs(sorted[sorted.size() / 2]), 0.060) << "the playhead is not the sound heard";
    EXPECT_GE(marks.back().first - marks.front().first, 18) << "not 20 s of sound";

    // The tone itself, through each second heard whole: 1 kHz at the clip's level (0.5 peak, 0.354 RMS, within
    // 1 dB), judged by the median second.
    std::vector<double> tones, levels;
    for (size_t i = 0; i + 1 < marks.size(); ++i) {
        if (marks[i + 1].first != marks[i].first + 1)
            continue;
        const int64_t from = marks[i].second + kRate / 50, to = marks[i + 1].second - kRate * 4 / 100;
        const bool whole = std::none_of(heard.begin(), heard.end(), [&](const Onset& o) {
            return !o.mark && o.sample > marks[i].second && o.sample < marks[i + 1].second;
        });
        if (!whole)
            continue;
        tones.push_back(hertz(samples, from, to));
        levels.push_back(20 * std::log10(rms(samples, from, to) / (kAmplitude / std::sqrt(2.0))));
    }
    ASSERT_GE(tones.size(), 10u) << "too few whole seconds of sound";
    std::sort(tones.begin(), tones.end());
    std::sort(levels.begin(), levels.end());
    EXPECT_NEAR(tones[tones.size() / 2], kToneHz, kToneHz / 200);
    EXPECT_NEAR(levels[levels.size() / 2], 0.0, 1.0) << "dB against the clip's level";

    // Paused: silence from shortly after the call until playing again (the recording's times are good to a few ms), and
    // playing goes on where it stopped.
    const int64_t pauseFrom = recorder.sampleAt(pausedAt + std::chrono::milliseconds(150));
    const int64_t pauseTo = recorder.sampleAt(resumedAt - std::chrono::milliseconds(50));
    EXPECT_LT(rms(samples, pauseFrom, pauseTo), 0.001) << "sound while paused";
    EXPECT_GT(rms(samples, recorder.sampleAt(resumedAt + std::chrono::milliseconds(400)),
                  recorder.sampleAt(resumedAt + std::chrono::milliseconds(1400))),
              0.2)
        << "no sound after resuming";
    EXPECT_GE(pausedClockUs, 6500000);
    const auto resumedMark =
        std::find_if(marks.begin(), marks.end(), [&](const auto& m) { return m.first + kGapS > pausedClockUs / 1e6; });
    EXPECT_TRUE(resumedMark != marks.end() && recorder.timeOfSample(resumedMark->second) > resumedAt)
        << "the mark after the pause is not heard after resuming";
}

TEST_F(PlayerSoundServerTest, ASeekAndAVolumeChangeAreHeardSoonAfter) {
    play();
    // Just before a mark: what the server holds then has the mark in it.
    watch(30, 2930000);
    // Sought while playing: what the server held of the old position is dropped, not heard.
    const Clock::time_point soughtAt = Clock::now();
    player->seekTime(MediaTime::withMicroseconds(12500000));
    watch(30, 15500000);
    player->SetVolume(0.5);
    watch(30, 18200000);
    player->SetVolume(0);
    watch(30, 20900000);
    player->pause();
    recorder.stop();
    const std::vector<float> samples = recorder.samples();

    std::vector<std::pair<int, double>> marksAfterSeek; // second by the playhead, playhead - heard
    for (const Onset& onset : onsets(samples)) {
        const Clock::time_point when = recorder.timeOfSample(onset.sample);
        const std::optional<double> clock = clockAt(readings, when);
        // Sound within a few milliseconds of the seek was on its way out of the sink already.
        if (!onset.mark || when < soughtAt + std::chrono::milliseconds(50) || !clock || *clock > 15.5)
            continue;
        const int second = static_cast<int>(std::lround(*clock - kGapS));
        marksAfterSeek.emplace_back(second, *clock - (second + kGapS));
    }
    // The playhead is not known at every mark on a loaded machine (the main thread held up around it): one will do.
    ASSERT_FALSE(marksAfterSeek.empty()) << "no marks heard after the seek";
    for (const auto& [second, offset] : marksAfterSeek) {
        EXPECT_GE(second, 13) << "sound from before the seek was heard after it";
        EXPECT_LT(std::abs(offset), 0.060) << "the playhead is not the sound heard after the seek, at " << second;
    }

    // Each volume's level through a second heard whole, well after the change.
    struct Case {
        double fromS, toS;
        double expectedDb; // against the clip's level, when not silent
        bool silent;
    };
    const Case cases[] = {{13.1, 13.9, 0.0, false}, {17.1, 17.9, -6.02, false}, {19.8, 20.5, 0, true}};
    for (const Case& c : cases) {
        const std::optional<Clock::time_point> from = wallAt(readings, int64_t(c.fromS * 1e6));
        const std::optional<Clock::time_point> to = wallAt(readings, int64_t(c.toS * 1e6));
        ASSERT_TRUE(from && to) << "the playhead did not pass " << c.fromS << " .. " << c.toS;
        const double level = rms(samples, recorder.sampleAt(*from), recorder.sampleAt(*to));
        if (c.silent)
            EXPECT_LT(level, 0.001) << "sound at volume 0, at " << c.fromS;
        else
            EXPECT_NEAR(20 * std::log10(level / (kAmplitude / std::sqrt(2.0))), c.expectedDb, 1.0)
                << "dB against the clip's level, at " << c.fromS;
    }
}

TEST(PlayerWithoutSoundServerTest, PlaysOnTheWallClockAndCarriesOnWhenTheServerGoes) {
    const std::string clip = toneClip();
    ASSERT_FALSE(clip.empty());
    // No server at all: no output, and the playhead runs on the wall clock.
    setenv("PULSE_SERVER", "unix:/nonexistent/clipwright-no-sound-server", 1);
    {
        LQMoviePlayer player(QString::fromStdString(clip), ViewRect{0, 0, 96, 64});
        EXPECT_FALSE(player.hasSoundOutput());
        ASSERT_TRUE(PlayerTestSupport::waitUntilShown(player));
        player.play();
        EXPECT_TRUE(Dispatch::runUntil([&] { return player.currentTime().seconds() >= 0.5; }, 10000));
        EXPECT_GT(player.statistics().presented, 5u);
    }
    if (PrivateSoundServer::findProgram("pulseaudio").empty())
        GTEST_SKIP() << "pulseaudio is not installed: losing the server while playing is not tested";
    // The server goes away while playing: the player lets go of its output and plays on.
    PrivateSoundServer server;
    std::string error;
    ASSERT_TRUE(server.start(&error)) << error;
    setenv("PULSE_SERVER", server.address().c_str(), 1);
    LQMoviePlayer player(QString::fromStdString(clip), ViewRect{0, 0, 96, 64});
    ASSERT_TRUE(player.hasSoundOutput());
    ASSERT_TRUE(PlayerTestSupport::waitUntilShown(player));
    player.play();
    ASSERT_TRUE(Dispatch::runUntil([&] { return player.currentTime().seconds() >= 0.5; }, 10000));
    server.stop();
    ASSERT_TRUE(Dispatch::runUntil([&] { return !player.hasSoundOutput(); }, 10000)) << "the lost output is kept";
    const double lostAt = player.currentTime().seconds();
    EXPECT_TRUE(Dispatch::runUntil([&] { return player.currentTime().seconds() >= lostAt + 0.5; }, 10000))
        << "the playhead stopped with the server";
    EXPECT_EQ(player.playerStatus(), LQMoviePlayer::Playing);
}
