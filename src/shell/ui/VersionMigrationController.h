#pragma once

#include "shell/DataMigrator.h"

#include <QDialog>
#include <QFileDialog>
#include <QList>
#include <QPointer>
#include <QString>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QThread;

// The window that converts a database of an older model: it lists the older databases of the data folder, finds
// one elsewhere with an Open panel, shows the old and the new database's names and runs the conversion
// (DataMigrator) on a worker, showing its progress, the elapsed seconds and the current step. It is run
// application-modally; closed after a complete conversion it ends with kConverted, else with 0:
//
//   const QString converted = VersionMigrationController::runModal(oldPath);   // empty: nothing to open
//
// While a conversion runs the window cannot be closed and its buttons are disabled; only the main thread touches
// it (the worker's reports arrive queued).
class VersionMigrationController : public QDialog {
    Q_OBJECT
public:
    static constexpr int kConverted = 100;

    // Lists the older databases of the data folder and chooses `path` (see selectOldStorePath), or the first one
    // listed when no path is given.
    explicit VersionMigrationController(const QString& path = {}, QWidget* parent = nullptr);
    ~VersionMigrationController() override;

    // Runs the window application-modally; answers the new database when it was closed after a complete
    // conversion, else empty.
    static QString runModal(const QString& path, QWidget* parent = nullptr);

    // Fills the list of older databases of the data folder (choosing none).
    void findOldModels();
    const QList<DataMigrator::OldFile>& oldFiles() const { return m_oldFiles; }
    // Chooses the listed row of `path`; a path that is not listed (a database outside the data folder) is chosen
    // as it stands.
    void selectOldStorePath(const QString& path);
    // Chooses the database to convert: checks its model and names the new file, enabling Convert; a database that
    // cannot be converted is refused with a message.
    void setOldStorePath(const QString& path);
    // The Open panel, as a sheet on the window; a file chosen there is checked, then chosen.
    void findModel();
    void findModelOpenPanelDidEnd(const QString& path);
    // Starts the conversion of the chosen database; false when none can start.
    bool migrate();
    // A report of the running conversion.
    void setProgress(float progress, double elapsed, const QString& message);
    // The Exit button: closes the window unless a conversion runs.
    void exit();

    // What the window calls a database's data model: "Current format", "Older database format" or "Unknown
    // format" (the model's own name means nothing to a user).
    static QString formatName(const QString& momVersion);

    QString oldStorePath() const { return m_oldStorePath; }
    QString oldStoreName() const { return m_oldStoreName; }
    QString oldMomVersion() const { return m_oldMomVersion; }
    QString newStorePath() const { return m_newStorePath; }
    QString newStoreName() const { return m_newStoreName; }
    QString newMomVersion() const { return m_newMomVersion; }
    QString progressMessage() const { return m_progressMessage; }
    double elapsedTime() const { return m_elapsedTime; }
    int progress() const { return m_progress; }
    bool isMigrating() const { return m_running; }
    // The outcome of the last conversion that ended.
    const DataMigrationOutcome& lastOutcome() const { return m_outcome; }

    QTableWidget* tv() const { return m_tv; }
    QPushButton* migrateButton() const { return m_migrateButton; }
    QPushButton* exitButton() const { return m_exitButton; }
    QPushButton* findButton() const { return m_findButton; }
    QProgressBar* progressIndicator() const { return m_progressIndicator; }
    QLabel* elapsedSecsTextField() const { return m_elapsedSecsTextField; }
    QLabel* progressMessageTextField() const { return m_progressMessageTextField; }
    QFileDialog* openPanel() const { return m_openPanel; }

Q_SIGNALS:
    // After each report has been shown, and once the conversion has ended.
    void progressReported(int progress);
    void migrationFinished(bool succeeded);

public Q_SLOTS:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void chooseRow();
    void migrationEnded(const DataMigrationOutcome& outcome);
    void showNames();
    void setRunning(bool running);
    int closeCode() const;

    QList<DataMigrator::OldFile> m_oldFiles;
    QString m_oldStorePath;
    QString m_oldStoreName;
    QString m_oldMomVersion;
    QString m_newStorePath;
    QString m_newStoreName;
    QString m_newMomVersion;
    QString m_progressMessage;
    double m_elapsedTime = 0;
    int m_progress = 0;
    bool m_running = false;
    DataMigrationOutcome m_outcome;
    QPointer<QThread> m_thread;

    QTableWidget* m_tv = nullptr;
    QLineEdit* m_oldName = nullptr;
    QLineEdit* m_oldVersion = nullptr;
    QLineEdit* m_newName = nullptr;
    QLineEdit* m_newVersion = nullptr;
    QProgressBar* m_progressIndicator = nullptr;
    QLabel* m_elapsedSecsTextField = nullptr;
    QLabel* m_progressMessageTextField = nullptr;
    QPushButton* m_migrateButton = nullptr;
    QPushButton* m_exitButton = nullptr;
    QPushButton* m_findButton = nullptr;
    QPointer<QFileDialog> m_openPanel;
};
