#pragma once

#include <QList>
#include <QString>

class FTEvent;
class FTPcRel;
class FTPerson;

// What the dialogs that complete a new relative (the add-child or person details dialog, the add-parent dialog,
// the same-sex partner dialog) work out from the data: their titles and captions, the order of their links'
// rows, the age at an event and the change of an event's type.
class RelativeDialogTexts {
public:
    // ---- The add-child (person details) dialog ----

    // "Tom Smith, child of John Smith and Mary Jones"; with one natural parent only that one; without either the
    // name alone.
    static QString addChildTitle(const FTPerson* person);
    // The person's whole years at the event (0 when either year is missing).
    static int ageAtEvent(const FTEvent* event, const FTPerson* person);
    // The person's other events, earliest first.
    static QList<FTEvent*> otherEventsByDate(const FTPerson* person);

    // The tag of the event type named `typeName` (an English name of the event types); empty for an unknown name.
    static QString tagForEventTypeName(const QString& typeName);
    // The user chose the type named `typeName` for the event: the event takes its tag, and when the event's name
    // then differs from the type's name the user is asked whether to rename it ("NoChange" / "Change"). An
    // unknown name, or the tag the event already has, changes nothing. Answers whether anything changed.
    static bool chooseEventType(FTEvent* event, const QString& typeName);

    // ---- The add-parent dialog ----

    // "Add wife of John Smith" (the role after the user default "familyLabelStyle": 0 husband or wife, 1 spouse,
    // any other partner), or "Add parent of Tom Smith" without a partner.
    static QString addParentTitle(const FTPerson* child, const FTPerson* partner, int labelStyle);
    // The new parent's links to its children, by the children's names.
    static QList<FTPcRel*> childLinksByName(const FTPerson* parent);

    // ---- The same-sex partner dialog ----

    static QString sameSexPartnerTitle(const FTPerson* person);
    // "Anne is a step-parent of Mary's children"; before the partner exists, "Mary's children".
    static QString sameSexPartnerCaption(const FTPerson* partner, const FTPerson* person);
    // The partner's links to its children, by the children's birth years.
    static QList<FTPcRel*> childLinksByBirthYear(const FTPerson* partner);
};
