#pragma once

#include "model/FTMoc.h"

#include <QList>
#include <QString>

#include <functional>

class DOvurDocument;

// The open databases of the program, one DOvurDocument each, and which one is in front. Model code that needs
// the front database goes through ModelHooks::currentDocumentMoc; window code asks currentDocument().
//
//   DOvurDocument* doc = DocumentController::shared().currentDocument();
//   if (doc && doc->dovurWindow()) { doc->prepareForCommand(); doc->beginSheet(new SomeSheet(doc->moc())); }
class DocumentController {
public:
    static DocumentController& shared();

    // The document whose main window is active, else the one last in front; null when none is open.
    DOvurDocument* currentDocument() const;
    void setCurrentDocument(DOvurDocument* document);
    const QList<DOvurDocument*>& documents() const { return m_documents; }
    DOvurDocument* documentForPath(const QString& path) const;

    // Opens the database in a new document and shows its main window; a database already open is brought to the
    // front instead. Null on failure: the messages have been shown and `error` says why (code 999: an old
    // model).
    DOvurDocument* openDocumentWithContentsOfURL(const QString& path, bool display, FTMoc::OpenError* error = nullptr);
    // Closes without questions: the document saves, becomes a recent document, its window goes.
    void closeDocument(DOvurDocument* document);
    void closeAllDocuments();

    // Called after a document opened or closed (the application shows or hides its empty window).
    std::function<void()> documentsChanged;

private:
    DocumentController() = default;
    QList<DOvurDocument*> m_documents;
    DOvurDocument* m_current = nullptr;
};
