#pragma once

#include <QMap>
#include <QString>

// The event vocabulary of a family database: GEDCOM event tags with their English names, in eight groups. The
// event-type records of every database are seeded from it, and the event-name lists start from its names.
namespace EventTypesVocabulary {
// Group bits: 1 birth and death, 2 other personal events, 4 attributes, 8 LDS ordinances, 16 marriage,
// 32 other marriage events, 64 LDS spouse sealing, 128 other.
inline constexpr int kGroupBits[] = {1, 2, 4, 8, 16, 32, 64, 128};

// Tag -> English name for the groups whose bits are set in `mask` (-1: all groups).
QMap<QString, QString> dictionary(int mask);
// The group's name as stored in an event type's `group` ("Birth and Death Events" ...); empty for other values.
QString groupName(int groupBit);
// The English name of a tag of any group; empty when the vocabulary has no such tag.
QString nameForTag(const QString& tag);
}
