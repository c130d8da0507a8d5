#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

class FTMoc;
class ModelProgress;
class RtfWriter;

// The statistics of a database: how many records of each kind it holds and, on request, the lifespans of its
// people (counts and average lifespans by gender, age bands, ages at death by decade, the earliest recorded
// person, the people who reached 100, 90 and 80, the people with a royal title). Rows are kept in display order
// and can be saved as RTF any number of times, each under the next free name.
//
//   DatabaseStatistics stats(moc);
//   stats.countRecords(progress);
//   stats.addLifespans(DatabaseStatistics::ByName, progress);
//   stats.save(writer);
class DatabaseStatistics {
public:
    struct Row {
        QString name;     // empty: a blank separator row
        int count = 0;
        bool showCount = false; // whether the number belongs to the row
        bool operator==(const Row&) const = default;
    };
    // The order of the lists of people who reached 80, 90 and 100.
    enum Order { ByAgeAtDeath, ByName, ByFamilyName };

    explicit DatabaseStatistics(FTMoc* moc);

    QString modelName;
    // The moment the title names (now unless set; tests fix it).
    QDateTime moment;

    const QList<Row>& rows() const { return m_rows; }
    bool lifespansAdded() const { return m_lifespansAdded; }

    // Starts the rows again with one row per kind of record that has any, by label, and the thumbnails' row.
    void countRecords(ModelProgress* progress = nullptr);
    // Appends the lifespan rows.
    void addLifespans(Order order, ModelProgress* progress = nullptr);
    // Writes the rows as RTF under the first free "<database>_Statistics" name. False after the writer's message.
    bool save(RtfWriter& writer) const;

private:
    void add(const QString& name, int count, bool showCount) { m_rows.push_back({ name, count, showCount }); }
    void blank() { add(QString(), 0, false); }

    FTMoc* m_moc;
    QList<Row> m_rows;
    bool m_lifespansAdded = false;
};
