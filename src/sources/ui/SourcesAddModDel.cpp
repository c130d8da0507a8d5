#include "sources/ui/SourcesAddModDel.h"

#include "sources/SourceCatalogue.h"
#include "sources/SourceListModel.h"
#include "sources/SourceTypeAssignment.h"
#include "sources/WhereUsedModel.h"
#include "sources/ui/MergeTwoSources.h"
#include "sources/ui/ReviewSourceReferences.h"
#include "sources/ui/SelectSourceNotesLabelsButton.h"
#include "sources/ui/SourceNotes.h"
#include "sources/ui/SourcesWindowHelpers.h"
#include "sources/ui/WhereUsedTableView.h"

#include "model/FTMoc.h"
#include "model/FTSource.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"
#include "shell/ui/SetFontSize.h"
#include "shell/ui/ThemeIcon.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTableView>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

using SourcesWindowHelpers::makeButton;
using SourcesWindowHelpers::makeHelpButton;

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
QString LH(const QString& key)
{
    return LocalizedHelpString(key);
}

constexpr int kFontSize = 11;
constexpr double kMaxSplitViewPercent = 0.95;
constexpr int kBusyRowCount = 1000;

double g_splitViewPercent = 0;
SourcesAddModDel::PictureWellFactory& pictureWellFactory()
{
    static SourcesAddModDel::PictureWellFactory factory;
    return factory;
}

// Column widths that leave room for each header's title (bold in some styles) and its sort arrow.
void sizeColumns(QTableView* table, std::initializer_list<std::pair<int, int>> widths)
{
    QHeaderView* header = table->horizontalHeader();
    QFont bold = header->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    for (const auto& [column, width] : widths) {
        const QString title = table->model()->headerData(column, Qt::Horizontal).toString();
        header->resizeSection(column, std::max(width, metrics.horizontalAdvance(title) + 28));
    }
}

// The ordering of a table's header: a click on the sorted column turns the order round.
Qt::SortOrder nextOrder(QHeaderView* header, int column)
{
    if (header->isSortIndicatorShown() && header->sortIndicatorSection() == column)
        return header->sortIndicatorOrder() == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    return Qt::AscendingOrder;
}
}

const QString SourcesAddModDel::kFrameName = QStringLiteral("SourcesAddEditFrame");
const QString SourcesAddModDel::kTableName = QStringLiteral("SourcesAmdTable");

double SourcesAddModDel::splitViewPercent()
{
    return g_splitViewPercent;
}

void SourcesAddModDel::setSplitViewPercent(double percent)
{
    g_splitViewPercent = percent;
}

void SourcesAddModDel::setPictureWellFactory(PictureWellFactory factory)
{
    pictureWellFactory() = std::move(factory);
}

SourcesAddModDel::SourcesAddModDel(FTMoc* moc, FTSource* source, QWidget* parent)
    : QDialog(parent)
    , m_moc(moc)
    , m_currentSource(source)
{
    setObjectName(QStringLiteral("SourcesAddModDel"));
    setWindowTitle(L("SourcesEditorTitle"));
    static const char* const keys[FieldCount]
        = { "numericId", "type", "title", "abbreviatedTitle", "author", "publisher", "date", "location", "notes" };
    for (int i = 0; i < FieldCount; ++i)
        m_fields[i].key = QString::fromLatin1(keys[i]);
    m_sources = new SourceListModel(moc, this);
    m_whereUsed = new WhereUsedModel(this);
    buildWindow();

    SourceTypeAssignment::correctSourceTypesWithTrailingSpaces(moc);
    UserDefaults& defaults = UserDefaults::standard();
    resize(1040, 780);
    if (const QString frame = defaults.stringForKey(kFrameName); !frame.isEmpty())
        restoreGeometry(QByteArray::fromBase64(frame.toLatin1()));
    if (const QString columns = defaults.stringForKey(kTableName); !columns.isEmpty())
        m_tv->horizontalHeader()->restoreState(QByteArray::fromBase64(columns.toLatin1()));
    m_sortProgressIndicator->hide();
    activeSourceDidChange();
    SourcesWindowHelpers::usePanelColour(this);

    m_sources->setFont(m_tv->font());

    refillTypes();
    m_sources->sortByNumber();
    m_tv->horizontalHeader()->setSortIndicator(SourceListModel::NumberColumn, Qt::AscendingOrder);
    loadSources();
    createSearchFieldFilterMenu();
    applySplitViewPercent();
}

SourcesAddModDel::~SourcesAddModDel() = default;

QLineEdit* SourcesAddModDel::field(const QString& key) const
{
    for (int i = 0; i < FieldCount; ++i)
        if (m_fields[i].key == key)
            return m_lineFields[i];
    return nullptr;
}

