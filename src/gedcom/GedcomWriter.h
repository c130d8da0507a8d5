#pragma once

#include "gedcom/GedcomExportOptions.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <memory>

class QIODevice;
class QVariant;

// Writes a GEDCOM 5.5 file: UTF-8 with a byte-order mark, CR LF line ends, one line per call.
//
// Values are written as given except that every "@" is doubled and line breaks never reach the file:
// one-line fields turn them into blanks, free text goes out as CONC and CONT lines. Only the pointer
// lines (writePointerLine) write a value between "@" signs.
class GedcomWriter {
public:
    // One CONC or CONT line of a free text.
    struct TextPiece {
        QString tag;
        QString value;
        bool operator==(const TextPiece&) const = default;
    };

    // What the header names besides the options. Empty fields take the program's version, the
    // output file's name and the current time.
    struct HeaderInfo {
        QString modelName;
        QString fileName;
        QString version;
        QDateTime now;
    };

    static constexpr int kTextLineLength = 150;
    // The longest piece of a one-line value (a page reference, a place): a line of 255 characters at most holds
    // it under its level and tag.
    static constexpr int kLongValueLength = 246;
    static inline const QString kProgramName = QStringLiteral("Kinloom for Vovadid");
    static inline const QString kSubmitterXref = QStringLiteral("SM1");
    static inline const QString kSubmissionXref = QStringLiteral("SUBN1");

    explicit GedcomWriter(GedcomExportOptions options = {});
    ~GedcomWriter();
    GedcomWriter(const GedcomWriter&) = delete;
    GedcomWriter& operator=(const GedcomWriter&) = delete;

    // Creates the file at `path` and writes the byte-order mark. An existing file is never replaced:
    // the call fails instead, with the message for the user in `error`.
    bool create(const QString& path, QString* error = nullptr);
    // Creates "<folder>/<name>.<extension>", or when that exists "<folder>/<name>_<n>.<extension>"
    // with the first free n from 1; answers the path created, or "" with `error` set.
    QString createUnique(const QString& folder, const QString& name, const QString& extension,
                         QString* error = nullptr);
    // The path createUnique would take now (the export window shows it before the run).
    static QString uniquePath(const QString& folder, const QString& name, const QString& extension);
    // Writes into a device already open for writing (not owned), starting with the byte-order mark.
    void writeTo(QIODevice* device);
    // Flushes and closes the output. A failed write or close answers false with `error` set, and a
    // file this writer created is removed rather than left half written.
    bool finish(QString* error = nullptr);
    QString path() const;
    bool hasError() const;
    const GedcomExportOptions& options() const;

    // A line with an optional identifier ("I12", written "@I12@") and a one-line value.
    void writeLine(int level, const QString& tag, const QString& value = {}, const QString& xref = {});
    // A line whose value points at the record `target` ("F3" or "@F3@", written "@F3@").
    void writePointerLine(int level, const QString& tag, const QString& target, const QString& xref = {});
    // A tag line without value and the text under it as CONC and CONT lines; an empty text writes
    // the tag line alone.
    void writeText(int level, const QString& tag, const QString& text, const QString& xref = {});
    // The CONC and CONT lines of `text` under a line of `ownerLevel`.
    void writeContinuation(int ownerLevel, const QString& text);
    // A one-line value whole: when longer than kLongValueLength, the rest follows in CONC lines under it.
    void writeLongValue(int level, const QString& tag, const QString& value);
    // Author, title and the like: the value itself when it has at most 200 characters and one line,
    // else a tag line with the text under it.
    void writeShortText(int level, const QString& tag, const QString& text);
    // A level-0 NOTE record: the notes trimmed, or a single blank when nothing is left.
    void writeNoteRecord(const QString& xref, const QString& notes);

    // HEAD, then SUBN, then SUBM.
    void writeHeaderRecords(const HeaderInfo& info);
    void writeHeadRecord(const HeaderInfo& info);
    void writeSubmissionRecord();
    void writeSubmitterRecord(const QDateTime& now);
    void writeTrailer();

    // One line as written to the file, without its CR LF.
    static QString formatLine(int level, const QString& xref, const QString& tag, const QString& value,
                              bool valueIsPointer, bool indent);
    // Free text as CONC and CONT pieces of at most 150 UTF-16 units, never cut inside a character.
    static QList<TextPiece> splitText(const QString& text);
    // A one-line value in pieces of at most `length` UTF-16 units, cut between two characters that are not blanks
    // where the value has such a place, and never inside a character.
    static QStringList splitValue(const QString& value, int length);
    // Line breaks become blanks (CR LF one blank).
    static QString oneLine(const QString& value);
    // Every "@" doubled.
    static QString escapeValue(const QString& value);
    // A submitter or submission value on one line; "" unless the stored object is a non-blank string.
    static QString ldsDataFor(const QVariant& object);
    // SEX value of a stored gender: M, F, or U when it is neither (or empty).
    static QString gedcomSex(const QString& gender);
    // "I12", "F3", "M7", "S5": record identifiers from a record's number.
    static QString xref(const QString& prefix, qint64 number);
    static QString individualXref(qint64 number) { return xref(QStringLiteral("I"), number); }
    static QString familyXref(qint64 number) { return xref(QStringLiteral("F"), number); }
    static QString multimediaXref(qint64 number) { return xref(QStringLiteral("M"), number); }
    static QString sourceXref(qint64 number) { return xref(QStringLiteral("S"), number); }
    // The CONT lines of the header's options note, and the depersonalising option in words.
    static QStringList scopeNoteLines(const GedcomExportOptions& options);
    static QString depersonalizeOptionText(int option);
    // The program's own tags with their descriptions, in the order the header lists them.
    static const QList<std::pair<QString, QString>>& customTags();

private:
    void put(const QString& line);
    struct Private;
    std::unique_ptr<Private> d;
};
