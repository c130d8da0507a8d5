#pragma once

#include "reports/PicturesListing.h"

#include <QDialog>

class QButtonGroup;
class QLabel;
class QProgressBar;
class QPushButton;

// The pictures report's sheet: the order (owner's name, owner's family name, file name, title) and Start, which
// writes the report, opens it in the word processor and closes the sheet. A report that could not be made
// leaves the sheet open.
class PicturesReport : public QDialog {
    Q_OBJECT
public:
    explicit PicturesReport(FTMoc* moc, QWidget* parent = nullptr);

    void setModelName(const QString& name) { m_listing.modelName = name; }
    // Writes the report in the chosen order, as the Start button does.
    void generateReport();

    QButtonGroup* sortSequence() const { return m_order; }
    QLabel* message() const { return m_message; }
    QPushButton* generateButton() const { return m_generate; }
    QPushButton* closeButton() const { return m_close; }

private:
    PicturesListing m_listing;
    QButtonGroup* m_order = nullptr;
    QLabel* m_message = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_generate = nullptr;
    QPushButton* m_close = nullptr;
};
