// kinloom-bench-compare [PEOPLE]
// Compares two family databases of PEOPLE people each (default 100,000) the way the compare-and-merge window does.
// Database A is a synthetic database; B is a copy of A in which a fixed share of the people were edited (2% a new
// title, 2% a new birth place, 1% a new occupation), deleted (2%) or added (2%). B is opened as the open database,
// A only for reading as the other one. Prints one figure a line as "name: value":
//   people_source, people_target   the people of A (the other database) and of B (the open one)
//   open_other_s                   A opened for reading and its people listed in the window's order
//   search_first_ms                the first letter typed into the search field: both lists narrowed by name
//   search_first_place_ms          the first search by birth place, which reads every birth place once
//   search_ms                      a search typed afterwards (median of five texts of four fields)
//   match_ms                       selecting a person of A: the match found in B's list of 100,000 (median of 21)
//   remove_matched_s               leaving only the people of A without an identical person in B
//   auto_compare_mode0_s           the whole comparison by name, its RTF report written (into the sandbox)
//   auto_compare_mode1_s           the same by id
//   *_updates                      how often each pass moved its progress bar
//   matched_pairs                  the pairs the comparison by name matched
//   report_kb                      the size of the report by name
//   peak_mb                        peak resident memory, both databases open
// Everything is written into a temporary folder of its own.
#include "BenchSupport.h"

#include "merge/AutoCompare.h"
#include "merge/ComparePeopleList.h"
#include "merge/PeopleMatching.h"

#include "shell/FirstRunDefaults.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPerson.h"
#include "model/ModelProgress.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QTextDocument>

#include <cstdio>
#include <random>

namespace {
struct CountingProgress : ModelProgress {
    int updates = 0;
    void setStatus(const QString&) override { }
    void setPercent(int) override { ++updates; }
};

void figure(const char* name, double value, int decimals = 1)
{
    std::printf("%s: %.*f\n", name, decimals, value);
}

double seconds(QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e9;
}

// B: A with a fixed share of its people changed, deleted and added. Not recorded for undo; saved.
bool makeEditedCopy(const QString& a, const QString& b)
{
    // The first save after opening makes the one-time repairs (family names written as the settings say): A has
    // them too, as a database the user has worked with would, so that B differs from it only by the edits.
    if (std::unique_ptr<FTMoc> first = FTMoc::initForStoreURL(a, true)) {
        first->databaseIntegrityChecks();
        if (!first->saveMoc())
            return false;
    } else {
        return false;
    }
    if (!QFile::copy(a, b))
        return false;
    std::unique_ptr<FTMoc> moc = FTMoc::initForStoreURL(b, true);
    if (!moc)
        return false;
    moc->undoManager()->disableUndoRegistration();
    std::mt19937 random(11);
    const QList<FTPerson*> people = moc->fetch<FTPerson>();
    int added = 0;
    int number = 0;
    for (const FTPerson* p : people)
        number = std::max(number, p->numericId());
    for (FTPerson* p : people) {
        const unsigned roll = random() % 100;
        if (roll < 2)
            p->setTitle(QStringLiteral("Clerk"));
        else if (roll < 4)
            p->setValueForKeyPath(QStringLiteral("birth.place"), QStringLiteral("Newtown"));
        else if (roll < 5)
            FTEvent::initInMoc(moc.get(), FTEvent::OtherPersonalEvent, p, QStringLiteral("OCCU"))->setName("Weaver");
        else if (roll < 7)
            moc->deleteObject(p);
        else if (roll < 9) {
            FTPerson* n = FTPerson::initInMoc(moc.get(), QStringLiteral("Newcomer %1 Field").arg(++added),
                added % 2 ? QStringLiteral("M") : QStringLiteral("F"));
            n->setNumericId(++number);
        }
    }
    return moc->saveMoc();
}
}

