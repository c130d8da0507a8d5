// kinloom-bench-copy [PEOPLE] [ROYAL92.RezUdu]
// Copies a person with all their descendants (at least 10,000 people) from a synthetic family database of PEOPLE
// people (default 100,000) into a copy of the sample database (default: the build's share/kinloom/Royal92.RezUdu),
// as the child of a person of the sample born a generation earlier, every question answered with its first button;
// then searches the synthetic database for duplicate people. Prints one figure a line as "name: value":
//   people_source          the people of the synthetic database
//   descendants            the descendants of the person copied
//   window_open_ms         the copy window made and shown with the outline of those descendants
//   pedigree_lines         the sample's most collapsed pedigree: its ancestors counted once per line
//   pedigree_rows          ... and as the copy window's outline shows them
//   pedigree_window_open_ms  the copy window on that pedigree, made and shown
//   people_copied          the people the copy made
//   copy_s                 the copy: sets, people, links, couples, citations, report
//   people_per_s           people_copied / copy_s
//   save_s                 saving the sample database afterwards
//   duplicates_found       the people the duplicate search lists (name and gender)
//   duplicates_s           that first search: every person read and sorted, the neighbours compared
//   peak_mb                peak resident memory
// Everything is written into a temporary folder of its own.
#include "BenchSupport.h"
#include "../tests/support/CollapsedPedigree.h"

#include "merge/DuplicatePeopleSearch.h"
#include "merge/PersonCopier.h"
#include "merge/ui/CopyPersonFromOtherModel.h"

#include "shell/FirstRunDefaults.h"

#include "model/FTEvent.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"

#include "platform/AppPaths.h"
#include "platform/ScriptedPrompts.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QMap>
#include <QSet>

#include <cstdio>
#include <cstdlib>

namespace {
double seconds(QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e9;
}

int birthYear(const FTPerson* p)
{
    return p->birth() ? p->birth()->year() : 0;
}

int countDescendants(const FTPerson* person)
{
    QSet<const FTPerson*> seen;
    QList<const FTPerson*> pending {person};
    while (!pending.isEmpty()) {
        const FTPerson* p = pending.takeLast();
        for (const FTPcRel* link : p->childRels())
            if (link->child() && !seen.contains(link->child())) {
                seen.insert(link->child());
                pending << link->child();
            }
    }
    return int(seen.size());
}

// The copy window made and shown, in milliseconds; its outline's rows in `rows`.
double openWindow(FTPerson* person, FTPerson* owner, long ancLevel, qsizetype* rows)
{
    QElapsedTimer t;
    t.start();
    CopyPersonFromOtherModel window(person, owner, ancLevel, 1);
    window.setIncludeAncestors(true);
    window.show();
    QCoreApplication::processEvents();
    const double ms = t.nsecsElapsed() / 1e6;
    *rows = window.copier().outline().rows().size();
    return ms;
}
}

