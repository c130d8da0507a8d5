#pragma once

#include <QImage>
#include <QString>

#include <functional>

class DOvurDocument;

// Saves a database's family diagram (the toolbar's print item, the diagram's "Save Diagram..."), after the question
// "Full Window or Diagram Only?":
//  - Full Window: the main window with a margin, written as "<reports folder>/<focal person's name with
//    years>.PDF" while gPrinting is raised (the person editor draws its printed layout), then opened in the
//    desktop's application for PDF files;
//  - Diagram Only: the diagram as a JPEG picture, saved where the user chooses in a save dialog that starts in the
//    reports folder with the name proposed and shows the picture at half size, then opened in the first
//    application for it.
// A file that cannot be written is reported with its path and the reason, and nothing is opened.
class SaveDiagramToFile {
public:
    enum class Choice { FullWindow, DiagramOnly, Cancel };

    static void saveDiagramToFile(DOvurDocument& document);

    // The two saves on their own. The path written, empty when nothing was (cancelled, or a failure reported).
    static QString saveFullWindow(DOvurDocument& document);
    static QString saveDiagramOnly(DOvurDocument& document);

    // The save dialog of Diagram Only: given the proposed path and the picture, the path chosen or empty for
    // Cancel. The program's shows a file dialog; tests install their own.
    using FilePanel = std::function<QString(const QString& proposedPath, const QImage& picture)>;
    static void setFilePanel(FilePanel panel);

private:
    // Writes `path` through `write` (which may give a reason when it fails) all at once; reports a failure.
    static bool writeFile(const QString& path, const std::function<bool(class QIODevice&, QString* reason)>& write);
};
