// The styled text of a hierarchy box, the name and spouse texts of its lines, and the pictures in it.
#include "diagrams/HierarchyLayout.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSpouseRel.h"
#include "model/Hierarchy.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextOption>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace {
constexpr QChar kNoBreakSpace(0x00A0);
const QColor kDarkGrey(0x55, 0x55, 0x55);

constexpr qsizetype kNotesLimit = 256;
constexpr qsizetype kLineLimit = 10000;

int yearOf(const FTEvent* event)
{
    return event ? event->year() : 0;
}

// The first `n` characters, one fewer when the cut would split a surrogate pair.
QString leftWhole(const QString& text, qsizetype n)
{
    if (n > 0 && n < text.size() && text.at(n - 1).isHighSurrogate())
        --n;
    return text.left(n);
}

// Each paragraph cut to one line at `width`, with an ellipsis where it is cut.
QString elided(const QString& text, const QFont& font, double width)
{
    const QFontMetricsF metrics(font);
    QStringList paragraphs = text.split(QLatin1Char('\n'));
    for (QString& p : paragraphs)
        p = metrics.elidedText(p, Qt::ElideRight, std::max(1.0, width));
    return paragraphs.join(QLatin1Char('\n'));
}
}

QColor HierarchyLayout::fgColour(const QString& tagText) const
{
    const HdTags::Tag tag = m_tags.tagOf(tagText);
    if (m_options.blackAndWhite)
        return tag == HdTags::Notes ? kDarkGrey : QColor(Qt::black);
    switch (tag) {
    case HdTags::Name:
    case HdTags::Refer:
        return m_options.nameColour;
    case HdTags::Father:
    case HdTags::Mother:
        return kDarkGrey;
    case HdTags::Title:
        return m_options.titleColour;
    case HdTags::IdNo:
        return m_options.idNoColour;
    case HdTags::Birth:
        return m_options.birthColour;
    case HdTags::Spouse:
        return m_options.spouseColour;
    case HdTags::Death:
        return m_options.deathColour;
    case HdTags::Notes:
        return m_options.notesColour;
    case HdTags::SiblingsList:
        return m_options.siblingsColour;
    case HdTags::SpousesAncestorsList:
        return m_options.spousesAncestorsColour;
    default:
        return Qt::black;
    }
}

QString HierarchyLayout::getPersonsNameString(FTPerson* person) const
{
    const QString name = person->shortName();
    if (!m_options.nameOnly && m_options.birthInfo)
        return name; // the birth line carries the date
    int born = yearOf(person->birth());
    const int died = yearOf(person->death());
    if (m_options.excludeBirthDatesOfLiving && person->isLiving())
        born = 0;
    if (born == 0 && died == 0)
        return name;
    return name + (m_bHorizontal ? QStringLiteral(" ") : QStringLiteral("\n")) + QLatin1Char('(')
        + (born ? QString::asprintf("%04d", born) : QString()) + kNoBreakSpace + QLatin1Char('-') + kNoBreakSpace
        + (died ? QString::asprintf("%04d", died) : QString()) + QLatin1Char(')');
}

QString HierarchyLayout::getSpouseStringFrom(const QList<FTSpouseRel*>& couples, FTPerson* person, int index) const
{
    const FTSpouseRel* couple = couples.value(index);
    if (!couple)
        return {};
    FTPerson* spouse = couple->partnerOf(person);
    const FTEvent* marriage = couple->marriage();
    const QString date = marriage ? marriage->date() : QString();
    const QString how = marriage ? word("MarriageShort") : QStringLiteral("+");
    QString text = couples.size() == 1
        ? QStringLiteral("%1:%2. ").arg(m_tags.word(HdTags::Spouse), how)
        : QStringLiteral("%1:%2(%3) ").arg(m_tags.word(HdTags::Spouse), how, QString::number(index + 1));
    if (!date.isEmpty())
        text += date + QLatin1Char(' ');
    if (!spouse)
        return text;
    text += (m_options.fullName ? spouse->name() : spouse->shortName()) + QLatin1Char(' ');
    int born = yearOf(spouse->birth());
    const int died = yearOf(spouse->death());
    if (m_options.excludeBirthDatesOfLiving && spouse->isLiving())
        born = 0;
    if (born != 0 || died != 0)
        text += QStringLiteral(" (") + (born ? QString::number(born) : QString()) + kNoBreakSpace + QLatin1Char('-')
            + kNoBreakSpace + (died ? QString::number(died) : QString()) + QLatin1Char(')');
    return text;
}

