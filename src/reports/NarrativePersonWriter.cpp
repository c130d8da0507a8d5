#include "reports/NarrativePersonWriter.h"

#include "reports/ReportEventList.h"

#include "model/EventInfo.h"
#include "model/FTEvent.h"
#include "model/FTOriginalPicture.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTProjectView.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/FTSpouseRel.h"
#include "model/UtilsPics.h"

#include "shell/RtfWriter.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QSizeF>

#include <algorithm>

namespace {
const QString kCrLf = QStringLiteral("\r\n");

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

// User text inside RTF, on one line.
QString t(const QString& text)
{
    return RtfWriter::rtfText(text, false);
}

QString eventText(const FTEvent* event, QString (FTEvent::*field)() const)
{
    return event ? (event->*field)() : QString();
}

QString numberText(quint64 n, bool binary)
{
    return QString::number(n, binary ? 2 : 10);
}

enum EventType { kBirth = 300, kDeath = 301, kOtherPersonal = 303 };
}

NarrativePersonWriter::NarrativePersonWriter(RtfWriter& writer, const NarrativeReportOptions& options, Layout layout,
    FTProjectView* view, FTPerson* selectedPerson)
    : m_writer(writer)
    , m_options(options)
    , m_layout(layout)
    , m_view(view)
    , m_selected(selectedPerson)
    , m_selectedPersonsFirstName(firstWord(selectedPerson ? selectedPerson->name() : QString()))
    , m_binaryNumbers(UserDefaults::standard().boolForKey(QStringLiteral("binaryAhnentafelNumbers")))
{
}

void NarrativePersonWriter::write(const QString& rtf)
{
    if (!m_writer.write(rtf))
        m_ok = false;
}

QString NarrativePersonWriter::firstWord(const QString& name)
{
    const QStringList words = name.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return words.isEmpty() ? name : words.first();
}

QList<FTPerson*> NarrativePersonWriter::childrenOf(const FTPerson* person) const
{
    return person->childrenOfType(
        m_options.showAdoptedChildrenAsNaturalChildren ? FTPcRel::kNatural | FTPcRel::kAdopted : FTPcRel::kNatural);
}

QString NarrativePersonWriter::isAliveText() const
{
    return m_layout == Layout::ByGeneration ? QStringLiteral("Living") : L("IsAlive");
}

QString NarrativePersonWriter::firstNumberText(const FTPerson* person) const
{
    const QList<quint64> numbers = m_view ? m_view->ahnentafelNumbersFor(person) : QList<quint64>();
    return numbers.isEmpty() ? QStringLiteral("?") : QString::number(numbers.first());
}

// ---- The entry ---------------------------------------------------------------------------------------------------

void NarrativePersonWriter::printIndividualsInfo(FTPerson* person, int g, int w)
{
    if (!person)
        return;
    m_currentPersonsFirstName = firstWord(person->name());
    if (m_options.oneLinePerPerson) {
        printIndentedInfoFor(person, g, w);
        return;
    }
    printPersonsName(person, g, w);
    if (m_options.includeDefaultPicture)
        printPictureLine(person, g, w);
    printPersonsRelationshipToSelectedPerson(person, g, w);
    printPersonsBirthMarriageAndDeathInfo(person, g, w);
    printRelatives(person->naturalParents(), g, w, L("Parents"));
    printRelatives(childrenOf(person), g, w, L("Children"));
    printRelatives(person->childrenOfType(FTPcRel::kStep), g, w, L("Step Children"));
    printRelatives(person->siblings(), g, w, L("Siblings"));
    if (g == 0 && m_options.printRelsOfSelectedPerson)
        printPersonsRelatives(person, 0, w);
    if (m_options.includeSourceRefs)
        printPersonsSourceReferences(person, g, w);
    printPersonsNotes(person, g, w);
    if (m_options.bPrintComments)
        printPersonsComments(person, g, w);
    printPersonsEvents(person, g, w);
}

