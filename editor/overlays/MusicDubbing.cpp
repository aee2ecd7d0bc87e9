#include "MusicDubbing.h"

#include "LQMoviePlayer.h"
#include "MediaJob.h"

#include <QLoggingCategory>

namespace {

const QLoggingCategory& lcMusic() {
    static const QLoggingCategory category("clipwright.music");
    return category;
}

MediaTime playerTime(double seconds) {
    return seconds == 0 ? MediaTime::zero() : MediaTime::withSeconds(seconds, 1000000000);
}

} // namespace

void MusicDubbing::applyToPlayer(LQMoviePlayer& player) const {
    qCInfo(lcMusic, "ClearDubbingMusicBefor");
    player.ClearDubbingMusic();
    qCInfo(lcMusic, "ClearDubbingMusicBehand");
    for (const Track& t : tracks) {
        const QByteArray path = t.path.toUtf8();
        const MusicSlice& s = t.slice;
        player.AddDubbingMusic(path.constData(), playerTime(s.musicIn), playerTime(s.musicOut),
                               playerTime(s.timelineIn), playerTime(s.timelineOut), playerTime(s.fadeIn),
                               playerTime(s.fadeOut), s.volume);
    }
    player.SetMainAudioVolume(originalSoundLevel);
    player.DisableMainAudio(removeOriginalSound);
}

int MusicDubbing::applyToJob(CONVERT_HANDLE job) const {
    int result = 1;
    for (const Track& t : tracks) {
        const QByteArray path = t.path.toUtf8();
        const MusicSlice& s = t.slice;
        result = apiMediaConvertAddDubbingMusic(
            job, path.constData(), MusicTiming::microseconds(s.musicIn), MusicTiming::microseconds(s.musicOut),
            MusicTiming::microseconds(s.timelineIn), MusicTiming::microseconds(s.timelineOut),
            MusicTiming::microseconds(s.fadeIn), MusicTiming::microseconds(s.fadeOut), s.volume);
        if (result < 0) {
            qCWarning(lcMusic, "music %s not added: %d", path.constData(), result);
            break;
        }
    }
    if (removeOriginalSound)
        apiMediaConvertDisableMainAudio(job);
    return result;
}

std::function<int(MediaJob&)> MusicDubbing::contribution() const {
    return [copy = *this](MediaJob& job) { return copy.applyToJob(static_cast<CONVERT_HANDLE>(job.handle())); };
}
