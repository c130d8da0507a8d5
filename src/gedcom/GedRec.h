#pragma once

#include <QList>
#include <QSet>
#include <QString>

#include <memory>
#include <vector>

class FTManagedObject;

// One GEDCOM line together with the lines nested under it. The importer parses a whole file into a
// forest of these (one tree per level-0 record) and walks them; the exporter builds trees and prints
// them. Both rely on the same normalisation of tag, value and the two kinds of cross-reference.
//
// Ownership: a record made with an owner belongs to that owner (its subRecords list); a record made
// without an owner belongs to whoever made it. Destroying a record destroys its sub-tree; `owner` is
// a plain back-reference.
class GedRec {
public:
    // Line flags.
    enum Flag : int {
        Consumed = 1,  // an import pass used the line
        Custom = 2,    // a custom tag, or under one (set by the unprocessed-lines report)
        Printed = 4,   // already written to the unprocessed-lines log
    };

    // Why an import reader did not take a line as written (one code per line, not combined).
    enum ErrorReason : int {
        ReasonNone = 0,
        ReasonCustomTag = 1,
        ReasonTagNotInGedcom55 = 2,
        ReasonInvalidValue = 4,
        ReasonInvalidRecordFormat = 8,
        ReasonInvalidDate = 16,
        ReasonTagNotRecognised = 32,
        ReasonInvalidPointer = 64,
        ReasonWrongFileExtension = 128,
        ReasonDuplicateName = 256,
        ReasonUnrecognisedValue = 512,
        ReasonSingleParentFamilyRefn = 1024,
        ReasonOverlengthPage = 2048,
        ReasonEmptySourceCitation = 4096,
        ReasonContinuationNotAllowed = 8192,
    };

    // What the reader did with such a line instead.
    enum ErrorAction : int {
        ActionNone = 0,
        ActionIgnored = 1,
        ActionAppendedToNotes = 2,
        ActionAppendedToNotesWithSubRecords = 4,
        ActionAppendedToComments = 8,
        ActionAppendedToCommentsWithSubRecords = 16,
        ActionConvertedToAboutDate = 32,
        ActionLoadedAsEven = 64,
    };

    // With an owner, the new record is appended to the owner's subRecords and the owner owns it.
    // The tag is set before the value because the value rule depends on the tag.
    GedRec(GedRec* owner, const QString& ptr, const QString& type, const QString& value);
    ~GedRec();
    GedRec(const GedRec&) = delete;
    GedRec& operator=(const GedRec&) = delete;

    // Takes ownership of `sub` and makes this record its owner.
    void addSubRecord(GedRec* sub);

    void setType(const QString& type);
    void setValue(const QString& value);
    void setPointer(const QString& ptr);
    void setFwdPtr(const QString& text);
    void removeDoubleAtSignsFromValue();

    int level() const { return m_level; }
    const QString& ptr() const { return m_extra ? m_extra->ptr : nullString(); }  // own identifier without "@"; null when none
    const QString& type() const { return m_type; }                                // the tag; null when none
    const QString& value() const { return m_value; }                              // "" when none
    const QString& fwdPtr() const { return m_extra ? m_extra->fwdPtr : nullString(); }  // pointer without "@"; null when none
    bool valueIsPointer() const { return !fwdPtr().isEmpty(); }
    bool hasType(const char* tag) const { return m_type == QLatin1String(tag); }

    FTManagedObject* subjectId() const { return m_subjectId; }
    void setSubjectId(FTManagedObject* object) { m_subjectId = object; }

    int flags() const { return m_flags; }
    void setFlags(int flags) { m_flags = flags; }
    bool isConsumed() const { return (m_flags & Consumed) != 0; }

    int lineNo() const { return m_lineNo; }
    void setLineNo(int lineNo) { m_lineNo = lineNo; }

    GedRec* owner() const { return m_owner; }
    // The lines one level down, in file order (empty when the line has none).
    const QList<GedRec*>& subRecords() const { return m_subRecords; }
    bool hasSubRecords() const { return !m_subRecords.isEmpty(); }
    // The first sub-record with the tag, or null.
    GedRec* firstSubRecord(const char* tag) const;

    // Scratch set of the multimedia import: made on first use.
    QSet<FTManagedObject*>& mmObjectOwnersSet();
    bool hasMmObjectOwnersSet() const { return m_extra && m_extra->mmObjectOwnersSet; }

    int errorReason() const { return m_extra ? m_extra->errorReason : 0; }
    int errorAction() const { return m_extra ? m_extra->errorAction : 0; }
    const QString& errorString() const { return m_extra ? m_extra->errorString : nullString(); }
    void setErrorReason(int reason, int action, const QString& text = QString());

    bool isIndividualAttribute() const { return m_tagClass & IndividualAttributeTag; }
    bool isIndividualEvent() const { return m_tagClass & IndividualEventTag; }
    bool isLDSIndividualOrdinance() const { return m_tagClass & LdsOrdinanceTag; }
    bool isFamilyEvent() const { return m_tagClass & FamilyEventTag; }

    // The first run of decimal digits of the identifier (I0012 -> 12); 0 when none or out of range.
    int numericId() const;
    // Tags from the level-0 record down to this line, joined by "." (INDI.BIRT.DATE).
    QString path() const;
    // Three blanks per level, the level, " @ptr@", " path", " value": the form of the logs.
    QString stringRepresentation() const;
    // The same line without indentation: level, identifier, path and value.
    QString recordText() const;

    bool hasContinuationLines() const;
    QString husbandPtr() const;  // FAM records only
    QString wifePtr() const;     // FAM records only
    bool isEventStructure() const;
    bool isSourceCitationWithMissingPointer() const;
    // The parent-child type bit named by the value: 1 natural, 8 adopted, 2 step, 4 foster, else 0.
    int pcRelIntValue() const;
    // Keeps a line's own tag and value in the TYPE of an event loaded as EVEN.
    void setEventSubtype(const QString& a, const QString& b);

    // Every line of the tree, depth first in file order (this one first), without recursion.
    template <typename F>
    void forEachLine(F&& visit)
    {
        std::vector<GedRec*> stack{this};
        while (!stack.empty()) {
            GedRec* r = stack.back();
            stack.pop_back();
            visit(r);
            for (qsizetype i = r->m_subRecords.size() - 1; i >= 0; --i)
                stack.push_back(r->m_subRecords[i]);
        }
    }

private:
    enum TagClass : quint8 {
        IndividualEventTag = 1,
        IndividualAttributeTag = 2,
        LdsOrdinanceTag = 4,
        FamilyEventTag = 8,
        KeepsBlanksTag = 16,  // the value is stored as written
    };
    // What most lines lack: kept apart so that the two million lines of a large file stay small.
    struct Extra {
        QString ptr;
        QString fwdPtr;
        QString errorString;
        int errorReason = 0;
        int errorAction = 0;
        std::unique_ptr<QSet<FTManagedObject*>> mmObjectOwnersSet;
    };
    static const QString& nullString();
    Extra& extra();

    int m_level = 0;
    int m_flags = 0;
    int m_lineNo = 0;
    quint8 m_tagClass = 0;
    QString m_type;
    QString m_value;
    FTManagedObject* m_subjectId = nullptr;
    GedRec* m_owner = nullptr;
    QList<GedRec*> m_subRecords;
    std::unique_ptr<Extra> m_extra;
};
