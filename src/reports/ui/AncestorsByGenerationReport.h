#pragma once

#include "reports/AncestorsByGeneration.h"
#include "reports/ui/ReportSheet.h"

class FTMoc;

// The sheet of the ancestors-by-generation report of the database's selected person. Its choices are the "ar"
// user defaults, kept from one report to the next; the generations start at 16 each time.
//
//   doc->beginSheet(new AncestorsByGenerationReport(doc->moc()));
class AncestorsByGenerationReport : public ReportSheet {
    Q_OBJECT
public:
    explicit AncestorsByGenerationReport(FTMoc* moc, QWidget* parent = nullptr);

    AncestorsByGeneration& report() { return m_report; }

protected:
    bool includesPictures() const override;
    bool writeReport(RtfWriter& writer, ModelProgress* progress) override;

private:
    AncestorsByGeneration m_report;
};
