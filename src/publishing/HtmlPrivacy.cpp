#include "publishing/HtmlPrivacy.h"

#include "model/FTPerson.h"
#include "platform/Localizer.h"

HtmlPrivacy::HtmlPrivacy(const HtmlOptions& options, int thisYear)
    : m_options(options)
    , m_thisYear(thisYear)
{
}

quint8 HtmlPrivacy::flags(const FTPerson* person) const
{
    if (!person)
        return Known;
    quint8& f = m_flags[person];
    if (!(f & Known)) {
        f = Known;
        // isLiving walks relatives for an estimated birth year: asked once per person and run.
        if (person->isLiving(m_thisYear))
            f |= Living;
        else if (person->isRecentlyDead(m_options.yearsSinceDeath, m_thisYear))
            f |= RecentlyDead;
    }
    return f;
}

bool HtmlPrivacy::suppressDetailsOfPerson(const FTPerson* person) const
{
    if (!m_options.excludeLivingPeople)
        return false;
    const quint8 f = flags(person);
    if (f & Living)
        return true;
    return m_options.excludeRecentlyDeadPeople && (f & RecentlyDead);
}

bool HtmlPrivacy::depersonalizeDetailsOfPerson(const FTPerson* person) const
{
    if (!m_options.depersonalizeLivingPeople)
        return false;
    return flags(person) & (Living | RecentlyDead);
}

bool HtmlPrivacy::isHidden(const FTPerson* person) const
{
    return suppressDetailsOfPerson(person) || depersonalizeDetailsOfPerson(person);
}

QString HtmlPrivacy::privacyWordFor(const FTPerson* person) const
{
    if (suppressDetailsOfPerson(person))
        return LocalizedString((flags(person) & Living) ? QStringLiteral("IsAlive") : QStringLiteral("RecentlyDead"));
    if (depersonalizeDetailsOfPerson(person))
        return LocalizedString(QStringLiteral("IsAliveOrRecentlyDead"));
    return {};
}

QString HtmlPrivacy::marriageWordFor(const FTPerson* partner) const
{
    if (suppressDetailsOfPerson(partner))
        return LocalizedString((flags(partner) & Living) ? QStringLiteral("IsAlive") : QStringLiteral("Late"));
    if (depersonalizeDetailsOfPerson(partner))
        return LocalizedString(QStringLiteral("IsAliveOrRecentlyDead"));
    return {};
}

QString HtmlPrivacy::displayName(const FTPerson* person) const
{
    const QString word = privacyWordFor(person);
    return word.isEmpty() ? person->nameWithBirthAndDeathYears() : word;
}

QString HtmlPrivacy::fullName(const FTPerson* person) const
{
    const QString word = privacyWordFor(person);
    return word.isEmpty() ? person->name() : word;
}
