#pragma once

#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

// Writes a folder to a CD or DVD with xorriso (Debian's package of that name): an ISO 9660 image with Rock Ridge
// and Joliet names, written to an optical drive ("/dev/sr0") or, through xorriso's "stdio:" drives, to an image
// file ("stdio:/tmp/pages.iso"). The program runs as a separate process: progress and the end come as signals on
// the thread that started it, and cancel() stops it.
//
//   DiscBurner burner;
//   const QStringList drives = DiscBurner::drives();              // empty: no drive
//   connect(&burner, &DiscBurner::progress, ...);  connect(&burner, &DiscBurner::finished, ...);
//   burner.start(folder, drives.first());
class DiscBurner : public QObject {
    Q_OBJECT
public:
    explicit DiscBurner(QObject* parent = nullptr);
    ~DiscBurner() override;

    // The program that writes; "xorriso" on the PATH unless changed (tests name one that is missing).
    static QString& program();

    // The optical drives xorriso finds ("/dev/sr0"), empty when there are none or xorriso cannot run (then
    // `error`, when given, says why).
    static QStringList drives(QString* error = nullptr);
    // The size of the folder on a disc in 2048-byte blocks: its files rounded up to whole blocks, a block per folder
    // and name, and the image's own tables.
    static quint64 blocksRequired(const QString& folder);
    // The free blocks of the medium in `drive`, or -1 when it cannot be read (no medium, no drive).
    static qint64 freeBlocks(const QString& drive, QString* error = nullptr);
    // The volume name of a folder's disc: its name in capitals, letters, digits and "_" only, at most 32.
    static QString volumeId(const QString& folder);
    // xorriso's arguments for writing `folder` to `drive`; a disc that holds data is blanked first when it can be.
    static QStringList arguments(const QString& folder, const QString& drive);

    void start(const QString& folder, const QString& drive);
    bool isRunning() const;
    void cancel();

Q_SIGNALS:
    // `percent` 0 to 100, `status` xorriso's own line of what it does.
    void progress(double percent, const QString& status);
    // Once per start(): `ok` when the whole folder was written; otherwise `error` says why.
    void finished(bool ok, const QString& error);

private:
    void readOutput();
    void processFinished(int exitCode, QProcess::ExitStatus status);

    QProcess* m_process = nullptr;
    QByteArray m_pending;
    QString m_lastProblem;
    bool m_cancelled = false;
};