void NarrativePersonWriter::printIndentedInfoFor(FTPerson* person, int g, int w)
{
    QString s;
    if (m_layout == Layout::ByGeneration) {
        s += QStringLiteral("\\pard\\plain \\s5\\f0\\fs28\\li%1\\sb280\\sa100\\b\\keepn ").arg(g * w) + kCrLf;
        s += firstNumberText(person) + QLatin1Char('.');
    } else {
        s += QStringLiteral("\\tab ").repeated(g);
        if (g > 0)
            s += QString::fromLatin1(m_options.reportType == NarrativeReportOptions::Ancestors ? "-%1." : "%1.").arg(g);
    }
    s += QLatin1Char(' ') + t(person->name());
    s += QStringLiteral(", ") + t(person->gender());
    const FTEvent* birth = person->birth();
    if (!m_options.bIncludeLivingBirthDates && person->isLiving())
        s += QStringLiteral(", Living");
    else if (const QString date = eventText(birth, &FTEvent::date); !date.isEmpty())
        s += QStringLiteral(", %1. ").arg(t(L("BirthShort"))) + t(date);
    if (const QString date = eventText(person->death(), &FTEvent::date); !date.isEmpty())
        s += QStringLiteral(", %1. ").arg(t(L("DeathShort"))) + t(date);
    const QList<FTSpouseRel*> couples = person->spouseRelsArray();
    for (qsizetype i = 0; i < couples.size(); ++i) {
        const FTSpouseRel* couple = couples[i];
        // The comma stands before a partner without a marriage as well as before one with it.
        s += couple->marriage() ? QStringLiteral(", %1.").arg(t(L("MarriageShort"))) : QStringLiteral(", +.");
        if (couples.size() > 1)
            s += QStringLiteral("(%1)").arg(i + 1);
        if (const QString date = eventText(couple->marriage(), &FTEvent::date); !date.isEmpty())
            s += QLatin1Char(' ') + t(date);
        const FTPerson* partner = couple->partnerOf(person);
        s += QLatin1Char(' ') + t(partner ? partner->name() : QString()) + QLatin1Char(' ');
    }
    s += QStringLiteral("\\par ") + kCrLf;
    write(s);
}

void NarrativePersonWriter::printReferAbove(FTPerson* person, int g, int w)
{
    if (!person)
        return;
    QString s;
    if (m_layout == Layout::ByGeneration) {
        const QList<quint64> numbers = m_view ? m_view->ahnentafelNumbersFor(person) : QList<quint64>();
        s += QStringLiteral("\\pard\\plain \\s7\\f0\\fs20\\li%1\\cf6\\par \\b0 ").arg(g * w) + kCrLf;
        s += QStringLiteral("%1. (...) ").arg(numbers.size() > 1 ? QString::number(numbers[1]) : QStringLiteral("?"));
        s += t(person->name());
        s += QStringLiteral(" has occurred previously as number %1")
                 .arg(numbers.isEmpty() ? QStringLiteral("?") : QString::number(numbers.first()));
    } else {
        if (m_options.oneLinePerPerson)
            s += QStringLiteral("\\tab ").repeated(g);
        else
            s += QStringLiteral("\\pard\\plain \\s7\\qj\\f0\\fs20\\li%1\\cf6\\par \\b0 ").arg((g + 1) * w) + kCrLf;
        s += QStringLiteral(" (...) ") + t(L("ReferAbove")) + QLatin1Char(' ') + t(person->name())
            + QStringLiteral("'s ")
            + t(L(m_options.reportType == NarrativeReportOptions::Ancestors ? "Ancestors" : "Descendants"));
    }
    s += QStringLiteral(" \\par ") + kCrLf;
    write(s);
}

// ---- The paragraphs of a section ---------------------------------------------------------------------------------

void NarrativePersonWriter::printPersonsName(FTPerson* person, int g, int w)
{
    QString s = QStringLiteral("\\pard\\plain \\s1\\f2\\fs28\\li%1\\sb280\\sa100\\b\\keepn ").arg(g * w) + kCrLf;
    if (m_layout == Layout::ByGeneration) {
        s += t(firstNumberText(person)) + QStringLiteral(". ");
    } else if (g > 0) {
        s += QString::fromLatin1(m_options.reportType == NarrativeReportOptions::Ancestors ? "-%1. " : "%1. ").arg(g);
    }
    s += t(person->nameWithBirthAndDeathYears()) + kCrLf;
    s += QStringLiteral("\\par \\b0 ") + kCrLf;
    // The word processor's index: family name, then given names.
    if (m_layout == Layout::Narrative)
        s += QStringLiteral("{ \\xe \\v ") + t(person->familyName()) + QStringLiteral(", ") + t(person->givenNames())
            + QStringLiteral(" }");
    write(s);
}

QRectF NarrativePersonWriter::portraitCrop(const QSizeF& size)
{
    const double W = size.width(), H = size.height();
    if (W > 0.75 * H)
        return QRectF((W - 0.75 * H) / 2, 0, 0.75 * H, H);
    return QRectF(0, (H - W / 0.75) / 2, W, W / 0.75);
}

