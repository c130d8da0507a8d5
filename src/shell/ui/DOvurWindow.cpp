#include "shell/ui/DOvurWindow.h"

#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"

#include <QCloseEvent>
#include <QSplitter>
#include <QTimer>

DOvurWindow::DOvurWindow(DOvurDocument* document)
    : m_document(document)
{
    setObjectName(QStringLiteral("dovurWindow"));
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void DOvurWindow::closeEvent(QCloseEvent* event)
{
    if (m_closingFromDocument || !m_document) {
        event->accept();
        return;
    }
    // The close sequence may end with this window deleted: run it once the event is over.
    event->ignore();
    QPointer<DOvurDocument> document = m_document;
    QTimer::singleShot(0, document, [document] {
        if (document)
            document->performClose();
    });
}

void DOvurWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && m_document) {
        m_document->setBgColour(isActiveWindow());
        if (isActiveWindow())
            DocumentController::shared().setCurrentDocument(m_document);
    }
}

void DOvurWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // The person editor keeps its minimum height; the diagram gives way.
    if (!m_document || !m_document->pHorizSplitView())
        return;
    QSplitter* split = m_document->pHorizSplitView();
    QList<int> sizes = split->sizes();
    if (sizes.size() == 2 && sizes[1] < DOvurDocument::kMinEditorHeight) {
        const int missing = DOvurDocument::kMinEditorHeight - sizes[1];
        sizes[1] += missing;
        sizes[0] = std::max(DOvurDocument::kMinDiagramHeight, sizes[0] - missing);
        split->setSizes(sizes);
    }
}
