#include "publishing/GoogleMapsSave.h"

#include "diagrams/DiagramFileName.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSpouseRel.h"
#include "model/UtilsPics.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"
#include "platform/store/ReleasingWalk.h"
#include "platform/store/TextMatch.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

#include <algorithm>

namespace {
const QString kApplyToAllEvents = QStringLiteral("applyToAllEvents");
const QString kApplyToAllPeople = QStringLiteral("applyToAllPeople");

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

void addOwners(const FTEvent* event, QList<FTPerson*>& people)
{
    if (FTPerson* p = event->person())
        people << p;
    else if (const FTSpouseRel* couple = event->spouseRel())
        people << couple->partners();
}
}

GoogleMapsSave::GoogleMapsSave(FTEvent* event)
    : m_event(event)
    , m_moc(event ? event->moc() : nullptr)
{
    const UserDefaults& defaults = UserDefaults::standard();
    applyToAllEvents = defaults.boolForKey(kApplyToAllEvents);
    applyToAllPeople = int(std::clamp<qlonglong>(defaults.integerForKey(kApplyToAllPeople), kAllPeople, kNobody));
    getPeopleAndEventsArrays();
}

void GoogleMapsSave::getPeopleAndEventsArrays()
{
    m_allPeople.clear();
    m_allEvents.clear();
    if (!m_event || !m_moc)
        return;
    const QString place = m_event->place();
    if (place.isEmpty())
        return;
    ReleasingWalk walk(*m_moc);
    m_allEvents = m_moc->fetch<FTEvent>([&](const FTEvent* e) {
        walk.releasePoint();
        return e->place() == place;
    });
    QList<FTPerson*> people;
    for (const FTEvent* e : m_allEvents)
        addOwners(e, people);
    QSet<FTPerson*> seen;
    for (FTPerson* p : people)
        if (p && !seen.contains(p)) {
            seen.insert(p);
            m_allPeople << p;
        }
    std::stable_sort(m_allPeople.begin(), m_allPeople.end(), [](const FTPerson* a, const FTPerson* b) {
        return a->nameWithBirthAndDeathYears().compare(b->nameWithBirthAndDeathYears(), Qt::CaseInsensitive) < 0;
    });
    std::stable_sort(m_allEvents.begin(), m_allEvents.end(), [](const FTEvent* a, const FTEvent* b) {
        return a->name().compare(b->name(), Qt::CaseInsensitive) < 0;
    });
}

QString GoogleMapsSave::allPeopleCheckBoxTitle() const
{
    if (m_allPeople.size() > 1)
        return QStringLiteral("%1 %2 %3").arg(L("All"), QString::number(m_allPeople.size()), L("peopleAtPlace"));
    return L("OnePersonAtPlace");
}

QString GoogleMapsSave::allEventsCheckBoxTitle() const
{
    if (m_allEvents.size() > 1)
        return QStringLiteral("%1 %2 %3").arg(L("All"), QString::number(m_allEvents.size()), L("EventsAtPlace"));
    return L("OneEventAtPlace");
}

void GoogleMapsSave::save()
{
    if (!m_event || !m_moc)
        return;
    if (FTMocUndoManager* undo = m_moc->undoManager())
        undo->setActionName(L("AddMaps"));
    saveGeocoding();
    saveImage();
    m_moc->saveMoc();
}

int GoogleMapsSave::saveGeocoding()
{
    m_event->saveGoogleMapUrl(geocoding);
    UserDefaults::standard().setBool(kApplyToAllEvents, applyToAllEvents);
    int changed = 1;
    if (!applyToAllEvents)
        return changed;
    const QString address = m_event->googleMapUrl().toString();
    for (FTEvent* e : m_allEvents) {
        if (e == m_event || e->isDeleted() || e->googleMapUrl().toString() == address)
            continue;
        e->saveGoogleMapUrl(geocoding);
        ++changed;
    }
    return changed;
}

QList<FTPerson*> GoogleMapsSave::owners() const
{
    QList<FTPerson*> people;
    addOwners(m_event, people);
    return people;
}

int GoogleMapsSave::saveImage()
{
    UserDefaults::standard().setInteger(kApplyToAllPeople, applyToAllPeople);
    if (applyToAllPeople == kNobody)
        return 0;
    const QList<FTPerson*> people = applyToAllPeople == kAllPeople ? m_allPeople : owners();
    const QString path = saveImageToFile(m_event->place());
    if (path.isEmpty())
        return 0;
    int given = 0;
    for (FTPerson* p : people)
        if (p && !p->isDeleted()) {
            addPictureWithFilename(path, p);
            ++given;
        }
    return given;
}

QString GoogleMapsSave::mapImagePath(const QString& picturesFolder, const QString& place)
{
    const QString prefix = L("MapImageFilenamePrefix");
    const QString name = DiagramFileName::safeBaseName(QStringLiteral("%1_%2").arg(prefix, place), prefix);
    return QStringLiteral("%1/%2.JPG").arg(picturesFolder, name);
}

QString GoogleMapsSave::saveImageToFile(const QString& place)
{
    const QString folder = Utils::picturesDirectory();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        DisplayMsg(QStringLiteral("%1: %2").arg(L("UnableToCreateFolderCalled"), folder));
        return {};
    }
    const QString path = mapImagePath(folder, place);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bitmapData) != bitmapData.size() || !file.commit()) {
        DisplayMsg(QStringLiteral("%1 %2").arg(L("UnableToWriteImage"), path));
        return {};
    }
    return path;
}

void GoogleMapsSave::addPictureWithFilename(const QString& path, FTPerson* person)
{
    const QString fileName = QFileInfo(path).fileName();
    FTPicture* picture = nullptr;
    for (FTPicture* existing : person->picturesArray())
        if (TextMatch::contains(existing->filename(), fileName)) {
            picture = existing;
            break;
        }
    if (picture)
        picture->setRclCut(UtilsPics::stringFromRect(QRectF()));
    else
        picture = FTPicture::initInMoc(m_moc, path, person);
    if (!picture)
        return;
    QString title = QFileInfo(path).completeBaseName();
    title.replace(QLatin1Char('_'), QLatin1Char(' '));
    const QString prefix = L("MapImageFilenamePrefix") + QLatin1Char(' ');
    if (title.startsWith(prefix))
        title = title.mid(prefix.size());
    picture->setName(title);
    picture->setThumbnailImage(QImage());
    picture->thumbnailImage();
}

QList<GoogleMapsSave::Listing> GoogleMapsSave::showMeTexts() const
{
    const QString place = m_event ? m_event->place() : QString();
    QStringList people, events;
    for (const FTPerson* p : m_allPeople)
        people << p->nameWithBirthAndDeathYears();
    for (const FTEvent* e : m_allEvents)
        events << e->name();
    return {
        {QStringLiteral("%1 %2 %3 %4")
             .arg(QString::number(m_allPeople.size()), m_allPeople.size() > 1 ? L("People") : L("Person"),
                  L("InvolvedAtPlace"), place),
         people.join(QStringLiteral(", "))},
        {QStringLiteral("%1 %2 %3 %4")
             .arg(QString::number(m_allEvents.size()), m_allEvents.size() > 1 ? L("Events") : L("Event"),
                  L("EventOccurredAt"), place),
         events.join(QStringLiteral(", "))},
    };
}