QImage HierarchyLayout::defaultPictureForPerson(FTPerson* person)
{
    auto cached = m_pictures.constFind(person);
    if (cached != m_pictures.constEnd())
        return *cached;
    QImage picture;
    const FTPicture* chosen = person->defaultPicture();
    const double available = m_columnWidth - 12.0;
    const bool map = chosen && m_options.excludeMaps && chosen->filename().contains(QStringLiteral("/Map_"));
    const QImage thumbnail = chosen && !map ? thumbnailOf(person) : QImage();
    if (!thumbnail.isNull() && available >= 50.0) {
        QSizeF size = thumbnail.size();
        if (size.width() > available)
            size = QSizeF(available, size.height() * available / size.width());
        const QSize pixels(std::max(1, int(std::lround(size.width()))), std::max(1, int(std::lround(size.height()))));
        picture = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QRectF(QPointF(0, 0), QSizeF(pixels)), thumbnail);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        if (m_options.spousePictures) {
            // The first name in a strip along the foot, so that a spouse's picture says whose it is.
            const QRectF strip(0, pixels.height() - 14.0, pixels.width(), 13.0);
            painter.fillRect(strip, Qt::gray);
            QFont font(QStringLiteral("Arial"));
            font.setPointSizeF(10);
            painter.setFont(font);
            painter.setPen(Qt::white);
            painter.drawText(strip, Qt::AlignCenter, QStringLiteral(" %1 ").arg(person->firstName()));
        }
        painter.setPen(QPen(Qt::black, 0.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(0.25, 0.25, pixels.width() - 0.5, pixels.height() - 0.5));
    }
    m_pictures.insert(person, picture);
    return picture;
}

HierarchyLayout::BoxText HierarchyLayout::boxTextFor(Hierarchy* node, bool includePicture)
{
    BoxText box;
    if (!node)
        return box;
    box.lines = node->lines();
    // A parent line only where the owner's box leaves the other parent open: under a parent with several
    // spouses in a descendants diagram.
    if (!m_bAncestors && node->owner()) {
        const FTPerson* parent = node->owner()->person();
        if (parent->spouseRelsArray().size() > 1) {
            box.showMother = parent->isMale();
            box.showFather = !box.showMother;
        }
    }
    box.includePicture = includePicture;
    FTMoc* moc = node->person() ? node->person()->moc() : nullptr;
    for (const QString& line : std::as_const(box.lines)) {
        if (line.size() > kLineLimit)
            box.truncatedNote = word("TruncatedAt10k");
        if (!includePicture || !moc || !HdTags::hasTag(line))
            continue;
        const HdTags::Tag tag = m_tags.tagOf(HdTags::tagText(line));
        if (tag != HdTags::Picture && tag != HdTags::SpousePicture)
            continue;
        const QString uri = HdTags::text(line);
        if (auto* whose = dynamic_cast<FTPerson*>(moc->objectForURI(uri))) {
            const QImage image = defaultPictureForPerson(whose);
            if (!image.isNull())
                box.pictures.insert(uri, image);
        }
    }
    return box;
}

std::unique_ptr<QTextDocument> HierarchyLayout::getAttributedStringFor(Hierarchy* node, bool includePicture)
{
    auto document = std::make_unique<QTextDocument>();
    fillDocument(*document, boxTextFor(node, includePicture));
    return document;
}

