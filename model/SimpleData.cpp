#include "SimpleData.h"

#include "ModelLog.h"

SimpleData::~SimpleData() {
    qCDebug(lcModel, "-[SimpleData dealloc]");
}
