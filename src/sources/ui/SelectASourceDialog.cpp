#include "sources/ui/SelectASourceDialog.h"

#include "sources/SourceListModel.h"
#include "sources/SourceSearch.h"
#include "sources/ui/SourcesWindowHelpers.h"

#include "model/FTSource.h"

#include "platform/Localizer.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {
QSize g_size;
constexpr int kFontSize = 11;

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

QSize SelectASourceDialog::rememberedSize()
{
    return g_size;
}

void SelectASourceDialog::setRememberedSize(const QSize& size)
{
    g_size = size;
}

SelectASourceDialog::SelectASourceDialog(FTMoc* moc, const QList<FTSource*>& sources, QWidget* parent)
    : QDialog(parent)
    , m_moc(moc)
{
    setObjectName(QStringLiteral("SelectASourceDialog"));
    setWindowTitle(L("SelectASourceTitle"));
    auto* layout = new QVBoxLayout(this);
    m_criteriaLabel = new QLabel;
    m_criteriaLabel->setObjectName(QStringLiteral("preselectionCriteria"));
    m_criteriaLabel->setWordWrap(true);
    layout->addWidget(m_criteriaLabel);

    m_searchField = new QLineEdit;
    m_searchField->setObjectName(QStringLiteral("searchField"));
    m_searchField->setClearButtonEnabled(true);
    connect(m_searchField, &QLineEdit::textChanged, this, [this] { changeSearchField(); });
    layout->addWidget(m_searchField);

    m_sources = new SourceListModel(moc, this);
    m_tv = SourcesWindowHelpers::makeListTable(QStringLiteral("tv"), m_sources, false, kFontSize);
    m_sources->setFont(m_tv->font());
    QHeaderView* header = m_tv->horizontalHeader();
    header->resizeSection(SourceListModel::NumberColumn, 60);
    header->resizeSection(SourceListModel::TypeColumn, 130);
    header->resizeSection(SourceListModel::TitleColumn, 300);
    header->setSectionResizeMode(SourceListModel::TitleColumn, QHeaderView::Stretch);
    connect(m_tv, &QTableView::doubleClicked, this, [this] { selectSource(); });
    layout->addWidget(m_tv, 1);

    auto* buttons = new QDialogButtonBox;
    QPushButton* choose = buttons->addButton(L("ChooseSourceButton"), QDialogButtonBox::AcceptRole);
    choose->setObjectName(QStringLiteral("chooseButton"));
    QPushButton* cancel = buttons->addButton(L("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("closeButton"));
    connect(choose, &QPushButton::clicked, this, [this] { selectSource(); });
    connect(cancel, &QPushButton::clicked, this, [this] { done(0); });
    layout->addWidget(buttons);

    SourcesWindowHelpers::usePanelColour(this);
    m_currentSearchMenuOption = SourceSearch::storedOptionTitle();
    m_searchMenu = SourcesWindowHelpers::makeSearchMenu(
        m_searchField, this, m_currentSearchMenuOption, [this](QAction* option) { limitSearch(option); });

    m_sources->setSourcesArray(sources);
    resize(g_size.width() > 0 ? g_size : QSize(720, 420));
    if (m_sources->rowCount() > 0)
        m_tv->selectRow(0);
}

SelectASourceDialog::~SelectASourceDialog() = default;

void SelectASourceDialog::setPreselectionCriteria(const QString& criteria)
{
    m_preselectionCriteria = criteria;
    m_criteriaLabel->setText(criteria);
}

void SelectASourceDialog::selectSource()
{
    const QModelIndexList rows = m_tv->selectionModel()->selectedRows();
    if (rows.size() == 1)
        m_selectedSource = m_sources->sourceAt(rows.first().row());
    done(1);
}

void SelectASourceDialog::changeSearchField()
{
    const QString text = m_searchField->text();
    if (text.isEmpty()) {
        m_sources->clearFilter();
        return;
    }
    m_sources->setFilter(SourceSearch::optionForTitle(m_currentSearchMenuOption), text);
    if (m_sources->rowCount() > 0)
        m_tv->selectRow(0);
}

void SelectASourceDialog::limitSearch(QAction* option)
{
    if (!option)
        return;
    m_currentSearchMenuOption = SourcesWindowHelpers::chooseSearchOption(m_searchMenu, m_searchField, option);
    changeSearchField();
    if (m_sources->rowCount() > 0)
        m_tv->selectRow(0);
}

void SelectASourceDialog::done(int result)
{
    g_size = size();
    QDialog::done(result);
}
