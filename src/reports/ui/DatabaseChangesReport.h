#pragma once

#include "reports/DatabaseChanges.h"

#include <QDialog>
#include <QSize>

class ChangedPeopleModel;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableView;
class QTimer;

// The sheet of recent changes: the people changed within the last N days (1 at first), the latest change first,
// listed a second after the sheet shows (so that it shows at once) and again whenever N changes. A person can be
// made the focal person; Generate writes each listed person's changes to a text file and opens it. The sheet's
// size is kept for the next one while the program runs.
class DatabaseChangesReport : public QDialog {
    Q_OBJECT
public:
    explicit DatabaseChangesReport(FTMoc* moc, QWidget* parent = nullptr);
    ~DatabaseChangesReport() override;

    void setModelName(const QString& name) { m_changes.modelName = name; }
    // The moment the days count back from (now unless set; tests fix it).
    void setNow(const QDateTime& now) { m_now = now; }

    // Builds the list (the timer does it first).
    void loadPeople();
    void generateReport();
    void promoteToFocalPerson();

    QList<FTPerson*> people() const;
    QSpinBox* daysField() const { return m_days; }
    QTableView* table() const { return m_table; }
    QTimer* loadTimer() const { return m_timer; }
    QPushButton* generateButton() const { return m_generate; }
    QPushButton* focalButton() const { return m_focal; }
    QPushButton* closeButton() const { return m_close; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QDateTime now() const;

    FTMoc* m_moc;
    DatabaseChanges m_changes;
    QDateTime m_now;
    ChangedPeopleModel* m_model = nullptr;
    QSpinBox* m_days = nullptr;
    QTableView* m_table = nullptr;
    QTimer* m_timer = nullptr;
    QLabel* m_count = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_generate = nullptr;
    QPushButton* m_focal = nullptr;
    QPushButton* m_close = nullptr;
    bool m_loadedOnce = false;
};
