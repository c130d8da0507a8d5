#include "editor/NotesDialogTexts.h"

#include "model/FTEvent.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"

#include "platform/Localizer.h"

namespace {
struct NotesTab {
    const char* identifier;
    const char* labelKey;
};
constexpr NotesTab kNotesTabs[] = {
    {"1", "PersonNotes"},
    {"2", "PersonComments"},
    {"3", "BirthNotes"},
    {"4", "DeathNotes"},
};

QString nameWithYears(const FTPerson* p)
{
    return p ? p->nameWithBirthAndDeathYears() : QString();
}
}

QString NotesDialogTexts::notesTabText(const QString& identifier, const FTPerson* person)
{
    if (!person)
        return {};
    if (identifier == QLatin1String("1"))
        return person->notes();
    if (identifier == QLatin1String("2"))
        return person->comments();
    if (identifier == QLatin1String("3"))
        return person->birth() ? person->birth()->notes() : QString();
    if (identifier == QLatin1String("4"))
        return person->death() ? person->death()->notes() : QString();
    return {};
}

QString NotesDialogTexts::notesTabLabel(const QString& identifier, const FTPerson* person)
{
    for (const NotesTab& tab : kNotesTabs) {
        if (identifier != QLatin1String(tab.identifier))
            continue;
        const QString text = LocalizedString(QString::fromLatin1(tab.labelKey));
        return notesTabText(identifier, person).isEmpty() ? text : QStringLiteral("*%1").arg(text);
    }
    return {};
}

FTEvent* NotesDialogTexts::divorceEventOf(const FTSpouseRel* couple)
{
    if (!couple)
        return nullptr;
    const QList<FTEvent*> divorces = couple->otherMarriageEventsWithSubtype(QStringLiteral("DIV"));
    return divorces.size() == 1 ? divorces.first() : nullptr;
}

QString NotesDialogTexts::marriageTabLabel(const QString& identifier, const FTSpouseRel* couple,
                                           const FTEvent* divorce)
{
    if (identifier == QLatin1String("1")) {
        const FTEvent* marriage = couple ? couple->marriage() : nullptr;
        const bool marked = marriage && !marriage->notes().isEmpty();
        return LocalizedString(marked ? QStringLiteral("*MarriageNotes") : QStringLiteral("MarriageNotes"));
    }
    if (identifier == QLatin1String("2")) {
        if (!divorce)
            return noDivorceLabel();
        return LocalizedString(divorce->notes().isEmpty() ? QStringLiteral("DivorceNotes")
                                                          : QStringLiteral("*DivorceNotes"));
    }
    return {};
}

NotesDialogTexts::Partners NotesDialogTexts::partnersOf(const FTSpouseRel* couple)
{
    Partners out;
    if (!couple)
        return out;
    const QString male = LocalizedString(QStringLiteral("MaleShort"));
    QList<FTPerson*> others;
    for (FTPerson* p : couple->partners()) {
        FTPerson*& role = p->gender() == male ? out.husband : out.wife;
        if (role)
            others << p;
        else
            role = p;
    }
    // Two partners of one gender: the second takes the empty role, so that both are named.
    for (FTPerson* p : others) {
        if (!out.husband)
            out.husband = p;
        else if (!out.wife)
            out.wife = p;
    }
    return out;
}

QString NotesDialogTexts::marriageNotesTitle(const FTSpouseRel* couple)
{
    if (!couple)
        return {};
    const Partners p = partnersOf(couple);
    const FTEvent* marriage = couple->marriage();
    QString title = QStringLiteral("%1\n").arg(nameWithYears(p.husband));
    if (marriage)
        title += QStringLiteral("%1. %2").arg(LocalizedString(QStringLiteral("MarriageShort")), nameWithYears(p.wife));
    else
        title += QStringLiteral("+. %1").arg(nameWithYears(p.wife));
    if (marriage && !marriage->date().isEmpty())
        title += QStringLiteral("\n%1 %2").arg(LocalizedString(QStringLiteral("ConjunctiveOn")), marriage->date());
    if (marriage && !marriage->place().isEmpty())
        title += QStringLiteral("\n%1 %2").arg(LocalizedString(QStringLiteral("ConjunctiveAt")), marriage->place());
    return title;
}

QString NotesDialogTexts::couplesNames(const FTSpouseRel* couple)
{
    const Partners p = partnersOf(couple);
    return QStringLiteral("%1 %2 %3")
        .arg(p.husband ? p.husband->name() : QString(), LocalizedString(QStringLiteral("ConjunctiveAnd")),
             p.wife ? p.wife->name() : QString());
}
