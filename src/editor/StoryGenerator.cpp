#include "editor/StoryGenerator.h"

#include "model/EventInfo.h"
#include "model/FTEvent.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/FTSpouseRel.h"
#include "model/UtilsPics.h"

#include "platform/Localizer.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QScreen>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextImageFormat>
#include <QUrl>

#include <algorithm>
#include <optional>

namespace {
// The tab stop of the events rows, in points: the dates stand before it, the rest of the row after it.
constexpr double kEventsTab = 100;
// Paragraphs that wrap go on this much further in than their first line.
constexpr double kHangingIndent = 30;

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

int birthYear(const FTPerson* p)
{
    const FTEvent* b = p->birth();
    return b ? b->year() : 0;
}
}

StoryGenerator::StoryGenerator(const StoryOptions& options)
    : m_options(options)
    , m_clock([] { return QDateTime::currentDateTime(); })
{
}

StoryGenerator::~StoryGenerator() = default;

double StoryGenerator::pixelsPerPoint()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    return (dpi > 0 ? dpi : 96.0) / 72.0;
}

StoryGenerator::Style StoryGenerator::attributesForStyle(const QString& name) const
{
    struct Row {
        double size;
        bool bold;
        bool underline;
        int colour; // 0 black, 1 notes, 2 comments, 3 sources, 4 events
        double spacingBefore;
        double lineSpacing;
        double tab;
    };
    static const QHash<QString, Row> table = {
        {QStringLiteral("ReportHeader"), {12, false, false, 0, 0, 0, 0}},
        {QStringLiteral("Name"), {16, true, false, 0, 14, 5, 0}},
        {QStringLiteral("BDM"), {12, false, false, 0, 0, 0, 0}},
        {QStringLiteral("OtherLabel"), {12, true, false, 0, 0, 0, 0}},
        {QStringLiteral("Other"), {12, false, false, 0, 0, 0, 0}},
        {QStringLiteral("RelsLabel"), {12, true, false, 0, 0, 0, 0}},
        {QStringLiteral("Rels"), {12, false, false, 0, 0, 0, 0}},
        {QStringLiteral("NotesHeader"), {12, true, true, 1, 0, 0, 0}},
        {QStringLiteral("Notes"), {12, false, false, 1, 0, 0, 0}},
        {QStringLiteral("CommentsHeader"), {12, true, true, 2, 0, 0, 0}},
        {QStringLiteral("Comments"), {12, false, false, 2, 0, 0, 0}},
        {QStringLiteral("SourcesHeader"), {12, true, true, 3, 0, 0, 0}},
        {QStringLiteral("Sources"), {12, false, false, 3, 0, 0, 0}},
        {QStringLiteral("EventsHeader"), {12, true, true, 4, 0, 0, 0}},
        {QStringLiteral("Events"), {12, false, false, 4, 0, 0, kEventsTab}},
    };
    static const Row plain {12, false, false, 0, 0, 0, 0};
    const Row row = table.value(name, plain);
    const QColor colours[] = {Qt::black, m_options.notesColour, m_options.commentsColour, m_options.sourcesColour,
                              m_options.eventsColour};
    const double px = pixelsPerPoint();

    Style s;
    s.chars.setFontFamilies({QFontDatabase::systemFont(QFontDatabase::GeneralFont).family()});
    s.chars.setFontPointSize(row.size);
    s.chars.setFontWeight(row.bold ? QFont::Bold : QFont::Normal);
    s.chars.setFontUnderline(row.underline);
    s.chars.setForeground(colours[row.colour]);
    // The first line starts at the margin, the lines it wraps into hang further in; the events rows hang
    // past their tab stop.
    const double headIndent = (row.tab + kHangingIndent) * px;
    s.block.setLeftMargin(headIndent);
    s.block.setTextIndent(-headIndent);
    s.block.setAlignment(Qt::AlignLeading);
    s.block.setTopMargin(row.spacingBefore * px);
    if (row.lineSpacing > 0)
        s.block.setLineHeight(row.lineSpacing * px, QTextBlockFormat::LineDistanceHeight);
    if (row.tab > 0)
        s.block.setTabPositions({QTextOption::Tab(row.tab * px, QTextOption::LeftTab)});
    return s;
}