QImage NarrativePersonWriter::defaultThumbnail(const FTPerson* person)
{
    FTPicture* picture = person ? person->defaultPicture() : nullptr;
    if (!picture)
        return {};
    if (const FTOriginalPicture* stored = picture->originalPicture()) {
        const QByteArray data = stored->data();
        if (!data.isEmpty())
            return QImage::fromData(data);
    }
    return UtilsPics::thumbnailImageForFile(picture->filename(), UtilsPics::rectFromString(picture->rclCut()));
}

void NarrativePersonWriter::printPictureLine(FTPerson* person, int g, int w)
{
    write(QStringLiteral("\\pard\\plain \\s26\\f2\\fs20\\li%1\\b0\\keepn ").arg(g * w) + kCrLf);
    int count = 0;
    if (const QImage thumbnail = defaultThumbnail(person); !thumbnail.isNull() && thumbnail.width() != 0)
        printDefaultPicture(person, thumbnail, &count, 1.0);
    else
        write(t(person->firstName()));
    for (FTPerson* spouse : person->spouses()) {
        const QImage thumbnail = defaultThumbnail(spouse);
        if (!thumbnail.isNull() && thumbnail.width() != 0) {
            write(QStringLiteral(" + "));
            printDefaultPicture(spouse, thumbnail, &count, 1.0);
        } else {
            write(QStringLiteral(" + ") + t(spouse->firstName()));
        }
    }
    if (m_options.includeChildrensPictures) {
        // Many pictures of the couple put the children on a line of their own.
        if (count > 4) {
            write(QStringLiteral("\\par \n"));
            count = 0;
        }
        bool first = true;
        for (FTPerson* child : childrenOf(person)) {
            write(first ? QStringLiteral(" => ") : QStringLiteral(" + "));
            first = false;
            if (const QImage thumbnail = defaultThumbnail(child); !thumbnail.isNull())
                printDefaultPicture(child, thumbnail, &count, 0.5);
            else
                write(t(child->firstName()));
        }
    }
    write(QStringLiteral("\\par \n"));
}

void NarrativePersonWriter::printDefaultPicture(FTPerson* person, const QImage& thumbnail, int* count, double scale)
{
    const FTPicture* picture = person ? person->defaultPicture() : nullptr;
    if (!picture || thumbnail.isNull())
        return;
    if (m_options.excludeGoogleMaps && picture->filename().contains(QLatin1String("/Map_")))
        return;
    const double W = thumbnail.width(), H = thumbnail.height();
    const QRectF crop = m_options.cropImagesTo4x3Portrait ? portraitCrop(QSizeF(W, H)) : QRectF(0, 0, W, H);
    QImage image
        = UtilsPics::makeThumbnailImageFrom(thumbnail, crop).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return;
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(9);
        painter.setFont(font);
        // The first name along the foot of the picture, white on grey.
        const QString label = QStringLiteral(" %1 ").arg(person->firstName());
        const QRectF band(0, image.height() - 14, image.width(), 13);
        const QRectF text = painter.boundingRect(band, Qt::AlignCenter, label);
        painter.fillRect(text.intersected(QRectF(image.rect())), Qt::gray);
        painter.setPen(Qt::white);
        painter.drawText(band, Qt::AlignCenter, label);
        painter.setPen(QPen(Qt::black, 0.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(image.rect()).adjusted(0.25, 0.25, -0.25, -0.25));
    }
    ++*count;
    if (!m_writer.writePicture(
            image, person->name(), QString::number(person->numericId()), QSizeF(scale * 60, scale * 80)))
        m_ok = false;
}

QString NarrativePersonWriter::relationshipWord(const FTPerson* person, int g) const
{
    QString word;
    const QString abbreviation = L("generationalAbbrev");
    if (g > 5) {
        word = QString::number(g - 2) + abbreviation;
    } else if (g >= 3) {
        // The abbreviation is worded to follow a count ("4x Great "); repeated, it goes without the count's sign.
        QString unit = abbreviation;
        if (unit.startsWith(QLatin1Char('x')))
            unit = unit.mid(1).trimmed() + QLatin1Char(' ');
        word = unit.repeated(g - 2);
    }
    const bool male = person->gender() == L("MaleShort");
    const bool female = person->gender() == L("FemaleShort");
    const bool up = m_layout == Layout::ByGeneration || m_options.reportType == NarrativeReportOptions::Ancestors;
    if (up) {
        if (male)
            word += L(g == 1 ? "Father" : "Grandfather");
        else if (female)
            word += L(g == 1 ? "Mother" : "Grandmother");
    } else {
        word += g == 1 ? L(male  ? "Son"
                        : female ? "Daughter"
                                 : "Child")
                       : L(male         ? "Grandson"
                               : female ? "Granddaughter"
                                        : "Grandchild");
    }
    return word;
}

