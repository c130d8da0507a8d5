#include "model/FTSource.h"

#include "model/FTMoc.h"
#include "model/FTPicture.h"
#include "model/FTSourceRel.h"
#include "model/ModelHooks.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"
#include "platform/store/StoreSchema.h"
#include "platform/store/TextMatch.h"

namespace {
const Key kNumericId("numericId");
const Key kType("type");
const Key kTitle("title");
const Key kAbbreviatedTitle("abbreviatedTitle");
const Key kAuthor("author");
const Key kPublisher("publisher");
const Key kDate("date");
const Key kLocation("location");
const Key kNotes("notes");
const Key kUserId("userId");
const Key kFlags("flags");
const Key kLastChange("lastChange");
const Key kSourceRels("sourceRels");
const Key kPicture("picture");
}

int FTSource::numericId() const
{
    return int(ManagedObject::integerValue(kNumericId));
}
void FTSource::setNumericId(int value)
{
    ManagedObject::setInteger(kNumericId, value);
}
QString FTSource::type() const
{
    return ManagedObject::stringValue(kType);
}
void FTSource::setType(const QString& value)
{
    ManagedObject::setString(kType, value);
}
QString FTSource::title() const
{
    return ManagedObject::stringValue(kTitle);
}
void FTSource::setTitle(const QString& value)
{
    ManagedObject::setString(kTitle, value);
}
QString FTSource::abbreviatedTitle() const
{
    return ManagedObject::stringValue(kAbbreviatedTitle);
}
void FTSource::setAbbreviatedTitle(const QString& value)
{
    ManagedObject::setString(kAbbreviatedTitle, value);
}
QString FTSource::author() const
{
    return ManagedObject::stringValue(kAuthor);
}
void FTSource::setAuthor(const QString& value)
{
    ManagedObject::setString(kAuthor, value);
}
QString FTSource::publisher() const
{
    return ManagedObject::stringValue(kPublisher);
}
void FTSource::setPublisher(const QString& value)
{
    ManagedObject::setString(kPublisher, value);
}
QString FTSource::date() const
{
    return ManagedObject::stringValue(kDate);
}
void FTSource::setDate(const QString& value)
{
    ManagedObject::setString(kDate, value);
}
QString FTSource::location() const
{
    return ManagedObject::stringValue(kLocation);
}
void FTSource::setLocation(const QString& value)
{
    ManagedObject::setString(kLocation, value);
}
QString FTSource::notes() const
{
    return ManagedObject::stringValue(kNotes);
}
void FTSource::setNotes(const QString& value)
{
    ManagedObject::setString(kNotes, value);
}
QString FTSource::userId() const
{
    return ManagedObject::stringValue(kUserId);
}
void FTSource::setUserId(const QString& value)
{
    ManagedObject::setString(kUserId, value);
}
int FTSource::flags() const
{
    return int(ManagedObject::integerValue(kFlags));
}
void FTSource::setFlags(int value)
{
    ManagedObject::setInteger(kFlags, value);
}
QDateTime FTSource::lastChange() const
{
    return ManagedObject::dateValue(kLastChange);
}
void FTSource::setLastChange(const QDateTime& value)
{
    ManagedObject::setDate(kLastChange, value);
}

QList<FTSourceRel*> FTSource::sourceRels() const
{
    return ManagedObject::objectList<FTSourceRel>(kSourceRels);
}
void FTSource::addSourceRelsObject(FTSourceRel* value)
{
    ManagedObject::addObject(kSourceRels, value);
}
void FTSource::removeSourceRelsObject(FTSourceRel* value)
{
    ManagedObject::removeObject(kSourceRels, value);
}
FTPicture* FTSource::picture() const
{
    return ManagedObject::object<FTPicture>(kPicture);
}
void FTSource::setPicture(FTPicture* value)
{
    FTPicture* replaced = picture();
    if (replaced == value)
        return;
    ManagedObject::setObject(kPicture, value);
    FTPicture::deleteIfOwnerless(replaced);
}

void FTSource::setValueForKey(const QString& key, const QVariant& value)
{
    if (key == QLatin1String("picture"))
        setPicture(dynamic_cast<FTPicture*>(fromVariant(value)));
    else
        FTManagedObject::setValueForKey(key, value);
}

// ---- Behaviour -------------------------------------------------------------------------------------------------


