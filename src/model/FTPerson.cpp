#include "model/FTPerson.h"

#include "model/FTAssociation.h"
#include "model/FTEvent.h"
#include "model/FTModelDefaults.h"
#include "model/FTPcRel.h"
#include "model/FTPicture.h"
#include "model/FTProjectView.h"
#include "model/FTSourceRel.h"
#include "model/FTSpouseRel.h"
#include "model/FTStory.h"

#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTSource.h"
#include "model/FamilyNames.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "platform/store/UndoManager.h"

namespace {
const Key kName("name");
const Key kFamilyName("familyName");
const Key kGivenNames("givenNames");
const Key kGender("gender");
const Key kTitle("title");
const Key kNotes("notes");
const Key kComments("comments");
const Key kCauseOfDeath("causeOfDeath");
const Key kUserId("userId");
const Key kNamePrefix("namePrefix");
const Key kNameSuffix("nameSuffix");
const Key kNickName("nickName");
const Key kNumericId("numericId");
const Key kExtraData("extraData");
const Key kLastChange("lastChange");
const Key kBirth("birth");
const Key kDeath("death");
const Key kOtherEvents("otherEvents");
const Key kSpouseRels("spouseRels");
const Key kParents("parents");
const Key kChildren("children");
const Key kPictures("pictures");
const Key kDefaultPicture("defaultPicture");
const Key kStory("story");
const Key kSourceRels("sourceRels");
const Key kAssociationsTo("associationsTo");
const Key kAssociationsFrom("associationsFrom");
const Key kAncestralView("ancestralView");
const Key kProjectViews("projectViews");
const Key kModelDefaultFocalPerson("modelDefaultFocalPerson");
const Key kModelDefaultSelectedPerson("modelDefaultSelectedPerson");
}

QString FTPerson::name() const
{
    return ManagedObject::stringValue(kName);
}
void FTPerson::setFamilyName(const QString& value)
{
    ManagedObject::setString(kFamilyName, value);
}
void FTPerson::setGivenNames(const QString& value)
{
    ManagedObject::setString(kGivenNames, value);
}
void FTPerson::setTitle(const QString& value)
{
    setUndoAction(QStringLiteral("Change Person's Title/Occupation"));
    ManagedObject::setString(kTitle, value);
    post(QStringLiteral("TitleChanged"));
}
void FTPerson::setNotes(const QString& value)
{
    setUndoAction(QStringLiteral("Change Person's Notes"));
    ManagedObject::setString(kNotes, value);
    post(QStringLiteral("NotesOrCommentsChanged"));
}
void FTPerson::setComments(const QString& value)
{
    setUndoAction(QStringLiteral("Change Person's Comments"));
    ManagedObject::setString(kComments, value);
    post(QStringLiteral("NotesOrCommentsChanged"));
}
void FTPerson::setDefaultPicture(FTPicture* value)
{
    setUndoAction(QStringLiteral("Change Person's Default Picture"));
    ManagedObject::setObject(kDefaultPicture, value);
    post(QStringLiteral("DefaultPictureChanged"));
}
QString FTPerson::title() const
{
    return ManagedObject::stringValue(kTitle);
}
QString FTPerson::notes() const
{
    return ManagedObject::stringValue(kNotes);
}
QString FTPerson::comments() const
{
    return ManagedObject::stringValue(kComments);
}
QString FTPerson::causeOfDeath() const
{
    return ManagedObject::stringValue(kCauseOfDeath);
}
void FTPerson::setCauseOfDeath(const QString& value)
{
    ManagedObject::setString(kCauseOfDeath, value);
}
QString FTPerson::userId() const
{
    return ManagedObject::stringValue(kUserId);
}
void FTPerson::setUserId(const QString& value)
{
    ManagedObject::setString(kUserId, value);
}
QString FTPerson::namePrefix() const
{
    return ManagedObject::stringValue(kNamePrefix);
}
void FTPerson::setNamePrefix(const QString& value)
{
    ManagedObject::setString(kNamePrefix, value);
}
QString FTPerson::nameSuffix() const
{
    return ManagedObject::stringValue(kNameSuffix);
}
void FTPerson::setNameSuffix(const QString& value)
{
    ManagedObject::setString(kNameSuffix, value);
}
QString FTPerson::nickName() const
{
    return ManagedObject::stringValue(kNickName);
}
void FTPerson::setNickName(const QString& value)
{
    ManagedObject::setString(kNickName, value);
}
int FTPerson::numericId() const
{
    return int(ManagedObject::integerValue(kNumericId));
}
void FTPerson::setNumericId(int value)
{
    ManagedObject::setInteger(kNumericId, value);
}
QByteArray FTPerson::extraData() const
{
    return ManagedObject::dataValue(kExtraData);
}
void FTPerson::setExtraData(const QByteArray& value)
{
    ManagedObject::setData(kExtraData, value);
}
QDateTime FTPerson::lastChange() const
{
    return ManagedObject::dateValue(kLastChange);
}
void FTPerson::setLastChange(const QDateTime& value)
{
    ManagedObject::setDate(kLastChange, value);
}

