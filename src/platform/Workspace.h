#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QUrl;

// Opens files and addresses in other applications and lists the applications that open a kind of file,
// from the freedesktop desktop-entry files (applications/*.desktop under the XDG data folders) and the MIME
// associations (mimeinfo.cache, mimeapps.list). Applications are named by their desktop-file id,
// "org.example.Editor.desktop", which is what the preferences store.
class Workspace {
public:
    struct Application {
        QString id;       // desktop-file id
        QString name;     // Name
        QString exec;     // Exec, with the desktop-entry escapes already undone
        QString icon;     // Icon
        QString path;     // the .desktop file
        QStringList mimeTypes;
    };

    static Workspace& shared();

    // The folders searched, most important first: data folders (each holding applications/) and configuration
    // folders (holding mimeapps.list). Empty lists mean the XDG environment (XDG_DATA_HOME, XDG_DATA_DIRS,
    // XDG_CONFIG_HOME, XDG_CONFIG_DIRS and their standard fall-backs). Tests point these at fixtures.
    void setSearchPaths(const QStringList& dataDirs, const QStringList& configDirs);

    QString mimeTypeForFile(const QString& path) const;

    // An application by desktop-file id (with or without ".desktop") or, failing that, by its Name
    // (without regard to case).
    std::optional<Application> application(const QString& idOrName) const;

    // The ids of the applications that open the file's type, most preferred first: associations of the exact
    // type before those of the types it derives from (text/csv before text/plain). Nothing for a missing file.
    QStringList applicationsForFile(const QString& path) const;
    // The default application's id for the file's type, or empty.
    QString defaultApplicationForFile(const QString& path) const;

    // Opens the file in the default application of its type (the desktop's own opener when the databases
    // name none). Answers false with a reason when nothing could be started.
    bool openFile(const QString& path, QString* error = nullptr) const;
    // The same, at a place in the file: a browser given the file as an address (field codes %u and %U) is given
    // "#anchor" with it. An application that takes file names gets the file alone. The desktop's opener only
    // learns that nothing opens the file after it has started, so `failedLater` is called then, from the event
    // loop, when this has already answered true.
    bool openFileAt(const QString& path, const QString& anchor, QString* error = nullptr,
                    const std::function<void()>& failedLater = {}) const;
    // Opens the file in the named application: a desktop-file id, an application's Name, or a program on PATH.
    bool openFile(const QString& path, const QString& application, QString* error = nullptr) const;
    bool openUrl(const QUrl& url, const std::function<void()>& failedLater = {}) const;
    // What opens a file or an address that no desktop entry here takes: the desktop's own opener unless tests set
    // another (one that refuses stands for a computer without a browser). Empty restores the desktop's.
    void setDesktopOpener(std::function<bool(const QUrl&)> opener) { m_desktopOpener = std::move(opener); }

    // The command line (program first) that an application's Exec key gives for `files`, with the field codes
    // %f %F %u %U %i %c %k %% filled in and the deprecated ones dropped. A line with no file code gets the
    // file appended. More than one file with %f or %u gives one command line per file. Empty with a reason
    // when the Exec line cannot be read (an unclosed quote, no program). An anchor follows every file address
    // (%u, %U) after a "#".
    static QList<QStringList> commandLines(const Application& app, const QStringList& files,
                                           QString* error = nullptr, const QString& anchor = {});

    // Reads one desktop-entry file; nothing unless it is an application that is not hidden.
    static std::optional<Application> readDesktopEntry(const QString& path, const QString& id);

private:
    Workspace() = default;
    QStringList dataDirs() const;
    QStringList configDirs() const;
    QStringList mimeappsFiles() const;
    QStringList typeAndAncestors(const QString& path) const;
    bool openWithDesktop(const QUrl& url, const std::function<void()>& failedLater = {}) const;
    QStringList m_dataDirs;
    QStringList m_configDirs;
    std::function<bool(const QUrl&)> m_desktopOpener;
};
