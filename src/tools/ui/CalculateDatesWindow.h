#pragma once

#include "tools/DatesCalculation.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;

// The window of the two calculated-dates tools (CalculateBirthDates, CalculateDeathDates): what the tool does, the
// events the dates may come from, a button that fills them, the progress and the result. A sheet on the database's
// main window; closing saves the database.
class CalculateDatesWindow : public QDialog {
    Q_OBJECT
public:
    ~CalculateDatesWindow() override;

    DatesCalculation& calculation() { return m_calculation; }
    // Fills the dates (createBirthDates / createDeathDates).
    DatesCalculation::Outcome createDates();

    QTableView* candidatesTable() const { return m_table; }
    QLabel* progressMessageLabel() const { return m_message; }
    QProgressBar* progressIndicator() const { return m_progress; }

public Q_SLOTS:
    void done(int result) override;

protected:
    CalculateDatesWindow(FTMoc* moc, DatesCalculation::Kind kind, QWidget* parent);

private:
    class Candidates;

    DatesCalculation m_calculation;
    Candidates* m_candidates = nullptr;
    QTableView* m_table = nullptr;
    QLabel* m_message = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_calculate = nullptr;
};
