#pragma once

#include "model/FTManagedObject.h"

class QUrl;

#include <functional>
#include <memory>

class FTEventType;
class FTPerson;
class FTSource;
class FTSourceRel;
class FTSpouseRel;

// One event of a family database: a person's birth (type 300), death (301) or other personal event (303), or a
// couple's marriage (302) or other marriage event (304). The type is fixed by the record's entity and repeated in
// `type`; `subtype` is the GEDCOM tag ("BIRT", "BAPM", "DIV", "EVEN" ...).
//
//   FTEvent* e = FTEvent::initInMoc(moc, FTEvent::OtherPersonalEvent, person, "BAPM");
//   e->setDate("abt 5/1/1900");       // parsed: qual 1, day 5, month 1, year 1900, text "abt 05 Jan 1900"
//   e->setPlace("Leeds");             // the context's places list follows
//
// The setters of date, name, subtype, place and notes keep the context's cached lists in step, link the event
// type and post the change notifications ("EventNameOrDateChanged", "PersonNameOrDateChanged", "BDMInfoChanged",
// "NotesOrCommentsChanged"; object: the event or the person it concerns, context: the event's FTMoc). While a
// GEDCOM import fills the context (FTMoc::importThreadIsActive()) they only store: no list upkeep, no
// notifications, no messages, no event-type link, and the constructors neither number nor cite.
// valueForKey()/setValueForKey() route "date", "name", "subtype", "place", "notes", "owner" and the extra fields
// to these accessors, and answer the derived keys (lDate, ownerName, ...) by name.
class FTEvent : public FTManagedObject {
public:
    static constexpr const char* kEntityName = "Event";

    enum Type : int {
        BirthEvent = 300,
        DeathEvent = 301,
        MarriageEvent = 302,
        OtherPersonalEvent = 303,
        OtherMarriageEvent = 304,
    };

    FTEvent();
    ~FTEvent() override;

    // ---- Construction --------------------------------------------------------------------------------------

    // A new event of `eventType` (300-304): default subtype, empty name and date, linked to the event type of
    // its tag; outside an import it names the undo action ("Add Birth Event" ...) when none is named and takes
    // the next event number. Another type is refused with a message: null.
    static FTEvent* initInMoc(FTMoc* moc, int eventType);
    // The same with the tag `subtype` written as given in place of the type's default (an import keeps each
    // event's tag as the file wrote it, in one write).
    static FTEvent* initInMoc(FTMoc* moc, int eventType, const QString& subtype);
    // The same, owned by `owner` (an FTPerson for 300, 301 and 303, an FTSpouseRel for 302 and 304), with the tag
    // `subtype` (the type's default when empty); outside an import it cites the context's active source.
    static FTEvent* initInMoc(FTMoc* moc, int eventType, FTManagedObject* owner, const QString& subtype);
    // A copy of an other personal event for the person `owner`, made through the setters (so lists and
    // notifications follow), named "Clone Event" for undo; null for another type of event or another owner.
    // Citations are copied separately by cloneSourceRefsfromEvent().
    static FTEvent* cloneEvent(FTEvent* event, FTManagedObject* owner);
    // A copy of each citation of `event` for this event (FTSourceRel::copyFor: a citation of another database's
    // source is left out); answers the number made.
    int cloneSourceRefsfromEvent(FTEvent* event);
    // Cites `source` (SourceCiting): reuses this event's citation of it (saying so) or makes one and saves the
    // context, then opens the event citation sheet (CitationDialogs) unless an import or a merge from another
    // database runs; its end calls addReferenceToSourceDidEnd(). Null for a null source.
    FTSourceRel* addReferenceToSource(FTSource* source);
    // The end of the citation sheet: refreshes every view when the person editor shows its sources page, or its
    // events page while missing citations are checked ("cdCheckForMissingCitations").
    void addReferenceToSourceDidEnd();
    // Opens the map window for the event's place (ModelHooks::openMapWindow) on `parent`, calling `didEnd` when
    // it closes; asks for a place when it has none.
    void findInGoogleMaps(QObject* parent = nullptr, std::function<void()> didEnd = {});

    // ---- Values with side effects --------------------------------------------------------------------------

    int type() const;
    void setType(int value);
    QString subtype() const;
    // Moves the event's name from the names list of the old tag to that of the new one and links the event type
    // of the new tag (when the database has one).
    void setSubtype(const QString& value);
    // The event's own name; the display name of its subtype when it has none. The stored value alone is
    // stringValue("name").
    QString name() const;
    void setName(const QString& value);
    // The date text: the normalised date, "Y" for a death or marriage known to have happened, or empty. While
    // gHebrewDates is set, the Hebrew form (hebrewDate()).
    QString date() const;
    // Reads a typed date and stores its text and numbers together. A text that is not a date is refused with a
    // message and nothing changes: text and numbers keep their old values together.
    void setDate(const QString& value);
    QString place() const;
    void setPlace(const QString& value);
    QString notes() const;
    void setNotes(const QString& value);
    // The person (300, 301, 303) or couple (302, 304) the event belongs to.
    FTManagedObject* owner() const;
    void setOwner(FTManagedObject* owner);

    // ---- Plain values --------------------------------------------------------------------------------------

    int qual() const;
    void setQual(int value);
    int day() const;
    void setDay(int value);
    int month() const;
    void setMonth(int value);
    int year() const;
    void setYear(int value);
    QString comments() const;
    void setComments(const QString& value);
    QString causeOfEvent() const;
    void setCauseOfEvent(const QString& value);
    int numericId() const;
    void setNumericId(int value);
    QByteArray extraData() const;
    void setExtraData(const QByteArray& value);
    QDateTime lastChange() const;
    void setLastChange(const QDateTime& value);

