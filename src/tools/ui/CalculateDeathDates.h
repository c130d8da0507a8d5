#pragma once

#include "tools/ui/CalculateDatesWindow.h"

// Death dates from burials and cremations, for the people who have none.
class CalculateDeathDates : public CalculateDatesWindow {
    Q_OBJECT
public:
    explicit CalculateDeathDates(FTMoc* moc, QWidget* parent = nullptr)
        : CalculateDatesWindow(moc, DatesCalculation::Deaths, parent)
    {
    }
    DatesCalculation::Outcome createDeathDates() { return createDates(); }
};
