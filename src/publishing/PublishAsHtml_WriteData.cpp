// The person page: head, heading, context diagram, ancestors page, pictures section, description and footer.

#include "publishing/PublishAsHtml.h"

#include "publishing/HtmlWords.h"

#include "publishing/HtmlContextDiagram.h"
#include "publishing/HtmlEscape.h"
#include "publishing/HtmlFileWriter.h"
#include "publishing/HtmlPictures.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"
#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "shell/Utils.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace {
const QString& L(const char* key)
{
    return htmlWord(key);
}
QString T(const QString& text)
{
    return HtmlEscape::text(text);
}
QString A(const QString& text)
{
    return HtmlEscape::attribute(text);
}
// A class attribute: the text of its key, so that the pages and the style sheet agree.
QString css(const char* key)
{
    return HtmlEscape::attribute(L(key));
}

const QString kProductWebSite = QStringLiteral("https://kinloom.org");

const QLatin1String kDoctype("<!DOCTYPE HTML PUBLIC '-//W3C//DTD HTML 4.0//EN' \n"
                             " 'http://www.w3.org/TR/REC-html40/strict.dtd'>\n");
} // namespace

// ---- References -------------------------------------------------------------------------------------------------

bool PublishAsHtml::isLinkable(const FTPerson* person) const
{
    return person && m_peopleSet.contains(const_cast<FTPerson*>(person)) && !m_privacy->isHidden(person);
}

QString PublishAsHtml::referenceTo(const FTPerson* person) const
{
    const QString word = m_privacy->privacyWordFor(person);
    if (!word.isEmpty())
        return T(word);
    if (!m_peopleSet.contains(const_cast<FTPerson*>(person)))
        return T(person->nameWithBirthAndDeathYears());
    return QStringLiteral("<a href='%1'>  %2</a>").arg(pageLinkTo(person), T(person->nameWithBirthAndDeathYears()));
}

QString PublishAsHtml::referenceToEvent(const FTEvent* event) const
{
    if (!event)
        return {};
    const QString link = HtmlEscape::httpLink(event->googleMapUrl());
    if (link.isEmpty())
        return {};
    return QStringLiteral("<a href='%1'>%2</a>").arg(link, T(event->place()));
}

QString PublishAsHtml::placeReferenceFor(const FTEvent* event) const
{
    if (!event)
        return {};
    const QString linked = referenceToEvent(event);
    return linked.isEmpty() ? T(event->place()) : linked;
}

QString PublishAsHtml::cleanHtmlString(const QString& text)
{
    return HtmlEscape::multiline(text);
}

// ---- Head, heading and footer -----------------------------------------------------------------------------------

QString PublishAsHtml::documentHead(const QString& title) const
{
    QString out = kDoctype;
    out += QStringLiteral("<html>\n<head>\n<meta http-equiv='content-type' content='text/html; charset=utf-8' />\n"
                          "<meta name='viewport' content='width=device-width, user-scalable=yes' />\n"
                          "<title>%1</title>\n<link rel='stylesheet' href='../../%2' type='text/css'></link>\n")
               .arg(T(title), A(QFileInfo(m_cssFilename).fileName()));
    return out;
}

QString PublishAsHtml::writeHeaderFor(FTPerson* person) const
{
    QString out = documentHead(m_privacy->displayName(person));
    out += personalDataFor(person);
    out += QStringLiteral("</head>\n<body  bgcolor='#%1'>\n").arg(m_hexBgColour);
    if (m_options.centeredOnPage)
        out += QLatin1String("<center>\n");
    out += pageHeadingFor(person);
    return out;
}

QString PublishAsHtml::personalDataFor(FTPerson* person) const
{
    const auto line = [](const char* label, const QString& value) {
        return QStringLiteral("%1: %2\n").arg(L(label), value.isNull() ? QStringLiteral("(null)") : HtmlEscape::comment(value));
    };
    QString out = QStringLiteral("<!--\n");
    out += line("Database", m_modelName);
    out += line("PersonId", QString::number(person->numericId()));
    if (!m_privacy->depersonalizeDetailsOfPerson(person)) {
        out += line("Name", person->name());
        out += line("Gender", person->gender());
        out += line("Title", person->title());
        out += line("FamilyName", person->familyName());
        out += line("Born", person->birth() ? person->birth()->date() : QString());
        out += line("Died", person->death() ? person->death()->date() : QString());
        const int offset = m_now.offsetFromUtc();
        const int minutes = std::abs(offset) / 60;
        out += line("DateGenerated", m_now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss "))
                                         + QString::asprintf("%c%02d%02d", offset < 0 ? '-' : '+', minutes / 60,
                                                             minutes % 60));
    }
    out += QLatin1String("-->\n");
    return out;
}

