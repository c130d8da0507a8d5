#pragma once

#include <QByteArray>
#include <QString>

// Writes `bytes` as a new report in the reports folder under the first free name for `name` and `extension`
// (Utils::createReportFileName), never over an existing file: when another program takes a free name first, the
// next one is tried. Answers the path; empty, with the reason in `error`, when no file could be made or written
// whole (a file written in part is removed).
QString writeNewReportFile(const QString& name, const QString& extension, const QByteArray& bytes, QString* error);
