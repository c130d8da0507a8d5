// The site's index: the main index page (heading, initials line, family names, people), a page per initial when
// the site holds more than 99 people, and the plain list of the people in a file of its own.

#include "publishing/PublishAsHtml.h"

#include "publishing/HtmlWords.h"

#include "publishing/HtmlEscape.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/ModelProgress.h"
#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/store/ReleasingWalk.h"
#include "shell/DisplayMsg.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>

namespace {
const QString& L(const char* key)
{
    return htmlWord(key);
}
QString T(const QString& text)
{
    return HtmlEscape::text(text);
}
QString css(const char* key)
{
    return HtmlEscape::attribute(L(key));
}
QString N(qint64 n)
{
    return QString::number(n);
}
const QLatin1String kDoctype("<!DOCTYPE HTML PUBLIC '-//W3C//DTD HTML 4.0//EN' \n"
                             " 'http://www.w3.org/TR/REC-html40/strict.dtd'>\n");
// The initial of the group of people without a family name.
constexpr char32_t kNoFamilyNameInitial = U'n';
// Above this many people the index is split into a page per initial.
constexpr qsizetype kOnePageIndexLimit = 99;
} // namespace

char32_t PublishAsHtml::FamilyName::initial() const
{
    if (none)
        return kNoFamilyNameInitial;
    const QList<uint> codes = name.toUpper().toUcs4();
    return codes.isEmpty() ? char32_t(' ') : char32_t(codes.first());
}

QString PublishAsHtml::indexFileNameForInitial(char32_t initial)
{
    // People without a family name get a page of its own name: "index_n.html" would be the same file as
    // "index_N.html" on disks and web hosts that ignore case.
    if (initial == kNoFamilyNameInitial)
        return QStringLiteral("index_none.html");
    if ((initial >= U'A' && initial <= U'Z') || (initial >= U'a' && initial <= U'z'))
        return QStringLiteral("index_%1.html").arg(QChar(char16_t(initial)));
    return QStringLiteral("index_%1.html").arg(N(qint64(initial)));
}

PublishAsHtml::FamilyName PublishAsHtml::familyNameOf(const FTPerson* person) const
{
    const QString family = person->familyName();
    if (family.isEmpty())
        return {L("NoFamilyName"), true};
    return {family, false};
}

QList<FTPerson*> PublishAsHtml::createSortedPeopleArray() const
{
    struct Entry {
        FTPerson* person;
        QString family;
        QString name;
        int born;
        int died;
        int id;
    };
    std::vector<Entry> entries;
    entries.reserve(m_peopleSet.size());
    ReleasingWalk walk(*m_moc);
    for (FTPerson* p : m_peopleSet) {
        walk.releasePoint();
        entries.push_back({p, p->familyName(), p->name(), p->birth() ? p->birth()->year() : 0,
                           p->death() ? p->death()->year() : 0, p->numericId()});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        if (const int c = a.family.compare(b.family, Qt::CaseInsensitive))
            return c < 0;
        if (const int c = a.family.compare(b.family))
            return c < 0;
        if (const int c = a.name.compare(b.name, Qt::CaseInsensitive))
            return c < 0;
        if (a.born != b.born)
            return a.born < b.born;
        if (a.died != b.died)
            return a.died < b.died;
        return a.id < b.id;
    });
    QList<FTPerson*> out;
    out.reserve(qsizetype(entries.size()));
    for (const Entry& e : entries)
        out << e.person;
    return out;
}

QList<PublishAsHtml::FamilyName> PublishAsHtml::createFamilyNamesArray(const QList<FTPerson*>& sorted) const
{
    QList<FamilyName> names;
    ReleasingWalk walk(*m_moc);
    for (const FTPerson* p : sorted) {
        walk.releasePoint();
        // Only the people the index lists: a family name no listed person bears would lead nowhere.
        if (m_privacy->isHidden(p))
            continue;
        const FamilyName f = familyNameOf(p);
        if (names.isEmpty() || !(names.last() == f))
            names << f;
    }
    return names;
}

QString PublishAsHtml::writeFamilyNamesInitialsIndex(const QList<FamilyName>& names) const
{
    QString out = QStringLiteral("<table width='%1' border='0' cellspacing='3'>\n<tr><td align='center'>\n")
                      .arg(N(std::min(m_options.cdDiagramWidth, 750)));
    const QString prefix = HtmlEscape::anchor(L("IndexInitial"));
    for (qsizetype i = 0; i < names.size(); ++i) {
        const char32_t initial = names[i].initial();
        if (i > 0 && names[i - 1].initial() == initial)
            continue;
        const QString shown = names[i].none ? L("None") : QString::fromUcs4(&initial, 1);
        out += QStringLiteral("   <a href='#%1_%2'>%3</a>\n").arg(prefix, HtmlEscape::anchor(names[i].name), T(shown));
    }
    out += QLatin1String("</td></tr></table>\n");
    return out;
}

