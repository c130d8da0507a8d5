#pragma once

#include <QDateTime>
#include <QString>

class FTMoc;
class ModelProgress;
class RtfWriter;

// Every picture that belongs to a person, with its description and its owner, as an RTF file in the reports
// folder: grouped by owner (by name, or by family name and then name) or by file (by file name, or by title, and
// then owner's name); a file shared by several people is described once with all its owners. Each picture's
// image data is let go as soon as it has been read, so a large collection never sits in memory at once.
//
//   PicturesListing listing(moc);
//   listing.order = PicturesListing::ByFileName;
//   if (listing.generate(writer, progress)) writer.handOver();
class PicturesListing {
public:
    enum Order { ByOwner, ByFamilyName, ByFileName, ByTitle };

    explicit PicturesListing(FTMoc* moc);

    int order = ByOwner; // any other value lists nothing
    QString modelName;
    // The moment the title names (now unless set; tests fix it).
    QDateTime moment;

    // Writes the file under the first free "PicturesReport" name. False, after the writer's message, when it
    // could not be made or written.
    bool generate(RtfWriter& writer, ModelProgress* progress = nullptr) const;

private:
    FTMoc* m_moc;
};
