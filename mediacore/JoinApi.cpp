// The C interface of model/libMediaCore.h for join jobs. Not built yet: every
// call fails cleanly (a null handle or a failing code, with one log line) until
// the join engine lands.
#include "libMediaCore.h"

#include "EngineLog.h"

extern "C" {
#include <libavutil/error.h>
}

using mediacore::EngineLog;

namespace {
int unavailable(const char *call) {
  return EngineLog::failure(call, AVERROR(ENOSYS),
                            "join jobs are not available yet");
}
} // namespace

extern "C" {

JOIN_HANDLE apiMediaJoinCreate(void) {
  unavailable("apiMediaJoinCreate");
  return nullptr;
}

JOIN_CLIP_HANDLE apiMediaJoinAddMediaClip(JOIN_HANDLE, const char *, int64_t,
                                          int64_t) {
  unavailable("apiMediaJoinAddMediaClip");
  return nullptr;
}

int apiMediaJoinSetTransition(JOIN_HANDLE, JOIN_CLIP_HANDLE, int, int64_t) {
  return unavailable("apiMediaJoinSetTransition");
}
int apiMediaJoinSetAudioVolumn(JOIN_HANDLE, JOIN_CLIP_HANDLE, double) {
  return unavailable("apiMediaJoinSetAudioVolumn");
}
int apiMediaJoinSetAudioCodec(JOIN_HANDLE, const char *) {
  return unavailable("apiMediaJoinSetAudioCodec");
}
int apiMediaJoinSetVideoCodec(JOIN_HANDLE, const char *) {
  return unavailable("apiMediaJoinSetVideoCodec");
}
int apiMediaJoinSetAudioBitrate(JOIN_HANDLE, int) {
  return unavailable("apiMediaJoinSetAudioBitrate");
}
int apiMediaJoinSetVideoBitrate(JOIN_HANDLE, int) {
  return unavailable("apiMediaJoinSetVideoBitrate");
}
int apiMediaJoinSetVideoFps(JOIN_HANDLE, double) {
  return unavailable("apiMediaJoinSetVideoFps");
}
int apiMediaJoinSetVideoFrameSize(JOIN_HANDLE, int, int) {
  return unavailable("apiMediaJoinSetVideoFrameSize");
}
int apiMediaJoinSetAudioEncodeContext(JOIN_HANDLE, int, int) {
  return unavailable("apiMediaJoinSetAudioEncodeContext");
}
int apiMediaJoinSetOutputPath(JOIN_HANDLE, const char *) {
  return unavailable("apiMediaJoinSetOutputPath");
}
int apiMediaJoinStart(JOIN_HANDLE) { return unavailable("apiMediaJoinStart"); }
double apiMediaJoinGetProgress(JOIN_HANDLE) { return 0.0; }
int apiMediaJoinStop(JOIN_HANDLE) { return unavailable("apiMediaJoinStop"); }
int apiMediaJoinClose(JOIN_HANDLE) { return unavailable("apiMediaJoinClose"); }

} // extern "C"