void HierarchyLayout::fillDocument(QTextDocument& target, const BoxText& box) const
{
    QTextDocument* document = &target;
    document->setUndoRedoEnabled(false);
    document->setDocumentMargin(0);
    // The text keeps clear of the box's sides; measured and drawn alike.
    QTextFrameFormat frame = document->rootFrame()->frameFormat();
    frame.setLeftMargin(kTextPadding);
    frame.setRightMargin(kTextPadding);
    document->rootFrame()->setFrameFormat(frame);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(m_pointSize);
    document->setDefaultFont(font);

    const bool truncate = m_options.sizeToWidth || m_options.truncateLines;
    const double width = (m_bHorizontal ? m_columnWidth - m_pointSize : m_columnWidth - 1.0) - 2 * kTextPadding;
    if (truncate) {
        QTextOption option = document->defaultTextOption();
        option.setWrapMode(QTextOption::NoWrap);
        document->setDefaultTextOption(option);
    }
    QTextCharFormat baseChars;
    baseChars.setFont(font);
    baseChars.setForeground(Qt::black);
    QTextBlockFormat baseParagraph;
    baseParagraph.setLineHeight(2.0, QTextBlockFormat::LineDistanceHeight);
    if (m_bHorizontal) {
        // Continuation lines are indented.
        baseParagraph.setLeftMargin(m_pointSize);
        baseParagraph.setTextIndent(-m_pointSize);
    }

    QTextCursor cursor(document);
    cursor.beginEditBlock(); // one change for the layout to take in, not one a line
    cursor.setBlockFormat(baseParagraph);
    cursor.setCharFormat(baseChars);
    int pictures = 0;
    int spousePictures = 0;
    const QStringList& lines = box.lines;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (!HdTags::hasTag(line))
            continue;
        const QString tagText = HdTags::tagText(line);
        const HdTags::Tag tag = m_tags.tagOf(tagText);
        if ((tag == HdTags::Father && !box.showFather) || (tag == HdTags::Mother && !box.showMother))
            continue;

        if (tag == HdTags::Picture || tag == HdTags::SpousePicture) {
            if (!box.includePicture)
                continue;
            const QString name = HdTags::text(line);
            const QImage image = box.pictures.value(name);
            if (!image.isNull()) {
                ++pictures;
                if (tag == HdTags::SpousePicture)
                    ++spousePictures;
                // A spouse's picture is joined to the person's own; the first one alone says the person has none.
                QString separator;
                if (spousePictures == 1)
                    separator = pictures == 1 ? QStringLiteral("..... +") : QStringLiteral("+");
                else if (spousePictures > 1)
                    separator = QStringLiteral(" ");
                if (!m_bHorizontal) {
                    QTextBlockFormat centred = baseParagraph;
                    centred.setAlignment(Qt::AlignHCenter);
                    cursor.setBlockFormat(centred);
                }
                cursor.insertText(separator, baseChars);
                document->addResource(QTextDocument::ImageResource, QUrl(name), image);
                QTextImageFormat format;
                format.setName(name);
                format.setWidth(image.width());
                format.setHeight(image.height());
                cursor.insertImage(format);
            }
            if (pictures > 0 && i + 1 < lines.size() && HdTags::hasTag(lines[i + 1])) {
                const QString next = HdTags::tagText(lines[i + 1]);
                if (!next.isEmpty() && !m_tags.isPictureTag(next))
                    cursor.insertText(QStringLiteral("\n\n"), baseChars);
            }
            continue;
        }

        QTextCharFormat chars = baseChars;
        chars.setForeground(fgColour(tagText));
        if (tag == HdTags::Name && (m_options.blackAndWhite || m_options.nameBold))
            chars.setFontWeight(QFont::Bold);
        if (tag == HdTags::Siblings)
            chars.setFontUnderline(true);
        QTextBlockFormat paragraph = baseParagraph;
        const bool centred = tag == HdTags::Name || tag == HdTags::Father || tag == HdTags::Mother
            || tag == HdTags::Consanguinity || tag == HdTags::Siblings;
        paragraph.setAlignment(!m_bHorizontal && centred ? Qt::AlignHCenter : Qt::AlignLeft);
        if (tag == HdTags::Notes || (m_bHorizontal && tag == HdTags::Title)) {
            paragraph.setLeftMargin(0);
            paragraph.setTextIndent(0);
        }

        QString text = HdTags::text(line);
        if (tag == HdTags::Notes && m_options.truncateNotes && text.size() > kNotesLimit)
            text = leftWhole(text, kNotesLimit) + QStringLiteral("...");
        else if (text.size() > kLineLimit)
            text = leftWhole(text, kLineLimit) + QStringLiteral("... ") + box.truncatedNote;
        text = text.trimmed();
        if (tag == HdTags::Notes && truncate) {
            const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
            if (end >= 0)
                text.truncate(end);
        }
        if (truncate)
            text = elided(text, chars.font(), width);
        cursor.setBlockFormat(paragraph);
        cursor.insertText(text + QLatin1Char('\n'), chars);
        pictures = spousePictures = 0;
    }
    cursor.endEditBlock();
}
