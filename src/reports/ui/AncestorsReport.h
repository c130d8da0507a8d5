#pragma once

#include "reports/NarrativeReport.h"
#include "reports/ui/ReportSheet.h"

class FTMoc;

// The sheet of the narrative reports of the database's selected person: its ancestors (report type 0), its
// descendants (1) or the person alone (2). Each opening starts from the report's first choices; the end-notes
// choice is carried to the next opening.
//
//   doc->beginSheet(new AncestorsReport(doc->moc(), NarrativeReportOptions::Descendants));
class AncestorsReport : public ReportSheet {
    Q_OBJECT
public:
    AncestorsReport(FTMoc* moc, int reportType, QWidget* parent = nullptr);

    NarrativeReport& report() { return m_report; }
    // Sets an option as its check box does (the hierarchy page asks for one line per person).
    void setOneLinePerPerson(bool on);

protected:
    bool includesPictures() const override;
    bool writeReport(RtfWriter& writer, ModelProgress* progress) override;
    void sheetClosing() override;

private:
    NarrativeReport m_report;
};
