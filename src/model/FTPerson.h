#pragma once

#include "model/FTManagedObject.h"

#include <QSet>

#include <functional>
#include <vector>

#include <memory>

class EventInfo;
class FTAssociation;
class FTEvent;
class FTModelDefaults;
class FTPcRel;
class FTPicture;
class FTProjectView;
class FTSource;
class FTSourceRel;
class FTSpouseRel;
class FTStory;
class Relative;
class RelativesHierarchy;

// One individual of a family database.
//
// Names: `name` is the full name as entered, given names first, family name last. setName() cleans it (slashes,
// backslashes and line ends become blanks, blanks are collapsed, the ends trimmed; nil becomes "Unknown") and
// derives `familyName` (the last word, with the family-name suffixes after it and the prefixes before it:
// "Jean de la Fontaine" -> "de la Fontaine", "Henry Ford II" -> "Ford II") and `givenNames`.
//
// Gender is stored as the localised "MaleShort" or "FemaleShort" text ("M"/"F"), empty when unknown; every test
// compares with those two texts (isMale(), isFemale()).
//
// The setters of name, title, notes, comments and default picture name their undo action (unless an outer
// operation already did) and post "PersonNameOrDateChanged", "TitleChanged", "NotesOrCommentsChanged" or
// "DefaultPictureChanged" with the person as object; nothing is posted, numbered or named while the context runs a
// GEDCOM import.
//
//   FTPerson* p = FTPerson::initInMoc(moc, "Jean de la Fontaine", LocalizedString("MaleShort"));
//   p->familyName();                    // "de la Fontaine"
//   p->nameWithBirthAndDeathYears();    // "Jean de la Fontaine (1621 - 1695)"
//   p->setValueForKeyPath("birth.place", "Château-Thierry");   // makes the birth event first
class FTPerson : public FTManagedObject {
public:
    static constexpr const char* kEntityName = "Person";

    // ---- Creation and names ----

    // A new person: the name through setName(), the gender as given. Outside an import the undo action is named
    // "Add <name>" (when not named yet), the person takes the next number from maxPersonId, and the context's
    // active source is cited.
    static FTPerson* initInMoc(FTMoc* moc, const QString& name, const QString& gender);

    QString name() const;
    // The cleaned name (see above), then familyName and givenNames; outside an import also the capitalised family
    // name (user default "uppercaseFamilyName"), the duplicate-name warning hook ("duplicateNameWarning"), the undo
    // name "Change Person's Name" and "PersonNameOrDateChanged".
    void setName(const QString& value);
    // The cleaning of key-value validation: blanks collapsed and the ends trimmed; always accepted.
    static QString validateName(const QString& value);
    // The stored family name, or familyNameCreate() when it is empty.
    QString familyName() const;
    // Derives the family name from `name`, stores it when it differs and answers it.
    QString familyNameCreate();
    // familyNameCreate() and the stored givenNames.
    void setNameComponents();
    // The name in front of the last occurrence of the family name, trimmed; the whole name without a family name.
    QString givenNames() const;
    // The first word of the name; empty without one.
    QString firstName() const;
    // "<first name> <family name>".
    QString shortName() const;
    bool nameExists() const;
    // Called by setName() when the user default "duplicateNameWarning" is on; does nothing here (the dialogs
    // that create people ask checkDuplicateNames() before they do).
    virtual void duplicateNameWarning(const QString& newName);

    // Raw writes of the derived name fields (the GEDCOM reader and repairs).
    void setFamilyName(const QString& value);
    void setGivenNames(const QString& value);

    // ---- Gender ----

    QString gender() const;
    void setGender(const QString& value);
    bool isMale() const;
    bool isFemale() const;
    // The first byte of the gender text, 0 when unknown.
    char cGender() const;
    // Yes when the gender is unknown, the new value starts with the same character, or the person has no
    // spouses; otherwise "<name> is married" in `error`.
    bool canGenderBeChangedTo(const QString& newGender, QString* error) const;
    // The relationship side of a gender typed into the person editor (already checked to be "M" or "F"):
    //  - unchanged, or no spouse: accepted;
    //  - two or more spouses: refused with a message;
    //  - one spouse: asks whether the spouse's gender should change too. Yes: the spouse gets the other gender.
    //    No: the spouse's natural links to the children the two share become step links (a child keeps only
    //    one natural parent of each gender), and the count is shown.
    // When accepted the new gender is stored (the editor's own write of it then changes nothing) and
    // "GenderChanged" is posted with the person.
    bool acceptGenderChange(const QString& newGender);

