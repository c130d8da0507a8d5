#pragma once

#include <QString>

class QWidget;

// A report sheet's title and the panel background every sheet of the program wears.
void setUpPanelSheet(QWidget* sheet, const QString& title);
