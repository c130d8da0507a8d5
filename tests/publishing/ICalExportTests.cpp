#include "publishing/ICalExport.h"
#include "publishing/ICalWriter.h"

#include "model/FTPicture.h"

#include "ExportsFixture.h"

namespace {
std::string s(const QString& q) { return q.toStdString(); }
QString L(const char* key) { return LocalizedString(key); }

class ICalFile : public ExportsFixture {
protected:
    // Exports with `options` at `now`; answers the events as icalendar reads them, by summary.
    QMap<QString, QJsonObject> exportAndRead(const ICalExport::Options& options = {}, QString* path = nullptr)
    {
        ICalExport ical(moc.get());
        ical.options = options;
        ical.setNow(now);
        EXPECT_TRUE(ical.exportToICal()) << s(messages().join("\n"));
        last = ical;
        if (path)
            *path = ical.outputFilePath();
        foldedLines(ical.outputFilePath());
        const QJsonObject calendar = readWithPython("ical_to_json.py", ical.outputFilePath()).object();
        EXPECT_EQ(s(calendar["prodid"].toString()), s(ICalWriter::prodId()));
        EXPECT_EQ(calendar["version"].toString(), "2.0");
        QMap<QString, QJsonObject> bySummary;
        for (const QJsonValue& e : calendar["events"].toArray()) {
            EXPECT_FALSE(bySummary.contains(e["summary"].toString())) << s(e["summary"].toString());
            bySummary.insert(e["summary"].toString(), e.toObject());
        }
        return bySummary;
    }

    QDateTime now {QDate(2025, 3, 10), QTime(14, 30), Qt::UTC};
    ICalExport last {nullptr};
};
}

TEST_F(ICalFile, AnniversariesFallOnTheirDayOfThisYearAndWholeDaysEndTheNextDay)
{
    date(person("Jan Last", F()), "birth", 31, 1, 1990);
    date(person("Leap Born", M()), "birth", 29, 2, 1960);
    FTPerson* dec = person("Dec End", M());
    date(dec, "birth", 31, 12, 1950);
    date(dec, "death", 15, 8, 2001);

    QMap<QString, QJsonObject> events = exportAndRead();
    const std::tuple<const char*, const char*, const char*> expected[] = {
        {"Jan Last b.1990", "2025-01-31", "2025-02-01"},
        {"Leap Born b.1960", "2025-02-28", "2025-03-01"}, // 2025 has no 29 February
        {"Dec End b.1950", "2025-12-31", "2026-01-01"},
        {"Dec End d.2001", "2025-08-15", "2025-08-16"},
    };
    for (const auto& [summary, start, end] : expected) {
        ASSERT_TRUE(events.contains(summary)) << summary;
        EXPECT_EQ(s(events[summary]["dtstart"].toString()), start) << summary;
        EXPECT_EQ(s(events[summary]["dtend"].toString()), end) << summary;
        EXPECT_EQ(s(events[summary]["dtstamp"].toString()), "2025-03-10T14:30:00+00:00");
    }
    EXPECT_EQ(events.size(), 4);

    // In a leap year the day is the day itself; timed events run from 00:01 to 23:59 of it.
    now = QDateTime(QDate(2028, 1, 2), QTime(8, 0), Qt::UTC);
    ICalExport::Options timed;
    timed.bAllDayEvent = false;
    events = exportAndRead(timed);
    EXPECT_EQ(s(events["Leap Born b.1960"]["dtstart"].toString()), "2028-02-29T00:01:00");
    EXPECT_EQ(s(events["Leap Born b.1960"]["dtend"].toString()), "2028-02-29T23:59:00");
}