    // ---- Attributes with undo names and notifications ----

    QString title() const;
    void setTitle(const QString& value);
    QString notes() const;
    void setNotes(const QString& value);
    QString comments() const;
    void setComments(const QString& value);
    QString causeOfDeath() const;
    void setCauseOfDeath(const QString& value);
    QString userId() const;
    void setUserId(const QString& value);
    QString namePrefix() const;
    void setNamePrefix(const QString& value);
    QString nameSuffix() const;
    void setNameSuffix(const QString& value);
    QString nickName() const;
    void setNickName(const QString& value);
    int numericId() const;
    void setNumericId(int value);
    QByteArray extraData() const;
    void setExtraData(const QByteArray& value);
    QDateTime lastChange() const;
    void setLastChange(const QDateTime& value);

    FTEvent* birth() const;
    void setBirth(FTEvent* value);
    FTEvent* death() const;
    void setDeath(FTEvent* value);
    QList<FTEvent*> otherEvents() const;
    void addOtherEventsObject(FTEvent* value);
    void removeOtherEventsObject(FTEvent* value);
    QList<FTSpouseRel*> spouseRels() const;
    void addSpouseRelsObject(FTSpouseRel* value);
    void removeSpouseRelsObject(FTSpouseRel* value);
    QList<FTPcRel*> parents() const;
    void addParentsObject(FTPcRel* value);
    void removeParentsObject(FTPcRel* value);
    QList<FTPcRel*> children() const;
    void addChildrenObject(FTPcRel* value);
    void removeChildrenObject(FTPcRel* value);
    QList<FTPicture*> pictures() const;
    void addPicturesObject(FTPicture* value);
    // As FTPicture::setOwner(nullptr): refused for a picture that no source holds either.
    void removePicturesObject(FTPicture* value);
    FTPicture* defaultPicture() const;
    // Undo name "Change Person's Default Picture", then "DefaultPictureChanged".
    void setDefaultPicture(FTPicture* value);
    FTStory* story() const;
    void setStory(FTStory* value);
    QList<FTSourceRel*> sourceRels() const;
    void addSourceRelsObject(FTSourceRel* value);
    void removeSourceRelsObject(FTSourceRel* value);
    QList<FTAssociation*> associationsTo() const;
    void addAssociationsToObject(FTAssociation* value);
    void removeAssociationsToObject(FTAssociation* value);
    QList<FTAssociation*> associationsFrom() const;
    void addAssociationsFromObject(FTAssociation* value);
    void removeAssociationsFromObject(FTAssociation* value);
    FTProjectView* ancestralView() const;
    void setAncestralView(FTProjectView* value);
    QList<FTProjectView*> projectViews() const;
    void addProjectViewsObject(FTProjectView* value);
    void removeProjectViewsObject(FTProjectView* value);
    FTModelDefaults* modelDefaultFocalPerson() const;
    void setModelDefaultFocalPerson(FTModelDefaults* value);
    FTModelDefaults* modelDefaultSelectedPerson() const;
    void setModelDefaultSelectedPerson(FTModelDefaults* value);

    // ---- Extras kept in extraData ----

    // The to-do note ("Todo"); null when none.
    QString todo() const;
    // Trimmed; an empty text removes the note (nothing is written when there was none).
    void setTodo(const QString& value);
    // The ancestral file number ("AFN"); empty when none.
    QString ancestralFileNumber() const;
    void setAncestralFileNumber(const QString& value);

    // Names the open undo action `name` unless an outer operation already named it (other than "Typing").
    void setUndoAction(const QString& name) const;

    // ---- Key-value access ----

    // Adds the derived keys (familyName, givenNames, firstName, shortName, the display strings, ages, todo,
    // ancestralFileNumber, naturalFather, naturalMother, spouses, childRels, parentRels, picturesArray,
    // allSourceRels, assocPersonsArray, hasSourceRels, isLiving, latestChangeDate ...).
    QVariant valueForKey(const QString& key) const override;
    // name, title, notes, comments, todo and ancestralFileNumber go through their setters.
    void setValueForKey(const QString& key, const QVariant& value) override;
    // "birth.x", "death.x" and "story.x" first make the missing birth, death or story; the rest of the path is
    // set as one key on it.
    void setValueForKeyPath(const QString& keyPath, const QVariant& value) override;