namespace {
struct Field {
    const Key* key;
    const char* label;
};
// The fields of the short description, in order, with their labels.
const Field kShortFields[] = { { &kType, "TYPE" }, { &kAbbreviatedTitle, "ABBR" }, { &kTitle, "TITLE" },
    { &kAuthor, "AUTH" }, { &kPublisher, "PUBL" }, { &kDate, "DATE" }, { &kLocation, "LOCN" } };
constexpr int kRoomForNotes = 48;

QString trimmedValue(const FTSource* source, const Key* key)
{
    return source->stringValue(*key).trimmed();
}

// The labels of kShortFields as the descriptions show them ("Type: ..."), made once: menus and lists describe
// thousands of sources at a time.
const QStringList& shortFieldLabels()
{
    static const QStringList labels = [] {
        QStringList out;
        for (const Field& f : kShortFields)
            out << FTManagedObject::capitalized(QString::fromLatin1(f.label)) + QStringLiteral(": ");
        return out;
    }();
    return labels;
}

// A description that fails is reported, and the list shows what was built so far.
template <class Fn> QString reportingFailure(const char* method, Fn&& fn)
{
    QString text;
    try {
        fn(text);
    } catch (...) {
        ModelHooks::reportException("FTSource", __LINE__, QString::fromLatin1(method));
    }
    return text;
}
}

FTSource* FTSource::initInMoc(FTMoc* moc)
{
    auto* source = moc->insertObject<FTSource>();
    nameNewObjectAction(moc, LocalizedString(QStringLiteral("AddSource")));
    source->assignNumericId(FTCounter::Source);
    return source;
}

QString FTSource::shortDescription() const
{
    return reportingFailure("shortDescription", [this](QString& text) {
        text.reserve(160);
        const QStringList& labels = shortFieldLabels();
        for (size_t i = 0; i < std::size(kShortFields); ++i) {
            const QString value = trimmedValue(this, kShortFields[i].key);
            if (value.isEmpty())
                continue;
            if (!text.isEmpty())
                text += QLatin1Char('\n');
            text += labels[qsizetype(i)];
            text += value;
        }
        QString notes = this->notes().trimmed();
        if (text.size() < kRoomForNotes && !notes.isEmpty()) {
            notes.replace(QLatin1Char('\n'), QLatin1Char(' '));
            notes.replace(QLatin1Char('\r'), QLatin1Char(' '));
            if (!text.isEmpty())
                text += QLatin1Char('\n');
            text += QStringLiteral("%1: %2").arg(LocalizedString(QStringLiteral("Notes")), notes);
        }
    });
}

QString FTSource::shortDescriptionWithTitleInItalics(const std::function<QString(const QString&)>& escape) const
{
    return reportingFailure("shortDescriptionWithTitleInItalics", [this, &escape](QString& text) {
        // Which lines there are, and whether the notes fit, is decided on the plain text the lists show.
        int plainLength = 0;
        const QStringList& labels = shortFieldLabels();
        for (size_t i = 0; i < std::size(kShortFields); ++i) {
            const QString value = trimmedValue(this, kShortFields[i].key);
            if (value.isEmpty())
                continue;
            if (!text.isEmpty()) {
                text += QLatin1Char('\n');
                ++plainLength;
            }
            plainLength += int(labels[qsizetype(i)].size() + value.size());
            text += escape(labels[qsizetype(i)]);
            if (kShortFields[i].key == &kTitle)
                text += QStringLiteral("\\i ") + escape(value) + QStringLiteral("\\i0 ");
            else
                text += escape(value);
        }
        QString notes = this->notes().trimmed();
        if (plainLength < kRoomForNotes && !notes.isEmpty()) {
            notes.replace(QLatin1Char('\n'), QLatin1Char(' '));
            notes.replace(QLatin1Char('\r'), QLatin1Char(' '));
            if (!text.isEmpty())
                text += QLatin1Char('\n');
            text += escape(QStringLiteral("%1: %2").arg(LocalizedString(QStringLiteral("Notes")), notes));
        }
    });
}

QString FTSource::shortDescriptionWithNumericId() const
{
    // "ID: % 5d": a blank before a number that is not negative, the whole at least five wide. Built without a
    // format, as the source menus describe every source at each click.
    const int number = numericId();
    QString id = number < 0 ? QString::number(number) : QLatin1Char(' ') + QString::number(number);
    QString text = QStringLiteral("ID: ") + id.rightJustified(5, QLatin1Char(' ')) + QLatin1Char('\n');
    text += shortDescription();
    return text;
}

QString FTSource::shortDescriptionWithNumericIdNoLinefeed() const
{
    return shortDescriptionWithNumericId().replace(QLatin1Char('\n'), QStringLiteral("  "));
}

