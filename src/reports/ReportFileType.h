#pragma once

#include <QString>

// Whether the word processor can show the report file about to be written. No word processor on Linux reads
// an RTFD folder (the text and its pictures as separate files), so RTFD is always questioned; RTF, its pictures
// inline as JPEG, suits them all.
//
//   if (!ReportFileType::validateFileType(fileType, includesPictures)) return;   // the user cancelled
namespace ReportFileType {
// The localized reason `fileType` does not suit the word processor; empty when it does.
QString refusal(const QString& fileType, const QString& application, bool pictures);
// The check before a report is written: with a reason, the alert "The selected options are unsuitable." with
// the file type, the word processor (user default "rtfApplication") and whether there are pictures, and the
// buttons "Cancel the Report" and "Continue". True to write the report.
bool validateFileType(const QString& fileType, bool pictures);
}
