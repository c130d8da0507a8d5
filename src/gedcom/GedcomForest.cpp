#include "gedcom/GedcomForest.h"

#include "gedcom/GedRecArena.h"
#include "gedcom/GedRecShortText.h"

#include <algorithm>
#include <utility>

namespace {

// The key a record has when nothing else claimed it first: its identifier, or _HEAD_ / _TRLR_.
QString plainKey(const GedRec* record)
{
    QString id = record->ptr();
    if (!id.isEmpty())
        return id;
    if (record->type() == QLatin1String("HEAD") || record->type() == QLatin1String("TRLR"))
        return QStringLiteral("_%1_").arg(record->type());
    return QString();
}

} // namespace

GedcomForest::GedcomForest()
    : m_arena(std::make_unique<GedRecArena>())
    , m_earlyArena(std::make_unique<GedRecArena>(m_arena.get(), true))
{
}

GedcomForest::~GedcomForest()
{
    clear();
}

void GedcomForest::clear()
{
    // The records first: their destructors still read the arena.
    for (GedRec* r : m_records)
        delete r;
    m_records.clear();
    m_shortKeys = std::vector<ShortKey>();
    m_shortKeyCount = 0;
    m_shortKeyBits = 0;
    m_longKeys.clear();
    m_otherKeys.clear();
    m_nextDuplicate.clear();
    m_unknownCount = 0;
    m_releaseRecords.clear();
    m_releaseMarks.clear();
    m_released.clear();
    m_firstUnreleased = 0;
    m_earlyArena.reset();
    m_arena = std::make_unique<GedRecArena>();
    m_earlyArena = std::make_unique<GedRecArena>(m_arena.get(), true);
}

std::size_t GedcomForest::bytesAllocated() const
{
    return m_arena->bytesAllocated() + m_earlyArena->bytesAllocated();
}

void GedcomForest::setReleasedEarly(const QString& recordTag, const QStringList& keptTags)
{
    m_releaseTag = recordTag;
    m_keptTags = keptTags;
}

GedRecArena& GedcomForest::arenaForLine(const GedRec* owner, QStringView tag)
{
    if (!owner || m_releaseTag.isEmpty())
        return *m_arena;
    if (owner->owner())
        return arenaOf(owner);
    if (owner->type() != m_releaseTag)
        return *m_arena;
    const QStringView t = tag.trimmed();
    for (const QString& kept : std::as_const(m_keptTags))
        if (t == kept)
            return *m_arena;
    return *m_earlyArena;
}

qsizetype GedcomForest::releaseIndex(const GedRec* record) const
{
    // A pass releases the records in file order: the first one not released yet is the one.
    if (m_firstUnreleased < m_releaseRecords.size() && m_releaseRecords[m_firstUnreleased] == record)
        return qsizetype(m_firstUnreleased);
    const auto it = std::find(m_releaseRecords.begin(), m_releaseRecords.end(), record);
    const auto index = size_t(it - m_releaseRecords.begin());
    return it != m_releaseRecords.end() && !m_released[index] ? qsizetype(index) : -1;
}

void GedcomForest::releasedLinesOf(GedRec* record, qsizetype index)
{
    record->destroySubRecordsReleasedEarly();
    m_released[size_t(index)] = true;
    while (m_firstUnreleased < m_released.size() && m_released[m_firstUnreleased])
        ++m_firstUnreleased;
    if (m_firstUnreleased == m_released.size())
        m_earlyArena->releaseAll();
    else
        m_earlyArena->releaseBlocksBefore(m_releaseMarks[m_firstUnreleased]);
}

QString GedcomForest::keyOf(const GedRec* record) const
{
    const auto it = m_otherKeys.constFind(record);
    if (it != m_otherKeys.constEnd())
        return *it;
    const QString key = plainKey(record);
    return !key.isEmpty() && this->record(key) == record ? key : QString();
}

QString GedcomForest::freeUnknownKey()
{
    QString key;
    do
        key = QStringLiteral("UNK_%1").arg(++m_unknownCount);
    while (containsKey(key));
    return key;
}

