#pragma once

#include "reports/DatabaseStatistics.h"

#include <QDialog>

class QProgressBar;
class QPushButton;
class QTableWidget;

// The statistics sheet: a second after it shows, the counts of the database's records fill its table; the
// lifespan button (hidden once used) asks for the order of the lists of people who reached 80, 90 and 100 and adds
// the lifespan statistics; Save writes the rows as RTF, as often as wanted, each time under a new name, and opens
// the file.
class StatisticsReport : public QDialog {
    Q_OBJECT
public:
    explicit StatisticsReport(FTMoc* moc, QWidget* parent = nullptr);

    void setModelName(const QString& name) { m_stats.modelName = name; }
    // What the timer, the lifespan button and the save button do.
    void generateStats();
    void addAverageLifespan();
    void printReport();

    const DatabaseStatistics& statistics() const { return m_stats; }
    QTableWidget* table() const { return m_table; }
    QPushButton* lifespanButton() const { return m_lifespan; }
    QPushButton* saveButton() const { return m_save; }
    QPushButton* closeButton() const { return m_close; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showRows();

    DatabaseStatistics m_stats;
    QTableWidget* m_table = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_lifespan = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_close = nullptr;
    bool m_counted = false;
};
