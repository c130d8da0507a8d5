#include "tools/EventEditing.h"

#include "shell/Utils.h"

#include "model/FTEvent.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"

#include "platform/Localizer.h"
#include "platform/store/Key.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {
const Key kName("name");

QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }

const QStringList& ldsOrdinances()
{
    static const QStringList tags{"BAPL", "CONL", "ENDL", "SLGC", "SLGS"};
    return tags;
}
}

QString EventEditing::eventOwnersName(const FTEvent* event, const FTPerson* person, const FTSpouseRel* spouseRel)
{
    if (spouseRel)
        return event ? event->ownerName() : QString();
    return person ? person->nameWithBirthAndDeathYears() : QString();
}

bool EventEditing::isNonLdsEvent(const FTEvent* event)
{
    return !event || !ldsOrdinances().contains(event->subtype());
}

bool EventEditing::isNonDeathEvent(const FTEvent* event)
{
    return !event || event->type() != FTEvent::DeathEvent;
}

bool EventEditing::typeIsEditable(const FTEvent* event)
{
    if (!event)
        return false;
    const int type = event->type();
    return type != 0 && type != FTEvent::BirthEvent && type != FTEvent::DeathEvent && type != FTEvent::MarriageEvent;
}

void EventEditing::changeType(FTEvent* event, const QString& tag)
{
    // The type lists may offer "None", which is no type.
    if (!event || tag.isEmpty() || tag == L("None") || !typeIsEditable(event))
        return;
    const QString stored = event->stringValue(kName);
    const QString oldName = event->name();
    const QString oldDefault = event->subtypeName();
    event->setSubtype(tag);
    // An unnamed event reads as its type's name already; one that carried the old type's name takes the new one's.
    if (!stored.isEmpty() && oldName == oldDefault)
        event->setName(event->subtypeName());
}

bool EventEditing::validateEventData(const QString& typedName, const QString& subtype, QObject* window)
{
    if (!typedName.trimmed().isEmpty() && !subtype.trimmed().isEmpty())
        return true;
    Utils::displayMsgAsSheet(window, L("FieldsAreMandatory"));
    return false;
}

QList<std::pair<QString, QString>> EventEditing::ldsStatusCodes(const QString& subtype)
{
    // Code, then its meaning for BAPL and CONL, ENDL, SLGC and SLGS ("" where the code does not apply).
    struct Row {
        const char* code;
        const char* keys[4];
    };
    static const Row kRows[] = {
        {"BIC", {"", "", "LDS_BIC", ""}},
        {"CANCELED", {"", "", "", "LDS_CANCELLED"}},
        {"CHILD", {"LDS_CHILD", "LDS_CHILD", "", ""}},
        {"CLEARED", {"LDS_Baptism_CLEARED", "LDS_Endowment_CLEARED", "LDS_Sealing_CLEARED", "LDS_Sealing_CLEARED"}},
        {"COMPLETED", {"LDS_COMPLETED", "LDS_COMPLETED", "LDS_COMPLETED", "LDS_COMPLETED"}},
        {"DNS", {"", "", "LDS_DNS", "LDS_DNS"}},
        {"DNS/CAN", {"", "", "", "LDS_DNS"}},
        {"INFANT", {"LDS_INFANT", "LDS_INFANT", "", ""}},
        {"PRE-1970", {"LDS_PRE-1970", "LDS_PRE-1970", "LDS_PRE-1970", "LDS_PRE-1970"}},
        {"QUALIFIED", {"LDS_QUALIFIED", "LDS_QUALIFIED", "LDS_QUALIFIED", "LDS_QUALIFIED"}},
        {"STILLBORN", {"LDS_Baptism_STILLBORN", "LDS_Endowment_STILLBORN", "LDS_STILLBORN", ""}},
        {"SUBMITTED", {"LDS_SUBMITTED", "LDS_SUBMITTED", "LDS_SUBMITTED", "LDS_SUBMITTED"}},
        {"UNCLEARED", {"LDS_UNCLEARED", "LDS_UNCLEARED", "LDS_UNCLEARED", "LDS_UNCLEARED"}},
    };
    int column = -1;
    if (subtype == QLatin1String("BAPL") || subtype == QLatin1String("CONL"))
        column = 0;
    else if (subtype == QLatin1String("ENDL"))
        column = 1;
    else if (subtype == QLatin1String("SLGC"))
        column = 2;
    else if (subtype == QLatin1String("SLGS"))
        column = 3;
    QList<std::pair<QString, QString>> codes;
    if (column < 0)
        return codes;
    for (const Row& row : kRows)
        if (*row.keys[column])
            codes.append({QString::fromLatin1(row.code), QString::fromLatin1(row.keys[column])});
    return codes;
}

bool EventEditing::validateLdsStatus(const QString& subtype, QString& status)
{
    status = status.trimmed().toUpper();
    if (status.isEmpty())
        return true;
    const QList<std::pair<QString, QString>> codes = ldsStatusCodes(subtype);
    for (const auto& [code, key] : codes)
        if (code == status)
            return true;
    QStringList table;
    for (const auto& [code, key] : codes)
        table << QStringLiteral("%1 = %2").arg(code, LocalizedString(key));
    Utils::displayMsgWithTitle(QStringLiteral("%1 %2 %3").arg(status, L("isInvalidFor"), subtype),
        QStringLiteral("%1 %2 %3:\n%4").arg(L("ValidCodesFor"), subtype, L("are"), table.join(QLatin1Char('\n'))));
    return false;
}

int EventEditing::dropDownRowCount(double room, double itemHeight, double spacing, int items)
{
    const double row = itemHeight + spacing;
    int fit = row > 0 ? int(std::trunc(room / row)) : 0;
    fit = std::min(fit, items);
    return std::max(fit, 5);
}