void FTSource::appendDescription(const QString& key, const QString& label, QString& text) const
{
    static const QHash<QString, QString> fieldNames {
        { QStringLiteral("type"), QStringLiteral("SourceFieldType") },
        { QStringLiteral("abbreviatedTitle"), QStringLiteral("SourceFieldShTit") },
        { QStringLiteral("title"), QStringLiteral("SourceFieldTitle") },
        { QStringLiteral("author"), QStringLiteral("SourceFieldAuth") },
        { QStringLiteral("publisher"), QStringLiteral("SourceFieldPubl") },
        { QStringLiteral("date"), QStringLiteral("SourceFieldDate") },
        { QStringLiteral("location"), QStringLiteral("SourceFieldLocn") },
        { QStringLiteral("notes"), QStringLiteral("SourceFieldNotes") },
    };
    QString value = valueForKey(key).toString().trimmed();
    if (value.isEmpty())
        value = QStringLiteral("%1 %2").arg(LocalizedString(QStringLiteral("No")), LocalizedString(fieldNames.value(key)));
    if (!text.isEmpty())
        text += QLatin1Char('\n');
    text += QStringLiteral("%1: %2").arg(capitalized(label), value);
}

namespace {
struct Shown {
    const char* userDefault;
    const char* key;
    const char* label;
};
const Shown kShown[] = { { "showSourceType", "type", "TYPE" }, { "showSourceShortTitle", "abbreviatedTitle", "ABBR" },
    { "showSourceTitle", "title", "TITLE" }, { "showSourceAuthor", "author", "AUTH" },
    { "showSourcePublisher", "publisher", "PUBL" }, { "showSourceDate", "date", "DATE" },
    { "showSourceLocation", "location", "LOCN" }, { "showSourceNotes", "notes", "NOTES" } };
}

FTSource::ShownFields FTSource::shownFieldsForIASources()
{
    ShownFields shown {};
    const UserDefaults& defaults = UserDefaults::standard();
    for (size_t i = 0; i < shown.size(); ++i)
        shown[i] = defaults.boolForKey(QString::fromLatin1(kShown[i].userDefault));
    return shown;
}

QString FTSource::descriptionForIASources() const
{
    return descriptionForIASources(shownFieldsForIASources());
}

QString FTSource::descriptionForIASources(const ShownFields& shown) const
{
    return reportingFailure("descriptionForIASources", [this, &shown](QString& text) {
        for (size_t i = 0; i < shown.size(); ++i)
            if (shown[i])
                appendDescription(QString::fromLatin1(kShown[i].key), QString::fromLatin1(kShown[i].label), text);
    });
}

QString FTSource::sourceDescriptionForCompareAndMerge() const
{
    static const char* const kLabels[] = { "SourceCompareType", "SourceCompareShTit", "SourceCompareTitle",
        "SourceCompareAuth", "SourceComparePubl", "SourceCompareDate", "SourceCompareLocn" };
    QStringList parts;
    for (size_t i = 0; i < std::size(kShortFields); ++i) {
        const QString value = trimmedValue(this, kShortFields[i].key);
        if (!value.isEmpty())
            parts << QStringLiteral("%1: %2").arg(LocalizedString(QString::fromLatin1(kLabels[i])), value);
    }
    return parts.join(QStringLiteral(", "));
}

QString FTSource::hasNotes() const
{
    return notes().isEmpty() ? QString() : LocalizedString(QStringLiteral("Yes"));
}

int FTSource::numSourceRels() const
{
    return objects(kSourceRels).size();
}

bool FTSource::isTitleUnique() const
{
    const QString mine = title();
    if (mine.isEmpty())
        return false;
    const int sameTitle = context()->count<FTSource>(
        [&mine](const FTSource* s) { return TextMatch::equals(s->title(), mine, TextMatch::CaseAndDiacriticInsensitive); });
    return sameTitle <= 1;
}

void FTSource::declareDerivedKeys(StoreSchema& schema)
{
    // Every field the descriptions show, so a list showing them follows any change.
    const QStringList shown { QStringLiteral("type"), QStringLiteral("abbreviatedTitle"), QStringLiteral("title"),
        QStringLiteral("author"), QStringLiteral("publisher"), QStringLiteral("date"), QStringLiteral("location"),
        QStringLiteral("notes"), QStringLiteral("numericId") };
    schema.entity(QString::fromLatin1(kEntityName))
        .derived(
            QStringLiteral("shortDescription"),
            [](const ManagedObject* o) { return QVariant(static_cast<const FTSource*>(o)->shortDescription()); }, {},
            shown)
        .derived(
            QStringLiteral("shortDescriptionWithNumericId"),
            [](const ManagedObject* o) {
                return QVariant(static_cast<const FTSource*>(o)->shortDescriptionWithNumericId());
            },
            {}, shown);
}
