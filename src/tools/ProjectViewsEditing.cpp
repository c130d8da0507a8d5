#include "tools/ProjectViewsEditing.h"

#include "tools/RtfText.h"

#include "shell/DisplayMsg.h"
#include "shell/RtfWriter.h"
#include "shell/Utils.h"

#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTModelDefaults.h"
#include "model/FTPerson.h"
#include "model/FTProjectView.h"

#include "platform/Localizer.h"

namespace {
QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }
}

ProjectViewsEditing::ProjectViewsEditing(FTMoc* moc)
    : m_list(moc)
{
    m_list.findView({});
}

void ProjectViewsEditing::reload()
{
    FTProjectView* chosen = selectedView();
    m_list.findView({});
    m_list.setSelectedRow(chosen ? int(views().indexOf(chosen)) : -1);
}

QList<FTPerson*> ProjectViewsEditing::members() const
{
    FTProjectView* view = selectedView();
    if (!view)
        return {};
    QList<FTPerson*> people = view->persons();
    people.removeIf([](const FTPerson* p) { return p->isDeleted(); });
    sortByNameWithYears(people);
    return people;
}

FTProjectView* ProjectViewsEditing::addView()
{
    if (!moc())
        return nullptr;
    moc()->undoManager()->setActionName(L("AddProjectView"));
    FTProjectView* view = FTProjectView::initInMoc(moc());
    view->setName(L("NewProjectViewName"));
    m_list.findView({});
    m_list.setSelectedRow(int(views().indexOf(view)));
    return view;
}

void ProjectViewsEditing::removeView()
{
    m_list.deleteView();
}

QString ProjectViewsEditing::ancestralViewName(const FTPerson& person)
{
    return QStringLiteral("%1'%2 %3").arg(person.name(), L("Pluralizaion"), L("Ancestors").toLower());
}

FTProjectView* ProjectViewsEditing::createAncestralViewForFocalPerson()
{
    FTProjectView* view = m_list.createAncestralViewForFocalPerson(
        [](const FTPerson& person) { return ancestralViewName(person); });
    if (view)
        moc()->saveMoc();
    return view;
}

void ProjectViewsEditing::selectAsCurrentActiveView()
{
    FTProjectView* view = selectedView();
    if (!view || !moc()) {
        DisplayMsg(L("SelectViewTryAgain"));
        return;
    }
    view->clearAncestorsSet();
    moc()->modelDefaults()->setCurrentView(view);
    if (m_list.changed)
        m_list.changed();
    FTPerson* root = view->rootPersonInAncestralView();
    if (root
        && Utils::displayYesNoQuery(QStringLiteral("%1 %2 %3").arg(L("Promote"), root->name(), L("toBeFocal")),
                                    L("Yes"), L("No")))
        moc()->setFocalPerson(root);
}

void ProjectViewsEditing::deactivateActiveView()
{
    if (!moc())
        return;
    moc()->modelDefaults()->setCurrentView(nullptr);
    if (m_list.changed)
        m_list.changed();
}

QString ProjectViewsEditing::print()
{
    const bool longEntries = Utils::displayYesNoQuery(L("IncludeBDM"), L("IncludeBMDYes"), L("IncludeBMDNo"));
    FTProjectView* view = selectedView();
    if (!view || view->name().trimmed().isEmpty()) {
        DisplayMsg(L("ProjViewTryAgain"));
        return {};
    }
    const QString path = writeReport(view, longEntries);
    if (!path.isEmpty())
        Utils::displayFile(path, QStringLiteral("defaultRtfApp"));
    return path;
}

QString ProjectViewsEditing::writeReport(FTProjectView* view, bool longEntries)
{
    if (!view)
        return {};
    RtfWriter writer;
    writer.setFileType(QStringLiteral("rtf"));
    writer.setColourTable(RtfWriter::standardColourTable(8));
    writer.setStyles({});
    writer.setFooter(false);
    if (m_moment.isValid())
        writer.setDateTime(m_moment);
    // The view's name, as typed, is only a base name: the writer makes it a file name in the reports folder and
    // takes the first free one, so no name leads elsewhere and no earlier listing is replaced.
    if (!writer.createOutputFileName(view->name()) || !writer.openOutputFile() || !writer.printRTFHeader("A4"))
        return {};
    QString out = rtfUserText(QStringLiteral("%1 %2").arg(L("ProjectReportCreated"), writer.titleDateText()))
        + QStringLiteral(" \\par \\par \n");
    out += QStringLiteral("%1: %2 \\par \n").arg(rtfUserText(L("ProjectViewName")), rtfUserText(view->name()));
    if (!view->notes().isEmpty())
        out += QStringLiteral("%1: %2 \\par \n").arg(rtfUserText(L("Notes")), rtfUserText(view->notes()));
    if (!view->comments().isEmpty())
        out += QStringLiteral("%1: %2 \\par \n").arg(rtfUserText(L("Comments")), rtfUserText(view->comments()));
    out += QStringLiteral(" \\par ");
    QList<FTPerson*> people = view->persons();
    people.removeIf([](const FTPerson* p) { return p->isDeleted(); });
    sortByNameWithYears(people);
    for (const FTPerson* p : people) {
        if (longEntries)
            out += RtfWriter::rtfText(p->nameWithBirthMarriageAndDeathInfo(), true) + QStringLiteral(" \\par \\par\n");
        else
            out += QStringLiteral("   %1 \\par \n").arg(RtfWriter::rtfText(p->nameWithBirthAndDeathYears(), false));
    }
    out += QLatin1Char('}');
    if (!writer.write(out) || !writer.closeOutputFile())
        return {};
    return writer.outputPath();
}