void StoryGenerator::prepareStoryDocument(QTextDocument& document)
{
    QTextOption option = document.defaultTextOption();
    option.setTabStopDistance(kEventsTab * pixelsPerPoint());
    document.setDefaultTextOption(option);
}

QString StoryGenerator::jpegDataUrl(const QImage& image)
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    // JPEG has no transparency: a clear background shows white, as on the page.
    QImage opaque(image.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    {
        QPainter painter(&opaque);
        painter.drawImage(0, 0, image);
    }
    opaque.save(&buffer, "JPEG", 100);
    return QStringLiteral("data:image/jpeg;base64,") + QString::fromLatin1(jpeg.toBase64());
}

std::unique_ptr<QTextDocument> StoryGenerator::generateStory(FTPerson* person)
{
    auto document = std::make_unique<QTextDocument>();
    prepareStoryDocument(*document);
    m_document = document.get();
    m_cursor = QTextCursor(m_document);
    m_paragraphStarted = false;
    m_person = person;
    // One edit: the document lays itself out once, not after every piece.
    m_cursor.beginEditBlock();
    if (person) {
        const QString when = QLocale(QLocale::English).toString(m_clock(), QStringLiteral("dddd dd-MMM-yy 'at' HH:mm"));
        appendAsString(QStringLiteral("%1 %2 %3 %4\n").arg(L("TheStoryOf"), person->name(), L("CreatedOn"), when),
                       QStringLiteral("ReportHeader"));
        printIndividualsInfo(person);
    }
    m_cursor.endEditBlock();
    m_cursor = QTextCursor();
    m_document = nullptr;
    m_person = nullptr;
    return document;
}

void StoryGenerator::appendAsString(const QString& text, const QString& style)
{
    const Style s = attributesForStyle(style);
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            if (!m_paragraphStarted)
                m_cursor.setBlockFormat(s.block);
            m_cursor.insertBlock(s.block, s.chars);
            m_paragraphStarted = false;
        }
        if (lines[i].isEmpty())
            continue;
        // A paragraph takes the paragraph format of the first text written into it.
        if (!m_paragraphStarted)
            m_cursor.setBlockFormat(s.block);
        m_cursor.insertText(lines[i], s.chars);
        m_paragraphStarted = true;
    }
}

void StoryGenerator::appendImage(const QImage& image)
{
    const QString name = jpegDataUrl(image);
    m_document->addResource(QTextDocument::ImageResource, QUrl(name), image);
    if (!m_paragraphStarted)
        m_cursor.setBlockFormat(QTextBlockFormat());
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(image.width());
    format.setHeight(image.height());
    m_cursor.insertImage(format);
    m_paragraphStarted = true;
}

