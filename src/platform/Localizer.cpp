#include "platform/Localizer.h"

#include <atomic>

#include "platform/AppPaths.h"
#include "platform/FTLog.h"

#include <QFile>

Localizer& Localizer::shared()
{
    static Localizer l;
    return l;
}

namespace {
std::atomic<int> g_generation{0};
}

void Localizer::reset()
{
    QMutexLocker lock(&m_mutex);
    m_tables.clear();
    m_reportedMissing.clear();
    ++g_generation;
}

int Localizer::generation() { return g_generation.load(std::memory_order_acquire); }

QHash<QString, QString> Localizer::parse(const QString& s, QString* error)
{
    QHash<QString, QString> out;
    int i = 0;
    const int n = s.size();
    int line = 1;
    auto fail = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("line %1: %2").arg(line).arg(why);
        return out;
    };
    auto skipSpace = [&] {
        while (i < n) {
            QChar c = s[i];
            if (c == '\n') {
                ++line;
                ++i;
            } else if (c.isSpace()) {
                ++i;
            } else if (c == '/' && i + 1 < n && s[i + 1] == '*') {
                int end = s.indexOf(QStringLiteral("*/"), i + 2);
                if (end < 0)
                    end = n - 2;
                line += s.mid(i, end - i).count('\n');
                i = end + 2;
            } else if (c == '/' && i + 1 < n && s[i + 1] == '/') {
                while (i < n && s[i] != '\n')
                    ++i;
            } else {
                break;
            }
        }
    };
    auto readQuoted = [&](QString* value) -> bool {
        if (i >= n || s[i] != '"')
            return false;
        ++i;
        QString v;
        while (i < n && s[i] != '"') {
            QChar c = s[i];
            if (c == '\n')
                ++line;
            if (c == '\\' && i + 1 < n) {
                QChar e = s[++i];
                if (e == 'n')
                    v += '\n';
                else if (e == 't')
                    v += '\t';
                else if (e == 'r')
                    v += '\r';
                else
                    v += e;
            } else {
                v += c;
            }
            ++i;
        }
        if (i >= n)
            return false;
        ++i;
        *value = v;
        return true;
    };
    for (;;) {
        skipSpace();
        if (i >= n)
            break;
        QString key, text;
        if (!readQuoted(&key))
            return fail(QStringLiteral("expected a quoted key"));
        skipSpace();
        if (i >= n || s[i] != '=')
            return fail(QStringLiteral("expected '=' after \"%1\"").arg(key));
        ++i;
        skipSpace();
        if (!readQuoted(&text))
            return fail(QStringLiteral("expected a quoted text for \"%1\"").arg(key));
        skipSpace();
        if (i >= n || s[i] != ';')
            return fail(QStringLiteral("expected ';' after \"%1\"").arg(key));
        ++i;
        out.insert(key, text);
    }
    if (error)
        error->clear();
    return out;
}

const QHash<QString, QString>& Localizer::table(const QString& name)
{
    auto it = m_tables.find(name);
    if (it != m_tables.end())
        return *it;
    QHash<QString, QString> t;
    QFile f(AppPaths::sharedSupportDirectory() + "/" + name + ".strings");
    if (f.open(QIODevice::ReadOnly)) {
        QString error;
        t = parse(QString::fromUtf8(f.readAll()), &error);
        if (!error.isEmpty())
            FTLog(QStringLiteral("%1.strings: %2").arg(name, error));
    } else {
        FTLog(QStringLiteral("No string table %1").arg(f.fileName()));
    }
    return *m_tables.insert(name, t);
}

QString Localizer::text(const QString& key, const QString& tableName)
{
    QMutexLocker lock(&m_mutex);
    const auto& t = table(tableName);
    auto it = t.find(key);
    if (it != t.end())
        return *it;
    const QString id = tableName + '\x1f' + key;
    if (!m_reportedMissing.contains(id)) {
        m_reportedMissing.insert(id, true);
        FTLog(QStringLiteral("Missing text for key \"%1\" in %2").arg(key, tableName));
    }
    return key;
}

bool Localizer::hasKey(const QString& key, const QString& tableName)
{
    QMutexLocker lock(&m_mutex);
    return table(tableName).contains(key);
}

QString LocalizedString(const QString& key) { return Localizer::shared().text(key); }
QString LocalizedHelpString(const QString& key) { return Localizer::shared().text(key, QStringLiteral("Localizable.Help")); }
