#pragma once

#include <QDialog>

#include <memory>

class ExportToGedcom;
class FTMoc;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;

// The GEDCOM export window, shown as a sheet on the caller's window (the document window for the menu
// commands, the subset dialogs their own): the database, the file it will write, the privacy, custom-tag and
// indentation options (user defaults, written as they change; "Restore" brings back their first values), the
// submitter and submission data, the run with its progress, and "Show Me" for the file written.
//
//   auto* sheet = new ExportToGedcomController(ExportToGedcomController::wholeDatabase(moc));
//   document->beginSheet(sheet);
class ExportToGedcomController : public QDialog {
    Q_OBJECT
public:
    // Takes the export to run (its people already chosen).
    explicit ExportToGedcomController(std::unique_ptr<ExportToGedcom> exporter, QWidget* parent = nullptr);
    ~ExportToGedcomController() override;

    // An export of every person of the database.
    static std::unique_ptr<ExportToGedcom> wholeDatabase(FTMoc* moc);

    ExportToGedcom& exporter() const { return *m_exporter; }
    QString gedcomFilename() const;

    // Generate: commits what is being typed, reads the options and writes the file. False when nothing was
    // written (another export runs, or the file could not be made: the user has been told).
    bool generateGedcomFile();
    // Restore: the options' first values.
    void setDefaults();
    // Show Me: opens the file written.
    void showMe();
    void helpForGedcomFormat();
    // The submitter and submission window, run modally.
    void editLdsSubmissionRecord();
    // Exit: ends the sheet (never while a run writes).
    void closeSheet();

    // Shows `sheet` window-modal on `window`; it is deleted when it closes.
    static void beginSheet(QDialog* sheet, QWidget* window);

    // Reads the options from the user defaults into the controls.
    void loadOptions();

    // The window's controls, for tests and screenshots.
    QLineEdit* modelField() const { return m_model; }
    QLineEdit* filenameField() const { return m_filename; }
    QLabel* messageLabel() const { return m_message; }
    QProgressBar* progressIndicator() const { return m_progress; }
    QPushButton* showMeButton() const { return m_showMeButton; }
    QPushButton* generateButton() const { return m_generateButton; }
    QPushButton* exitButton() const { return m_exitButton; }
    QPushButton* restoreButton() const { return m_restoreButton; }
    QPushButton* submissionButton() const { return m_submissionButton; }
    QCheckBox* optionBox(const QString& key) const;
    QSpinBox* recentlyDeadYearsField() const { return m_recentlyDeadYears; }
    QComboBox* depersonalizeOptionMenu() const { return m_depersonalizeOption; }

public Q_SLOTS:
    void reject() override;

private:
    std::unique_ptr<ExportToGedcom> m_exporter;
    bool m_running = false;
    bool m_loading = false;

    QLineEdit* m_model = nullptr;
    QLineEdit* m_filename = nullptr;
    QLabel* m_version = nullptr;
    QLabel* m_message = nullptr;
    QProgressBar* m_progress = nullptr;
    QList<QCheckBox*> m_boxes;
    QSpinBox* m_recentlyDeadYears = nullptr;
    QComboBox* m_depersonalizeOption = nullptr;
    QPushButton* m_showMeButton = nullptr;
    QPushButton* m_generateButton = nullptr;
    QPushButton* m_exitButton = nullptr;
    QPushButton* m_restoreButton = nullptr;
    QPushButton* m_submissionButton = nullptr;
    QPushButton* m_helpButton = nullptr;
};
