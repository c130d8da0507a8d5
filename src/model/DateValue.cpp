#include "model/DateValue.h"

#include "model/Dates.h"

DateValue::DateValue(int qual, int day, int month, int year)
    : m_qual(qual), m_day(day), m_month(month), m_year(year),
      m_text(Dates::dateStringFor(qual, day, month, year, true))
{
}

DateValue DateValue::undatedY(const QString& typed)
{
    DateValue v;
    v.m_typedY = typed;
    return v;
}

quint32 DateValue::longDate() const { return Dates::getLongDate(m_qual, m_day, m_month, m_year); }

QString DateValue::eventDateText(bool deathOrMarriage) const
{
    if (deathOrMarriage && isUndatedY())
        return m_typedY;
    return m_text;
}