QString PublishAsHtml::pageHeadingFor(FTPerson* person) const
{
    const bool hidden = m_privacy->depersonalizeDetailsOfPerson(person);
    QString out = QStringLiteral("<table class='%1'>\n").arg(css("cssPageHeadingTable"));
    out += QStringLiteral("<tr><td class='%1'>\n<a href='../../%2'>[%3]</a>\n</td></tr>\n")
               .arg(css("cssIndex"), A(QFileInfo(m_indexFilename).fileName()), T(L("Index")));
    out += QStringLiteral("<tr><td class='%1'>%2</td></tr>\n")
               .arg(css("cssPersonName"), hidden ? T(L("HtmlDepersonalized")) : T(person->nameWithBirthAndDeathYears()));
    if (!hidden && m_options.titleOrOccupation && !person->title().isEmpty())
        out += QStringLiteral("<tr><td class='%1'>\n<b>%2</b>\n</td></tr>").arg(css("cssOccupation"), T(person->title()));
    out += QLatin1String("</table>\n");
    return out;
}

QString PublishAsHtml::pageFooter() const
{
    const QString today = QLocale::c().toString(m_now.date(), QStringLiteral("dd MMM yyyy"));
    // The footer names the program, never the platform it runs on.
    const QString line = m_options.includeKinloomFooter
                             ? QStringLiteral("%1 %2 <a href='%3'>%4\u2122</a> %5 %6")
                                   .arg(L("CreatedOnAMac"), L("using"), kProductWebSite, Prompts::kAlertTitle,
                                        L("ConjunctiveOn"), today)
                             : QStringLiteral("%1 %2").arg(L("CreatedOn"), today);
    return QStringLiteral("<table class='%1'>\n<tr><td><hr/></td></tr>\n<tr><td>%2</td></tr>\n</table>\n")
        .arg(css("cssPageFooter"), line);
}

// ---- The page ---------------------------------------------------------------------------------------------------

void PublishAsHtml::createHtmlWebPageFor(FTPerson* person)
{
    setBackgroundColour();
    if (m_privacy->suppressDetailsOfPerson(person))
        return;
    const QString path = m_directory + QLatin1Char('/') + pagePathFor(person);
    QString page;
    page.reserve(8192);
    page += writeHeaderFor(person);
    if (m_options.includeContextDiagram)
        page += writeCdDiagramFor(person);
    if (m_options.ancestorsTables) {
        const QString ancestors = writeAncestorsTableFor(person);
        if (!ancestors.isEmpty())
            page += QStringLiteral("<table class='notesTable'>\n<tr><td>\n<a href='../../%1/%2'>%3</a>\n"
                                   "</td></tr>\n</table>\n")
                        .arg(numberedFolder("HtmlDirAncestorsTables", folderNumberFor(person)),
                             QFileInfo(ancestors).fileName(), T(L("SixGenAncTable")));
    }
    page += generatePicturesFor(person);
    page += writeDescriptionFor(person, -1);
    page += pageFooter();
    if (m_options.centeredOnPage)
        page += QLatin1String("</center>\n");
    page += QLatin1String("</body>\n</html>\n");
    if (!m_failed)
        m_files->write(path, page.toUtf8());
}

// ---- Context diagram --------------------------------------------------------------------------------------------

QString PublishAsHtml::writeCdDiagramFor(FTPerson* person)
{
    if (m_options.tabularContextDiagram || !m_contextDiagram) {
        m_maxAncLevel = m_options.cdDiagramGenerations;
        return createTableFor(person, m_maxAncLevel);
    }
    QList<HtmlDiagramBox> boxes;
    std::function<QImage()> draw = m_contextDiagram->prepareContextDiagramFor(*this, person, &boxes);
    if (!draw)
        return {};
    const QString folder = numberedFolder("HtmlDirDiagrams", folderNumberFor(person));
    const QString file = filenameForPerson(person) + QStringLiteral("_cd.jpg");
    // Drawn, encoded (JPEG, quality 40) and written on a worker thread while the next page is made.
    if (!m_failed)
        m_files->writeJpeg(m_directory + QLatin1Char('/') + folder + QLatin1Char('/') + file, std::move(draw), 40);
    return QStringLiteral("%1\n<table class='%2'>\n<tr><td><img src='../../%3/%4' alt='%5' usemap='#cdDiagram'/>"
                          "</td></tr>\n</table>\n")
        .arg(hotSpotsForCdDiagram(person, boxes), css("cssContextDiagram"), folder, file,
             A(m_privacy->fullName(person)));
}

