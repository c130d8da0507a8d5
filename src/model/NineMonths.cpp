#include "model/NineMonths.h"

quint32 nineMonthsAfter(quint32 key)
{
    const quint32 year = key >> 16;
    const quint32 month = (key >> 8) & 0xFF;
    const quint32 day = key & 0xFF;
    if (month == 0 || month > 12)
        return key + (9 << 8);
    const quint32 months = month - 1 + 9;
    return ((year + months / 12) << 16) | ((months % 12 + 1) << 8) | day;
}