// ---- The window ----------------------------------------------------------------------------------------------

void SourcesAddModDel::buildWindow()
{
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    m_searchField = new QLineEdit;
    m_searchField->setObjectName(QStringLiteral("searchField"));
    m_searchField->setClearButtonEnabled(true);
    m_searchField->setMinimumWidth(320);
    connect(m_searchField, &QLineEdit::textChanged, this, [this] { changeSearchField(); });
    top->addWidget(m_searchField);
    top->addStretch();
    m_countLabel = new QLabel;
    m_countLabel->setObjectName(QStringLiteral("countLabel"));
    top->addWidget(m_countLabel);
    layout->addLayout(top);

    m_tv = SourcesWindowHelpers::makeListTable(QStringLiteral("tv"), m_sources, true, kFontSize);
    // Rows 1.5 times the text size, and never lower than the text.
    m_tv->verticalHeader()->setDefaultSectionSize(std::max(int(1.5 * kFontSize), m_tv->fontMetrics().height() + 2));
    QHeaderView* header = m_tv->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setStretchLastSection(false);
    sizeColumns(m_tv,
        { { SourceListModel::NumberColumn, 60 }, { SourceListModel::TypeColumn, 150 },
            { SourceListModel::TitleColumn, 360 }, { SourceListModel::ShortTitleColumn, 140 },
            { SourceListModel::AuthorColumn, 150 }, { SourceListModel::CitationsColumn, 70 } });
    header->setSectionResizeMode(SourceListModel::TitleColumn, QHeaderView::Stretch);
    connect(header, &QHeaderView::sectionPressed, this,
        [this](int column) { mouseDownInHeaderOfTableColumn(m_tv, column); });
    connect(header, &QHeaderView::sectionClicked, this, [this, header](int column) {
        const Qt::SortOrder order = nextOrder(header, column);
        const QList<FTSource*> keep = selectedSources();
        m_loading = true;
        m_sources->sort(column, order);
        m_loading = false;
        header->setSortIndicator(column, order);
        reselect(keep);
    });
    connect(m_tv->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_loading)
            selectionDidChange();
    });
    layout->addWidget(m_tv, 3);

    m_listButtons = new QHBoxLayout;
    auto* add = makeButton(
        QStringLiteral("addSource"), L("SourcesAddButton"), [this] { addSource(); }, QStringLiteral("list-add"));
    auto* remove = makeButton(
        QStringLiteral("deleteSource"), L("SourcesDeleteButton"), [this] { deleteSource(); },
        QStringLiteral("list-remove"));
    auto* merge = makeButton(
        QStringLiteral("mergeAllEqualSources"), L("SourcesMergeEqualButton"), [this] { mergeAllEqualSources(); });
    auto* mergeTwo = makeButton(
        QStringLiteral("mergeTwoSources"), L("SourcesMergeTwoButton"), [this] { mergeTwoSources(); });
    mergeTwo->setToolTip(L("SourcesMergeTwoTip"));
    auto* references = makeButton(QStringLiteral("displayDetailedReferences"), L("SourcesDetailedRefsButton"),
        [this] { displayDetailedReferences(); });
    auto* renumber = makeButton(QStringLiteral("renumberAll"), L("SourcesRenumberButton"), [this] { renumberAll(); });
    auto* reset = makeButton(
        QStringLiteral("resetMaxSourceId"), L("SourcesResetCounterButton"), [this] { resetMaxSourceId(); });
    auto* types = makeButton(QStringLiteral("autoPopulateSourceTypes"), L("SourcesAssignTypesButton"),
        [this] { autoPopulateSourceTypes(); });
    auto* typesHelp = makeHelpButton(QStringLiteral("helpForSourceTypes"), [this] { helpForSourceTypes(); });
    for (QWidget* w : std::initializer_list<QWidget*> { add, remove })
        m_listButtons->addWidget(w);
    m_listButtons->addSpacing(16);
    for (QWidget* w : std::initializer_list<QWidget*> { merge, mergeTwo, renumber, reset, types, typesHelp })
        m_listButtons->addWidget(w);
    m_listButtons->addSpacing(16);
    m_listButtons->addWidget(references);
    m_listButtons->addStretch();
    layout->addLayout(m_listButtons);

    auto* middle = new QHBoxLayout;
    middle->addWidget(buildFields(), 1);
    if (const PictureWellFactory& factory = pictureWellFactory())
        if (QWidget* well = factory(*this))
            middle->addWidget(well);
    layout->addLayout(middle);

    layout->addWidget(buildSplitView(), 2);

    // The notes' commands sit under the split view, so that the notes can be narrowed to a sliver.
    auto* notesButtons = new QHBoxLayout;
    auto* define = makeButton(
        QStringLiteral("defineNotesFormat"), L("SourcesDefineFormatButton"), [this] { defineNotesFormat(); });
    auto* append = makeButton(
        QStringLiteral("appendNotesFormat"), L("SourcesAppendFormatButton"), [this] { appendNotesFormat(); });
    auto* formatHelp = makeHelpButton(QStringLiteral("helpForNotesFormat"), [this] { helpForNotesFormat(); });
    auto* window
        = makeButton(QStringLiteral("editSourceNotes"), L("SourcesNotesWindowButton"), [this] { editSourceNotes(); });
    auto* toTitle = makeButton(
        QStringLiteral("moveNotesToTitleField"), L("SourcesNotesToTitleButton"), [this] { moveNotesToTitleField(); });
    notesButtons->addStretch();
    for (QWidget* w : std::initializer_list<QWidget*> { window, toTitle })
        notesButtons->addWidget(w);
    notesButtons->addSpacing(16);
    for (QWidget* w : std::initializer_list<QWidget*> { define, append, formatHelp })
        notesButtons->addWidget(w);
    layout->addLayout(notesButtons);

    auto* bottom = new QHBoxLayout;
    auto* activate = makeButton(
        QStringLiteral("setAsActiveSource"), L("SourcesSetActiveButton"), [this] { setAsActiveSource(); },
        QStringLiteral("starred"));
    m_deactivateButton = makeButton(
        QStringLiteral("deactivateActiveSource"), L("SourcesDeactivateButton"), [this] { deactivateActiveSource(); },
        QStringLiteral("non-starred"));
    auto* activeHelp
        = makeHelpButton(QStringLiteral("helpForActiveSourcePanel"), [this] { helpForActiveSourcePanel(); });
    auto* close = makeButton(QStringLiteral("close"), L("Close"), [this] { closeSheet(); });
    bottom->addWidget(activate);
    bottom->addWidget(m_deactivateButton);
    bottom->addWidget(activeHelp);
    bottom->addStretch();
    bottom->addWidget(close);
    layout->addLayout(bottom);
}

