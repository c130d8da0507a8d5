#pragma once

#include "gedcom/GedRec.h"

#include <QAnyStringView>
#include <QHash>
#include <QStringList>
#include <QString>

#include <memory>
#include <vector>

class GedRecArena;

// The level-0 records of one GEDCOM file, in file order, each filed under a key: its identifier
// (I12 for @I12@), "_HEAD_" / "_TRLR_" for the header and trailer, "UNK_n" for other records
// without an identifier. Every key is unique: a record whose key is taken keeps its place in file
// order and is filed under "key #n" (a form no identifier can have, identifiers hold no blanks), so
// pointers find the first record of an identifier and no line of the file is lost to the logs.
//
// The forest owns the arena its reader builds the records in (GedRec::create): the records of a
// forest must not outlive it.
//
// A large file's lines take much memory, and most of them are read by only a few passes of an
// import: setReleasedEarly names the lines no later pass reads, the reader builds them in an arena of
// their own (arenaForLine), and releaseLines destroys them record by record, giving the memory back
// in file order.
class GedcomForest {
public:
    GedcomForest();
    ~GedcomForest();
    GedcomForest(const GedcomForest&) = delete;
    GedcomForest& operator=(const GedcomForest&) = delete;

    // Takes the level-0 record and files it. When its key was already taken, `duplicateOf` receives
    // the record that holds it.
    void addRecord(std::unique_ptr<GedRec> record, GedRec** duplicateOf = nullptr);
    // The same for a record made in this forest's arena (or any record the forest is to own).
    void addRecord(GedRec* record, GedRec** duplicateOf = nullptr);

    // The storage for records made with GedRec::create; it lives as long as the forest.
    GedRecArena& arena() { return *m_arena; }
    // The memory the forest's arenas hold now.
    std::size_t bytesAllocated() const;

    // In the records of `recordTag`, the lines that are not (or not under) a line of `keptTags`
    // directly under the record are to be released early. Set before the records are added.
    void setReleasedEarly(const QString& recordTag, const QStringList& keptTags);
    // Where the reader makes a line under `owner` (null for a record): the early arena for the lines
    // named by setReleasedEarly, else arena().
    GedRecArena& arenaForLine(const GedRec* owner, QStringView tag);
    // The arena a line of this forest was made in (for its sub-record list).
    GedRecArena& arenaOf(const GedRec* line) { return line->isReleasedEarly() ? *m_earlyArena : *m_arena; }
    // Destroys the lines of the record that lie in the early arena, after handing the record to
    // `beforeRelease` (which may keep what it needs of them), and gives back the memory of every
    // record released so far that lies before the first record not released yet. Nothing happens
    // for a record of another tag, or one released already.
    template <typename F>
    void releaseLines(GedRec* record, F&& beforeRelease);

    // Level-0 records in file order.
    const std::vector<GedRec*>& records() const { return m_records; }
    // The level-0 records of the tag, in file order: found without touching any other record.
    std::vector<GedRec*> recordsOfType(const QString& tag) const;
    qsizetype size() const { return qsizetype(m_records.size()); }
    bool isEmpty() const { return m_records.empty(); }

    // The record filed under the key (an identifier without "@"), or null.
    GedRec* record(QAnyStringView key) const;
    // The record the line's pointer names (GedRec::fwdPtr), or null: without making a string.
    GedRec* recordForPointerOf(const GedRec* line) const;
    QString keyOf(const GedRec* record) const;

    // Every line of every record, depth first in file order, without recursion.
    template <typename F>
    void forEachLine(F&& visit) const;

    void clear();

private:
    QString freeUnknownKey();
    void file(GedRec* record, QAnyStringView key, bool plain);  // plain: the record's own key
    bool containsKey(QAnyStringView key) const { return record(key) != nullptr; }
    void insertKey(QAnyStringView key, GedRec* record);  // replaces the record filed under the key
    qsizetype releaseIndex(const GedRec* record) const;  // -1 when not to be released (any more)
    void releasedLinesOf(GedRec* record, qsizetype index);

    std::vector<GedRec*> m_records;
    // Each record's tag beside it (the shared string it points at): the passes pick their records by
    // tag, and reading the tag from the records themselves would bring each one into the cache.
    std::vector<const QString*> m_recordTypes;
    // The keys, kept three ways so that a pointer is found without a string being made or compared.
    // Identifiers of the common form, a few letters and a number (I12, F3, UNK_4), lie in an array
    // per prefix at their number: filled in file order, eight bytes a record, so filing and finding
    // them stays in the processor's cache where a hash table would miss it on nearly every look-up.
    // Other keys of up to eight Latin-1 characters are kept by their short-text code (GedRecShortText)
    // in an open table (capacity a power of two, code 0 marks a free slot); the rest as text.
    struct Numbered {
        quint64 prefix = 0;  // the short-text code of the letters; 0 for none
        std::vector<GedRec*> records;  // by number; null where none
    };
    struct ShortKey {
        quint64 code = 0;
        GedRec* record = nullptr;
    };
    static constexpr std::size_t kMaxPrefixes = 16;
    std::vector<Numbered> m_numbered;
    std::size_t m_numberedSlots = 0;  // in all the arrays: kept in proportion to the records
    std::vector<ShortKey> m_shortKeys;
    std::size_t m_shortKeyCount = 0;
    int m_shortKeyBits = 0;
    QHash<QString, GedRec*> m_longKeys;

    GedRec** numberedSlot(quint64 prefix, quint32 number) const;  // null when not kept there
    GedRec** grownNumberedSlot(quint64 prefix, quint32 number);   // null when it does not fit
    bool hasKeysByCode() const { return m_shortKeyCount != 0 || !m_longKeys.isEmpty(); }
    GedRec* recordByCode(QAnyStringView key) const;
    QHash<const GedRec*, QString> m_otherKeys;  // keys other than the identifier, _HEAD_ or _TRLR_
    QHash<QString, qint64> m_nextDuplicate;     // per key taken twice: the next "#n" to try
    qint64 m_unknownCount = 0;
    std::unique_ptr<GedRecArena> m_arena;
    // Lines released early: their arena (its tags are kept in m_arena), the records they belong to
    // in file order with the arena's mark when each was added, and which were released.
    QString m_releaseTag;
    QStringList m_keptTags;
    // The same, to compare each line's tag with cheaply: a known tag is one shared string, so the
    // records of that tag point at it; the kept tags by their short-text codes (0: by text).
    const QString* m_releaseTagShared = nullptr;
    std::vector<quint64> m_keptCodes;
    bool isReleaseTag(const QString& type) const
    {
        return m_releaseTagShared ? &type == m_releaseTagShared : type == m_releaseTag;
    }
    std::unique_ptr<GedRecArena> m_earlyArena;
    std::vector<GedRec*> m_releaseRecords;
    std::vector<std::size_t> m_releaseMarks;
    std::vector<bool> m_released;
    std::size_t m_firstUnreleased = 0;
};

template <typename F>
void GedcomForest::releaseLines(GedRec* record, F&& beforeRelease)
{
    const qsizetype index = releaseIndex(record);
    if (index < 0)
        return;
    beforeRelease(record);
    releasedLinesOf(record, index);
}

template <typename F>
void GedcomForest::forEachLine(F&& visit) const
{
    for (GedRec* r : m_records)
        r->forEachLine(visit);
}
