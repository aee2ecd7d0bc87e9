#pragma once

#include <QString>
#include <QVariant>

#include <memory>

class QSettings;

// The user-defaults store over QSettings (the organisation and application "Clipwright"). Tests point it at a
// file of their own with useFile() (an INI file, created when needed) and go back with useStandardStore().
// Reads of a missing key give a null QVariant, an empty (null) string, 0 or false.
class UserDefaults {
public:
    static UserDefaults& standardUserDefaults();

    void useFile(const QString& iniPath);
    void useStandardStore();

    QVariant objectForKey(const QString& key) const;
    QString stringForKey(const QString& key) const;
    qint64 integerForKey(const QString& key) const;
    double doubleForKey(const QString& key) const;
    bool boolForKey(const QString& key) const;
    bool hasKey(const QString& key) const;

    void setObject(const QVariant& value, const QString& key);
    void setString(const QString& value, const QString& key);
    void setInteger(qint64 value, const QString& key);
    void setDouble(double value, const QString& key);
    void setBool(bool value, const QString& key);
    void removeObjectForKey(const QString& key);

    // Writes pending changes to permanent storage; returns false when the store could not be written.
    bool synchronize();

private:
    UserDefaults();
    std::unique_ptr<QSettings> _settings;
};