int main(int argc, char** argv)
{
    BenchSandbox sandbox;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int people = argc > 1 ? std::max(10, QString::fromLocal8Bit(argv[1]).toInt()) : 100000;
    FirstRunDefaults::initialiseUserDefaults();
    SilentPrompts prompts;
    Prompts::install(&prompts);

    const QString pathA = sandbox.filePath(QStringLiteral("A.RezUdu"));
    const QString pathB = sandbox.filePath(QStringLiteral("B.RezUdu"));
    if (!createSyntheticDatabase(pathA, people) || !makeEditedCopy(pathA, pathB)) {
        std::fprintf(stderr, "the databases cannot be made\n");
        return 1;
    }
    std::unique_ptr<FTMoc> open = FTMoc::initForStoreURL(pathB, true);
    if (!open)
        return 1;
    ComparePeopleList target;
    target.setPeople(open->fetch<FTPerson>());

    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<FTMoc> other = FTMoc::initForReadingStoreURL(pathA);
    if (!other)
        return 1;
    ComparePeopleList source;
    source.setPeople(other->fetch<FTPerson>());
    const double openOther = seconds(timer);
    figure("people_source", double(source.count()), 0);
    figure("people_target", double(target.count()), 0);
    figure("open_other_s", openOther, 2);

    using Field = PeopleMatching::SearchField;
    const std::pair<Field, QString> searches[] = { { Field::Name, QStringLiteral("an") },
        { Field::Name, QStringLiteral("mar smi") }, { Field::BirthPlace, QStringLiteral("lon") },
        { Field::BirthYear, QStringLiteral("1850") }, { Field::Id, QStringLiteral("4711") } };
    // The lists keep the folded names from the start, and the values of another field from its first search on.
    auto search = [&](Field field, const QString& text) {
        QElapsedTimer t;
        t.start();
        const PeopleSearch s(field, text);
        source.setSearch(s);
        target.setSearch(s);
        return t.nsecsElapsed() / 1e6;
    };
    figure("search_first_ms", search(Field::Name, QStringLiteral("j")), 2);
    figure("search_first_place_ms", search(Field::BirthPlace, QStringLiteral("l")), 2);
    std::vector<double> searchTimes;
    for (const auto& [field, text] : searches)
        searchTimes.push_back(search(field, text));
    source.setSearch({});
    target.setSearch({});
    figure("search_ms", median(searchTimes), 2);

    std::mt19937 random(5);
    std::vector<double> matchTimes;
    for (int i = 0; i < 21; ++i) {
        const FTPerson* p = source.at(qsizetype(random() % quint32(source.count())));
        timer.start();
        const QList<int> rows = PeopleMatching::findMatchForPerson(p, target.arranged(), 0);
        matchTimes.push_back(timer.nsecsElapsed() / 1e6);
        (void)rows;
    }
    figure("match_ms", median(matchTimes), 2);

    {
        CountingProgress progress;
        timer.start();
        const QList<FTPerson*> kept
            = PeopleMatching::removeMatchedRecords(source.arranged(), target.arranged(), 0, &progress);
        figure("remove_matched_s", seconds(timer), 2);
        figure("remove_matched_kept", double(kept.size()), 0);
        figure("remove_matched_updates", progress.updates, 0);
    }

    int matchedPairs = 0;
    qint64 reportBytes = 0;
    for (int mode : { 0, 1 }) {
        CountingProgress progress;
        timer.start();
        std::unique_ptr<QTextDocument> report;
        const AutoCompare::Result r = AutoCompare::autoCompare(source, target, other.get(), open.get(),
            AutoCompare::headerFor(other.get(), open.get(), mode, QDateTime::currentDateTime()), &progress, &report);
        const QString path = sandbox.filePath(QStringLiteral("report%1.rtf").arg(mode));
        if (!report || !AutoCompare::writeRtf(*report, path))
            return 1;
        figure(mode == 0 ? "auto_compare_mode0_s" : "auto_compare_mode1_s", seconds(timer), 2);
        figure(mode == 0 ? "auto_compare_mode0_updates" : "auto_compare_mode1_updates", progress.updates, 0);
        if (mode == 0) {
            matchedPairs = r.matchedPairs;
            reportBytes = QFileInfo(path).size();
        }
    }
    figure("matched_pairs", matchedPairs, 0);
    figure("report_kb", reportBytes / 1024.0, 0);
    figure("peak_mb", peakResidentMegabytes(), 0);
    Prompts::install(nullptr);
    return 0;
}
