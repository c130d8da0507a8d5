#pragma once

#include "reports/PeopleWithoutAncestorsListing.h"

#include <QDialog>

class PeopleListModel;
class QProgressBar;
class QPushButton;
class QTableView;

// The people-without-ancestors sheet: everyone without a parent link, by name, in a table; Print writes the
// people selected there (asking whether with birth, marriage and death details) and opens the report. The sheet
// stays open for further reports.
class PeopleWithoutAncestors : public QDialog {
    Q_OBJECT
public:
    explicit PeopleWithoutAncestors(FTMoc* moc, QWidget* parent = nullptr);

    void setModelName(const QString& name) { m_listing.modelName = name; }
    // Writes the selected people, as the Print button does.
    void printReport();

    QTableView* table() const { return m_table; }
    const PeopleListModel* people() const { return m_model; }
    QPushButton* printButton() const { return m_print; }
    QPushButton* closeButton() const { return m_close; }

private:
    PeopleWithoutAncestorsListing m_listing;
    PeopleListModel* m_model = nullptr;
    QTableView* m_table = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_close = nullptr;
};
