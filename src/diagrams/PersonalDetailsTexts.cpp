#include "diagrams/PersonalDetailsTexts.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTProjectView.h"

#include "platform/Localizer.h"

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

QString PersonalDetailsTexts::consanguinity(FTPerson* person)
{
    FTMoc* moc = person ? person->moc() : nullptr;
    FTProjectView* view = moc ? moc->projectView() : nullptr;
    FTPerson* root = view ? view->rootPersonInAncestralView() : nullptr;
    if (!root)
        return {};
    // The root has no relationship to name with itself.
    if (person == root)
        return {};
    const QString relationship = root->consanguinityWithPerson(person);
    if (relationship.startsWith(L("SamePerson")))
        return {};
    // Unrelated: the sentence names the one the person is unrelated to, the root, not the person again.
    if (relationship == L("None"))
        return QStringLiteral("%1 %2").arg(L("NoConsanguinity"), root->nameWithBirthAndDeathYears());
    return relationship;
}

QString PersonalDetailsTexts::notesButtonTitle(const FTPerson* person, NotesButton button)
{
    if (!person)
        return {};
    const auto notesOf = [](const FTEvent* event) { return event ? event->notes() : QString(); };
    switch (button) {
    case PersonNotes:
        return L(person->notes().isEmpty() ? "NoNotes" : "NotesPresent");
    case BirthNotes:
        return L(notesOf(person->birth()).isEmpty() ? "NoNotes" : "NotesPresent");
    case DeathNotes:
        return L(notesOf(person->death()).isEmpty() ? "NoNotes" : "NotesPresent");
    case Comments:
        return L(person->comments().isEmpty() ? "NoComments" : "CommentsPresent");
    }
    return {};
}

QString PersonalDetailsTexts::notesTab(int tag)
{
    switch (tag) {
    case PersonNotes:
        return QStringLiteral("1");
    case BirthNotes:
        return QStringLiteral("3");
    case DeathNotes:
        return QStringLiteral("4");
    case Comments:
        return QStringLiteral("2");
    default:
        return {};
    }
}
