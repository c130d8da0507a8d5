#include "platform/Workspace.h"

#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMimeDatabase>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QUrl>

#include <memory>

namespace {

// The string escapes of desktop-entry values: \s \n \t \r \\ (and \; inside lists, kept for the split).
QString unescapeValue(const QString& v, bool list)
{
    QString out;
    out.reserve(v.size());
    for (qsizetype i = 0; i < v.size(); ++i) {
        const QChar c = v[i];
        if (c != '\\' || i + 1 == v.size()) {
            out += c;
            continue;
        }
        const QChar e = v[++i];
        if (e == 's')
            out += ' ';
        else if (e == 'n')
            out += '\n';
        else if (e == 't')
            out += '\t';
        else if (e == 'r')
            out += '\r';
        else if (e == '\\')
            out += list ? QStringLiteral("\\\\") : QStringLiteral("\\");
        else if (e == ';' && list)
            out += QStringLiteral("\\;");
        else
            out += QString(c) + e;
    }
    return out;
}

QStringList splitList(const QString& v)
{
    const QString s = unescapeValue(v, true);
    QStringList out;
    QString cur;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            cur += s[++i];
        } else if (s[i] == ';') {
            if (!cur.trimmed().isEmpty())
                out << cur.trimmed();
            cur.clear();
        } else {
            cur += s[i];
        }
    }
    if (!cur.trimmed().isEmpty())
        out << cur.trimmed();
    return out;
}

// The keys of one group of an ini-like freedesktop file (desktop entries, mimeapps.list, mimeinfo.cache).
QHash<QString, QString> readGroup(const QString& path, const QString& group)
{
    QHash<QString, QString> keys;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return keys;
    const QString header = '[' + group + ']';
    bool inGroup = false;
    const QStringList lines = QString::fromUtf8(f.readAll()).split('\n');
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (line.startsWith('[')) {
            inGroup = line == header;
            continue;
        }
        if (!inGroup)
            continue;
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        if (!keys.contains(key))
            keys.insert(key, line.mid(eq + 1).trimmed());
    }
    return keys;
}

bool isTrue(const QString& v) { return v.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0; }

bool programExists(const QString& program)
{
    if (program.contains('/')) {
        QFileInfo fi(program);
        return fi.isFile() && fi.isExecutable();
    }
    return !QStandardPaths::findExecutable(program).isEmpty();
}

QStringList envPaths(const char* name, const QString& fallback)
{
    QString v = qEnvironmentVariable(name);
    if (v.isEmpty())
        v = fallback;
    QStringList out;
    for (const QString& p : v.split(':', Qt::SkipEmptyParts))
        out << QDir::cleanPath(p);
    return out;
}

// Every installed application, by desktop-file id; the first data folder that holds an id decides, so a
// hidden entry in the user's folder removes a system-wide one.
struct Installed {
    QHash<QString, Workspace::Application> apps;
    QStringList order;  // ids in data-folder order, then name order within a folder
};

Installed scanInstalled(const QStringList& dataDirs)
{
    Installed out;
    QSet<QString> decided;
    for (const QString& dir : dataDirs) {
        const QString appsDir = dir + "/applications";
        QStringList files;
        QDirIterator it(appsDir, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        files.sort();
        for (const QString& file : files) {
            QString id = QDir(appsDir).relativeFilePath(file);
            id.replace('/', '-');
            if (decided.contains(id))
                continue;
            decided.insert(id);
            if (auto app = Workspace::readDesktopEntry(file, id)) {
                out.apps.insert(id, *app);
                out.order << id;
            }
        }
    }
    return out;
}

QStringList associationsForType(const Installed& installed, const QStringList& mimeapps, const QStringList& dataDirs,
                                const QString& mimeType)
{
    QStringList out;
    QSet<QString> removed;
    auto add = [&](const QString& id) {
        if (installed.apps.contains(id) && !removed.contains(id) && !out.contains(id))
            out << id;
    };
    for (const QString& file : mimeapps) {
        if (!QFileInfo::exists(file))
            continue;
        for (const QString& id : splitList(readGroup(file, QStringLiteral("Default Applications")).value(mimeType)))
            add(id);
        for (const QString& id : splitList(readGroup(file, QStringLiteral("Added Associations")).value(mimeType)))
            add(id);
        for (const QString& id : splitList(readGroup(file, QStringLiteral("Removed Associations")).value(mimeType)))
            removed.insert(id);
    }
    for (const QString& dir : dataDirs)
        for (const QString& id :
             splitList(readGroup(dir + "/applications/mimeinfo.cache", QStringLiteral("MIME Cache")).value(mimeType)))
            add(id);
    // Entries newer than the cache still count.
    for (const QString& id : installed.order)
        if (installed.apps.value(id).mimeTypes.contains(mimeType))
            add(id);
    return out;
}

QString defaultForType(const Installed& installed, const QStringList& mimeapps, const QString& mimeType)
{
    for (const QString& file : mimeapps) {
        if (!QFileInfo::exists(file))
            continue;
        for (const QString& id : splitList(readGroup(file, QStringLiteral("Default Applications")).value(mimeType)))
            if (installed.apps.contains(id))
                return id;
    }
    return {};
}

QString fileUrl(const QString& path, const QString& anchor = {})
{
    QUrl url = QUrl::fromLocalFile(path);
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    return QString::fromUtf8(url.toEncoded());
}

} // namespace

