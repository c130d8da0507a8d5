#pragma once

#include "reports/DataValidation.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;
class InconsistencyTableModel;

// The data-validation sheet: six check boxes choose the checks, Check runs them over the whole database and lists
// each problem (person and reason) in a table; from there a person's notes open, a person becomes the focal
// person, and Report writes the list as an RTF report (asking whether with birth, marriage and death details).
class DataValidationReport : public QDialog {
    Q_OBJECT
public:
    explicit DataValidationReport(FTMoc* moc, QWidget* parent = nullptr);
    ~DataValidationReport() override;

    void setModelName(const QString& name) { m_checks.modelName = name; }

    // The buttons' actions.
    void generateReport();
    void editNotes();
    void promoteToFocalPerson();
    void printReport();

    // The findings listed, as shown.
    QList<Inconsistency> rows() const;
    QCheckBox* checkBox(int index) const { return m_boxes.value(index); }
    QTableView* table() const { return m_table; }
    QPushButton* checkButton() const { return m_check; }
    QPushButton* notesButton() const { return m_notes; }
    QPushButton* focalButton() const { return m_focal; }
    QPushButton* reportButton() const { return m_report; }
    QPushButton* closeButton() const { return m_close; }

private:
    // The row selected; -1 for none.
    int selectedRow() const;

    FTMoc* m_moc;
    DataValidation m_checks;
    InconsistencyTableModel* m_model = nullptr;
    QList<QCheckBox*> m_boxes;
    QTableView* m_table = nullptr;
    QLabel* m_count = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_check = nullptr;
    QPushButton* m_notes = nullptr;
    QPushButton* m_focal = nullptr;
    QPushButton* m_report = nullptr;
    QPushButton* m_close = nullptr;
};
