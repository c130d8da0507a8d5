#include "reports/ui/PanelSheet.h"

#include "shell/UtilsFunctions.h"

#include <QPalette>
#include <QWidget>

void setUpPanelSheet(QWidget* sheet, const QString& title)
{
    sheet->setWindowTitle(title);
    QPalette palette = sheet->palette();
    palette.setColor(QPalette::Window, PanelColour());
    sheet->setPalette(palette);
    sheet->setAutoFillBackground(true);
}
