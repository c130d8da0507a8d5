#pragma once

#include <QString>

// What receives the choice of an add-event button: the events page, the add-child dialog, the family dialog, the
// event editor and the events report each add an event of the chosen type.
class AddEventReceiver {
public:
    virtual ~AddEventReceiver() = default;
    // `tag` is a GEDCOM event tag ("BAPM", "DIV" ...), or the localised "None" from a list that offers it.
    virtual void addEventWithType(const QString& tag) = 0;
};
