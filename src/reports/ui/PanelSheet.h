#pragma once

#include <QString>

class QProgressBar;
class QTableView;
class QWidget;

// A report sheet's title and the panel background every sheet of the program wears.
void setUpPanelSheet(QWidget* sheet, const QString& title);
// The sheets' slim progress bar, empty and without a percentage until a run moves it.
QProgressBar* newSheetProgressBar(QWidget* parent = nullptr);
// A sheet's table of people: whole rows chosen one at a time, nothing edited in place, no row numbers, rows one
// line of text high.
void setUpPeopleTable(QTableView* table);
