#include "diagrams/CdWebContext.h"

#include "model/FTPerson.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

std::shared_ptr<CdWebContext> CdWebContext::fromUserDefaults()
{
    const UserDefaults& d = UserDefaults::standard();
    auto web = std::make_shared<CdWebContext>();
    web->options = CdOptions::fromUserDefaults();
    web->lastGeneration = int(d.integerForKey(QStringLiteral("htmlCdDiagramGenerations")));
    const bool excludeLiving = d.boolForKey(QStringLiteral("htmlExcludeLivingPeople"));
    const bool excludeRecentlyDead = d.boolForKey(QStringLiteral("htmlExcludeRecentlyDeadPeople"));
    const bool depersonalize = d.boolForKey(QStringLiteral("htmlDepersonalizeLivingPeople"));
    const int years = int(d.integerForKey(QStringLiteral("htmlYearsSinceDeath")));
    web->privacyWord = [=](const FTPerson* p) -> QString {
        const bool living = p->isLiving();
        const bool recentlyDead = p->isRecentlyDead(years);
        if (excludeLiving) {
            if (living)
                return LocalizedString(QStringLiteral("IsAlive"));
            if (excludeRecentlyDead && recentlyDead)
                return LocalizedString(QStringLiteral("RecentlyDead"));
        } else if (depersonalize && (living || recentlyDead)) {
            return LocalizedString(QStringLiteral("IsAliveOrRecentlyDead"));
        }
        return {};
    };
    return web;
}
