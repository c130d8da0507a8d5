#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

class FTMoc;
class FTSource;
class ModelProgress;
class RtfWriter;

// Every source of a database in one file in the reports folder: rich text with one paragraph per source, rich
// text with one block of labelled lines per source (optionally followed by each of its citations), or
// comma-separated values, one line per source, under the first free "<database>_<Sources>" name.
//
//   SourcesListing listing(moc);
//   listing.richTextFormat = false;
//   RtfWriter writer;                          // its type is set by generate()
//   if (listing.generate(writer, progress)) writer.handOver();
class SourcesListing {
public:
    explicit SourcesListing(FTMoc* moc);

    bool sortByType = false;
    bool oneLinePerSource = false;
    bool includeReferences = true;
    bool richTextFormat = true;
    QString modelName;
    // The moment the title names (now unless set; tests fix it).
    QDateTime moment;

    // By number, or by type and then number.
    QList<FTSource*> sources() const;
    // "rtf" or "csv", as the format asks.
    QString fileType() const { return richTextFormat ? QStringLiteral("rtf") : QStringLiteral("csv"); }

    // Writes the file. False when there is no source ("NoSourcesDefined") or the file could not be made or
    // written (the writer's message); nothing is written then. The progress status names each source's number.
    bool generate(RtfWriter& writer, ModelProgress* progress = nullptr) const;

private:
    QString paragraph(const FTSource* source) const;
    QString block(const FTSource* source) const;
    static QStringList csvFields(const FTSource* source);

    FTMoc* m_moc;
};