int main(int argc, char** argv)
{
    BenchSandbox sandbox;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // As the program itself does (src/app/main.cpp): the time zone file read once, not at every change.
    if (!qEnvironmentVariableIsSet("TZ"))
        qputenv("TZ", ":/etc/localtime");
    QApplication app(argc, argv);
    ScriptedPrompts prompts;
    Prompts::install(&prompts);
    FirstRunDefaults::initialiseUserDefaults();
    const int people = argc > 1 ? std::max(100, std::atoi(argv[1])) : 100000;
    const QString sample = argc > 2 ? QString::fromLocal8Bit(argv[2])
                                    : AppPaths::sharedSupportDirectory() + QStringLiteral("/Royal92.RezUdu");

    std::unique_ptr<FTMoc> source = openSyntheticDatabase(sandbox.filePath("synthetic.RezUdu"), people);
    const QString targetPath = sandbox.filePath("Royal92.RezUdu");
    if (!source || !QFile::copy(sample, targetPath)) {
        std::fprintf(stderr, "no sample database at %s\n", qPrintable(sample));
        return 1;
    }
    QFile::setPermissions(targetPath, QFile::ReadOwner | QFile::WriteOwner);
    std::unique_ptr<FTMoc> target = FTMoc::initForStoreURL(targetPath, true);
    if (!target)
        return 1;
    const QList<FTPerson*> sourcePeople = source->fetch<FTPerson>();
    std::printf("people_source: %lld\n", qlonglong(sourcePeople.size()));

    // The synthetic families are small (a couple of hundred descendants at most), and the copy must carry at least
    // 10,000: every person there without parents, born 1725 or later, becomes the natural child of a couple whose
    // partners were born 20 to 40 years earlier. The families join into a few large ones, with the collapsed
    // pedigrees of cousins marrying, and the earliest-born person with 10,000 descendants is copied.
    QList<FTPerson*> byBirth;
    for (FTPerson* p : sourcePeople)
        if (birthYear(p) != 0)
            byBirth << p;
    std::sort(byBirth.begin(), byBirth.end(),
              [](const FTPerson* a, const FTPerson* b) { return birthYear(a) < birthYear(b); });
    QMap<int, QList<FTSpouseRel*>> couplesByBirth; // a partner's birth year -> their couples with two partners
    for (FTPerson* p : byBirth)
        for (FTSpouseRel* couple : p->spouseRels())
            if (couple->partners().size() == 2 && couple->partners().constFirst() == p)
                couplesByBirth[birthYear(p)] << couple;
    quint32 seed = 1;
    for (FTPerson* p : byBirth) {
        const int born = birthYear(p);
        if (born < 1725 || !p->parentRels().isEmpty())
            continue;
        seed = seed * 1103515245u + 12345u;
        const auto couples = couplesByBirth.value(born - 20 - int((seed >> 16) % 21));
        if (couples.isEmpty())
            continue;
        for (FTPerson* parent : couples[(seed >> 8) % couples.size()]->partners()) {
            auto* link = source->insertObject<FTPcRel>();
            link->setPcRelType(1);
            link->setParent(parent);
            link->setChild(p);
        }
    }
    FTPerson* founder = nullptr;
    int descendants = 0;
    for (qsizetype i = 0; i < byBirth.size() && i < 200 && !founder; ++i)
        if (const int n = countDescendants(byBirth[i]); n >= 10000) {
            founder = byBirth[i];
            descendants = n;
        }
    if (!founder) {
        std::fprintf(stderr, "no person with 10,000 descendants among %d people\n", people);
        return 1;
    }
    std::printf("descendants: %d\n", descendants);
    // A parent here born 20 to 40 years earlier, so that the copy asks nothing about ages.
    FTPerson* owner = nullptr;
    for (FTPerson* p : target->fetch<FTPerson>()) {
        const int d = birthYear(founder) - birthYear(p);
        if (birthYear(p) != 0 && d >= 20 && d <= 40) {
            owner = p;
            break;
        }
    }
    if (!owner) {
        std::fprintf(stderr, "no parent of the right age in the sample database\n");
        return 1;
    }

    qsizetype rows = 0;
    std::printf("window_open_ms: %.1f\n", openWindow(founder, owner, PersonCopier::kChildBox, &rows));
    double lines = 0;
    FTPerson* collapsed = mostCollapsedPedigree(target->fetch<FTPerson>(), &lines);
    std::printf("pedigree_lines: %.0f\n", lines);
    const double pedigreeMs = openWindow(collapsed, owner, PersonCopier::kSpouseBox, &rows);
    std::printf("pedigree_rows: %lld\n", qlonglong(rows));
    std::printf("pedigree_window_open_ms: %.1f\n", pedigreeMs);

    PersonCopier copier(founder, owner, PersonCopier::kChildBox, 1);
    copier.backupBeforeCopy = false;
    copier.setIncludeAncestors(true);
    QElapsedTimer t;
    t.start();
    const PersonCopier::Result result = copier.copy();
    const double copyS = seconds(t);
    if (result != PersonCopier::Result::Copied) {
        std::fprintf(stderr, "the copy did not go ahead: %s\n",
                     qPrintable(prompts.records.isEmpty() ? QString() : prompts.records.last().text));
        return 1;
    }
    std::printf("people_copied: %d\n", copier.numPeopleCopied());
    std::printf("copy_s: %.2f\n", copyS);
    std::printf("people_per_s: %.0f\n", copier.numPeopleCopied() / copyS);
    t.start();
    target->saveMoc();
    std::printf("save_s: %.2f\n", seconds(t));

    DuplicatePeopleSearch search(source.get());
    DuplicatePeopleSearch::Criteria criteria;
    t.start();
    const QList<FTPerson*> found = search.findDuplicates(criteria, nullptr);
    const double duplicatesS = seconds(t);
    std::printf("duplicates_found: %lld\n", qlonglong(found.size()));
    std::printf("duplicates_s: %.2f\n", duplicatesS);
    std::printf("peak_mb: %.0f\n", peakResidentMegabytes());
    Prompts::install(nullptr);
    return 0;
}
