#include "gedcom/GedRec.h"

#include "platform/Localizer.h"

#include <QHash>
#include <QStringList>

#include <climits>

namespace {

bool isTagIn(const QString& tag, std::initializer_list<const char*> tags)
{
    for (const char* t : tags)
        if (tag == QLatin1String(t))
            return true;
    return false;
}

// Trimmed text between "@" signs with every leading and trailing "@" removed; null when the
// trimmed text is not framed by "@".
QString pointerFrom(const QString& text)
{
    // Most values are no pointers: look at the first and last non-blank characters before copying.
    qsizetype b = 0, e = text.size();
    while (b < e && text[b].isSpace())
        ++b;
    while (e > b && text[e - 1].isSpace())
        --e;
    if (e - b < 2 || text[b] != u'@' || text[e - 1] != u'@')
        return QString();
    const QString t = text.trimmed();
    b = 0;
    e = t.size();
    while (b < e && t[b] == u'@')
        ++b;
    while (e > b && t[e - 1] == u'@')
        --e;
    return t.mid(b, e - b);
}

QHash<QString, quint8> makeTagClasses(quint8 event, quint8 attribute, quint8 lds, quint8 family, quint8 blanks)
{
    QHash<QString, quint8> t;
    for (const char* tag : {"EVEN", "BIRT", "DEAT", "ADOP", "BAPM", "BARM", "BASM", "BLES", "BURI", "CENS", "CHR",
                            "CHRA", "CONF", "CREM", "EMIG", "FCOM", "GRAD", "IMMI", "NATU", "ORDN", "PROB", "RETI",
                            "WILL", "_MILT"})
        t[QLatin1String(tag)] |= event;
    // The first three classes exclude each other, in this order; EVEN is a family event as well.
    for (const char* tag : {"CAST", "DSCR", "EDUC", "IDNO", "NATI", "NCHI", "NMR", "OCCU", "PROP", "RELI", "RESI",
                            "SSN", "TITL"})
        if (!(t.value(QLatin1String(tag)) & event))
            t[QLatin1String(tag)] |= attribute;
    for (const char* tag : {"BAPL", "CONL", "ENDL", "SLGC"})
        if (!(t.value(QLatin1String(tag)) & (event | attribute)))
            t[QLatin1String(tag)] |= lds;
    for (const char* tag : {"EVEN", "MARR", "DIVF", "DIV", "ENGA", "ANUL", "MARB", "MARC", "MARL", "MARS"})
        t[QLatin1String(tag)] |= family;
    // Blanks at either end of these values belong to the text: CONC pieces are joined as written.
    for (const char* tag : {"NOTE", "CONC", "CONT", "AUTH", "TITL", "PUBL", "TEXT"})
        t[QLatin1String(tag)] |= blanks;
    return t;
}

} // namespace

const QString& GedRec::nullString()
{
    static const QString none;
    return none;
}

GedRec::Extra& GedRec::extra()
{
    if (!m_extra)
        m_extra = std::make_unique<Extra>();
    return *m_extra;
}

GedRec::GedRec(GedRec* owner, const QString& ptr, const QString& type, const QString& value)
{
    if (owner)
        owner->addSubRecord(this);
    m_level = owner ? owner->m_level + 1 : 0;
    setType(type);
    setValue(value);
    setPointer(ptr);
    setFwdPtr(value);
}

GedRec::~GedRec()
{
    // Frees the sub-tree without recursion, so no depth of nesting can exhaust the stack.
    std::vector<GedRec*> doomed(m_subRecords.begin(), m_subRecords.end());
    m_subRecords.clear();
    while (!doomed.empty()) {
        GedRec* r = doomed.back();
        doomed.pop_back();
        doomed.insert(doomed.end(), r->m_subRecords.begin(), r->m_subRecords.end());
        r->m_subRecords.clear();
        delete r;
    }
}

void GedRec::addSubRecord(GedRec* sub)
{
    sub->m_owner = this;
    m_subRecords.append(sub);
}

