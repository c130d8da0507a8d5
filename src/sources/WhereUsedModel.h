#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>

class FTSource;
class FTSourceRel;

// Where one source is used: its citations, one row each, with the person, event or picture that cites it, the page
// reference and the topic. The rows can be narrowed to the page references that contain a text (ignoring case and
// diacritics) and ordered by a column; choosing another source shows its citations unordered and unfiltered.
//
// A row's texts are read when it is drawn, so a source with tens of thousands of citations shows at once; ordering
// reads each row's key once.
class WhereUsedModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { WhereUsedColumn, PageRefColumn, TopicColumn, ColumnCount };

    explicit WhereUsedModel(QObject* parent = nullptr);

    // The citations of `source` (none for null); the order and the page-reference filter are cleared.
    void setSource(FTSource* source);
    FTSource* source() const { return m_source; }
    // The source's citations are read again (one was deleted or added), filter and order kept.
    void refresh();

    // Only citations whose page reference contains `text`; an empty text shows all.
    void setPageRefFilter(const QString& text);
    QString pageRefFilter() const { return m_pageRefFilter; }
    // Back to the source's own order of its citations.
    void clearSortDescriptors();
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    // By the family name of the person who cites, ascending (citations of no person first).
    void sortByFamilyName();
    bool isSorted() const { return m_sortColumn >= 0; }

    const QList<FTSourceRel*>& arrangedObjects() const { return m_arranged; }
    FTSourceRel* citationAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void rearrange();

    FTSource* m_source = nullptr;
    QList<FTSourceRel*> m_citations;
    QList<FTSourceRel*> m_arranged;
    QString m_pageRefFilter;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