    // ---- Display strings ----

    // "<name> (1850 - 1920)", "(1850 - )", "( - 1920)", or the bare name; typographic single quotes become "'".
    QString nameWithBirthAndDeathYears() const;
    // The same on shortName() with "-": "(1850-1920)".
    QString shortNameWithBirthAndDeathYears() const;
    // "[0012] <name> (1850 - 1920)".
    QString nameWithIdBirthAndDeathYears() const;
    // The spouses' nameWithBirthAndDeathYears, joined by ", ".
    QString spousesString() const;
    // Null without such a parent.
    QString naturalFathersNameWithBirthAndDeathYears() const;
    QString naturalMothersNameWithBirthAndDeathYears() const;

    // ---- Ages and dates ----

    // Whole years since the birth; 0 without a birth year or a birth in the future.
    int currentAge() const;
    // The age as text; empty for 0, above 110, or when the death event has a date, place or notes.
    QString currentAgeString() const;
    // Whole years from birth to death as text; "0" when both years are known, " " when not.
    QString ageAtDeath() const;
    // "Died at 80 years, 2 months and 1 day", "Died at about 80 years", "Now 30 years, ... since John's birth",
    // "Now about 30 years since John's birth", or empty.
    QString ageAtDeathInYearsMonthsAndDays() const;
    // No death year, no "Y" death, and born (or estimated born) at most 100 years ago.
    bool isLiving() const;
    // Died within the last `years` years.
    bool isRecentlyDead(int years) const;
    // The same, as of the year `thisYear` instead of today's: a piece of work that has a moment of its own (an
    // export) asks everything as of that moment.
    bool isLiving(int thisYear) const;
    bool isRecentlyDead(int years, int thisYear) const;
    // A birth year guessed from relatives: spouses +0, natural parents +30, natural children -30, grandparents
    // +60, grandchildren -60, great-grandchildren -90, siblings +0; then the same lists of the spouses. 0 when
    // nothing helps.
    int estimatedBirthYear() const;
    // The birth year of the last of `persons` that has one, plus `increment`; 0 when none has one.
    static int estimatedBirthYearBasedOn(const QList<FTPerson*>& persons, int increment);
    // The newest change stamp of the person and what belongs to it; invalid when none.
    QDateTime latestChangeDate() const;
    // One line per stamped record, newest first, ending with an empty line.
    QString latestChanges() const;

    // ---- Collections ----

    // The links to the children, by the child's birth (births without a date after their parents' marriage),
    // then name. A link whose child is gone is deleted and left out.
    QList<FTPcRel*> childRels() const;
    // The links to the parents, by the parent's gender text descending (fathers first). A link whose parent is
    // gone is deleted and left out.
    QList<FTPcRel*> parentRels() const;
    // The couples by marriage date (or the first common child's birth when undated), then number.
    QList<FTSpouseRel*> spouseRelsArray() const;
    // The other partner of each couple of spouseRelsArray(); couples without one are skipped.
    QList<FTPerson*> spouses() const;
    // Each couple's marriage, then its other marriage events.
    QList<FTEvent*> marriageEvents() const;
    // The person's other events with a GEDCOM tag.
    QList<FTEvent*> otherEventsWithSubtype(const QString& subtype) const;
    QList<FTPicture*> picturesArray() const;
    QList<FTAssociation*> assocPersonsArray() const;
    // The person's citations and those of the couples' marriage and other marriage events. A citation whose
    // source is gone is deleted and left out.
    QList<FTSourceRel*> allSourceRels() const;
    bool hasSourceRels() const;
    bool isUnconnected() const;
    // A couple of the two with a marriage event.
    bool isMarriedTo(const FTPerson* other) const;
    // The numbers of every ancestor along links that are not step links.
    void addAncestorsToSet(QSet<int>& numericIds) const;

    // ---- Relatives ----

