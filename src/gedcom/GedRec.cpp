#include "gedcom/GedRec.h"

#include "gedcom/GedRecArena.h"
#include "gedcom/GedRecShortText.h"

#include <QHash>
#include <QStringList>
#include <QVarLengthArray>

#include <bit>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

// The same comparison as GedRec::hasType.
bool isTag(const QString& tag, const char* t)
{
    const QChar* s = tag.constData();
    qsizetype i = 0;
    for (; i < tag.size(); ++i)
        if (t[i] == 0 || s[i].unicode() != char16_t(uchar(t[i])))
            return false;
    return t[i] == 0;
}

bool isTagIn(const QString& tag, std::initializer_list<const char*> tags)
{
    for (const char* t : tags)
        if (isTag(tag, t))
            return true;
    return false;
}

bool isSpace(char16_t c)
{
    return QChar::isSpace(c);
}

// Where a text framed by "@" holds its identifier: the trimmed text less every leading and trailing
// "@". A text that is not framed by "@" (after trimming) holds none.
struct PointerSpan {
    bool found = false;
    qsizetype begin = 0;
    qsizetype end = 0;
};

template <typename Char>
PointerSpan pointerSpan(const Char* s, qsizetype n)
{
    qsizetype b = 0, e = n;
    while (b < e && isSpace(char16_t(s[b])))
        ++b;
    while (e > b && isSpace(char16_t(s[e - 1])))
        --e;
    if (e - b < 2 || s[b] != Char('@') || s[e - 1] != Char('@'))
        return {};
    while (b < e && s[b] == Char('@'))
        ++b;
    while (e > b && s[e - 1] == Char('@'))
        --e;
    return {true, b, e};
}

PointerSpan pointerSpan(QStringView text)
{
    return pointerSpan(text.utf16(), text.size());
}

// A stored text is Latin-1 or UTF-16 (a view of one), never UTF-8.
PointerSpan pointerSpan(QAnyStringView text)
{
    return text.visit([](auto v) -> PointerSpan {
        if constexpr (std::is_same_v<decltype(v), QLatin1StringView>)
            return pointerSpan(reinterpret_cast<const uchar*>(v.data()), v.size());
        else if constexpr (std::is_same_v<decltype(v), QStringView>)
            return pointerSpan(v.utf16(), v.size());
        else
            return pointerSpan(QStringView(v.toString()));  // spans count UTF-16 units
    });
}

QAnyStringView slicedView(QAnyStringView text, qsizetype begin, qsizetype end)
{
    return text.visit([&](auto v) -> QAnyStringView { return v.sliced(begin, end - begin); });
}

QString pointerFrom(QStringView text)
{
    const PointerSpan p = pointerSpan(text);
    if (!p.found)
        return QString();
    return p.end > p.begin ? text.sliced(p.begin, p.end - p.begin).toString() : QStringLiteral("");
}

bool isLatin1(QStringView s)
{
    for (QChar c : s)
        if (c.unicode() > 0xFF)
            return false;
    return true;
}

// Copies text into storage as Latin-1 or UTF-16.
void storeText(std::byte* to, QStringView text, bool wide)
{
    if (wide) {
        std::memcpy(to, text.utf16(), size_t(text.size()) * 2);
        return;
    }
    char* out = reinterpret_cast<char*>(to);
    const char16_t* s = text.utf16();
    const qsizetype n = text.size();
    qsizetype i = 0;
#ifdef __SSE2__
    // Sixteen characters at a time (all Latin-1 here, so packing them loses nothing).
    for (; i + 16 <= n; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + 8));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(a, b));
    }
#endif
    for (; i < n; ++i)
        out[i] = char(s[i]);
}

