#include "editor/ui/AttachPersonDialog.h"


#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QAbstractListModel>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSplitter>
#include <QVBoxLayout>

// The candidates by name with their years; thousands of them are shown without a widget each.
class AttachPersonDialog::CandidatesModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;
    void setPeople(const QList<FTPerson*>& people)
    {
        beginResetModel();
        m_people = people;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(m_people.size()); }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || index.row() < 0 || index.row() >= m_people.size())
            return {};
        return m_people[index.row()]->nameWithBirthAndDeathYears();
    }

private:
    QList<FTPerson*> m_people;
};

AttachPersonDialog::AttachPersonDialog(const Setup& setup, QWidget* parent)
    : RelationshipDialog(parent)
    , m_model(new CandidatesModel(this))
    , m_range(setup.range)
    , m_minimum(setup.minimum)
    , m_maximum(setup.maximum)
{
    setWindowTitle(setup.title);
    auto* choices = new QHBoxLayout;
    if (!setup.firstGender.isEmpty()) {
        auto* group = new QButtonGroup(this);
        m_first = new QRadioButton(setup.firstGender);
        m_first->setObjectName(QStringLiteral("firstGender"));
        m_second = new QRadioButton(setup.secondGender);
        m_second->setObjectName(QStringLiteral("secondGender"));
        group->addButton(m_first, 0);
        group->addButton(m_second, 1);
        m_first->setChecked(true);
        connect(group, &QButtonGroup::idClicked, this, [this](int id) {
            m_firstGender = id == 0;
            rebuild();
        });
        choices->addWidget(m_first);
        choices->addWidget(m_second);
        choices->addSpacing(16);
    }
    auto ageField = [this](const char* name, int value, AttachCandidates::AgeField field) {
        auto* edit = new QLineEdit(QString::number(value));
        edit->setObjectName(QString::fromLatin1(name));
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), edit));
        edit->setAlignment(Qt::AlignRight);
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 14);
        connect(edit, &QLineEdit::editingFinished, this, [this, edit, field] { setAgeText(field, edit->text()); });
        return edit;
    };
    auto* caption = new QLabel(setup.agesCaption);
    choices->addWidget(caption);
    if (m_range) {
        m_minimumField = ageField("ageRange", m_minimum, AttachCandidates::AgeField::Range);
        choices->addWidget(m_minimumField);
    } else {
        m_minimumField = ageField("minimumAge", m_minimum, AttachCandidates::AgeField::Minimum);
        m_maximumField = ageField("maximumAge", m_maximum, AttachCandidates::AgeField::Maximum);
        choices->addWidget(m_minimumField);
        choices->addWidget(new QLabel(LocalizedString(QStringLiteral("AttachAgesTo"))));
        choices->addWidget(m_maximumField);
    }
    choices->addStretch();

    m_tv = new QListView;
    m_tv->setObjectName(QStringLiteral("tv"));
    m_tv->setModel(m_model);
    m_tv->setUniformItemSizes(true);
    m_tv->setAlternatingRowColors(true);
    connect(m_tv->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { showDetails(); });
    m_details = new QPlainTextEdit;
    m_details->setObjectName(QStringLiteral("details"));
    m_details->setReadOnly(true);
    auto* list = new QWidget;
    auto* listLayout = new QVBoxLayout(list);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->addWidget(new QLabel(LocalizedString(QStringLiteral("AttachCandidates"))));
    listLayout->addWidget(m_tv);
    auto* split = new QSplitter;
    split->setChildrenCollapsible(false);
    split->addWidget(list);
    split->addWidget(m_details);
    split->setSizes({ 300, 300 });

    m_attach = makeButton("insert-link", "AttachButton", QStringLiteral("attachButton"), [this] { attachSelected(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(makeCloseButton());
    buttons->addWidget(m_attach);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);
    resize(680, 460);
}

AttachPersonDialog::~AttachPersonDialog() = default;

const AttachCandidates& AttachPersonDialog::people(const FTPerson* person)
{
    if (!m_people)
        m_people = std::make_unique<AttachCandidates>(person ? person->moc() : nullptr);
    return *m_people;
}

FTPerson* AttachPersonDialog::selectedCandidate() const
{
    const QModelIndexList rows = m_tv->selectionModel()->selectedRows();
    if (rows.size() != 1 || rows.first().row() >= m_candidates.size())
        return nullptr;
    return m_candidates[rows.first().row()];
}

void AttachPersonDialog::selectCandidate(const FTPerson* person)
{
    const int row = int(m_candidates.indexOf(const_cast<FTPerson*>(person)));
    if (row >= 0)
        m_tv->setCurrentIndex(m_model->index(row));
    else
        m_tv->clearSelection();
}

QString AttachPersonDialog::detailsText() const
{
    return m_details->toPlainText();
}

QLineEdit* AttachPersonDialog::ageField(AttachCandidates::AgeField field) const
{
    return field == AttachCandidates::AgeField::Maximum ? m_maximumField : m_minimumField;
}

QAbstractButton* AttachPersonDialog::genderButton(bool first) const
{
    return first ? m_first : m_second;
}

void AttachPersonDialog::setAgeText(AttachCandidates::AgeField field, const QString& typed)
{
    const int value = AttachCandidates::ageForText(field, typed);
    QLineEdit* edit = ageField(field);
    if (edit && edit->text() != QString::number(value))
        edit->setText(QString::number(value));
    int& stored = field == AttachCandidates::AgeField::Maximum ? m_maximum : m_minimum;
    if (stored == value)
        return;
    stored = value;
    rebuild();
}

void AttachPersonDialog::rebuild()
{
    m_candidates = loadCandidates();
    m_model->setPeople(m_candidates);
    showDetails();
    candidatesLoaded();
}

void AttachPersonDialog::showDetails()
{
    const FTPerson* candidate = selectedCandidate();
    m_details->setPlainText(candidate ? detailsFor(candidate) : QString());
}

void AttachPersonDialog::attachSelected()
{
    if (attach(selectedCandidate()))
        done(QDialog::Accepted);
}