    FTEventType* eventType() const;
    void setEventType(FTEventType* value);
    QList<FTSourceRel*> sourceRels() const;
    void addSourceRelsObject(FTSourceRel* value);
    void removeSourceRelsObject(FTSourceRel* value);
    FTPerson* person() const;
    void setPerson(FTPerson* value);
    FTSpouseRel* spouseRel() const;
    void setSpouseRel(FTSpouseRel* value);

    // ---- Derived values ------------------------------------------------------------------------------------

    // The owner's name; for a couple "Husband +. Wife" (the man first), or "Marriage Event" unless it has
    // exactly two partners.
    QString ownerName() const;
    // The owning person's family name, or the couple's husband's.
    QString familyName() const;
    // The vocabulary's name of the subtype; else "Birth", "Death", "Marriage", "Other Personal Event" or
    // "Other Marriage Event" by type ("??" for any other type).
    QString subtypeName() const;
    // Packed sort key of the date (Dates::getLongDate); 0 without a date.
    quint32 lDate() const;
    // lDate(); for an undated birth, the marriage date of the owner's natural parents, so it sorts after it.
    quint32 lbDate() const;
    // lDate(); for an undated marriage, the birth date of the couple's first common natural child.
    quint32 lmDate() const;
    // The key of the events lists: "after" dates sort one step later; undated deaths, burials, cremations,
    // wills, retirements and probates sort after every dated event.
    qint64 lDateForEventsListSort() const;
    // Whole years from `other`'s date to this event's date; 0 when `other` has no year or is later.
    int yearsSince(const FTEvent* other) const;
    // The owner's age at the event, from the owner's birth; 0 without one.
    int ownersAgeAtEvent() const;
    // For a birth or death: false when the owner's death is before the birth or more than `maximumYears` after
    // it (a death without month or day counts as the end of that year or month). True otherwise.
    bool checkOwnersBirthAndDeathDates(int maximumYears) const;
    // No date, no place and no notes.
    bool isEmptyEvent() const;
    // "Monday, 05 January 1900" for a full date; a null text otherwise.
    QString dateWithWeekday() const;
    // The qualifier word and the Hebrew calendar form of the date; empty without a full date.
    QString hebrewDate() const;
    // "Type: BIRT, Name: Birth, Date: 05 Jan 1900, Place: Leeds Notes: ..."
    QString eventDescription() const;
    // Several paragraphs: owner, type, name, date, place, notes and every citation with its source.
    QString eventDescription_full() const;
    // The title of the citation sheet: "Event = Baptism of John Smith on 05 Jan 1900".
    QString nameForSourceRefDialog() const;
    // "P.12" (a person's event) or "M.3" (a couple's); empty without an owner.
    QString ownersNumericIdAsString() const;
    // The numbers of the cited sources, ascending: "2, 5, 9".
    QString sourceReferenceNumbers() const;
    // What a citation made while merging from another database describes: "Baptism: Date, Event Name, Place".
    QString attributesBeingMerged() const;

    // ---- Extra fields (kept in extraData) ------------------------------------------------------------------

    // Map coordinates; 0.0 when not set.
    float latitude() const;
    void setLatitude(float value);
    float longitude() const;
    void setLongitude(float value);
    // The map link saved from the map window; invalid when none.
    QUrl googleMapUrl() const;
    // Stores the link (trimmed; empty removes it) and sets the coordinates from its "ll=lat,long" part (both
    // 0.0 without one).
    void saveGoogleMapUrl(const QString& url);
    // "51.5N, -0.1E": the coordinates rounded to one decimal.
    QString coordinates() const;
    // What the map link shows: its query (q=) and its coordinates, joined by ", "; null without a link.
    QString googleMapAddress() const;
    // The date text as a GEDCOM file wrote it; null when none. An empty text changes nothing.
    QString gedcomDate() const;
    void setGedcomDate(const QString& value);
    // LDS ordinance status and temple code; empty when not set.
    QString ldsStatus() const;
    void setLdsStatus(const QString& value);
    QString ldsTempleCode() const;
    void setLdsTempleCode(const QString& value);
    // "LDS Status = BIC, Temple = SLAKE" ("LDS Temple = SLAKE" with only a temple); empty when neither is set.
    QString ldsStatusAndTempleCode() const;

    // ---- Citations gathered while a GEDCOM file is written -------------------------------------------------

    // Adds `sourceRel` to the event's export set (made empty on first use; null only makes it).
    void addSourceRelToSourceRelsSet(FTSourceRel* sourceRel);
    // The export set by citation number, ascending; empty when there is none.
    QList<FTSourceRel*> sourceRelsArrayFromSourceRelsSet() const;
    void removeGedcomExportIndexes();

    // ---- By name -------------------------------------------------------------------------------------------

    QVariant valueForKey(const QString& key) const override;
    void setValueForKey(const QString& key, const QVariant& value) override;

    // The entity of each type ("BirthEvent" ...); empty for another value.
    static QString entityNameForType(int eventType);

private:
    bool ownedByCoupleType() const { return type() == MarriageEvent || type() == OtherMarriageEvent; }
    bool importing() const;
    void post(const QString& name, const void* object) const;
    void linkEventTypeForSubtype();

    struct ExportIndex;
    std::unique_ptr<ExportIndex> m_export;
};