void StoryGenerator::printIndividualsInfo(FTPerson* person)
{
    appendAsString(person->nameWithBirthAndDeathYears() + QLatin1Char('\n'), QStringLiteral("Name"));
    if (m_options.defaultPicture)
        printPictureRow(person);
    printPersonsBirthMarriageAndDeathInfo(person);

    struct Group {
        qlonglong bit;
        std::function<QList<FTPerson*>()> people;
        const char* label;
    };
    const QList<Group> groups = {
        {StoryOptions::Parents, [person] { return person->naturalParents(); }, "Parents"},
        {StoryOptions::StepRels, [person] { return person->parentsOfType(FTPcRel::kStep); }, "StoryStepParents"},
        {StoryOptions::AdoptedRels, [person] { return person->parentsOfType(FTPcRel::kAdopted); },
         "StoryAdoptedParents"},
        {StoryOptions::Children, [person] { return person->naturalChildren(); }, "Children"},
        {StoryOptions::StepRels, [person] { return person->childrenOfType(FTPcRel::kStep); }, "StoryStepChildren"},
        {StoryOptions::AdoptedRels, [person] { return person->childrenOfType(FTPcRel::kAdopted); },
         "AdoptedChildren"},
        {StoryOptions::Siblings, [person] { return person->siblings(); }, "Siblings"},
        {StoryOptions::Grandparents, [person] { return person->naturalGrandParents(); }, "Grandparents"},
        {StoryOptions::Grandchildren, [person] { return person->grandChildren(); }, "Grandchildren"},
        {StoryOptions::GreatGrandchildren, [person] { return person->greatGrandChildren(); }, "GGrandchildren"},
        {StoryOptions::ParentsInLaw, [person] { return person->parentsInLaw(); }, "ParentsInLaw"},
        {StoryOptions::AuntsAndUncles, [person] { return person->auntsAndUncles(); }, "AuntsAndUncles"},
        {StoryOptions::Cousins, [person] { return person->cousins(); }, "Cousins"},
        {StoryOptions::SiblingsInLaw, [person] { return person->siblingsInLaw(); }, "SiblingsInLaw"},
        {StoryOptions::NephewsAndNieces, [person] { return person->nephewsAndNieces(); }, "NephewsAndNieces"},
    };
    for (const Group& group : groups)
        if (m_options.scope & group.bit)
            printRelatives(group.people(), QString::fromLatin1(group.label));

    if (m_options.includeSources)
        printPersonsSourceReferences(person);
    if (m_options.includeNotes)
        printPersonsText(person->notes(), QStringLiteral("Notes"), QStringLiteral("Notes"));
    if (m_options.includeComments)
        printPersonsText(person->comments(), QStringLiteral("Comments"), QStringLiteral("Comments"));
    if (m_options.includeEvents)
        printPersonsEvents(person);
}

void StoryGenerator::printPictureRow(FTPerson* person)
{
    auto thumbnailOf = [](FTPerson* p) {
        FTPicture* picture = p->defaultPicture();
        return picture ? picture->thumbnailImage() : QImage();
    };
    const QString text = QStringLiteral("PictureText");
    int own = 0;
    int spouses = 0;
    int children = 0;
    if (const QImage image = thumbnailOf(person); !image.isNull() && image.width() != 0)
        printDefaultPicture(person, image, &own);
    else
        appendAsString(person->firstName(), text);
    for (FTPerson* spouse : person->spouses()) {
        if (const QImage image = thumbnailOf(spouse); !image.isNull() && image.width() != 0) {
            appendAsString(QStringLiteral(" + "), text);
            printDefaultPicture(spouse, image, &spouses);
        } else {
            appendAsString(QStringLiteral(" + ") + spouse->firstName(), text);
        }
    }
    own += spouses;
    if (m_options.defaultPicturesOfChildren) {
        // Five pictures fill a row: the children's start on a row of their own.
        if (own > 4) {
            appendAsString(QStringLiteral("\n"), text);
            own = 0;
        }
        bool first = true;
        for (FTPerson* child : person->naturalChildren()) {
            appendAsString(first ? QStringLiteral(" => ") : QStringLiteral(" + "), text);
            first = false;
            if (const QImage image = thumbnailOf(child); !image.isNull())
                printDefaultPicture(child, image, &children);
            else
                appendAsString(child->firstName(), text);
        }
    }
    appendAsString(QStringLiteral("\n\n"), text);
}

