#include "AudioStreamInfo.h"

#include "ModelLog.h"

AudioStreamInfo::~AudioStreamInfo() {
    qCDebug(lcModel, "-[AudioStreamInfo dealloc]");
}
