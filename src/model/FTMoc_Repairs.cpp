#include "model/FTMoc.h"

#include "model/EventTypesVocabulary.h"
#include "model/FTEvent.h"
#include "model/FTEventType.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"

#include "platform/FTLog.h"
#include "platform/Prompts.h"
#include "platform/store/ReleasingWalk.h"

#include <QElapsedTimer>

#include <algorithm>

// The one-time repairs that bring databases of older versions up to the present rules. Values change through the
// plain change path of the record (stamped, named for undo when recording) but not through the entity setters,
// whose side effects (page references that advance, lists, notifications) belong to the user's own edits.

namespace {
const QString kLineBreakBlank = QStringLiteral("\n ");

int tidyFields(const QList<ManagedObject*>& records, const QStringList& keys, ReleasingWalk& walk)
{
    int written = 0;
    for (ManagedObject* record : records) {
        walk.releasePoint();
        for (const QString& key : keys)
            if (FTMoc::tidyTextField(record, key))
                ++written;
    }
    return written;
}

template <class T> QList<ManagedObject*> records(const QList<T*>& list)
{
    return QList<ManagedObject*>(list.cbegin(), list.cend());
}

bool contains(const ManagedObject* record, const char* key, const QString& text)
{
    return record->stringValue(Key(QString::fromLatin1(key))).contains(text);
}
}

bool FTMoc::tidyTextField(ManagedObject* record, const QString& key)
{
    const Key k(key);
    const QString text = record->stringValue(k);
    if (text.isEmpty())
        return false;
    QString tidy = text;
    tidy.replace(kLineBreakBlank, QStringLiteral("\n"));
    tidy = tidy.trimmed();
    if (tidy.size() == text.size())
        return false;
    record->setString(k, tidy);
    return true;
}

int FTMoc::replaceVovovInPictureFilenames()
{
    static const QString kOld = QStringLiteral("KinloomForVovovData");
    static const QString kNew = QStringLiteral("KinloomData");
    ReleasingWalk walk(*this);
    const QList<FTPicture*> pictures = fetch<FTPicture>([&walk](const FTPicture* p) {
        walk.releasePoint();
        return p->stringValue(Key("filename")).contains(kOld, Qt::CaseInsensitive)
            || p->stringValue(Key("originalFilename")).contains(kOld, Qt::CaseInsensitive);
    });
    int filenames = 0;
    int originals = 0;
    for (FTPicture* picture : pictures) {
        walk.releasePoint();
        for (const char* name : { "filename", "originalFilename" }) {
            const Key key(QString::fromLatin1(name));
            QString value = picture->primitiveValue(key).toString();
            const qsizetype at = value.indexOf(kOld, 0, Qt::CaseInsensitive);
            if (at < 0)
                continue;
            value.replace(at, kOld.size(), kNew);
            picture->willChangeValueForKey(key);
            picture->setPrimitiveValue(key, value);
            picture->didChangeValueForKey(key);
            ++(name[0] == 'f' ? filenames : originals);
        }
    }
    if (filenames + originals > 0)
        FTLog(QStringLiteral("%1 filenames and %2 original filenames have been fixed").arg(filenames).arg(originals));
    return filenames + originals;
}

int FTMoc::fixPicturesNotes()
{
    ReleasingWalk walk(*this);
    const int n = tidyFields(records(fetch<FTPicture>([&walk](const FTPicture* p) {
        walk.releasePoint();
        return contains(p, "notes", kLineBreakBlank);
    })),
        { QStringLiteral("notes") }, walk);
    FTLog(QStringLiteral("databaseIntegrityCheck - %1 Pictures notes fixed").arg(n));
    return n;
}

int FTMoc::fixEventNotes()
{
    ReleasingWalk walk(*this);
    const int n = tidyFields(records(fetch<FTEvent>([&walk](const FTEvent* e) {
        walk.releasePoint();
        return contains(e, "notes", kLineBreakBlank);
    })),
        { QStringLiteral("notes") }, walk);
    FTLog(QStringLiteral("databaseIntegrityCheck - %1 Event Notes fixed").arg(n));
    return n;
}

int FTMoc::fixPersonFields()
{
    ReleasingWalk walk(*this);
    const int n = tidyFields(records(fetch<FTPerson>([&walk](const FTPerson* p) {
        walk.releasePoint();
        return contains(p, "notes", kLineBreakBlank) || contains(p, "comments", kLineBreakBlank);
    })),
        { QStringLiteral("comments"), QStringLiteral("notes") }, walk);
    FTLog(QStringLiteral("databaseIntegrityCheck - %1 Person fields fixed").arg(n));
    return n;
}

