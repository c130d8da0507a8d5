#include "shell/ui/DocumentController.h"

#include "shell/ui/DOvurDocument.h"

#include <QApplication>
#include <QFileInfo>
#include <QMainWindow>

DocumentController& DocumentController::shared()
{
    static DocumentController controller;
    return controller;
}

DOvurDocument* DocumentController::currentDocument() const
{
    if (QWidget* active = QApplication::activeWindow()) {
        for (DOvurDocument* doc : m_documents) {
            QWidget* window = doc->dovurWindow();
            if (window && (active == window || window->isAncestorOf(active)))
                return doc;
        }
    }
    if (m_current)
        return m_current;
    return m_documents.isEmpty() ? nullptr : m_documents.first();
}

void DocumentController::setCurrentDocument(DOvurDocument* document)
{
    if (!document || m_documents.contains(document))
        m_current = document;
}

DOvurDocument* DocumentController::documentForPath(const QString& path) const
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    for (DOvurDocument* doc : m_documents)
        if (!canonical.isEmpty() && QFileInfo(doc->fileURL()).canonicalFilePath() == canonical)
            return doc;
    return nullptr;
}

DOvurDocument* DocumentController::openDocumentWithContentsOfURL(
    const QString& path, bool display, FTMoc::OpenError* error)
{
    if (error)
        *error = {};
    if (DOvurDocument* open = documentForPath(path)) {
        m_current = open;
        if (display)
            open->showWindows();
        return open;
    }
    DOvurDocument* doc = DOvurDocument::readFromURL(path, QStringLiteral("DovurDoc"), error);
    if (!doc)
        return nullptr;
    m_documents << doc;
    m_current = doc;
    doc->makeWindowControllers();
    if (display)
        doc->showWindows();
    if (documentsChanged)
        documentsChanged();
    return doc;
}

void DocumentController::closeDocument(DOvurDocument* document)
{
    if (!document || !m_documents.contains(document))
        return;
    document->close();
    m_documents.removeAll(document);
    if (m_current == document)
        m_current = m_documents.isEmpty() ? nullptr : m_documents.last();
    document->deleteLater();
    if (documentsChanged)
        documentsChanged();
}

void DocumentController::closeAllDocuments()
{
    while (!m_documents.isEmpty())
        closeDocument(m_documents.last());
}
