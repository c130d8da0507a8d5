#pragma once

#include "tools/ui/CalculateDatesWindow.h"

// Birth dates from christenings and baptisms, for the people who have none.
class CalculateBirthDates : public CalculateDatesWindow {
    Q_OBJECT
public:
    explicit CalculateBirthDates(FTMoc* moc, QWidget* parent = nullptr)
        : CalculateDatesWindow(moc, DatesCalculation::Births, parent)
    {
    }
    DatesCalculation::Outcome createBirthDates() { return createDates(); }
};