int FTMoc::fixSourceFields()
{
    ReleasingWalk walk(*this);
    const int n = tidyFields(fetchAllForEntity(QStringLiteral("Source")),
        { QStringLiteral("title"), QStringLiteral("abbreviatedTitle"), QStringLiteral("author"),
            QStringLiteral("publisher"), QStringLiteral("date"), QStringLiteral("location"), QStringLiteral("notes"),
            QStringLiteral("type") },
        walk);
    FTLog(QStringLiteral("databaseIntegrityCheck - %1 Source fields fixed").arg(n));
    return n;
}

int FTMoc::fixSourceRelsFields()
{
    ReleasingWalk walk(*this);
    const int n = tidyFields(fetchAllForEntity(QStringLiteral("SourceRel")),
        { QStringLiteral("itemDescribed"), QStringLiteral("notes"), QStringLiteral("reference") }, walk);
    FTLog(QStringLiteral("databaseIntegrityCheck - %1 SourceRels fields fixed").arg(n));
    return n;
}

int FTMoc::fixPersonNames()
{
    static const Key kName("name");
    int fixed = 0;
    ReleasingWalk walk(*this);
    const QList<FTPerson*> people = fetch<FTPerson>([&walk](const FTPerson* p) {
        walk.releasePoint();
        const QString name = p->stringValue(kName);
        return name.contains(QLatin1Char('\n')) || name.contains(QLatin1Char('\r'));
    });
    for (FTPerson* person : people) {
        walk.releasePoint();
        const QString name = person->stringValue(kName);
        QString clean = name;
        clean.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
        while (clean.contains(QStringLiteral("  ")))
            clean.replace(QStringLiteral("  "), QStringLiteral(" "));
        // A line break that becomes a blank keeps the length: the text itself is compared.
        if (clean == name)
            continue;
        person->setName(clean);
        ++fixed;
        FTLog(QStringLiteral("Fixed name of Person by removing CR or LF for %1").arg(person->nameWithBirthAndDeathYears()));
    }
    FTLog(QStringLiteral("databaseIntegrityCheck - %1 Person Names fixed").arg(fixed));
    return fixed;
}

int FTMoc::populateNameComponents()
{
    constexpr int kBatch = 5000;
    FTLog(QStringLiteral("populateNameComponents"));
    QElapsedTimer timer;
    timer.start();
    undoManager()->disableUndoRegistration();
    ReleasingWalk walk(*this);
    const QList<FTPerson*> people = fetch<FTPerson>();
    const bool tell = !importThreadIsActive() && people.size() > kBatch;
    if (tell)
        Prompts::current().message(QStringLiteral("Kinloom needs to do a minor refresh for Family Names.\n\nPlease be "
                                                  "patient - this may take a few seconds or it may take 2 or 3 minutes."));
    int done = 0;
    for (qsizetype i = 0; i < people.size(); ++i) {
        // People saved in the batches before are given back too.
        walk.releasePoint();
        people[i]->setNameComponents();
        ++done;
        // Written in batches, so that a very large database never holds all its changes at once.
        if (i > 0 && i % kBatch == 0) {
            FTLog(QStringLiteral("populateNameComponents: saving moc for kk = %1 and releasing subPool").arg(i));
            QString error;
            if (!save(&error)) {
                reportSaveError(error);
                break;
            }
        }
    }
    undoManager()->enableUndoRegistration();
    FTLog(QStringLiteral("databaseIntegrityCheck - %1 Family fields populated").arg(done));
    if (tell)
        Prompts::current().message(QStringLiteral("Database refresh for Family Names was completed in %1 seconds")
                                       .arg(timer.nsecsElapsed() / 1e9, 0, 'f', 1));
    return done;
}

int FTMoc::removeRedundantSourceRels()
{
    ReleasingWalk walk(*this);
    const QList<FTSourceRel*> sourceless = fetch<FTSourceRel>([&walk](const FTSourceRel* c) {
        walk.releasePoint();
        return !c->source();
    });
    for (FTSourceRel* citation : sourceless)
        deleteObject(citation);
    // A citation of a person's event names the person too.
    const QList<FTSourceRel*> unnamed = fetch<FTSourceRel>([&walk](const FTSourceRel* c) {
        walk.releasePoint();
        return !c->person() && c->event();
    });
    int named = 0;
    for (FTSourceRel* citation : unnamed) {
        walk.releasePoint();
        FTEvent* event = citation->event();
        const int type = event->type();
        if (type != FTEvent::BirthEvent && type != FTEvent::DeathEvent && type != FTEvent::OtherPersonalEvent)
            continue;
        if (FTPerson* owner = event->person()) {
            citation->setPerson(owner);
            ++named;
        }
    }
    FTLog(QStringLiteral("databaseIntegrityCheck - %1 SourceRels with Source = nil have been deleted.").arg(sourceless.size()));
    return int(sourceless.size()) + named;
}