QWidget* SourcesAddModDel::buildFields()
{
    auto* box = new QGroupBox(L("SourcesFieldsTitle"));
    auto* grid = new QGridLayout(box);
    auto label = [](const char* key) {
        auto* l = new QLabel(L(key));
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };

    m_sourceNumber = new QLineEdit;
    m_sourceNumber->setObjectName(QStringLiteral("sourceNumber"));
    m_sourceNumber->setMaximumWidth(90);
    m_sourceNumber->setAlignment(Qt::AlignRight);
    connect(m_sourceNumber, &QLineEdit::textEdited, this, [this] { fieldEdited(NumberField); });
    connect(m_sourceNumber, &QLineEdit::editingFinished, this, [this] { commitNumber(); });

    m_typesComboBox = new QComboBox;
    m_typesComboBox->setObjectName(QStringLiteral("typesComboBox"));
    m_typesComboBox->setEditable(true);
    m_typesComboBox->setInsertPolicy(QComboBox::NoInsert);
    m_typesComboBox->setMaxVisibleItems(20);
    m_typesComboBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_typesComboBox->setMinimumContentsLength(20);
    connect(m_typesComboBox->lineEdit(), &QLineEdit::textEdited, this, [this] { fieldEdited(TypeField); });
    connect(m_typesComboBox->lineEdit(), &QLineEdit::editingFinished, this, [this] { commitField(TypeField); });
    connect(m_typesComboBox, &QComboBox::activated, this, [this] {
        if (fieldEdited(TypeField))
            commitField(TypeField);
    });

    grid->addWidget(label("SourceLabelNumber"), 0, 0);
    grid->addWidget(m_sourceNumber, 0, 1);
    grid->addWidget(label("SourceLabelType"), 0, 2);
    grid->addWidget(m_typesComboBox, 0, 3, 1, 3);

    struct Line {
        FieldIndex index;
        const char* label;
        int row, column, span;
    };
    const Line lines[]
        = { { TitleField, "SourceLabelTitle", 1, 0, 5 }, { ShortTitleField, "SourceLabelShortTitle", 2, 0, 1 },
              { AuthorField, "SourceLabelAuthor", 2, 2, 3 }, { PublisherField, "SourceLabelPublisher", 3, 0, 1 },
              { DateField, "SourceLabelDate", 3, 2, 1 }, { LocationField, "SourceLabelLocation", 3, 4, 1 } };
    for (const Line& line : lines) {
        auto* edit = new QLineEdit;
        edit->setObjectName(m_fields[line.index].key);
        const FieldIndex index = line.index;
        connect(edit, &QLineEdit::textEdited, this, [this, index] { fieldEdited(index); });
        connect(edit, &QLineEdit::editingFinished, this, [this, index] { commitField(index); });
        m_lineFields[index] = edit;
        grid->addWidget(label(line.label), line.row, line.column);
        grid->addWidget(edit, line.row, line.column + 1, 1, line.span);
    }
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(5, 1);
    return box;
}

