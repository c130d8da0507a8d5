#pragma once

#include <QString>

#include <memory>

class QFile;

// A plain-text report (a list of changes, a CSV grid) in the reports folder: UTF-8 without a byte-order mark, under
// the first free name "<base>.<ext>", "<base>_1.<ext>" ... up to a last number, never over an existing file.
// Every failure is told to the user (the writer's message with the path) and answered false.
//
//   ReportTextFile file;
//   if (!file.create("Family_LatestChanges", "txt", 1000)) return;
//   file.write(text);
//   if (file.close()) Utils::displayFile(file.path(), {});
class ReportTextFile {
public:
    ReportTextFile();
    ~ReportTextFile();

    bool create(const QString& baseName, const QString& extension, int lastNumber);
    bool write(const QString& text);
    // Flushes and closes; false, after a message, when any write failed.
    bool close();
    QString path() const { return m_path; }

private:
    bool fail(const char* key);
    QString m_path;
    std::unique_ptr<QFile> m_file;
    bool m_ok = false;
};
