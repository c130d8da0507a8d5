// The index pages' edge cases, and a link check of a whole page set.

#include "PublishFixture.h"

#include "publishing/HtmlContextDiagram.h"

#include <QImage>

namespace {
using WebIndex = PublishFixture;

TEST_F(WebIndex, InitialsOutsideAToZAreNumberedAndPeopleWithoutAFamilyNameComeFirst)
{
    for (int i = 0; i < 98; ++i)
        born(QStringLiteral("Person%1 Abbot").arg(i), M(), 1700, 1760);
    born(QString::fromUtf8("Émile Élan"), M(), 1700, 1760);
    born("Cher", F(), 1700, 1760);
    ASSERT_TRUE(publish(0));
    EXPECT_TRUE(QFileInfo::exists(root() + "/index_201.html"));
    EXPECT_TRUE(QFileInfo::exists(root() + "/index_none.html"));
    EXPECT_FALSE(QFileInfo::exists(root() + "/index_n.html"));
    const QString index = file("index.html");
    EXPECT_TRUE(index.contains(QString::fromUtf8("<td><a hRef='index_201.html#_00C9lan' name='Initial__00C9lan'>Élan</a></td>")));
    EXPECT_LT(index.indexOf("index_none.html"), index.indexOf("index_A.html"));
    EXPECT_TRUE(file("index_201.html").contains(QString::fromUtf8("<a name='_00C9lan'><b>Élan</b></a>")));
}

TEST_F(WebIndex, TitlesAreCutAtFiftyCharactersAndUnrelatedPeopleHaveNoRelationship)
{
    const Family f = makeFamily();
    f.sean->setTitle(QString(60, 'x'));
    FTPerson* stranger = born("Zed Stranger", M(), 1800, 1860);
    options.includeTitleInIndex = true;
    options.includeConsanguinityInIndex = true;
    ASSERT_TRUE(publish(0));
    const QString index = file("index.html");
    EXPECT_TRUE(index.contains("<td align='left'>" + QString(50, 'x') + "...</td>"));
    EXPECT_TRUE(index.contains("<td><b>Title or occupation</b></td>\n<td><b>Relationship to John O'Brien</b></td>"));
    EXPECT_TRUE(index.contains("<td><a href='" + generator->pagePathFor(stranger) +
                               "'>Zed Stranger (1800 - 1860)</a></td>\n<td align='left'>  </td>\n<td align='left'></td>"));
    EXPECT_TRUE(index.contains("<td align='left'>Father of John O'Brien (1850-1920)</td>"));
}

TEST_F(WebIndex, OneColumnOfFamilyNamesForSmallScreens)
{
    const Family f = makeFamily();
    Q_UNUSED(f);
    options.oneColumnIndexForiPhone = true;
    ASSERT_TRUE(publish(0));
    const QString index = file("index.html");
    EXPECT_TRUE(index.contains("<tr><td class='header' colspan='1'><b>Family names</b></td></tr>\n"
                               "<tr><td><a hRef='#Brown' name='Initial_Brown'>Brown</a></td>\n</tr>\n"
                               "<tr><td><a hRef='#Kelly' name='Initial_Kelly'>Kelly</a></td>\n</tr>\n"));
    const QString css = file("styles.css");
    EXPECT_TRUE(css.contains("table.familyNamesTable\n{\nfont-family:       Verdana;\nfont-weight:       normal;\n"
                             "font-size:         14px;"));
}

// Draws nothing but reports a box for each parent, spouse and child, so that image maps join the link check.
class RelativesBoxes : public HtmlContextDiagram {
public:
    QImage createContextDiagramFor(const PublishAsHtml&, FTPerson* person, QList<HtmlDiagramBox>* boxes) override
    {
        QList<FTPerson*> people = {person};
        people += person->parentsOfType(0xF) + person->spouses() + person->childrenOfType(0xF);
        for (qsizetype i = 0; i < people.size(); ++i)
            boxes->append({people[i], QRectF(50.0 * double(i), 10, 40, 20)});
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::gray);
        return image;
    }
};

// Every relative link of every page leads to a file of the set, and every fragment to a named target in it.
QStringList brokenLinks(const QString& root)
{
    QStringList broken;
    const QRegularExpression link("(?:href|hRef|src|usemap)='([^']*)'");
    QHash<QString, QString> texts;
    const auto textOf = [&](const QString& path) -> const QString& {
        if (!texts.contains(path))
            texts.insert(path, QString::fromUtf8(TestSupport::readFile(path)));
        return texts[path];
    };
    QDirIterator it(root, {"*.html"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString page = it.next();
        QRegularExpressionMatchIterator m = link.globalMatch(textOf(page));
        while (m.hasNext()) {
            const QString target = m.next().captured(1).replace("&amp;", "&");
            if (target.startsWith("http://") || target.startsWith("https://"))
                continue;
            const qsizetype hash = target.indexOf('#');
            const QString path = hash < 0 ? target : target.left(hash);
            const QString fragment = hash < 0 ? QString() : target.mid(hash + 1);
            const QString file = path.isEmpty() ? page : QFileInfo(page).dir().absoluteFilePath(path);
            const QString where = QDir(root).relativeFilePath(page) + ": " + target;
            if (target.contains(':') || !QFileInfo(file).isFile() ||
                !QFileInfo(file).canonicalFilePath().startsWith(QFileInfo(root).canonicalFilePath())) {
                broken << where;
                continue;
            }
            if (!fragment.isEmpty() && !textOf(file).contains("name='" + fragment + "'"))
                broken << where;
        }
    }
    return broken;
}

TEST_F(WebIndex, EveryLinkOfAPageSetLeadsToAFileAndEveryAnchorExists)
{
    const Family f = makeFamily();
    for (int i = 0; i < 100; ++i)
        born(QStringLiteral("Person%1 %2").arg(i).arg(i % 3 ? "Walsh" : "O'Hara&Co"), M(), 1700, 1760);
    born("Cher", F(), 1700, 1760);
    f.sean->birth()->setNotes(QString(40, 'n'));
    RelativesBoxes drawer;
    contextDiagram = &drawer;
    for (const bool nearRelatives : {false, true}) {
        SCOPED_TRACE(nearRelatives ? "near relatives" : "relatives in tables");
        options.ancestorsTables = true;
        options.includeNearRelatives = nearRelatives;
        options.includeParents = options.includeChildren = options.includeSiblings = true;
        options.includeGrandchildren = options.includeStepRels = options.includeAdoptedRels = true;
        ASSERT_TRUE(publish(0));
        EXPECT_EQ(brokenLinks(root()), QStringList());
        EXPECT_TRUE(file(pageOf(f.john)).contains("usemap='#cdDiagram'"));
    }
    // Nothing is checked when nothing is found: the set does link within itself.
    EXPECT_TRUE(file("index.html").contains("hRef='index_O.html#O_0027Hara_0026Co'"));
}
} // namespace