Workspace& Workspace::shared()
{
    static Workspace w;
    return w;
}

void Workspace::setSearchPaths(const QStringList& dataDirs, const QStringList& configDirs)
{
    m_dataDirs = dataDirs;
    m_configDirs = configDirs;
}

QStringList Workspace::dataDirs() const
{
    if (!m_dataDirs.isEmpty())
        return m_dataDirs;
    return envPaths("XDG_DATA_HOME", QDir::homePath() + "/.local/share")
           + envPaths("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
}

QStringList Workspace::configDirs() const
{
    if (!m_configDirs.isEmpty())
        return m_configDirs;
    return envPaths("XDG_CONFIG_HOME", QDir::homePath() + "/.config")
           + envPaths("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
}

// mimeapps.list files, most important first: desktop-specific before generic, configuration folders before
// data folders.
QStringList Workspace::mimeappsFiles() const
{
    QStringList desktops;
    for (const QString& d : qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(':', Qt::SkipEmptyParts))
        desktops << d.toLower();
    QStringList out;
    auto addFrom = [&](const QString& dir) {
        for (const QString& d : desktops)
            out << dir + "/" + d + "-mimeapps.list";
        out << dir + "/mimeapps.list";
    };
    for (const QString& dir : configDirs())
        addFrom(dir);
    for (const QString& dir : dataDirs())
        addFrom(dir + "/applications");
    return out;
}

std::optional<Workspace::Application> Workspace::readDesktopEntry(const QString& path, const QString& id)
{
    const auto keys = readGroup(path, QStringLiteral("Desktop Entry"));
    if (keys.value(QStringLiteral("Type")) != QLatin1String("Application") || isTrue(keys.value("Hidden")))
        return std::nullopt;
    const QString tryExec = unescapeValue(keys.value(QStringLiteral("TryExec")), false);
    if (!tryExec.isEmpty() && !programExists(tryExec))
        return std::nullopt;
    Application app;
    app.id = id;
    app.path = path;
    app.name = unescapeValue(keys.value(QStringLiteral("Name")), false);
    app.exec = unescapeValue(keys.value(QStringLiteral("Exec")), false);
    app.icon = unescapeValue(keys.value(QStringLiteral("Icon")), false);
    app.mimeTypes = splitList(keys.value(QStringLiteral("MimeType")));
    if (app.exec.trimmed().isEmpty())
        return std::nullopt;  // nothing we could start
    return app;
}

std::optional<Workspace::Application> Workspace::application(const QString& idOrName) const
{
    if (idOrName.trimmed().isEmpty())
        return std::nullopt;
    const Installed installed = scanInstalled(dataDirs());
    QString id = idOrName.trimmed();
    if (installed.apps.contains(id))
        return installed.apps.value(id);
    if (installed.apps.contains(id + ".desktop"))
        return installed.apps.value(id + ".desktop");
    for (const QString& i : installed.order)
        if (installed.apps.value(i).name.compare(id, Qt::CaseInsensitive) == 0)
            return installed.apps.value(i);
    return std::nullopt;
}

QString Workspace::mimeTypeForFile(const QString& path) const { return QMimeDatabase().mimeTypeForFile(path).name(); }

QStringList Workspace::typeAndAncestors(const QString& path) const
{
    const QMimeType mt = QMimeDatabase().mimeTypeForFile(path);
    QStringList types;
    types << mt.name() << mt.aliases();
    for (const QString& parent : mt.allAncestors()) {
        types << parent;
        types << QMimeDatabase().mimeTypeForName(parent).aliases();
    }
    types.removeDuplicates();
    return types;
}

QStringList Workspace::applicationsForFile(const QString& path) const
{
    if (!QFileInfo::exists(path))
        return {};
    const Installed installed = scanInstalled(dataDirs());
    const QStringList mimeapps = mimeappsFiles();
    QStringList out;
    for (const QString& type : typeAndAncestors(path)) {
        const QString def = defaultForType(installed, mimeapps, type);
        if (!def.isEmpty() && !out.contains(def))
            out << def;
        for (const QString& id : associationsForType(installed, mimeapps, dataDirs(), type))
            if (!out.contains(id))
                out << id;
    }
    return out;
}

QString Workspace::defaultApplicationForFile(const QString& path) const
{
    if (!QFileInfo::exists(path))
        return {};
    const Installed installed = scanInstalled(dataDirs());
    const QStringList mimeapps = mimeappsFiles();
    for (const QString& type : typeAndAncestors(path)) {
        const QString def = defaultForType(installed, mimeapps, type);
        if (!def.isEmpty())
            return def;
    }
    return applicationsForFile(path).value(0);
}

QList<QStringList> Workspace::commandLines(const Application& app, const QStringList& files, QString* error,
                                           const QString& anchor)
{
    struct Token {
        QString text;
        bool quoted;
    };
    // Split the Exec line: blanks separate arguments; a double-quoted argument keeps its blanks and
    // takes \" \` \$ \\ as escapes.
    QList<Token> tokens;
    const QString& e = app.exec;
    for (qsizetype i = 0; i < e.size();) {
        if (e[i].isSpace()) {
            ++i;
            continue;
        }
        Token t{QString(), false};
        if (e[i] == '"') {
            t.quoted = true;
            ++i;
            bool closed = false;
            while (i < e.size()) {
                const QChar c = e[i];
                if (c == '\\' && i + 1 < e.size() && QStringLiteral("\"`$\\").contains(e[i + 1])) {
                    t.text += e[i + 1];
                    i += 2;
                } else if (c == '"') {
                    closed = true;
                    ++i;
                    break;
                } else {
                    t.text += c;
                    ++i;
                }
            }
            if (!closed) {
                if (error)
                    *error = QStringLiteral("The command of %1 has an unclosed quote: %2").arg(app.id, e);
                return {};
            }
        } else {
            while (i < e.size() && !e[i].isSpace())
                t.text += e[i++];
        }
        tokens << t;
    }
    // The program comes first; a field code there would run the file itself.
    if (tokens.isEmpty() || (!tokens.first().quoted && tokens.first().text.startsWith('%'))) {
        if (error)
            *error = QStringLiteral("The application %1 names no program to start").arg(app.id);
        return {};
    }

    bool listCode = false, singleCode = false;
    for (const Token& t : tokens) {
        if (t.text == "%F" || t.text == "%U")
            listCode = true;
        else if (t.text.contains("%f") || t.text.contains("%u"))
            singleCode = true;
    }

    // One command for all files, or one per file when the line takes a single file.
    QList<QStringList> groups;
    if (singleCode && !listCode && files.size() > 1)
        for (const QString& f : files)
            groups << QStringList{f};
    else
        groups << files;

    QList<QStringList> out;
    for (const QStringList& group : groups) {
        QStringList args;
        for (const Token& t : tokens) {
            if (t.text == "%F") {
                args << group;
                continue;
            }
            if (t.text == "%U") {
                for (const QString& f : group)
                    args << fileUrl(f, anchor);
                continue;
            }
            if (t.text == "%i") {
                if (!app.icon.isEmpty())
                    args << QStringLiteral("--icon") << app.icon;
                continue;
            }
            QString a;
            bool dropped = false;
            for (qsizetype i = 0; i < t.text.size(); ++i) {
                const QChar c = t.text[i];
                if (c != '%' || i + 1 == t.text.size()) {
                    a += c;
                    continue;
                }
                const QChar code = t.text[++i];
                switch (code.unicode()) {
                case '%': a += '%'; break;
                case 'f':
                case 'F': a += group.value(0); dropped = group.isEmpty() && t.text.size() == 2; break;
                case 'u':
                case 'U': a += group.isEmpty() ? QString() : fileUrl(group.first(), anchor); dropped = group.isEmpty() && t.text.size() == 2; break;
                case 'c': a += app.name; break;
                case 'k': a += app.path; break;
                default: // %d %D %n %N %v %m and unknown codes are dropped
                    if (t.text.size() == 2)
                        dropped = true;
                    break;
                }
            }
            if (!dropped)
                args << a;
        }
        if (!listCode && !singleCode)
            args << group;
        if (args.isEmpty() || args.first().isEmpty()) {
            if (error)
                *error = QStringLiteral("The application %1 names no program to start").arg(app.id);
            return {};
        }
        out << args;
    }
    return out;
}

namespace {
bool launch(const Workspace::Application& app, const QString& path, QString* error, const QString& anchor = {})
{
    const QList<QStringList> lines = Workspace::commandLines(app, {path}, error, anchor);
    if (lines.isEmpty())
        return false;
    for (const QStringList& line : lines) {
        if (!QProcess::startDetached(line.first(), line.mid(1))) {
            if (error)
                *error = QStringLiteral("Could not start %1").arg(line.first());
            return false;
        }
    }
    return true;
}
}

bool Workspace::openFile(const QString& path, QString* error) const
{
    return openFileAt(path, {}, error);
}

bool Workspace::openFileAt(const QString& path, const QString& anchor, QString* error,
                           const std::function<void()>& failedLater) const
{
    if (!QFileInfo::exists(path)) {
        if (error)
            *error = QStringLiteral("There is no file %1").arg(path);
        return false;
    }
    const QString id = defaultApplicationForFile(path);
    if (!id.isEmpty())
        if (auto app = application(id))
            return launch(*app, path, error, anchor);
    QUrl url = QUrl::fromLocalFile(path);
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    if (openWithDesktop(url, failedLater))
        return true;
    if (error)
        *error = QStringLiteral("No application opens %1").arg(path);
    return false;
}

bool Workspace::openFile(const QString& path, const QString& applicationName, QString* error) const
{
    if (!QFileInfo::exists(path)) {
        if (error)
            *error = QStringLiteral("There is no file %1").arg(path);
        return false;
    }
    if (auto app = application(applicationName))
        return launch(*app, path, error);
    if (programExists(applicationName)) {
        if (QProcess::startDetached(applicationName, {path}))
            return true;
        if (error)
            *error = QStringLiteral("Could not start %1").arg(applicationName);
        return false;
    }
    if (error)
        *error = QStringLiteral("There is no application called %1").arg(applicationName);
    return false;
}

bool Workspace::openUrl(const QUrl& url, const std::function<void()>& failedLater) const
{
    return openWithDesktop(url, failedLater);
}

bool Workspace::openWithDesktop(const QUrl& url, const std::function<void()>& failedLater) const
{
    if (m_desktopOpener)
        return m_desktopOpener(url);
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return QDesktopServices::openUrl(url);
    // xdg-open starts whether or not anything can show the address, and says that nothing could only through
    // its exit status: watch for it, so that a computer without a browser gets a message rather than nothing.
    // Without a desktop environment xdg-open waits for the browser it starts; a browser that exits badly much
    // later is not a failure to open, hence the time limit.
    auto* process = new QProcess;
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    auto done = [process, started, failedLater](bool failed) {
        if (failed && failedLater && started->elapsed() < 10000)
            failedLater();
        process->deleteLater();
    };
    QObject::connect(process, &QProcess::finished, process, [done](int code, QProcess::ExitStatus status) {
        done(status != QProcess::NormalExit || code != 0);
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [done](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            done(true);
    });
    process->start(opener, {url.toString(QUrl::FullyEncoded)});
    return true;
}