QString PublishAsHtml::createFamilyNameIndex(const QList<FamilyName>& names) const
{
    QString out = writeFamilyNamesInitialsIndex(names);
    const int columns = m_options.oneColumnIndexForiPhone ? 1 : std::max(1, std::min(m_options.cdDiagramWidth, 750) / 100);
    const bool split = m_peopleSet.size() > kOnePageIndexLimit;
    const QString prefix = HtmlEscape::anchor(L("IndexInitial"));
    QString table = QStringLiteral("<table class='%1'>\n<tr><td class='%2' colspan='%3'><b>%4</b></td></tr>\n")
                        .arg(css("cssFamilyNamesTable"), css("cssHeader"), N(columns), T(L("FamilyNames")));
    int k = 0;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const FamilyName& name = names[i];
        const QString anchor = HtmlEscape::anchor(name.name);
        if (k == 0)
            table += QLatin1String("<tr>");
        const QString attribute = i == 0 || names[i - 1].initial() != name.initial()
                                      ? QStringLiteral("name='%1_%2'").arg(prefix, anchor)
                                      : QString();
        const QString page = split ? indexFileNameForInitial(name.initial()) : QString();
        table += QStringLiteral("<td><a hRef='%1#%2' %3>%4</a></td>\n").arg(page, anchor, attribute, T(name.name));
        if (++k == columns) {
            table += QLatin1String("</tr>\n");
            k = 0;
        }
    }
    if (k != 0 && names.size() > columns)
        for (int i = k; i < columns; ++i)
            table += QLatin1String("<td/>");
    if (!table.endsWith(QLatin1String("</tr>\n")))
        table += QLatin1String("</tr>\n");
    table += QLatin1String("</table>\n");
    return out + table;
}

QString PublishAsHtml::writeIndexFileHeader(const QString& fileName) const
{
    QString out = kDoctype;
    out += QStringLiteral("<html>\n<head>\n<meta http-equiv='content-type' content='text/html; charset=utf-8' />"
                          "<meta name='viewport' content='width=device-width, user-scalable=yes' />\n"
                          "<title>%1</title>\n<link rel='stylesheet' href='%2' type='text/css'></link>\n</head>\n")
               .arg(T(m_modelName), HtmlEscape::attribute(QFileInfo(m_cssFilename).fileName()));
    out += QLatin1String("<body bgcolor='#F8FFFF'>\n");
    out += QStringLiteral("<table class='%1'>\n<tr><td class='%2'>").arg(css("cssIndexHeading"), css("cssHomeLine"));
    if (!fileName.contains(QLatin1Char('_')))
        // The home link: publishing the page set puts the user's home page in place of the placeholder.
        out += QStringLiteral("<a href='%1'>[%2]</a>").arg(L("HomePlaceholder"), L("Home"));
    else
        out += QStringLiteral("<a href='index.html'>[Main Index]</a>   <a href='index.html'>[%1]</a>").arg(L("Home"));
    out += QLatin1String("</td></tr>\n");
    if (!m_indexPageTitle.isEmpty())
        out += QStringLiteral("<tr><td class='%1'>%2</td></tr>\n").arg(css("cssPersonName"), T(m_indexPageTitle));
    out += QLatin1String("</table>\n<br/>\n");
    return out;
}

QString PublishAsHtml::writeIndexFileFooter() const
{
    return pageFooter() + QStringLiteral("</body>\n</html>\n");
}