// One look at a value tells whether it is all Latin-1 and whether it holds "@@": eight characters at
// a time where the processor can, since every line of a file passes here.
void scanValue(QStringView text, bool* latin1, bool* doubleAt)
{
    const char16_t* s = text.utf16();
    const qsizetype n = text.size();
    qsizetype i = 0;
    char16_t high = 0;
    bool at = false;
#ifdef __SSE2__
    const __m128i atSign = _mm_set1_epi16(u'@');
    __m128i all = _mm_setzero_si128();
    for (; i + 9 <= n; i += 8) {  // the pairs that start in this chunk: one more character is read
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + 1));
        all = _mm_or_si128(all, v);
        at = at || _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi16(v, atSign), _mm_cmpeq_epi16(next, atSign)));
    }
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_srli_epi16(all, 8), _mm_setzero_si128())) != 0xFFFF)
        high = 0x100;
#endif
    for (; i < n; ++i) {
        high |= s[i];
        at = at || (s[i] == u'@' && i + 1 < n && s[i + 1] == u'@');
    }
    *latin1 = high <= 0xFF;
    *doubleAt = at;
}

// Trimmed as QStringView::trimmed does, without its call for the common value that has no blank at
// either end.
QStringView trimmedView(QStringView v)
{
    if (v.isEmpty() || (!v.front().isSpace() && !v.back().isSpace()))
        return v;
    return v.trimmed();
}

QString loadText(const std::byte* from, qsizetype size, bool wide)
{
    if (wide)
        return QString(reinterpret_cast<const QChar*>(from), size);
    return QString::fromLatin1(reinterpret_cast<const char*>(from), size);
}

enum : quint8 { kEvent = 1, kAttribute = 2, kLds = 4, kFamily = 8, kBlanks = 16 };

struct KnownTags {
    std::vector<QString> texts;
    std::vector<quint8> classes;
    // Every known tag has a short-text code (GedRecShortText): found by that number in an open table
    // (slot: index + 1, 0 when empty), which a hash of strings costs several times over for each line.
    static constexpr int kSlotBits = 9;
    quint64 codes[1 << kSlotBits] = {};
    quint16 slots[1 << kSlotBits] = {};

    qsizetype find(quint64 code) const
    {
        if (code == 0)
            return -1;
        for (quint64 i = GedRecShortText::slot(code, kSlotBits);; i = (i + 1) & ((1 << kSlotBits) - 1)) {
            if (slots[i] == 0)
                return -1;
            if (codes[i] == code)
                return qsizetype(slots[i]) - 1;
        }
    }

