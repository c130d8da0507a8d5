#pragma once

#include "gedcom/GedRecList.h"

#include <QAnyStringView>
#include <QSet>
#include <QString>
#include <QStringView>
#include <QVarLengthArray>

#include <cstddef>
#include <memory>
#include <new>
#include <vector>

class FTManagedObject;
class GedRecArena;

// One GEDCOM line together with the lines nested under it. The importer parses a whole file into a
// forest of these (one tree per level-0 record) and walks them; the exporter builds trees and prints
// them. Both rely on the same normalisation of tag, value and the two kinds of cross-reference.
//
// Ownership: a record made with an owner belongs to that owner (its subRecords list); a record made
// without an owner belongs to whoever made it. Destroying a record destroys its sub-tree; `owner` is
// a plain back-reference. Records made by create() live in an arena (their forest's storage) and
// must not outlive it.
//
// Value, identifier and pointer are handed out as new strings (they are stored compactly, in
// Latin-1 where the text allows); the tag is one shared string per distinct tag.
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
        ReasonSourceHasPicture = 16384,  // a link to a picture for a source that holds one already
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
    // The same record made in an arena (the forest's storage), with its value and identifier kept
    // beside it: what keeps the millions of lines of a large file small. The arena's memory is given
    // back by its owner; `delete` on such a record only runs its destructor.
    static GedRec* create(GedRecArena& arena, GedRec* owner, QStringView ptr, QStringView type, QStringView value);
    // The same, but the owner's sub-record list is left to the caller, who gathers the lines and hands
    // them over at once with setSubRecords: a reader knows a list's size only once the owner ends, and
    // growing millions of lists line by line costs a heap block each.
    static GedRec* createUnlisted(GedRecArena& arena, GedRec* owner, QStringView ptr, QStringView type,
                                  QStringView value);
    // Makes the lines (created with this record as their owner) its sub-records, in the arena at their
    // exact size. The record must have none yet.
    void setSubRecords(GedRecArena& arena, GedRec* const* subs, qsizetype count);
    ~GedRec();
    GedRec(const GedRec&) = delete;
    GedRec& operator=(const GedRec&) = delete;

    static void* operator new(std::size_t size) { return ::operator new(size); }
    static void* operator new(std::size_t, void* where) { return where; }
    static void operator delete(void* p) { ::operator delete(p); }
    static void operator delete(void*, void*) {}
    static void operator delete(GedRec* rec, std::destroying_delete_t);

    // Takes ownership of `sub` and makes this record its owner.
    void addSubRecord(GedRec* sub);
    // Made in an arena whose memory the forest gives back early (GedcomForest::releaseLines).
    bool isReleasedEarly() const { return m_bits & ReleasedEarly; }
    // Destroys the sub-records made in such an arena, with their trees; the others keep their order.
    void destroySubRecordsReleasedEarly();

    void setType(const QString& type);
    void setValue(const QString& value);
    void setPointer(const QString& ptr);
    void setFwdPtr(const QString& text);
    void removeDoubleAtSignsFromValue();

    int level() const { return m_level < kLevelInExtra ? m_level : m_extra->level; }
    QString ptr() const;                                                // own identifier without "@"; null when none
    const QString& type() const { return m_type ? *m_type : nullString(); }  // the tag; null when none
    QString value() const;                                              // null ("") when none
    QString fwdPtr() const;                                             // pointer without "@"; null when none
    // The same texts as views of what the line stores (Latin-1 or UTF-16), without making a string:
    // empty when there is none. Valid until the line's value or identifier is set again.
    QAnyStringView ptrView() const;
    QAnyStringView fwdPtrView() const;
    bool valueIsPointer() const;
    // The passes ask this of nearly every line: compared in place (tags are ASCII), without a call.
    bool hasType(const char* tag) const
    {
        const QString& t = type();
        const QChar* s = t.constData();
        qsizetype i = 0;
        for (; i < t.size(); ++i)
            if (tag[i] == 0 || s[i].unicode() != char16_t(uchar(tag[i])))
                return false;
        return tag[i] == 0;
    }

    FTManagedObject* subjectId() const { return m_subjectId; }
    void setSubjectId(FTManagedObject* object) { m_subjectId = object; }

    // Flags are kept in eight bits: Consumed, Custom and Printed are all the passes use.
    int flags() const { return m_flags; }
    void setFlags(int flags) { m_flags = quint8(flags); }
    bool isConsumed() const { return (m_flags & Consumed) != 0; }

    int lineNo() const { return m_lineNo; }
    void setLineNo(int lineNo) { m_lineNo = lineNo; }

    GedRec* owner() const { return m_owner; }
    // The lines one level down, in file order (empty when the line has none). The view is valid
    // until a sub-record is added to this line.
    GedRecList subRecords() const { return GedRecList(m_subs, qsizetype(m_subCount)); }
    bool hasSubRecords() const { return m_subCount != 0; }
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
    // Keeps a line's own tag and value in the TYPE of an event loaded as EVEN.
    void setEventSubtype(const QString& a, const QString& b);

    // Every line of the tree, depth first in file order (this one first), without recursion. The
    // stack lies on the call's own stack for any usual tree: the logs walk every line of a file so.
    template <typename F>
    void forEachLine(F&& visit)
    {
        QVarLengthArray<GedRec*, 64> stack{this};
        while (!stack.empty()) {
            GedRec* r = stack.back();
            stack.pop_back();
            visit(r);
            for (quint32 i = r->m_subCount; i > 0; --i)
                stack.push_back(r->m_subs[i - 1]);
        }
    }
    // Whether a line of the tree (this one included) meets the test; stops at the first that does.
    template <typename F>
    bool anyLine(F&& test) const
    {
        QVarLengthArray<const GedRec*, 64> stack{this};
        while (!stack.empty()) {
            const GedRec* r = stack.back();
            stack.pop_back();
            if (test(r))
                return true;
            for (quint32 i = r->m_subCount; i > 0; --i)
                stack.push_back(r->m_subs[i - 1]);
        }
        return false;
    }

    // The shared string of a tag of GEDCOM 5.5 (or one of the common custom tags) and its tag
    // class; null for any other tag.
    static const QString* knownTag(QStringView tag, quint8* tagClass);

