#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

// Copies a saved page set into a site folder (the folder a web server, a synced folder or a static-site host
// serves), file by file, on whatever thread runs it: first the estimate (what the set holds and how many bytes),
// then the folders, then the files, each reported as a row, with the bytes done as it goes. Folders and files are
// told apart by what they are on disk, never by their names (a file without an extension is still a file).
//
// A file that cannot be copied does not stop the others; it is reported and answered as failed, so that the
// caller can offer to copy just those again. A file that already stands at its place with the same size and
// modification time (within two seconds, which FAT and network folders round to) is left as it is: copies keep
// their source's modification time, so copying the same set again sends only what changed. Each file is written
// under a temporary name and renamed into place, so a reader of the site never sees half a page.
//
//   SiteFolderCopy copy(reports + "/Family_WebPages_1", siteRoot + "/Family_WebPages_1");
//   std::atomic_bool abort = false;
//   if (!copy.estimate(&error)) ...
//   const QStringList failed = copy.copy({}, abort, callbacks);   // empty and !copy.aborted(): all arrived
class SiteFolderCopy {
public:
    struct Item {
        QString relativePath;
        qint64 size = 0;
        bool folder = false;
    };
    // One line of the record the progress window shows. `failed` rows are the files still to be copied.
    struct Row {
        QString action;
        QString path; // relative to the page set; the set's own folder is "."
        QString result;
        qint64 bytes = 0;
        bool failed = false;
    };
    struct Progress {
        qint64 bytesDone = 0;  // of this pass
        qint64 bytesTotal = 0; // of this pass
        int filesLeft = 0;
    };
    // Called on the copying thread, in order.
    struct Callbacks {
        std::function<void(const Row&)> row;
        std::function<void(const Progress&)> progress;
    };

    SiteFolderCopy(const QString& source, const QString& destination);

    const QString& source() const { return m_source; }
    const QString& destination() const { return m_destination; }

    // Lists the set's folders and files (sorted, folders before what they hold). False, with the reason, when the
    // set cannot be read; entries that are neither (sockets, links to folders) are reported by copy() as failed.
    bool estimate(QString* error = nullptr);
    const QList<Item>& items() const { return m_items; }
    qint64 totalBytes() const;
    int fileCount() const;

    // Copies the listed items, or only the files named in `only` (a retry). Answers the relative paths of the files
    // that did not arrive: failed, or never tried because `abort` was set. Makes the destination first; when that
    // fails every file is answered.
    QStringList copy(const QStringList& only, const std::atomic_bool& abort, const Callbacks& callbacks);
    bool aborted() const { return m_aborted; }
    // Files written and files left as they were, over every pass.
    int copiedFiles() const { return m_copied; }
    int unchangedFiles() const { return m_unchanged; }

private:
    bool copyFile(const Item& item, const std::atomic_bool& abort, const std::function<void(qint64)>& advance,
                  QString* result);

    QString m_source;
    QString m_destination;
    QList<Item> m_items;
    QStringList m_unusable; // entries that are neither a file nor a folder
    bool m_aborted = false;
    int m_copied = 0;
    int m_unchanged = 0;
};
