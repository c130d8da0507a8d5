#pragma once

#include "TestSupport.h"

#include "platform/Workspace.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <memory>

#include <gtest/gtest.h>

// A private set of desktop entries and MIME associations for `mimeType`, whose applications are one shell
// script that records the arguments it was started with. Installs itself as the workspace's search paths.
//   editor.desktop   "Test Editor", Exec "<script> --editor %F", the default (mimeapps.list)
//   viewer.desktop   "Test Viewer", Exec "<script> --viewer %u", first in mimeinfo.cache
//   kde-sub.desktop  in a sub-folder, found by its MimeType only
//   plain.desktop    text/plain only (a type the file's type derives from)
//   removed.desktop  removed by mimeapps.list; hidden.desktop hidden; tryexec.desktop its TryExec is missing
class WorkspaceFixture {
public:
    explicit WorkspaceFixture(const QString& parent, const QString& mimeType)
        : m_dir(parent + "/workspace-XXXXXX")
    {
        const QString apps = m_dir.path() + "/data/applications";
        QDir().mkpath(apps + "/kde");
        QDir().mkpath(m_dir.path() + "/config");
        script = m_dir.path() + "/record app.sh";
        record = m_dir.path() + "/launched.txt";
        write(script, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" + record.toUtf8() + ".part\" && mv \"" +
                          record.toUtf8() + ".part\" \"" + record.toUtf8() + "\"\n");
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QString quoted = script;
        quoted.replace(' ', "\\s");  // the desktop-entry escape for a blank, inside the quoted program
        const QByteArray t = mimeType.toUtf8();
        const QByteArray exec = "\"" + quoted.toUtf8() + "\"";
        write(apps + "/editor.desktop", "[Desktop Entry]\nType=Application\nName=Test Editor\nName[de]=Testeditor\n"
                                        "Exec=" + exec + " --editor %F\nMimeType=" + t + ";text/plain;\n"
                                        "[Desktop Action New]\nExec=wrong\n");
        write(apps + "/viewer.desktop",
              "[Desktop Entry]\nType=Application\nName=Test Viewer\nExec=" + exec + " --viewer %u\nMimeType=" + t + ";\n");
        write(apps + "/kde/sub.desktop",
              "[Desktop Entry]\nType=Application\nName=Sub App\nExec=" + exec + " --sub\nMimeType=" + t + "\n");
        write(apps + "/plain.desktop",
              "[Desktop Entry]\nType=Application\nName=Plain\nExec=" + exec + " --plain %f\nMimeType=text/plain;\n");
        write(apps + "/removed.desktop",
              "[Desktop Entry]\nType=Application\nName=Removed\nExec=" + exec + "\nMimeType=" + t + ";\n");
        write(apps + "/hidden.desktop", "[Desktop Entry]\nType=Application\nName=Hidden\nHidden=true\nExec=" + exec +
                                            "\nMimeType=" + t + ";\n");
        write(apps + "/tryexec.desktop", "[Desktop Entry]\nType=Application\nName=Gone\nTryExec=/nonexistent/prog\n"
                                         "Exec=" + exec + "\nMimeType=" + t + ";\n");
        write(apps + "/link.desktop", "[Desktop Entry]\nType=Link\nName=Link\nURL=http://example.org\n");
        write(apps + "/mimeinfo.cache", "[MIME Cache]\n" + t + "=viewer.desktop;editor.desktop;removed.desktop;\n");
        write(m_dir.path() + "/config/mimeapps.list", "[Default Applications]\n" + t +
                                                          "=missing.desktop;editor.desktop;\n"
                                                          "[Removed Associations]\n" + t + "=removed.desktop;\n");
        Workspace::shared().setSearchPaths({m_dir.path() + "/data"}, {m_dir.path() + "/config"});
    }
    ~WorkspaceFixture() { Workspace::shared().setSearchPaths({}, {}); }

    // The recorded arguments of the script's last start (waits for it; only a hung start gives up, failing).
    QStringList launched()
    {
        const QDeadlineTimer limit(TestSupport::kHungRunMilliseconds);
        while (!QFile::exists(record) && !limit.hasExpired())
            QThread::msleep(20);
        if (!QFile::exists(record))
            ADD_FAILURE() << "the application was not started: gave up waiting for it";
        QFile f(record);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList args = QString::fromUtf8(f.readAll()).split('\n');
        if (!args.isEmpty() && args.last().isEmpty())
            args.removeLast();
        f.close();
        QFile::remove(record);
        return args;
    }

    QString path() const { return m_dir.path(); }
    QString script;
    QString record;

private:
    static void write(const QString& path, const QByteArray& content)
    {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(content);
    }
    QTemporaryDir m_dir;
};
