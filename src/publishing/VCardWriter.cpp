#include "publishing/VCardWriter.h"

#include "publishing/ContentLine.h"

namespace {
QString escapedList(const QStringList& values)
{
    QStringList out;
    for (const QString& v : values)
        out << ContentLine::escapedText(v);
    return out.join(QLatin1Char(','));
}
}

QByteArray VCardWriter::card(const Card& c)
{
    using ContentLine::escapedText;
    using ContentLine::folded;
    QByteArray out = "BEGIN:VCARD\r\nVERSION:4.0\r\n";
    out += folded(QStringLiteral("FN:") + escapedText(c.formattedName));
    // Family; given; additional; prefixes; suffixes.
    out += folded(QStringLiteral("N:%1;%2;%3;;")
                      .arg(escapedText(c.familyName), escapedText(c.givenName), escapedList(c.additionalNames)));
    if (!c.note.isEmpty())
        out += folded(QStringLiteral("NOTE:") + escapedText(c.note));
    if (!c.categories.isEmpty())
        out += folded(QStringLiteral("CATEGORIES:") + escapedList(c.categories));
    out += "END:VCARD\r\n";
    return out;
}