TEST_F(ICalFile, OnlyFullDatesCountAndACoupleHasOneWeddingEvent)
{
    FTPerson* ann = person("Ann Smith", F());
    FTPerson* bob = person("Bob Jones", M());
    date(ann, "birth", 3, 4, 1950);
    year(bob, "birth", 1948);                   // no day: no birthday
    date(person("Undated", M()), "birth", 0, 5, 1960);
    date(couple(bob, ann), "marriage", 20, 6, 1975);
    FTPerson* gone = person("Gone Early", F());  // a death but no birth
    date(gone, "death", 2, 2, 1999);

    ICalExport::Options all;
    all.displayAlarm = true;
    all.emailAlarm = true;
    // A line break typed into the address cannot start a property of its own.
    defaults().setString("iCalEmailAddress", " me@example.org\nX-INJECTED:1 ");
    const QMap<QString, QJsonObject> events = exportAndRead(all);
    EXPECT_EQ(events.keys(), QStringList({"Ann Smith b.1950", "Bob Jones +. Ann Smith in 1975", "Gone Early d.1999"}));
    EXPECT_EQ(last.numPeople, 4);
    EXPECT_EQ(last.numBirths, 1);
    EXPECT_EQ(last.numDeaths, 1);
    EXPECT_EQ(last.numMarriages, 1);
    EXPECT_EQ(last.numAlarms, 6);
    const QJsonArray alarms = events["Gone Early d.1999"]["alarms"].toArray();
    ASSERT_EQ(alarms.size(), 2);
    EXPECT_EQ(alarms[0]["action"].toString(), "DISPLAY");
    EXPECT_EQ(alarms[1]["action"].toString(), "EMAIL");
    EXPECT_EQ(alarms[1]["attendee"].toString(), "mailto:me@example.orgX-INJECTED:1");
    EXPECT_EQ(alarms[1]["trigger"].toString(), "-1 day, 0:00:00");
    EXPECT_EQ(s(events["Gone Early d.1999"]["description"].toString()),
              s(L("DeathOf") + "Gone Early\n" + L("Title") + ": \n" + L("Born") + ": \n" + L("Died") + ": 02 Feb 1999 "
                + L("AgedAtDeath") + "  "));
    EXPECT_EQ(s(events["Bob Jones +. Ann Smith in 1975"]["description"].toString()),
              s(L("WeddingAnniversaryOf") + " Bob Jones +. Ann Smith in 1975\n" + L("On") + ": 20 Jun 1975"));

    // E-mail alarms need an address: nothing is written without one.
    defaults().setString("iCalEmailAddress", "  ");
    ICalExport ical(moc.get());
    ical.options = all;
    const int files = QDir(Utils::reportsDirectory()).entryList(QDir::Files).size();
    EXPECT_FALSE(ical.exportToICal());
    EXPECT_EQ(messages().last(), L("iCalEmailWarn"));
    EXPECT_EQ(QDir(Utils::reportsDirectory()).entryList(QDir::Files).size(), files);
}

TEST_F(ICalFile, TheAgeLineStopsAfterAHundredYears)
{
    date(person("Hundred", F()), "birth", 1, 5, 1925);
    date(person("Hundred One", M()), "birth", 1, 5, 1924);
    QMap<QString, QJsonObject> events = exportAndRead();
    EXPECT_TRUE(events["Hundred b.1925"]["description"].toString().endsWith("\n" + L("AgeThisYear") + ": 100"));
    EXPECT_TRUE(events["Hundred One b.1924"]["description"].toString().endsWith("\n" + L("Born") + ": 01 May 1924"));
}

TEST_F(ICalFile, TextsReadBackAsWrittenButForTheCleanedCharacters)
{
    FTPerson* p = person("Ann [Nan] \"Smith\" (Jones)", F());
    date(p, "birth", 9, 9, 1970);
    const QString longTitle = "Lady of the Manor, Keeper; " + QString(180, QChar(0xe9)) + " end";
    p->setValueForKey("title", longTitle);
    ICalExport::Options shortNames;
    shortNames.showFullNameOnCalendar = false;
    const QMap<QString, QJsonObject> events = exportAndRead(shortNames);
    ASSERT_EQ(events.size(), 1);
    const QString summary = events.firstKey();
    EXPECT_EQ(s(summary), s(ICalExport::cleanString(p->shortName()) + " b.1970"));
    EXPECT_EQ(s(events.first()["description"].toString()),
              s(L("BirthdayOf") + ICalExport::cleanString(p->name()) + "\n" + L("Title") + ": " + longTitle + "\n" + L("Born")
                + ": 09 Sep 1970\n" + L("AgeThisYear") + ": 55"));
    EXPECT_EQ(s(ICalExport::cleanString("a\"b\\c(d)e{f}g[h]")), "a b c d e f g h ");
}

TEST_F(ICalFile, ASecondExportIsANewFileWithTheSameUids)
{
    FTPerson* ann = person("Ann Smith", F());
    FTPerson* bob = person("Bob Jones", M());
    date(ann, "birth", 3, 4, 1950);
    date(bob, "death", 3, 4, 1990);
    date(couple(ann, bob), "marriage", 20, 6, 1975);
    QString first, second;
    const QMap<QString, QJsonObject> before = exportAndRead({}, &first);
    const QMap<QString, QJsonObject> after = exportAndRead({}, &second);
    EXPECT_NE(first, second);
    EXPECT_TRUE(second.endsWith("_1.ics")) << s(second);
    QSet<QString> uids;
    for (const QString& summary : before.keys()) {
        EXPECT_EQ(before[summary]["uid"], after[summary]["uid"]) << s(summary);
        uids << before[summary]["uid"].toString();
    }
    EXPECT_EQ(uids.size(), 3);
}