QWidget* SourcesAddModDel::buildSplitView()
{
    m_splitView = new QSplitter(Qt::Horizontal);
    m_splitView->setObjectName(QStringLiteral("splitView"));
    m_splitView->setChildrenCollapsible(false);

    auto* usedBox = new QGroupBox(L("WhereUsedTitle"));
    auto* used = new QVBoxLayout(usedBox);
    auto* usedTop = new QHBoxLayout;
    m_pageRefSearchField = new QLineEdit;
    m_pageRefSearchField->setObjectName(QStringLiteral("pageRefSearchField"));
    m_pageRefSearchField->setPlaceholderText(L("WhereUsedPageRefFilter"));
    m_pageRefSearchField->setClearButtonEnabled(true);
    m_pageRefSearchField->addAction(themeIcon(QStringLiteral("edit-find")), QLineEdit::LeadingPosition);
    connect(m_pageRefSearchField, &QLineEdit::textChanged, this, [this](const QString& t) { changePageRefFilter(t); });
    usedTop->addWidget(m_pageRefSearchField, 1);
    m_sortProgressIndicator = new QProgressBar;
    m_sortProgressIndicator->setObjectName(QStringLiteral("sortProgressIndicator"));
    m_sortProgressIndicator->setRange(0, 0); // busy, without a share
    m_sortProgressIndicator->setTextVisible(false);
    m_sortProgressIndicator->setMaximumWidth(80);
    usedTop->addWidget(m_sortProgressIndicator);
    used->addLayout(usedTop);

    m_whereUsedTable = new WhereUsedTableView(this);
    m_whereUsedTable->setModel(m_whereUsed);
    SetFontSize(m_whereUsedTable, kFontSize);
    m_whereUsedTable->verticalHeader()->setDefaultSectionSize(
        std::max(int(1.3 * kFontSize), m_whereUsedTable->fontMetrics().height() + 2));
    QHeaderView* header = m_whereUsedTable->horizontalHeader();
    sizeColumns(m_whereUsedTable, { { WhereUsedModel::PageRefColumn, 110 }, { WhereUsedModel::TopicColumn, 110 } });
    header->setStretchLastSection(false);
    header->setSectionResizeMode(WhereUsedModel::WhereUsedColumn, QHeaderView::Stretch);
    connect(header, &QHeaderView::sectionPressed, this,
        [this](int column) { mouseDownInHeaderOfTableColumn(m_whereUsedTable, column); });
    connect(header, &QHeaderView::sectionClicked, this, [this, header](int column) {
        const Qt::SortOrder order = nextOrder(header, column);
        m_whereUsed->sort(column, order);
        header->setSortIndicator(column, order);
        didClickTableColumn(column);
    });
    used->addWidget(m_whereUsedTable);
    m_splitView->addWidget(usedBox);

    auto* notesBox = new QGroupBox(L("SourceNotesTitle"));
    auto* notes = new QVBoxLayout(notesBox);
    auto* notesTop = new QHBoxLayout;
    m_labelsButton = new SelectSourceNotesLabelsButton;
    m_labelsButton->setDelegate(this);
    notesTop->addWidget(m_labelsButton);
    notesTop->addStretch();
    notes->addLayout(notesTop);
    m_sourceNotesTextView = new QTextEdit;
    m_sourceNotesTextView->setObjectName(QStringLiteral("sourceNotesTextView"));
    m_sourceNotesTextView->setAcceptRichText(false);
    m_sourceNotesTextView->installEventFilter(this);
    connect(m_sourceNotesTextView, &QTextEdit::textChanged, this, [this] { fieldEdited(NotesField); });
    notes->addWidget(m_sourceNotesTextView);
    m_splitView->addWidget(notesBox);
    // Either side may be narrowed to a sliver (the share kept for the where-used table goes up to 95 percent).
    usedBox->setMinimumWidth(40);
    notesBox->setMinimumWidth(40);
    m_splitView->setSizes({ 500, 500 });
    return m_splitView;
}

void SourcesAddModDel::applySplitViewPercent()
{
    if (g_splitViewPercent <= 0)
        return;
    g_splitViewPercent = std::min(g_splitViewPercent, kMaxSplitViewPercent);
    constexpr int kWhole = 10000; // shares: the splitter scales them to its width
    const int used = int(std::lround(g_splitViewPercent * kWhole));
    m_splitView->setSizes({ used, kWhole - used });
}

