#include "editor/AddEventMenu.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"

#include "platform/Localizer.h"

#include <QMap>

#include <algorithm>

namespace {
QString tagOfName(const QString& name)
{
    const QMap<QString, QString> all = Utils::allEventTypesDictionary();
    for (auto it = all.cbegin(); it != all.cend(); ++it)
        if (it.value() == name)
            return it.key();
    return {};
}

AddEventMenu::Entry item(const QString& name)
{
    return AddEventMenu::Entry { AddEventMenu::Entry::Item, name, name, {} };
}
}

QStringList AddEventMenu::defaultEventNames()
{
    return Utils::otherPersonalEventTypesArray();
}

QStringList AddEventMenu::eventsPageEventNames()
{
    QStringList names = Utils::eventTypesDictionary(143).values();
    std::sort(names.begin(), names.end(),
        [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return names;
}

QList<AddEventMenu::Entry> AddEventMenu::eventMenu(const QStringList& names)
{
    const QString lds = LocalizedString(QStringLiteral("LDS"));
    QList<Entry> menu;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString& name = names[i];
        if (name == QLatin1String("SEPARATOR")) {
            menu << Entry { Entry::Separator, {}, {}, {} };
        } else if (!lds.isEmpty() && name.startsWith(lds)) {
            Entry group { Entry::Submenu, LocalizedString(QStringLiteral("LDS Events")), {}, {} };
            for (; i < names.size() && names[i].startsWith(lds); ++i)
                group.items << item(names[i]);
            --i;
            menu << group;
        } else {
            menu << item(name);
        }
    }
    menu << Entry { Entry::Separator, {}, {}, {} };
    menu << item(LocalizedString(QStringLiteral("MarriageEvents")));
    return menu;
}

QList<AddEventMenu::Entry> AddEventMenu::marriageEventMenu()
{
    QList<Entry> menu;
    for (const QString& name : Utils::otherMarriageEventTypesArray())
        menu << item(name);
    return menu;
}

QString AddEventMenu::tagForEventChoice(const QString& chosen)
{
    if (chosen == LocalizedString(QStringLiteral("MarriageEvents"))) {
        DisplayMsg(LocalizedString(QStringLiteral("marriageEventsMisuse")));
        return {};
    }
    QString name = chosen;
    if (const qsizetype remark = name.indexOf(QLatin1String(" (")); remark >= 0)
        name.truncate(remark);
    if (const QString tag = tagOfName(name); !tag.isEmpty())
        return tag;
    const QString none = LocalizedString(QStringLiteral("None"));
    return name == none ? none : QString();
}

QString AddEventMenu::tagForMarriageEventChoice(const QString& name)
{
    return tagOfName(name);
}

QPoint AddEventMenu::popupPoint(const QRect& buttonFrame, int topLevelEntries)
{
    return QPoint(buttonFrame.x() + buttonFrame.width(), buttonFrame.y() + buttonFrame.height() - 4 * topLevelEntries);
}