FTEvent* FTPerson::birth() const
{
    return ManagedObject::object<FTEvent>(kBirth);
}
void FTPerson::setBirth(FTEvent* value)
{
    ManagedObject::setObject(kBirth, value);
}
FTEvent* FTPerson::death() const
{
    return ManagedObject::object<FTEvent>(kDeath);
}
void FTPerson::setDeath(FTEvent* value)
{
    ManagedObject::setObject(kDeath, value);
}
QList<FTEvent*> FTPerson::otherEvents() const
{
    return ManagedObject::objectList<FTEvent>(kOtherEvents);
}
void FTPerson::addOtherEventsObject(FTEvent* value)
{
    ManagedObject::addObject(kOtherEvents, value);
}
void FTPerson::removeOtherEventsObject(FTEvent* value)
{
    ManagedObject::removeObject(kOtherEvents, value);
}
QList<FTSpouseRel*> FTPerson::spouseRels() const
{
    return ManagedObject::objectList<FTSpouseRel>(kSpouseRels);
}
void FTPerson::addSpouseRelsObject(FTSpouseRel* value)
{
    ManagedObject::addObject(kSpouseRels, value);
}
void FTPerson::removeSpouseRelsObject(FTSpouseRel* value)
{
    ManagedObject::removeObject(kSpouseRels, value);
}
QList<FTPcRel*> FTPerson::parents() const
{
    return ManagedObject::objectList<FTPcRel>(kParents);
}
void FTPerson::addParentsObject(FTPcRel* value)
{
    ManagedObject::addObject(kParents, value);
}
void FTPerson::removeParentsObject(FTPcRel* value)
{
    ManagedObject::removeObject(kParents, value);
}
QList<FTPcRel*> FTPerson::children() const
{
    return ManagedObject::objectList<FTPcRel>(kChildren);
}
void FTPerson::addChildrenObject(FTPcRel* value)
{
    ManagedObject::addObject(kChildren, value);
}
void FTPerson::removeChildrenObject(FTPcRel* value)
{
    ManagedObject::removeObject(kChildren, value);
}
QList<FTPicture*> FTPerson::pictures() const
{
    return ManagedObject::objectList<FTPicture>(kPictures);
}
void FTPerson::addPicturesObject(FTPicture* value)
{
    ManagedObject::addObject(kPictures, value);
}
void FTPerson::removePicturesObject(FTPicture* value)
{
    if (value && value->owner() == this)
        value->setOwner(nullptr);
}
FTPicture* FTPerson::defaultPicture() const
{
    return ManagedObject::object<FTPicture>(kDefaultPicture);
}
FTStory* FTPerson::story() const
{
    return ManagedObject::object<FTStory>(kStory);
}
void FTPerson::setStory(FTStory* value)
{
    ManagedObject::setObject(kStory, value);
}
QList<FTSourceRel*> FTPerson::sourceRels() const
{
    return ManagedObject::objectList<FTSourceRel>(kSourceRels);
}
void FTPerson::addSourceRelsObject(FTSourceRel* value)
{
    ManagedObject::addObject(kSourceRels, value);
}
void FTPerson::removeSourceRelsObject(FTSourceRel* value)
{
    ManagedObject::removeObject(kSourceRels, value);
}
QList<FTAssociation*> FTPerson::associationsTo() const
{
    return ManagedObject::objectList<FTAssociation>(kAssociationsTo);
}
void FTPerson::addAssociationsToObject(FTAssociation* value)
{
    ManagedObject::addObject(kAssociationsTo, value);
}
void FTPerson::removeAssociationsToObject(FTAssociation* value)
{
    ManagedObject::removeObject(kAssociationsTo, value);
}
QList<FTAssociation*> FTPerson::associationsFrom() const
{
    return ManagedObject::objectList<FTAssociation>(kAssociationsFrom);
}
void FTPerson::addAssociationsFromObject(FTAssociation* value)
{
    ManagedObject::addObject(kAssociationsFrom, value);
}
void FTPerson::removeAssociationsFromObject(FTAssociation* value)
{
    ManagedObject::removeObject(kAssociationsFrom, value);
}
FTProjectView* FTPerson::ancestralView() const
{
    return ManagedObject::object<FTProjectView>(kAncestralView);
}
void FTPerson::setAncestralView(FTProjectView* value)
{
    ManagedObject::setObject(kAncestralView, value);
}
QList<FTProjectView*> FTPerson::projectViews() const
{
    return ManagedObject::objectList<FTProjectView>(kProjectViews);
}
void FTPerson::addProjectViewsObject(FTProjectView* value)
{
    ManagedObject::addObject(kProjectViews, value);
}
void FTPerson::removeProjectViewsObject(FTProjectView* value)
{
    ManagedObject::removeObject(kProjectViews, value);
}
FTModelDefaults* FTPerson::modelDefaultFocalPerson() const
{
    return ManagedObject::object<FTModelDefaults>(kModelDefaultFocalPerson);
}
void FTPerson::setModelDefaultFocalPerson(FTModelDefaults* value)
{
    ManagedObject::setObject(kModelDefaultFocalPerson, value);
}
FTModelDefaults* FTPerson::modelDefaultSelectedPerson() const
{
    return ManagedObject::object<FTModelDefaults>(kModelDefaultSelectedPerson);
}
void FTPerson::setModelDefaultSelectedPerson(FTModelDefaults* value)
{
    ManagedObject::setObject(kModelDefaultSelectedPerson, value);
}