void PublishAsHtml::createIndexForPeople()
{
    QElapsedTimer started;
    started.start();
    status(L("CreatingIndex"));
    const QList<FTPerson*> sorted = createSortedPeopleArray();
    const QList<FamilyName> names = createFamilyNamesArray(sorted);
    const bool split = sorted.size() > kOnePageIndexLimit;
    FTPerson* focal = m_moc ? m_moc->focalPerson() : nullptr;
    // The relationship to the focal person names the focal person: left out when the focal person is hidden.
    const bool consanguinity = m_options.includeConsanguinityInIndex && focal && !m_privacy->isHidden(focal);
    QSet<FTPerson*> ancestors;
    if (consanguinity)
        FTPerson::recurseAncestorsSet(ancestors, {focal});

    QString pageName = QStringLiteral("index.html");
    QString page = writeIndexFileHeader(pageName);
    page += createFamilyNameIndex(names);
    page += QStringLiteral("<table class='%1'>\n").arg(css("cssPeopleIndexTable"));
    bool pageOpen = true;
    bool firstFamily = true;
    std::optional<char32_t> pageInitial;
    std::optional<FamilyName> previous;
    QString list;
    int indexed = 0;
    int shown = 0;
    const auto closePage = [&]() {
        if (!pageOpen)
            return true;
        page += QLatin1String("</table>");
        page += writeIndexFileFooter();
        pageOpen = false;
        return writeFile(m_directory + QLatin1Char('/') + pageName, page);
    };

    ReleasingWalk walk(*m_moc);
    for (qsizetype i = 0; i < sorted.size(); ++i) {
        walk.releasePoint();
        FTPerson* person = sorted[i];
        if (i != 0 && i % 100 == 0)
            status(QStringLiteral("%1 - %2 %3.")
                       .arg(L("CreatingIndex"), estimatedTime(started, int(i), int(sorted.size())), L("remaining")));
        if (m_privacy->isHidden(person))
            continue;
        const FamilyName family = familyNameOf(person);
        if (!previous || !(*previous == family)) {
            if (split && (!pageInitial || *pageInitial != family.initial())) {
                if (!closePage())
                    return;
                pageInitial = family.initial();
                pageName = indexFileNameForInitial(family.initial());
                page = writeIndexFileHeader(pageName);
                page += QStringLiteral("<table class='%1'>\n").arg(css("cssPeopleIndexTable"));
                pageOpen = true;
            }
            page += QStringLiteral("<tr>\n<td>\n<br/><a name='%1'><b>%2</b></a><br/>\n</td>\n")
                        .arg(HtmlEscape::anchor(family.name), T(family.name));
            if (firstFamily) {
                if (m_options.includeTitleInIndex)
                    page += QStringLiteral("<td><b>%1</b></td>\n").arg(T(L("TitOcc")));
                if (consanguinity)
                    page += QStringLiteral("<td><b>%1 %2</b></td>\n").arg(T(L("ConsanguinityWith")), T(focal->name()));
            } else if (m_options.includeTitleInIndex) {
                page += QLatin1String("<td> </td>\n");
            }
            page += QLatin1String("</tr>\n");
            firstFamily = false;
            previous = family;
        }
        const QString path = pagePathFor(person);
        page += QStringLiteral("<tr>\n<td><a href='%1'>%2</a></td>\n")
                    .arg(HtmlEscape::attribute(path), T(person->nameWithBirthAndDeathYears()));
        if (m_options.includeTitleInIndex) {
            QString title = person->title();
            if (title.size() > 50)
                title = title.left(50) + QStringLiteral("...");
            page += QStringLiteral("<td align='left'>%1</td>\n").arg(title.isEmpty() ? QStringLiteral("  ") : T(title));
        }
        if (consanguinity) {
            QString relation = focal->consanguinityWithPerson(person, nullptr, &ancestors);
            if (relation == L("None"))
                relation.clear();
            page += QStringLiteral("<td align='left'>%1</td>\n").arg(T(relation));
        }
        page += QLatin1String("</tr>\n");
        list += QStringLiteral("%1, %2, \"%3\"\n").arg(N(person->numericId()), path, person->name());
        ++indexed;
        const int p = int(100 * i / sorted.size());
        if (p > shown + 1) {
            shown = p;
            percent(p);
        }
    }
    if (pageOpen) {
        page += QLatin1String("</table>\n");
        percent(0);
        page += writeIndexFileFooter();
        pageOpen = false;
        if (!writeFile(m_directory + QLatin1Char('/') + pageName, page))
            return;
    }
    if (!writeFile(m_indexPeopleFilename, list))
        return;

    m_numPeopleInPreview = indexed;
    m_peopleSelected = QStringLiteral("%1 %2 %3 %4 %5.")
                           .arg(L("KinshipChange1"), N(indexed), L("KinshipChange2"), N(m_numPeopleInKinship),
                                L("KinshipChange3"));
    if (indexed == 0 && m_options.excludeLivingPeople && focal)
        DisplayMsg(QStringLiteral("%1 %2 %3 %4")
                       .arg(L("DepersonalizedNoKinship"), N(m_kinship), L("ConjunctiveWith"),
                            focal->nameWithBirthAndDeathYears()));
    FTLog(QStringLiteral("%1 msecs to create the Index").arg(QString::asprintf("%3.3f", double(started.nsecsElapsed()) / 1e6)));
}
