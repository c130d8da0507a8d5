#include "sources/ui/QtCitationDialogs.h"

#include "sources/ui/SourceReferenceDialog.h"

#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"

#include <QApplication>
#include <QMainWindow>

QtCitationDialogs& QtCitationDialogs::shared()
{
    static QtCitationDialogs dialogs;
    return dialogs;
}

void QtCitationDialogs::beginCitationSheet(Kind kind, FTSourceRel* citation, std::function<void()> didEnd)
{
    if (!citation)
        return;
    QWidget* window = QApplication::activeWindow();
    if (!window)
        if (DOvurDocument* doc = DocumentController::shared().currentDocument())
            window = doc->dovurWindow();
    auto* sheet = new SourceReferenceDialog(kind, citation, window);
    if (window)
        sheet->setWindowFlags(sheet->windowFlags() | Qt::Sheet);
    sheet->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(sheet, &QDialog::finished, sheet, [didEnd = std::move(didEnd)] {
        if (didEnd)
            didEnd();
    });
    sheet->open();
}
