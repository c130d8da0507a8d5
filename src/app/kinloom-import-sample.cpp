// kinloom-import-sample [--resources DIR] IN.ged OUT.RezUdu
//
// Makes the sample database that the program offers at its first start: imports the GEDCOM file with the program's
// own import into a new database and puts it at OUT (replacing an older one). The build runs it. Nothing of the
// user's is read or written: the settings, the data folder (pictures) and the import's logs live in a temporary
// folder that goes when the program ends. --resources names the folder of the string tables and the ANSEL table
// (by default the shared support folder beside the program).
#include "gedcom/ImportGedcomListener.h"
#include "gedcom/ImportGedcomOutcome.h"
#include "gedcom/ImportGedcomThread.h"
#include "model/ModelHooks.h"
#include "platform/AppPaths.h"
#include "platform/UserDefaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace {

struct Alerts : ImportGedcomListener {
    void showMessage(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
};

int usage(const char* program)
{
    std::fprintf(stderr, "usage: %s [--resources DIR] IN.ged OUT.RezUdu\n", program);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.size() >= 2 && args[0] == QLatin1String("--resources")) {
        AppPaths::setSharedSupportDirectory(QDir(args[1]).absolutePath());
        args = args.mid(2);
    }
    if (args.size() != 2)
        return usage(argv[0]);
    const QString gedcom = QFileInfo(args[0]).absoluteFilePath();
    const QString output = QFileInfo(args[1]).absoluteFilePath();

    QTemporaryDir work(QDir::tempPath() + QStringLiteral("/kinloom-sample-XXXXXX"));
    if (!work.isValid()) {
        std::fprintf(stderr, "cannot make a temporary folder: %s\n", qPrintable(work.errorString()));
        return 1;
    }
    UserDefaults::useSettingsFile(work.filePath(QStringLiteral("settings.ini")));
    // The settings are written out while their folder still exists: left for the end of the process, they would
    // make the removed folder again just to hold them.
    struct WriteSettingsFirst {
        ~WriteSettingsFirst() { UserDefaults::standard().synchronize(); }
    } writeSettingsFirst;
    const QString data = work.filePath(QStringLiteral("data"));
    QDir().mkpath(data);
    UserDefaults::standard().setString(QStringLiteral("KinloomDataDirectory"), data);
    ModelHooks::shared().dataDirectory = [data] { return data; };

    ImportGedcomThread::Request request;
    request.gedcomFilename = gedcom;
    request.databaseFilename = work.filePath(QFileInfo(output).fileName());
    request.tempFolder = work.filePath(QStringLiteral("temp"));
    Alerts alerts;
    ImportGedcomThread worker(request, &alerts);
    const ImportGedcomOutcome outcome = worker.loadGedFileThread();
    if (!outcome.succeeded) {
        std::fprintf(stderr, "%s: import failed: %s\n", qPrintable(gedcom), qPrintable(outcome.message));
        return 1;
    }

    // The new file appears whole or not at all.
    QDir().mkpath(QFileInfo(output).absolutePath());
    const QString partial = output + QStringLiteral(".part");
    QFile::remove(partial);
    if (!QFile::copy(outcome.databaseFilename, partial)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(partial));
        return 1;
    }
    QFile::remove(output);
    if (!QFile::rename(partial, output)) {
        QFile::remove(partial);
        std::fprintf(stderr, "cannot write %s\n", qPrintable(output));
        return 1;
    }
    std::printf("%s: %d people, %d couples, %d parent-child links, %d events, %d sources, %d citations\n",
        qPrintable(QFileInfo(output).fileName()), outcome.people, outcome.families, outcome.parentChildLinks,
        outcome.events, outcome.sources, outcome.citations);
    return 0;
}