int FTMoc::validateSourceRels()
{
    QElapsedTimer timer;
    timer.start();
    ReleasingWalk walk(*this);
    QList<FTSourceRel*> citations = fetch<FTSourceRel>([&walk](const FTSourceRel* c) {
        walk.releasePoint();
        const FTEvent* e = c->event();
        return e && (e->type() == FTEvent::MarriageEvent || e->type() == FTEvent::OtherMarriageEvent) && c->person();
    });
    if (citations.isEmpty())
        return 0;
    // Sorted by number, then by record, so that events or sources that share a number (0 in an unnumbered
    // import) are never taken for one another.
    auto key = [](const FTManagedObject* o, int number) { return std::pair<int, qint64>(number, o ? o->primaryKey() : 0); };
    std::stable_sort(citations.begin(), citations.end(), [&key](const FTSourceRel* a, const FTSourceRel* b) {
        const auto ea = key(a->event(), a->event()->numericId()), eb = key(b->event(), b->event()->numericId());
        if (ea != eb)
            return ea < eb;
        const auto sa = key(a->source(), a->source() ? a->source()->numericId() : 0);
        const auto sb = key(b->source(), b->source() ? b->source()->numericId() : 0);
        if (sa != sb)
            return sa < sb;
        return a->reference() < b->reference();
    });
    int deleted = 0;
    FTSourceRel* previous = nullptr;
    for (FTSourceRel* current : citations) {
        current->setFlagBits(0);
        if (previous && previous->event() == current->event() && previous->source() == current->source()
            && ((previous->reference().isNull() && current->reference().isNull())
                || (!current->reference().isNull() && current->reference() == previous->reference()))) {
            current->setFlagBits(1);
            deleteObject(previous);
            ++deleted;
            current->setPerson(nullptr);
        }
        previous = current;
    }
    FTLog(QStringLiteral("databaseIntegrityCheck - deleted %1 of %2 SourceRels in %3 msecs")
              .arg(deleted)
              .arg(citations.size())
              .arg(timer.nsecsElapsed() / 1e6, 0, 'f', 3));
    return int(citations.size());
}

int FTMoc::removeInvalidSourceRels()
{
    static const Key kSource("source");
    int removed = 0;
    ReleasingWalk walk(*this);
    for (FTSourceRel* citation : fetch<FTSourceRel>()) {
        walk.releasePoint();
        const FTSource* source = citation->source();
        if (!source || (!source->isDeleted() && source->context() == citation->context()))
            continue;
        citation->setPrimitiveValue(kSource, QVariant());
        deleteObject(citation);
        ++removed;
    }
    FTLog(QStringLiteral("databaseIntegrityCheck - %1 invalid Source Citations, that referred to invalid (deleted) "
                         "Sources, have been removed from the database.")
              .arg(removed));
    return removed;
}

int FTMoc::fixEventTypeGroupNames()
{
    QElapsedTimer timer;
    timer.start();
    const QList<FTEventType*> types
        = fetch<FTEventType>([](const FTEventType* t) { return t->group() == QLatin1String("OtherPersonalEvents"); });
    if (types.isEmpty())
        return 0;
    int fixed = 0;
    for (FTEventType* type : types) {
        QString group;
        for (int bit : EventTypesVocabulary::kGroupBits) {
            if (EventTypesVocabulary::dictionary(bit).contains(type->gedcomCode())) {
                group = EventTypesVocabulary::groupName(bit);
                break;
            }
        }
        if (group != type->group()) {
            type->setGroup(group);
            ++fixed;
        }
    }
    FTLog(QStringLiteral("databaseIntegrityCheck - %1 msecs to fix %2 EventType Group Names")
              .arg(timer.nsecsElapsed() / 1e6, 0, 'f', 1)
              .arg(fixed));
    return fixed;
}

int FTMoc::fixEventTypeNames()
{
    int fixed = 0;
    const QMap<QString, QString> vocabulary = EventTypesVocabulary::dictionary(-1);
    for (auto it = vocabulary.cbegin(); it != vocabulary.cend(); ++it) {
        FTEventType* type = eventTypeForEventGedcomCode(it.key());
        if (type && type->name() != it.value()) {
            type->setName(it.value());
            ++fixed;
        }
    }
    FTLog(QStringLiteral("databaseIntegrityCheck - %1 Event Type Names fixed").arg(fixed));
    return fixed;
}
