#include "gedcom/GedcomForest.h"

GedcomForest::GedcomForest() = default;

GedcomForest::~GedcomForest()
{
    clear();
}

void GedcomForest::clear()
{
    for (GedRec* r : m_records)
        delete r;
    m_records.clear();
    m_byKey.clear();
    m_keyOf.clear();
    m_unknownCount = 0;
}

QString GedcomForest::freeUnknownKey()
{
    QString key;
    do
        key = QStringLiteral("UNK_%1").arg(++m_unknownCount);
    while (m_byKey.contains(key));
    return key;
}

QString GedcomForest::naturalKey(const GedRec* record)
{
    if (!record->ptr().isEmpty())
        return record->ptr();
    if (record->type() == QLatin1String("HEAD") || record->type() == QLatin1String("TRLR"))
        return QStringLiteral("_%1_").arg(record->type());
    return freeUnknownKey();
}

void GedcomForest::file(GedRec* record, const QString& key)
{
    m_byKey.insert(key, record);
    m_keyOf.insert(record, key);
}

void GedcomForest::addRecord(std::unique_ptr<GedRec> owned, GedRec** duplicateOf)
{
    if (duplicateOf)
        *duplicateOf = nullptr;
    GedRec* record = owned.release();
    m_records.push_back(record);
    QString key = naturalKey(record);
    GedRec* holder = m_byKey.value(key, nullptr);
    if (holder && !record->ptr().isEmpty() && holder->ptr().isEmpty()) {
        // A record without identifier was filed as UNK_n before a record that really has that
        // identifier came: the identifier wins, the unnamed record moves to a free UNK_n.
        const QString moved = freeUnknownKey();
        file(holder, moved);
        holder = nullptr;
    }
    if (holder) {
        if (duplicateOf)
            *duplicateOf = holder;
        const QString base = key;
        int n = 2;
        do
            key = QStringLiteral("%1 #%2").arg(base).arg(n++);
        while (m_byKey.contains(key));
    }
    file(record, key);
}