QString PublishAsHtml::hotSpotsForCdDiagram(FTPerson* person, const QList<HtmlDiagramBox>& boxes) const
{
    QString out = QStringLiteral("<map id='cdDiagram' name='cdDiagram'>\n");
    for (const HtmlDiagramBox& box : boxes) {
        if (!box.person || box.person == person || !isLinkable(box.person))
            continue;
        out += QString::asprintf("<area shape='rect' coords='%0.0f,%0.0f,%0.0f,%0.0f' href='", box.rect.x(),
                                 box.rect.y(), box.rect.x() + box.rect.width(), box.rect.y() + box.rect.height());
        out += pageLinkTo(box.person) + QStringLiteral("' alt='") + A(m_privacy->fullName(box.person))
               + QStringLiteral("' />\n");
    }
    out += QLatin1String("</map>");
    return out;
}

QString PublishAsHtml::writeAncestorsTableFor(FTPerson* person)
{
    const QString path = m_directory + QLatin1Char('/') + numberedFolder("HtmlDirAncestorsTables", folderNumberFor(person))
                         + QLatin1Char('/') + filenameForPerson(person) + QStringLiteral("_Anc.html");
    QString page = documentHead(m_privacy->displayName(person));
    page += QStringLiteral("</head>\n<body  bgcolor='#%1'>\n").arg(m_hexBgColour);
    page += pageHeadingFor(person);
    page += createTableFor(person, 6);
    page += pageFooter();
    page += QLatin1String("</body>\n</html>\n");
    return writeFile(path, page) ? path : QString();
}

// ---- Pictures ---------------------------------------------------------------------------------------------------

QString PublishAsHtml::generatePicturesFor(FTPerson* person)
{
    if (!m_pictures)
        return {};
    HtmlPicturesSection section;
    section.msPics = QStringLiteral("<table class='picturesTable'>\n<tr><td>");
    int count = 0;
    if (m_options.defaultPictureOfPerson)
        count = m_pictures->writeDefaultPictureFor(*this, person, section, QStringLiteral("P1"));
    if (m_options.picturesOfSpouses)
        count += m_pictures->writePicturesOfSpousesOf(*this, person, section);
    if (m_options.picturesOfChildren)
        count += m_pictures->writePicturesOfChildrenOf(*this, person, section);
    if (m_options.allPicturesOfPerson) {
        if (count > 0)
            section.msPics += QLatin1String("</td></tr>\n<tr>\n<td><hr/>\n");
        const int all = m_pictures->writeAllPicturesFor(*this, person, section);
        if (all > 0) {
            count += all;
            section.msPics += QLatin1String("<hr/>");
        }
    }
    section.msPics += QLatin1String("</td></tr></table>\n");
    QString out;
    if (count > 0)
        out += section.msPics;
    if (!section.imageMaps.isEmpty())
        out += section.imageMaps;
    if (!section.notes.isEmpty() && m_options.includeNotesForPictures) {
        // The writers gather the notes already escaped; their line feeds become breaks here.
        QString notes = section.notes;
        notes.replace(QLatin1Char('\n'), QStringLiteral("<br/>"));
        out += QStringLiteral("<table class='notesTable'>\n<tr><td>\n") + notes + QStringLiteral("</td></tr>\n</table>\n");
    }
    return out;
}

// ---- Description ------------------------------------------------------------------------------------------------

