#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// One contact card in vCard 4.0 (RFC 6350): the formatted name, the structured name, a note and the categories,
// each escaped and folded (ContentLine), lines ended by CR LF.
//
//   QByteArray bytes = VCardWriter::card({"Ann Smith", "Smith", "Ann", {}, "likes tea", {"Family 2024"}});
namespace VCardWriter {
struct Card {
    QString formattedName;
    QString familyName;
    QString givenName;
    QStringList additionalNames;
    QString note; // left out when empty
    QStringList categories; // left out when empty
};
QByteArray card(const Card& card);
}
