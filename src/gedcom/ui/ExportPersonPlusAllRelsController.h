#pragma once

#include <QDialog>

#include <memory>

class ExportPersonPlusAllRels;
class FTMoc;
class FTPerson;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTimer;

// The window of the search for everybody connected to the focal person: the connected people beside the
// others in their separate groups (a dashed row between two groups). Opened with the layout
// ExportPersonPlusAllRels::kExportPersonPlusAllRels, Generate shows the GEDCOM export of the connected people as
// a sheet on this window; with kDynastiesReport it writes the dynasties report, opens it and closes itself
// shortly after.
//
// The search starts a second after the window shows, so the window is on screen first; both buttons wait
// for it.
class ExportPersonPlusAllRelsController : public QDialog {
    Q_OBJECT
public:
    ExportPersonPlusAllRelsController(
        FTMoc* moc, FTPerson* focalPerson, const QString& nibName, QWidget* parent = nullptr);
    ~ExportPersonPlusAllRelsController() override;

    ExportPersonPlusAllRels& search() const { return *m_search; }
    // Runs the search now (at once, instead of after the delay) and fills the window.
    void startThread();
    bool searched() const { return m_searched; }
    // Fills the tables and the counts from the search.
    void refreshDialog();
    // The Generate button.
    void generate();
    void closeSheet();

    QListWidget* relatedTable() const { return m_tv1; }
    QListWidget* unrelatedTable() const { return m_tv2; }
    QLabel* numRelatedTextField() const { return m_numRelated; }
    QLabel* numUnrelatedTextField() const { return m_numUnrelated; }
    QProgressBar* progressIndicator() const { return m_progress; }
    // Where the written report's file is named.
    QLabel* progressMessage() const { return m_progressMessage; }
    QPushButton* generateButton() const { return m_generateButton; }
    QPushButton* closeButton() const { return m_closeButton; }

public Q_SLOTS:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<ExportPersonPlusAllRels> m_search;
    bool m_searched = false;
    bool m_busy = false;
    QTimer* m_startTimer = nullptr;
    QListWidget* m_tv1 = nullptr;
    QListWidget* m_tv2 = nullptr;
    QLabel* m_numRelated = nullptr;
    QLabel* m_numUnrelated = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_progressMessage = nullptr;
    QPushButton* m_generateButton = nullptr;
    QPushButton* m_closeButton = nullptr;
};
