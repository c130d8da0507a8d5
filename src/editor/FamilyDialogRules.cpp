#include "editor/FamilyDialogRules.h"

#include "editor/RelativeDialogTexts.h"

#include "shell/Utils.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

FamilyDialogRules::Partners FamilyDialogRules::partners(FTPerson* first, FTPerson* second)
{
    if (first && first->gender() == L("MaleShort"))
        return { first, second };
    return { second, first };
}

QString FamilyDialogRules::title(const FTPerson* husband, const FTPerson* wife, int labelStyle)
{
    if ((husband && wife) || (!husband && !wife))
        return {};
    const bool husbandMissing = !husband;
    const char* role = labelStyle == 0 ? (husbandMissing ? "husband" : "wife") : labelStyle == 1 ? "spouse" : "partner";
    return QStringLiteral("%1 %2 %3 %4").arg(L("adda"), L(role), L("ConjunctiveFor"), (husband ? husband : wife)->name());
}

FTSpouseRel* FamilyDialogRules::coupleOf(FTPerson* husband, FTPerson* wife)
{
    if (!husband || !wife)
        return nullptr;
    for (FTSpouseRel* couple : husband->spouseRelsArray())
        if (couple->partnerOf(husband) == wife)
            return couple;
    FTSpouseRel* couple = husband->addSpouseRel(wife);
    FTMoc* moc = husband->moc();
    NotificationCenter::defaultCenter().post(QStringLiteral("CdArrayNeedsRefresh"), moc, moc);
    return couple;
}

FTPerson* FamilyDialogRules::createMissingPartner(FTPerson* other, const QString& name, bool husbandMissing)
{
    const QString trimmed = name.trimmed();
    if (!other || trimmed.isEmpty())
        return nullptr;
    const QString gender = L(husbandMissing ? "MaleShort" : "FemaleShort");
    if (!Utils::checkDuplicateNames(trimmed, gender, other, -2))
        return nullptr;
    return other->addSpouse(trimmed, gender);
}

QString FamilyDialogRules::abbreviatedEventType(const QString& typeName)
{
    QString shown = typeName;
    shown.replace(L("Marriage"), L("MarriageAbbrev"));
    shown.replace(L("Divorce"), L("DivorceAbbrev"));
    return shown;
}

QString FamilyDialogRules::expandedEventType(const QString& shown)
{
    QString name = shown;
    name.replace(L("MarriageAbbrev"), L("Marriage"));
    name.replace(L("DivorceAbbrev"), L("Divorce"));
    return name;
}

bool FamilyDialogRules::chooseEventType(FTEvent* event, const QString& shown)
{
    return RelativeDialogTexts::chooseEventType(event, expandedEventType(shown));
}