// ---- Creation ----------------------------------------------------------------------------------------------------

FTPerson* FTPerson::initInMoc(FTMoc* moc, const QString& name, const QString& gender)
{
    // The whole creation is undone as "Add <name>", not under the name of its first change.
    UndoManager* um = moc->undoManager();
    const bool unnamed = um && um->actionName().isEmpty();
    auto* person = moc->insertObject<FTPerson>();
    person->setName(name);
    person->setGender(gender);
    if (moc->importThreadIsActive())
        return person;
    if (unnamed)
        um->setActionName(QStringLiteral("%1 %2").arg(LocalizedString("Add"), person->name()));
    person->assignNumericId(FTCounter::Person);
    // The new person cites the source the user is working from.
    if (FTSource* source = moc->activeSource())
        FTSourceRel::initInMoc(
            moc, source, person, QStringLiteral("%1, %2").arg(LocalizedString("Name"), LocalizedString("Notes")));
    return person;
}

// ---- Names -------------------------------------------------------------------------------------------------------

namespace {
bool importing(const FTManagedObject* o)
{
    const FTMoc* moc = o->moc();
    return moc && moc->importThreadIsActive();
}

QString collapseBlanks(QString s)
{
    while (s.contains(QStringLiteral("  ")))
        s.replace(QStringLiteral("  "), QStringLiteral(" "));
    return s;
}

bool isSuffix(const QString& word)
{
    const QSet<QString>& suffixes = FamilyNames::suffixes();
    const QString capitalised = FTManagedObject::capitalized(word);
    return suffixes.contains(word) || suffixes.contains(capitalised) || suffixes.contains(word.toUpper());
}

// A prefix as typed ("Ó", "Bean") or in lower case ("Van" as "van").
bool isPrefix(const QString& word)
{
    const QSet<QString>& prefixes = FamilyNames::prefixes();
    return prefixes.contains(word) || prefixes.contains(word.toLower());
}

QString familyNameOf(const QString& name)
{
    const QStringList words = name.split(' ', Qt::SkipEmptyParts);
    const qsizetype n = words.size();
    if (n < 2)
        return QString();
    if (n == 2)
        return words[1];
    QStringList family;
    qsizetype i = n - 1;
    while (i >= 1) {
        const QString& word = words[i--];
        family.prepend(word);
        if (!isSuffix(word))
            break;
    }
    while (i >= 1 && isPrefix(words[i]))
        family.prepend(words[i--]);
    return family.join(' ');
}

QString givenNamesOf(const QString& name, const QString& familyName)
{
    if (familyName.isEmpty())
        return name;
    const qsizetype at = name.lastIndexOf(familyName);
    return at < 0 ? name : name.left(at).trimmed();
}
}