// ---- The list and the selection ------------------------------------------------------------------------------

namespace {
void emptySilently(QLineEdit* field)
{
    const QSignalBlocker quiet(field);
    field->clear();
}
}

void SourcesAddModDel::clearFilters()
{
    emptySilently(m_searchField);
    emptySilently(m_pageRefSearchField);
    m_whereUsed->setPageRefFilter(QString());
    m_loading = true;
    m_sources->clearFilter();
    m_loading = false;
}

void SourcesAddModDel::loadSources()
{
    clearFilters();
    m_loading = true;
    m_sources->loadSources();
    m_loading = false;
    if (m_currentSource && m_sources->rowOfSource(m_currentSource) >= 0)
        reselect({ m_currentSource });
    else
        reselect(m_sources->arrangedObjects().mid(0, 1));
}

FTSource* SourcesAddModDel::currentSource() const
{
    const QList<FTSource*> selected = selectedSources();
    return selected.isEmpty() ? nullptr : selected.first();
}

QList<FTSource*> SourcesAddModDel::selectedSources() const
{
    return SourcesWindowHelpers::selectedSources(m_tv, m_sources);
}

void SourcesAddModDel::selectSource(FTSource* source)
{
    endEditing();
    if (source && m_sources->rowOfSource(source) < 0)
        clearFilters();
    reselect(source ? QList<FTSource*> { source } : QList<FTSource*> {});
}

void SourcesAddModDel::reselect(const QList<FTSource*>& sources)
{
    m_loading = true;
    QItemSelection selection;
    int first = -1;
    for (const FTSource* s : sources) {
        const int row = m_sources->rowOfSource(s);
        if (row < 0)
            continue;
        selection.select(m_sources->index(row, 0), m_sources->index(row, SourceListModel::ColumnCount - 1));
        if (first < 0)
            first = row;
    }
    QItemSelectionModel* model = m_tv->selectionModel();
    model->select(selection, QItemSelectionModel::ClearAndSelect);
    if (first >= 0) {
        model->setCurrentIndex(m_sources->index(first, 0), QItemSelectionModel::NoUpdate);
        m_tv->scrollTo(m_sources->index(first, 0));
    }
    m_loading = false;
    selectionDidChange();
}

void SourcesAddModDel::selectionDidChange()
{
    endEditing();
    m_whereUsedTable->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    emptySilently(m_pageRefSearchField);
    m_whereUsed->setSource(currentSource());
    m_countLabel->setText(L("SourcesCount").arg(m_sources->rowCount()).arg(m_sources->sourcesArray().size()));
    showSelection();
    Q_EMIT currentSourceChanged(currentSource());
}

void SourcesAddModDel::setFieldText(FieldIndex index, const QString& text, bool several)
{
    const QString placeholder = several ? L("MultipleValues") : QString();
    if (index == NotesField) {
        m_sourceNotesTextView->setPlainText(text);
        m_sourceNotesTextView->setPlaceholderText(placeholder);
    } else if (index == TypeField) {
        m_typesComboBox->setEditText(text);
        m_typesComboBox->lineEdit()->setPlaceholderText(placeholder);
    } else {
        QLineEdit* edit = index == NumberField ? m_sourceNumber : m_lineFields[index];
        edit->setText(text);
        edit->setPlaceholderText(placeholder);
    }
}

QString SourcesAddModDel::fieldText(FieldIndex index) const
{
    switch (index) {
    case NotesField:
        return m_sourceNotesTextView->toPlainText();
    case TypeField:
        return m_typesComboBox->currentText();
    case NumberField:
        return m_sourceNumber->text();
    default:
        return m_lineFields[index]->text();
    }
}

void SourcesAddModDel::showSelection()
{
    m_loading = true;
    m_shownSources = selectedSources();
    const bool any = !m_shownSources.isEmpty();
    const bool several = m_shownSources.size() > 1;
    for (int i = 0; i < FieldCount; ++i) {
        FieldState& f = m_fields[i];
        QString text;
        bool differ = false;
        if (i == NumberField) {
            text = m_shownSources.size() == 1 ? QString::number(m_shownSources.first()->numericId()) : QString();
        } else if (any) {
            text = m_shownSources.first()->valueForKey(f.key).toString();
            for (const FTSource* s : m_shownSources)
                if (s->valueForKey(f.key).toString() != text) {
                    differ = true;
                    break;
                }
            if (differ)
                text.clear();
        }
        setFieldText(FieldIndex(i), text, differ || (i == NumberField && several));
        f.shown = fieldText(FieldIndex(i));
        f.differ = differ;
        f.dirty = false;
        f.permitted = false;
    }
    // A number belongs to one source: several sources cannot take the same one.
    m_sourceNumber->setEnabled(m_shownSources.size() == 1);
    m_typesComboBox->setEnabled(any);
    for (QLineEdit* edit : m_lineFields)
        if (edit)
            edit->setEnabled(any);
    m_sourceNotesTextView->setEnabled(any);
    m_labelsButton->setEnabled(any);
    m_loading = false;
}

