#pragma once

#include "reports/PeopleIndexCsv.h"

#include <QDialog>

class QCheckBox;
class QPushButton;

// The columns of the people index's CSV file, one switch each, kept in the "piCsvInclude..." user defaults as they
// are switched. "Write CSV File" accepts; closing the window writes nothing.
class PeopleIndexCsvOptions : public QDialog {
    Q_OBJECT
public:
    explicit PeopleIndexCsvOptions(QWidget* parent = nullptr);

    QCheckBox* checkBox(PeopleIndexCsv::Column column) const { return m_boxes[column]; }
    QPushButton* generateButton() const { return m_generate; }

private:
    QCheckBox* m_boxes[PeopleIndexCsv::ColumnCount] = {};
    QPushButton* m_generate = nullptr;
};