void NarrativePersonWriter::printPersonsRelationshipToSelectedPerson(FTPerson* person, int g, int w)
{
    if (g <= 0)
        return;
    const bool byGeneration = m_layout == Layout::ByGeneration;
    QString s = QStringLiteral("\\pard\\plain \\s8\\f0\\fs%1\\li%2\\b0 ").arg(byGeneration ? 24 : 20).arg((g + 1) * w)
        + kCrLf;
    s += QStringLiteral(" \\par ") + kCrLf;
    s += t(m_selectedPersonsFirstName) + QStringLiteral("'s ") + t(relationshipWord(person, g));
    if (!byGeneration && m_options.includeAhnentafelNumbers)
        s += ahnentafelNumbersText(person);
    s += QStringLiteral("\\par ") + kCrLf;
    write(s);
}

QString NarrativePersonWriter::ahnentafelNumbersText(const FTPerson* person) const
{
    if (!m_view)
        return QStringLiteral(", ");
    const QList<quint64> numbers = m_view->ahnentafelNumbersFor(person);
    if (numbers.size() > FTProjectView::kShownAhnentafelNumbers) {
        const FTPerson* root = m_view->rootPersonInAncestralView();
        return QStringLiteral(", %1").arg(m_view->ahnentafelPathCount(person)) + t(L("AhnentafelPaths"))
            + t(root ? root->name() : QString());
    }
    QString text;
    for (quint64 n : numbers) {
        if (n == 0)
            continue;
        text += text.isEmpty()
            ? t(L("AhnentafelNumber")) + (numbers.size() > 1 ? QStringLiteral("s") : QString()) + QStringLiteral(" = ")
            : QStringLiteral(", ");
        text += numberText(n, m_binaryNumbers);
    }
    return QStringLiteral(", ") + text;
}

void NarrativePersonWriter::printPersonsBirthMarriageAndDeathInfo(FTPerson* person, int g, int w)
{
    const QString at = QLatin1Char(' ') + t(L("ConjunctiveAt")) + QLatin1Char(' ');
    QString s = QStringLiteral("\\pard\\plain \\s5\\f0\\fs20\\li%1\\b0 ").arg((g + 1) * w) + kCrLf;

    const FTEvent* birth = person->birth();
    s += t(L("BirthShort")) + QLatin1Char('.');
    if (!m_options.bIncludeLivingBirthDates && person->isLiving()) {
        s += t(isAliveText());
    } else {
        if (const QString date = eventText(birth, &FTEvent::date); !date.isEmpty())
            s += QLatin1Char(' ') + t(date);
        if (const QString place = eventText(birth, &FTEvent::place); !place.isEmpty())
            s += at + t(place);
    }
    s += QStringLiteral(" \\par ") + kCrLf;

    const QList<FTSpouseRel*> couples = person->spouseRelsArray();
    for (qsizetype i = 0; i < couples.size(); ++i) {
        const FTSpouseRel* couple = couples[i];
        const FTEvent* marriage = couple->marriage();
        s += marriage ? t(L("MarriageShort")) + QLatin1Char('.') : QStringLiteral("+.");
        if (couples.size() > 1)
            s += QStringLiteral("(%1)").arg(i + 1);
        if (const QString date = eventText(marriage, &FTEvent::date); !date.isEmpty())
            s += QLatin1Char(' ') + t(date);
        const FTPerson* partner = couple->partnerOf(person);
        s += QLatin1Char(' ') + t(partner ? partner->name() : QString()) + QLatin1Char(' ');
        if (const QString place = eventText(marriage, &FTEvent::place); !place.isEmpty())
            s += at + t(place);
        s += QStringLiteral("\\par ") + kCrLf;
    }

    const FTEvent* death = person->death();
    s += t(L("DeathShort")) + QLatin1Char('.');
    if (const QString date = eventText(death, &FTEvent::date); !date.isEmpty())
        s += QLatin1Char(' ') + t(date);
    if (const QString place = eventText(death, &FTEvent::place); !place.isEmpty())
        s += at + t(place);
    s += QStringLiteral(" \\par ") + kCrLf;

    const bool byGeneration = m_layout == Layout::ByGeneration;
    auto labelled = [&s, g, w](const QString& label, const QString& value) {
        s += QStringLiteral("\\pard\\plain \\s6\\f0\\fs20\\li%1\\b0 ").arg((g + 1) * w) + kCrLf;
        s += QStringLiteral("\\par ") + kCrLf;
        s += QStringLiteral("\\b ") + t(label) + QStringLiteral(" \\b0 ") + t(value) + QLatin1Char(' ');
        s += QStringLiteral("\\par ") + kCrLf;
    };
    if (const QString title = person->title(); !title.isEmpty())
        labelled(byGeneration ? QStringLiteral("Title/Occupation:") : L("TitleOccu"), title);
    if (const QString cause = person->causeOfDeath(); !cause.isEmpty())
        labelled(byGeneration ? QStringLiteral("Cause of Death:") : L("CauseOfDeath") + QLatin1Char(':'), cause);
    write(s);
}

