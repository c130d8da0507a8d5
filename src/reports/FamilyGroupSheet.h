#pragma once

#include <QDateTime>
#include <QImage>
#include <QList>
#include <QString>

#include <memory>

class FTEvent;
class FTPerson;
class FTSpouseRel;
class QTextCursor;
class QTextDocument;
class QTextTable;

// A person's family group sheet as rich text with tables: a page per couple (the person, the partner, a header
// with the number of children in common, then those children), each person a row of a two-column table (the
// default picture left, the details right); then a table of the person's other children. The window shows it
// for editing (FamilyGroupSheetDialog) and saves it as RTF.
//
//   FamilyGroupSheet sheet(person, FamilyGroupSheet::Options::kept());
//   std::unique_ptr<QTextDocument> document = sheet.generateTables();
//   window->setWindowTitle(sheet.windowTitle());
class FamilyGroupSheet {
public:
    struct Options {
        bool showLDSEvents = true;
        bool showBirthDatesOfLiving = true;
        bool showTitleOccupation = true;
        bool includeEventNotes = true;
        bool cropImagesTo4x3 = false;

        // The values a new sheet starts from: the first values, but the two a window keeps for the rest of the
        // run (remember()).
        static Options kept();
        // Keeps showBirthDatesOfLiving and showLDSEvents for the next sheet of this run.
        static void remember(const Options& options);
    };

    // The document's measures, in points: the picture and details columns, cell borders and inner margins.
    static constexpr double kPictureColumnWidth = 100;
    static constexpr double kDetailsColumnWidth = 500;
    static constexpr double kBorderWidth = 0.5;
    static constexpr double kCellMargin = 6;

    FamilyGroupSheet(FTPerson* person, const Options& options, const QDateTime& moment = QDateTime::currentDateTime());

    // The whole sheet, afresh from the database.
    std::unique_ptr<QTextDocument> generateTables();
    // After generateTables(): "Family Group Sheet for ...", plural when more than one table was made.
    QString windowTitle() const;
    int tableCount() const { return m_tableCount; }
    // Before any sheet is made: "Family Group Sheet <name>".
    static QString initialWindowTitle(const FTPerson* person);

    // The parts, each a new text.
    QString blockForPerson(FTPerson* person, int relType, FTPerson* spouse, FTSpouseRel* spouseRel) const;
    QString eventStringFor(const FTEvent* event) const;
    QString ldsInfoForEvents(const QList<FTEvent*>& events) const;
    static QString otherSpouses(const FTPerson* person, const FTPerson* spouse);
    // The first person's natural children who are also the second's, in the first person's order; with one of
    // them missing, the other's natural children.
    static QList<FTPerson*> childrenInCommon(const FTPerson* first, const FTPerson* second);
    // "\nPrinted on 05 Mar 2024 at 02:05 PM from Family\n".
    QString printedOnText() const;
    // The picture for the person's cell: none for a saved map or without a picture; cropped to a 3:4 portrait
    // by the option.
    QImage defaultPictureForPerson(const FTPerson* person) const;

    // Keeping edits inside the table cells. An edit of `length` characters at `position` is refused when it
    // starts in a cell and reaches that cell's last position (its closing paragraph, or beyond the cell).
    static bool shouldChangeText(const QTextDocument& document, int position, int length);
    // A selection from `anchor` to `position` that starts in a cell never reaches past that cell's last
    // position: answers the two ends to use (the same when nothing needs changing).
    static std::pair<int, int> adjustedSelection(const QTextDocument& document, int anchor, int position);

    // Writes the document as RTF, pictures as JPEG, to `path`; false with a message in `error` when the file
    // could not be written (nothing is left behind then).
    static bool writeRtf(const QTextDocument& document, const QString& path, QString* error);
    // The first free "<name (years)>.rtf" (or _1, _2 ...) in the reports folder; never an existing file.
    static QString outputPath(const FTPerson* person);

private:
    enum RelType { PersonRow = 0, SpouseRow = 1, ChildRow = 2 };
    void appendHeading(QTextCursor& cursor, const QString& text, bool newPage);
    QTextTable* appendTable(QTextCursor& cursor, int rows);
    void fillRow(QTextDocument& document, QTextTable* table, int row, FTPerson* person, int relType,
        FTPerson* spouse, FTSpouseRel* spouseRel);
    void fillHeaderRow(QTextTable* table, int row, const QString& header);
    void appendPrintedOn(QTextCursor& cursor);

    FTPerson* m_person;
    Options m_options;
    QDateTime m_moment;
    int m_tableCount = 0;
    int m_pictureCount = 0;
};