void GedRec::setType(const QString& type)
{
    static const QHash<QString, quint8> classes = makeTagClasses(IndividualEventTag, IndividualAttributeTag,
                                                                 LdsOrdinanceTag, FamilyEventTag, KeepsBlanksTag);
    m_type = type.isEmpty() ? QString() : type.trimmed();
    if (m_type.isEmpty())
        m_type = QString();
    m_tagClass = m_type.isEmpty() ? 0 : classes.value(m_type, 0);
}

void GedRec::setValue(const QString& value)
{
    if (value.isEmpty()) {
        m_value = QString();
        return;
    }
    m_value = (m_tagClass & KeepsBlanksTag) ? value : value.trimmed();
    removeDoubleAtSignsFromValue();
}

void GedRec::removeDoubleAtSignsFromValue()
{
    if (m_value.contains(QLatin1String("@@")))
        m_value.replace(QLatin1String("@@"), QLatin1String("@"));
}

void GedRec::setPointer(const QString& ptr)
{
    QString p = pointerFrom(ptr);
    if (!p.isNull() || (m_extra && !m_extra->ptr.isNull()))
        extra().ptr = std::move(p);
}

void GedRec::setFwdPtr(const QString& text)
{
    QString p = pointerFrom(text);
    if (!p.isNull() || (m_extra && !m_extra->fwdPtr.isNull()))
        extra().fwdPtr = std::move(p);
}

GedRec* GedRec::firstSubRecord(const char* tag) const
{
    for (GedRec* sub : m_subRecords)
        if (sub->m_type == QLatin1String(tag))
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
    const QString& id = ptr();
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
        text += (*it)->m_type;
    }
    return text;
}

QString GedRec::recordText() const
{
    QString text = QString::number(m_level);
    if (!ptr().isEmpty())
        text += QStringLiteral(" @%1@").arg(ptr());
    if (!m_type.isEmpty())
        text += u' ' + path();
    if (!m_value.isEmpty())
        text += u' ' + m_value;
    return text;
}

QString GedRec::stringRepresentation() const
{
    return QString(3 * m_level, u' ') + recordText();
}

bool GedRec::hasContinuationLines() const
{
    for (const GedRec* sub : m_subRecords)
        if (sub->m_type == QLatin1String("CONT") || sub->m_type == QLatin1String("CONC"))
            return true;
    return false;
}

QString GedRec::husbandPtr() const
{
    if (m_type != QLatin1String("FAM"))
        return QString();
    const GedRec* r = firstSubRecord("HUSB");
    return r ? r->fwdPtr() : QString();
}

QString GedRec::wifePtr() const
{
    if (m_type != QLatin1String("FAM"))
        return QString();
    const GedRec* r = firstSubRecord("WIFE");
    return r ? r->fwdPtr() : QString();
}

bool GedRec::isEventStructure() const
{
    static const QString allowed = QStringLiteral("TYPE,DATE,PLAC,ADDR,AGE,AGNC,CAUS,SOUR,OBJE,NOTE");
    bool hasDateOrPlace = false;
    for (const GedRec* sub : m_subRecords) {
        const QString& t = sub->m_type;
        if (t.isEmpty() || t.startsWith(u'_'))
            continue;
        if (!allowed.contains(t))
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
    for (const GedRec* sub : m_subRecords) {
        const QString& t = sub->m_type;
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

int GedRec::pcRelIntValue() const
{
    const QString v = value();
    if (v == LocalizedString(QStringLiteral("Natural")))
        return 1;
    if (v == LocalizedString(QStringLiteral("Adopted")))
        return 8;
    if (v == LocalizedString(QStringLiteral("Step")))
        return 2;
    if (v == LocalizedString(QStringLiteral("Foster")))
        return 4;
    return 0;
}

void GedRec::setEventSubtype(const QString& a, const QString& b)
{
    if (GedRec* typeRec = firstSubRecord("TYPE")) {
        typeRec->setValue(QStringLiteral("%1 %2 %3").arg(a, b, typeRec->value()));
        return;
    }
    new GedRec(this, QString(), QStringLiteral("TYPE"), QStringLiteral("%1 %2").arg(a, b));
}
