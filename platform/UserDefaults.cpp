#include "UserDefaults.h"

#include <QSettings>

UserDefaults::UserDefaults() {
    useStandardStore();
}

UserDefaults& UserDefaults::standardUserDefaults() {
    static UserDefaults defaults;
    return defaults;
}

void UserDefaults::useFile(const QString& iniPath) {
    if (_settings)
        _settings->sync();
    _settings = std::make_unique<QSettings>(iniPath, QSettings::IniFormat);
}

void UserDefaults::useStandardStore() {
    if (_settings)
        _settings->sync();
    _settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Clipwright"),
                                            QStringLiteral("Clipwright"));
}

QVariant UserDefaults::objectForKey(const QString& key) const {
    return _settings->value(key);
}

QString UserDefaults::stringForKey(const QString& key) const {
    const QVariant value = _settings->value(key);
    return value.isValid() ? value.toString() : QString();
}

qint64 UserDefaults::integerForKey(const QString& key) const {
    return _settings->value(key).toLongLong();
}

double UserDefaults::doubleForKey(const QString& key) const {
    return _settings->value(key).toDouble();
}

bool UserDefaults::boolForKey(const QString& key) const {
    return _settings->value(key).toBool();
}

bool UserDefaults::hasKey(const QString& key) const {
    return _settings->contains(key);
}

void UserDefaults::setObject(const QVariant& value, const QString& key) {
    if (!value.isValid())
        _settings->remove(key);
    else
        _settings->setValue(key, value);
}

void UserDefaults::setString(const QString& value, const QString& key) {
    if (value.isNull())
        _settings->remove(key);
    else
        _settings->setValue(key, value);
}

void UserDefaults::setInteger(qint64 value, const QString& key) {
    _settings->setValue(key, value);
}

void UserDefaults::setDouble(double value, const QString& key) {
    _settings->setValue(key, value);
}

void UserDefaults::setBool(bool value, const QString& key) {
    _settings->setValue(key, value);
}

void UserDefaults::removeObjectForKey(const QString& key) {
    _settings->remove(key);
}

bool UserDefaults::synchronize() {
    _settings->sync();
    return _settings->status() == QSettings::NoError;
}