void StoryGenerator::printDefaultPicture(FTPerson* person, const QImage& thumbnail, int* counter)
{
    const FTPicture* picture = person->defaultPicture();
    if (m_options.excludeGoogleMaps && picture
        && picture->filename().contains(QStringLiteral("/%1_").arg(L("MapImageFilenamePrefix"))))
        return;
    if (thumbnail.isNull())
        return;
    QRectF crop(0, 0, thumbnail.width(), thumbnail.height());
    if (m_options.cropTo4x3) {
        const double w = thumbnail.width();
        const double h = thumbnail.height();
        if (w > 0.75 * h)
            crop = QRectF((w - 0.75 * h) * 0.5, 0, 0.75 * h, h);
        else
            crop = QRectF(0, (h - w / 0.75) * 0.5, w, w / 0.75);
    }
    const QImage image = UtilsPics::makeThumbnailImageFrom(thumbnail, crop);
    ++*counter;
    if (!image.isNull())
        appendImage(image);
}

void StoryGenerator::printPersonsBirthMarriageAndDeathInfo(FTPerson* person)
{
    const QString at = L("ConjunctiveAt");
    auto datePlace = [&at](const FTEvent* e) {
        QString s;
        if (!e->date().isEmpty())
            s += QLatin1Char(' ') + e->date();
        if (!e->place().isEmpty())
            s += QStringLiteral(" %1 %2").arg(at, e->place());
        return s;
    };
    QString text;
    if (const FTEvent* birth = person->birth()) {
        text += L("BirthShort") + QLatin1Char('.');
        if (!m_options.includeBirthsOfLiving && person->isLiving())
            text += QLatin1Char(' ') + L("IsAlive");
        else
            text += datePlace(birth);
        text += QLatin1Char('\n');
    }
    const QList<FTSpouseRel*> couples = person->spouseRelsArray();
    for (qsizetype i = 0; i < couples.size(); ++i) {
        const FTEvent* marriage = couples[i]->marriage();
        text += marriage ? L("MarriageShort") + QLatin1Char('.') : QStringLiteral("+");
        if (couples.size() > 1)
            text += QString::fromLatin1(marriage ? "(%1)" : " (%1)").arg(i + 1);
        if (marriage && !marriage->date().isEmpty())
            text += QLatin1Char(' ') + marriage->date();
        if (const FTPerson* partner = couples[i]->partnerOf(person))
            text += QLatin1Char(' ') + partner->name();
        if (marriage && !marriage->place().isEmpty())
            text += QStringLiteral(" %1 %2").arg(at, marriage->place());
        text += QLatin1Char('\n');
    }
    if (const FTEvent* death = person->death())
        text += L("DeathShort") + QLatin1Char('.') + datePlace(death) + QLatin1Char('\n');
    appendAsString(text, QStringLiteral("BDM"));

    if (m_options.titleOrOccupation && !person->title().isEmpty()) {
        appendAsString(QStringLiteral("\n%1: ").arg(L("TitleOccu")), QStringLiteral("OtherLabel"));
        appendAsString(person->title() + QLatin1Char('\n'), QStringLiteral("Other"));
    }
    if (m_options.causeOfDeath && !person->causeOfDeath().isEmpty()) {
        appendAsString(QStringLiteral("\n%1: ").arg(L("CauseOfDeath")), QStringLiteral("OtherLabel"));
        appendAsString(person->causeOfDeath() + QLatin1Char('\n'), QStringLiteral("Other"));
    }
}

void StoryGenerator::printRelatives(const QList<FTPerson*>& people, const QString& labelKey)
{
    if (people.isEmpty())
        return;
    appendAsString(QStringLiteral("\n%1'%2 %3: ").arg(m_person->firstName(), L("possessiveSuffix"),
                                                      LocalizedString(labelKey)),
                   QStringLiteral("RelsLabel"));
    QStringList names;
    names.reserve(people.size());
    for (const FTPerson* p : people) {
        const int year = birthYear(p);
        names << (year != 0 ? QStringLiteral("%1 (%2)").arg(p->name()).arg(year) : p->name());
    }
    appendAsString(names.join(QStringLiteral(", ")) + QLatin1Char('\n'), QStringLiteral("Rels"));
}