QString PublishAsHtml::writeDescriptionFor(FTPerson* person, int options)
{
    Q_UNUSED(options); // every section follows the user's options
    if (m_privacy->depersonalizeDetailsOfPerson(person))
        return {};
    QString out;
    if (m_options.includeBDMInfo)
        writeBDMInfoFor(person, out);
    if (m_options.causeOfDeath)
        writeCauseOfDeathFor(person, out);
    if (!m_options.includeNearRelatives) {
        if (m_options.includeParents) {
            writeParentsOf(person, FTPcRel::kNatural, out);
            if (m_options.includeStepRels)
                writeParentsOf(person, FTPcRel::kStep, out);
            if (m_options.includeAdoptedRels)
                writeParentsOf(person, FTPcRel::kAdopted, out);
        }
        if (m_options.includeSiblings)
            writeSiblingsOf(person, out);
        if (m_options.includeChildren) {
            writeChildrenOf(person, FTPcRel::kNatural, out);
            if (m_options.includeStepRels)
                writeChildrenOf(person, FTPcRel::kStep, out);
            if (m_options.includeAdoptedRels)
                writeChildrenOf(person, FTPcRel::kAdopted, out);
        }
        if (m_options.includeGrandchildren)
            writeGrandchildrenFor(person, out);
    } else {
        writeRelativesOf(person, out);
    }
    if (m_options.includePersonalEvents)
        writeEventsFor(person, out);

    const auto notes = [&out](const char* caption, const QString& text) {
        const QString cleaned = cleanHtmlString(text);
        if (cleaned.isEmpty())
            return;
        out += QStringLiteral("<table class='%1'>\n<tr><td><b>%2:</b></td></tr>\n<tr><td>\n")
                   .arg(css("cssNotesTable"), T(L(caption)));
        out += cleaned;
        out += QLatin1String("</td></tr>\n</table>\n");
    };
    if (m_options.includeBirthNotes && !m_options.includeEventNotes && person->birth())
        notes("BirthNotes", person->birth()->notes());
    if (m_options.includeDeathNotes && !m_options.includeEventNotes && person->death())
        notes("DeathNotes", person->death()->notes());
    if (m_options.includeNotes)
        notes("PersonalNotes", person->notes());
    if (m_options.includeComments)
        notes("Comments", person->comments());
    if (m_options.includeSources)
        writeSourcesFor(person, out);
    return out;
}

void PublishAsHtml::writeBDMInfoFor(FTPerson* person, QString& out) const
{
    out += QStringLiteral("<table class='%1'>\n").arg(css("cssBDMTable"));
    const auto lifeEvent = [&](const FTEvent* event, const char* word, bool withAge) {
        const QString date = event ? event->date() : QString();
        const QString place = event ? event->place() : QString();
        if (date.isEmpty() && place.isEmpty())
            return;
        out += QStringLiteral("<tr><td>%1. ").arg(T(L(word)));
        if (!date.isEmpty())
            out += T(date);
        if (!place.isEmpty())
            out += QStringLiteral(" %1 %2").arg(T(L("ConjunctiveAt")), placeReferenceFor(event));
        if (withAge) {
            const QString age = person->ageAtDeath();
            if (!age.isEmpty() && age != QLatin1String(" "))
                out += QStringLiteral(" %1 %2").arg(T(L("AgedAtDeath")), T(age));
        }
        out += QLatin1String("</td></tr>\n");
    };
    lifeEvent(person->birth(), "BirthShort", false);

    const QList<FTSpouseRel*> couples = person->spouseRelsArray();
    for (qsizetype i = 0; i < couples.size(); ++i) {
        FTSpouseRel* couple = couples[i];
        FTEvent* marriage = couple->marriage();
        FTPerson* partner = couple->partnerOf(person);
        out += marriage ? QStringLiteral("<tr><td>%1. ").arg(T(L("MarriageShort"))) : QStringLiteral("<tr><td>+. ");
        if (couples.size() > 1)
            out += QStringLiteral("(%1)").arg(i + 1);
        const QString word = partner ? m_privacy->marriageWordFor(partner) : QString();
        if (!word.isEmpty()) {
            out += QLatin1Char(' ') + T(word);
        } else {
            const QString date = marriage ? marriage->date() : QString();
            if (!date.isEmpty())
                out += QLatin1Char(' ') + T(date);
            if (partner) {
                if (m_peopleSet.contains(partner))
                    out += referenceTo(partner);
                else
                    out += QLatin1Char(' ') + T(partner->nameWithBirthAndDeathYears());
            }
            if (marriage && !marriage->place().isEmpty())
                out += QStringLiteral(" %1 %2").arg(T(L("ConjunctiveAt")), placeReferenceFor(marriage));
        }
        out += QLatin1String("</td></tr>\n");
    }

    lifeEvent(person->death(), "DeathShort", true);
    out += QLatin1String("</table>\n");
}