    QList<FTPerson*> childrenOfType(int mask) const;
    QList<FTPerson*> parentsOfType(int mask) const;
    QList<FTPerson*> naturalChildren() const;
    QList<FTPerson*> naturalParents() const;
    FTPerson* naturalFather() const;
    FTPerson* naturalMother() const;
    QList<FTPerson*> naturalGrandParents() const;
    QList<FTPerson*> grandChildren() const;
    QList<FTPerson*> greatGrandChildren() const;
    QList<FTPerson*> siblings() const;

    // ---- Before a person is made or deleted ----

    // Before a new person named in a dialog becomes a relative of `relative` (relation -1 a child, -2 a spouse,
    // any other non-zero value a parent): with the user default "duplicateNameWarning", people of that name (and
    // gender, when given) born in a plausible window are listed and the user chooses "Create New Person" (true)
    // or "Discard". The name is matched literally: "*" and "?" are not wildcards.
    static bool checkDuplicateNames(const QString& name, const QString& gender, FTPerson* relative, int relation);
    // False, after a message, for a person with both parents and children or the focal person; with the user
    // default "showDeleteWarnings", the user confirms.
    static bool confirmDeletionOfPerson(FTPerson* person);

    // ---- Indexes kept while a GEDCOM file is written (the export only) ----

    // Each add creates its set on first use; a null argument only creates it.
    void addSpouseOfFamily(FTSpouseRel* couple);
    void addChildOfFamily(FTSpouseRel* couple);
    void addPictureToPicturesSet(FTPicture* picture);
    void addOtherEventToOtherEventsSet(FTEvent* event);
    void addSourceRelToSourceRelsSet(FTSourceRel* citation);
    // Null until the first add.
    const QSet<FTSpouseRel*>* spouseOfFamilies() const;
    const QSet<FTSpouseRel*>* childOfFamilies() const;
    const QSet<FTPicture*>* picturesSet() const;
    const QSet<FTEvent*>* otherEventsSet() const;
    const QSet<FTSourceRel*>* sourceRelsSet() const;
    // picturesSet by seqNo; sourceRelsSet in the order the citations were made.
    QList<FTPicture*> picturesArrayFromPicturesSet() const;
    QList<FTSourceRel*> sourceRelsArrayFromSourceRelsSet() const;
    void removeGedcomExportIndexes();

    FTPerson();
    ~FTPerson() override;

protected:
    QVariant valueForUndefinedKey(const QString& key) const override;

private:
    struct ExportIndexes;
    std::unique_ptr<ExportIndexes> m_exportIndexes;

    void post(const QString& notification);
    QString yearsSuffix(const QString& separator) const;

public:
    // ---- Creating and attaching relatives (FTPerson_Add.cpp, FTPerson_Create.cpp) ----
    // None of these names the undo action (the caller names the whole step) or saves, except where said.

    // A new person (initInMoc) attached as this person's child, or as this person's parent, with the type given
    // (FTPcRel bits); no ancestor check.
    FTPerson* addChild(const QString& name, const QString& gender, int pcRelType);
    FTPerson* addParent(const QString& name, const QString& gender, int pcRelType);
    // A new person joined to this one by addSpouseRel().
    FTPerson* addSpouse(const QString& name, const QString& gender);
    // A new couple of this person and `other`. Two men or two women are warned about ("AddSameSexUnion") and joined
    // all the same. An existing couple of the two is not looked for: a second call makes a second couple.
    FTSpouseRel* addSpouseRel(FTPerson* other);
    // Makes `child` this person's child with `pcRelType` and answers the new link. Refused (null, nothing made):
    // the person itself ("MergeChild1" in `reason`), a child already linked by any type ("<child> MergeChild2
    // <parent>"), and with `checkAncestors` a child that is this person's ancestor along links that are not step
    // links (a message says so whether or not `reason` is given; "RecursionFound" in `reason`). Without `reason`
    // the first two refusals are silent.
    FTPcRel* attachChild(FTPerson* child, int pcRelType, bool checkAncestors, QString* reason);
    // Cites `source` on the person itself: reuses its citation of it (saying so; the first of several) or makes
    // one and saves the context, then opens the person's citation sheet (CitationDialogs) unless an import or a
    // merge from another database runs. Null for a null source.
    FTSourceRel* addReferenceToSource(FTSource* source);
    // The end of the person's citation sheet: every view refreshes when the person editor shows its sources page
    // or missing citations are checked ("cdCheckForMissingCitations").
    void addReferenceToSourceDidEnd();
    // What a citation made while copying this person from another database describes: "Person: Gender, Name".
    QString attributesBeingMerged() const;

