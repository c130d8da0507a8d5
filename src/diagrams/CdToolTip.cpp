#include "diagrams/CdToolTip.h"

#include "diagrams/CdPerson.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTProjectView.h"

#include "platform/Localizer.h"

QString CdToolTip::consanguinityWithRoot(FTPerson* person)
{
    FTMoc* moc = person ? person->moc() : nullptr;
    FTProjectView* view = moc ? moc->projectView() : nullptr;
    FTPerson* root = view ? view->rootPersonInAncestralView() : nullptr;
    if (!root)
        return {};
    FTPerson* common = nullptr;
    QString c = root->consanguinityWithPerson(person, &common);
    if (!common) {
        for (FTPerson* spouse : person->spouses()) {
            FTPerson* spousesCommon = nullptr;
            const QString viaSpouse = root->consanguinityWithPerson(spouse, &spousesCommon);
            if (spousesCommon) {
                c = QStringLiteral("Spouse is not the %1").arg(viaSpouse);
                break;
            }
        }
    }
    if (c == LocalizedString(QStringLiteral("None")))
        c = QStringLiteral("No consanguinity with %1").arg(root->name());
    return c;
}

QString CdToolTip::compose(const QString& summary, const QString& consanguinity, bool full)
{
    QString out = summary;
    if (!consanguinity.isEmpty())
        out = QStringLiteral("Consanguinity: %1\n\n").arg(consanguinity) + out;
    if (!full)
        return out;
    while (out.contains(QLatin1String(" \n")))
        out.replace(QLatin1String(" \n"), QLatin1String("\n"));
    while (out.contains(QLatin1String("\n\n\n")))
        out.replace(QLatin1String("\n\n\n"), QLatin1String("\n\n"));
    if (out.size() > kMaxLength)
        out = out.left(kMaxLength) + QStringLiteral("...\n...(more)...\n");
    return out;
}

QString CdToolTip::text(const CdPerson& box, bool full)
{
    FTPerson* person = box.person();
    if (!person)
        return {};
    const QString summary = full ? person->nameWithBirthMarriageAndDeathInfoPlusNotesAndComments()
                                 : person->nameWithBirthMarriageAndDeathInfo();
    const QString out = compose(summary, consanguinityWithRoot(person), full);
    const QString whole = elidedText(box);
    return whole.isEmpty() || out.startsWith(whole) ? out : whole + QStringLiteral("\n\n") + out;
}

QString CdToolTip::elidedText(const CdPerson& box)
{
    return box.textElided() ? box.fullText() : QString();
}