QString FTPerson::validateName(const QString& value)
{
    return collapseBlanks(value).trimmed();
}

void FTPerson::setName(const QString& value)
{
    QString s = value.isNull() ? QStringLiteral("Unknown") : value;
    for (QChar c : { QChar('/'), QChar('\\'), QChar('\n'), QChar('\r') })
        s.replace(c, QChar(' '));
    s = collapseBlanks(s).trimmed();
    if (s.isEmpty())
        s = QStringLiteral("Unknown");
    const bool import = importing(this);
    if (!import) {
        const UserDefaults& defaults = UserDefaults::standard();
        if (defaults.boolForKey(QStringLiteral("uppercaseFamilyName")))
            s = FamilyNames::uppercaseFamilyName(s);
        if (defaults.boolForKey(QStringLiteral("duplicateNameWarning")))
            duplicateNameWarning(s);
        setUndoAction(QStringLiteral("Change Person's Name"));
    }
    ManagedObject::setString(kName, s);
    setNameComponents();
    if (!import)
        post(QStringLiteral("PersonNameOrDateChanged"));
}

void FTPerson::duplicateNameWarning(const QString& newName)
{
    Q_UNUSED(newName);
}

QString FTPerson::familyNameCreate()
{
    const QString family = familyNameOf(name());
    if (stringValue(kFamilyName) != family)
        ManagedObject::setString(kFamilyName, family);
    return family;
}

void FTPerson::setNameComponents()
{
    const QString full = name();
    const QString family = familyNameOf(full);
    if (stringValue(kFamilyName) != family)
        ManagedObject::setString(kFamilyName, family);
    const QString given = givenNamesOf(full, family);
    if (stringValue(kGivenNames) != given)
        ManagedObject::setString(kGivenNames, given);
}

QString FTPerson::familyName() const
{
    const QString stored = stringValue(kFamilyName);
    return stored.isEmpty() ? familyNameOf(name()) : stored;
}

QString FTPerson::givenNames() const
{
    const QString stored = stringValue(kGivenNames);
    if (!stored.isEmpty() || name().isEmpty())
        return stored;
    return givenNamesOf(name(), familyName());
}

QString FTPerson::firstName() const
{
    const QStringList words = name().split(' ', Qt::SkipEmptyParts);
    return words.isEmpty() ? QString(QLatin1String("")) : words.first();
}

QString FTPerson::shortName() const
{
    return QStringLiteral("%1 %2").arg(firstName(), familyName());
}

