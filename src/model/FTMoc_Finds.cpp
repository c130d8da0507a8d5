#include "model/FTMoc.h"

#include "model/FTModelDefaults.h"
#include "model/FTPerson.h"
#include "model/FTProjectView.h"
#include "model/FTSource.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"
#include "platform/store/FetchRequest.h"
#include "platform/store/TextMatch.h"

#include <QFileInfo>
#include <QSet>

#include <algorithm>

FTPerson* FTMoc::focalPerson()
{
    FTModelDefaults* defaults = modelDefaults();
    if (FTPerson* focal = defaults->focalPerson())
        return focal;
    FTPerson* person = firstPersonInDatabaseWhoIsNot(nullptr);
    bool madeOne = false;
    if (person) {
        FTProjectView* view = person->ancestralView();
        if (!view) {
            view = FTProjectView::initInMoc(this);
            view->setRootPersonInAncestralView(person);
            view->setName(QStringLiteral("%1's ancestors").arg(person->name()));
            view->clearAncestorsSet();
        }
        defaults->setCurrentView(view);
    } else {
        person = FTPerson::initInMoc(this, QStringLiteral("name"), LocalizedString("MaleShort"));
        madeOne = true;
    }
    setFocalPerson(person);
    if (madeOne)
        Prompts::current().message(QStringLiteral("Empty model"));
    return person;
}

void FTMoc::setFocalPerson(FTPerson* person)
{
    modelDefaults()->setFocalPerson(person);
}

FTPerson* FTMoc::selectedPerson()
{
    if (FTPerson* selected = modelDefaults()->selectedPerson())
        return selected;
    FTPerson* focal = focalPerson();
    setSelectedPerson(focal);
    return focal;
}

void FTMoc::setSelectedPerson(FTPerson* person)
{
    modelDefaults()->setSelectedPerson(person);
}

FTProjectView* FTMoc::projectView()
{
    return modelDefaults()->currentView();
}

QString FTMoc::modelName() const
{
    return QFileInfo(databaseURL()).completeBaseName();
}

FTPerson* FTMoc::firstPersonInDatabaseWhoIsNot(const FTPerson* person) const
{
    FTLog(QStringLiteral("get firstPersonInDatabaseWhoIsNot"));
    FetchRequest request(QString::fromLatin1(FTPerson::kEntityName));
    request.sortBy(QStringLiteral("numericId")).limit(2);
    const QList<ManagedObject*> people = request.execute(*this);
    if (people.isEmpty())
        return nullptr;
    if (people.first() != person)
        return static_cast<FTPerson*>(people.first());
    return people.size() > 1 ? static_cast<FTPerson*>(people[1]) : nullptr;
}

QList<ManagedObject*> FTMoc::fetchAllForEntity(const QString& entityName) const
{
    FTLog(QStringLiteral("fetchAllForEntity %1").arg(entityName));
    return fetch(entityName);
}

QList<ManagedObject*> FTMoc::findObjectName(const QString& text, const QString& entityName) const
{
    const bool withTitles = UserDefaults::standard().boolForKey(QStringLiteral("includeTitlesInSearch"))
        && entityName == QLatin1String(FTPerson::kEntityName);
    if (text.isEmpty())
        return {};
    // Every word begins the name (or the title) or one of its words.
    std::vector<FetchRequest::Condition> words;
    for (const QString& piece : text.split(QLatin1Char(' '))) {
        if (piece.isEmpty() || piece == QLatin1String(" "))
            continue;
        if (withTitles)
            words.push_back(FetchRequest::anyOf({ FetchRequest::beginsWord(QStringLiteral("name"), piece),
                FetchRequest::beginsWord(QStringLiteral("title"), piece) }));
        else
            words.push_back(FetchRequest::beginsWord(QStringLiteral("name"), piece));
    }
    FetchRequest request(entityName);
    request.where(FetchRequest::allOf(std::move(words))).sortBy(QStringLiteral("name"));
    return request.execute(*this);
}

QList<FTPerson*> FTMoc::findPeopleWithName(const QString& pattern) const
{
    if (pattern.isEmpty())
        return {};
    QList<FTPerson*> people = fetch<FTPerson>([&](const FTPerson* p) { return TextMatch::like(p->name(), pattern); });
    QHash<const FTPerson*, QString> keys;
    for (const FTPerson* p : people)
        keys.insert(p, p->nameWithBirthAndDeathYears());
    std::stable_sort(people.begin(), people.end(),
        [&keys](const FTPerson* a, const FTPerson* b) { return keys.value(a) < keys.value(b); });
    return people;
}

