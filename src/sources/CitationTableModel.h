#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

#include "model/FTSource.h"

class FTMoc;
class FTPerson;
class FTSourceRel;

// The rows of a citations table: the citations page of the person editor, the picture citations window and the
// event editor's citations. Rows are sorted by the cited source's number, then by topic; the page reference and
// the topic are edited in place (the edit asks the database for its deferred save). A row is as high as its
// tallest cell's wrapped text, measured once and kept per citation until the columns change width.
//
//   CitationTableModel model({CitationTableModel::SourceId, CitationTableModel::SourceDescription,
//                             CitationTableModel::PageRef, CitationTableModel::Topic});
//   model.setCitations(person->allSourceRels());
//   view->setRowHeight(row, model.heightOfRow(row, measure, width));
class CitationTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { SourceId, SourceDescription, PageRef, Topic, Relationship };
    // "sourceId", "sourceDescription", "pageRef", "topic", "relationship".
    static QString identifier(Column column);
    // The kind of one-line check of an editable column ("PageRef", "SourceRefTopic"); empty for the others.
    static QString validationKind(Column column);
    // Whether a column's text is measured for the row heights (the description, page reference and topic).
    static bool decidesHeight(Column column);

    explicit CitationTableModel(const QList<Column>& columns, QObject* parent = nullptr);

    Column columnAt(int section) const { return m_columns.value(section, SourceId); }
    // -1 when the table has no such column.
    int sectionOf(Column column) const { return int(m_columns.indexOf(column)); }

    // The rows, arranged by source number then topic; the kept heights and descriptions are dropped.
    void setCitations(const QList<FTSourceRel*>& citations);
    // The person whose citations are listed, for the relationship column (null: none).
    void setPerson(FTPerson* person) { m_person = person; }
    const QList<FTSourceRel*>& arrangedObjects() const { return m_arranged; }
    FTSourceRel* citationAt(int row) const;
    int rowOf(const FTSourceRel* citation) const;
    // A citation joins the rows in its sorted place (nothing when it is listed already).
    void addCitation(FTSourceRel* citation);
    // The citation leaves the rows; false when it was not listed.
    bool removeCitation(const FTSourceRel* citation);

    // The two field-choice buttons of the tables: every field of a source's description ("AllFields", notes
    // included), or its title alone ("TitleOnly"); kept in the eight "showSource..." user defaults.
    static void showSourceFields(bool allFields);

    // Tool tips on the source descriptions (the citations page has them, the picture window not).
    void setShowsToolTips(bool shows) { m_toolTips = shows; }

    // ---- Row heights ----
    // The height in points of `text` wrapped at `width` points (0 for an empty text).
    using Measure = std::function<double(const QString& text, double width)>;
    // The width in points of a column.
    using ColumnWidth = std::function<double(Column column)>;
    static constexpr double kMinimumHeight = 14.3;
    // The row's height in points: the tallest of the description, page reference and topic cells wrapped at
    // their columns' widths, at least kMinimumHeight, kept per citation; truncated to whole points, plus 3. A row
    // outside the table is kMinimumHeight.
    double heightOfRow(int row, const Measure& measure, const ColumnWidth& width);
    // The tallest cell of the citation's row, measured now (not kept).
    double calculateHeightOfRow(const FTSourceRel* citation, const Measure& measure, const ColumnWidth& width) const;
    // Forgets the kept heights and descriptions: the columns changed width, or the descriptions their fields.
    void dropHeights();
    bool hasHeightOf(const FTSourceRel* citation) const;

    // The tool tip of a source's description: its description with its number, followed by its notes (or the
    // word that there are none) unless the description shows the notes already.
    static QString toolTipForSource(const FTSource* source);
    // The relationship column: the event cited for the person (with the spouse, for an event of a couple), else
    // the person's own.
    QString relationshipOf(const FTSourceRel* citation) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void arrange(QList<FTSourceRel*>& citations) const;
    const QString& descriptionOf(const FTSource* source) const;

    QList<Column> m_columns;
    QList<FTSourceRel*> m_arranged;
    FTPerson* m_person = nullptr;
    bool m_toolTips = false;
    QHash<QString, double> m_lineHeightsDictionary; // by the citation's URI
    mutable QHash<const FTSource*, QString> m_descriptions;
    mutable std::optional<FTSource::ShownFields> m_shownFields; // read with the first description kept
};
