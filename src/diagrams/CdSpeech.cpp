#include "diagrams/CdSpeech.h"

#include "model/FTEvent.h"
#include "model/FTPerson.h"

QString CdSpeech::focalPersonsText(const FTPerson* person)
{
    if (!person)
        return {};
    QString text = person->name().toLower().replace(QLatin1Char('_'), QLatin1Char(' '));
    const FTEvent* birth = person->birth();
    const long year = birth ? birth->year() : 0;
    const QString place = birth ? birth->place().toLower() : QString();
    if (year != 0 || !place.isEmpty()) {
        text += QStringLiteral(". born ");
        if (year != 0)
            text += QStringLiteral(" %1. ").arg(year);
        if (!place.isEmpty())
            text += QStringLiteral(" in %1").arg(place);
    }
    if (!person->title().isEmpty())
        text += QStringLiteral(" .. %1.").arg(person->title());
    return text;
}
