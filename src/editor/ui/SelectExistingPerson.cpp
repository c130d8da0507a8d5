#include "editor/ui/SelectExistingPerson.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QAbstractListModel>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

// The people shown, by name with years. (Named apart from the reports' list model: both live in the program.)
class ExistingPeopleListModel : public QAbstractListModel {
public:
    explicit ExistingPeopleListModel(const PersonNameFilter& people, QObject* parent)
        : QAbstractListModel(parent)
        , m_people(people)
    {
    }
    void changed()
    {
        beginResetModel();
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_people.shown().size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || index.row() < 0 || index.row() >= m_people.shown().size())
            return {};
        const FTPerson* p = m_people.shown()[index.row()];
        return p->isDeleted() ? QString() : p->nameWithBirthAndDeathYears();
    }

private:
    const PersonNameFilter& m_people;
};

namespace {
QSize g_keptSize;
}

SelectExistingPerson::SelectExistingPerson(FTMoc* moc, QWidget* parent)
    : RelationshipDialog(parent)
    , m_moc(moc)
{
    setObjectName(QStringLiteral("SelectExistingPerson"));
    setWindowTitle(LocalizedString("SelectExistingTitle"));
    if (moc)
        m_people.setPeople(moc->fetch<FTPerson>());
    m_model = new ExistingPeopleListModel(m_people, this);

    auto* caption = new QLabel(LocalizedString("SelectExistingCaption"));
    m_filterField = new QLineEdit;
    m_filterField->setObjectName(QStringLiteral("filterString"));
    m_filterField->setClearButtonEnabled(true);
    QFont font = m_filterField->font();
    font.setPointSize(12);
    m_filterField->setFont(font);
    connect(m_filterField, &QLineEdit::textChanged, this, [this] { setFilter(); });

    m_list = new QListView;
    m_list->setObjectName(QStringLiteral("people"));
    m_list->setUniformItemSizes(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setAlternatingRowColors(true);
    m_list->setFont(font);
    m_list->setModel(m_model);
    connect(m_list, &QListView::doubleClicked, this, [this] { done(QDialog::Accepted); });
    m_count = new QLabel;
    m_count->setObjectName(QStringLiteral("count"));

    QPushButton* cancel = makeButton("", "Cancel", QStringLiteral("cancelButton"), [this] { this->cancel(); });
    QPushButton* select = makeButton("", "Select", QStringLiteral("selectButton"), [this] { done(QDialog::Accepted); });
    select->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_count);
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(select);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(m_filterField);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    resize(460, 520);
    keepSizeIn(&g_keptSize);
    setFilter();
}

SelectExistingPerson::~SelectExistingPerson() = default;

void SelectExistingPerson::setFilter()
{
    if (m_people.setFilterString(m_filterField->text()))
        m_model->changed();
    m_count->setText(LocalizedString("SelectExistingCount").arg(m_people.shown().size()).arg(m_people.totalCount()));
    if (!m_people.shown().isEmpty() && !m_list->currentIndex().isValid())
        m_list->setCurrentIndex(m_model->index(0, 0));
}

void SelectExistingPerson::selectRow(int row)
{
    m_list->setCurrentIndex(m_model->index(row, 0));
}

void SelectExistingPerson::cancel()
{
    m_cancelled = true;
    done(QDialog::Rejected);
}

void SelectExistingPerson::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cancel();
        return;
    }
    RelationshipDialog::keyPressEvent(event);
}

bool SelectExistingPerson::windowShouldClose()
{
    // An empty list or no selection hands back nobody.
    const QModelIndex current = m_list->selectionModel() ? m_list->currentIndex() : QModelIndex();
    const int row = current.isValid() && m_list->selectionModel()->isSelected(current) ? current.row() : -1;
    FTPerson* chosen = row >= 0 && row < m_people.shown().size() ? m_people.shown()[row] : nullptr;
    m_selectedPerson = m_cancelled || !chosen || chosen->isDeleted() ? nullptr : chosen;
    return true;
}
