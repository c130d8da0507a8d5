#include "editor/RelativeDialogTexts.h"

#include "shell/Utils.h"

#include "model/FTEvent.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"

#include <QMap>

#include <algorithm>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

int birthYear(const FTPerson* p)
{
    return p && p->birth() ? p->birth()->year() : 0;
}
}

QString RelativeDialogTexts::addChildTitle(const FTPerson* person)
{
    if (!person)
        return {};
    const FTPerson* father = person->naturalFather();
    const FTPerson* mother = person->naturalMother();
    if (father && mother)
        return QStringLiteral("%1, %2 %3 %4 %5")
            .arg(person->name(), L("childOf"), father->name(), L("ConjunctiveAnd"), mother->name());
    if (father || mother)
        return QStringLiteral("%1, %2 %3").arg(person->name(), L("childOf"), (father ? father : mother)->name());
    return person->name();
}

int RelativeDialogTexts::ageAtEvent(const FTEvent* event, const FTPerson* person)
{
    return event && person ? event->yearsSince(person->birth()) : 0;
}

QList<FTEvent*> RelativeDialogTexts::otherEventsByDate(const FTPerson* person)
{
    QList<FTEvent*> events = person ? person->otherEvents() : QList<FTEvent*>();
    std::stable_sort(events.begin(), events.end(), [](const FTEvent* a, const FTEvent* b) { return a->lDate() < b->lDate(); });
    return events;
}

QString RelativeDialogTexts::tagForEventTypeName(const QString& typeName)
{
    const QMap<QString, QString> types = Utils::allEventTypesDictionary();
    for (auto it = types.cbegin(); it != types.cend(); ++it)
        if (it.value() == typeName)
            return it.key();
    return {};
}

bool RelativeDialogTexts::chooseEventType(FTEvent* event, const QString& typeName)
{
    const QString tag = tagForEventTypeName(typeName);
    if (!event || tag.isEmpty() || event->subtype() == tag)
        return false;
    event->setSubtype(tag);
    const QString name = event->name();
    if (name != typeName) {
        const QString question = QStringLiteral("%1\n\n \"%2\"\n\n to\n\n \"%3\"?").arg(L("ChangeEventName"), name, typeName);
        if (Prompts::current().choose(question, {}, { L("NoChange"), L("Change") }) == 1)
            event->setName(typeName);
    }
    return true;
}

QString RelativeDialogTexts::addParentTitle(const FTPerson* child, const FTPerson* partner, int labelStyle)
{
    if (!partner)
        return QStringLiteral("%1 %2 %3").arg(L("AddParent"), L("ConjunctiveOf"), child ? child->name() : QString());
    const bool partnerIsMale = partner->gender() == L("MaleShort");
    const char* role = labelStyle == 0 ? (partnerIsMale ? "wife" : "husband") : labelStyle == 1 ? "spouse" : "partner";
    return QStringLiteral("%1 %2 %3 %4").arg(L("Add"), L(role), L("ConjunctiveOf"), partner->name());
}

QList<FTPcRel*> RelativeDialogTexts::childLinksByName(const FTPerson* parent)
{
    QList<FTPcRel*> links = parent ? parent->childRels() : QList<FTPcRel*>();
    std::stable_sort(links.begin(), links.end(), [](const FTPcRel* a, const FTPcRel* b) {
        return a->child()->name() < b->child()->name();
    });
    return links;
}

QString RelativeDialogTexts::sameSexPartnerTitle(const FTPerson* person)
{
    return QStringLiteral("%1 %2").arg(L("AddSameSexPartnerOf"), person ? person->name() : QString());
}

QString RelativeDialogTexts::sameSexPartnerCaption(const FTPerson* partner, const FTPerson* person)
{
    const QString children = QStringLiteral("%1'%2 %3").arg(person ? person->name() : QString(), L("possessiveSuffix"), L("children"));
    if (!partner)
        return children;
    return QStringLiteral("%1 %2 %3").arg(partner->name(), L("relDesc"), children);
}

QList<FTPcRel*> RelativeDialogTexts::childLinksByBirthYear(const FTPerson* partner)
{
    QList<FTPcRel*> links = partner ? partner->childRels() : QList<FTPcRel*>();
    std::stable_sort(links.begin(), links.end(),
        [](const FTPcRel* a, const FTPcRel* b) { return birthYear(a->child()) < birthYear(b->child()); });
    return links;
}
