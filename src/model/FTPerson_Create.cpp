#include "model/FTPerson.h"

#include "model/FTMoc.h"
#include "model/FTPcRel.h"
#include "model/ModelHooks.h"
#include "model/RelativeDialogs.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"

#include <exception>
#include <type_traits>

namespace {
void report(int line, const char* method)
{
    if (const auto& hook = ModelHooks::shared().reportCurrentException)
        hook("FTPerson_Create", line, QString::fromLatin1(method));
    else
        FTLog(QStringLiteral("FTPerson_Create: an exception stopped %1").arg(QString::fromLatin1(method)));
}

// Runs `body` so that an unexpected exception is reported under the operation's name instead of ending the
// program; answers nothing (null) then.
template <class Body>
std::invoke_result_t<Body> guarded(int line, const char* method, Body body)
{
    using Result = std::invoke_result_t<Body>;
    try {
        return body();
    } catch (const std::exception&) {
        report(line, method);
        if constexpr (!std::is_void_v<Result>)
            return Result {};
    }
}

// The family dialog is left out while the person editor already shows the family, unless the user wants it always.
bool familyDialogWanted()
{
    const RelativeDialogs* dialogs = RelativeDialogs::current();
    return !(dialogs && dialogs->isShowingFamilyPage())
        || UserDefaults::standard().boolForKey(QStringLiteral("alwaysShowFamilyDialog"));
}
}

FTPerson* FTPerson::createChildNamed(const QString& name, const QString& gender)
{
    return guarded(__LINE__, "createChildNamed", [&]() -> FTPerson* {
        FTPerson* child = addChild(name, gender, FTPcRel::kNatural);
        const QList<FTPerson*> partners = spouses();
        if (partners.isEmpty())
            return child;
        // The child is taken to be of the first couple; the later partners are step parents.
        for (qsizetype i = 0; i < partners.size(); ++i)
            partners[i]->attachChild(child, i == 0 ? FTPcRel::kNatural : FTPcRel::kStep, false, nullptr);
        if (UserDefaults::standard().boolForKey(QStringLiteral("showAddChildDialog")) || partners.size() > 1)
            child->invokeAddChildDialog();
        return child;
    });
}

FTPerson* FTPerson::createNaturalParentNamed(const QString& name, const QString& gender)
{
    return guarded(__LINE__, "createNaturalParentNamed", [&]() -> FTPerson* {
        const QString male = LocalizedString("MaleShort");
        const QString female = LocalizedString("FemaleShort");
        if (gender == male && naturalFather()) {
            Prompts::current().message(LocalizedString("NoTwoNatDads"));
            return nullptr;
        }
        if (gender == female && naturalMother()) {
            Prompts::current().message(LocalizedString("NoTwoNatMums"));
            return nullptr;
        }
        FTPerson* parent = addParent(name, gender, FTPcRel::kNatural);
        if (parentRels().size() == 1) {
            invokeAddParentDialog(parent, FTPcRel::kNatural, nullptr);
            return parent;
        }
        FTPerson* other = gender == male ? naturalMother() : naturalFather();
        if (!other)
            return parent;
        parent->addSpouseRel(other);
        // The other parent's children are the new parent's own only when the two are that parent's only couple.
        const int type = other->spouses().size() == 1 ? FTPcRel::kNatural : FTPcRel::kStep;
        for (FTPerson* sibling : other->naturalChildren())
            if (sibling != this)
                parent->attachChild(sibling, type, false, nullptr);
        invokeAddParentDialog(parent, FTPcRel::kNatural, other);
        if (familyDialogWanted())
            parent->invokeFamilyDialogForSpouse(other);
        return parent;
    });
}

FTPerson* FTPerson::createStepParentNamed(const QString& name, const QString& gender)
{
    return guarded(__LINE__, "createStepParentNamed", [&]() -> FTPerson* {
        FTPerson* parent = addParent(name, gender, FTPcRel::kStep);
        FTPerson* other = gender == LocalizedString("MaleShort") ? naturalMother() : naturalFather();
        if (!other)
            return parent;
        parent->addSpouseRel(other);
        for (FTPerson* sibling : other->naturalChildren())
            if (sibling != this)
                parent->attachChild(sibling, FTPcRel::kStep, false, nullptr);
        invokeAddParentDialog(parent, FTPcRel::kStep, other);
        if (familyDialogWanted())
            parent->invokeFamilyDialogForSpouse(other);
        return parent;
    });
}

FTPerson* FTPerson::createSpouseNamed(const QString& name, const QString& gender)
{
    Q_UNUSED(gender);
    return guarded(__LINE__, "createSpouseNamed", [&]() -> FTPerson* {
        const QString spouseGender = LocalizedString(isMale() ? "FemaleShort" : "MaleShort");
        FTPerson* spouse = addSpouse(name, spouseGender);
        const QList<FTPerson*> children = naturalChildren();
        if (children.isEmpty()) {
            if (familyDialogWanted())
                invokeFamilyDialogForSpouse(spouse);
            return spouse;
        }
        const int type = spouses().size() == 1 ? FTPcRel::kNatural : FTPcRel::kStep;
        for (FTPerson* child : children)
            spouse->attachChild(child, type, false, nullptr);
        children.first()->invokeAddParentDialog(spouse, type, this);
        if (familyDialogWanted())
            invokeFamilyDialogForSpouse(spouse);
        return spouse;
    });
}

// ---- The dialogs -------------------------------------------------------------------------------------------------

void FTPerson::invokeAddChildDialog()
{
    guarded(__LINE__, "invokeAddChildDialog", [this] {
        if (RelativeDialogs* dialogs = RelativeDialogs::current())
            dialogs->addChild(this);
    });
}

void FTPerson::invokeAddParentDialog(FTPerson* parent, int pcRelType, FTPerson* spouse)
{
    guarded(__LINE__, "invokeAddParentDialog", [&] {
        if (RelativeDialogs* dialogs = RelativeDialogs::current())
            dialogs->addParent(this, parent, pcRelType, spouse);
    });
}

void FTPerson::invokeAttachExistingPersonAsChildDialog()
{
    guarded(__LINE__, "invokeAttachExistingPersonAsChildDialog", [this] {
        if (RelativeDialogs* dialogs = RelativeDialogs::current())
            dialogs->attachExistingPersonAsChild(this);
    });
}

void FTPerson::invokeAttachExistingPersonAsParentDialog()
{
    guarded(__LINE__, "invokeAttachExistingPersonAsParentDialog", [this] {
        if (RelativeDialogs* dialogs = RelativeDialogs::current())
            dialogs->attachExistingPersonAsParent(this);
    });
}

void FTPerson::invokeAttachExistingPersonAsSpouseDialog(bool sameSex)
{
    guarded(__LINE__, "invokeAttachExistingPersonAsSpouseDialog", [this, sameSex] {
        if (RelativeDialogs* dialogs = RelativeDialogs::current())
            dialogs->attachExistingPersonAsSpouse(this, sameSex);
    });
}

void FTPerson::invokeFamilyDialogForSpouse(FTPerson* spouse)
{
    guarded(__LINE__, "invokeFamilyDialogForSpouse", [&] {
        if (RelativeDialogs* dialogs = RelativeDialogs::current())
            dialogs->family(this, spouse);
        NotificationCenter::defaultCenter().post(QStringLiteral("RefreshAllViews"), nullptr, moc());
    });
}
