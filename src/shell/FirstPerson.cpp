#include "shell/FirstPerson.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTModelDefaults.h"
#include "model/FTPerson.h"
#include "model/FTProjectView.h"

#include "platform/Localizer.h"

FTPerson* FirstPerson::focalPerson(FTMoc* moc)
{
    if (!moc)
        return nullptr;
    if (FTPerson* p = moc->modelDefaults()->focalPerson(); p && !p->isDeleted())
        return p;
    FTPerson* first = nullptr;
    moc->forEachObject(QString::fromLatin1(FTPerson::kEntityName), [&](ManagedObject* o) {
        auto* p = static_cast<FTPerson*>(o);
        if (!first || p->numericId() < first->numericId())
            first = p;
        return true;
    });
    return first;
}

FTPerson* FirstPerson::selectedPerson(FTMoc* moc)
{
    if (!moc)
        return nullptr;
    if (FTPerson* p = moc->modelDefaults()->selectedPerson(); p && !p->isDeleted())
        return p;
    return focalPerson(moc);
}

FTProjectView* FirstPerson::projectView(FTMoc* moc)
{
    return moc ? moc->modelDefaults()->currentView() : nullptr;
}

int FirstPerson::birthYear(const FTPerson* person)
{
    const FTEvent* birth = person ? person->birth() : nullptr;
    return birth ? birth->year() : 0;
}

QString FirstPerson::nameWithBirthAndDeathYears(const FTPerson* person)
{
    if (!person)
        return {};
    const int born = birthYear(person);
    const int died = person->death() ? person->death()->year() : 0;
    if (!born && !died)
        return person->name();
    return QStringLiteral("%1 (%2-%3)")
        .arg(person->name(), born ? QString::number(born) : QString(), died ? QString::number(died) : QString());
}

FTPerson* FirstPerson::create(FTMoc* moc, const QString& name, const QString& gender)
{
    FTManagedObject::nameNewObjectAction(moc, QStringLiteral("%1 %2").arg(LocalizedString("Add"), name));
    auto* person = moc->insertObject<FTPerson>();
    person->setName(name);
    person->setGender(gender);
    person->assignNumericId(FTCounter::Person);
    return person;
}
