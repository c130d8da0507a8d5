#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>
#include <vector>

class AnselTable;
class GedcomForest;
class GedcomHeaderInfo;
class GedcomReadObserver;

// Reads a GEDCOM file into a forest of GedRec trees: determines the character set (byte-order mark,
// zero bytes of UTF-16, the header's CHAR line), writes a cleaned copy (one line end, no leading
// blanks, no BLOB data) into a temporary folder for as long as the reader lives, decodes it, splits
// it into lines and parses each line into its record's tree. It needs no database: the record
// passes take the forest from here.
//
// Nothing here stops for bad data: malformed lines are skipped with a message in errorMessages()
// (which the unprocessed-lines log prints), malformed bytes become U+FFFD. Only a file that gives no
// usable text fails, after telling the observer why.
//
// Memory: the cleaned bytes are kept (in the buffer the file was read into) and decoded a block at a
// time while the records are made; the whole decoded text never exists at once. The line accessors
// below decode on demand and are meant for checks between loadLinesArray and createGedRecs.
class GedcomFileReader {
public:
    // Deeper lines than this are refused, so no file can nest records without bound.
    static constexpr int kMaxLevel = 99;

    explicit GedcomFileReader(GedcomReadObserver* observer = nullptr);
    ~GedcomFileReader();
    GedcomFileReader(const GedcomFileReader&) = delete;
    GedcomFileReader& operator=(const GedcomFileReader&) = delete;

    // Where the cleaned copy is written (the data folder's "temp"), under a new name of its own that never
    // replaces a file there; the copy is removed with the reader. None is written when empty.
    void setTempFolder(const QString& folder);
    // The ANSEL table to use; the shared resource table when not set.
    void setAnselTable(const AnselTable* table);
    // The lines the forest is to build apart, to be released early (GedcomForest::setReleasedEarly).
    void setReleasedEarly(const QString& recordTag, const QStringList& keptTags);

    // The whole read: the decoded lines, then the forest. False when the file gave no lines.
    bool readFile(const QString& path);
    bool readData(const QByteArray& bytes, const QString& fileName = QString());

    // The two steps of a read, for a caller that reports progress between them.
    bool loadLinesArray(const QByteArray& bytes, const QString& path = QString());
    void createGedRecs();

    // The character-set code of the file's bytes (GedcomTextDecoder::Encoding; 0 when undetermined).
    // `headerLines` receives the header lines read for it, `alerts` the messages the user should see.
    static unsigned getEncoding(QByteArrayView bytes, QStringList* headerLines = nullptr,
                                QStringList* alerts = nullptr);
    // The header's lines from the raw bytes (each byte one character): CR and LF end lines, empty
    // lines are skipped, leading blanks dropped; stops before the next level-0 line.
    static QStringList fileHeaderRecord(QByteArrayView bytes);
    // The cleaned bytes: every line ended by one LF, leading blanks removed, BLOB data left out.
    // `lineNumbers` receives, for each cleaned line, its number in the original file; `skipped`
    // the number of BLOB lines left out.
    static QByteArray cleanBytes(QByteArrayView bytes, std::vector<int>* lineNumbers = nullptr,
                                 int* skipped = nullptr);

    unsigned gedFileEncoding() const;
    const GedcomHeaderInfo& headerInfo() const;

    // The decoded lines (a line end ends each; the file's last line end gives no empty line).
    // Available from loadLinesArray until createGedRecs, which lets them go: the records hold the
    // text from then on (empty afterwards).
    qsizetype lineCount() const;
    QStringView lineView(qsizetype index) const;
    QString line(qsizetype index) const { return lineView(index).toString(); }
    QStringList lines() const;
    // The number of the decoded line in the user's file (1-based); also after createGedRecs.
    int lineNumber(qsizetype index) const;

    // Messages of one kind beyond this many are counted, not listed: a damaged file can hold a
    // message's worth of trouble in every byte.
    static constexpr int kMaxListedMessages = 50000;

    GedcomForest& forest();
    std::unique_ptr<GedcomForest> takeForest();

    // Parser messages, in the order they arose, for the unprocessed-lines log.
    const QStringList& errorMessages() const;
    QStringList takeErrorMessages();

    qint64 fileSize() const;
    int numLines() const;
    int numGedRecs() const;
    int blobRecordsIgnored() const;
    // The cleaned copy while the reader lives; empty when none was written.
    QString cleanedCopyPath() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