    KnownTags()
    {
        // Tags of GEDCOM 5.5 and 5.5.1 and the custom tags most programs write. Any other tag is kept
        // once per forest by its arena.
        static const char* const tags[] = {
            "ABBR", "ADDR", "ADR1", "ADR2", "ADOP", "AFN", "AGE", "AGNC", "ALIA", "ANCE", "ANCI", "ANUL", "ASSO",
            "AUTH", "BAPL", "BAPM", "BARM", "BASM", "BIRT", "BLES", "BLOB", "BURI", "CALN", "CAST", "CAUS", "CENS",
            "CHAN", "CHAR", "CHIL", "CHR", "CHRA", "CITY", "CONC", "CONF", "CONL", "CONT", "COPR", "CORP", "CREM",
            "CTRY", "DATA", "DATE", "DEAT", "DESC", "DESI", "DEST", "DIV", "DIVF", "DSCR", "EDUC", "EMAIL", "EMIG",
            "ENDL", "ENGA", "EVEN", "FACT", "FAM", "FAMC", "FAMF", "FAMS", "FAX", "FCOM", "FILE", "FONE", "FORM",
            "GEDC", "GIVN", "GRAD", "HEAD", "HUSB", "IDNO", "IMMI", "INDI", "LANG", "LATI", "LEGA", "LONG", "MAP",
            "MARB", "MARC", "MARL", "MARR", "MARS", "MEDI", "NAME", "NATI", "NATU", "NCHI", "NICK", "NMR", "NOTE",
            "NPFX", "NSFX", "OBJE", "OCCU", "ORDI", "ORDN", "PAGE", "PEDI", "PHON", "PLAC", "POST", "PROB", "PROP",
            "PUBL", "QUAY", "REFN", "RELA", "RELI", "REPO", "RESI", "RESN", "RETI", "RFN", "RIN", "ROLE", "ROMN",
            "SEX", "SLGC", "SLGS", "SOUR", "SPFX", "SSN", "STAE", "STAT", "SUBM", "SUBN", "SURN", "TEMP", "TEXT",
            "TIME", "TITL", "TRLR", "TYPE", "VERS", "WIFE", "WILL", "WWW", "_MILT", "_FREL", "_MREL", "_UID",
            "_PRIM", "_MARNM", "_AKA", "_EMAIL", "_URL", "_SCBK", "_TYPE", "_DATE", "_PLAC", "_NAME",
        };
        QHash<QString, quint8> cls;
        for (const char* t : {"EVEN", "BIRT", "DEAT", "ADOP", "BAPM", "BARM", "BASM", "BLES", "BURI", "CENS", "CHR",
                              "CHRA", "CONF", "CREM", "EMIG", "FCOM", "GRAD", "IMMI", "NATU", "ORDN", "PROB", "RETI",
                              "WILL", "_MILT"})
            cls[QLatin1String(t)] |= kEvent;
        // The first three classes exclude each other, in this order; EVEN is a family event as well.
        for (const char* t : {"CAST", "DSCR", "EDUC", "IDNO", "NATI", "NCHI", "NMR", "OCCU", "PROP", "RELI", "RESI",
                              "SSN", "TITL"})
            if (!(cls.value(QLatin1String(t)) & kEvent))
                cls[QLatin1String(t)] |= kAttribute;
        for (const char* t : {"BAPL", "CONL", "ENDL", "SLGC"})
            if (!(cls.value(QLatin1String(t)) & (kEvent | kAttribute)))
                cls[QLatin1String(t)] |= kLds;
        for (const char* t : {"EVEN", "MARR", "DIVF", "DIV", "ENGA", "ANUL", "MARB", "MARC", "MARL", "MARS"})
            cls[QLatin1String(t)] |= kFamily;
        // Blanks at either end of these values belong to the text: CONC pieces are joined as written.
        for (const char* t : {"NOTE", "CONC", "CONT", "AUTH", "TITL", "PUBL", "TEXT"})
            cls[QLatin1String(t)] |= kBlanks;

        const qsizetype n = qsizetype(std::size(tags));
        texts.reserve(size_t(n));  // never grows again: the index views these strings
        classes.reserve(size_t(n));
        for (const char* t : tags) {
            texts.push_back(QLatin1String(t));
            classes.push_back(cls.value(texts.back()));
        }
        static_assert(std::size(tags) < (1 << kSlotBits) / 2, "the table of known tags must stay sparse");
        for (qsizetype i = 0; i < n; ++i) {
            const quint64 code = GedRecShortText::code(QStringView(texts[size_t(i)]));
            Q_ASSERT(code != 0);
            quint64 at = GedRecShortText::slot(code, kSlotBits);
            while (slots[at] != 0)
                at = (at + 1) & ((1 << kSlotBits) - 1);
            codes[at] = code;
            slots[at] = quint16(i + 1);
        }
    }
};

const KnownTags& knownTags()
{
    static const KnownTags tags;
    return tags;
}

} // namespace

static_assert(sizeof(GedRec) % alignof(GedRec) == 0);

const QString& GedRec::nullString()
{
    static const QString none;
    return none;
}

const QString* GedRec::knownTag(QStringView tag, quint8* tagClass)
{
    const KnownTags& k = knownTags();
    const qsizetype i = k.find(GedRecShortText::code(tag));
    if (i < 0)
        return nullptr;
    if (tagClass)
        *tagClass = k.classes[size_t(i)];
    return &k.texts[size_t(i)];
}

GedRec::Extra& GedRec::extra()
{
    if (!m_extra)
        m_extra = new Extra;
    return *m_extra;
}

GedRec::GedRec(GedRec* owner, const QString& ptr, const QString& type, const QString& value)
{
    if (owner)
        owner->addSubRecord(this);
    setLevelUnder(owner);
    setType(type);
    setValue(value);
    setPointer(ptr);
    setFwdPtr(value);
}

