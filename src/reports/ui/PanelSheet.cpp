#include "reports/ui/PanelSheet.h"

#include "shell/UtilsFunctions.h"

#include <QHeaderView>
#include <QPalette>
#include <QProgressBar>
#include <QTableView>
#include <QWidget>

void setUpPanelSheet(QWidget* sheet, const QString& title)
{
    sheet->setWindowTitle(title);
    QPalette palette = sheet->palette();
    palette.setColor(QPalette::Window, PanelColour());
    sheet->setPalette(palette);
    sheet->setAutoFillBackground(true);
}

QProgressBar* newSheetProgressBar(QWidget* parent)
{
    auto* bar = new QProgressBar(parent);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    return bar;
}

void setUpPeopleTable(QTableView* table)
{
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
}
