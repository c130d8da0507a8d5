#pragma once

#include "publishing/SiteFolderCopy.h"
#include "publishing/SiteUpload.h"

#include <QDateTime>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>

#include <atomic>
#include <memory>

class FTMoc;
class QLabel;
class QProgressBar;
class QPushButton;
class QThread;
class QTreeWidget;
class QTreeWidgetItem;

// The window that follows the copy of a page set into a site folder: a bar of the bytes copied, the files left,
// the time left ("estimating" until a tenth is done or half a minute has passed), the errors and a row per folder
// and file. The copy runs on a worker thread (SiteFolderCopy); Abort stops it between two pieces of a file.
//
// When a pass ends with files that could not be copied, the window asks whether to copy them again (Retry) or
// not (Ignore). Only when every file has arrived is the upload recorded in the database's metadata
// (SiteUpload::saveRecord) and "complete" said; an aborted or incomplete upload leaves the previous record as it was.
// The window outlives the upload window that started it and is deleted when it closes.
class ProgressMonitor : public QDialog {
    Q_OBJECT
public:
    ProgressMonitor(FTMoc* moc, const SiteUpload::Upload& upload, QWidget* parent = nullptr);
    ~ProgressMonitor() override;

    // Estimates, then copies everything.
    void start();
    // The Abort button.
    void abortUpload();
    // The Close button: while files are still to be copied, asks whether to stop.
    void closeMonitor();

    bool isRunning() const;
    // The files of the last pass that did not arrive.
    const QStringList& failedFiles() const { return m_failed; }
    bool recorded() const { return m_recorded; }
    const SiteFolderCopy& copy() const { return *m_copy; }
    QTreeWidget* resultsTable() const { return m_results; }
    QProgressBar* progressBar() const { return m_bar; }
    QPushButton* abortButton() const { return m_abort; }
    QString timeRemainingText() const;
    QString errorsText() const;
    QString filesLeftText() const;

Q_SIGNALS:
    // A pass of the copy has ended (after its questions and messages).
    void passEnded();

public Q_SLOTS:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void runPass(const QStringList& only);
    QTreeWidgetItem* addRow(const QString& action, const QString& path, const QString& result, qint64 bytes);
    void rowArrived(const SiteFolderCopy::Row& row);
    void showProgress(const SiteFolderCopy::Progress& progress);
    void passFinished(const QStringList& failed, bool aborted);
    bool processFailedTransactions();
    void showErrors();

    FTMoc* m_moc;
    SiteUpload::Upload m_upload;
    std::shared_ptr<SiteFolderCopy> m_copy;
    std::shared_ptr<std::atomic_bool> m_aborting;
    QPointer<QThread> m_thread;
    QStringList m_failed;
    int m_failuresThisPass = 0;
    bool m_estimated = false;
    bool m_recorded = false;
    bool m_closing = false;
    QElapsedTimer m_clock;
    QProgressBar* m_bar = nullptr;
    QLabel* m_filesLeft = nullptr;
    QLabel* m_timeRemaining = nullptr;
    QLabel* m_errors = nullptr;
    QTreeWidget* m_results = nullptr;
    QPushButton* m_abort = nullptr;
    QPushButton* m_close = nullptr;
};
