#pragma once

#include "platform/store/ManagedObject.h"

#include <QCborMap>
#include <QHash>
#include <QStringList>

#include <optional>
#include <typeinfo>

class FTMoc;

// The counters of the ModelDefaults record that number new records: maxPersonId, maxEventId, maxSpouseRelId,
// maxPictureId and maxSourceId.
enum class FTCounter { Person, Event, SpouseRel, Picture, Source };

// The base of every entity class of a family database. It adds what all records share:
//
//  - the change stamp: every change of an attribute of a record whose entity declares `lastChange` sets
//    `lastChange` to now, except while a GEDCOM import runs, while undoing (a redo does stamp), while undo
//    registration is off, for `lastChange` itself and for the ModelDefaults person links; relationships never
//    stamp;
//  - undo action names: a change names the open undo action in the windows' words (changeActionName(): "Change
//    Death Date Qualifier", "Change Person's Family Name"), but only when the action has no name yet
//    or has the localised "Typing" (a text field's own name), so a name given by an outer operation wins. No
//    naming while importing, undoing or redoing, or with undo registration off;
//  - three scratch values for graph walks, exports and merges (never stored, zero on every insert and load);
//  - the `extraData` map of named values (a CBOR map; an empty value reads as an empty map);
//  - a key-by-key comparison of two records.
//
// Both automatic behaviours run in keyWillChange()/keyDidChange(): an entity class that overrides them calls these
// first. They act only for records of an FTMoc (records of a plain store context, as tools and benchmarks open,
// get neither).
//
// Construction convention of every entity class: `static FTX* initInMoc(FTMoc* moc, ...)` inserts the record,
// names the undo action with nameNewObjectAction() (entities that have a name for it), and numbered entities take
// their number with assignNumericId(). Setters that name their action themselves use nameChangeAction().
class FTManagedObject : public ManagedObject {
public:
    // The family database the record belongs to; null for a record of a plain store context.
    FTMoc* moc() const;

    int objId() const { return m_objId; }
    void setObjId(int value) { m_objId = value; }
    quint32 flagBits() const { return m_flagBits; }
    void setFlagBits(quint32 value) { m_flagBits = value; }
    bool bDateNeedsToBeChanged() const { return m_bDateNeedsToBeChanged; }
    void setBDateNeedsToBeChanged(bool value) { m_bDateNeedsToBeChanged = value; }

    // The stamp; invalid when the entity has no `lastChange` or nothing was stamped.
    QDateTime lastChange() const;
    // The stamp as "dd MMM yy" ("05 Jan 24"); empty without a stamp.
    QString lastChangeString() const;

    // Attributes left out of compareWith().
    enum CompareOption : unsigned {
        CompareWithoutLastChange = 1,
        CompareWithoutNumericId = 2,
        CompareWithoutThumbNailImageData = 4,
        CompareWithoutSeqNo = 8,
        CompareWithoutExtraData = 16,
    };
    // The names of the attributes (in declaration order) whose values differ between this record and `other`,
    // leaving out those of the option bits; relationships are not compared. With `other` null, the attributes
    // that are set on this record. Nothing (nullopt) when `other` is of another entity class.
    std::optional<QStringList> compareWith(const FTManagedObject* other, unsigned options) const;

    // `extraData`. Every change rewrites the whole map through an ordinary change of "extraData", so it is
    // stamped and undoable like any attribute; an empty map is stored as no value. Entities without `extraData`
    // read an empty map and ignore writes.
    bool hasExtraDataAttribute() const;
    QCborMap extraDataMap() const;
    void setExtraDataMap(const QCborMap& map);
    QVariant extraDataValue(const QString& key) const;
    // An invalid value removes the key.
    void setExtraDataValue(const QString& key, const QVariant& value);

    // Undo naming for constructors: names the open action `name` when it has no name yet. No effect while an
    // import runs (the undo manager ignores names then).
    static void nameNewObjectAction(FTMoc* moc, const QString& name);
    // Undo naming for setters: names the action `name` when it has no name yet or has the localised "Typing";
    // nothing while importing, undoing or redoing, or with undo registration off.
    void nameChangeAction(const QString& name) const;

    // The numbering convention of the numbered entities: unless an import runs, `numericId` = the counter of
    // ModelDefaults + 1, written back to the counter (FTModelDefaults::takeNextId). Answers the number given, 0
    // during an import (the reader numbers records itself).
    int assignNumericId(FTCounter counter);

    // ---- Shared by the entity classes ----
    // "familyName" -> "Familyname", "AUTH" -> "Auth": each word's first letter upper case, the rest lower case.
    static QString capitalized(const QString& text);
    // The undo action's name for a change of `key` of a record of `entity`, in the words the windows use:
    // "Change Death Date Qualifier", "Change Person's Family Name", "Change Citation Reference"; the database's
    // own settings name no record.
    static QString changeActionName(const QString& entity, const QString& key);
    // What a citation made while copying from another database describes: `title`, then ": " before the first
    // and ", " before each further name of the record's attributes that hold a value (an empty text is none),
    // sorted ignoring case. `leftOut` are skipped; `labels` give some attributes their own label, the others read
    // capitalized() ("causeOfEvent" -> "Causeofevent").
    QString attributesWithValues(const QString& title, const QStringList& leftOut,
        const QHash<QString, QString>& labels) const;

protected:
    void awakeFromFetch() override;
    void keyWillChange(const Key& key) override;
    void keyDidChange(const Key& key) override;


    // A relationship that only some sub-entities have (an event owned by a couple has no `person`): nil elsewhere.
    template <class T> T* optionalObject(const Key& key) const
    {
        return hasProperty(key) ? object<T>(key) : nullptr;
    }

    bool hasProperty(const Key& key) const;

private:
    bool changeHooksActive(const FTMoc* m) const;

    qint32 m_objId = 0;
    quint32 m_flagBits = 0;
    bool m_bDateNeedsToBeChanged = false;
};

// A dynamic_cast that first tests for the exact class: the import asks it of nearly every record it reads, and most
// are of the class asked for.
template <class T, class From> T* exactOrDynamicCast(From* object)
{
    if (object && typeid(*object) == typeid(T))
        return static_cast<T*>(object);
    return dynamic_cast<T*>(object);
}
