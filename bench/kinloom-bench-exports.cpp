// kinloom-bench-exports [PEOPLE]
// Makes a synthetic database of PEOPLE people (100,000 by default) in its own temporary folder and exports everybody
// as the two File menu exports do: the birthdays, death and wedding anniversaries as an iCalendar file, and every
// person as a contact card into one group file. Prints "name: value" lines: the events and cards written, the
// seconds of each export (making and opening the database not included) and the peak resident memory.
#include "BenchSupport.h"

#include "publishing/AddressBookExport.h"
#include "publishing/ICalExport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>

int main(int argc, char** argv)
{
    BenchSandbox sandbox;
    QCoreApplication app(argc, argv);
    const int people = argc > 1 ? std::atoi(argv[1]) : 100000;
    if (people <= 0) {
        std::fprintf(stderr, "usage: %s [PEOPLE]\n", argv[0]);
        return 2;
    }
    SilentPrompts prompts;
    Prompts::install(&prompts);
    std::unique_ptr<FTMoc> moc = openSyntheticDatabase(sandbox.filePath(QStringLiteral("exports.RezUdu")), people);
    if (!moc)
        return 1;

    QElapsedTimer timer;
    ICalExport ical(moc.get());
    ical.options.displayAlarm = true;
    timer.start();
    const bool icalWritten = ical.exportToICal();
    const double icalSeconds = double(timer.nsecsElapsed()) / 1e9;
    if (!icalWritten) {
        std::fprintf(stderr, "the calendar export failed\n");
        return 1;
    }

    const QList<FTPerson*> everybody = moc->fetch<FTPerson>();
    timer.restart();
    const QString cards = AddressBookExport::exportToGroup(everybody, QStringLiteral("Everybody"));
    const double vcardSeconds = double(timer.nsecsElapsed()) / 1e9;
    if (cards.isEmpty()) {
        std::fprintf(stderr, "the contact-card export failed\n");
        return 1;
    }

    std::printf("people: %d\n", int(everybody.size()));
    std::printf("ical_events: %ld\n", ical.numBirths + ical.numDeaths + ical.numMarriages);
    std::printf("ical_alarms: %ld\n", ical.numAlarms);
    std::printf("ical_s: %.3f\n", icalSeconds);
    std::printf("vcards: %d\n", int(everybody.size()));
    std::printf("vcard_s: %.3f\n", vcardSeconds);
    std::printf("peak_mb: %.1f\n", peakResidentMegabytes());
    Prompts::install(nullptr);
    return 0;
}
