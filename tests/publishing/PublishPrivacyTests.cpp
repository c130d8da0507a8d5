// Nobody the options hide is named anywhere on the site, whichever of the three privacy options are set.

#include "PublishFixture.h"

#include "publishing/HtmlContextDiagram.h"

#include <QImage>

namespace {
// Draws a blank diagram and reports a box for each of the person's parents, spouses and children, so that the
// image map and the image's alt text are part of the sweep.
class BoxesOfRelatives : public HtmlContextDiagram {
public:
    QImage createContextDiagramFor(const PublishAsHtml&, FTPerson* person, QList<HtmlDiagramBox>* boxes) override
    {
        QList<FTPerson*> people = {person};
        people += person->parentsOfType(0xF);
        people += person->spouses();
        people += person->childrenOfType(0xF);
        for (qsizetype i = 0; i < people.size(); ++i)
            boxes->append({people[i], QRectF(10.4 * double(i), 20.5, 100, 40)});
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::white);
        return image;
    }
};

class PublishPrivacy : public PublishFixture {
protected:
    // The names found in any file of the page set (each file's text, whole).
    QSet<QString> namesFound(const QStringList& names) const
    {
        QSet<QString> found;
        for (const QString& relative : allFiles()) {
            const QString text = QString::fromUtf8(bytes(relative));
            for (const QString& name : names)
                if (text.contains(name))
                    found.insert(name);
        }
        return found;
    }
};

TEST_F(PublishPrivacy, NoFileNamesAHiddenPersonUnderAnyCombinationOfTheOptions)
{
    Family f = makeFamily();
    FTPerson* una = born("Una Walsh", F(), 1910, 1930);
    couple(f.rory, una);
    BoxesOfRelatives drawer;
    contextDiagram = &drawer;
    // The given names are unique in the family: a hidden person's name must not appear in any form.
    const QString lorna = "Lorna", rory = "Rory";
    for (int bits = 0; bits < 8; ++bits) {
        const bool excludeLiving = bits & 1, excludeRecent = bits & 2, depersonalize = bits & 4;
        const bool lornaHidden = excludeLiving || depersonalize;
        const bool roryHidden = (excludeLiving && excludeRecent) || depersonalize;
        for (const bool nearRelatives : {false, true}) {
            for (FTPerson* focal : {f.john, f.lorna}) {
                SCOPED_TRACE(testing::Message() << "excludeLiving " << excludeLiving << " excludeRecentlyDead "
                                                << excludeRecent << " depersonalize " << depersonalize
                                                << " nearRelatives " << nearRelatives << " focal "
                                                << focal->name().toStdString());
                options = HtmlOptions();
                options.excludeLivingPeople = excludeLiving;
                options.excludeRecentlyDeadPeople = excludeRecent;
                options.depersonalizeLivingPeople = depersonalize;
                options.ancestorsTables = true;
                options.includeNearRelatives = nearRelatives;
                options.includeParents = options.includeChildren = options.includeSiblings = true;
                options.includeGrandchildren = options.includeStepRels = options.includeAdoptedRels = true;
                options.includeComments = options.includeBirthNotes = options.includeDeathNotes = true;
                options.includeTitleInIndex = options.includeConsanguinityInIndex = true;
                moc->setFocalPerson(focal);
                ASSERT_TRUE(publish(0));
                const QSet<QString> found = namesFound({lorna, rory});
                EXPECT_EQ(found.contains(lorna), !lornaHidden);
                EXPECT_EQ(found.contains(rory), !roryHidden);
                // Hidden people have no index entry; depersonalized ones keep a page that says nothing.
                const QString list = file("indexPeople.txt");
                EXPECT_EQ(list.contains(lorna), !lornaHidden);
                EXPECT_EQ(QFileInfo::exists(root() + "/" + pageOf(f.lorna)), !excludeLiving);
            }
        }
    }
}

TEST_F(PublishPrivacy, ReferencesAndMarriageRowsGiveOnePrivacyWordForAHiddenPerson)
{
    FTPerson* husband = born("Harold Gray", M(), 1900, 1930);
    FTPerson* living = born("Lena Gray", F(), 1990);
    FTPerson* recent = born("Ruth Gray", F(), 1901, 2000);
    date(couple(husband, living), "marriage", 1, 5, 2015);
    date(couple(husband, recent), "marriage", 1, 5, 1925);
    moc->setFocalPerson(husband);
    const QString alive = "Living person", recently = "Recently deceased", either = "Living or recently deceased",
                  late = "Deceased";
    struct Row {
        bool excludeLiving, excludeRecent, depersonalize;
        QString livingWord, recentWord, livingMarriage, recentMarriage; // empty: named
    };
    const Row rows[] = {
        {false, false, false, "", "", "", ""},
        {true, false, false, alive, "", alive, ""},
        {true, true, false, alive, recently, alive, late},
        {false, true, false, "", "", "", ""},
        {false, false, true, either, either, either, either},
        // Only living people excluded, and the recently dead depersonalized: still not named.
        {true, false, true, alive, either, alive, either},
        {true, true, true, alive, recently, alive, late},
        {false, true, true, either, either, either, either},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.excludeLiving << r.excludeRecent << r.depersonalize);
        options.excludeLivingPeople = r.excludeLiving;
        options.excludeRecentlyDeadPeople = r.excludeRecent;
        options.depersonalizeLivingPeople = r.depersonalize;
        ASSERT_TRUE(publish(0));
        const auto expectRef = [&](FTPerson* p, const QString& word) {
            const QString ref = generator->referenceTo(p);
            if (word.isEmpty())
                EXPECT_EQ(ref, "<a href='" + generator->pageLinkTo(p) + "'>  " + p->nameWithBirthAndDeathYears() + "</a>");
            else
                EXPECT_EQ(ref, word);
        };
        expectRef(living, r.livingWord);
        expectRef(recent, r.recentWord);
        QString bdm;
        generator->writeBDMInfoFor(husband, bdm);
        const QStringList lines = bdm.split('\n');
        ASSERT_GE(lines.size(), 4);
        // Rows: birth, the two marriages by date (Ruth's first), death.
        const QString ruthRow = lines[2], lenaRow = lines[3];
        EXPECT_EQ(ruthRow, r.recentMarriage.isEmpty()
                               ? "<tr><td>m. (1) 01 May 1925" + generator->referenceTo(recent) + "</td></tr>"
                               : "<tr><td>m. (1) " + r.recentMarriage + "</td></tr>");
        EXPECT_EQ(lenaRow, r.livingMarriage.isEmpty()
                               ? "<tr><td>m. (2) 01 May 2015" + generator->referenceTo(living) + "</td></tr>"
                               : "<tr><td>m. (2) " + r.livingMarriage + "</td></tr>");
    }
}

TEST_F(PublishPrivacy, AHiddenFocalPersonIsNeitherInTheIndexHeadingNorInTheRelationshipColumn)
{
    const Family f = makeFamily();
    moc->setFocalPerson(f.lorna);
    options.includeConsanguinityInIndex = true;
    ASSERT_TRUE(publish(0));
    const QString index = file("index.html");
    EXPECT_FALSE(index.contains("Lorna"));
    EXPECT_FALSE(index.contains("Relatives of"));
    EXPECT_FALSE(index.contains("Relationship to"));

    moc->setFocalPerson(f.john);
    ASSERT_TRUE(publish(0));
    EXPECT_TRUE(file("index.html").contains("Relationship to John O'Brien"));
}
} // namespace
