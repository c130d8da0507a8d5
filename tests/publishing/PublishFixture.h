#pragma once

// A small family database and a web-page generator with a fixed clock and page colour, with helpers that read the
// page set it writes.

#include "../model/PeopleFixture.h"

#include "publishing/PublishAsHtml.h"

#include "model/FTSource.h"
#include "model/FTSourceRel.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTimeZone>

class PublishFixture : public PeopleFixture {
protected:
    void SetUp() override
    {
        PeopleFixture::SetUp();
        // The data folder exists, as the program makes it at start-up; the Reports folder is made on demand.
        QDir().mkpath(pathFor("KinloomData"));
        defaults().setString("KinloomDataDirectory", pathFor("KinloomData"));
        options.excludeLivingPeople = true;
        options.excludeRecentlyDeadPeople = true;
        options.depersonalizeLivingPeople = false;
    }
    void TearDown() override
    {
        generator.reset();
        PeopleFixture::TearDown();
    }

    // Makes a generator over the database with the fixed clock and the options below, and runs it with `kinship`
    // levels (0: everyone). Answers whether the run succeeded.
    bool publish(int kinship = 0)
    {
        if (!generator) {
            generator = std::make_unique<PublishAsHtml>(moc.get());
            generator->setClock([this] { return now; });
        }
        generator->setContextDiagram(contextDiagram);
        generator->setOptions(options);
        generator->setKinship(kinship);
        return generator->generateReport();
    }

    QString reports() const { return pathFor("KinloomData/Reports"); }
    QString root() const { return generator->directory(); }
    // A file of the page set by its path below the top of the folder, as text.
    QString file(const QString& relative) const
    {
        return QString::fromUtf8(TestSupport::readFile(root() + "/" + relative));
    }
    QByteArray bytes(const QString& relative) const { return TestSupport::readFile(root() + "/" + relative); }
    QString pageOf(const FTPerson* p) const { return generator->pagePathFor(p); }
    // Every file of the page set, relative to its top.
    QStringList allFiles() const
    {
        QStringList out;
        QDirIterator it(root(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            out << QDir(root()).relativeFilePath(it.next());
        out.sort();
        return out;
    }

    FTSource* source(int number, const QString& title)
    {
        auto* s = FTSource::initInMoc(moc.get());
        s->setNumericId(number);
        s->setTitle(title);
        return s;
    }
    FTSourceRel* cite(FTSource* s, FTManagedObject* owner, const QString& reference = {})
    {
        FTSourceRel* c = FTSourceRel::initInMoc(moc.get(), s, owner, QString());
        c->setReference(reference);
        return c;
    }
    FTPerson* born(const QString& name, const QString& gender, int birthYear, int deathYear = 0)
    {
        FTPerson* p = person(name, gender);
        if (birthYear)
            year(p, "birth", birthYear);
        if (deathYear)
            year(p, "death", deathYear);
        return p;
    }

    // The O'Brien family: three generations around John, with a living granddaughter (Lorna) and a grandson who
    // died in 1990 (Rory), both hidden by the first-run options; sources, notes, a map link and every kind of child.
    struct Family {
        FTPerson* patrick;
        FTPerson* bridget;
        FTPerson* michael;
        FTPerson* john;
        FTPerson* mary;
        FTPerson* ann;
        FTPerson* sean;
        FTPerson* tom;
        FTPerson* kate;
        FTPerson* lorna;
        FTPerson* rory;
        FTSource* parish;
        FTSource* census;
    };
    Family makeFamily()
    {
        Family f {};
        f.patrick = born("Patrick O'Brien", M(), 1820, 1880);
        f.bridget = born("Bridget Kelly", F(), 1822, 1890);
        f.michael = born("Michael O'Brien", M(), 1848, 1900);
        f.john = person("John O'Brien", M());
        FTEvent* birth = date(f.john, "birth", 5, 1, 1850);
        birth->setPlace("Leeds");
        birth->saveGoogleMapUrl("https://maps.example.org/?q=Leeds&ll=53.8,-1.5");
        birth->setNotes("Baptised at St Anne's, Leeds 1850");
        FTEvent* death = year(f.john, "death", 1920);
        death->setPlace("York");
        death->setNotes("Buried beside his father there");
        f.john->setTitle("Blacksmith & Farrier");
        f.john->setCauseOfDeath("Fever");
        f.john->setNotes("First line\r\nSecond <i>line</i>\n");
        f.john->setComments("Kept & filed");
        f.mary = born("Mary Smith", F(), 1852, 1930);
        f.ann = born("Ann Brown", F(), 1860, 1935);
        FTSpouseRel* first = couple(f.john, f.mary);
        date(first, "marriage", 12, 6, 1875)->setPlace("Leeds");
        couple(f.john, f.ann);
        f.sean = born("Sean O'Brien", M(), 1876, 1940);
        f.tom = born("Tom Brown", M(), 1880, 1930);
        f.kate = born("Kate O'Brien", F(), 1885, 1943);
        f.rory = born("Rory O'Brien", M(), 1905, 1990);
        f.lorna = born("Lorna O'Brien", F(), 1985);
        for (FTPerson* parent : {f.patrick, f.bridget}) {
            link(parent, f.john);
            link(parent, f.michael);
        }
        link(f.john, f.sean);
        link(f.mary, f.sean);
        link(f.ann, f.tom);
        link(f.john, f.tom, FTPcRel::kStep);
        link(f.john, f.kate, FTPcRel::kAdopted);
        link(f.sean, f.rory);
        link(f.sean, f.lorna);
        f.parish = source(12, "Parish register");
        f.census = source(3, "Census 1881");
        cite(f.parish, birth, "folio 7");
        cite(f.census, birth);
        cite(f.parish, f.john, "p. 4");
        moc->setFocalPerson(f.john);
        return f;
    }

    // The moment of every run: 2024, so that the privacy rules are asked as of that year.
    QDateTime now {QDate(2024, 1, 5), QTime(9, 7, 3), QTimeZone::utc()};
    HtmlOptions options;
    HtmlContextDiagram* contextDiagram = nullptr;
    std::unique_ptr<PublishAsHtml> generator;
};