    // The four commands of the family diagram's edit box. Each decides which existing relatives the newcomer is
    // linked to as well, and which dialogs (RelativeDialogs) then run:
    //  - a child: natural to this person and to the first spouse, step to later spouses; the add-child dialog
    //    when "showAddChildDialog" is on or there are several spouses;
    //  - a natural parent: refused ("NoTwoNatDads"/"NoTwoNatMums", null) when the child has one of that gender;
    //    joined to the other natural parent, whose other natural children it gets (natural when that parent now
    //    has one spouse, else step); the add-parent dialog, then the family dialog;
    //  - a step parent: the same without the refusal, everything step;
    //  - a spouse, of the other gender (a man for a person of unknown gender; `gender` is ignored): the person's
    //    natural children become its children (natural for a first spouse, else step).
    FTPerson* createChildNamed(const QString& name, const QString& gender);
    FTPerson* createNaturalParentNamed(const QString& name, const QString& gender);
    FTPerson* createStepParentNamed(const QString& name, const QString& gender);
    FTPerson* createSpouseNamed(const QString& name, const QString& gender);
    // The dialogs, run modally through RelativeDialogs (nothing without one installed).
    void invokeAddChildDialog();
    void invokeAddParentDialog(FTPerson* parent, int pcRelType, FTPerson* spouse);
    void invokeAttachExistingPersonAsChildDialog();
    void invokeAttachExistingPersonAsParentDialog();
    void invokeAttachExistingPersonAsSpouseDialog(bool sameSex);
    // Then "RefreshAllViews".
    void invokeFamilyDialogForSpouse(FTPerson* spouse);
    // Whether `other` is an ancestor of this person along links that are not step links (each person once).
    bool hasNonStepAncestor(const FTPerson* other) const;

    // ==== Relatives area: relatives, kinship names, event rows and summaries ===================================
    // Every list is computed afresh on each call from the link lists above (childRels in birth order, parentRels
    // fathers first, spouseRelsArray by marriage); nothing is cached. Type masks as in FTPcRel (1 natural, 2 step,
    // 4 foster, 8 adopted); a link of type 0 passes no mask.

    // The siblings and the person, by birth (lbDate), then name.
    QList<FTPerson*> siblingsArrayWithSelf() const;
    // The natural children of the natural grandparents who are not the person's natural parents, each followed by
    // their spouses (half-siblings of a parent count when they share the grandparent).
    QList<FTPerson*> auntsAndUncles() const;
    // The natural or adopted children of auntsAndUncles(), each once.
    QList<FTPerson*> cousins() const;
    // The natural or adopted children of the siblings and of the spouses' siblings, each once.
    QList<FTPerson*> nephewsAndNieces() const;
    // The natural or adopted parents of each spouse.
    QList<FTPerson*> parentsInLaw() const;
    // The spouses of each natural or adopted child.
    QList<FTPerson*> childrenInLaw() const;
    // Each spouse's siblings, then each sibling's spouses; each once.
    QList<FTPerson*> siblingsInLaw() const;
    // The natural children a spouse brought into a dated marriage: born on or before the marriage day and not dead
    // before it, and not natural children of this person. Logs a child that has no link to this person. A child
    // qualifying through two couples is listed twice.
    QList<FTPerson*> logicalStepChildren() const;
    // One row per child link, in birth order: "Son", "Adopted Daughter", "Foster Child" ...
    QList<Relative> loadChildRels() const;

    // ---- Blood relationship (consanguinity) ----

    // What `other` is to this person by blood, through their nearest common natural ancestor: "Uncle of <this
    // person's short name with years>", "1st cousin twice removed of ...", "Same person as ...", or "None" when
    // they share no ancestor. Only links of type natural are followed. `commonAncestor` receives that ancestor
    // (null with "None"). A caller comparing one person with many passes this person's ancestor set, built once
    // with recurseAncestorsSet(set, {this}).
    QString consanguinityWithPerson(
        FTPerson* other, FTPerson** commonAncestor = nullptr, const QSet<FTPerson*>* ancestorsSet = nullptr);
    // Adds `people` and all their natural ancestors to `set`, one generation at a time. A person already in the
    // set is not walked again, so a loop of links ends.
    static void recurseAncestorsSet(QSet<FTPerson*>& set, const QList<FTPerson*>& people);
    // The first person of the nearest generation of `people` and their natural ancestors that is in
    // `ancestorsSet` (within a generation men first, then women; a person of neither gender never counts); null.
    static FTPerson* recurseAncestors2(const QSet<FTPerson*>& ancestorsSet, const QList<FTPerson*>& people);
    // The number of generations from `people` (at `level`) up to `commonAncestor` along natural links; -1 when
    // it is not among their ancestors.
    static int recurseAncestors3(const QList<FTPerson*>& people, int level, const FTPerson* commonAncestor);