void PublishAsHtml::writeCauseOfDeathFor(FTPerson* person, QString& out) const
{
    if (m_privacy->depersonalizeDetailsOfPerson(person) || person->causeOfDeath().isEmpty())
        return;
    out += QStringLiteral("<table class='%1'>\n<tr><td><b>%2:</b></td></tr>\n<tr><td>%3</td></tr>\n</table>")
               .arg(css("cssBDMTable"), T(L("CauseOfDeath")), T(person->causeOfDeath()));
}

namespace {
QString parentsCaption(int type)
{
    switch (type) {
    case FTPcRel::kNatural:
        return L("Parents");
    case FTPcRel::kStep:
        return QStringLiteral("%1 %2").arg(L("Step"), L("Parents"));
    case FTPcRel::kFoster:
        return QStringLiteral("%1 %2").arg(L("Foster"), L("Parents"));
    case FTPcRel::kAdopted:
        return L("StoryAdoptedParents");
    default:
        return QStringLiteral("??_%1").arg(L("Parents"));
    }
}

QString childrenCaption(int type)
{
    switch (type) {
    case FTPcRel::kNatural:
        return L("Children");
    case FTPcRel::kStep:
        return QStringLiteral("%1 %2").arg(L("Step"), L("Children"));
    case FTPcRel::kFoster:
        return QStringLiteral("%1 %2").arg(L("Foster"), L("Children"));
    case FTPcRel::kAdopted:
        return QStringLiteral("%1 %2").arg(L("Adopted"), L("Children"));
    default:
        return QStringLiteral("??_%1").arg(L("Children"));
    }
}
} // namespace

void PublishAsHtml::writeParentsOf(FTPerson* person, int type, QString& out) const
{
    const QList<FTPerson*> parents = person->parentsOfType(type);
    if (parents.isEmpty())
        return;
    out += QStringLiteral("<table class='%1'>\n<tr><td><b>%2:</b></td></tr>\n<tr>\n")
               .arg(css("cssPcTable"), T(parentsCaption(type)));
    for (FTPerson* parent : parents)
        if (!m_privacy->suppressDetailsOfPerson(parent))
            out += QStringLiteral("<tr><td>%1</td></tr>\n").arg(referenceTo(parent));
    out += QLatin1String("</table>\n");
}

namespace {
void writeRelativesTable(const PublishAsHtml& generator, const QString& caption, const QList<FTPerson*>& people,
                         QString& out)
{
    if (people.isEmpty())
        return;
    out += QStringLiteral("<table class='%1'>\n<tr><td><b>%2 (%3): </b></td></tr>\n<tr>\n")
               .arg(css("cssPcTable"), T(caption), QString::number(people.size()));
    for (FTPerson* p : people)
        if (!generator.privacy().suppressDetailsOfPerson(p))
            out += QStringLiteral("<tr><td>%1</td></tr>\n").arg(generator.referenceTo(p));
    out += QLatin1String("</table>\n");
}
} // namespace

void PublishAsHtml::writeChildrenOf(FTPerson* person, int type, QString& out) const
{
    writeRelativesTable(*this, childrenCaption(type), person->childrenOfType(type), out);
}

void PublishAsHtml::writeSiblingsOf(FTPerson* person, QString& out) const
{
    writeRelativesTable(*this, L("Siblings"), person->siblings(), out);
}

void PublishAsHtml::writeGrandchildrenFor(FTPerson* person, QString& out) const
{
    const QList<FTPerson*> grandchildren = person->grandChildren();
    if (grandchildren.isEmpty())
        return;
    out += QStringLiteral("<table class='%1'>\n<tr><td><b>%2 (%3): </b></td></tr>\n<tr>\n<td>\n")
               .arg(css("cssPcTable"), T(L("Grandchildren")), QString::number(grandchildren.size()));
    bool first = true;
    for (FTPerson* p : grandchildren) {
        if (m_privacy->suppressDetailsOfPerson(p))
            continue;
        // Separators between the names written, so that a left-out first grandchild leaves no stray comma.
        if (!first)
            out += QLatin1String(", \n");
        first = false;
        out += referenceTo(p);
    }
    out += QLatin1String("</td>\n</tr>\n</table>\n");
}
