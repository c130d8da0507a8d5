#include "reports/FamilyGroupSheet.h"

#include "reports/NarrativePersonWriter.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSpouseRel.h"
#include "model/UtilsPics.h"

#include "shell/Utils.h"

#include "platform/Localizer.h"

#include <QLocale>
#include <QSaveFile>
#include <QSet>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>

#include <algorithm>

namespace {
QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }
QString nameOf(const FTPerson* p) { return p ? p->nameWithBirthAndDeathYears() : QString(); }
QString line(const QString& label, const QString& value) { return QStringLiteral("%1: %2\n").arg(label, value); }

// The kept values of the run: only two of them ever change.
FamilyGroupSheet::Options& keptOptions()
{
    static FamilyGroupSheet::Options kept;
    return kept;
}

// Other events of one tag, by date: the store keeps them unordered.
QList<FTEvent*> byDate(QList<FTEvent*> events)
{
    std::stable_sort(events.begin(), events.end(), [](const FTEvent* a, const FTEvent* b) {
        return a->lDate() < b->lDate();
    });
    return events;
}

QList<FTEvent*> withSubtype(const QList<FTEvent*>& events, const QString& subtype)
{
    QList<FTEvent*> out;
    for (FTEvent* e : events)
        if (e && e->subtype() == subtype)
            out << e;
    return byDate(out);
}

QTextCharFormat textFormat(const QString& family, double points, bool bold)
{
    QTextCharFormat f;
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    f.setFont(font);
    f.setForeground(Qt::black);
    return f;
}
}

FamilyGroupSheet::Options FamilyGroupSheet::Options::kept()
{
    Options o;
    o.showBirthDatesOfLiving = keptOptions().showBirthDatesOfLiving;
    o.showLDSEvents = keptOptions().showLDSEvents;
    return o;
}

void FamilyGroupSheet::Options::remember(const Options& options)
{
    keptOptions().showBirthDatesOfLiving = options.showBirthDatesOfLiving;
    keptOptions().showLDSEvents = options.showLDSEvents;
}

FamilyGroupSheet::FamilyGroupSheet(FTPerson* person, const Options& options, const QDateTime& moment)
    : m_person(person)
    , m_options(options)
    , m_moment(moment)
{
}

QString FamilyGroupSheet::initialWindowTitle(const FTPerson* person)
{
    return QStringLiteral("%1 %2").arg(L("CustomiseFgsFor"), nameOf(person));
}

QString FamilyGroupSheet::windowTitle() const
{
    return QStringLiteral("%1%2 %3 %4")
        .arg(L("CustomiseFgsFor"), m_tableCount > 1 ? L("pluralization") : QString(), L("ConjunctiveFor"),
            nameOf(m_person));
}

std::unique_ptr<QTextDocument> FamilyGroupSheet::generateTables()
{
    auto document = std::make_unique<QTextDocument>();
    QFont body(QStringLiteral("Arial"));
    body.setPointSizeF(12);
    document->setDefaultFont(body);
    m_tableCount = 0;
    m_pictureCount = 0;
    if (!m_person)
        return document;
    QTextCursor cursor(document.get());

    QSet<const FTPerson*> listed;
    bool first = true;
    for (FTSpouseRel* couple : m_person->spouseRelsArray()) {
        FTPerson* partner = couple->partnerOf(m_person);
        if (!first)
            appendPrintedOn(cursor);
        appendHeading(cursor,
            QStringLiteral("\n%1\n %2 %3\n").arg(nameOf(m_person), L("ConjunctiveAnd"), nameOf(partner)), !first);
        first = false;
        const QList<FTPerson*> children = childrenInCommon(m_person, partner);
        // A couple without a partner has no partner's row.
        const int partnerRows = partner ? 1 : 0;
        QTextTable* table = appendTable(cursor, 2 + partnerRows + int(children.size()));
        int row = 0;
        fillRow(*document, table, row++, m_person, PersonRow, partner, couple);
        if (partner)
            fillRow(*document, table, row++, partner, SpouseRow, m_person, couple);
        fillHeaderRow(table, row++,
            QStringLiteral("\n%1 %2 %3 %4 %5 = %6\n\n")
                .arg(L("Children"), L("ConjunctiveOf"), m_person->firstName(), L("ConjunctiveAnd"),
                    partner ? partner->firstName() : QString())
                .arg(children.size()));
        for (FTPerson* child : children) {
            fillRow(*document, table, row++, child, ChildRow, nullptr, nullptr);
            listed.insert(child);
        }
        cursor.movePosition(QTextCursor::End);
    }

    if (m_person->spouseRelsArray().isEmpty() && m_person->childRels().isEmpty()) {
        appendHeading(cursor, QStringLiteral("\n%1\n").arg(nameOf(m_person)), false);
        QTextTable* table = appendTable(cursor, 1);
        fillRow(*document, table, 0, m_person, PersonRow, nullptr, nullptr);
        cursor.movePosition(QTextCursor::End);
    }

    QList<FTPerson*> others;
    for (const FTPcRel* link : m_person->childRels())
        if (FTPerson* child = link->child(); child && !listed.contains(child) && !others.contains(child))
            others << child;
    if (!others.isEmpty()) {
        appendHeading(cursor, QStringLiteral("\n%1 %2\n").arg(L("OtherChildrenOf"), nameOf(m_person)), false);
        QTextTable* table = appendTable(cursor, int(others.size()));
        for (int row = 0; row < others.size(); ++row)
            fillRow(*document, table, row, others[row], ChildRow, nullptr, nullptr);
        cursor.movePosition(QTextCursor::End);
    }

    appendPrintedOn(cursor);
    cursor.insertText(QStringLiteral("\n\n\n"), QTextCharFormat());
    return document;
}

