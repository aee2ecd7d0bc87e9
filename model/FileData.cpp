#include "FileData.h"

#include "ModelLog.h"

FileData::~FileData() {
    qCDebug(lcModel, "-[FileData dealloc]");
}