GedRec* GedRec::create(GedRecArena& arena, GedRec* owner, QStringView ptr, QStringView type, QStringView value)
{
    return make(arena, owner, true, ptr, type, value);
}

GedRec* GedRec::createUnlisted(GedRecArena& arena, GedRec* owner, QStringView ptr, QStringView type,
                               QStringView value)
{
    return make(arena, owner, false, ptr, type, value);
}

void GedRec::setSubRecords(GedRecArena& arena, GedRec* const* subs, qsizetype count)
{
    Q_ASSERT(m_subCount == 0 && !m_subs);
    if (count <= 0)
        return;
    auto** exact = static_cast<GedRec**>(arena.allocate(sizeof(GedRec*) * std::size_t(count)));
    std::memcpy(exact, subs, sizeof(GedRec*) * std::size_t(count));
    m_subs = exact;
    m_subCount = quint32(count);
    m_bits |= SubsInArena;
}

GedRec* GedRec::make(GedRecArena& arena, GedRec* owner, bool listed, QStringView ptr, QStringView type,
                     QStringView value)
{
    quint8 tagClass = 0;
    const QStringView tag = trimmedView(type);
    const QString* interned = tag.isEmpty() ? nullptr : arena.internTag(tag, &tagClass);

    // The same value rule as setValue, without a string of its own unless "@@" must be folded.
    QStringView v = value.isEmpty() ? QStringView() : (tagClass & KeepsBlanksTag) ? value : trimmedView(value);
    bool latin1 = true;
    bool doubleAt = false;
    scanValue(v, &latin1, &doubleAt);
    QString folded;
    if (doubleAt) {
        folded = v.toString();
        folded.replace(QLatin1String("@@"), QLatin1String("@"));
        v = folded;
    }
    const PointerSpan own = pointerSpan(ptr);
    const qsizetype ownSize = own.end - own.begin;

    const bool valueInline = v.size() < (1 << 24);
    const bool valueWide = valueInline && !(doubleAt ? isLatin1(v) : latin1);
    const bool ptrInline = own.found && ownSize > 0 && ownSize < 256;
    const QStringView ownText = ptr.sliced(own.begin, ownSize);
    const bool ptrWide = ptrInline && !isLatin1(ownText);
    const std::size_t valueBytes = valueInline ? std::size_t(v.size()) * (valueWide ? 2 : 1) : 0;
    std::size_t ptrOffset = sizeof(GedRec) + valueBytes;
    if (ptrWide)
        ptrOffset = (ptrOffset + 1) & ~std::size_t(1);
    const std::size_t total = ptrInline ? ptrOffset + std::size_t(ownSize) * (ptrWide ? 2 : 1) : sizeof(GedRec) + valueBytes;

    GedRec* r = new (arena.allocate(total)) GedRec;
    r->m_bits = arena.releasedEarly() ? InArena | ReleasedEarly : InArena;
    if (owner && listed)
        owner->addSubRecord(r);
    else
        r->m_owner = owner;
    r->setLevelUnder(owner);
    r->m_type = interned;
    r->m_tagClass = tagClass;

    std::byte* data = reinterpret_cast<std::byte*>(r + 1);
    if (valueInline) {
        r->m_valueSize = quint32(v.size());
        if (valueWide)
            r->m_bits |= ValueWide;
        storeText(data, v, valueWide);
    } else {
        r->m_bits |= ValueInExtra;
        r->extra().value = v.toString();
    }
    if (ptrInline) {
        r->m_ptrSize = quint32(ownSize);
        if (ptrWide)
            r->m_bits |= PtrWide;
        storeText(reinterpret_cast<std::byte*>(r) + ptrOffset, ownText, ptrWide);
    } else if (own.found) {
        r->m_bits |= PtrInExtra;
        r->extra().ptr = ownSize > 0 ? ownText.toString() : QStringLiteral("");
    }
    // The pointer is read from the value as it came in. Only where "@@" were folded can that differ
    // from reading it from the stored value, which is what fwdPtr() does otherwise.
    if (!folded.isNull()) {
        const QString raw = pointerFrom(value);
        const QString stored = pointerFrom(v);
        if (raw != stored || raw.isNull() != stored.isNull()) {
            r->m_bits |= FwdPtrSet;
            if (!raw.isNull())
                r->extra().fwdPtr = raw;
        }
    }
    return r;
}

