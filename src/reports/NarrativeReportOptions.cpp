#include "reports/NarrativeReportOptions.h"

#include "platform/UserDefaults.h"

NarrativeReportOptions NarrativeReportOptions::forType(int reportType)
{
    NarrativeReportOptions o;
    o.reportType = reportType;
    o.numGenerations = reportType == Individual ? 0 : 100;
    o.showEventNotesAsEndnotes = appendEventNotes();
    o.includeRelatedEvents = UserDefaults::standard().boolForKey(QStringLiteral("includeRelatedEvents"));
    return o;
}

NarrativeReportOptions NarrativeReportOptions::fromAncestorsReportDefaults()
{
    const UserDefaults& d = UserDefaults::standard();
    auto key = [&d](const char* name) { return d.boolForKey(QString::fromLatin1(name)); };
    NarrativeReportOptions o;
    o.reportType = Ancestors;
    o.numGenerations = 16;
    o.oneLinePerPerson = key("arOneLinePerPerson");
    o.includeDefaultPicture = key("arIncludeDefaultPicture");
    o.includeChildrensPictures = key("arIncludeChildrensPictures");
    o.showAdoptedChildrenAsNaturalChildren = key("arShowAdoptedChildrenAsNaturalChildren");
    o.printRelsOfSelectedPerson = key("arPrintRelsOfSelectedPerson");
    o.includeSourceRefs = key("arIncludeSourceRefs");
    o.bPrintComments = key("arPrintComments");
    o.bIncludeLivingBirthDates = key("arIncludeLivingBirthDates");
    o.includeRelatedEvents = key("arIncludeRelatedEvents");
    o.showEventNotesAsEndnotes = key("arShowEventNotesAsEndnotes");
    o.excludeGoogleMaps = key("arExcludeGoogleMaps");
    o.cropImagesTo4x3Portrait = key("arCropImagesTo4x3Portrait");
    // This report always lists step children and always numbers its people.
    o.showStepRels = true;
    o.includeAhnentafelNumbers = true;
    return o;
}

bool& NarrativeReportOptions::appendEventNotes()
{
    static bool append = true;
    return append;
}