void NarrativePersonWriter::printRelatives(const QList<FTPerson*>& people, int g, int w, const QString& label)
{
    if (people.isEmpty())
        return;
    QString s = QStringLiteral("\\pard\\plain \\s7\\qj\\f0\\fs20\\li%1\\par \\b0 ").arg((g + 1) * w) + kCrLf;
    s += QStringLiteral("\\b ") + t(m_currentPersonsFirstName) + QStringLiteral("'s ") + t(label)
        + QStringLiteral(": \\b0 ");
    for (qsizetype i = 0; i < people.size(); ++i) {
        const FTPerson* relative = people[i];
        if (i > 0)
            s += QStringLiteral(", ");
        s += t(relative->name());
        const FTEvent* birth = relative->birth();
        if (birth && birth->year() != 0)
            s += QStringLiteral(" (%1)").arg(birth->year());
    }
    s += QStringLiteral("\\b0 \\par ") + kCrLf;
    write(s);
}

void NarrativePersonWriter::printPersonsRelatives(FTPerson* person, int g, int w)
{
    printRelatives(person->naturalGrandParents(), g, w, L("Grandparents"));
    printRelatives(person->grandChildren(), g, w, L("Grandchildren"));
    printRelatives(person->greatGrandChildren(), g, w, L("GGrandchildren"));
    printRelatives(person->parentsInLaw(), g, w, L("ParentsInLaw"));
    printRelatives(person->auntsAndUncles(), g, w, L("AuntsAndUncles"));
    printRelatives(person->cousins(), g, w, L("Cousins"));
    printRelatives(person->siblingsInLaw(), g, w, L("SiblingsInLaw"));
    printRelatives(person->nephewsAndNieces(), g, w, L("NephewsAndNieces"));
}

void NarrativePersonWriter::printPersonsSourceReferences(FTPerson* person, int g, int w)
{
    QList<FTSourceRel*> citations = person->allSourceRels();
    if (citations.isEmpty())
        return;
    auto number = [](const FTSourceRel* c) { return c->source() ? c->source()->numericId() : 0; };
    std::stable_sort(citations.begin(), citations.end(),
        [&number](const FTSourceRel* a, const FTSourceRel* b) { return number(a) < number(b); });
    QString s = QStringLiteral("\\pard\\plain \\s9\\f0\\fs20\\ql\\li%1\\cf8\\par \\b ").arg((g + 1) * w)
        + t(L("SourceReferences")) + QStringLiteral("\\b0 ") + kCrLf;
    const FTSource* previous = nullptr;
    bool first = true;
    for (const FTSourceRel* citation : citations) {
        const FTSource* source = citation->source();
        if (first || source != previous) {
            QString description = source
                ? source->shortDescriptionWithTitleInItalics([](const QString& text) { return t(text); })
                : QString();
            description.replace(QLatin1Char('\n'), QStringLiteral("  "));
            s += QStringLiteral(" \\par \\par %1. ").arg(number(citation)) + description + QLatin1Char(' ');
        }
        first = false;
        previous = source;
        if (const QString reference = citation->reference(); !reference.isEmpty()) {
            s += QStringLiteral(" \\par  -  Reference = ") + t(reference);
            if (const QString item = citation->itemDescribed(); !item.isEmpty())
                s += QStringLiteral(" (") + t(item) + QLatin1Char(')');
        }
    }
    s += QStringLiteral("\\b0 \\par ") + kCrLf;
    write(s);
}