bool FTPerson::nameExists() const
{
    return !name().isEmpty();
}

// ---- Extras, undo names, notifications ---------------------------------------------------------------------------

QString FTPerson::todo() const
{
    const QCborMap map = extraDataMap();
    return map.contains(QStringLiteral("Todo")) ? map.value(QStringLiteral("Todo")).toString() : QString();
}

void FTPerson::setTodo(const QString& value)
{
    const QString text = value.trimmed();
    QCborMap map = extraDataMap();
    if (text.isEmpty()) {
        if (!map.contains(QStringLiteral("Todo")))
            return;
        map.remove(QStringLiteral("Todo"));
    } else {
        map.insert(QStringLiteral("Todo"), text);
    }
    setUndoAction(QStringLiteral("Change Todo for %1").arg(nameWithBirthAndDeathYears()));
    setExtraDataMap(map);
}

QString FTPerson::ancestralFileNumber() const
{
    return extraDataMap().value(QStringLiteral("AFN")).toString();
}

void FTPerson::setAncestralFileNumber(const QString& value)
{
    setUndoAction(QStringLiteral("Change Person's AFN"));
    QCborMap map = extraDataMap();
    map.insert(QStringLiteral("AFN"), value.isNull() ? QString(QLatin1String("")) : value);
    setExtraDataMap(map);
}

void FTPerson::setUndoAction(const QString& name) const
{
    nameChangeAction(name);
}

void FTPerson::post(const QString& notification)
{
    FTMoc* m = moc();
    if (m && m->importThreadIsActive())
        return;
    NotificationCenter::defaultCenter().post(notification, this, m);
}

// ---- Key-value access ----------------------------------------------------------------------------------------------

namespace {
template <class T> QVariant listVariant(const QList<T*>& list)
{
    QList<ManagedObject*> out;
    out.reserve(list.size());
    for (T* o : list)
        out.push_back(o);
    return QVariant::fromValue(out);
}

QVariant textVariant(const QString& s)
{
    return s.isNull() ? QVariant() : QVariant(s);
}

using Getter = QVariant (*)(const FTPerson*);
const QHash<QString, Getter>& derivedKeys()
{
    static const QHash<QString, Getter> keys {
        { "familyName", [](const FTPerson* p) { return textVariant(p->familyName()); } },
        { "givenNames", [](const FTPerson* p) { return textVariant(p->givenNames()); } },
        { "firstName", [](const FTPerson* p) { return QVariant(p->firstName()); } },
        { "shortName", [](const FTPerson* p) { return QVariant(p->shortName()); } },
        { "todo", [](const FTPerson* p) { return textVariant(p->todo()); } },
        { "ancestralFileNumber", [](const FTPerson* p) { return QVariant(p->ancestralFileNumber()); } },
        { "nameWithBirthAndDeathYears", [](const FTPerson* p) { return QVariant(p->nameWithBirthAndDeathYears()); } },
        { "shortNameWithBirthAndDeathYears",
            [](const FTPerson* p) { return QVariant(p->shortNameWithBirthAndDeathYears()); } },
        { "nameWithIdBirthAndDeathYears",
            [](const FTPerson* p) { return QVariant(p->nameWithIdBirthAndDeathYears()); } },
        { "spousesString", [](const FTPerson* p) { return QVariant(p->spousesString()); } },
        { "naturalFathersNameWithBirthAndDeathYears",
            [](const FTPerson* p) { return textVariant(p->naturalFathersNameWithBirthAndDeathYears()); } },
        { "naturalMothersNameWithBirthAndDeathYears",
            [](const FTPerson* p) { return textVariant(p->naturalMothersNameWithBirthAndDeathYears()); } },
        { "ageAtDeath", [](const FTPerson* p) { return QVariant(p->ageAtDeath()); } },
        { "currentAgeString", [](const FTPerson* p) { return QVariant(p->currentAgeString()); } },
        { "currentAge", [](const FTPerson* p) { return QVariant(p->currentAge()); } },
        { "isLiving", [](const FTPerson* p) { return QVariant(p->isLiving()); } },
        { "hasSourceRels", [](const FTPerson* p) { return QVariant(p->hasSourceRels()); } },
        { "isUnconnected", [](const FTPerson* p) { return QVariant(p->isUnconnected()); } },
        { "nameExists", [](const FTPerson* p) { return QVariant(p->nameExists()); } },
        { "estimatedBirthYear", [](const FTPerson* p) { return QVariant(p->estimatedBirthYear()); } },
        { "latestChangeDate",
            [](const FTPerson* p) {
                const QDateTime d = p->latestChangeDate();
                return d.isValid() ? QVariant(d) : QVariant();
            } },
        { "naturalFather", [](const FTPerson* p) { return ManagedObject::toVariant(p->naturalFather()); } },
        { "naturalMother", [](const FTPerson* p) { return ManagedObject::toVariant(p->naturalMother()); } },
        { "spouses", [](const FTPerson* p) { return listVariant(p->spouses()); } },
        { "childRels", [](const FTPerson* p) { return listVariant(p->childRels()); } },
        { "parentRels", [](const FTPerson* p) { return listVariant(p->parentRels()); } },
        { "spouseRelsArray", [](const FTPerson* p) { return listVariant(p->spouseRelsArray()); } },
        { "marriageEvents", [](const FTPerson* p) { return listVariant(p->marriageEvents()); } },
        { "picturesArray", [](const FTPerson* p) { return listVariant(p->picturesArray()); } },
        { "allSourceRels", [](const FTPerson* p) { return listVariant(p->allSourceRels()); } },
        { "assocPersonsArray", [](const FTPerson* p) { return listVariant(p->assocPersonsArray()); } },
    };
    return keys;
}
}

