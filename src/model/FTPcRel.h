#pragma once

#include "model/FTManagedObject.h"

class FTPerson;
class Inconsistency;

// One link from a parent to a child, typed by a bit: 1 natural, 2 step, 4 foster, 8 adopted, 4096 not related,
// 0 unknown (a stored 3 reads as 8). A mask selects several kinds: a link matches when its type AND the mask is not
// 0. The link's notes, evidence flags and certainty live in its extraData.
//
//   FTPcRel* link = FTPcRel::initInMoc(moc);
//   link->setParent(mother);
//   link->setChild(child);
//   link->setPcRelType(1);
//   link->certainty();                // 50, or 20 when reasonsForUncertainty() finds doubts
class FTPcRel : public FTManagedObject {
public:
    static constexpr const char* kEntityName = "PcRel";

    // ---- Type bits ----
    static constexpr int kUnknown = 0;
    static constexpr int kNatural = 1;
    static constexpr int kStep = 2;
    static constexpr int kFoster = 4;
    static constexpr int kAdopted = 8;
    static constexpr int kNotRelated = 4096;

    // A new link without parent, child or type; undo name "AddPcRel" when none yet.
    static FTPcRel* initInMoc(FTMoc* moc);

    // The stored code as it is (a 3 from older files included); intPcRelType() is what everyone should read.
    int pcRelType() const;
    // Stores the code (3 as 8).
    void setPcRelType(int value);
    int intPcRelType() const;
    // "Natural", "Step", "Foster", "Adopted", "Not Related", else "Unknown" (localised).
    QString stringPcRelType() const;
    // Sets the type from one of those words. Refuses, with a message, a second natural mother or father of the
    // child; the same word changes nothing.
    void setStringPcRelType(const QString& word);
    // "Father" or "Mother", "Son" or "Daughter" (localised), by the gender of the parent or child.
    QString parentType() const;
    QString childType() const;
    // The link's notes (extraData "notes"); null when none.
    QString notes() const;
    void setNotes(const QString& notes);

    // ---- Evidence and certainty ----

    static constexpr int kCertaintyNotSet = 2147483647;
    // The six flags of genealogical proof (extraData keys of the same names); a missing flag reads false.
    bool evidenceValueForKey(const QString& key) const;
    void setEvidenceValue(bool value, const QString& key);
    bool directEvidence() const { return evidenceValueForKey(QStringLiteral("directEvidence")); }
    void setDirectEvidence(bool v) { setEvidenceValue(v, QStringLiteral("directEvidence")); }
    bool indirectEvidence() const { return evidenceValueForKey(QStringLiteral("indirectEvidence")); }
    void setIndirectEvidence(bool v) { setEvidenceValue(v, QStringLiteral("indirectEvidence")); }
    bool primaryInformation() const { return evidenceValueForKey(QStringLiteral("primaryInformation")); }
    void setPrimaryInformation(bool v) { setEvidenceValue(v, QStringLiteral("primaryInformation")); }
    bool secondaryInformation() const { return evidenceValueForKey(QStringLiteral("secondaryInformation")); }
    void setSecondaryInformation(bool v) { setEvidenceValue(v, QStringLiteral("secondaryInformation")); }
    bool originalSource() const { return evidenceValueForKey(QStringLiteral("originalSource")); }
    void setOriginalSource(bool v) { setEvidenceValue(v, QStringLiteral("originalSource")); }
    bool derivativeSource() const { return evidenceValueForKey(QStringLiteral("derivativeSource")); }
    void setDerivativeSource(bool v) { setEvidenceValue(v, QStringLiteral("derivativeSource")); }
    // The user's certainty; when not set, 20 with doubts (reasonsForUncertainty) and 50 without.
    int certainty() const;
    void setCertainty(int value);
    // The localised words of the flags set ("Direct, Primary"); empty when none.
    QString evidenceAsString() const;
    // "<stored certainty or -1> <six 0/1 digits>"; empty when nothing is recorded (the GEDCOM export).
    QString evidenceAsBinaryString() const;
    // The doubts that date checks raise about the link: the parent's age at the birth, a parent who died before
    // it (a father up to nine months before is fine), a child born before the parent, impossible own dates, no
    // dates at all, and (user default "cdCheckForMissingCitations") missing citations.
    QList<Inconsistency> reasonsForUncertainty() const;

    // ---- Key-value access ----

    // Adds intPcRelType, stringPcRelType, parentType, childType, notes, certainty, the six flags and
    // evidenceAsString.
    QVariant valueForKey(const QString& key) const override;
    // pcRelType, stringPcRelType, notes, certainty and the six flags go through their setters.
    void setValueForKey(const QString& key, const QVariant& value) override;

    QByteArray extraData() const;
    void setExtraData(const QByteArray& value);
    QDateTime lastChange() const;
    void setLastChange(const QDateTime& value);

    FTPerson* parent() const;
    void setParent(FTPerson* value);
    FTPerson* child() const;
    void setChild(FTPerson* value);

    // ---- Relatives area ----
protected:
    // A change of the type, parent or child (also by undo and redo, and when a link is deleted) clears the
    // cached ancestors of every project view, except while a GEDCOM import runs.
    void keyDidChange(const Key& key) override;
};
