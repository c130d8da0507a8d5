#include "gedcom/GedcomForest.h"

#include "gedcom/GedRecArena.h"
#include "gedcom/GedRecShortText.h"

#include <algorithm>
#include <type_traits>
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

// A key of the form letters (any but digits, none at all allowed) then a number without leading zeros:
// its prefix's short-text code and the number. False for any other key.
template <typename Char>
bool numberedKey(const Char* s, qsizetype n, quint64* prefix, quint32* number)
{
    qsizetype p = 0;
    while (p < n && !(s[p] >= Char('0') && s[p] <= Char('9')))
        ++p;
    // Up to nine digits, so that the number fits; the first not a zero, so that I12 and I012 differ.
    if (p == n || n - p > 9 || s[p] == Char('0'))
        return false;
    quint32 v = 0;
    for (qsizetype i = p; i < n; ++i) {
        if (!(s[i] >= Char('0') && s[i] <= Char('9')))
            return false;
        v = v * 10 + quint32(s[i] - Char('0'));
    }
    const quint64 code = GedRecShortText::code(s, p);
    if (p > 0 && code == 0)
        return false;
    *prefix = code;
    *number = v;
    return true;
}

bool numberedKey(QAnyStringView key, quint64* prefix, quint32* number)
{
    return key.visit([&](auto v) -> bool {
        if constexpr (std::is_same_v<decltype(v), QLatin1StringView>)
            return numberedKey(reinterpret_cast<const uchar*>(v.data()), v.size(), prefix, number);
        else if constexpr (std::is_same_v<decltype(v), QStringView>)
            return numberedKey(v.utf16(), v.size(), prefix, number);
        else
            return numberedKey(QAnyStringView(v.toString()), prefix, number);
    });
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
    m_recordTypes.clear();
    m_numbered = std::vector<Numbered>();
    m_numberedSlots = 0;
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
    m_releaseTagShared = recordTag.isEmpty() ? nullptr : GedRec::knownTag(recordTag, nullptr);
    m_keptCodes.clear();
    for (const QString& kept : keptTags)
        m_keptCodes.push_back(GedRecShortText::code(QStringView(kept)));
}

GedRecArena& GedcomForest::arenaForLine(const GedRec* owner, QStringView tag)
{
    if (!owner || m_releaseTag.isEmpty())
        return *m_arena;
    if (owner->owner())
        return arenaOf(owner);
    if (!isReleaseTag(owner->type()))
        return *m_arena;
    const QStringView t = tag.trimmed();
    const quint64 code = GedRecShortText::code(t);
    for (qsizetype i = 0; i < m_keptTags.size(); ++i)
        if (code ? code == m_keptCodes[size_t(i)] : t == m_keptTags[i])
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

GedRec** GedcomForest::numberedSlot(quint64 prefix, quint32 number) const
{
    for (const Numbered& n : m_numbered)
        if (n.prefix == prefix)
            return number < n.records.size() ? const_cast<GedRec**>(&n.records[number]) : nullptr;
    return nullptr;
}

GedRec** GedcomForest::grownNumberedSlot(quint64 prefix, quint32 number)
{
    // The arrays hold a few slots per record at most, so that no numbering (I1000000000, or a new
    // prefix on every record) can make them large: what does not fit is filed by its code.
    const std::size_t budget = 2 * m_records.size() + 1024;
    auto it = std::find_if(m_numbered.begin(), m_numbered.end(), [&](const Numbered& n) { return n.prefix == prefix; });
    if (it == m_numbered.end()) {
        if (m_numbered.size() >= kMaxPrefixes)
            return nullptr;
        it = m_numbered.insert(m_numbered.end(), Numbered{prefix, {}});
    }
    const std::size_t old = it->records.size();
    std::size_t size = std::max<std::size_t>({std::size_t(number) + 1, 2 * old, 64});
    if (m_numberedSlots - old + size > budget)
        size = std::size_t(number) + 1;
    if (m_numberedSlots - old + size > budget)
        return nullptr;
    it->records.resize(size, nullptr);
    m_numberedSlots += size - old;
    return &it->records[number];
}

GedRec* GedcomForest::record(QAnyStringView key) const
{
    quint64 prefix = 0;
    quint32 number = 0;
    if (numberedKey(key, &prefix, &number)) {
        // A numbered key not in its array may still have been filed by its code (see insertKey).
        GedRec** slot = numberedSlot(prefix, number);
        if (slot && *slot)
            return *slot;
        if (!hasKeysByCode())  // else it may have been filed by its code (see insertKey)
            return nullptr;
    }
    return recordByCode(key);
}

GedRec* GedcomForest::recordByCode(QAnyStringView key) const
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
    quint64 prefix = 0;
    quint32 number = 0;
    if (numberedKey(key, &prefix, &number)) {
        GedRec** slot = numberedSlot(prefix, number);
        if (slot && *slot) {
            *slot = record;
            return;
        }
        // A key that did not fit in the arrays when it was first filed stays where it went.
        if (!hasKeysByCode() || !recordByCode(key)) {
            if (!slot)
                slot = grownNumberedSlot(prefix, number);
            if (slot) {
                *slot = record;
                return;
            }
        }
    }
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

std::vector<GedRec*> GedcomForest::recordsOfType(const QString& tag) const
{
    std::vector<GedRec*> found;
    // A known tag is one shared string that every line of that tag points at: compared by address.
    if (const QString* shared = GedRec::knownTag(tag, nullptr)) {
        for (std::size_t i = 0; i < m_records.size(); ++i)
            if (m_recordTypes[i] == shared)
                found.push_back(m_records[i]);
    } else {
        for (std::size_t i = 0; i < m_records.size(); ++i)
            if (*m_recordTypes[i] == tag)
                found.push_back(m_records[i]);
    }
    return found;
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
    m_recordTypes.push_back(&record->type());
    if (!m_releaseTag.isEmpty() && isReleaseTag(record->type())) {
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