void StoryGenerator::printPersonsSourceReferences(FTPerson* person)
{
    QList<FTSourceRel*> citations = person->allSourceRels();
    if (citations.isEmpty())
        return;
    appendAsString(QStringLiteral("\n%1\n").arg(L("SourceReferences")), QStringLiteral("SourcesHeader"));
    auto number = [](const FTSourceRel* c) { return c->source() ? c->source()->numericId() : 0; };
    std::stable_sort(citations.begin(), citations.end(),
                     [&number](const FTSourceRel* a, const FTSourceRel* b) { return number(a) < number(b); });
    QString list;
    const FTSource* previous = nullptr;
    bool first = true;
    for (const FTSourceRel* citation : std::as_const(citations)) {
        const FTSource* source = citation->source();
        if (first || source != previous) {
            if (!first)
                list += QLatin1Char('\n');
            QString description = source ? source->shortDescription() : QString();
            description.replace(QLatin1Char('\n'), QStringLiteral(", "));
            list += QStringLiteral("\n%1. %2").arg(number(citation)).arg(description);
        }
        first = false;
        previous = source;
        if (!citation->reference().isEmpty()) {
            list += QStringLiteral("\n  -  %1 = %2").arg(L("Reference"), citation->reference());
            if (!citation->itemDescribed().isEmpty())
                list += QStringLiteral(" (%1)").arg(citation->itemDescribed());
        }
    }
    appendAsString(list + QStringLiteral("\n\n"), QStringLiteral("Sources"));
}

void StoryGenerator::printPersonsText(const QString& text, const QString& headingKey, const QString& style)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return;
    appendAsString(QStringLiteral("\n%1\n\n").arg(LocalizedString(headingKey)), style + QStringLiteral("Header"));
    appendAsString(trimmed + QLatin1Char('\n'), style);
}

void StoryGenerator::printPersonsEvents(FTPerson* person)
{
    const Rows rows = createEventInfoArray(person);
    const bool hideLivingBirths = !m_options.includeBirthsOfLiving && person->isLiving();
    const FTEvent* birth = person->birth();
    const QString noteWord = L("Note");
    QString list;
    QString notesText;
    long noteNumber = 0;
    if (!rows.empty()) {
        appendAsString(QStringLiteral("\n%1 %2'%3 %4\n\n").arg(L("EventsIn"), person->name(), L("possessiveSuffix"),
                                                               L("life")),
                       QStringLiteral("EventsHeader"));
        for (const auto& row : rows) {
            const FTEvent* event = row->pEvent();
            QString date = event->date();
            if (hideLivingBirths && event->type() == FTEvent::BirthEvent && !date.isEmpty())
                date = L("IsAlive");
            const int age = event->yearsSince(birth);
            const QString ageText = age > 0 ? QString::number(age) : QStringLiteral("  0 ");
            const QString label = row->eventName();
            const QString lds = event->ldsStatusAndTempleCode();
            QString notes = event->notes();
            // Relatives' own events are listed without their notes; marriages keep theirs.
            const int type = event->type();
            if ((type == FTEvent::BirthEvent || type == FTEvent::DeathEvent || type == FTEvent::OtherPersonalEvent)
                && row->owner() != person)
                notes.clear();
            const QString start =
                QStringLiteral("%1\t %2 - %3; %4").arg(date.leftJustified(12), ageText, label, event->place());
            if (!notes.isEmpty()) {
                ++noteNumber;
                list += QStringLiteral("%1 %2 (%3.%4)").arg(start, lds, noteWord, QString::number(noteNumber));
                notesText += QStringLiteral("\n(%1.%2) %3\n").arg(noteWord, QString::number(noteNumber), notes);
            } else {
                list += start;
                if (!lds.isEmpty())
                    list += QStringLiteral("; ") + lds;
            }
            list += QLatin1Char('\n');
        }
    }
    list += notesText + QLatin1Char('\n');
    appendAsString(list, QStringLiteral("Events"));
}

