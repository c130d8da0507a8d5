#include "shell/ui/SharedPrinter.h"

#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

#include <memory>

namespace {
std::unique_ptr<QPrinter>& printer()
{
    static std::unique_ptr<QPrinter> shared;
    return shared;
}
}

QPrinter& sharedPrinter()
{
    if (!printer())
        printer() = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer();
}

QSizeF sharedPaperSize()
{
    if (printer())
        return printer()->pageLayout().fullRect(QPageLayout::Point).size();
    const QPageSize::PageSizeId id
        = QLocale::system().territory() == QLocale::UnitedStates ? QPageSize::Letter : QPageSize::A4;
    return QPageSize(id).size(QPageSize::Point);
}
