#pragma once

#include <QString>

class FTPerson;
class QTextDocument;

// The story as an RTF file for a word processor: "<reports>/<StoryOf><name with years>.rtf", pictures embedded
// as JPEG. A later copy of the same person's story replaces the file; a failed write leaves any older file as
// it was.
class StoryRtfFile {
public:
    // The file's path in `reportsFolder`; the person's name cannot lead out of the folder.
    static QString pathFor(const FTPerson* person, const QString& reportsFolder);
    // Writes the whole document as RTF, all or nothing. False with the reason in `error`.
    static bool write(const QTextDocument& story, const QString& path, QString* error);
};