GedRec* GedcomForest::record(QAnyStringView key) const
{
    if (const quint64 code = GedRecShortText::code(key)) {
        if (m_shortKeys.empty())
            return nullptr;
        const std::size_t mask = m_shortKeys.size() - 1;
        for (std::size_t i = GedRecShortText::slot(code, m_shortKeyBits);; i = (i + 1) & mask) {
            const ShortKey& k = m_shortKeys[i];
            if (k.code == code)
                return k.record;
            if (k.code == 0)
                return nullptr;
        }
    }
    if (key.isEmpty() || m_longKeys.isEmpty())
        return nullptr;
    return m_longKeys.value(key.toString(), nullptr);
}

GedRec* GedcomForest::recordForPointerOf(const GedRec* line) const
{
    const QAnyStringView pointer = line->fwdPtrView();
    return pointer.isEmpty() ? nullptr : record(pointer);
}

void GedcomForest::insertKey(QAnyStringView key, GedRec* record)
{
    const quint64 code = GedRecShortText::code(key);
    if (!code) {
        m_longKeys.insert(key.toString(), record);
        return;
    }
    if (2 * (m_shortKeyCount + 1) > m_shortKeys.size()) {
        // At most half full: the probe sequences stay short.
        std::vector<ShortKey> old = std::exchange(m_shortKeys, std::vector<ShortKey>());
        m_shortKeyBits = m_shortKeyBits ? m_shortKeyBits + 1 : 6;
        m_shortKeys.resize(std::size_t(1) << m_shortKeyBits);
        const std::size_t mask = m_shortKeys.size() - 1;
        for (const ShortKey& k : old) {
            if (!k.code)
                continue;
            std::size_t i = GedRecShortText::slot(k.code, m_shortKeyBits);
            while (m_shortKeys[i].code)
                i = (i + 1) & mask;
            m_shortKeys[i] = k;
        }
    }
    const std::size_t mask = m_shortKeys.size() - 1;
    std::size_t i = GedRecShortText::slot(code, m_shortKeyBits);
    while (m_shortKeys[i].code && m_shortKeys[i].code != code)
        i = (i + 1) & mask;
    if (!m_shortKeys[i].code)
        ++m_shortKeyCount;
    m_shortKeys[i] = {code, record};
}

void GedcomForest::file(GedRec* record, QAnyStringView key, bool plain)
{
    insertKey(key, record);
    if (plain || QAnyStringView::equal(key, plainKey(record)))
        m_otherKeys.remove(record);
    else
        m_otherKeys.insert(record, key.toString());
}

void GedcomForest::addRecord(std::unique_ptr<GedRec> owned, GedRec** duplicateOf)
{
    addRecord(owned.release(), duplicateOf);
}

void GedcomForest::addRecord(GedRec* record, GedRec** duplicateOf)
{
    if (duplicateOf)
        *duplicateOf = nullptr;
    m_records.push_back(record);
    if (!m_releaseTag.isEmpty() && record->type() == m_releaseTag) {
        // The record's early lines come after this mark: the reader makes them after the record.
        m_releaseRecords.push_back(record);
        m_releaseMarks.push_back(m_earlyArena->mark());
        m_released.push_back(false);
    }
    // The common case: a record with an identifier not taken yet, filed without making a string.
    const QAnyStringView id = record->ptrView();
    if (!id.isEmpty() && !containsKey(id)) {
        file(record, id, true);
        return;
    }
    QString key = plainKey(record);
    const bool plain = !key.isEmpty();
    if (!plain)
        key = freeUnknownKey();
    GedRec* holder = this->record(key);
    if (holder && !record->ptr().isEmpty() && holder->ptr().isEmpty()) {
        // A record without identifier was filed as UNK_n before a record that really has that
        // identifier came: the identifier wins, the unnamed record moves to a free UNK_n.
        const QString moved = freeUnknownKey();
        file(holder, moved, false);
        holder = nullptr;
    }
    if (holder) {
        if (duplicateOf)
            *duplicateOf = holder;
        // The next free number is remembered per key: a file of thousands of records under one
        // identifier must not make each new one try every number taken before.
        const QString base = key;
        qint64& n = m_nextDuplicate[base];
        if (n < 2)
            n = 2;
        do
            key = QStringLiteral("%1 #%2").arg(base).arg(n++);
        while (containsKey(key));
    }
    file(record, key, plain && !holder);
}