QVariant FTPerson::valueForKey(const QString& key) const
{
    if (const Getter getter = derivedKeys().value(key))
        return getter(this);
    return FTManagedObject::valueForKey(key);
}

void FTPerson::setValueForKey(const QString& key, const QVariant& value)
{
    if (key == QLatin1String("name"))
        setName(value.isValid() ? value.toString() : QString());
    else if (key == QLatin1String("title"))
        setTitle(value.toString());
    else if (key == QLatin1String("notes"))
        setNotes(value.toString());
    else if (key == QLatin1String("comments"))
        setComments(value.toString());
    else if (key == QLatin1String("todo"))
        setTodo(value.toString());
    else if (key == QLatin1String("ancestralFileNumber"))
        setAncestralFileNumber(value.toString());
    else if (key == QLatin1String("defaultPicture"))
        setDefaultPicture(static_cast<FTPicture*>(ManagedObject::fromVariant(value)));
    else
        FTManagedObject::setValueForKey(key, value);
}

void FTPerson::setValueForKeyPath(const QString& keyPath, const QVariant& value)
{
    const qsizetype dot = keyPath.indexOf('.');
    if (dot < 0) {
        setValueForKey(keyPath, value);
        return;
    }
    const QString first = keyPath.left(dot);
    const QString rest = keyPath.mid(dot + 1);
    FTMoc* m = moc();
    if (first == QLatin1String("story") && !story() && m)
        setStory(FTStory::initInMoc(m));
    else if (first == QLatin1String("birth") && !birth() && m)
        setBirth(FTEvent::initInMoc(m, FTEvent::BirthEvent, this, QStringLiteral("BIRT")));
    else if (first == QLatin1String("death") && !death() && m)
        setDeath(FTEvent::initInMoc(m, FTEvent::DeathEvent, this, QStringLiteral("DEAT")));
    if (ManagedObject* target = ManagedObject::fromVariant(valueForKey(first)))
        target->setValueForKey(rest, value);
}

QVariant FTPerson::valueForUndefinedKey(const QString& key) const
{
    FTLog(QStringLiteral("FTPerson - valueForUndefinedKey - %1").arg(key));
    return {};
}
