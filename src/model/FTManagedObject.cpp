#include "model/FTManagedObject.h"

#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTModelDefaults.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/store/EntityDescription.h"

#include <QCborValue>
#include <QLocale>

#include <algorithm>
#include <typeinfo>

namespace {
const Key kLastChange("lastChange");
const Key kExtraData("extraData");
const Key kNumericId("numericId");
const Key kModelDefaultSelectedPerson("modelDefaultSelectedPerson");
const Key kModelDefaultFocalPerson("modelDefaultFocalPerson");

// A CBOR text string (major type 3) in the shortest length form, as QCborStreamWriter writes it.
void appendCborText(QByteArray& out, const QByteArray& utf8)
{
    const quint64 n = quint64(utf8.size());
    constexpr char kText = char(0x60);
    if (n < 24) {
        out.append(char(kText | char(n)));
    } else if (n <= 0xFF) {
        out.append(char(kText | 24));
        out.append(char(n));
    } else if (n <= 0xFFFF) {
        out.append(char(kText | 25));
        out.append(char(n >> 8));
        out.append(char(n));
    } else {
        out.append(char(kText | 26));
        for (int shift = 24; shift >= 0; shift -= 8)
            out.append(char(n >> shift));
    }
    out.append(utf8);
}
}

QString FTManagedObject::capitalized(const QString& text)
{
    QString out = text.toLower();
    bool wordStart = true;
    for (QChar& c : out) {
        if (c.isSpace()) {
            wordStart = true;
        } else if (wordStart) {
            c = c.toUpper();
            wordStart = false;
        }
    }
    return out;
}

FTMoc* FTManagedObject::moc() const
{
    ObjectContext* c = context();
    // Every change asks twice (keyWillChange, keyDidChange): the exact-type test spares the full dynamic_cast for
    // the usual case, a family database's own context.
    if (c && typeid(*c) == typeid(FTMoc))
        return static_cast<FTMoc*>(c);
    return dynamic_cast<FTMoc*>(c);
}

void FTManagedObject::awakeFromFetch()
{
    m_objId = 0;
    m_flagBits = 0;
    m_bDateNeedsToBeChanged = false;
}

bool FTManagedObject::hasProperty(const Key& key) const
{
    return entity()->property(key) != nullptr;
}

QDateTime FTManagedObject::lastChange() const
{
    const PropertyDescription* p = entity()->property(kLastChange);
    return p && p->isAttribute() ? value(kLastChange).toDateTime() : QDateTime();
}

QString FTManagedObject::lastChangeString() const
{
    const QDateTime stamp = lastChange();
    return stamp.isValid() ? QLocale::c().toString(stamp, QStringLiteral("dd MMM yy")) : QString();
}

std::optional<QStringList> FTManagedObject::compareWith(const FTManagedObject* other, unsigned options) const
{
    if (other && typeid(*this) != typeid(*other))
        return std::nullopt;
    QStringList skipped;
    if (options & CompareWithoutLastChange)
        skipped << QStringLiteral("lastChange");
    if (options & CompareWithoutNumericId)
        skipped << QStringLiteral("numericId");
    if (options & CompareWithoutThumbNailImageData)
        skipped << QStringLiteral("thumbNailImageData");
    if (options & CompareWithoutSeqNo)
        skipped << QStringLiteral("seqNo");
    if (options & CompareWithoutExtraData)
        skipped << QStringLiteral("extraData");
    QStringList differing;
    for (const QString& name : entity()->attributeNames()) {
        if (skipped.contains(name))
            continue;
        const Key key(name);
        const QVariant mine = value(key);
        if (!other) {
            if (mine.isValid())
                differing << name;
            continue;
        }
        // Records of sibling entities (a birth and a death) share the attribute; one missing it differs when set.
        const QVariant theirs = other->entity()->property(key) ? other->value(key) : QVariant();
        if (mine.isValid() != theirs.isValid() || (mine.isValid() && mine != theirs))
            differing << name;
    }
    return differing;
}

bool FTManagedObject::hasExtraDataAttribute() const
{
    const PropertyDescription* p = entity()->property(kExtraData);
    return p && p->isAttribute();
}

QCborMap FTManagedObject::extraDataMap() const
{
    if (!hasExtraDataAttribute())
        return {};
    const QByteArray bytes = dataValue(kExtraData);
    if (bytes.isEmpty())
        return {};
    const QCborValue v = QCborValue::fromCbor(bytes);
    return v.isMap() ? v.toMap() : QCborMap();
}

void FTManagedObject::setExtraDataMap(const QCborMap& map)
{
    if (!hasExtraDataAttribute())
        return;
    setValue(kExtraData, map.isEmpty() ? QVariant() : QVariant(map.toCborValue().toCbor()));
}