void NarrativePersonWriter::printPersonsNotes(FTPerson* person, int g, int w)
{
    const QString notes = person->notes().trimmed();
    if (notes.isEmpty())
        return;
    write(QStringLiteral("\\pard\\plain \\s2\\f0\\fs20\\li%1\\cf6\\par \\b ").arg((g + 1) * w) + t(L("NotesHeading"))
        + QStringLiteral("\\b0 \\par \\par ") + RtfWriter::rtfText(notes, true) + QStringLiteral("\\b0 \\par ")
        + kCrLf);
}

void NarrativePersonWriter::printPersonsComments(FTPerson* person, int g, int w)
{
    const QString comments = person->comments().trimmed();
    if (comments.isEmpty())
        return;
    write(QStringLiteral("\\pard\\plain \\s24\\f0\\fs20\\li%1\\cf9\\par\\b ").arg((g + 1) * w) + t(L("CommentsHeading"))
        + QStringLiteral("\\b0 \\par \\par ") + RtfWriter::rtfText(comments, true) + QStringLiteral("\\b0 \\par ")
        + kCrLf);
}

void NarrativePersonWriter::printPersonsEvents(FTPerson* person, int g, int w)
{
    const std::vector<std::unique_ptr<EventInfo>> rows = m_layout == Layout::ByGeneration
        ? person->createEventInfoArray(m_options.includeRelatedEvents)
        : ReportEventList::createEventInfoArray(person, m_options.includeRelatedEvents, m_options.showStepRels);
    const int indent = (g + 1) * w;
    QString s;
    if (!rows.empty()) {
        const QString heading
            = QStringLiteral("%1 %2'%3 %4").arg(L("EventsIn"), person->name(), L("possessiveSuffix"), L("life"));
        s += QStringLiteral("\\pard\\plain \\s23\\f0\\fs20\\li%1\\cf2\\par\\b ").arg(indent) + t(heading)
            + QStringLiteral("\\b0 \\par ") + kCrLf;
        s += QStringLiteral("\\pard\\plain \\s23\\ql\\f0\\fs16\\fi%1\\li%2\\tx%3\\cf2\\par\\b0 ")
                 .arg(-1400)
                 .arg(indent + 1700)
                 .arg(indent + 1400)
            + kCrLf;
    }
    const QString note = t(L("Note"));
    QString endNotes;
    int noteNumber = 0;
    for (const auto& row : rows) {
        const FTEvent* event = row->pEvent();
        const FTPerson* owner = row->owner();
        if (!event)
            continue;
        QString date = event->date();
        if (!m_options.bIncludeLivingBirthDates && event->type() == kBirth && !date.isEmpty() && owner
            && owner->isLiving())
            date = isAliveText();
        const QString place = event->place();
        const int years = event->yearsSince(person->birth());
        const QString age = years > 0 ? QString::number(years) : QStringLiteral(" - ");
        const QString name = row->eventName();
        const QString lds = event->ldsStatusAndTempleCode();
        QString notes = event->notes();
        // A relative's own birth, death or other event keeps its notes to itself; a marriage's are shared.
        const int type = event->type();
        if ((type == kBirth || type == kDeath || type == kOtherPersonal) && owner != person)
            notes.clear();

        s += t(date.leftJustified(12)) + QStringLiteral("\\tab ") + t(age) + QStringLiteral(" - ") + t(name)
            + QStringLiteral("; ") + t(place);
        if (notes.isEmpty()) {
            if (!lds.isEmpty())
                s += QStringLiteral("; ") + t(lds);
        } else if (m_options.showEventNotesAsEndnotes) {
            ++noteNumber;
            s += QLatin1Char(' ') + t(lds) + QStringLiteral(" (%1.%2)").arg(note).arg(noteNumber);
            endNotes += QStringLiteral("\\par (%1.%2) ").arg(note).arg(noteNumber) + RtfWriter::rtfText(notes, true)
                + QStringLiteral(" \\par ");
        } else {
            notes.replace(QLatin1Char('\n'), QLatin1Char(' '));
            s += QLatin1Char(' ') + t(lds) + QStringLiteral(". ") + RtfWriter::rtfText(notes, true);
        }
        s += QStringLiteral(" \\par ") + kCrLf;
    }
    s += endNotes + QStringLiteral(" \\b0 \\par ") + kCrLf;
    write(s);
}
