#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <QMutex>

#include <memory>

class QSettings;

// The user's preferences: typed values in QSettings (organisation and application "Kinloom").
// Colours are stored as "#rrggbb", fonts as QFont::toString(). Workers (the import, logging) read it too,
// so every access holds the lock.
class UserDefaults {
public:
    static UserDefaults& standard();

    // Tests (and a second profile) point the defaults at an INI file of their own.
    static void useSettingsFile(const QString& path);
    static void useNativeSettings();

    // Sets each key only when it has no value yet.
    void registerDefaults(const QVariantMap& defaults);

    bool contains(const QString& key) const;
    QVariant objectForKey(const QString& key) const;
    QString stringForKey(const QString& key) const;
    bool boolForKey(const QString& key) const;
    qlonglong integerForKey(const QString& key) const;
    double doubleForKey(const QString& key) const;
    QColor colorForKey(const QString& key) const;
    QFont fontForKey(const QString& key) const;
    QStringList stringListForKey(const QString& key) const;

    void setObject(const QString& key, const QVariant& value);
    void setBool(const QString& key, bool value) { setObject(key, value); }
    void setInteger(const QString& key, qlonglong value) { setObject(key, value); }
    void setDouble(const QString& key, double value) { setObject(key, value); }
    void setString(const QString& key, const QString& value) { setObject(key, value); }
    void setColor(const QString& key, const QColor& value);
    void setFont(const QString& key, const QFont& value);
    void removeObject(const QString& key);

    QStringList allKeys() const;
    void synchronize();

    static QString colorToString(const QColor& c);
    static QColor colorFromString(const QString& s);

private:
    UserDefaults();
    ~UserDefaults();
    std::unique_ptr<QSettings> m_settings;
    mutable QRecursiveMutex m_mutex;
};
