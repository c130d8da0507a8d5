// The lists of the sources editor: the sources with their filter, orders and the active row; the citations of one
// source with the page-reference filter and their orders.

#include "SourcesFixture.h"

#include "sources/SourceListModel.h"
#include "sources/WhereUsedModel.h"

#include "model/FTEvent.h"
#include "model/FTPicture.h"

#include <QColor>
#include <QFont>

#include <gmock/gmock.h>

using ::testing::ElementsAre;

using SourceListModelTest = SourcesFixture;

namespace {
QList<int> numbers(const SourceListModel& model)
{
    QList<int> out;
    for (const FTSource* s : model.arrangedObjects())
        out << s->numericId();
    return out;
}
QStringList column(const QAbstractItemModel& model, int col)
{
    QStringList out;
    for (int row = 0; row < model.rowCount(); ++row)
        out << model.index(row, col).data().toString();
    return out;
}
}

TEST_F(SourceListModelTest, SourcesAreFilteredAndOrderedByNumberOrColumn)
{
    numbered(3, {{"title", "Zoë's letters"}, {"author", "b"}});
    numbered(1, {{"title", "census"}, {"author", "a"}});
    numbered(2, {{"title", "Apprentices"}, {"notes", "kew letters"}});
    SourceListModel model(moc.get());
    model.sortByNumber();
    model.loadSources();
    EXPECT_THAT(numbers(model), ElementsAre(1, 2, 3));

    model.sort(SourceListModel::TitleColumn);
    EXPECT_THAT(column(model, SourceListModel::TitleColumn), ElementsAre("Apprentices", "census", "Zoë's letters"));
    model.sort(SourceListModel::TitleColumn, Qt::DescendingOrder);
    EXPECT_THAT(numbers(model), ElementsAre(3, 1, 2));

    model.setFilter(SourceSearch::Any, "letters");
    EXPECT_THAT(numbers(model), ElementsAre(3, 2)); // the order stays
    model.setFilter(SourceSearch::Title, "zoe");
    EXPECT_THAT(numbers(model), ElementsAre(3));
    model.clearFilter();
    EXPECT_EQ(model.rowCount(), 3);

    // A new source joins; deleted ones leave.
    FTSource* added = source();
    model.sortByNumber();
    model.addSource(added);
    EXPECT_THAT(numbers(model), ElementsAre(1, 2, 3, added->numericId()));
    moc->deleteObject(added);
    model.removeDeletedSources();
    EXPECT_EQ(model.rowCount(), 3);
}

TEST_F(SourceListModelTest, TheActiveSourceRowIsBoldAndRed)
{
    FTSource* a = numbered(1);
    numbered(2);
    SourceListModel model(moc.get());
    QFont font;
    font.setPointSize(11);
    model.setFont(font);
    model.loadSources();
    moc->setActiveSource(a);
    model.activeSourceChanged();
    const QModelIndex active = model.index(model.rowOfSource(a), 0);
    EXPECT_EQ(active.data(Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
    EXPECT_TRUE(active.data(Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(active.data(Qt::FontRole).value<QFont>().pointSize(), 11);
    const QModelIndex other = model.index(1 - active.row(), 0);
    EXPECT_FALSE(other.data(Qt::ForegroundRole).isValid());
    EXPECT_FALSE(other.data(Qt::FontRole).isValid());
}

TEST_F(SourceListModelTest, MergeOrderPutsEqualSourcesTogether)
{
    numbered(1, {{"title", "Will"}, {"author", "b"}});
    numbered(2, {{"title", "Census"}});
    numbered(3, {{"title", "Will"}, {"author", "a"}});
    numbered(4, {{"title", "Will"}, {"author", "b"}});
    SourceListModel model(moc.get());
    model.loadSources();
    model.sortForMerge();
    EXPECT_THAT(numbers(model), ElementsAre(2, 3, 1, 4));
}

TEST_F(SourceListModelTest, WhereUsedRowsFilterByPageReferenceAndSortByColumn)
{
    FTSource* s = source({{"title", "Register"}});
    QList<FTSourceRel*> rows = cite(s, 3, "Ann Smith");
    rows[0]->setReference("Folio 12");
    rows[1]->setReference("fólio 3");
    rows[2]->setReference("page 7");
    rows[0]->setItemDescribed("b");
    rows[1]->setItemDescribed("c");
    rows[2]->setItemDescribed("a");
    FTPicture* picture = FTPicture::initInMoc(moc.get(), QString(), s);
    picture->setName("Church");
    FTSourceRel* ofPicture = FTSourceRel::initInMoc(moc.get(), s, picture, QString());
    Q_UNUSED(ofPicture);

    WhereUsedModel model;
    model.setSource(s);
    EXPECT_EQ(model.rowCount(), 4);
    model.sort(WhereUsedModel::TopicColumn);
    EXPECT_THAT(column(model, WhereUsedModel::TopicColumn), ElementsAre("", "a", "b", "c"));
    model.setPageRefFilter("FOLIO");
    EXPECT_THAT(column(model, WhereUsedModel::PageRefColumn), ElementsAre("Folio 12", "fólio 3"));
    model.sort(WhereUsedModel::PageRefColumn, Qt::DescendingOrder);
    EXPECT_THAT(column(model, WhereUsedModel::PageRefColumn), ElementsAre("fólio 3", "Folio 12"));
    EXPECT_EQ(model.index(0, WhereUsedModel::WhereUsedColumn).data().toString(), rows[1]->whereUsedString());

    // Another source: its citations unfiltered and unordered.
    model.setSource(source());
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_TRUE(model.pageRefFilter().isEmpty());
    EXPECT_FALSE(model.isSorted());
}
