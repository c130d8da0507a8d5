#include "sources/ui/MergeSourcesFromAnotherDatabase.h"

#include "sources/SourceListModel.h"
#include "sources/ui/OtherDatabaseChooser.h"
#include "sources/ui/SourcesWindowHelpers.h"

#include "model/FTMoc.h"
#include "model/FTSource.h"

#include "platform/Localizer.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int kFontSize = 11;

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

// The label of each compared field, in SourceFieldsMerge::comparedFields() order.
const char* const kLabels[] = { "SourceLabelNumber", "SourceLabelType", "SourceLabelTitle", "SourceLabelShortTitle",
    "SourceLabelAuthor", "SourceLabelPublisher", "SourceLabelDate", "SourceLabelLocation", "CitationNotesLabel" };

QTableView* makeSide(SourceListModel* model)
{
    QTableView* table = SourcesWindowHelpers::makeListTable(QString(), model, false, kFontSize);
    model->setFont(table->font());
    QHeaderView* header = table->horizontalHeader();
    // Number, type and title: the sides stand next to each other.
    for (int column : { int(SourceListModel::ShortTitleColumn), int(SourceListModel::AuthorColumn),
             int(SourceListModel::CitationsColumn) })
        table->hideColumn(column);
    header->resizeSection(SourceListModel::NumberColumn, 56);
    header->resizeSection(SourceListModel::TypeColumn, 110);
    header->setStretchLastSection(true);
    // The types of the database shown are read whole, while the title keeps most of the width.
    QObject::connect(model, &QAbstractItemModel::modelReset, table, [table] {
        table->resizeColumnToContents(SourceListModel::TypeColumn);
        const int fit = table->columnWidth(SourceListModel::TypeColumn);
        const int room = std::max(110, table->viewport()->width() / 3);
        table->setColumnWidth(SourceListModel::TypeColumn, std::clamp(fit, 110, room));
    });
    return table;
}
}

MergeSourcesFromAnotherDatabase::MergeSourcesFromAnotherDatabase(FTMoc* targetMoc, QWidget* parent)
    : QDialog(parent)
    , m_moc2(targetMoc)
{
    setObjectName(QStringLiteral("MergeSourcesFromAnotherDatabase"));
    setWindowTitle(L("MergeSourcesFromDbTitle"));
    auto* layout = new QVBoxLayout(this);
    m_chooser = new OtherDatabaseChooser(targetMoc);
    layout->addWidget(m_chooser);

    m_m1Sources = new SourceListModel(nullptr, this);
    m_m2Sources = new SourceListModel(targetMoc, this);
    m_tv1 = makeSide(m_m1Sources);
    m_tv1->setObjectName(QStringLiteral("tv1"));
    m_tv2 = makeSide(m_m2Sources);
    m_tv2->setObjectName(QStringLiteral("tv2"));
    m_m2Sources->loadSources();
    m_m2Sources->sort(SourceListModel::TitleColumn);

    auto* sides = new QHBoxLayout;
    const char* const titles[] = { "MergeSourcesSide1", "MergeSourcesSide2" };
    QTableView* tables[] = { m_tv1, m_tv2 };
    for (int side = 1; side <= 2; ++side) {
        auto* box = new QGroupBox(L(titles[side - 1]));
        auto* column = new QVBoxLayout(box);
        column->addWidget(tables[side - 1], 1);
        column->addWidget(buildFields(side));
        sides->addWidget(box, 1);
    }
    layout->addLayout(sides, 1);

    m_message = new QLabel;
    m_message->setObjectName(QStringLiteral("message"));
    QFont bold = m_message->font();
    bold.setBold(true);
    m_message->setFont(bold);
    layout->addWidget(m_message);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SourcesWindowHelpers::makeButton(
        QStringLiteral("mergeTheSelectedSource"), L("MergeSelectedSource"), [this] { mergeTheSelectedSource(); },
        QStringLiteral("go-next")));
    buttons->addStretch();
    buttons->addWidget(SourcesWindowHelpers::makeCloseButton([this] { close(); }));
    layout->addLayout(buttons);

    connect(m_chooser, &OtherDatabaseChooser::databaseChanged, this, [this](FTMoc* other) {
        m_m1Source = nullptr;
        m_m1Sources->setMoc(other);
        m_m1Sources->sort(SourceListModel::TitleColumn);
        highlightDifferences();
    });
    connect(m_tv1->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { tv1SelectionDidChange(); });
    connect(m_tv2->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { tv2SelectionDidChange(); });

    SourcesWindowHelpers::usePanelColour(this);
    resize(1000, 640);
    highlightDifferences();
}