QString FTMoc::genderForName(const QString& name, QString* firstName) const
{
    if (firstName)
        *firstName = QString();
    const QStringList words = name.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty() || words.first().size() < 2)
        return QString();
    const QString first = words.first();
    const QString male = LocalizedString("MaleShort");
    const QString female = LocalizedString("FemaleShort");
    int males = 0;
    int females = 0;
    FetchRequest namesakes(QString::fromLatin1(FTPerson::kEntityName));
    namesakes.where(FetchRequest::anyOf({ FetchRequest::beginsWith(QStringLiteral("name"), first + QLatin1Char(' ')),
        FetchRequest::beginsWith(QStringLiteral("name"), first + QLatin1Char('_')) }));
    for (const ManagedObject* o : namesakes.execute(*this)) {
        const auto* p = static_cast<const FTPerson*>(o);
        if (p->gender() == male)
            ++males;
        else if (p->gender() == female)
            ++females;
    }
    if (firstName)
        *firstName = FTManagedObject::capitalized(first);
    if (males > females)
        return male;
    if (females > males)
        return female;
    return QString();
}

QString FTMoc::confirmGender(const QString& name, const QString& gender) const
{
    QString first;
    const QString usual = genderForName(name, &first);
    if (usual.isNull() || gender == usual)
        return gender;
    const QString male = LocalizedString("MaleShort");
    const QString female = LocalizedString("FemaleShort");
    auto word = [&](const QString& g) {
        if (g == male)
            return LocalizedString("Male");
        if (g == female)
            return LocalizedString("Female");
        return LocalizedString("Unknown");
    };
    const QString quote = QStringLiteral("\"");
    const QString message = QStringLiteral("%1 %2'%3 %4")
                                .arg(LocalizedString("PleaseConfirm"), name, LocalizedString("possessiveSuffix"),
                                    LocalizedString("gender"));
    const QString info = QStringList { LocalizedString("YouEntered"), quote + word(gender) + quote,
        LocalizedString("but"), quote + first + quote, LocalizedString("isUsually"), quote + word(usual) + quote }
                             .join(QLatin1Char(' '));
    switch (Prompts::current().choose(
        message, info, { LocalizedString("Male"), LocalizedString("Female"), LocalizedString("Cancel") })) {
    case 0:
        return male;
    case 1:
        return female;
    default:
        return QString();
    }
}

QHash<QString, FTSource*> FTMoc::findMatchingSources(const QList<FTSource*>& sources) const
{
    const unsigned options = FTManagedObject::CompareWithoutLastChange | FTManagedObject::CompareWithoutNumericId
        | FTManagedObject::CompareWithoutThumbNailImageData | FTManagedObject::CompareWithoutExtraData;
    const QList<FTSource*> mine = fetch<FTSource>();
    QHash<QString, FTSource*> matches;
    for (const FTSource* theirs : sources) {
        for (FTSource* candidate : mine) {
            const std::optional<QStringList> differences = candidate->compareWith(theirs, options);
            if (differences && differences->isEmpty()) {
                matches.insert(theirs->objectURI(), candidate);
                break;
            }
        }
    }
    return matches;
}

QStringList FTMoc::sourceTypes() const
{
    QSet<QString> seen;
    QStringList types;
    auto add = [&](const QString& t) {
        if (!t.isEmpty() && !seen.contains(t)) {
            seen.insert(t);
            types << t;
        }
    };
    // The built-in types; the ninth of the table is no longer offered.
    const QString builtIn[] = { LocalizedString("FTMocSrcTypArray1"), LocalizedString("FTMocSrcTypArray2"),
        LocalizedString("FTMocSrcTypArray3"), LocalizedString("FTMocSrcTypArray4"),
        LocalizedString("FTMocSrcTypArray5"), LocalizedString("FTMocSrcTypArray6"),
        LocalizedString("FTMocSrcTypArray7"), LocalizedString("FTMocSrcTypArray8"),
        LocalizedString("FTMocSrcTypArray10"), LocalizedString("FTMocSrcTypArray11"),
        LocalizedString("FTMocSrcTypArray12"), LocalizedString("FTMocSrcTypArray13"),
        LocalizedString("FTMocSrcTypArray14"), LocalizedString("FTMocSrcTypArray15"),
        LocalizedString("FTMocSrcTypArray16"), LocalizedString("FTMocSrcTypArray17"),
        LocalizedString("FTMocSrcTypArray18"), LocalizedString("FTMocSrcTypArray19"),
        LocalizedString("FTMocSrcTypArray20") };
    for (const QString& t : builtIn)
        add(t);
    for (const FTSource* source : fetch<FTSource>())
        add(source->type());
    std::sort(types.begin(), types.end(),
        [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return types;
}
