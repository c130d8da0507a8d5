#include "platform/UserDefaults.h"

#include <QSettings>

UserDefaults::UserDefaults() : m_settings(std::make_unique<QSettings>("Kinloom", "Kinloom")) {}
UserDefaults::~UserDefaults() = default;

UserDefaults& UserDefaults::standard()
{
    static UserDefaults defaults;
    return defaults;
}

void UserDefaults::useSettingsFile(const QString& path)
{
    QMutexLocker lock(&standard().m_mutex);
    standard().m_settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
}

void UserDefaults::useNativeSettings()
{
    QMutexLocker lock(&standard().m_mutex);
    standard().m_settings = std::make_unique<QSettings>("Kinloom", "Kinloom");
}

void UserDefaults::registerDefaults(const QVariantMap& defaults)
{
    QMutexLocker lock(&m_mutex);
    for (auto it = defaults.begin(); it != defaults.end(); ++it)
        if (!m_settings->contains(it.key()))
            m_settings->setValue(it.key(), it.value());
}

bool UserDefaults::contains(const QString& key) const
{
    QMutexLocker lock(&m_mutex);
    return m_settings->contains(key);
}
QVariant UserDefaults::objectForKey(const QString& key) const
{
    QMutexLocker lock(&m_mutex);
    return m_settings->value(key);
}
QString UserDefaults::stringForKey(const QString& key) const { return objectForKey(key).toString(); }

bool UserDefaults::boolForKey(const QString& key) const
{
    QVariant v = objectForKey(key);
    // INI files give every value back as text: read "true"/"false" and numbers alike.
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed().toLower();
        return s == "true" || s == "yes" || s.toLongLong() != 0;
    }
    return v.toBool();
}

qlonglong UserDefaults::integerForKey(const QString& key) const
{
    QVariant v = objectForKey(key);
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed().toLower();
        if (s == "true")
            return 1;
        return qlonglong(s.toDouble());
    }
    return v.toLongLong();
}

double UserDefaults::doubleForKey(const QString& key) const { return objectForKey(key).toDouble(); }
QColor UserDefaults::colorForKey(const QString& key) const { return colorFromString(stringForKey(key)); }

QFont UserDefaults::fontForKey(const QString& key) const
{
    QFont f;
    const QString s = stringForKey(key);
    if (!s.isEmpty())
        f.fromString(s);
    return f;
}

QStringList UserDefaults::stringListForKey(const QString& key) const { return objectForKey(key).toStringList(); }

void UserDefaults::setObject(const QString& key, const QVariant& value)
{
    QMutexLocker lock(&m_mutex);
    m_settings->setValue(key, value);
}
void UserDefaults::setColor(const QString& key, const QColor& value) { setObject(key, colorToString(value)); }
void UserDefaults::setFont(const QString& key, const QFont& value) { setObject(key, value.toString()); }
void UserDefaults::removeObject(const QString& key)
{
    QMutexLocker lock(&m_mutex);
    m_settings->remove(key);
}
QStringList UserDefaults::allKeys() const
{
    QMutexLocker lock(&m_mutex);
    return m_settings->allKeys();
}
void UserDefaults::synchronize()
{
    QMutexLocker lock(&m_mutex);
    m_settings->sync();
}

QString UserDefaults::colorToString(const QColor& c) { return c.name(QColor::HexRgb); }
QColor UserDefaults::colorFromString(const QString& s) { return QColor(s); }
