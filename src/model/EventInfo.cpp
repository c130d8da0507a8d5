#include "model/EventInfo.h"

#include "model/FTEvent.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/RelationshipWords.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"

#include <algorithm>

namespace {
long seqNoForType(const FTEvent* event)
{
    switch (event ? event->type() : 0) {
    case FTEvent::BirthEvent:
        return 0;
    case FTEvent::MarriageEvent:
        return 1;
    case FTEvent::DeathEvent:
        return 2;
    default:
        return 3;
    }
}

// A word of the row text in lower case followed by one blank: "adopted ", "son ".
QString low(const QString& word)
{
    return word.toLower() + QLatin1Char(' ');
}

QString lowTypeWord(long pcRelType)
{
    const QString word = RelationshipWords::typeWord(int(pcRelType));
    return word.isEmpty() ? word : low(word);
}
}

EventInfo::EventInfo(FTEvent* event, FTPerson* owner, long relationship, long pcRelType)
    : m_event(event)
    , m_owner(owner)
    , m_relationship(relationship)
    , m_seqNo(seqNoForType(event))
    , m_pcRelType(pcRelType)
{
    if (m_event) {
        m_context = m_event->context();
        m_observation = m_event->addObserver(
            QStringLiteral("sourceRels.source"), this, [this](const KeyPathChange&) { setValueForSourceNumbers(); });
    }
    setValueForSourceNumbers();
}

EventInfo::~EventInfo()
{
    if (m_observation && m_context)
        m_context->removeObserver(m_observation);
}

void EventInfo::setValueForSourceNumbers()
{
    QList<int> numbers;
    if (m_event && !m_event->isDeleted())
        for (const FTSourceRel* citation : m_event->sourceRels())
            if (const FTSource* source = citation->source(); source && !source->isDeleted())
                if (!numbers.contains(source->numericId()))
                    numbers << source->numericId();
    std::sort(numbers.begin(), numbers.end());
    QStringList parts;
    for (int n : std::as_const(numbers))
        parts << QString::number(n);
    m_sourceNumbers = parts.join(QStringLiteral(", "));
}

QString EventInfo::ageSuffix() const
{
    const FTEvent* born = m_owner ? m_owner->birth() : nullptr;
    const int years = born && m_event ? m_event->yearsSince(born) : 0;
    return years > 0 ? QStringLiteral(" (%1 %2)").arg(LocalizedString("AgedAtDeath")).arg(years) : QString();
}

QString EventInfo::eventName() const
{
    const QString ownerName = m_owner ? m_owner->name() : QString();
    if (!m_event)
        return QStringLiteral("(%1 %2)").arg(LocalizedString("NoDeathDate"), ownerName);
    const int type = m_event->type();
    if (m_editingMode)
        return type == FTEvent::OtherPersonalEvent || type == FTEvent::OtherMarriageEvent ? m_event->name() : ownerName;
    const QString empty(QLatin1String(""));
    switch (m_relationship) {
    case Own:
        switch (type) {
        case FTEvent::BirthEvent:
            return QStringLiteral("%1 %2").arg(ownerName, LocalizedString("wasBorn"));
        case FTEvent::DeathEvent: {
            QString text = QStringLiteral("%1 %2").arg(ownerName, LocalizedString("died"));
            if (m_event->year() == 0)
                text += QStringLiteral(" (%1)").arg(LocalizedString("NoDate"));
            return text;
        }
        case FTEvent::OtherPersonalEvent:
            return m_event->name();
        default:
            return empty;
        }
    case Child: {
        QString text;
        if (type == FTEvent::BirthEvent)
            text = LocalizedString("BirthOf");
        else if (type == FTEvent::DeathEvent)
            text = LocalizedString("DeathOf");
        text += lowTypeWord(m_pcRelType);
        text += low(RelationshipWords::byGender(
            m_owner, LocalizedString("Son"), LocalizedString("Daughter"), LocalizedString("Child")));
        text += ownerName;
        if (type == FTEvent::DeathEvent)
            text += ageSuffix();
        return text;
    }
    case Parent:
        if (type != FTEvent::DeathEvent)
            return empty;
        return LocalizedString("DeathOf") + lowTypeWord(m_pcRelType)
            + low(RelationshipWords::byGender(
                m_owner, LocalizedString("Father"), LocalizedString("Mother"), LocalizedString("Parent")))
            + ownerName + ageSuffix();
    case Spouse: {
        const FTEvent* born = m_owner ? m_owner->birth() : nullptr;
        const int years = born ? m_event->yearsSince(born) : 0;
        switch (type) {
        case FTEvent::MarriageEvent: {
            QString text = QStringLiteral("%1 %2").arg(LocalizedString("Married"), ownerName);
            if (years > 0)
                text += QStringLiteral(" (%1 %2)").arg(LocalizedString("AgedAtDeath")).arg(years);
            return text;
        }
        case FTEvent::OtherMarriageEvent:
            return QStringLiteral("%1 (%2)").arg(m_event->name(), ownerName);
        case FTEvent::DeathEvent: {
            QString text = LocalizedString("DeathOf")
                + low(RelationshipWords::byGender(
                    m_owner, LocalizedString("Husband"), LocalizedString("Wife"), LocalizedString("Spouse")))
                + ownerName;
            if (years > 0)
                text += QStringLiteral(" (%1 %2)").arg(LocalizedString("AgedAtDeath")).arg(years);
            return text;
        }
        default:
            return empty;
        }
    }
    default:
        return empty;
    }
}

void EventInfo::setEventName(const QString& text)
{
    QString name = text;
    while (name.contains(QLatin1String("  ")))
        name.replace(QLatin1String("  "), QLatin1String(" "));
    if (name.isEmpty() || name == QLatin1String(" ")) {
        Prompts::current().message(LocalizedString("NameCannotBeBlank"));
        return;
    }
    if (!m_event)
        return;
    switch (m_event->type()) {
    case FTEvent::BirthEvent:
    case FTEvent::DeathEvent:
    case FTEvent::MarriageEvent:
        if (m_owner)
            m_owner->setName(name);
        break;
    case FTEvent::OtherPersonalEvent:
    case FTEvent::OtherMarriageEvent:
        m_event->setName(name);
        break;
    default:
        break;
    }
}

QString EventInfo::eventType() const
{
    if (!m_event)
        return LocalizedString("UnknownType");
    const QString subtype = m_event->subtype();
    if (!subtype.isEmpty())
        return subtype;
    switch (m_event->type()) {
    case FTEvent::BirthEvent:
        return LocalizedString("Birth");
    case FTEvent::DeathEvent:
        return LocalizedString("Death");
    case FTEvent::MarriageEvent:
        return LocalizedString("Marriage");
    case FTEvent::OtherPersonalEvent:
        return LocalizedString("OtherPersonal");
    case FTEvent::OtherMarriageEvent:
        return LocalizedString("OtherMarriage");
    default:
        return LocalizedString("UnknownType");
    }
}

int EventInfo::selectedPersonsAgeAtEvent() const
{
    return m_event && m_selectedPerson ? m_event->yearsSince(m_selectedPerson->birth()) : 0;
}
