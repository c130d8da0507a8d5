#include "diagrams/NewRelativeEntry.h"

#include "diagrams/CdPerson.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"

#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

void sayEntryFormat()
{
    DisplayMsg(QStringLiteral("%1 %2 %3 %4").arg(L("DiagEntryFormat2"), L("MaleShort"), L("ConjunctiveOr"),
                                                   L("FemaleShort")));
}
}

QString NewRelativeEntry::promptString(const CdPerson* slot, const CdPerson* selectedBox)
{
    const CdPerson* owner = slot ? slot->owner() : nullptr;
    FTPerson* ownerPerson = owner ? owner->person() : nullptr;
    if (!ownerPerson)
        return L("SomethingWrong");
    const QString male = L("MaleShort");
    QString gender = slot->gender();
    QString name;
    const long kind = slot->ancLevel();
    if (kind == CdPerson::kChild) {
        if (owner->gender() == male) {
            name = ownerPerson->familyName();
        } else {
            const QList<FTPerson*> partners = ownerPerson->spouses();
            if (!partners.isEmpty())
                name = partners.first()->familyName();
        }
    } else if (kind >= 1 && slot->pcRelType() != FTPcRel::kStep) {
        // A father shares the child's family name; a mother's maiden name is unknown.
        if (gender == male)
            name = ownerPerson->familyName();
    } else if (kind >= 1) {
        if (selectedBox && selectedBox->ancLevel() == 1 && selectedBox->pcRelType() != FTPcRel::kStep)
            gender = selectedBox->gender() == male ? L("FemaleShort") : male;
    }
    return QStringLiteral("%1, %2").arg(name, gender);
}

bool NewRelativeEntry::extractNameAndGender(const QString& text, QString* name, QString* gender)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() > 2)
        DisplayMsg(L("DiagEntryFormat"));
    if (parts.size() < 2) {
        sayEntryFormat();
        return false;
    }
    const QString g = parts[1].toUpper().trimmed();
    if (g != L("MaleShort") && g != L("FemaleShort")) {
        sayEntryFormat();
        return false;
    }
    const QString n = parts[0].trimmed();
    if (n.isEmpty()) {
        // Only a gender: the same message, so that the user learns what to type.
        sayEntryFormat();
        return false;
    }
    *name = n;
    *gender = g;
    return true;
}

FTPerson* NewRelativeEntry::createNewPerson(FTPerson* owner, long kind, int pcRelType, const QString& text,
                                            const std::function<void(const QString&)>& showText, bool* told)
{
    if (told)
        *told = false;
    FTMoc* moc = owner ? owner->moc() : nullptr;
    if (!moc)
        return nullptr;
    QString name;
    QString gender;
    if (!extractNameAndGender(text, &name, &gender)) {
        if (told)
            *told = true;
        return nullptr;
    }
    gender = moc->confirmGender(name, gender);
    if (gender.isNull())
        return nullptr;
    if (kind == CdPerson::kSpouse && gender == owner->gender()) {
        // Same-sex partners have a command of their own.
        DisplayMsg(L("SameSexUnion"));
        if (told)
            *told = true;
        return nullptr;
    }
    if (showText)
        showText(QStringLiteral("%1, %2").arg(name, gender));
    if (!Utils::checkDuplicateNames(name, gender, owner, int(kind)))
        return nullptr;

    FTPerson* added = nullptr;
    try {
        QString notification;
        if (kind == CdPerson::kSpouse) {
            added = owner->createSpouseNamed(name, gender);
            notification = QStringLiteral("AddedSpouseInPcd");
        } else if (kind == CdPerson::kChild) {
            added = owner->createChildNamed(name, gender);
            notification = QStringLiteral("AddedChildInPcd");
        } else {
            added = pcRelType == FTPcRel::kNatural ? owner->createNaturalParentNamed(name, gender)
                                                   : owner->createStepParentNamed(name, gender);
            notification = QStringLiteral("AddedParentInPcd");
        }
        if (added) {
            moc->undoManager()->setActionName(QStringLiteral("%1 %2").arg(L("Add"), added->name()));
            NotificationCenter::defaultCenter().post(notification, added, moc);
        }
    } catch (...) {
        Utils::reportCurrentException(__FILE__, __LINE__, QStringLiteral("CreateNewPerson"));
        return nullptr;
    }
    return added;
}
