#pragma once

#include "reports/FilteredPeople.h"

#include <QDialog>

class FTMoc;
class PeopleListModel;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;

// The filtered people report's sheet: the filter fields, the people they leave in a table that follows each end
// of editing, and Generate, which writes them (asking first when the report would run past 100 pages) and opens
// the file in the word processor. The sheet stays open for further reports, each under a new name.
class FilteredPeopleReport : public QDialog {
    Q_OBJECT
public:
    explicit FilteredPeopleReport(FTMoc* moc, QWidget* parent = nullptr);

    void setModelName(const QString& name) { m_report.modelName = name; }
    // Builds the filters from the fields and shows the people they leave.
    void refilter();
    // Writes the report of the people shown, as the Generate button does.
    void generate();

    QLineEdit* filterField(FilteredPeople::Field field) const { return m_fields[field]; }
    QCheckBox* oneLinePerPersonCheckBox() const { return m_oneLine; }
    QTableView* table() const { return m_table; }
    const PeopleListModel* people() const { return m_model; }
    QLabel* progressMessage() const { return m_message; }
    QPushButton* generateButton() const { return m_generate; }
    QPushButton* closeButton() const { return m_close; }

private:
    FilteredPeople m_report;
    QLineEdit* m_fields[FilteredPeople::FieldCount] = {};
    QCheckBox* m_oneLine = nullptr;
    PeopleListModel* m_model = nullptr;
    QTableView* m_table = nullptr;
    QLabel* m_count = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_message = nullptr;
    QPushButton* m_generate = nullptr;
    QPushButton* m_close = nullptr;
};
