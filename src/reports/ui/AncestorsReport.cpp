#include "reports/ui/AncestorsReport.h"

#include "model/FTMoc.h"

#include "platform/Localizer.h"

#include <QCheckBox>

namespace {
QString titleFor(int reportType)
{
    switch (reportType) {
    case NarrativeReportOptions::Ancestors:
        return LocalizedString(QStringLiteral("AncestorsReport"));
    case NarrativeReportOptions::Descendants:
        return LocalizedString(QStringLiteral("DescendantsReport"));
    default:
        return LocalizedString(QStringLiteral("IndividualsReport"));
    }
}
}

AncestorsReport::AncestorsReport(FTMoc* moc, int reportType, QWidget* parent)
    : ReportSheet(titleFor(reportType), parent)
    , m_report(moc, moc ? moc->selectedPerson() : nullptr, NarrativeReportOptions::forType(reportType))
{
    setObjectName(QStringLiteral("AncestorsReport"));
    NarrativeReportOptions& o = m_report.options();
    auto option = [this](const char* name, bool& value) {
        const QString key = QString::fromLatin1(name);
        addOption(key, value, [&value](bool on) { value = on; });
    };
    option("printRelsOfSelectedPerson", o.printRelsOfSelectedPerson);
    option("bPrintComments", o.bPrintComments);
    option("includeSourceRefs", o.includeSourceRefs);
    option("includeAhnentafelNumbers", o.includeAhnentafelNumbers);
    option("bIncludeLivingBirthDates", o.bIncludeLivingBirthDates);
    option("showStepRels", o.showStepRels);
    option("showEventNotesAsEndnotes", o.showEventNotesAsEndnotes);
    option("includeDefaultPicture", o.includeDefaultPicture);
    option("includeChildrensPictures", o.includeChildrensPictures);
    option("excludeGoogleMaps", o.excludeGoogleMaps);
    option("cropImagesTo4x3Portrait", o.cropImagesTo4x3Portrait);
    option("showAdoptedChildrenAsNaturalChildren", o.showAdoptedChildrenAsNaturalChildren);
    option("oneLinePerPerson", o.oneLinePerPerson);
    setGenerations(o.numGenerations, [this](int value) { m_report.options().numGenerations = value; });
    setGenerationsShown(reportType != NarrativeReportOptions::Individual);
}

void AncestorsReport::setOneLinePerPerson(bool on)
{
    if (QCheckBox* box = option(QStringLiteral("oneLinePerPerson")))
        box->setChecked(on);
    m_report.options().oneLinePerPerson = on;
}

bool AncestorsReport::includesPictures() const
{
    return m_report.options().includeDefaultPicture || m_report.options().includeChildrensPictures;
}

bool AncestorsReport::writeReport(RtfWriter& writer, ModelProgress* progress)
{
    return m_report.generate(writer, progress);
}

void AncestorsReport::sheetClosing()
{
    NarrativeReportOptions::appendEventNotes() = m_report.options().showEventNotesAsEndnotes;
}