bool SourcesAddModDel::fieldEdited(FieldIndex index)
{
    if (m_loading)
        return false;
    FieldState& f = m_fields[index];
    if (!f.permitted && !SourceCatalogue::confirmEditOfSeveral(int(m_shownSources.size()))) {
        // The edit does not begin: what was shown comes back.
        m_loading = true;
        setFieldText(index, f.shown, m_shownSources.size() > 1);
        m_loading = false;
        return false;
    }
    f.permitted = true;
    f.dirty = true;
    return true;
}

void SourcesAddModDel::commitField(FieldIndex index)
{
    if (index == NumberField) {
        commitNumber();
        return;
    }
    FieldState& f = m_fields[index];
    if (!f.dirty)
        return;
    f.dirty = false;
    f.permitted = false;
    const QString text = fieldText(index);
    // Sources with different values show an empty field: left empty, it changes none of them.
    if (f.differ && text == f.shown)
        return;
    f.shown = text;
    f.differ = false;
    // A field emptied holds no value, as a field never filled.
    const QVariant value = text.isEmpty() ? QVariant() : QVariant(text);
    for (FTSource* source : std::as_const(m_shownSources))
        if (!source->isDeleted())
            source->setValueForKey(f.key, value);
    m_sources->sourcesEdited(m_shownSources);
    if (index == TypeField)
        refillTypes();
}

void SourcesAddModDel::commitNumber()
{
    FieldState& f = m_fields[NumberField];
    if (!f.dirty)
        return;
    f.dirty = false;
    f.permitted = false;
    if (m_shownSources.size() != 1)
        return;
    FTSource* source = m_shownSources.first();
    QString restored;
    if (!SourceCatalogue(m_moc).setTypedNumber(source, m_sourceNumber->text(), &restored)) {
        m_loading = true;
        m_sourceNumber->setText(restored);
        m_loading = false;
        f.shown = restored;
        m_sourceNumber->setFocus();
        return;
    }
    f.shown = m_sourceNumber->text();
    m_sources->sourcesEdited(m_shownSources);
}

void SourcesAddModDel::endEditing()
{
    for (int i = 0; i < FieldCount; ++i)
        commitField(FieldIndex(i));
}

bool SourcesAddModDel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_sourceNotesTextView && event->type() == QEvent::FocusOut)
        commitField(NotesField);
    return QDialog::eventFilter(watched, event);
}

void SourcesAddModDel::refillTypes()
{
    m_typesArray = m_moc->sourceTypes();
    const bool wasLoading = m_loading;
    m_loading = true;
    const QString text = m_typesComboBox->currentText();
    m_typesComboBox->clear();
    m_typesComboBox->addItems(m_typesArray);
    m_typesComboBox->setEditText(text);
    m_loading = wasLoading;
}

void SourcesAddModDel::activeSourceDidChange()
{
    const FTSource* active = m_moc->activeSource();
    m_deactivateButton->setEnabled(active != nullptr);
    m_deactivateButton->setToolTip(
        active ? L("ActiveSourceShortDesc").arg(active->shortDescriptionWithNumericId()) : QString());
    m_sources->activeSourceChanged();
}

// ---- Actions -------------------------------------------------------------------------------------------------

void SourcesAddModDel::addSource()
{
    endEditing();
    clearFilters();
    m_loading = true;
    FTSource* source = FTSource::initInMoc(m_moc);
    m_sources->addSource(source);
    m_loading = false;
    reselect({ source });
    m_typesComboBox->setFocus();
}

void SourcesAddModDel::deleteSource()
{
    endEditing();
    const int row = m_tv->selectionModel()->selectedRows().isEmpty() ? -1 : m_sources->rowOfSource(currentSource());
    if (!SourceCatalogue(m_moc).deleteSource(currentSource()))
        return;
    m_loading = true;
    m_sources->removeDeletedSources();
    m_loading = false;
    activeSourceDidChange();
    const int next = std::min(row, m_sources->rowCount() - 1);
    reselect(next >= 0 ? QList<FTSource*> { m_sources->sourceAt(next) } : QList<FTSource*> {});
    m_moc->saveMoc();
}

void SourcesAddModDel::setAsActiveSource()
{
    endEditing();
    FTSource* source = currentSource();
    if (!SourceCatalogue(m_moc).setAsActiveSource(source))
        return;
    activeSourceDidChange();
    if (Utils::displayYesNoQuery(L("ActiveSourceSetTo").arg(source->shortDescriptionWithNumericId()),
            L("OkCloseDialog"), L("ReturnToSourceDialog")))
        closeSheet();
}