QVariant FTManagedObject::extraDataValue(const QString& key) const
{
    return extraDataMap().value(key).toVariant();
}

void FTManagedObject::setExtraDataValue(const QString& key, const QVariant& value)
{
    if (!hasExtraDataAttribute())
        return;
    // The first value of a record is most often a text (an imported event's GEDCOM date, once per event): its map
    // of one entry is encoded directly, the same bytes as through QCborMap at a fraction of the cost.
    if (value.typeId() == QMetaType::QString && dataValue(kExtraData).isEmpty()) {
        const QByteArray keyText = key.toUtf8();
        const QByteArray valueText = value.toString().toUtf8();
        QByteArray bytes;
        bytes.reserve(1 + 5 + keyText.size() + 5 + valueText.size());
        bytes.append(char(0xA1)); // a map of one entry
        appendCborText(bytes, keyText);
        appendCborText(bytes, valueText);
        setValue(kExtraData, bytes);
        return;
    }
    QCborMap map = extraDataMap();
    if (value.isValid())
        map.insert(key, QCborValue::fromVariant(value));
    else
        map.remove(key);
    setExtraDataMap(map);
}

void FTManagedObject::nameNewObjectAction(FTMoc* moc, const QString& name)
{
    if (!moc)
        return;
    UndoManager* um = moc->undoManager();
    if (um && um->actionName().isEmpty())
        um->setActionName(name);
}

bool FTManagedObject::changeHooksActive(const FTMoc* m) const
{
    if (!m || m->importThreadIsActive())
        return false;
    const UndoManager* um = m->undoManager();
    return um && um->isUndoRegistrationEnabled() && !um->isUndoing() && !um->isRedoing();
}

void FTManagedObject::nameChangeAction(const QString& name) const
{
    const FTMoc* m = moc();
    if (!changeHooksActive(m))
        return;
    UndoManager* um = m->undoManager();
    const QString current = um->actionName();
    if (!current.isEmpty() && current != LocalizedString("Typing"))
        return;
    um->setActionName(name);
}

void FTManagedObject::keyWillChange(const Key& key)
{
    const FTMoc* m = moc();
    if (!changeHooksActive(m))
        return;
    UndoManager* um = m->undoManager();
    const QString current = um->actionName();
    if (!current.isEmpty() && current != LocalizedString("Typing"))
        return;
    const QString keyName = capitalized(key.name());
    if (entityName() == QLatin1String(FTModelDefaults::kEntityName))
        um->setActionName(QStringLiteral("%1 %2").arg(LocalizedString("Change"), keyName));
    else
        um->setActionName(QStringLiteral("%1 %2's %3").arg(LocalizedString("Change"), entityName(), keyName));
}

void FTManagedObject::keyDidChange(const Key& key)
{
    const FTMoc* m = moc();
    if (!m || m->importThreadIsActive())
        return;
    const PropertyDescription* p = entity()->property(key);
    if (!p || !p->isAttribute())
        return;
    if (key == kLastChange || key == kModelDefaultSelectedPerson || key == kModelDefaultFocalPerson)
        return;
    const PropertyDescription* stamp = entity()->property(kLastChange);
    if (!stamp || !stamp->isAttribute())
        return;
    const UndoManager* um = m->undoManager();
    if (um && (um->isUndoing() || !um->isUndoRegistrationEnabled()))
        return;
    if (!isUpdated() && !isInserted() && !isDeleted())
        return;
    // The same instant as the local time, stored as the same number: without the time-zone look-ups that a
    // local time costs on each conversion, which a change of many records would make hundreds of thousands of.
    setDate(kLastChange, QDateTime::currentDateTimeUtc());
    if (FTLogEnabled())
        FTLog(QStringLiteral("key = %1.%2").arg(entityName(), key.name()));
}

int FTManagedObject::assignNumericId(FTCounter counter)
{
    FTMoc* m = moc();
    if (!m || m->importThreadIsActive() || !hasProperty(kNumericId))
        return 0;
    const int id = m->modelDefaults()->takeNextId(counter);
    setInteger(kNumericId, id);
    return id;
}

QString FTManagedObject::attributesWithValues(const QString& title, const QStringList& leftOut,
    const QHash<QString, QString>& labels) const
{
    QStringList names;
    for (const QString& name : entity()->attributeNames()) {
        if (leftOut.contains(name))
            continue;
        const QVariant v = value(Key(name));
        if (!v.isValid() || (v.typeId() == QMetaType::QString && v.toString().isEmpty()))
            continue;
        names << name;
    }
    std::sort(names.begin(), names.end(),
        [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    QString text = title;
    for (qsizetype i = 0; i < names.size(); ++i) {
        text += i == 0 ? QStringLiteral(": ") : QStringLiteral(", ");
        text += labels.contains(names[i]) ? labels.value(names[i]) : capitalized(names[i]);
    }
    return text;
}