MergeSourcesFromAnotherDatabase::~MergeSourcesFromAnotherDatabase()
{
    m_m1Sources->setMoc(nullptr);
}

QWidget* MergeSourcesFromAnotherDatabase::buildFields(int side)
{
    auto* fields = new QWidget;
    auto* form = new QFormLayout(fields);
    form->setContentsMargins(0, 0, 0, 0);
    const QStringList& keys = SourceFieldsMerge::comparedFields();
    for (int i = 0; i < keys.size(); ++i) {
        auto* value = new QLabel;
        value->setObjectName(keys[i] + QString::number(side));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        value->setWordWrap(true);
        value->setMinimumWidth(120);
        if (keys[i] == QLatin1String("notes")) {
            value->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            value->setMinimumHeight(value->fontMetrics().lineSpacing() * 3);
        }
        form->addRow(L(kLabels[i]), value);
        m_fields[side - 1] << value;
    }
    return fields;
}

FTMoc* MergeSourcesFromAnotherDatabase::moc1() const
{
    return m_chooser->otherMoc();
}

QString MergeSourcesFromAnotherDatabase::message() const
{
    return m_message->text();
}

QColor MergeSourcesFromAnotherDatabase::fieldColour(const QString& key) const
{
    const qsizetype i = SourceFieldsMerge::comparedFields().indexOf(key);
    return i >= 0 && i < m_colours.size() ? m_colours[i] : QColor(Qt::black);
}

QLabel* MergeSourcesFromAnotherDatabase::fieldLabel(int side, const QString& key) const
{
    const qsizetype i = SourceFieldsMerge::comparedFields().indexOf(key);
    return i >= 0 ? m_fields[side - 1].value(i) : nullptr;
}

QList<int> MergeSourcesFromAnotherDatabase::findMatchForM1Source() const
{
    return SourceFieldsMerge::findMatch(m_m2Sources->arrangedObjects(), m_m1Source);
}

void MergeSourcesFromAnotherDatabase::tv1SelectionDidChange()
{
    m_m1Source = SourcesWindowHelpers::selectedSources(m_tv1, m_m1Sources).value(0);
    const QList<int> rows = findMatchForM1Source();
    if (rows.isEmpty()) {
        m_tv2->clearSelection();
    } else {
        m_tv2->selectRow(rows.first());
        m_tv2->scrollTo(m_m2Sources->index(rows.first(), SourceListModel::TitleColumn));
    }
    // Selecting on side 2 has refreshed the display already, unless nothing changed there.
    tv2SelectionDidChange();
}

void MergeSourcesFromAnotherDatabase::tv2SelectionDidChange()
{
    m_m2Source = SourcesWindowHelpers::selectedSources(m_tv2, m_m2Sources).value(0);
    highlightDifferences();
}

void MergeSourcesFromAnotherDatabase::highlightDifferences()
{
    const SourceFieldsMerge::Comparison c = SourceFieldsMerge::highlightDifferences(m_m1Source, m_m2Source);
    const QStringList& keys = SourceFieldsMerge::comparedFields();
    const FTSource* shown[] = { m_m1Source, m_m2Source };
    m_colours.clear();
    for (int i = 0; i < keys.size(); ++i) {
        const QColor colour = c.different.value(i) ? QColor(Qt::blue) : QColor(Qt::black);
        m_colours << colour;
        for (int side = 0; side < 2; ++side) {
            QLabel* label = m_fields[side][i];
            label->setText(shown[side] ? shown[side]->valueForKey(keys[i]).toString() : QString());
            QPalette palette = label->palette();
            palette.setColor(QPalette::WindowText, side == 0 ? colour : QColor(Qt::black));
            label->setPalette(palette);
        }
    }
    m_message->setText(c.message);
}

void MergeSourcesFromAnotherDatabase::mergeTheSelectedSource()
{
    if (!SourceFieldsMerge::merge(m_m1Source, m_m2Source))
        return;
    m_m2Sources->sourcesEdited({ m_m2Source });
    highlightDifferences();
}

void MergeSourcesFromAnotherDatabase::close()
{
    done(0);
}

void MergeSourcesFromAnotherDatabase::done(int result)
{
    m_m1Source = nullptr;
    m_chooser->closeDatabase();
    QDialog::done(result);
}
