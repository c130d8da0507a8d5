#pragma once

#include "model/FTManagedObject.h"

class FTEvent;
class FTPerson;
class FTPicture;
class FTSource;
class StoreSchema;

// A citation: one source cited by one person, event or picture, with a page reference, the item it supports, notes
// and a certainty. A citation of a birth, death or other personal event also names the event's person.
// Citations have no stored number: numericId() comes from the record's identity.
//
// Setters with side effects: setReference() makes the typed page reference the active source's next one;
// setSource() puts the source at the front of the recent sources (neither while an import runs). Deleting a
// citation posts "SourceRelToBeDeleted" with the citation first.
class FTSourceRel : public FTManagedObject {
public:
    static constexpr const char* kEntityName = "SourceRel";

    QString reference() const;
    void setReference(const QString& value);
    QString itemDescribed() const;
    void setItemDescribed(const QString& value);
    QString notes() const;
    void setNotes(const QString& value);
    int certainty() const;
    void setCertainty(int value);
    QByteArray extraData() const;
    void setExtraData(const QByteArray& value);
    QDateTime lastChange() const;
    void setLastChange(const QDateTime& value);

    FTSource* source() const;
    void setSource(FTSource* value);
    FTPerson* person() const;
    void setPerson(FTPerson* value);
    FTEvent* event() const;
    void setEvent(FTEvent* value);
    FTPicture* picture() const;
    void setPicture(FTPicture* value);

    // A new citation of nothing yet; names the open undo action "Add Source Citation" when it has no name yet.
    static FTSourceRel* initInMoc(FTMoc* moc);
    // The same, citing `source` for `owner` (a person, an event or a picture; a personal event's citation names
    // the event's person too) and describing `itemDescribed`; the citation of the context's active source takes
    // the active page reference.
    static FTSourceRel* initInMoc(FTMoc* moc, FTSource* source, FTManagedObject* owner, const QString& itemDescribed);
    // A copy for `owner`, linked as initInMoc() links it, with the same source and every attribute as stored (the
    // copied page reference does not become the active one). Null for a source of another database.
    FTSourceRel* copyFor(FTManagedObject* owner) const;

    // The first run of digits in the last part of the record's URI: stable from insertion on.
    int numericId() const;
    // The person when set, else the event.
    FTManagedObject* owner() const;
    // The title of the citation sheet: the event's own for a citation of an event, else "SourceRelDialogTitle".
    QString nameForSourceRefDialog() const;
    // "*" when the notes hold more than white space, else empty.
    QString lengthIndicator() const;
    // Where the citation is used, for the reviews of citations: "Event: <person>, <event name>",
    // "Event: <husband> <-> <wife>, <event name> on <date>", "Person: <person>", "Picture: <title>";
    // "SomethingWrong" for a citation of nothing.
    QString whereUsedString() const;

    // Routes "reference" and "source" through the setters above.
    void setValueForKey(const QString& key, const QVariant& value) override;

    // The computed keys readable by name: "whereUsedString" (announced with itemDescribed), "numericId".
    static void declareDerivedKeys(StoreSchema& schema);

protected:
    // Posts "SourceRelToBeDeleted" while the citation still has its links.
    void prepareForDeletion() override;
};
