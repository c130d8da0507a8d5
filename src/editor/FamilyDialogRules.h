#pragma once

#include <QString>

class FTEvent;
class FTPerson;
class FTSpouseRel;

// What the family dialog works out from the data: which of its two people is the husband, its title while a
// partner is missing, the couple's relationship (found, or made at once), the partner typed into the empty name
// field, and the other marriage events' type names, shortened in the type column.
class FamilyDialogRules {
public:
    struct Partners {
        FTPerson* husband = nullptr;
        FTPerson* wife = nullptr;
    };
    // The first person is the husband when male, and the second the wife; otherwise the other way round.
    static Partners partners(FTPerson* first, FTPerson* second);
    // "Add a wife for John Smith" while the wife is missing (the role by "familyLabelStyle": 0 husband or wife,
    // 1 spouse, any other partner), the mirror while the husband is; empty when both are there.
    static QString title(const FTPerson* husband, const FTPerson* wife, int labelStyle);
    // The husband's first couple (in his order) with the wife; when there is none, a new one, and
    // "CdArrayNeedsRefresh" is posted with the database. Null without both partners.
    static FTSpouseRel* coupleOf(FTPerson* husband, FTPerson* wife);
    // The partner whose name was typed into the empty name field, made beside `other` with a couple of the two
    // ("MaleShort" for a missing husband, else "FemaleShort"); null when the user discards a name already in use.
    static FTPerson* createMissingPartner(FTPerson* other, const QString& name, bool husbandMissing);

    // An event type name as the type column shows it: "Marriage" and "Divorce" abbreviated ("MarriageAbbrev",
    // "DivorceAbbrev"); and back.
    static QString abbreviatedEventType(const QString& typeName);
    static QString expandedEventType(const QString& shown);
    // The type chosen in the type column (abbreviated): the event takes that type's tag, and the user is asked
    // whether to rename an event whose name differs from the type's. An unknown name changes nothing.
    static bool chooseEventType(FTEvent* event, const QString& shown);
};