void FamilyGroupSheet::appendHeading(QTextCursor& cursor, const QString& text, bool newPage)
{
    const QTextCharFormat heading = textFormat(QStringLiteral("Arial"), 16, true);
    if (newPage) {
        // The next couple starts a page of its own; the blocks after the first do not.
        QTextBlockFormat page;
        page.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        cursor.insertBlock(page);
    }
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            cursor.insertBlock(QTextBlockFormat(), heading);
        cursor.insertText(lines[i], heading);
    }
}

QTextTable* FamilyGroupSheet::appendTable(QTextCursor& cursor, int rows)
{
    QTextTableFormat format;
    format.setBorder(kBorderWidth);
    format.setBorderBrush(Qt::black);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    // The cells draw their own borders, so that two neighbours never draw one line twice.
    format.setBorderCollapse(true);
    format.setCellPadding(kCellMargin);
    format.setCellSpacing(0);
    format.setColumnWidthConstraints({QTextLength(QTextLength::FixedLength, kPictureColumnWidth),
        QTextLength(QTextLength::FixedLength, kDetailsColumnWidth)});
    format.setAlignment(Qt::AlignLeft);
    QTextTable* table = cursor.insertTable(rows, 2, format);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < 2; ++c) {
            QTextTableCell cell = table->cellAt(r, c);
            QTextTableCellFormat f = cell.format().toTableCellFormat();
            f.setTopBorder(r == 0 ? kBorderWidth : 0);
            f.setLeftBorder(c == 0 ? kBorderWidth : 0);
            f.setRightBorder(kBorderWidth);
            f.setBottomBorder(kBorderWidth);
            f.setBorderBrush(Qt::black);
            f.setTopBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            f.setBottomBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            f.setLeftBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            f.setRightBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            f.setPadding(kCellMargin);
            f.setVerticalAlignment(QTextCharFormat::AlignTop);
            cell.setFormat(f);
        }
    }
    ++m_tableCount;
    return table;
}

void FamilyGroupSheet::fillRow(QTextDocument& document, QTextTable* table, int row, FTPerson* person, int relType,
    FTPerson* spouse, FTSpouseRel* spouseRel)
{
    QTextCursor left = table->cellAt(row, 0).firstCursorPosition();
    const QImage picture = defaultPictureForPerson(person);
    if (!picture.isNull()) {
        const QString name = QStringLiteral("fgs-picture-%1").arg(++m_pictureCount);
        document.addResource(QTextDocument::ImageResource, QUrl(name), picture);
        // Fits the column, inside its margins.
        const double width = kPictureColumnWidth - 2 * kCellMargin - 8;
        QTextImageFormat image;
        image.setName(name);
        image.setWidth(width);
        image.setHeight(width * picture.height() / std::max(1, picture.width()));
        left.insertImage(image);
    } else {
        left.insertText(QStringLiteral(" "), QTextCharFormat());
    }
    left.insertText(QStringLiteral("\n \n"), QTextCharFormat());
    QTextCursor right = table->cellAt(row, 1).firstCursorPosition();
    right.insertText(blockForPerson(person, relType, spouse, spouseRel) + QLatin1Char('\n'), QTextCharFormat());
}

