#pragma once

#include "gedcom/ImportGedcomListener.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QStringList>

#include <functional>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// The GEDCOM import window. A GEDCOM import always makes a new database: the window asks for the file, derives
// a free database name from it, runs the import on the import worker and shows its progress (the worker reports,
// the window shows), then the outcome, with "Show Me" for the log files. It is run modally:
//
//   ImportGedcom dialog;
//   dialog.exec();                                   // asks for the file as soon as it shows
//   if (dialog.importSucceeded()) open(dialog.databaseFilename());
//
// The window cannot be closed while the worker runs. After a failure no database file is left behind and
// databaseFilename() is empty, so the caller opens nothing.
class ImportGedcom : public QDialog, public ImportGedcomListener {
    Q_OBJECT
public:
    // The file panel: answers the chosen GEDCOM file, or empty when cancelled. Tests replace it; the default is
    // the system's open panel for GEDCOM files.
    using FilePanel = std::function<QString(QWidget* parent)>;
    static void setFilePanel(FilePanel panel);
    static QString runFilePanel(QWidget* parent);

    explicit ImportGedcom(QWidget* parent = nullptr);
    ~ImportGedcom() override;

    QString gedcomFilename() const { return m_gedcomFilename; }
    QString databaseFilename() const { return m_databaseFilename; }
    QString modelName() const { return m_modelName; }
    bool importSucceeded() const { return m_importSucceeded; }
    // True from the start of the worker's run until its outcome has been heard.
    bool importRunning() const { return m_running; }
    // True once an import ended (either way).
    bool importFinishedHeard() const { return m_finished; }
    // Why the last import failed; empty otherwise.
    QString failureReason() const { return m_failureReason; }

    // Runs the file panel; a chosen file that exists starts the import. Cancelling leaves the window open with
    // only its exit button.
    void getFilename();
    // Keeps the GEDCOM file and derives the new database's free path and name; false when no file is at `path`
    // or no free database name can be made.
    bool setFileName(const QString& path);
    // Starts the worker on the chosen file; false when another import runs (nothing is started).
    bool importGedcomFile();

    // The log files of the import, beside the new database, those present (unprocessed lines, custom tags,
    // validation); "Show Me" opens each.
    QStringList logFiles() const;
    void showMe();
    // The exit button: tells the outcome and ends the window; refused while the worker runs.
    void closeDialog();

    // The window's controls, for tests and screenshots.
    QLineEdit* modelField() const { return m_modelField; }
    QLineEdit* filenameField() const { return m_filenameField; }
    QLabel* messageLabel() const { return m_message; }
    QLabel* gedcomSourceInfoLabel() const { return m_gedcomSourceInfo; }
    QLabel* numLinesLabel() const { return m_numLines; }
    QLabel* elapsedTimeLabel() const { return m_elapsedTime; }
    QProgressBar* progressIndicator1() const { return m_progress1; }
    QProgressBar* progressIndicator2() const { return m_progress2; }
    QPushButton* showMeButton() const { return m_showMeButton; }
    QPushButton* exitButton() const { return m_exitButton; }

    // What the worker reports (on the main thread).
    void setDialogMessage(const QString& text) override;
    void setGedcomSourceInfo(const QString& text) override;
    void setNumLinesInGedcomFile(const QString& text) override;
    void setOverallProgress(double percent, const QString& elapsedTimeMessage) override;
    void setCurrentProgress(double percent) override;
    void showMessage(const QString& text) override;
    void importFinished(const ImportGedcomOutcome& outcome) override;

public Q_SLOTS:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void forgetFailedDatabase();

    QString m_gedcomFilename;
    QString m_databaseFilename;
    QString m_modelName;
    QStringList m_logFiles;
    QString m_failureReason;
    bool m_importSucceeded = false;
    bool m_started = false;
    bool m_running = false;
    bool m_finished = false;
    bool m_askedForFile = false;
    QElapsedTimer m_clock;

    QLineEdit* m_modelField = nullptr;
    QLineEdit* m_filenameField = nullptr;
    QLabel* m_message = nullptr;
    QLabel* m_gedcomSourceInfo = nullptr;
    QLabel* m_numLines = nullptr;
    QLabel* m_elapsedTime = nullptr;
    QProgressBar* m_progress1 = nullptr;
    QProgressBar* m_progress2 = nullptr;
    QPushButton* m_showMeButton = nullptr;
    QPushButton* m_exitButton = nullptr;
};