void GedRec::setLevelUnder(const GedRec* owner)
{
    const int level = owner ? owner->level() + 1 : 0;
    if (level < kLevelInExtra) {
        m_level = quint8(level);
    } else {
        m_level = kLevelInExtra;
        extra().level = level;
    }
}

GedRec::~GedRec()
{
    // Frees the sub-tree without recursion, so no depth of nesting can exhaust the stack.
    if (m_subCount) {
        // On the stack for the trees of ordinary lines: millions are destroyed in a large import.
        QVarLengthArray<GedRec*, 64> doomed(m_subs, m_subs + m_subCount);
        m_subCount = 0;
        while (!doomed.empty()) {
            GedRec* r = doomed.back();
            doomed.pop_back();
            doomed.append(r->m_subs, qsizetype(r->m_subCount));
            r->m_subCount = 0;
            delete r;
        }
    }
    if (m_subs && !(m_bits & SubsInArena))
        std::free(m_subs);
    delete m_extra;
}

void GedRec::operator delete(GedRec* rec, std::destroying_delete_t)
{
    const bool inArena = rec->m_bits & InArena;
    rec->~GedRec();
    if (!inArena)
        ::operator delete(rec);
}

namespace {
quint32 heapCapacity(quint32 n)
{
    return n <= 4 ? 4 : std::bit_ceil(n);
}
}

void GedRec::addSubRecord(GedRec* sub)
{
    sub->m_owner = this;
    if (!m_subs || (m_bits & SubsInArena)) {
        auto** grown = static_cast<GedRec**>(std::malloc(sizeof(GedRec*) * heapCapacity(m_subCount + 1)));
        if (!grown)
            throw std::bad_alloc();
        if (m_subCount)
            std::memcpy(grown, m_subs, sizeof(GedRec*) * m_subCount);
        m_subs = grown;
        m_bits &= quint8(~SubsInArena);
    } else if (m_subCount == heapCapacity(m_subCount)) {
        auto** grown = static_cast<GedRec**>(std::realloc(m_subs, sizeof(GedRec*) * heapCapacity(m_subCount + 1)));
        if (!grown)
            throw std::bad_alloc();
        m_subs = grown;
    }
    m_subs[m_subCount++] = sub;
}

void GedRec::destroySubRecordsReleasedEarly()
{
    quint32 kept = 0;
    for (quint32 i = 0; i < m_subCount; ++i) {
        GedRec* sub = m_subs[i];
        if (sub->isReleasedEarly())
            delete sub;
        else
            m_subs[kept++] = sub;
    }
    m_subCount = kept;
}

void GedRec::setType(const QString& type)
{
    const QString t = type.isEmpty() ? QString() : type.trimmed();
    quint8 tagClass = 0;
    if (t.isEmpty()) {
        m_type = nullptr;
    } else if (const QString* known = knownTag(t, &tagClass)) {
        m_type = known;
    } else {
        extra().type = t;
        m_type = &m_extra->type;
    }
    m_tagClass = tagClass;
}

void GedRec::storeValue(QString value)
{
    if (!(m_bits & FwdPtrSet)) {
        QString p = fwdPtr();
        m_bits |= FwdPtrSet;
        if (!p.isNull())
            extra().fwdPtr = std::move(p);
    }
    if (value.isNull() && m_valueSize == 0 && !(m_bits & ValueInExtra))
        return;
    extra().value = std::move(value);
    m_bits |= ValueInExtra;
}

