#include "TemporaryUserDefaults.h"

#include "UserDefaults.h"

TemporaryUserDefaults::TemporaryUserDefaults() {
    UserDefaults::standardUserDefaults().useFile(_dir.filePath(QStringLiteral("defaults.ini")));
}

TemporaryUserDefaults::~TemporaryUserDefaults() {
    UserDefaults::standardUserDefaults().useStandardStore();
}
