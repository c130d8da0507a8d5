// kinloom-bench-app-editor [PEOPLE] [FILE]
// Opens a synthetic family database of PEOPLE people (default 100,000) in its main window on the offscreen platform
// with the person editor, shows the editor on the person with the most events and relatives, and then, for each
// page of the editor: shows that page five times (show_<page>_ms, the median time from choosing its tab until the
// pane has drawn) and changes the selected person 20 times while it is shown (switch_<page>_ms, the median time
// from the change until the pane has drawn). Then it gives a person 300 pictures with thumbnails (once: they stay
// in FILE) and times the pictures page shown for that person, its list read, laid out and its visible part painted,
// with the thumbnails read from the file (pictures_ms, the median of ten). Prints "name: value" lines: people, each
// page's two figures, pictures_ms and peak_mb. The database is kept at FILE when given, otherwise written to a
// temporary folder and removed.
#include "AppBenchSupport.h"
#include "BenchSupport.h"
#include "diagrams/ui/FamilyDiagramSetup.h"
#include "editor/ui/InfoAreaController.h"
#include "editor/ui/PersonEditorSetup.h"
#include "shell/ui/DOvurApplication.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"

#include "model/FTModelDefaults.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"

#include "platform/Prompts.h"
#include "platform/ScriptedPrompts.h"

#include <QElapsedTimer>
#include <QImage>
#include <QMainWindow>
#include <QTabWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
// Until the pane has drawn: pending layout first, then a paint of the whole pane.
void drawn(QWidget* pane)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    pane->repaint();
}
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    DOvurApplication app(argc, argv);
    QTemporaryDir temp;
    ScriptedPrompts prompts; // no alert may wait for a click
    Prompts::install(&prompts);
    const QString path = prepareBenchDatabase(argc, argv, temp);
    if (path.isEmpty())
        return 1;
    installFamilyDiagram();
    installPersonEditor();

    DOvurDocument* doc = DocumentController::shared().openDocumentWithContentsOfURL(path, true);
    if (!doc) {
        for (const auto& r : prompts.records)
            std::fprintf(stderr, "%s\n", qPrintable(r.text));
        return 1;
    }
    auto* editor = qobject_cast<InfoAreaController*>(doc->pInfoArea());
    if (!editor) {
        std::fprintf(stderr, "no person editor\n");
        return 1;
    }
    doc->dovurWindow()->grab();
    QCoreApplication::processEvents();

    FTMoc* moc = doc->moc();
    const QList<FTPerson*> all = moc->fetch<FTPerson>();
    FTPerson* busiest = busiestPerson(all);
    moc->modelDefaults()->setSelectedPerson(busiest);
    drawn(editor);

    std::printf("people: %lld\n", static_cast<long long>(all.size()));
    QTabWidget* tabs = editor->pTabView();
    QElapsedTimer timer;
    for (int page = 0; page < tabs->count(); ++page) {
        const QString id = editor->controller().identifierAt(page);
        const QString name = id.mid(1).toLower();
        std::vector<double> shows;
        for (int i = 0; i < 5; ++i) {
            editor->chooseTab(page == 0 ? 1 : 0);
            moc->modelDefaults()->setSelectedPerson(busiest);
            drawn(editor);
            timer.start();
            editor->chooseTab(page);
            drawn(editor);
            shows.push_back(timer.nsecsElapsed() / 1e6);
        }
        std::vector<double> switches;
        for (int i = 1; i <= 20; ++i) {
            FTPerson* next = i % 2 ? all[qsizetype(i) * all.size() / 21] : busiest;
            timer.start();
            moc->modelDefaults()->setSelectedPerson(next);
            drawn(editor);
            switches.push_back(timer.nsecsElapsed() / 1e6);
        }
        std::printf("show_%s_ms: %.2f\n", qPrintable(name), median(shows));
        std::printf("switch_%s_ms: %.2f\n", qPrintable(name), median(switches));
    }
    // The pictures page of a person with many pictures.
    FTPerson* collector = all[all.size() / 2];
    for (qsizetype i = collector->pictures().size(); i < 300; ++i) {
        FTPicture* picture = FTPicture::initInMoc(moc, QString(), collector);
        picture->setName(QStringLiteral("Picture %1 of the family collection").arg(i + 1));
        QImage thumbnail(100, 60 + int(i % 40), QImage::Format_RGB32);
        thumbnail.fill(QColor::fromHsv(int(i * 37 % 360), 120, 200));
        picture->setThumbnailImage(thumbnail);
    }
    moc->saveMoc();
    const int picturesTab = editor->controller().indexOf(QStringLiteral("pPictures"));
    std::vector<double> pictureShows;
    for (int i = 0; picturesTab >= 0 && i < 10; ++i) {
        editor->chooseTab(0);
        moc->modelDefaults()->setSelectedPerson(collector);
        doc->faultUnusedRegisteredObjects();
        drawn(editor);
        timer.start();
        editor->chooseTab(picturesTab);
        // The page reads its list once the events queued by the change have run.
        QCoreApplication::processEvents();
        drawn(editor);
        pictureShows.push_back(timer.nsecsElapsed() / 1e6);
    }
    if (!pictureShows.empty())
        std::printf("pictures_ms: %.2f\n", median(pictureShows));
    std::printf("peak_mb: %.1f\n", peakResidentMegabytes());

    DocumentController::shared().closeAllDocuments();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Prompts::install(nullptr);
    return 0;
}
