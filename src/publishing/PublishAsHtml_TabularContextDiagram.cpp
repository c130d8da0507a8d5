// The context diagram as a table: the person's natural children, the person with the spouses, and a pedigree grid
// of natural ancestors with row spans. Also the body of the six-generation ancestors pages.

#include "publishing/PublishAsHtml.h"

#include "publishing/HtmlEscape.h"
#include "publishing/HtmlWords.h"

#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "platform/Localizer.h"

namespace {
QString L(const char* key)
{
    return HtmlEscape::text(htmlWord(key));
}
QString N(qint64 n)
{
    return QString::number(n);
}
// A grid of 2^N rows: more generations than this would make pages of millions of cells.
constexpr int kMostGenerations = 12;
} // namespace

QString PublishAsHtml::createTableFor(FTPerson* person, int maxAncLevel) const
{
    const int n = std::clamp(maxAncLevel, 1, kMostGenerations);
    QString out;
    out += QStringLiteral("<table class='%1' cols='%2'>\n")
               .arg(n <= 3 ? QStringLiteral("contextDiagram") : QStringLiteral("ancestorsTable"), N(n + 2));
    out += QLatin1String("<tr>\n");
    out += QStringLiteral("<td><b>%1</b></td>\n").arg(L("Children"));
    out += QStringLiteral("<td><b>%1 + %2</b></td>\n").arg(L("Self"), L("Spouses"));
    out += QStringLiteral("<td><b>%1</b></td>\n").arg(L("Parents"));
    if (n > 1)
        out += QStringLiteral("<td><b>%1</b></td>\n").arg(L("Grandparents"));
    if (n > 2)
        out += QStringLiteral("<td><b>%1</b></td>\n").arg(L("Greatgrandparents"));
    for (int k = 4; k <= n; ++k)
        out += QStringLiteral("<td><b>%1%2%3</b></td>\n").arg(N(k - 2), L("generationalAbbrev"), L("Grandparents"));
    out += QLatin1String("</tr>\n");

    const QString rows = N(qint64(1) << n);
    out += QStringLiteral("<tr>\n<td  nowrap rowspan='%1'>\n").arg(rows);
    for (const FTPerson* child : person->childrenOfType(FTPcRel::kNatural))
        out += referenceTo(child) + QStringLiteral("<br/>\n");
    out += QLatin1String("</td>\n");

    // The person is not linked: the table sits on the person's own page.
    out += QStringLiteral("<td align='center' rowspan='%1'>").arg(rows);
    out += HtmlEscape::text(m_privacy->displayName(person));
    const QList<FTPerson*> spouses = person->spouses();
    for (qsizetype i = 0; i < spouses.size(); ++i) {
        if (i == 0)
            out += QLatin1String("<br/><br/>+<br/>");
        out += QStringLiteral("<br/>") + referenceTo(spouses[i]) + QStringLiteral("<br/>");
    }
    out += QLatin1String("</td>\n");

    recurseAddAncestors(person, n, 0, out);
    out += QLatin1String("</table>\n");
    return out;
}

void PublishAsHtml::recurseAddAncestors(const FTPerson* person, int maxAncLevel, int level, QString& out) const
{
    const int next = level + 1;
    if (next > maxAncLevel) {
        out += QLatin1String("</tr>\n");
        return;
    }
    const QString span = N(qint64(1) << (maxAncLevel - next));
    const FTPerson* father = person ? person->naturalFather() : nullptr;
    const FTPerson* mother = person ? person->naturalMother() : nullptr;
    out += QStringLiteral("<td rowspan='%1'>").arg(span);
    out += father ? referenceTo(father) : QStringLiteral("<br/><br/>");
    out += QLatin1String("</td>\n");
    recurseAddAncestors(father, maxAncLevel, next, out);
    out += QStringLiteral("<tr><td rowspan='%1'>").arg(span);
    out += mother ? referenceTo(mother) : QStringLiteral("<br/><br/>");
    out += QLatin1String("</td>\n");
    recurseAddAncestors(mother, maxAncLevel, next, out);
}
