#include "publishing/ICalWriter.h"

#include "publishing/ContentLine.h"

#include <QIODevice>
#include <QTimeZone>

ICalWriter::ICalWriter(QIODevice* out)
    : m_out(out)
{
}

QString ICalWriter::prodId()
{
    return QStringLiteral("-//Kinloom//Kinloom %1//EN").arg(QStringLiteral(KINLOOM_VERSION));
}

void ICalWriter::line(const QString& text)
{
    const QByteArray bytes = ContentLine::folded(text);
    if (m_ok && m_out->write(bytes) != bytes.size())
        m_ok = false;
}

void ICalWriter::beginCalendar()
{
    begin("VCALENDAR");
    property(QStringLiteral("PRODID"), prodId());
    property(QStringLiteral("CALSCALE"), QStringLiteral("GREGORIAN"));
    property(QStringLiteral("VERSION"), QStringLiteral("2.0"));
}

void ICalWriter::endCalendar()
{
    end("VCALENDAR");
}

void ICalWriter::begin(const char* component)
{
    line(QLatin1String("BEGIN:") + QLatin1String(component));
}

void ICalWriter::end(const char* component)
{
    line(QLatin1String("END:") + QLatin1String(component));
}

void ICalWriter::property(const QString& name, const QString& value)
{
    line(name + QLatin1Char(':') + value);
}

void ICalWriter::text(const QString& name, const QString& value)
{
    line(name + QLatin1Char(':') + ContentLine::escapedText(value));
}

void ICalWriter::date(const QString& name, const QDate& day)
{
    line(name + QLatin1String(";VALUE=DATE:") + day.toString(QStringLiteral("yyyyMMdd")));
}

void ICalWriter::localDateTime(const QString& name, const QDate& day, const QTime& time)
{
    line(name + QLatin1Char(':') + day.toString(QStringLiteral("yyyyMMdd")) + QLatin1Char('T')
         + time.toString(QStringLiteral("HHmmss")));
}

void ICalWriter::utcDateTime(const QString& name, const QDateTime& moment)
{
    line(name + QLatin1Char(':') + moment.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")));
}
