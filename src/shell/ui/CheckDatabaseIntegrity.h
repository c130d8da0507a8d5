#pragma once

#include <QDialog>
#include <QList>

class FTMoc;
class QButtonGroup;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

// The sheet of File > "Check Database Integrity...": the user picks one of eight checks or repairs, runs it with
// Execute and reads its report, which Show Report writes to a text file and opens. Every run saves the database
// and replaces the report. While a check runs every button waits, so that a click cannot start a second run.
//
//   doc->prepareForCommand();
//   doc->beginSheet(new CheckDatabaseIntegrity(doc->moc()));
class CheckDatabaseIntegrity : public QDialog {
    Q_OBJECT
public:
    explicit CheckDatabaseIntegrity(FTMoc* moc, QWidget* parent = nullptr);

    // Runs the chosen check and shows its report.
    void execute();
    // Saves the database and ends the sheet.
    void closeSheet();
    // The help text, in an alert.
    void help();
    // The report as a text file in the data folder, opened in the desktop's text editor.
    void showMe();

    QString reportMessage() const { return m_reportMessage; }
    void setReportMessage(const QString& report);
    // The checked row, 0 to 7.
    int selectedRow() const;
    void selectRow(int row);
    bool isRunning() const { return m_running; }

    QList<QRadioButton*> rowButtons() const { return m_rows; }
    QPlainTextEdit* reportView() const { return m_reportView; }
    QProgressBar* progressIndicator() const { return m_progressIndicator; }
    QLabel* progressMessage() const { return m_progressMessage; }
    QPushButton* executeButton() const { return m_executeButton; }
    QPushButton* closeButton() const { return m_closeButton; }
    QPushButton* helpButton() const { return m_helpButton; }
    QPushButton* showReportButton() const { return m_showReportButton; }

public Q_SLOTS:
    void reject() override;

private:
    void setButtonsEnabled(bool enabled);

    FTMoc* m_moc;
    QString m_reportMessage;
    bool m_running = false;
    QButtonGroup* m_buttonMatrix = nullptr;
    QList<QRadioButton*> m_rows;
    QPlainTextEdit* m_reportView = nullptr;
    QProgressBar* m_progressIndicator = nullptr;
    QLabel* m_progressMessage = nullptr;
    QPushButton* m_executeButton = nullptr;
    QPushButton* m_closeButton = nullptr;
    QPushButton* m_helpButton = nullptr;
    QPushButton* m_showReportButton = nullptr;
};
