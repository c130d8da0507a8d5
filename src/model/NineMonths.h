#pragma once

#include <QtGlobal>

// Nine calendar months after a packed date key (year << 16 | month << 8 | day), carried into the next year:
// November 1900 gives August 1901. A key without a month moves by nine months within its year, as the dates it
// stands for begin in January. The checks of a father who died before a child's birth use it.
quint32 nineMonthsAfter(quint32 key);