private:
    enum TagClass : quint8 {
        IndividualEventTag = 1,
        IndividualAttributeTag = 2,
        LdsOrdinanceTag = 4,
        FamilyEventTag = 8,
        KeepsBlanksTag = 16,  // the value is stored as written
    };
    enum Bit : quint8 {
        InArena = 1,        // the record's memory belongs to an arena
        SubsInArena = 2,    // the sub-record list lies in the arena at its exact size
        ValueInExtra = 4,   // else the value lies after the record (m_valueSize units)
        ValueWide = 8,      // the value after the record is UTF-16, else Latin-1
        PtrInExtra = 16,    // else the identifier lies after the value (m_ptrSize units)
        PtrWide = 32,
        FwdPtrSet = 64,     // the pointer is in Extra (none without Extra), not read from the value
        ReleasedEarly = 128,  // the arena gives the memory back before the forest goes
    };
    // What most lines lack: kept apart so that the two million lines of a large file stay small.
    struct Extra {
        QString type;  // a tag the shared tables lack
        QString value;
        QString ptr;
        QString fwdPtr;
        QString errorString;
        int level = 0;  // from kLevelInExtra on
        int errorReason = 0;
        int errorAction = 0;
        std::unique_ptr<QSet<FTManagedObject*>> mmObjectOwnersSet;
    };
    static constexpr quint8 kLevelInExtra = 255;
    GedRec() = default;
    static GedRec* make(GedRecArena& arena, GedRec* owner, bool listed, QStringView ptr, QStringView type,
                        QStringView value);
    void setLevelUnder(const GedRec* owner);
    static const QString& nullString();
    Extra& extra();
    const std::byte* inlineData() const { return reinterpret_cast<const std::byte*>(this + 1); }
    std::size_t inlineValueBytes() const { return std::size_t(m_valueSize) * ((m_bits & ValueWide) ? 2 : 1); }
    const std::byte* inlinePtrData() const;
    QAnyStringView valueView() const;
    void storeValue(QString value);  // keeps the pointer read from the old value

    GedRec* m_owner = nullptr;
    GedRec** m_subs = nullptr;
    const QString* m_type = nullptr;
    FTManagedObject* m_subjectId = nullptr;
    Extra* m_extra = nullptr;
    int m_lineNo = 0;
    quint32 m_valueSize : 24 = 0;
    quint32 m_ptrSize : 8 = 0;
    quint32 m_subCount = 0;
    quint8 m_level = 0;  // from kLevelInExtra on (only trees built in code nest so deep) in Extra
    quint8 m_flags = 0;
    quint8 m_tagClass = 0;
    quint8 m_bits = 0;
};
