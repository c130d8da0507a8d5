#include "editor/AttachExistingPerson.h"

#include "model/FTMoc.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

QString quoted(const FTPerson* p)
{
    return QLatin1Char('"') + p->name() + QLatin1Char('"');
}

// "Could not attach <child> as a child of <parent>.\n\nReason: <reason>".
void reportRefusal(const FTPerson* child, const FTPerson* parent, const QString& reason)
{
    Prompts::current().message(QStringLiteral("%1 %2 %3 %4.\n\n%5: %6")
                                   .arg(L("AttachChild1"), child->name(), L("AttachChild2"), parent->name(),
                                       L("Reason"), reason));
}

void refreshAllViews(FTPerson* person)
{
    NotificationCenter::defaultCenter().post(QStringLiteral("RefreshAllViews"), nullptr, person->moc());
}
}

int AttachExistingPerson::childLinkType(const FTPerson* parent, const FTPerson* candidate, QString* warning)
{
    if (!parent || !candidate)
        return FTPcRel::kNatural;
    const FTPerson* other = nullptr;
    const char* word = nullptr;
    if (parent->gender() == L("MaleShort") && candidate->naturalFather()) {
        other = candidate->naturalFather();
        word = "father";
    } else if (parent->gender() == L("FemaleShort") && candidate->naturalMother()) {
        other = candidate->naturalMother();
        word = "mother";
    }
    if (!other)
        return FTPcRel::kNatural;
    if (warning)
        *warning = QStringLiteral("\n\n") + L("WARNING") + QStringLiteral(":\n") + quoted(candidate)
            + QLatin1Char(' ') + L("hasNatural") + QLatin1Char(' ') + L(word) + QStringLiteral(", ") + quoted(other);
    return FTPcRel::kStep;
}

int AttachExistingPerson::spouseLinkType(const FTPerson* spouse, const FTPerson* child)
{
    if (!spouse || !child)
        return FTPcRel::kStep;
    if (spouse->isMale())
        return child->naturalFather() ? FTPcRel::kStep : FTPcRel::kNatural;
    if (spouse->isFemale())
        return child->naturalMother() ? FTPcRel::kStep : FTPcRel::kNatural;
    return FTPcRel::kStep;
}

bool AttachExistingPerson::attachChild(FTPerson* parent, FTPerson* candidate)
{
    if (!parent || !candidate)
        return false;
    QString warning;
    const int type = childLinkType(parent, candidate, &warning);
    if (type == FTPcRel::kStep && Prompts::current().choose(warning, {}, { L("Continue"), L("Cancel") }) != 0)
        return false;
    QString reason;
    if (!parent->attachChild(candidate, type, true, &reason)) {
        reportRefusal(candidate, parent, reason);
        return false;
    }
    // The spouses in turn, so that a natural link just made to one of them counts for the next.
    for (FTPerson* spouse : parent->spouses()) {
        reason.clear();
        if (!spouse->attachChild(candidate, spouseLinkType(spouse, candidate), true, &reason))
            reportRefusal(candidate, spouse, reason);
    }
    candidate->invokeAddChildDialog();
    refreshAllViews(parent);
    return true;
}

int AttachExistingPerson::parentLinkType(const FTPerson* candidate, const FTPerson* child)
{
    if (!candidate || !child)
        return FTPcRel::kStep;
    if (candidate->gender() == L("MaleShort") && !child->naturalFather())
        return FTPcRel::kNatural;
    if (candidate->gender() == L("FemaleShort") && !child->naturalMother())
        return FTPcRel::kNatural;
    return FTPcRel::kStep;
}

void AttachExistingPerson::attachParent(FTPerson* candidate, FTPerson* child)
{
    if (!candidate || !child)
        return;
    candidate->attachChild(child, parentLinkType(candidate, child), true, nullptr);
    refreshAllViews(child);
}

void AttachExistingPerson::attachSpouse(FTPerson* person, FTPerson* candidate)
{
    if (!person || !candidate)
        return;
    person->addSpouseRel(candidate);
    Prompts::current().message(L("AttSpouseInfo"));
    refreshAllViews(person);
}