void FamilyGroupSheet::fillHeaderRow(QTextTable* table, int row, const QString& header)
{
    table->cellAt(row, 0).firstCursorPosition().insertText(QStringLiteral("\n \n"), QTextCharFormat());
    table->cellAt(row, 1).firstCursorPosition().insertText(header, QTextCharFormat());
}

QString FamilyGroupSheet::printedOnText() const
{
    const QString when = QLocale(QLocale::English).toString(m_moment, QStringLiteral("dd MMM yyyy 'at' hh:mm AP"));
    const FTMoc* moc = m_person ? m_person->moc() : nullptr;
    return QStringLiteral("\n%1 %2 %3 %4\n")
        .arg(L("PrintedOn"), when, L("ConjunctiveFrom"), moc ? moc->modelName() : QString());
}

void FamilyGroupSheet::appendPrintedOn(QTextCursor& cursor)
{
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(printedOnText(), textFormat(QStringLiteral("Arial"), 10, false));
}

QString FamilyGroupSheet::blockForPerson(FTPerson* person, int relType, FTPerson* spouse, FTSpouseRel* spouseRel) const
{
    if (!person)
        return {};
    QString out;
    QString label;
    if (relType == PersonRow)
        label = L("Name");
    else if (relType == SpouseRow)
        label = L("Spouse");
    else
        label = person->gender() == L("MaleShort") ? L("Son") : L("Daughter");
    out += line(label, person->name());
    if (m_options.showTitleOccupation)
        out += line(L("TitOcc"), person->title());
    const QList<FTEvent*> others = person->otherEvents();
    out += line(L("Born"), eventStringFor(person->birth()));
    for (const FTEvent* e : withSubtype(others, QStringLiteral("BAPM")))
        out += line(L("Baptised"), eventStringFor(e));
    out += line(L("Died"), eventStringFor(person->death()));
    for (const FTEvent* e : withSubtype(others, QStringLiteral("BURI")))
        out += line(L("Buried"), eventStringFor(e));

    if (relType == PersonRow || relType == SpouseRow) {
        const QList<FTEvent*> coupleEvents = spouseRel ? spouseRel->otherMarriageEvents() : QList<FTEvent*>();
        out += line(L("Marriage"), eventStringFor(spouseRel ? spouseRel->marriage() : nullptr));
        for (const FTEvent* e : withSubtype(coupleEvents, QStringLiteral("DIV")))
            out += line(L("Divorce"), eventStringFor(e));
        out += line(L("Father"), nameOf(person->naturalFather()));
        out += line(L("Mother"), nameOf(person->naturalMother()));
        out += QLatin1Char('\n');
        out += otherSpouses(person, spouse);
        if (m_options.showLDSEvents) {
            out += ldsInfoForEvents(others);
            for (const FTEvent* e : withSubtype(coupleEvents, QStringLiteral("SLGS")))
                out += line(L("LDSSpouseSealing"), eventStringFor(e));
        }
    } else {
        const QList<FTPerson*> spouses = person->spouses();
        if (!spouses.isEmpty()) {
            if (spouses.size() == 1)
                out += QStringLiteral("%1: %2").arg(L("Spouse"), nameOf(spouses.first()));
            else
                out += QStringLiteral("%1(%2): %3").arg(L("Spouses")).arg(spouses.size()).arg(nameOf(spouses.first()));
            for (qsizetype i = 1; i < spouses.size(); ++i)
                out += QStringLiteral(", %1").arg(nameOf(spouses[i]));
            out += QLatin1Char('\n');
        }
        if (m_options.showLDSEvents)
            out += ldsInfoForEvents(others);
    }
    out += QStringLiteral(" \n");
    return out;
}

QString FamilyGroupSheet::eventStringFor(const FTEvent* event) const
{
    if (!event)
        return {};
    if (event->type() == FTEvent::BirthEvent && !m_options.showBirthDatesOfLiving) {
        const auto* owner = dynamic_cast<const FTPerson*>(event->owner());
        if (owner && owner->isLiving())
            return L("IsAlive");
    }
    const QString date = event->date();
    const QString place = event->place();
    QString out;
    if (!date.isEmpty() && !place.isEmpty())
        out = QStringLiteral("%1 %2 %3").arg(date, L("ConjunctiveAt"), place);
    else
        out = !date.isEmpty() ? date : place;
    if (m_options.includeEventNotes && !event->notes().isEmpty())
        out += QStringLiteral(". %1").arg(event->notes());
    return out;
}

