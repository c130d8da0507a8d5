#include "shell/ui/DownloadLatestRelease.h"

#include "shell/DisplayMsg.h"
#include "shell/UpdateCheck.h"
#include "shell/UtilsFunctions.h"
#include "shell/ui/DownloadLatestVersionNo.h"
#include "shell/ui/ThemeIcon.h"
#include "shell/ui/UpdateServerRequest.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"
#include "platform/Workspace.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryFile>
#include <QVBoxLayout>

namespace {
QPointer<DownloadLatestRelease> g_window;

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

DownloadLatestRelease* DownloadLatestRelease::showWindow()
{
    if (g_window) {
        g_window->show();
        g_window->raise();
        g_window->activateWindow();
        return g_window;
    }
    g_window = new DownloadLatestRelease;
    g_window->show();
    g_window->getLatestVersionNumberFromWebSite();
    return g_window;
}

DownloadLatestRelease* DownloadLatestRelease::shared()
{
    return g_window;
}

DownloadLatestRelease::DownloadLatestRelease(QWidget* parent)
    : QDialog(parent)
    , m_installedVersion(UpdateCheck::installedVersion())
{
    setObjectName(QStringLiteral("DownloadUpdateDialog"));
    setWindowTitle(L("DownloadLatestReleaseTitle"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setAutoFillBackground(true);

    auto* icon = new QLabel;
    icon->setPixmap(themeIcon(QStringLiteral("system-software-update")).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* title = new QLabel(Prompts::kAlertTitle);
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    title->setFont(bold);
    auto* installed = new QLabel(L("InstalledVersion").arg(m_installedVersion));
    installed->setObjectName(QStringLiteral("installedVersion"));

    m_message = new QLabel;
    m_message->setObjectName(QStringLiteral("progressMessage"));
    m_message->setWordWrap(true);
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_message->setMinimumWidth(380);
    m_message->setMinimumHeight(m_message->fontMetrics().lineSpacing() * 3);
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_spinningIndicator = new QProgressBar;
    m_spinningIndicator->setObjectName(QStringLiteral("spinningIndicator"));
    m_spinningIndicator->setRange(0, 0);
    m_spinningIndicator->setTextVisible(false);
    m_spinningIndicator->setVisible(false);

    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("percentDone"));
    m_progress->setRange(0, 100);
    m_progress->setVisible(false);

    auto* text = new QVBoxLayout;
    text->setSpacing(6);
    text->addWidget(title);
    text->addWidget(installed);
    text->addSpacing(6);
    text->addWidget(m_message);
    text->addWidget(m_spinningIndicator);
    text->addWidget(m_progress);
    text->addStretch(1);

    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(text, 1);

    auto* buttons = new QDialogButtonBox;
    m_downloadButton = buttons->addButton(L("Download"), QDialogButtonBox::AcceptRole);
    m_downloadButton->setObjectName(QStringLiteral("downloadButton"));
    m_downloadButton->setIcon(themeIcon(QStringLiteral("document-save")));
    m_downloadButton->setDefault(true);
    m_downloadButton->setVisible(false);
    QPushButton* close = buttons->addButton(L("Close"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("closeButton"));
    connect(m_downloadButton, &QPushButton::clicked, this, [this] { download(); });
    connect(close, &QPushButton::clicked, this, [this] { this->close(); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 16);
    layout->setSpacing(16);
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setState(State::Checking, QString());
}

DownloadLatestRelease::~DownloadLatestRelease()
{
    FTLog(QStringLiteral("dealloc DownloadLatestRelease"));
    NotificationCenter::defaultCenter().removeObserversOf(this);
    cancelDownload();
}

QString DownloadLatestRelease::progressMessage() const
{
    return m_message->text();
}

void DownloadLatestRelease::setState(State state, const QString& message)
{
    m_state = state;
    m_message->setText(message);
    const bool checking = state == State::Checking;
    m_spinningIndicator->setVisible(checking);
    m_downloadButton->setVisible(state == State::NewerVersion);
    m_progress->setVisible(state == State::Downloading || state == State::Finished);
    m_progress->setValue(int(m_percentDone));
}

void DownloadLatestRelease::getLatestVersionNumberFromWebSite()
{
    if (m_check)
        return;
    m_latestVersion.clear();
    setState(State::Checking, L("CheckingForUpdates"));
    m_check = new DownloadLatestVersionNo(this);
    NotificationCenter::defaultCenter().addObserver(
        DownloadLatestVersionNo::kFinished, m_check.data(),
        [this](const Notification& n) {
            getLatestSerialNoFinished(n.userInfo.value(QStringLiteral("status")).toString());
        },
        this);
    m_check->connectToWebSite();
}

void DownloadLatestRelease::getLatestSerialNoFinished(const QString& status)
{
    if (!m_check)
        return;
    NotificationCenter::defaultCenter().removeObserversOf(this);
    m_latestVersion = m_check->latestVersionNo();
    m_check->deleteLater();
    m_check = nullptr;
    if (status.startsWith(L("Error"))) {
        setState(State::Failed, status);
        DisplayMsg(status);
    } else if (canDownload()) {
        setState(State::NewerVersion, L("NewerVersionAvailable").arg(m_latestVersion, m_installedVersion));
        m_downloadButton->setFocus();
    } else {
        setState(State::UpToDate,
            QStringLiteral("%1 %2 %3").arg(L("SuccessWithFailure1"), m_installedVersion, L("SuccessWithFailure2")));
    }
}

bool DownloadLatestRelease::canDownload() const
{
    return UpdateCheck::canDownload(m_installedVersion, m_latestVersion);
}

void DownloadLatestRelease::download()
{
    if (m_state != State::NewerVersion)
        return;
    m_latestFilename = UpdateCheck::releaseFileName(m_latestVersion);
    QString why;
    const QUrl server = UpdateCheck::updateUrl(&why);
    const QString folder = UpdateCheck::downloadFolder();
    if (!m_latestFilename.isEmpty() && server.isValid()) {
        // Hidden, and named so that it is plainly unfinished, until it has been checked.
        m_part = std::make_unique<QTemporaryFile>(QStringLiteral("%1/.%2.XXXXXX.part").arg(folder, m_latestFilename));
        if (!m_part->open()) {
            why = m_part->errorString();
            m_part.reset();
        }
    }
    if (!m_part) {
        DisplayMsg(QStringLiteral("%1\n\n%2").arg(L("UnableToStart"), why).trimmed());
        return;
    }
    m_bytesReceived = 0;
    m_fileSize = 0;
    m_percentDone = 0;
    m_hash.reset();
    m_destinationFilePath.clear();
    setState(State::Downloading, L("DownloadingRelease").arg(m_latestFilename));

    // The checksum first: without one, nothing is worth downloading.
    const QUrl url = UpdateCheck::fileUrl(server, m_latestFilename + QStringLiteral(".sha256"));
    FTLog(QStringLiteral("Downloading %1").arg(url.toString()));
    m_request = new UpdateServerRequest(url, UpdateCheck::kMaxChecksumFileBytes, this);
    m_request->done = [this, server](const UpdateServerRequest::Result& result) {
        m_request->deleteLater();
        // No checksum on the server (or not one that can be read) is refused like a wrong one.
        const bool none = result.status == 404 || result.status == 410 || result.tooLong;
        if (!none && !result.failure.isEmpty()) {
            downloadFailed(result.failure);
            return;
        }
        const QByteArray digest = none ? QByteArray() : UpdateCheck::readChecksumFile(result.data, m_latestFilename);
        if (digest.isEmpty()) {
            checksumRefused();
            return;
        }
        downloadRelease(UpdateCheck::fileUrl(server, m_latestFilename), digest);
    };
    m_request->start();
}

void DownloadLatestRelease::downloadRelease(const QUrl& url, const QByteArray& expectedDigest)
{
    m_request = new UpdateServerRequest(url, 0, this);
    m_request->onData = [this](const QByteArray& bytes, qint64 length) {
        if (length > 0)
            m_fileSize = length;
        return writeData(bytes);
    };
    m_request->done = [this, expectedDigest](const UpdateServerRequest::Result& result) {
        m_request->deleteLater();
        if (!result.failure.isEmpty())
            downloadFailed(result.failure);
        else if (m_hash.result().toHex() != expectedDigest) {
            FTLog(QStringLiteral("%1: SHA-256 %2, expected %3")
                      .arg(m_latestFilename, QString::fromLatin1(m_hash.result().toHex()),
                          QString::fromLatin1(expectedDigest)));
            checksumRefused();
        } else
            releaseChecked();
    };
    m_request->start();
}

bool DownloadLatestRelease::writeData(const QByteArray& data)
{
    if (!m_part)
        return false;
    if (m_part->write(data) != data.size()) {
        downloadFailed(m_part->errorString());
        return false;
    }
    m_hash.addData(data);
    m_bytesReceived += data.size();
    if (m_fileSize > 0) {
        m_percentDone = std::min(100.0f, float(m_bytesReceived) * 100.0f / float(m_fileSize));
        m_progress->setValue(int(m_percentDone));
    }
    return true;
}

void DownloadLatestRelease::releaseChecked()
{
    if (!m_part->flush()) {
        downloadFailed(m_part->errorString());
        return;
    }
    // Named while still open: an unnamed temporary file gets its name only then.
    const QString partPath = m_part->fileName();
    m_part->close();
    QString error;
    const QString folder = QFileInfo(partPath).absolutePath();
    const QString placed = UpdateCheck::placeDownload(partPath, folder, m_latestFilename, &error);
    if (placed.isEmpty()) {
        downloadFailed(error);
        return;
    }
    m_part->setAutoRemove(false);
    m_part.reset();
    m_destinationFilePath = placed;
    m_fileSize = m_bytesReceived;
    m_percentDone = 100;
    setState(State::Finished,
        QStringLiteral("%1.\n%2 = %3 bytes\n%4")
            .arg(L("DldCompleteMsg"), L("FileSize"), QString::number(m_fileSize), placed));

    // The user unpacks and installs it: nothing downloaded is run from here.
    QString why;
    const bool opened = Workspace::shared().openFile(folder, &why);
    if (!opened)
        FTLog(QStringLiteral("Could not open %1: %2").arg(folder, why));
    DisplayMsg(QStringLiteral("%1\n\n%2 %3 %4\n\n%5 %6")
                   .arg(L("DldComplete1"), L("DldComplete2"), Prompts::kAlertTitle, L("DldComplete3"), placed,
                       opened ? L("DldComplete4") : L("DldFolderNotOpened")));
}

void DownloadLatestRelease::checksumRefused()
{
    cancelDownload();
    setState(State::DownloadFailed, QStringLiteral("%1\n\n%2").arg(L("DldError1"), L("DldError2")));
    DisplayMsg(m_message->text());
}

void DownloadLatestRelease::downloadFailed(const QString& description)
{
    cancelDownload();
    setState(State::DownloadFailed, QStringLiteral("%1.\n%2: %3").arg(L("DldFail"), L("Error"), description));
    DisplayMsg(m_message->text());
}

void DownloadLatestRelease::cancelDownload()
{
    if (m_request) {
        m_request->abort();
        m_request->deleteLater();
        m_request = nullptr;
    }
    // An unchecked or partial download never stays behind.
    m_part.reset();
}

void DownloadLatestRelease::closeEvent(QCloseEvent* event)
{
    // A closed window is going: the next command opens a new one.
    if (g_window == this)
        g_window = nullptr;
    cancelDownload();
    NotificationCenter::defaultCenter().removeObserversOf(this);
    if (m_check)
        m_check->deleteLater();
    event->accept();
}

void DownloadLatestRelease::reject()
{
    close();
}
