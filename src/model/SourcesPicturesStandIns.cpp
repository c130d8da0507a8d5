#include "model/SourcesPicturesStandIns.h"

#include "model/FTEvent.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"

namespace {
constexpr int kMarriageEvent = 302;
constexpr int kOtherMarriageEvent = 304;

bool isCoupleEvent(const FTEvent* event)
{
    return event->type() == kMarriageEvent || event->type() == kOtherMarriageEvent;
}
}

QString SourcesPicturesStandIns::nameWithBirthAndDeathYears(const FTPerson* person)
{
    if (!person)
        return {};
    QString text = person->name();
    if (text.isNull())
        text = QStringLiteral("");
    const int born = person->birth() ? person->birth()->year() : 0;
    const int died = person->death() ? person->death()->year() : 0;
    if (born != 0 || died != 0)
        text += QStringLiteral(" (%1 - %2)")
                    .arg(born ? QString::number(born) : QString(), died ? QString::number(died) : QString());
    text.replace(QChar(0x2018), QLatin1Char('\''));
    text.replace(QChar(0x2019), QLatin1Char('\''));
    return text;
}

FTManagedObject* SourcesPicturesStandIns::eventOwner(const FTEvent* event)
{
    if (!event)
        return nullptr;
    if (isCoupleEvent(event))
        return event->spouseRel();
    return event->person();
}

QString SourcesPicturesStandIns::eventNameForSourceRefDialog(const FTEvent* event)
{
    if (!event)
        return {};
    QString text;
    if (isCoupleEvent(event)) {
        const QList<FTPerson*> partners = event->spouseRel() ? event->spouseRel()->partners() : QList<FTPerson*>();
        if (partners.size() == 2)
            text = QStringLiteral("Event = %1 of %2 and %3").arg(event->name(), partners[0]->name(), partners[1]->name());
        else
            text = QStringLiteral("Event = %1").arg(event->name());
    } else {
        text = QStringLiteral("Event = %1 of %2")
                   .arg(event->name(), event->person() ? event->person()->name() : QString());
    }
    if (!event->date().isEmpty())
        text += (event->day() != 0 ? QStringLiteral(" on %1") : QStringLiteral(" in %1")).arg(event->date());
    return text;
}
