#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

// The menus of the add-event buttons and what their choices mean. A list of English event names becomes a menu:
// "SEPARATOR" a separator line, each run of names beginning with "LDS" one "LDS Events" submenu, every other name
// an item; the personal events' menu ends with a marriage-events entry that only explains where marriage events
// are added. A chosen name is turned into its GEDCOM tag (a bracketed remark after the name is ignored).
//
//   for (const AddEventMenu::Entry& e : AddEventMenu::eventMenu(names)) ... build the QMenu
//   QString tag = AddEventMenu::tagForEventChoice(entry.name);   // empty: nothing to add
class AddEventMenu {
public:
    struct Entry {
        enum Kind { Item, Separator, Submenu };
        Kind kind = Item;
        QString title;
        // What the item stands for (an item's name); empty for separators and submenus.
        QString name;
        // A submenu's items.
        QList<Entry> items;
    };

    // The names an add-event button offers unless its host gives others: the other personal events, attributes,
    // LDS ordinances and "Other Event", sorted.
    static QStringList defaultEventNames();
    // The names of the events page's button: births and deaths too.
    static QStringList eventsPageEventNames();

    // The menu of an add-event button over `names`, ending with a separator and the marriage-events entry.
    static QList<Entry> eventMenu(const QStringList& names);
    // The menu of the add-marriage-event button: one item per other marriage event, LDS spouse sealing and
    // "Other Event", sorted; nothing else.
    static QList<Entry> marriageEventMenu();

    // The tag of a name chosen from eventMenu(): the tag of the name before any " (", the localised "None" for
    // "None", else empty. The marriage-events entry shows "marriageEventsMisuse" and answers empty.
    static QString tagForEventChoice(const QString& name);
    // The tag of a name chosen from marriageEventMenu(); empty for an unknown name.
    static QString tagForMarriageEventChoice(const QString& name);

    // Where a menu opens beside its button: the button's right edge, raised 4 points for every top-level entry
    // from the button's bottom edge (in the coordinates of `buttonFrame`).
    static QPoint popupPoint(const QRect& buttonFrame, int topLevelEntries);
};
