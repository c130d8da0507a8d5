#include "diagrams/CdLayout.h"

#include "diagrams/CdPerson.h"

#include "shell/Utils.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTProjectView.h"

#include "platform/Localizer.h"

#include <QSet>

namespace {
// The root of the current project view when it is an ancestral view, and the root's ancestors (the root too).
struct AncestralRoot {
    FTProjectView* view = nullptr;
    FTPerson* root = nullptr;
    QSet<FTPerson*> ancestors;
};

AncestralRoot ancestralRoot(FTMoc* moc)
{
    AncestralRoot r;
    r.view = moc ? moc->projectView() : nullptr;
    r.root = r.view ? r.view->rootPersonInAncestralView() : nullptr;
    if (r.root)
        FTPerson::recurseAncestorsSet(r.ancestors, {r.root});
    return r;
}

QString ahnentafelLabel(const QList<quint64>& numbers, quint64 paths, bool binary, const FTPerson* root)
{
    // The view lists only the first numbers of a person reached along many lines, and counts them all.
    if (numbers.size() > FTProjectView::kShownAhnentafelNumbers)
        return QStringLiteral("%1 Ahnentafel paths to %2").arg(paths).arg(root->name());
    QString label;
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        if (numbers[i] == 0)
            continue;
        if (i == 0)
            label = QStringLiteral("Ahnentafel No%1 = ").arg(numbers.size() > 1 ? QStringLiteral("s") : QString());
        else
            label += QStringLiteral(", ");
        label += QString::number(numbers[i], binary ? 2 : 10);
    }
    return label;
}
}

void CdLayout::addAhnentafelNumbersToCdPersons()
{
    try {
        const AncestralRoot r = ancestralRoot(m_moc);
        if (!r.root)
            return;
        for (const auto& box : m_boxes) {
            FTPerson* person = box->person();
            if (!person || !r.ancestors.contains(person))
                continue;
            const QList<quint64> numbers = r.view->ahnentafelNumbersFor(person);
            if (!numbers.isEmpty())
                box->setAhnentafelNumber(ahnentafelLabel(numbers, r.view->ahnentafelPathCount(person),
                                                         m_options.binaryAhnentafelNumbers, r.root));
        }
    } catch (...) {
        Utils::reportCurrentException(__FILE__, __LINE__, QStringLiteral("addAhnentafelNumbersToCdPersons"));
    }
}

void CdLayout::addConsanguinityToCdPersons()
{
    try {
        AncestralRoot r = ancestralRoot(m_moc);
        if (!r.root)
            return;
        const QString none = LocalizedString(QStringLiteral("None"));
        for (const auto& box : m_boxes) {
            FTPerson* person = box->person();
            if (!person)
                continue;
            FTPerson* commonAncestor = nullptr;
            QString text = r.root->consanguinityWithPerson(person, &commonAncestor, &r.ancestors);
            if (text == none)
                text = QStringLiteral("No consanguinity with %1").arg(r.root->shortName());
            box->setConsanguinity(text);
        }
    } catch (...) {
        Utils::reportCurrentException(__FILE__, __LINE__, QStringLiteral("addConsanguinityToCdPersons"));
    }
}
