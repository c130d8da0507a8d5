#pragma once

#include "gedcom/GedcomExportOptions.h"

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>

class FTMoc;
class FTPerson;
class FTPicture;
class QIODevice;

// The GEDCOM export of one family database: the whole database, or a chosen set of people (the exports of a
// person with all relatives, ancestors or descendants), written as one GEDCOM 5.5 file in UTF-8 with CR LF line
// ends: header, submission and submitter records, individuals with their events, citations and picture links,
// families, the cited sources, the note records each of them points to, and the trailer.
//
// The export window makes one per export and shows its progress:
//
//   ExportToGedcom exporter(moc);                // the caller has saved the database
//   exporter.setSelectiveExport(true);           // only for a chosen set of people
//   exporter.setSetOfPeopleToExport(people);
//   exporter.progressChanged = [&](int percent) { ... };
//   exporter.messageChanged = [&](const QString& text) { ... };
//   label->setText(exporter.gedcomFilename());   // the file it is going to write
//   if (exporter.generateGedcomFile()) ... exporter.gedcomFilename() is the file written
//
// The export reads the database and never changes it. Everything runs on the caller's thread.
class ExportToGedcom {
public:
    explicit ExportToGedcom(FTMoc* moc);
    ~ExportToGedcom();
    ExportToGedcom(const ExportToGedcom&) = delete;
    ExportToGedcom& operator=(const ExportToGedcom&) = delete;

    FTMoc* moc() const;
    QString modelName() const;
    // "Gedcom 5.5", as the window shows it.
    static QString gedcomVersion();
    // The format help of the window: an alert titled "Gedcom Export" with the message "Gedcom Format" and this
    // example of the multimedia record in GEDCOM 5.5 and 5.5.1 as its text.
    static QString gedcomFormatHelpText();

    // Who is written. Without a selective export every person of the database is; with one, only the people of
    // the set, and families, picture links and person citations are limited to them as well. The privacy options
    // apply on top of either.
    bool selectiveExport() const;
    void setSelectiveExport(bool selective);
    const QSet<FTPerson*>& setOfPeopleToExport() const;
    void setSetOfPeopleToExport(const QSet<FTPerson*>& people);

    // The options of the run. generateGedcomFile() reads them from the user defaults first; generationThread()
    // and writeTo() use the ones set here (the restore values until set).
    const GedcomExportOptions& options() const;
    void setOptions(const GedcomExportOptions& options);

    // The folder the file goes to: the data folder unless set.
    QString outputFolder() const;
    void setOutputFolder(const QString& folder);
    // Before a run: the free path "<folder>/<database>.GED" (or "..._<n>.GED") the run means to take. After a
    // run: the file written. A name taken in the meantime is never replaced; the run takes the next free one.
    QString gedcomFilename() const;

    // What the header names: the time (now unless set) and the program's version (this build's unless set).
    void setNow(const QDateTime& now);
    void setVersion(const QString& version);

    // Progress of a run, 0 to 100, and its status texts ("Exporting to <path>", ..., the elapsed time).
    std::function<void(int percent)> progressChanged;
    std::function<void(const QString& text)> messageChanged;

    // Set while a run writes; a second run asked for meanwhile returns false at once.
    static bool exportIsActive();

    // The Generate button: reads the options from the user defaults (GedcomExportOptions::fromUserDefaults),
    // then generationThread().
    bool generateGedcomFile();
    // Writes a new file in the output folder. False, after telling the user, when the file cannot be created or
    // written completely (a half-written file is removed).
    bool generationThread();
    // The same run into a device that is open for writing (not closed here).
    bool writeTo(QIODevice* device);

    // What the last run wrote.
    struct Statistics {
        int individuals = 0;
        int families = 0;
        int sources = 0;
        double seconds = 0;
    };
    const Statistics& statistics() const;
    // The pictures whose files the last file written names (each once): the picture export offers them next.
    const QList<FTPicture*>& exportedPicturesArray() const;

private:
    bool run(QIODevice* device);
    struct Private;
    std::unique_ptr<Private> d;
};