void GedRec::setValue(const QString& value)
{
    if (value.isEmpty()) {
        storeValue(QString());
        return;
    }
    QString v = (m_tagClass & KeepsBlanksTag) ? value : value.trimmed();
    if (v.contains(QLatin1String("@@")))
        v.replace(QLatin1String("@@"), QLatin1String("@"));
    storeValue(std::move(v));
}

void GedRec::removeDoubleAtSignsFromValue()
{
    QString v = value();
    if (v.contains(QLatin1String("@@")))
        storeValue(v.replace(QLatin1String("@@"), QLatin1String("@")));
}

QString GedRec::value() const
{
    if (m_bits & ValueInExtra)
        return m_extra->value;
    if (m_valueSize == 0)
        return QString();
    return loadText(inlineData(), qsizetype(m_valueSize), m_bits & ValueWide);
}

const std::byte* GedRec::inlinePtrData() const
{
    std::size_t offset = sizeof(GedRec) + inlineValueBytes();
    if (m_bits & PtrWide)
        offset = (offset + 1) & ~std::size_t(1);
    return reinterpret_cast<const std::byte*>(this) + offset;
}

QString GedRec::ptr() const
{
    if (m_bits & PtrInExtra)
        return m_extra->ptr;
    if (m_ptrSize == 0)
        return QString();
    return loadText(inlinePtrData(), qsizetype(m_ptrSize), m_bits & PtrWide);
}

QAnyStringView GedRec::ptrView() const
{
    if (m_bits & PtrInExtra)
        return m_extra->ptr;
    if (m_ptrSize == 0)
        return {};
    if (m_bits & PtrWide)
        return QStringView(reinterpret_cast<const char16_t*>(inlinePtrData()), qsizetype(m_ptrSize));
    return QLatin1StringView(reinterpret_cast<const char*>(inlinePtrData()), qsizetype(m_ptrSize));
}

QAnyStringView GedRec::valueView() const
{
    if (m_bits & ValueInExtra)
        return m_extra->value;
    if (m_bits & ValueWide)
        return QStringView(reinterpret_cast<const char16_t*>(inlineData()), qsizetype(m_valueSize));
    return QLatin1StringView(reinterpret_cast<const char*>(inlineData()), qsizetype(m_valueSize));
}

void GedRec::setPointer(const QString& ptr)
{
    QString p = pointerFrom(ptr);
    if (p.isNull() && m_ptrSize == 0 && !(m_bits & PtrInExtra))
        return;
    extra().ptr = std::move(p);
    m_bits |= PtrInExtra;
}

void GedRec::setFwdPtr(const QString& text)
{
    QString p = pointerFrom(text);
    m_bits |= FwdPtrSet;
    if (!p.isNull())
        extra().fwdPtr = std::move(p);
    else if (m_extra)
        m_extra->fwdPtr = QString();
}

QString GedRec::fwdPtr() const
{
    if (m_bits & FwdPtrSet)
        return m_extra ? m_extra->fwdPtr : QString();
    const QAnyStringView v = valueView();
    const PointerSpan p = pointerSpan(v);
    if (!p.found)
        return QString();
    return p.end > p.begin ? slicedView(v, p.begin, p.end).toString() : QStringLiteral("");
}

QAnyStringView GedRec::fwdPtrView() const
{
    if (m_bits & FwdPtrSet)
        return m_extra ? QAnyStringView(m_extra->fwdPtr) : QAnyStringView();
    const QAnyStringView v = valueView();
    const PointerSpan p = pointerSpan(v);
    return p.found && p.end > p.begin ? slicedView(v, p.begin, p.end) : QAnyStringView();
}

bool GedRec::valueIsPointer() const
{
    if (m_bits & FwdPtrSet)
        return m_extra && !m_extra->fwdPtr.isEmpty();
    const PointerSpan p = pointerSpan(valueView());
    return p.found && p.end > p.begin;
}

GedRec* GedRec::firstSubRecord(const char* tag) const
{
    const QLatin1String t(tag);
    for (GedRec* sub : subRecords())
        if (sub->type() == t)
            return sub;
    return nullptr;
}

