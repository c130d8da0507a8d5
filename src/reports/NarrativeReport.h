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

// The narrative report of one person: a section for the person and each natural ancestor (report type
// Ancestors) or each descendant (Descendants), depth first, the first parent's or child's whole line before the
// next; or the person alone (Individual). Sections are indented by generation; a person met a second time is
// written again with a line that refers back, and nothing beyond is repeated. The file is written as the walk
// goes, in the reports folder, A4, and the database is left as it was.
//
//   NarrativeReport report(moc, moc->selectedPerson(), NarrativeReportOptions::forType(0));
//   RtfWriter writer;
//   writer.setFileType("rtf");
//   if (report.generate(writer, &progress)) handOverReport(window, field, writer);
class NarrativeReport {
public:
    NarrativeReport(FTMoc* moc, FTPerson* selectedPerson, const NarrativeReportOptions& options);

    const NarrativeReportOptions& options() const { return m_options; }
    NarrativeReportOptions& options() { return m_options; }
    // The file's name before the writer makes it unique: "<name>'s Ancestors", "<name>'s Descendants", the name.
    QString localFilename() const;

    // Names, opens and writes the file, then closes it. False, after the writer's message, when it could not be
    // made or written.
    bool generate(RtfWriter& writer, ModelProgress* progress = nullptr);
    // Sections written by the last run.
    int numPrinted() const { return m_numPrinted; }

    // How many generations `people` and their natural ancestors (Ancestors) or natural descendants (other types)
    // span, counting `people` as the first; never more than `limit`, so a person who is their own ancestor
    // cannot keep it counting.
    static int getMaxLevel(const QList<FTPerson*>& people, int reportType, int limit);
    // The indent of one generation in twips for a report `depth` generations deep: 5760 shared out, at most 360.
    static int indentStep(int depth);

    // ---- Shared with the ancestors-by-generation report ----
    // The report writer's file for `baseName` in the reports folder, opened, with the narrative header (A4).
    static bool beginReportFile(RtfWriter& writer, const QString& baseName);
    // "<title>Report for <name> created on <moment>" and two paragraph ends.
    static QString titleLine(const QString& title, const FTPerson* person, const RtfWriter& writer);
    // Closes the file after the last "}"; false after a message when some of it was not written.
    static bool endReportFile(RtfWriter& writer, bool written);

private:
    void recursePrintAncestorsOf(FTPerson* person, int g, int w, QSet<FTPerson*>& visited);
    void recursePrintDescendantsOf(FTPerson* person, int g, int w, QSet<FTPerson*>& visited);
    void counted();

    FTMoc* m_moc;
    FTPerson* m_selected;
    NarrativeReportOptions m_options;
    NarrativePersonWriter* m_person = nullptr;
    ModelProgress* m_progress = nullptr;
    int m_numPrinted = 0;
};