    // ---- Kinship ----

    // Everybody reachable from this person in at most `steps` steps to a parent, spouse or child (step links
    // excluded), this person included. `progress` (may be empty) is told the percentage done after each level,
    // and 0 at the end.
    QSet<FTPerson*> peopleInKinship(int steps, const std::function<void(int)>& progress = {});
    // Grows the tree under `node` by the people first reached at `level` steps.
    static void addLevelToHierarchy(RelativesHierarchy* node, int level, QSet<FTPerson*>& peopleSet);

    // ---- Event rows ----

    // The person's rows for the events list: own birth and death (when not empty), own other events, with
    // `includeChildrenAndParents` the children's births (not step-children's) and deaths and the parents'
    // deaths, and always the couples' marriage events and the spouses' deaths; relatives' events dated after the
    // person's death are left out (LDS ordinances excepted). Sorted by date, then birth, marriage, death, other.
    std::vector<std::unique_ptr<EventInfo>> createEventInfoArray(bool includeChildrenAndParents);
    // The person's own rows: birth and death when not empty, then every other event.
    void addOwnEventsTo(std::vector<std::unique_ptr<EventInfo>>& rows);
    // The order of the events list: by date (lDateForEventsListSort), then birth, marriage, death, other; rows
    // of equal rank keep their order.
    static void sortEventInfoArray(std::vector<std::unique_ptr<EventInfo>>& rows);
    void addChildrensEventsTo(std::vector<std::unique_ptr<EventInfo>>& rows);
    void addParentsEventsTo(std::vector<std::unique_ptr<EventInfo>>& rows);
    void addSpousesEventsTo(std::vector<std::unique_ptr<EventInfo>>& rows);
    // Appends a relative's row unless the event is missing or empty, or dated after this person's death (see
    // above).
    void appendRelativesEventInfo(FTEvent* event, FTPerson* owner, long relationship, long pcRelType,
        std::vector<std::unique_ptr<EventInfo>>& rows);

    // ---- Summaries ----

    // Sections of the summaries, written in this order whatever the bit values.
    enum SummaryOption : int {
        SummaryNumber = 0x0001,
        SummaryTitle = 0x0002,
        SummaryBirth = 0x0004,
        SummaryDeath = 0x0008,
        SummaryMarriages = 0x0010,
        SummaryNotes = 0x0020,
        SummaryComments = 0x0040,
        SummarySources = 0x0100,
        SummaryOtherEvents = 0x0200,
        SummaryBirthNotes = 0x0400,
        SummaryDeathNotes = 0x0800,
        SummaryParents = 0x1000,
        SummaryChildren = 0x2000,
        SummarySiblings = 0x4000,
        SummaryPictures = 0x8000,
        SummaryAll = 0xFFFF,
    };
    // The name followed by the sections of `options`: ", ID 12", ", <title>", "\n Birth. 05 Jan 1900 at Leeds",
    // the marriages, the death with the age, then parents, children, siblings, birth and death notes, notes,
    // comments, other events, source citations and pictures as headed paragraphs.
    QString extendedDescription(int options) const;
    // The same as Qt rich text (HTML): the name and section headings in bold Arial, the rest in Arial, 12 points,
    // black; blanks and line ends are kept (white-space: pre-wrap).
    QString extendedAttributedDescription(int options) const;
    // extendedDescription(0x1F): name, number, title, birth, marriages and death.
    QString nameWithBirthMarriageAndDeathInfo() const;
    // extendedDescription() with every section.
    QString nameWithBirthMarriageAndDeathInfoPlusNotesAndComments() const;
    // extendedAttributedDescription() with every section.
    QString attributedDescription() const;
    // ==== end of relatives area ====================================================================================
};
