#pragma once

#include <QTemporaryDir>

// Points the user-defaults store at a fresh file for the lifetime of the object, then back at the standard store.
class TemporaryUserDefaults {
public:
    TemporaryUserDefaults();
    ~TemporaryUserDefaults();

private:
    QTemporaryDir _dir;
};