QString FamilyGroupSheet::ldsInfoForEvents(const QList<FTEvent*>& events) const
{
    static const QList<std::pair<const char*, const char*>> kLabels = {
        {"BAPL", "LDSBaptism"}, {"CONL", "LDSConfirmation"}, {"ENDL", "LDSEndowment"}, {"SLGC", "LDSSealingParents"}};
    QList<FTEvent*> sorted = events;
    std::stable_sort(sorted.begin(), sorted.end(), [](const FTEvent* a, const FTEvent* b) {
        return a->subtype() < b->subtype();
    });
    QString out;
    for (const FTEvent* e : sorted)
        for (const auto& [tag, key] : kLabels)
            if (e->subtype() == QLatin1String(tag))
                out += line(L(key), eventStringFor(e));
    return out;
}

QString FamilyGroupSheet::otherSpouses(const FTPerson* person, const FTPerson* spouse)
{
    QList<FTPerson*> others = person ? person->spouses() : QList<FTPerson*>();
    others.removeAll(const_cast<FTPerson*>(spouse));
    if (others.isEmpty())
        return {};
    QString out = others.size() == 1
        ? QStringLiteral("%1: %2").arg(L("OtherSpouse"), nameOf(others.first()))
        : QStringLiteral("%1(%2): %3").arg(L("OtherSpouses")).arg(others.size()).arg(nameOf(others.first()));
    for (qsizetype i = 1; i < others.size(); ++i)
        out += QStringLiteral(", %1").arg(nameOf(others[i]));
    return out + QLatin1Char('\n');
}

QList<FTPerson*> FamilyGroupSheet::childrenInCommon(const FTPerson* first, const FTPerson* second)
{
    if (!first && !second)
        return {};
    if (!first || !second)
        return (first ? first : second)->naturalChildren();
    const QList<FTPerson*> theirs = second->naturalChildren();
    QList<FTPerson*> out;
    for (FTPerson* child : first->naturalChildren())
        if (theirs.contains(child))
            out << child;
    return out;
}

QImage FamilyGroupSheet::defaultPictureForPerson(const FTPerson* person) const
{
    const FTPicture* picture = person ? person->defaultPicture() : nullptr;
    if (!picture || picture->filename().contains(QStringLiteral("/%1_").arg(L("MapImageFilenamePrefix"))))
        return {};
    const QImage thumbnail = NarrativePersonWriter::defaultThumbnail(person);
    if (thumbnail.isNull())
        return {};
    const QRectF crop = m_options.cropImagesTo4x3 ? NarrativePersonWriter::portraitCrop(QSizeF(thumbnail.size()))
                                                  : QRectF(QPointF(0, 0), QSizeF(thumbnail.size()));
    return UtilsPics::makeThumbnailImageFrom(thumbnail, crop);
}

bool FamilyGroupSheet::shouldChangeText(const QTextDocument& document, int position, int length)
{
    QTextCursor cursor(const_cast<QTextDocument*>(&document));
    cursor.setPosition(std::clamp(position, 0, document.characterCount() - 1));
    const QTextTable* table = cursor.currentTable();
    if (!table)
        return true;
    const QTextTableCell cell = table->cellAt(cursor);
    if (!cell.isValid())
        return true;
    return position + length < cell.lastPosition();
}

std::pair<int, int> FamilyGroupSheet::adjustedSelection(const QTextDocument& document, int anchor, int position)
{
    if (anchor == position)
        return {anchor, position};
    const int start = std::min(anchor, position);
    QTextCursor cursor(const_cast<QTextDocument*>(&document));
    cursor.setPosition(std::clamp(start, 0, document.characterCount() - 1));
    const QTextTable* table = cursor.currentTable();
    const QTextTableCell cell = table ? table->cellAt(cursor) : QTextTableCell();
    if (!cell.isValid())
        return {anchor, position};
    const int last = cell.lastPosition();
    if (anchor < position)
        return {anchor, std::min(position, last)};
    return {std::min(anchor, last), position};
}

bool FamilyGroupSheet::writeRtf(const QTextDocument& document, const QString& path, QString* error)
{
    const QByteArray rtf = Utils::encodeRTFwithPictures(document).toLatin1();
    QSaveFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size() || !file.commit()) {
        if (error)
            *error = L("FgsCannotWrite").arg(path, path.isEmpty() ? QString() : file.errorString());
        return false;
    }
    return true;
}

QString FamilyGroupSheet::outputPath(const FTPerson* person)
{
    return Utils::createReportFileName(nameOf(person), QStringLiteral("rtf"));
}
