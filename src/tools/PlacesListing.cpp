#include "tools/PlacesListing.h"

#include "tools/PlaceEventsIndex.h"
#include "tools/RtfText.h"

#include "shell/CsvWriter.h"
#include "shell/DisplayMsg.h"
#include "shell/RtfWriter.h"
#include "shell/Utils.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"
#include "model/ModelProgress.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"

#include <algorithm>
#include <utility>

namespace {
const char* const kCrLf = "\r\n";

QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }

// Place texts sort as the places list does: without regard to case, then as written.
bool textBefore(const QString& a, const QString& b)
{
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

QString rtf(const QString& text) { return rtfUserText(text); }

// The first name and family name of a person, empty for none.
std::pair<QString, QString> names(const FTPerson* person)
{
    if (!person)
        return {};
    return {person->firstName(), person->familyName()};
}
}

PlacesListing::PlacesListing(FTMoc* moc, const QStringList& places)
    : m_moc(moc)
    , m_places(places)
{
}

PlacesListing::~PlacesListing() = default;

QString PlacesListing::baseName() const
{
    return QStringLiteral("%1_%2").arg(m_moc ? m_moc->modelName() : QString(), L("EventsListFilename"));
}

PlaceEventsIndex& PlacesListing::index()
{
    if (!m_index)
        m_index = std::make_unique<PlaceEventsIndex>(*m_moc);
    return *m_index;
}

void PlacesListing::getPrintOptions()
{
    invertNames = false;
    sortByLatLong = false;
    Prompts& prompts = Prompts::current();
    const QString title = L("EventListPrintOptsTitle");
    invertNames = prompts.chooseWithTitle(title, L("EventListPrintOptsChoice"), L("EventsListNamesExample"),
                      {L("EventsListNamesInverted"), L("EventsListNamesNormal")})
        == 0;
    const QString second = QStringLiteral("%1 %2.\n\n%3")
                               .arg(L("EventListPrintOptsChoice2"),
                                    invertNames ? L("EventsListNamesInverted") : L("EventsListNamesNormal"),
                                    L("EventListPrintOptsChoice3"));
    sortByLatLong = prompts.chooseWithTitle(title, second, L("EventsListLatLongWarn"),
                        {L("EventsListSortByLatLong"), L("EventsListSortByLatLongNot")})
        == 0;
}

QList<Place> PlacesListing::sortedArrayOfPlaces(ModelProgress* progress)
{
    QList<Place> out;
    if (!m_moc)
        return out;
    out.reserve(m_places.size());
    ModelProgress::Steps steps(progress, m_places.size(), 1);
    for (qsizetype i = 0; i < m_places.size(); ++i) {
        steps.at(i);
        const QList<FTEvent*> events = index().events(m_places[i]);
        const FTEvent* first = events.isEmpty() ? nullptr : events.first();
        out.append(Place(m_places[i], first ? first->latitude() : 0.0f, first ? first->longitude() : 0.0f));
    }
    const bool invert = invertNames;
    auto key = [invert](const Place& p) -> const QString& { return invert ? p.invertedName : p.name; };
    if (sortByLatLong) {
        std::stable_sort(out.begin(), out.end(), [&key](const Place& a, const Place& b) {
            if (a.latitude != b.latitude)
                return a.latitude > b.latitude;
            if (a.longitude != b.longitude)
                return a.longitude < b.longitude;
            return textBefore(key(a), key(b));
        });
    } else {
        std::stable_sort(
            out.begin(), out.end(), [&key](const Place& a, const Place& b) { return textBefore(key(a), key(b)); });
    }
    return out;
}

QList<FTEvent*> PlacesListing::eventsAt(const QString& place)
{
    if (!m_moc)
        return {};
    if (const auto it = m_sorted.constFind(place); it != m_sorted.constEnd())
        return *it;
    // Each owner's name once, not once per comparison.
    struct Row {
        QString owner;
        qint64 date;
        FTEvent* event;
    };
    QList<Row> rows;
    for (FTEvent* e : index().events(place))
        rows.append({e->ownerName(), e->lDateForEventsListSort(), e});
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        if (a.owner != b.owner)
            return textBefore(a.owner, b.owner);
        return a.date < b.date;
    });
    QList<FTEvent*> events;
    events.reserve(rows.size());
    for (const Row& r : std::as_const(rows))
        events.append(r.event);
    m_sorted.insert(place, events);
    return events;
}

bool PlacesListing::checkFreeName(const QString& extension) const
{
    if (!Utils::uniquePathInFolder(Utils::reportsDirectory(), baseName(), extension, 99).isEmpty())
        return true;
    DisplayMsg(L("TooManyEventsListFiles"));
    return false;
}

QString PlacesListing::printAsCsv(ModelProgress* progress)
{
    getPrintOptions();
    const QString path = writeCsv(progress);
    if (path.isEmpty())
        return path;
    const QStringList applications = Utils::applicationsThatOpenFile(path);
    if (applications.isEmpty())
        DisplayMsg(QStringLiteral("%1 %2 %3").arg(L("FileNotOpened1"), path, L("FileNotOpened2")));
    else
        Utils::displayFile(path, applications.first());
    return path;
}

