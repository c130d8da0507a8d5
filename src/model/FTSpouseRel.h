#pragma once

#include "model/FTManagedObject.h"

class FTEvent;
class FTPerson;

#include <QSet>

#include <memory>

// One couple: two partners, the marriage event and the other marriage events (engagement, divorce ...).
//
//   FTSpouseRel* couple = FTSpouseRel::initInMoc(moc);     // numbered from maxSpouseRelId
//   couple->addPartnersObject(husband);
//   couple->addPartnersObject(wife);
//   couple->setValueForKeyPath("marriage.place", "Paris");  // makes the marriage event first
class FTSpouseRel : public FTManagedObject {
public:
    static constexpr const char* kEntityName = "SpouseRel";

    // A new couple without partners; undo name "AddSpouse" when none yet; numbered outside an import.
    static FTSpouseRel* initInMoc(FTMoc* moc);

    // The first partner whose gender is "MaleShort" (respectively "FemaleShort"); null when none.
    FTPerson* husband() const;
    FTPerson* wife() const;
    // With exactly two partners, the one that is not `person`; null otherwise.
    FTPerson* partnerOf(const FTPerson* person) const;
    // The birth key of the first natural child of the (last) father that is also a natural child of the (last)
    // mother; 0 without both parents, without a common child, or when that child has no birth.
    quint32 firstChildsBirthDate() const;
    // The couple's sort key: the marriage's date key, or firstChildsBirthDate() when the marriage is undated.
    quint32 lmDate() const;
    // "NoMarriage" without events; else the latest event (by date) as a status: "Married" for a marriage, the
    // vocabulary's name of the tag ("Divorced" ...), or the event's own name for an "EVEN" event.
    QString marriageStatusString() const;
    // By year, month, day.
    QList<FTEvent*> otherMarriageEventsArray() const;
    QList<FTEvent*> otherMarriageEventsWithSubtype(const QString& subtype) const;

    // "marriage.x" makes the missing marriage event (subtype "MARR") first; the rest of the path is set as one
    // key on it.
    void setValueForKeyPath(const QString& keyPath, const QVariant& value) override;
    // Adds husband, wife, marriageStatusString, otherMarriageEventsArray, firstChildsBirthDate and lmDate.
    QVariant valueForKey(const QString& key) const override;

    // The other marriage events being written to a GEDCOM file (the export only).
    void addEventToOtherMarriageEventsIndex(FTEvent* event);
    const QSet<FTEvent*>* otherMarriageEventsIndex() const { return m_otherMarriageEventsIndex.get(); }
    void removeGedcomExportIndexes() { m_otherMarriageEventsIndex.reset(); }

    int numericId() const;
    void setNumericId(int value);
    int seqNo() const;
    void setSeqNo(int value);
    QString userId() const;
    void setUserId(const QString& value);
    QDateTime lastChange() const;
    void setLastChange(const QDateTime& value);

    QList<FTPerson*> partners() const;
    void addPartnersObject(FTPerson* value);
    void removePartnersObject(FTPerson* value);
    FTEvent* marriage() const;
    void setMarriage(FTEvent* value);
    QList<FTEvent*> otherMarriageEvents() const;
    void addOtherMarriageEventsObject(FTEvent* value);
    void removeOtherMarriageEventsObject(FTEvent* value);

private:
    std::unique_ptr<QSet<FTEvent*>> m_otherMarriageEventsIndex;
};
