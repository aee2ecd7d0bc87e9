#include "MusicInfo.h"

#include "ModelLog.h"

MusicInfo::~MusicInfo() {
    qCDebug(lcModel, "-[MusicInfo dealloc]");
}