QString PlacesListing::writeCsv(ModelProgress* progress)
{
    if (!m_moc || !checkFreeName(QStringLiteral("csv")))
        return {};
    CsvWriter csv;
    if (!csv.create(baseName()))
        return {};
    csv.write(L("EventsListCsvHeader") + QLatin1Char('\n'));
    const QList<Place> places = sortedArrayOfPlaces(progress);
    ModelProgress::Steps steps(progress, places.size(), 1);
    for (qsizetype i = 0; i < places.size(); ++i) {
        steps.at(i);
        const Place& place = places[i];
        const QString position = CsvWriter::escapedQuoted(place.positionText());
        const QString placeLabel = CsvWriter::escapedQuoted(label(place));
        for (FTEvent* e : eventsAt(place.name)) {
            const QString owner = CsvWriter::escapedQuoted(e->ownerName());
            // The rest of a record, the same for both partners of a couple: year, the date in quotes a
            // spreadsheet keeps as text, the event's name and notes, and the comma that ends every field.
            const QString date = e->date();
            const QStringList rest{CsvWriter::escapedQuoted(CsvWriter::number(e->year())),
                CsvWriter::escapedQuoted(date.isEmpty() ? QString() : QLatin1Char('"') + date + QLatin1Char('"')),
                CsvWriter::escapedQuoted(e->name()), CsvWriter::escapedQuoted(e->notes()), QString()};
            auto record = [&](const std::pair<QString, QString>& who) {
                csv.writeLine(QStringList{position, placeLabel, owner, CsvWriter::escapedQuoted(who.first),
                                  CsvWriter::escapedQuoted(who.second)}
                    + rest);
            };
            if (const FTSpouseRel* couple = e->spouseRel()) {
                record(names(couple->husband()));
                record(names(couple->wife()));
            } else {
                record(names(e->person()));
            }
        }
    }
    if (progress)
        progress->setPercent(100);
    if (!csv.close())
        return {};
    return csv.outputPath();
}

QString PlacesListing::printAsRtf(ModelProgress* progress)
{
    getPrintOptions();
    const QString path = writeRtf(progress);
    if (path.isEmpty())
        return path;
    DisplayMsg(QStringLiteral("%1:\n\n%2").arg(L("OutputInFile"), path));
    Utils::displayFile(path, QStringLiteral("defaultRtfApp"));
    return path;
}

QString PlacesListing::writeRtf(ModelProgress* progress)
{
    if (!m_moc || !checkFreeName(QStringLiteral("rtf")))
        return {};
    RtfWriter writer;
    writer.setFileType(QStringLiteral("rtf"));
    writer.setColourTable(RtfWriter::standardColourTable(8));
    writer.setStyles({});
    writer.setFooter(false);
    if (m_moment.isValid())
        writer.setDateTime(m_moment);
    if (!writer.createOutputFileName(baseName()) || !writer.openOutputFile() || !writer.printRTFHeader("A4"))
        return {};
    QString out;
    auto line = [&out](const QString& text) { out += text + QLatin1String(kCrLf); };
    line(QStringLiteral("\\par %1 \\par \\par ")
             .arg(rtf(QStringLiteral("%1 %2 %3 %4")
                          .arg(L("EventsListHeading"), m_moc->modelName(), L("CreatedOn").toLower(),
                               writer.titleDateText()))));
    QStringList notes;
    const QList<Place> places = sortedArrayOfPlaces(progress);
    ModelProgress::Steps steps(progress, places.size(), 1);
    for (qsizetype i = 0; i < places.size(); ++i) {
        steps.at(i);
        const Place& place = places[i];
        line(i == 0 ? QStringLiteral(" \\par ") : QStringLiteral(" \\par \\par "));
        const QString heading = sortByLatLong ? place.positionText() + QLatin1Char(' ') + label(place)
                                              : label(place) + QLatin1Char(' ') + place.positionText();
        out += rtf(heading);
        const QList<FTEvent*> events = eventsAt(place.name);
        if (events.isEmpty())
            continue;
        // The heading is a line of its own, not the start of its first event's line.
        line(QStringLiteral(" \\par "));
        line(QStringLiteral("\\pard\\plain \\f0\\fs24\\cf0 "));
        for (const FTEvent* e : events) {
            QString reference;
            if (!e->notes().isEmpty()) {
                notes << e->notes();
                reference = QStringLiteral(", (%1 %2)").arg(L("SeeNote")).arg(notes.size());
            }
            line(rtf(QStringLiteral("%1, %2, %3, %4%5").arg(e->ownerName(), e->subtype(), e->date(), e->name(), reference))
                + QStringLiteral(" \\par "));
        }
    }
    out += QStringLiteral(" \\par \\par ") + QString(63, QLatin1Char('='));
    for (qsizetype n = 0; n < notes.size(); ++n)
        out += QStringLiteral(" \\par \\par %1").arg(rtf(QStringLiteral("%1 %2: %3").arg(L("Note")).arg(n + 1).arg(notes[n])));
    out += QLatin1Char('}');
    if (progress)
        progress->setPercent(100);
    if (!writer.write(out) || !writer.closeOutputFile())
        return {};
    return writer.outputPath();
}