void SourcesAddModDel::deactivateActiveSource()
{
    SourceCatalogue::deactivateActiveSource(m_moc);
    activeSourceDidChange();
}

void SourcesAddModDel::renumberAll()
{
    endEditing();
    const QList<FTSource*> keep = selectedSources();
    if (!SourceCatalogue(m_moc).renumberAll())
        return;
    loadSources();
    reselect(keep);
}

void SourcesAddModDel::resetMaxSourceId()
{
    endEditing();
    const QList<FTSource*> keep = selectedSources();
    if (!SourceCatalogue(m_moc).resetMaxSourceId())
        return;
    clearFilters();
    reselect(keep);
}

void SourcesAddModDel::mergeAllEqualSources()
{
    endEditing();
    const QList<FTSource*> keep = selectedSources();
    m_loading = true;
    m_sources->sortForMerge();
    m_tv->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_loading = false;
    SourceCatalogue(m_moc).mergeAllEqualSources(m_sources->arrangedObjects());
    m_loading = true;
    m_sources->removeDeletedSources();
    m_loading = false;
    activeSourceDidChange();
    QList<FTSource*> still;
    for (FTSource* s : keep)
        if (!s->isDeleted())
            still << s;
    reselect(still.isEmpty() ? m_sources->arrangedObjects().mid(0, 1) : still);
}

void SourcesAddModDel::mergeTwoSources()
{
    endEditing();
    const QList<FTSource*> selected = selectedSources();
    if (const qsizetype n = selected.size(); n != 2) {
        DisplayMsg(L("MustHaveTwoSources").arg(n).arg(n > 1 ? QStringLiteral("s are") : QStringLiteral(" is")));
        return;
    }
    auto* sheet = new MergeTwoSources(m_moc, selected, this);
    sheet->setSourcesArrayController(m_sources);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->setWindowModality(Qt::WindowModal);
    connect(sheet, &QDialog::finished, this, [this, selected] {
        m_loading = true;
        m_sources->removeDeletedSources();
        m_loading = false;
        activeSourceDidChange();
        QList<FTSource*> still;
        for (FTSource* s : selected)
            if (!s->isDeleted())
                still << s;
        reselect(still);
    });
    sheet->open();
}

void SourcesAddModDel::displayDetailedReferences()
{
    endEditing();
    ReviewSourceReferences::run(m_moc, nullptr, currentSource(), this);
    m_whereUsed->refresh();
}

void SourcesAddModDel::moveNotesToTitleField()
{
    endEditing();
    const QList<FTSource*> selected = selectedSources();
    if (!SourceCatalogue(m_moc).moveNotesToTitle(selected))
        return;
    m_sources->sourcesEdited(selected);
    showSelection();
}

void SourcesAddModDel::autoPopulateSourceTypes()
{
    endEditing();
    m_tv->clearSelection();
    if (SourceTypeAssignment::autoPopulateSourceTypes(m_moc)) {
        m_sources->allSourcesEdited();
        refillTypes();
    }
}

void SourcesAddModDel::defineNotesFormat()
{
    endEditing();
    SourceCatalogue::defineNotesFormat(m_sourceNotesTextView->toPlainText());
}

void SourcesAddModDel::appendNotesFormat()
{
    endEditing();
    if (m_shownSources.isEmpty())
        return;
    const std::optional<QString> notes = SourceCatalogue::appendNotesFormat(m_sourceNotesTextView->toPlainText());
    if (!notes)
        return;
    FieldState& f = m_fields[NotesField];
    if (f.differ) {
        appendToEachSourcesNotes(
            [](const QString& own) { return SourceCatalogue::appendNotesFormat(own).value_or(own); });
        return;
    }
    if (!f.permitted && !SourceCatalogue::confirmEditOfSeveral(int(m_shownSources.size())))
        return;
    f.permitted = true;
    m_loading = true;
    m_sourceNotesTextView->setPlainText(*notes);
    m_loading = false;
    f.dirty = true;
    commitField(NotesField);
}

void SourcesAddModDel::insertIntoNotes(const QString& text)
{
    if (!m_sourceNotesTextView->isEnabled())
        return;
    const FieldState& f = m_fields[NotesField];
    if (f.differ && !f.dirty) {
        endEditing();
        appendToEachSourcesNotes([&text](const QString& own) {
            return own.isEmpty() || own.endsWith(QLatin1Char('\n')) ? own + text : own + QLatin1Char('\n') + text;
        });
        return;
    }
    // The view's own cursor is its insertion point, also while another view has the keyboard.
    m_sourceNotesTextView->textCursor().insertText(text);
    endEditing();
}

