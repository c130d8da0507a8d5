#include "reports/ui/AncestorsByGenerationReport.h"

#include "model/FTMoc.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

namespace {
// The choice each "ar" key holds, with the name of its check box (the narrative report's option of that name).
struct Choice {
    const char* key;
    const char* option;
};
const Choice kChoices[] = {
    { "arPrintRelsOfSelectedPerson", "printRelsOfSelectedPerson" },
    { "arPrintComments", "bPrintComments" },
    { "arIncludeSourceRefs", "includeSourceRefs" },
    { "arIncludeRelatedEvents", "includeRelatedEvents" },
    { "arIncludeLivingBirthDates", "bIncludeLivingBirthDates" },
    { "arShowEventNotesAsEndnotes", "showEventNotesAsEndnotes" },
    { "arIncludeDefaultPicture", "includeDefaultPicture" },
    { "arIncludeChildrensPictures", "includeChildrensPictures" },
    { "arExcludeGoogleMaps", "excludeGoogleMaps" },
    { "arCropImagesTo4x3Portrait", "cropImagesTo4x3Portrait" },
    { "arShowAdoptedChildrenAsNaturalChildren", "showAdoptedChildrenAsNaturalChildren" },
    { "arOneLinePerPerson", "oneLinePerPerson" },
};
}

AncestorsByGenerationReport::AncestorsByGenerationReport(FTMoc* moc, QWidget* parent)
    : ReportSheet(LocalizedString(QStringLiteral("AncestorsByGenReportTitle")), parent)
    , m_report(moc, moc ? moc->selectedPerson() : nullptr, NarrativeReportOptions::fromAncestorsReportDefaults())
{
    setObjectName(QStringLiteral("AncestorsByGenerationReport"));
    for (const Choice& c : kChoices) {
        const QString key = QString::fromLatin1(c.key);
        const QString name = QString::fromLatin1(c.option);
        addOption(name, UserDefaults::standard().boolForKey(key), [this, key](bool on) {
            UserDefaults::standard().setBool(key, on);
            const int generations = m_report.options().numGenerations;
            m_report.options() = NarrativeReportOptions::fromAncestorsReportDefaults();
            m_report.options().numGenerations = generations;
        });
    }
    setGenerations(m_report.options().numGenerations, [this](int value) { m_report.options().numGenerations = value; });
}

bool AncestorsByGenerationReport::includesPictures() const
{
    return m_report.options().includeDefaultPicture || m_report.options().includeChildrensPictures;
}

bool AncestorsByGenerationReport::writeReport(RtfWriter& writer, ModelProgress* progress)
{
    return m_report.generate(writer, progress);
}