StoryGenerator::Rows StoryGenerator::createEventInfoArray(FTPerson* person)
{
    Rows rows;
    m_lBirthDate = 0;
    m_lDeathDate = 0;
    auto own = [&rows, person](FTEvent* event) {
        auto row = std::make_unique<EventInfo>(event, person, EventInfo::Own, 0);
        row->setSelectedPerson(person);
        rows.push_back(std::move(row));
    };
    if (FTEvent* birth = person->birth()) {
        m_lBirthDate = birth->lDate();
        if (!birth->isEmptyEvent())
            own(birth);
    }
    if (FTEvent* death = person->death()) {
        m_lDeathDate = death->lDate();
        if (!death->isEmptyEvent())
            own(death);
    }
    for (FTEvent* event : person->otherEvents())
        if (!event->isDeleted())
            own(event);
    if (m_options.includeOthersEvents) {
        addChildrensEvents(person, rows);
        addParentsEvents(person, rows);
    }
    person->addSpousesEventsTo(rows);

    QHash<const EventInfo*, qint64> keys;
    keys.reserve(qsizetype(rows.size()));
    for (const auto& row : rows)
        keys.insert(row.get(), row->pEvent()->lDateForEventsListSort());
    std::stable_sort(rows.begin(), rows.end(), [&keys](const auto& a, const auto& b) {
        const qint64 ka = keys.value(a.get());
        const qint64 kb = keys.value(b.get());
        return ka != kb ? ka < kb : a->seqNo() < b->seqNo();
    });
    return rows;
}

// Step-children come in only with "soIncludeStepRels", and then with their deaths alone.
void StoryGenerator::addChildrensEvents(FTPerson* person, Rows& rows)
{
    for (const FTPcRel* link : person->childRels()) {
        FTPerson* child = link->child();
        const int type = link->intPcRelType();
        if (!child || (type == FTPcRel::kStep && !m_options.includeStepRels))
            continue;
        if (type != FTPcRel::kStep)
            person->appendRelativesEventInfo(child->birth(), child, EventInfo::Child, type, rows);
        person->appendRelativesEventInfo(child->death(), child, EventInfo::Child, type, rows);
    }
}

void StoryGenerator::addParentsEvents(FTPerson* person, Rows& rows)
{
    for (const FTPcRel* link : person->parentRels()) {
        FTPerson* parent = link->parent();
        const int type = link->intPcRelType();
        if (!parent || (type == FTPcRel::kStep && !m_options.includeStepRels))
            continue;
        person->appendRelativesEventInfo(parent->death(), parent, EventInfo::Parent, type, rows);
    }
}

bool StoryGenerator::insertGeneratedText(QTextDocument& story, const QTextDocument& generated, qlonglong mode)
{
    QTextCursor cursor(&story);
    std::optional<QTextBlockFormat> joined;
    switch (mode) {
    case StoryOptions::Prepend:
        if (!story.isEmpty())
            joined = story.begin().blockFormat();
        break;
    case StoryOptions::Append:
        cursor.movePosition(QTextCursor::End);
        if (!cursor.block().text().isEmpty())
            cursor.insertBlock();
        break;
    case StoryOptions::Replace:
        cursor.select(QTextCursor::Document);
        cursor.removeSelectedText();
        break;
    default:
        return false;
    }
    const int first = cursor.blockNumber();
    cursor.beginEditBlock();
    cursor.insertFragment(QTextDocumentFragment(&generated));
    // Where the two texts meet, Qt hands the paragraphs each other's formats: every generated paragraph gets
    // its own again, and the story's first paragraph, joined to the generated text's last (empty) one, its own.
    QTextBlock target = story.findBlockByNumber(first);
    for (QTextBlock source = generated.begin(); source.isValid() && target.isValid();
         source = source.next(), target = target.next()) {
        const bool joins = joined && !source.next().isValid() && source.text().isEmpty();
        QTextCursor(target).setBlockFormat(joins ? *joined : source.blockFormat());
    }
    cursor.endEditBlock();
    return true;
}
