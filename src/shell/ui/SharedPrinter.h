#pragma once

#include <QSizeF>

class QPrinter;

// The program's one set of page settings, as the page setup dialog leaves them for every window that prints;
// the hierarchy diagram lays out its page breaks on this paper. Made on first use.
QPrinter& sharedPrinter();
// The paper's size in points: the printer's once it exists, else the paper usual where the user lives (Letter
// in the United States, A4 elsewhere), upright.
QSizeF sharedPaperSize();
