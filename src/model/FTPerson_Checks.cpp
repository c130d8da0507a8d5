#include "model/FTPerson.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTModelDefaults.h"
#include "model/FTPcRel.h"
#include "model/FTSpouseRel.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"
#include "platform/store/FetchRequest.h"
#include "platform/store/TextMatch.h"

// ---- Gender ------------------------------------------------------------------------------------------------------

namespace {
const Key kGender("gender");

QString genderWord(const QString& gender)
{
    return gender == LocalizedString("MaleShort") ? LocalizedString("Male") : LocalizedString("Female");
}
}

QString FTPerson::gender() const
{
    return ManagedObject::stringValue(kGender);
}

void FTPerson::setGender(const QString& value)
{
    ManagedObject::setString(kGender, value);
}

bool FTPerson::isMale() const
{
    return gender() == LocalizedString("MaleShort");
}

bool FTPerson::isFemale() const
{
    return gender() == LocalizedString("FemaleShort");
}

char FTPerson::cGender() const
{
    const QByteArray bytes = gender().toLocal8Bit();
    return bytes.isEmpty() ? 0 : bytes.at(0);
}

bool FTPerson::canGenderBeChangedTo(const QString& newGender, QString* error) const
{
    const QString current = gender();
    if (current.isEmpty() || newGender.left(1) == current.left(1) || spouseRels().isEmpty())
        return true;
    if (error)
        *error = QStringLiteral("%1 is married").arg(name());
    return false;
}

bool FTPerson::acceptGenderChange(const QString& newGender)
{
    if (newGender == gender())
        return true;
    const QList<FTPerson*> partners = spouses();
    if (partners.size() >= 2) {
        Prompts::current().message(
            QStringLiteral("%1's gender may not be changed to %2 because he/she has more than one spouse")
                .arg(name(), genderWord(newGender)));
        return false;
    }
    // Only a spouse of the same new gender raises the question; a couple of a man and a woman stays as it is.
    FTPerson* spouse = partners.isEmpty() ? nullptr : partners.first();
    if (spouse && spouse->gender() == newGender) {
        const QString male = LocalizedString("MaleShort");
        const QString female = LocalizedString("FemaleShort");
        const QString opposite = spouse->isMale() ? female : male;
        const QString question
            = QStringLiteral("%1 has one spouse called %2 who is %3.\n\nDo you also want to change %4's gender to %5?")
                  .arg(name(), spouse->name(), genderWord(spouse->gender()), spouse->name(), genderWord(opposite));
        if (Prompts::current().choose(question, {}, { LocalizedString("Yes"), LocalizedString("No") }) == 0) {
            nameChangeAction(LocalizedString("ChangeGender"));
            spouse->setGender(opposite);
        } else {
            // The children the two share would have two natural parents of one gender: the spouse becomes their
            // step parent. The spouse's children by other partners keep their links.
            const QList<FTPerson*> mine = naturalChildren();
            int changed = 0;
            for (FTPcRel* link : spouse->children()) {
                if (link->intPcRelType() != FTPcRel::kNatural || !mine.contains(link->child()))
                    continue;
                nameChangeAction(LocalizedString("ChangePCRel"));
                link->setPcRelType(FTPcRel::kStep);
                ++changed;
            }
            if (changed == 1)
                Prompts::current().message(QStringLiteral("%1 of %2's children has been changed to be a STEP child to "
                                                          "avoid having two natural parents of the same gender.")
                                               .arg(changed)
                                               .arg(spouse->name()));
            else if (changed > 1)
                Prompts::current().message(QStringLiteral("%1 of %2's children have been changed to be STEP children "
                                                          "to avoid having two natural parents of the same gender.")
                                               .arg(changed)
                                               .arg(spouse->name()));
        }
    }
    setGender(newGender);
    post(QStringLiteral("GenderChanged"));
    return true;
}

// ---- Before a person is made or deleted
// -------------------------------------------------------------------------------

bool FTPerson::checkDuplicateNames(const QString& name, const QString& gender, FTPerson* relative, int relation)
{
    FTMoc* moc = relative ? relative->moc() : nullptr;
    if (!moc || moc->importThreadIsActive() || relation == 0
        || !UserDefaults::standard().boolForKey(QStringLiteral("duplicateNameWarning")))
        return true;
    QString wanted = name;
    while (wanted.contains(QStringLiteral("  ")))
        wanted.replace(QStringLiteral("  "), QStringLiteral(" "));
    wanted = wanted.trimmed();
    if (wanted.isEmpty())
        return true;

    const int year = relative->birth() ? relative->birth()->year() : 0;
    int from = 0;
    int to = 3000;
    if (year > 0) {
        if (relation == -1) {
            from = year - 20;
            to = year + 100;
        } else if (relation == -2) {
            from = year - 100;
            to = year + 100;
        } else {
            from = year - 100;
            to = year;
        }
    }
    // The typed name is compared as text: "*" and "?" in a name are characters, not wildcards.
    std::vector<FetchRequest::Condition> conditions { FetchRequest::equals(QStringLiteral("name"), wanted) };
    if (!gender.isEmpty())
        conditions.push_back(FetchRequest::equals(QStringLiteral("gender"), gender, TextMatch::Exact));
    FetchRequest request(QString::fromLatin1(FTPerson::kEntityName));
    request.where(FetchRequest::allOf(std::move(conditions))).filter([&](const ManagedObject* o) {
        const FTEvent* b = static_cast<const FTPerson*>(o)->birth();
        return b && b->year() >= from && b->year() <= to;
    });
    QList<FTPerson*> matches;
    for (ManagedObject* o : request.execute(*moc))
        matches << static_cast<FTPerson*>(o);
    if (matches.isEmpty())
        return true;
    QString info = QStringLiteral("\n");
    for (const FTPerson* p : matches)
        info += p->nameWithBirthAndDeathYears() + QLatin1Char('\n');
    info += QStringLiteral("\nTo attach an existing person as a child, spouse or parent: Right click on a ghost box in "
                           "the Context Diagram and then select the appropriate option from the pop-up menu.\n\n");
    const QString message = matches.size() == 1
        ? QStringLiteral("The following person with the same name already exists in the database:")
        : QStringLiteral("The following people with the same name already exist in the database:");
    return Prompts::current().choose(message, info, { QStringLiteral("Create New Person"), QStringLiteral("Discard") })
        != 1;
}

bool FTPerson::confirmDeletionOfPerson(FTPerson* person)
{
    if (!person)
        return false;
    const bool male = person->isMale();
    if (!person->children().isEmpty() && !person->parents().isEmpty()) {
        const QString his = male ? LocalizedString("his") : LocalizedString("her");
        Prompts::current().message(
            QStringLiteral("You may not delete\n%1 \nwhile %2 has both Parents and Children.\n\nPlease disconnect all "
                           "%3 parents (or all %4 children) and try again.")
                .arg(person->nameWithBirthAndDeathYears(), male ? LocalizedString("he") : LocalizedString("she"), his,
                    his));
        return false;
    }
    FTMoc* moc = person->moc();
    if (moc && moc->modelDefaults()->focalPerson() == person) {
        Prompts::current().message(
            QStringLiteral("%1 \ncannot be deleted whilst he/she is the focal person in the diagram")
                .arg(person->name()));
        return false;
    }
    if (!UserDefaults::standard().boolForKey(QStringLiteral("showDeleteWarnings")))
        return true;
    return Prompts::current().choose(
               QStringLiteral("Are you sure you want to delete \n  %1 ?").arg(person->nameWithBirthAndDeathYears()), {},
               { LocalizedString("OK"), LocalizedString("Cancel") })
        == 0;
}
