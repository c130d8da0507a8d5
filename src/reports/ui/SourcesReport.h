#pragma once

#include "reports/SourcesListing.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

// The sources report's sheet: the format (RTF or CSV), sorting by type, one paragraph per source, the citations,
// and the application that opens the file (kept per format in "rtfApplication" and "csvApplication"). Generate
// writes the file once, names it in the status line, opens it and closes the sheet four seconds later.
class SourcesReport : public QDialog {
    Q_OBJECT
public:
    explicit SourcesReport(FTMoc* moc, QWidget* parent = nullptr);

    void setModelName(const QString& name) { m_listing.modelName = name; }
    // Writes the report, as the Generate button does.
    void generate();

    QRadioButton* rtfButton() const { return m_rtf; }
    QRadioButton* csvButton() const { return m_csv; }
    QCheckBox* sortByTypeCheckBox() const { return m_sortByType; }
    QCheckBox* oneLinePerSourceCheckBox() const { return m_oneLine; }
    QCheckBox* includeReferencesCheckBox() const { return m_references; }
    QComboBox* applicationsComboBox() const { return m_applications; }
    QLabel* progressMessage() const { return m_message; }
    QLabel* counter() const { return m_counter; }
    QPushButton* generateButton() const { return m_generate; }
    QPushButton* exitButton() const { return m_exit; }

public Q_SLOTS:
    void done(int result) override;

private:
    // The applications for the format chosen, the last one used selected.
    void loadApplicationsArray();
    QString applicationKey() const;

    SourcesListing m_listing;
    QRadioButton* m_rtf = nullptr;
    QRadioButton* m_csv = nullptr;
    QCheckBox* m_sortByType = nullptr;
    QCheckBox* m_oneLine = nullptr;
    QCheckBox* m_references = nullptr;
    QComboBox* m_applications = nullptr;
    QLabel* m_message = nullptr;
    QLabel* m_counter = nullptr;
    QPushButton* m_generate = nullptr;
    QPushButton* m_exit = nullptr;
};
