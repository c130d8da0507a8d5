#pragma once

#include "sources/SourceSearch.h"

#include <QAbstractTableModel>
#include <QFont>
#include <QList>

class FTMoc;
class FTSource;

// The list of a database's sources that the sources editor shows: every source (sourcesArray), filtered by the
// search field and ordered by number, by a column, or in the order that merging equal sources leaves. The active
// source's row is bold and red.
//
// Cells read the records when drawn, so an edit shows as soon as sourcesChanged() is called.
class SourceListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NumberColumn, TypeColumn, TitleColumn, ShortTitleColumn, AuthorColumn, CitationsColumn, ColumnCount };

    explicit SourceListModel(FTMoc* moc, QObject* parent = nullptr);

    // Every source of the database, filter and order kept.
    void loadSources();
    // Every source of another database (none for null), filter and order kept; the sources of the former one are
    // forgotten at once, so that they may go with their database.
    void setMoc(FTMoc* moc);
    // Only these sources (the candidates of the source search dialog), filter and order kept.
    void setSourcesArray(const QList<FTSource*>& sources);
    const QList<FTSource*>& sourcesArray() const { return m_sources; }
    const QList<FTSource*>& arrangedObjects() const { return m_arranged; }
    FTSource* sourceAt(int row) const;
    // -1 when the source is not listed (filtered out or unknown).
    int rowOfSource(const FTSource* source) const;

    // The search field's filter: sources matching `text` in the option's field(s); an empty text shows all.
    void setFilter(SourceSearch::Option option, const QString& text);
    void clearFilter() { setFilter(SourceSearch::None, QString()); }
    bool isFiltered() const { return !m_filterText.isEmpty() && m_filterOption != SourceSearch::None; }
    SourceSearch& search() { return m_search; }

    // Orders: by number (the first order), by a column (ties by number), or the order in which merging compares
    // them (SourceCatalogue::mergeLess), kept until another order is chosen.
    void sortByNumber();
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    void sortForMerge();

    // A new source joins the list (the editor clears the filter first, so that it shows).
    void addSource(FTSource* source);
    // Deleted sources leave the list.
    void removeDeletedSources();
    // The sources' fields were edited: their rows are drawn again where they are (an edit does not move a row).
    void sourcesEdited(const QList<FTSource*>& sources);
    void allSourcesEdited();
    // The active source was set or cleared: its row turns bold and red, the former one plain.
    void activeSourceChanged();

    // The table's font; the active source's row takes its bold form.
    void setFont(const QFont& font) { m_font = font; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void rearrange();
    QString cellText(const FTSource* source, int column) const;

    FTMoc* m_moc;
    QList<FTSource*> m_sources;
    QList<FTSource*> m_arranged;
    bool m_mergeOrder = false; // merging's order instead of a column
    SourceSearch m_search;
    SourceSearch::Option m_filterOption = SourceSearch::None;
    QString m_filterText;
    int m_sortColumn = NumberColumn;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    const FTSource* m_active = nullptr;
    QFont m_font;
};
