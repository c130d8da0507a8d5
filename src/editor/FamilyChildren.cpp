#include "editor/FamilyChildren.h"

#include "shell/DisplayMsg.h"
#include "shell/FieldValidation.h"
#include "shell/Utils.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTSource.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"

#include <QSet>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

QList<FTPerson*> FamilyChildren::commonChildren(const FTPerson* husband, const FTPerson* wife)
{
    if (!husband && !wife)
        return {};
    if (!husband || !wife)
        return (husband ? husband : wife)->naturalChildren();
    const QList<FTPerson*> hers = wife->naturalChildren();
    const QSet<FTPerson*> wifes(hers.cbegin(), hers.cend());
    QList<FTPerson*> common;
    for (FTPerson* child : husband->naturalChildren())
        if (wifes.contains(child))
            common << child;
    return common;
}

std::vector<ChildInfo> FamilyChildren::rows(const FTPerson* husband, const FTPerson* wife)
{
    const QList<FTPerson*> children = commonChildren(husband, wife);
    std::vector<ChildInfo> rows;
    rows.reserve(size_t(children.size()) + 1);
    for (FTPerson* child : children)
        rows.emplace_back(child);
    rows.emplace_back(nullptr);
    return rows;
}

QString FamilyChildren::newChildName(const QString& typed, const FTPerson* husband)
{
    const FieldValidation v = ValidateNameFieldForChild(typed, husband ? husband->familyName() : QString());
    if (!v.accepted || v.text.trimmed().isEmpty()) {
        v.report();
        FTLog(QStringLiteral("Name has zero length"));
        return {};
    }
    return v.text;
}

FTPerson* FamilyChildren::createChild(FTMoc* moc, const QString& name, FTPerson* husband, FTPerson* wife)
{
    const QString trimmed = name.trimmed();
    if (!moc || trimmed.isEmpty())
        return nullptr;
    const QString usual = moc->genderForName(trimmed);
    if (!Utils::checkDuplicateNames(trimmed, usual, husband ? husband : wife, -1))
        return nullptr;
    FTPerson* child = FTPerson::initInMoc(moc, trimmed, usual.isEmpty() ? L("FemaleShort") : usual);
    if (!child)
        return nullptr;
    for (FTPerson* parent : {husband, wife})
        if (parent)
            parent->attachChild(child, FTPcRel::kNatural, false, nullptr);
    NotificationCenter::defaultCenter().post(QStringLiteral("CdArrayNeedsRefresh"), moc, moc);
    return child;
}

bool FamilyChildren::deleteChild(FTPerson* child)
{
    FTMoc* moc = child && !child->isDeleted() ? child->moc() : nullptr;
    if (!moc || !Utils::confirmDeletionOfPerson(child))
        return false;
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.post(QStringLiteral("PersonToBeDeleted"), child, moc);
    moc->undoManager()->setActionName(QStringLiteral("%1 %2").arg(L("Delete"), child->nameWithBirthAndDeathYears()));
    moc->deleteObject(child);
    moc->saveMoc();
    center.post(QStringLiteral("RefreshAllViews"), nullptr, moc);
    return true;
}

QList<FamilyChildren::MenuItem> FamilyChildren::contextMenu(FTPerson* child)
{
    if (!child || child->isDeleted())
        return {};
    QList<MenuItem> items;
    const QString name = child->name();
    items << MenuItem { MenuItem::PromoteToFocalPerson,
        QStringLiteral("%1 %2 %3").arg(L("Promote"), name, L("toFocal")), child };
    items << MenuItem { MenuItem::Separator, {}, nullptr };
    const FTSource* source = child->moc() ? child->moc()->activeSource() : nullptr;
    // Without an active source the item names no number: choosing it offers the sources to pick one from.
    const QString target = source ? QStringLiteral("%1 %2%3").arg(L("toSource"), QString::number(source->numericId()),
                                        source->type().isEmpty() ? QString() : QStringLiteral(" (%1)").arg(source->type()))
                                  : L("toASource");
    items << MenuItem { MenuItem::AttachToActiveSource, QStringLiteral("%1 %2 %3").arg(L("AddRefFrom"), name, target),
        child };
    const std::pair<FTEvent*, const char*> events[] = { { child->birth(), "BEvent" }, { child->death(), "DEvent" } };
    for (const auto& [event, key] : events)
        if (event)
            items << MenuItem { MenuItem::AttachToActiveSource,
                QStringLiteral("%1 %2'%3 %4 %5").arg(L("AddRefFrom"), name, L("possessiveSuffix"), L(key), target),
                event };
    return items;
}

void FamilyChildren::promoteToFocalPerson(FTPerson* child)
{
    if (!child || child->isDeleted() || !child->moc()) {
        DisplayMsg(L("PickChildTryAgain"));
        return;
    }
    child->moc()->setFocalPerson(child);
}

void FamilyChildren::attachToActiveSource(FTManagedObject* object, const std::function<void()>& openSourcesEditor)
{
    FTMoc* moc = object && !object->isDeleted() ? object->moc() : nullptr;
    if (!moc)
        return;
    FTSource* source = moc->activeSource();
    if (!source) {
        if (Utils::askToActivateSource() && openSourcesEditor)
            openSourcesEditor();
        return;
    }
    if (auto* person = dynamic_cast<FTPerson*>(object))
        person->addReferenceToSource(source);
    else if (auto* event = dynamic_cast<FTEvent*>(object))
        event->addReferenceToSource(source);
}

void FamilyChildren::displayChildsFamily(FTPerson* child, const std::function<FTPerson*(FTPerson*)>& chooseSpouse)
{
    if (!child || child->isDeleted())
        return;
    const QList<FTPerson*> spouses = child->spouses();
    FTPerson* spouse = nullptr;
    if (spouses.size() >= 2) {
        spouse = chooseSpouse ? chooseSpouse(child) : nullptr;
        if (!spouse)
            return;
    } else if (spouses.size() == 1) {
        spouse = spouses.first();
    }
    child->invokeFamilyDialogForSpouse(spouse);
}
