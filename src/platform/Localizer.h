#pragma once

#include <QHash>
#include <QMutex>
#include <QString>

// The "Localizable" and "Localizable.Help" string tables: resources/<table>.strings in the
// `"key" = "text";` syntax, UTF-8. A key without text answers the key itself (and is logged once).
// Safe to use from worker threads (the GEDCOM import reads dates and words while windows do too).
class Localizer {
public:
    static Localizer& shared();

    QString text(const QString& key, const QString& table = QStringLiteral("Localizable"));
    bool hasKey(const QString& key, const QString& table = QStringLiteral("Localizable"));

    // Parses one table's text; errors name the line. Public for the tests of the tables themselves.
    static QHash<QString, QString> parse(const QString& source, QString* error = nullptr);

    // Forget loaded tables (tests that change the support folder).
    void reset();
    // Changes with every reset(): callers that keep texts of their own (the date words, read for every date
    // of an import) read them again when it moves.
    static int generation();

private:
    const QHash<QString, QString>& table(const QString& name);
    QHash<QString, QHash<QString, QString>> m_tables;
    QHash<QString, bool> m_reportedMissing;
    QMutex m_mutex;
};

QString LocalizedString(const QString& key);
QString LocalizedHelpString(const QString& key);
