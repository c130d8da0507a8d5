#pragma once

#include <QString>
#include <QStringList>

class QComboBox;

// Fills a report sheet's list of applications that open its file: the desktop's default first, titled
// `defaultLabel` (data ""), then
// each application of `ids` by its name (data: the id), and `chosen` selected, added when the desktop no longer
// lists it.
void fillApplicationsComboBox(
    QComboBox* box, const QString& defaultLabel, const QStringList& ids, const QString& chosen);
