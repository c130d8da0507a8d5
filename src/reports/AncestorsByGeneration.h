#pragma once

#include "reports/NarrativeReportOptions.h"

#include <QList>
#include <QSet>
#include <QString>

class FTMoc;
class FTPerson;
class ModelProgress;
class NarrativePersonWriter;
class RtfWriter;

// The selected person's natural ancestors generation by generation (parents, then grandparents ...), each
// generation after the first on a new page under its heading, each person numbered with the ahnentafel numbers
// of the person's ancestral view. A person reached a second time gets a line naming both numbers instead of a
// second section, and their ancestors are not followed again. The choices are the "ar" user defaults
// (NarrativeReportOptions::fromAncestorsReportDefaults); the file goes to the reports folder, A4, and the
// database is left as it was.
//
//   AncestorsByGeneration report(moc, moc->selectedPerson(), NarrativeReportOptions::fromAncestorsReportDefaults());
//   report.generate(writer, &progress);
class AncestorsByGeneration {
public:
    AncestorsByGeneration(FTMoc* moc, FTPerson* selectedPerson, const NarrativeReportOptions& options);

    const NarrativeReportOptions& options() const { return m_options; }
    NarrativeReportOptions& options() { return m_options; }
    // "<name>'s Ancestors".
    QString localFilename() const;
    // Names, opens and writes the file, then closes it; false after the writer's message when it could not.
    bool generate(RtfWriter& writer, ModelProgress* progress = nullptr);
    // Generations written by the last run.
    int numPrinted() const { return m_numPrinted; }

private:
    void recursePrintAncestorsOf(const QList<FTPerson*>& people, int g, QSet<FTPerson*>& visited);

    FTMoc* m_moc;
    FTPerson* m_selected;
    NarrativeReportOptions m_options;
    NarrativePersonWriter* m_person = nullptr;
    RtfWriter* m_writer = nullptr;
    ModelProgress* m_progress = nullptr;
    int m_numPrinted = 0;
    bool m_written = true;
};
