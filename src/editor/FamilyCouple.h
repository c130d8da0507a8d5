#pragma once

#include <QList>
#include <QString>

#include <functional>

class FTPerson;
class FTSpouseRel;

// The couple that the person editor's family page shows for the selected person, and what follows from it: who
// stands on the husband's side and who on the wife's, which spouse is shown, the labels over the two partner
// boxes, which fields can be used, and the notes behind each notes button.
//
// A man is shown as the husband with a spouse beside him as the wife; anyone else (an empty gender too) as the
// wife with a spouse as the husband. Of several spouses the focal person is shown, else the first that the family
// diagram shows, else the first.
//
//   FamilyCouple couple = FamilyCouple::forSelectedPerson(person, [pcd](FTPerson* p) { return pcd->findPerson(p); });
//   FamilyCouple::Labels labels = couple.labels(FamilyCouple::labelStyle());
class FamilyCouple {
public:
    // The page's controls, by tag: the husband's (the wife's are 100 higher), the marriage's, the buttons.
    enum Tag {
        HusbandName = 4, HusbandGender = 5, HusbandBirthDate = 10, HusbandBirthPlace = 11,
        HusbandDeathDate = 16, HusbandDeathPlace = 17,
        WifeName = 104, WifeGender = 105, WifeBirthDate = 110, WifeBirthPlace = 111,
        WifeDeathDate = 116, WifeDeathPlace = 117,
        MarriageDate = 201, MarriagePlace = 202, MarriageNotes = 203, ChildrenTable = 250,
        HusbandBornButton = 700, HusbandAgeLabel = 701, HusbandDiedButton = 702, HusbandAge = 703,
        WifeBornButton = 800, WifeAgeLabel = 801, WifeDiedButton = 802, WifeAge = 803,
        MarriageDateButton = 900,
        HusbandNotesButton = 1000, HusbandBirthNotesButton = 1001, HusbandDeathNotesButton = 1002,
        WifeNotesButton = 1010, WifeBirthNotesButton = 1011, WifeDeathNotesButton = 1012,
        MarriageNotesButton = 2000,
        HusbandParentsButton = 1230, WifeParentsButton = 1231,
    };
    static constexpr int kWifeOffset = 100;

    // The labels of "familyLabelStyle": 0 husband or wife, 1 spouse, 2 partner, 3 none, 4 assigned automatically.
    enum LabelStyle { HusbandWife = 0, SpouseStyle = 1, PartnerStyle = 2, NoLabels = 3, AutoAssigned = 4 };
    // The user default "familyLabelStyle".
    static int labelStyle();

    FamilyCouple() = default;
    // The couple shown for `selected` (null: nobody). `diagramShows` answers whether the family diagram shows a
    // person (may be empty).
    static FamilyCouple forSelectedPerson(FTPerson* selected, const std::function<bool(FTPerson*)>& diagramShows);
    // Of several spouses: the focal person, else the first the diagram shows, else the first; null without any.
    static FTPerson* spouseToShow(
        const QList<FTPerson*>& spouses, const FTPerson* focal, const std::function<bool(FTPerson*)>& diagramShows);
    // The same selected person with another of the spouses shown (ignored when `spouse` is not one of them).
    FamilyCouple withSpouse(FTPerson* spouse) const;

    FTPerson* selectedPerson() const { return m_selected; }
    FTPerson* husband() const { return m_husband; }
    FTPerson* wife() const { return m_wife; }
    bool selectedIsHusband() const { return m_selectedIsHusband; }
    // The spouse shown beside the selected person (null when none).
    FTPerson* spouse() const { return m_selectedIsHusband ? m_wife : m_husband; }
    const QList<FTPerson*>& spouses() const { return m_spouses; }
    // What the two name boxes list: the spouses in the spouse's box, nothing in the selected person's.
    QList<FTPerson*> husbands() const { return m_selectedIsHusband ? QList<FTPerson*>() : m_spouses; }
    QList<FTPerson*> wives() const { return m_selectedIsHusband ? m_spouses : QList<FTPerson*>(); }
    // The first couple of the husband whose other partner is the wife; null without both or without a couple.
    FTSpouseRel* spouseRel() const { return m_spouseRel; }

    // The label of a partner box: empty for the selected person, else by style: 0 "Husband" for the localised
    // "MaleShort", else "Wife"; 1 "Spouse"; 2 "Partner"; any other empty. Plural: "Wives" for "Wife", else the
    // label with "pluralization" added.
    static QString spouseLabel(const QString& gender, bool plural, bool selectedPerson, int style);
    struct Labels {
        QString husband;
        QString wife;
        bool operator==(const Labels& o) const { return husband == o.husband && wife == o.wife; }
    };
    // The labels over the two boxes. The selected person's is empty. The spouse's: with several spouses the plural
    // and their number ("Wives (3)", " (3)" without labels); with one, the label of that spouse's gender. With
    // style 4 and a couple shown, "Wife" or "Husband" when the couple has a marriage event and "Spouse/Partner"
    // when not, followed by the number of the selected person's couples when there are two or more.
    Labels labels(int style) const;

    // Which controls can be used: a partner's fields when that partner is shown, the marriage's fields and the
    // children table when both are; the name boxes and every other control always.
    bool isEnabled(int tag) const;
    // The text behind a notes button: the husband's notes, birth notes and death notes (1000-1002), the wife's
    // (1010-1012), the marriage's notes (2000); empty when there is none.
    QString notesFor(int buttonTag) const;
    // The partner of a button or field tag (the husband for 4-99, 700-703, 1000-1002 and 1230; the wife for the
    // others of hers); null for the marriage's tags or when missing.
    FTPerson* partnerFor(int tag) const;

    // Makes the spouse whose name was typed into the empty box of the couple, beside `partner` (the selected person)
    // with `gender`, and gives it the partner's natural children: as a natural child when the child has no natural
    // parent of the newcomer's gender yet, else as a step child (a child of an earlier marriage keeps one natural
    // mother and one natural father). Posts "RefreshAllViews". Null without a partner or a name.
    static FTPerson* createSpouse(FTPerson* partner, const QString& name, const QString& gender);

private:
    FTPerson* m_selected = nullptr;
    FTPerson* m_husband = nullptr;
    FTPerson* m_wife = nullptr;
    QList<FTPerson*> m_spouses;
    FTSpouseRel* m_spouseRel = nullptr;
    bool m_selectedIsHusband = false;
    void findSpouseRel();
};