void SourcesAddModDel::appendToEachSourcesNotes(const std::function<QString(const QString& notes)>& append)
{
    FieldState& f = m_fields[NotesField];
    if (!f.permitted && !SourceCatalogue::confirmEditOfSeveral(int(m_shownSources.size())))
        return;
    for (FTSource* source : std::as_const(m_shownSources))
        if (!source->isDeleted()) {
            const QString notes = append(source->valueForKey(f.key).toString());
            source->setValueForKey(f.key, notes.isEmpty() ? QVariant() : QVariant(notes));
        }
    m_sources->sourcesEdited(m_shownSources);
    showSelection();
}

void SourcesAddModDel::editSourceNotes()
{
    const QList<FTSource*> selected = selectedSources();
    if (selected.size() != 1) {
        DisplayMsg(L("PleaseSelectOnlyOneSource"));
        return;
    }
    endEditing();
    SourceNotes notes(selected.first(), this);
    notes.exec();
    showSelection();
}

void SourcesAddModDel::changePageRefFilter(const QString& text)
{
    m_whereUsed->setPageRefFilter(text);
}

void SourcesAddModDel::createSearchFieldFilterMenu()
{
    m_currentSearchMenuOption = SourceSearch::storedOptionTitle();
    m_searchMenu = SourcesWindowHelpers::makeSearchMenu(
        m_searchField, this, m_currentSearchMenuOption, [this](QAction* option) { limitSearch(option); });
}

void SourcesAddModDel::limitSearch(QAction* option)
{
    if (!option)
        return;
    m_currentSearchMenuOption = SourcesWindowHelpers::chooseSearchOption(m_searchMenu, m_searchField, option);
    changeSearchField();
    reselect(m_sources->arrangedObjects().mid(0, 1));
}

void SourcesAddModDel::changeSearchField()
{
    endEditing();
    const QString text = m_searchField->text();
    emptySilently(m_pageRefSearchField);
    m_whereUsed->setPageRefFilter(QString());
    const QList<FTSource*> keep = selectedSources();
    m_loading = true;
    if (text.isEmpty())
        m_sources->clearFilter();
    else
        m_sources->setFilter(SourceSearch::optionForTitle(m_currentSearchMenuOption), text);
    m_loading = false;
    reselect(text.isEmpty() ? keep : m_sources->arrangedObjects().mid(0, 1));
}

void SourcesAddModDel::showHelp(const QString& prefix)
{
    Prompts::current().chooseWithTitle(LH(prefix + QStringLiteral("Title")), LH(prefix + QStringLiteral("Heading")),
        LH(prefix), { QStringLiteral("Close") });
}

void SourcesAddModDel::helpForActiveSourcePanel()
{
    showHelp(QStringLiteral("helpForActiveSourcePanel"));
}

void SourcesAddModDel::helpForNotesFormat()
{
    showHelp(QStringLiteral("helpForSourceNotesFormat"));
}

void SourcesAddModDel::helpForSourcePictures()
{
    showHelp(QStringLiteral("helpForSourcePictures"));
}

void SourcesAddModDel::helpForSourceTypes()
{
    Utils::displayMsgWithTitle(LH(QStringLiteral("helpForSourceTypeTitle")), LH(QStringLiteral("helpForSourceType")));
}

void SourcesAddModDel::mouseDownInHeaderOfTableColumn(QTableView* table, int /*column*/)
{
    endEditing();
    if (table == m_whereUsedTable && m_whereUsed->rowCount() > kBusyRowCount) {
        m_sortProgressIndicator->show();
        m_sortProgressIndicator->repaint();
    }
}

void SourcesAddModDel::didClickTableColumn(int /*column*/)
{
    m_sortProgressIndicator->hide();
    if (m_whereUsed->rowCount() > 0)
        m_whereUsedTable->selectRow(0);
}

void SourcesAddModDel::closeSheet()
{
    if (m_closing)
        return;
    m_closing = true;
    UserDefaults& defaults = UserDefaults::standard();
    defaults.setString(kFrameName, QString::fromLatin1(saveGeometry().toBase64()));
    defaults.setString(kTableName, QString::fromLatin1(m_tv->horizontalHeader()->saveState().toBase64()));
    const QList<int> sizes = m_splitView->sizes();
    const int width = m_splitView->width();
    if (width > 0 && !sizes.isEmpty()) {
        const double percent = double(sizes.first()) / width;
        if (std::abs(percent - g_splitViewPercent) > 0.01)
            g_splitViewPercent = percent;
    }
    endEditing();
    m_moc->saveMoc();
    done(0);
}

void SourcesAddModDel::reject()
{
    closeSheet();
}