QSet<FTManagedObject*>& GedRec::mmObjectOwnersSet()
{
    Extra& x = extra();
    if (!x.mmObjectOwnersSet)
        x.mmObjectOwnersSet = std::make_unique<QSet<FTManagedObject*>>();
    return *x.mmObjectOwnersSet;
}

void GedRec::setErrorReason(int reason, int action, const QString& text)
{
    Extra& x = extra();
    x.errorReason = reason;
    x.errorAction = action;
    x.errorString = text;
}

int GedRec::numericId() const
{
    const QString id = ptr();
    if (id.isEmpty())
        return 0;
    qsizetype i = 0;
    while (i < id.size() && !(id[i] >= u'0' && id[i] <= u'9'))
        ++i;
    long long n = 0;
    for (; i < id.size() && id[i] >= u'0' && id[i] <= u'9'; ++i) {
        n = n * 10 + (id[i].unicode() - u'0');
        if (n > INT_MAX)
            return 0;
    }
    return int(n);
}

QString GedRec::path() const
{
    std::vector<const GedRec*> chain;
    for (const GedRec* r = this; r; r = r->m_owner)
        chain.push_back(r);
    QString text;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (!text.isEmpty())
            text += u'.';
        text += (*it)->type();
    }
    return text;
}

QString GedRec::recordText() const
{
    QString text = QString::number(level());
    const QString id = ptr();
    if (!id.isEmpty())
        text += QStringLiteral(" @%1@").arg(id);
    if (!type().isEmpty())
        text += u' ' + path();
    const QString v = value();
    if (!v.isEmpty())
        text += u' ' + v;
    return text;
}

QString GedRec::stringRepresentation() const
{
    return QString(3 * qsizetype(level()), u' ') + recordText();
}

bool GedRec::hasContinuationLines() const
{
    for (const GedRec* sub : subRecords())
        if (sub->type() == QLatin1String("CONT") || sub->type() == QLatin1String("CONC"))
            return true;
    return false;
}

QString GedRec::husbandPtr() const
{
    if (type() != QLatin1String("FAM"))
        return QString();
    const GedRec* r = firstSubRecord("HUSB");
    return r ? r->fwdPtr() : QString();
}

QString GedRec::wifePtr() const
{
    if (type() != QLatin1String("FAM"))
        return QString();
    const GedRec* r = firstSubRecord("WIFE");
    return r ? r->fwdPtr() : QString();
}

bool GedRec::isEventStructure() const
{
    bool hasDateOrPlace = false;
    for (const GedRec* sub : subRecords()) {
        const QString& t = sub->type();
        if (t.isEmpty() || t.startsWith(u'_'))
            continue;
        // Whole tags only: a piece of one ("DAT", "E,D") is not one of them.
        if (!isTagIn(t, {"TYPE", "DATE", "PLAC", "ADDR", "AGE", "AGNC", "CAUS", "SOUR", "OBJE", "NOTE"}))
            return false;
        if (t == QLatin1String("DATE") || t == QLatin1String("PLAC"))
            hasDateOrPlace = true;
    }
    return hasDateOrPlace;
}

bool GedRec::isSourceCitationWithMissingPointer() const
{
    if (valueIsPointer())
        return false;
    bool hasCitationPart = false;
    for (const GedRec* sub : subRecords()) {
        const QString& t = sub->type();
        if (t.isEmpty() || t.startsWith(u'_') || t.size() != 4)
            continue;
        if (t == QLatin1String("NOTE"))
            continue;
        if (!isTagIn(t, {"PAGE", "EVEN", "DATA", "QUAY", "OBJE"}))
            return false;
        hasCitationPart = true;
    }
    return hasCitationPart;
}

void GedRec::setEventSubtype(const QString& a, const QString& b)
{
    if (GedRec* typeRec = firstSubRecord("TYPE")) {
        typeRec->setValue(QStringLiteral("%1 %2 %3").arg(a, b, typeRec->value()));
        return;
    }
    new GedRec(this, QString(), QStringLiteral("TYPE"), QStringLiteral("%1 %2").arg(a, b));
}
