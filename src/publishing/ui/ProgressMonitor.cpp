#include "publishing/ui/ProgressMonitor.h"

#include "model/FTMoc.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"

#include "platform/Localizer.h"

#include <QCloseEvent>
#include <QColor>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTime>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

// The bar counts kilobytes: a page set can pass the 2 GB that an int holds in bytes.
int kb(qint64 bytes)
{
    return int(bytes / 1000);
}
}

ProgressMonitor::ProgressMonitor(FTMoc* moc, const SiteUpload::Upload& upload, QWidget* parent)
    : QDialog(parent, Qt::Window)
    , m_moc(moc)
    , m_upload(upload)
    , m_copy(std::make_shared<SiteFolderCopy>(upload.pageSetFolder, upload.destination()))
    , m_aborting(std::make_shared<std::atomic_bool>(false))
{
    setObjectName(QStringLiteral("ProgressMonitor"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(L("UploadProgressTitle"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setAutoFillBackground(true);
    resize(720, 460);

    m_bar = new QProgressBar;
    m_bar->setObjectName(QStringLiteral("transactionCumlativeProgress"));
    m_bar->setRange(0, 0);
    m_filesLeft = new QLabel;
    m_filesLeft->setObjectName(QStringLiteral("transactionsInProgressField"));
    m_timeRemaining = new QLabel(L("EstimatingTimeRemaining"));
    m_timeRemaining->setObjectName(QStringLiteral("timeRemainingField"));
    m_errors = new QLabel;
    m_errors->setObjectName(QStringLiteral("errorsField"));
    auto* fields = new QFormLayout;
    fields->addRow(L("FilesLeftLabel"), m_filesLeft);
    fields->addRow(L("ErrorsLabel"), m_errors);

    m_results = new QTreeWidget;
    m_results->setObjectName(QStringLiteral("results"));
    m_results->setRootIsDecorated(false);
    m_results->setUniformRowHeights(true);
    m_results->setHeaderLabels({L("Action"), L("FileColumn"), L("ResultColumn"), L("TimeColumn"), L("KBColumn")});
    QFont small = m_results->font();
    small.setPointSize(std::min(small.pointSize(), 10));
    m_results->setFont(small);
    m_results->header()->setStretchLastSection(false);
    m_results->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_results->setColumnWidth(0, 110);
    m_results->setColumnWidth(2, 190);
    m_results->setColumnWidth(3, 70);
    m_results->setColumnWidth(4, 60);

    auto* buttons = new QDialogButtonBox;
    m_abort = buttons->addButton(L("Abort"), QDialogButtonBox::DestructiveRole);
    m_abort->setEnabled(false);
    m_close = buttons->addButton(L("Close"), QDialogButtonBox::RejectRole);
    connect(m_abort, &QPushButton::clicked, this, [this] { abortUpload(); });
    connect(m_close, &QPushButton::clicked, this, [this] { closeMonitor(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_bar);
    layout->addWidget(m_timeRemaining);
    layout->addLayout(fields);
    layout->addWidget(m_results, 1);
    layout->addWidget(buttons);
}

ProgressMonitor::~ProgressMonitor()
{
    // The window is going: a copy still running stops, and nothing it reports arrives any more.
    m_aborting->store(true);
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
}

bool ProgressMonitor::isRunning() const
{
    return m_thread && !m_thread->isFinished();
}

void ProgressMonitor::start()
{
    addRow(L("StartUpload"), m_upload.pageSetFolder, {}, 0);
    runPass({});
}

void ProgressMonitor::runPass(const QStringList& only)
{
    if (isRunning())
        return;
    if (m_thread)
        delete m_thread;
    m_aborting->store(false);
    m_failuresThisPass = 0;
    m_clock.start();
    m_timeRemaining->setText(L("EstimatingTimeRemaining"));
    m_abort->setEnabled(true);
    const bool estimate = !m_estimated;
    m_estimated = true;
    QPointer<ProgressMonitor> self(this);
    auto post = [self](std::function<void(ProgressMonitor*)> fn) {
        QMetaObject::invokeMethod(self.data(), [self, fn = std::move(fn)] {
            if (self)
                fn(self.data());
        }, Qt::QueuedConnection);
    };
    std::shared_ptr<SiteFolderCopy> copy = m_copy;
    std::shared_ptr<std::atomic_bool> aborting = m_aborting;
    m_thread = QThread::create([copy, aborting, only, estimate, post] {
        if (estimate) {
            QString error;
            if (!copy->estimate(&error)) {
                post([error](ProgressMonitor* m) {
                    m->addRow(L("StartUpload"), m->m_upload.pageSetFolder, error, 0);
                    m->passFinished({}, true);
                });
                return;
            }
            const int files = copy->fileCount();
            post([files](ProgressMonitor* m) {
                m->m_results->topLevelItem(0)->setText(2, QStringLiteral("%1 %2").arg(files).arg(L("FilesToProcess")));
            });
        }
        SiteFolderCopy::Callbacks callbacks;
        callbacks.row = [post](const SiteFolderCopy::Row& row) { post([row](ProgressMonitor* m) { m->rowArrived(row); }); };
        callbacks.progress = [post](const SiteFolderCopy::Progress& p) {
            post([p](ProgressMonitor* m) { m->showProgress(p); });
        };
        const QStringList failed = copy->copy(only, *aborting, callbacks);
        const bool aborted = copy->aborted();
        post([failed, aborted](ProgressMonitor* m) { m->passFinished(failed, aborted); });
    });
    m_thread->start();
}

QTreeWidgetItem* ProgressMonitor::addRow(const QString& action, const QString& path, const QString& result,
                                         qint64 bytes)
{
    auto* item = new QTreeWidgetItem(m_results, {action, path, result, QTime::currentTime().toString(QStringLiteral("HH:mm:ss")),
                                                 QString::number(kb(bytes))});
    item->setTextAlignment(4, Qt::AlignRight | Qt::AlignVCenter);
    m_results->scrollToItem(item);
    return item;
}

void ProgressMonitor::rowArrived(const SiteFolderCopy::Row& row)
{
    QTreeWidgetItem* item = addRow(row.action, row.path, row.result, row.bytes);
    if (!row.failed)
        return;
    // What still has to be copied stands out among hundreds of copied files.
    item->setForeground(2, QColor(0xb0, 0x10, 0x10));
    if (m_closing)
        return;
    // The first failure of a pass is told at once; the others wait for the question at its end.
    if (++m_failuresThisPass == 1) {
        raise();
        DisplayMsg(L("UploadTxError"));
    }
}

void ProgressMonitor::showProgress(const SiteFolderCopy::Progress& p)
{
    m_bar->setRange(0, std::max(1, kb(p.bytesTotal)));
    m_bar->setValue(kb(p.bytesDone));
    m_filesLeft->setText(QString::number(p.filesLeft));
    const qint64 elapsed = m_clock.elapsed() / 1000;
    // Too little done, too soon: no honest estimate yet.
    if (p.bytesDone <= 0 || (p.bytesTotal > 0 && p.bytesDone * 10 < p.bytesTotal && elapsed <= 29))
        m_timeRemaining->setText(L("EstimatingTimeRemaining"));
    else
        m_timeRemaining->setText(QStringLiteral("%1 = %2").arg(
            L("TimeRemaining"), Utils::timeToText(int(elapsed * (p.bytesTotal - p.bytesDone) / p.bytesDone))));
}

void ProgressMonitor::passFinished(const QStringList& failed, bool aborted)
{
    m_failed = failed;
    m_abort->setEnabled(false);
    m_timeRemaining->clear();
    m_filesLeft->setText(QString::number(aborted ? failed.size() : 0));
    showErrors();
    if (aborted) {
        Q_EMIT passEnded();
        return;
    }
    if (!failed.isEmpty()) {
        if (!processFailedTransactions()) {
            DisplayMsg(L("UploadNotComplete"));
            Q_EMIT passEnded();
        }
        return;
    }
    QString error;
    m_recorded = m_moc && SiteUpload::saveRecord(*m_moc, m_upload, QDateTime::currentDateTime(), &error);
    raise();
    DisplayMsg(m_recorded || !m_moc ? L("UploadComplete") : QStringLiteral("%1\n%2").arg(L("UploadComplete"), error));
    Q_EMIT passEnded();
}

bool ProgressMonitor::processFailedTransactions()
{
    if (m_failed.isEmpty())
        return false;
    raise();
    if (!Utils::displayYesNoQuery(QStringLiteral("%1 %2 %3").arg(L("UploadRetry1")).arg(m_failed.size()).arg(L("UploadRetry2")),
                                  L("Retry"), L("Ignore")))
        return false;
    addRow(L("RetryProgress"), {}, {}, 0);
    runPass(m_failed);
    return true;
}

void ProgressMonitor::showErrors()
{
    if (m_failed.isEmpty())
        m_errors->setText(L("NoErrors"));
    else
        m_errors->setText(QStringLiteral("%1 %2 %3")
                              .arg(m_failed.size())
                              .arg(m_failed.size() > 1 ? L("files") : L("file"), L("toBeResubmitted")));
}

void ProgressMonitor::abortUpload()
{
    m_aborting->store(true);
}

void ProgressMonitor::closeMonitor()
{
    if (isRunning()) {
        const int left = m_filesLeft->text().toInt();
        if (!Utils::displayYesNoQuery(QStringLiteral("%1 %2 %3?").arg(L("AbortUpload")).arg(left).arg(L("files")), L("Abort"),
                                      L("ContinueUpload")))
            return;
        m_closing = true;
        abortUpload();
        m_thread->wait();
    }
    m_closing = true;
    QDialog::reject();
}

void ProgressMonitor::reject()
{
    // Escape: the same question as the Close button.
    if (m_closing)
        QDialog::reject();
    else
        closeMonitor();
}

void ProgressMonitor::closeEvent(QCloseEvent* event)
{
    // The window's own close box: the same question as the Close button.
    if (!m_closing) {
        event->ignore();
        closeMonitor();
        return;
    }
    QDialog::closeEvent(event);
}

QString ProgressMonitor::timeRemainingText() const
{
    return m_timeRemaining->text();
}

QString ProgressMonitor::errorsText() const
{
    return m_errors->text();
}

QString ProgressMonitor::filesLeftText() const
{
    return m_filesLeft->text();
}
