#pragma once

#include <QCryptographicHash>
#include <QDialog>
#include <QPointer>
#include <QString>

#include <memory>

class DownloadLatestVersionNo;
class QLabel;
class QProgressBar;
class QPushButton;
class QTemporaryFile;
class QUrl;
class UpdateServerRequest;

// Help > "Download Latest Release...": looks up the latest release on the update server and, when it is newer
// than the running program, downloads it into the user's download folder. The download is written to a
// temporary file beside its destination, checked against the SHA-256 published beside it on the server, and only
// then given its name (the first free one: "..._1.tar.gz" when the name is taken); the folder is then opened.
// Nothing downloaded is ever run. Closing the window cancels a download and removes what had arrived.
//
//   DownloadLatestRelease::showWindow();   // one window at a time; deletes itself when closed
class DownloadLatestRelease : public QDialog {
    Q_OBJECT
public:
    enum class State {
        Checking, // reading the latest version
        Failed, // the version could not be read
        UpToDate, // nothing newer to download
        NewerVersion, // the download button is offered
        Downloading,
        Finished, // downloaded, checked and in the download folder
        DownloadFailed,
    };

    // Shows the window (raising the one already open) and starts the check.
    static DownloadLatestRelease* showWindow();
    // The open window, if any.
    static DownloadLatestRelease* shared();

    explicit DownloadLatestRelease(QWidget* parent = nullptr);
    ~DownloadLatestRelease() override;

    State state() const { return m_state; }
    QString installedVersion() const { return m_installedVersion; }
    QString latestVersion() const { return m_latestVersion; }
    QString progressMessage() const;
    float percentDone() const { return m_percentDone; }
    // Where the checked release was put; empty until then.
    QString destinationFilePath() const { return m_destinationFilePath; }

    // Starts reading the latest version (showWindow() does).
    void getLatestVersionNumberFromWebSite();
    // Whether the latest version is newer than the installed one.
    bool canDownload() const;
    // The download button: fetches the release of the latest version.
    void download();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void getLatestSerialNoFinished(const QString& status);
    void setState(State state, const QString& message);
    void downloadRelease(const QUrl& url, const QByteArray& expectedDigest);
    bool writeData(const QByteArray& data);
    void releaseChecked();
    void downloadFailed(const QString& description);
    void checksumRefused();
    void cancelDownload();

    State m_state = State::Checking;
    QString m_installedVersion;
    QString m_latestVersion;
    QString m_latestFilename;
    QString m_destinationFilePath;
    float m_percentDone = 0;
    qint64 m_bytesReceived = 0;
    qint64 m_fileSize = 0;

    QPointer<DownloadLatestVersionNo> m_check;
    QPointer<UpdateServerRequest> m_request;
    std::unique_ptr<QTemporaryFile> m_part;
    QCryptographicHash m_hash {QCryptographicHash::Sha256};

    QLabel* m_message = nullptr;
    QProgressBar* m_spinningIndicator = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_downloadButton = nullptr;
};
