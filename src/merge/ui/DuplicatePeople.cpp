#include "merge/ui/DuplicatePeople.h"

#include "sources/ui/SourcesWindowHelpers.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"
#include "shell/ui/ThemeIcon.h"
#include "shell/ui/WindowProgress.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"
#include "platform/store/TextMatch.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int kFontSize = 12;

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

// The sheet's last size, for the next one in this run of the program.
QSize gLastContentSize;

int yearOf(const FTEvent* e)
{
    return e ? e->year() : 0;
}
}

class DuplicatePeople::PeopleModel : public QAbstractTableModel {
public:
    enum Column { Id, Name, Born, Died, Father, Mother, Spouses, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;
    void setPeople(const QList<FTPerson*>& people)
    {
        beginResetModel();
        m_people = people;
        endResetModel();
    }
    const QList<FTPerson*>& people() const { return m_people; }
    FTPerson* personAt(int row) const { return m_people.value(row); }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(m_people.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : ColumnCount; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        const FTPerson* p = personAt(index.row());
        if (!p)
            return {};
        if (role == Qt::TextAlignmentRole && (index.column() == Id || index.column() == Born || index.column() == Died))
            return int(Qt::AlignRight | Qt::AlignVCenter);
        if (role != Qt::DisplayRole)
            return {};
        auto year = [](int y) { return y ? QVariant(y) : QVariant(); };
        switch (index.column()) {
        case Id:
            return p->numericId();
        case Name:
            return p->name();
        case Born:
            return year(yearOf(p->birth()));
        case Died:
            return year(yearOf(p->death()));
        case Father:
            return p->naturalFathersNameWithBirthAndDeathYears();
        case Mother:
            return p->naturalMothersNameWithBirthAndDeathYears();
        case Spouses:
            return p->spousesString();
        default:
            return {};
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        static const char* const keys[] = {"DupColumnId", "Name", "DupColumnBirth", "DupColumnDeath", "Father",
                                           "Mother", "DupColumnSpouses"};
        return section >= 0 && section < ColumnCount ? L(keys[section]) : QString();
    }

private:
    QList<FTPerson*> m_people;
};

DuplicatePeople::DuplicatePeople(FTMoc* moc, QWidget* parent)
    : QDialog(parent)
    , m_moc(moc)
    , m_search(moc)
{
    setObjectName(QStringLiteral("DuplicatePeople"));
    setWindowTitle(L("DuplicatePeopleTitle"));
    buildWindow();
    SourcesWindowHelpers::usePanelColour(this);
    resize(gLastContentSize.isValid() ? gLastContentSize : QSize(900, 560));
    // The first search runs once the sheet shows.
    QTimer::singleShot(400, this, [this] { findDuplicates(); });
}

DuplicatePeople::~DuplicatePeople() = default;

void DuplicatePeople::buildWindow()
{
    auto* layout = new QVBoxLayout(this);

    layout->addWidget(new QLabel(L("DupCriteria"), this));
    auto* criteria = new QGridLayout;
    const char* const titles[] = {"DupSameName", "DupSameBirthYear", "DupSameDeathYear",
                                  "DupSameFather", "DupSameMother", "DupSameSpouses"};
    for (int i = 0; i < 6; ++i) {
        m_criteria[i] = new QCheckBox(L(titles[i]), this);
        m_criteria[i]->setObjectName(QString::fromLatin1(titles[i]));
        criteria->addWidget(m_criteria[i], i % 3, i / 3);
    }
    m_criteria[0]->setChecked(true);
    criteria->setColumnStretch(2, 1);
    layout->addLayout(criteria);

    auto* searchRow = new QHBoxLayout;
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("nameFilter"));
    m_filter->setPlaceholderText(L("DupFilter"));
    m_filter->setClearButtonEnabled(true);
    m_filter->addAction(themeIcon(QStringLiteral("edit-find")), QLineEdit::LeadingPosition);
    connect(m_filter, &QLineEdit::textChanged, this, &DuplicatePeople::setNameFilter);
    searchRow->addWidget(m_filter, 1);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("count"));
    searchRow->addWidget(m_count);
    layout->addLayout(searchRow);

    m_model = new PeopleModel(this);
    m_tv = SourcesWindowHelpers::makeListTable(QStringLiteral("tv"), m_model, false, kFontSize);
    m_tv->setParent(this);
    QHeaderView* header = m_tv->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setStretchLastSection(true);
    const int widths[] = {60, 220, 56, 56, 180, 180};
    for (int i = 0; i < 6; ++i)
        m_tv->setColumnWidth(i, widths[i]);
    connect(m_tv, &QTableView::doubleClicked, this, [this] { promoteToFocalPerson(); });
    layout->addWidget(m_tv, 1);

    m_progressIndicator = new QProgressBar(this);
    m_progressIndicator->setRange(0, 100);
    m_progressIndicator->setTextVisible(false);
    m_progressIndicator->setMaximumHeight(8);
    // Shown while a search or the listing runs.
    m_progressIndicator->setVisible(false);
    layout->addWidget(m_progressIndicator);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SourcesWindowHelpers::makeButton(QStringLiteral("makeFocal"), L("DupMakeFocal"),
                                                        [this] { promoteToFocalPerson(); }, QStringLiteral("go-home")));
    buttons->addWidget(SourcesWindowHelpers::makeButton(QStringLiteral("print"), L("DupSaveCsv"), [this] { print(); },
                                                        QStringLiteral("document-save")));
    buttons->addStretch(1);
    buttons->addWidget(SourcesWindowHelpers::makeButton(QStringLiteral("find"), L("DupFind"),
                                                        [this] { findDuplicates(); }, QStringLiteral("edit-find")));
    QPushButton* closeButton = SourcesWindowHelpers::makeCloseButton([this] { done(0); });
    buttons->addWidget(closeButton);
    layout->addLayout(buttons);
}

DuplicatePeopleSearch::Criteria DuplicatePeople::criteria() const
{
    DuplicatePeopleSearch::Criteria c;
    bool* fields[] = {&c.bName, &c.bBirthYear, &c.bDeathYear, &c.bFathersName, &c.bMothersName, &c.bSpouses};
    for (int i = 0; i < 6; ++i)
        *fields[i] = m_criteria[i]->isChecked();
    return c;
}

void DuplicatePeople::findDuplicates()
{
    DuplicatePeopleSearch::Criteria c = criteria();
    WindowProgress progress(nullptr, m_progressIndicator);
    m_progressIndicator->show();
    m_peopleArray = m_search.findDuplicates(c, &progress);
    m_progressIndicator->hide();
    // The boxes follow the criteria the search used.
    const bool used[] = {c.bName, c.bBirthYear, c.bDeathYear, c.bFathersName, c.bMothersName, c.bSpouses};
    for (int i = 0; i < 6; ++i)
        m_criteria[i]->setChecked(used[i]);
    rearrangeObjects();
}

void DuplicatePeople::setNameFilter(const QString& text)
{
    QString t = text;
    m_nameFilter = TrimString(&t);
    rearrangeObjects();
}

void DuplicatePeople::rearrangeObjects()
{
    if (m_nameFilter.isEmpty()) {
        m_model->setPeople(m_peopleArray);
    } else {
        QList<FTPerson*> shown;
        for (FTPerson* p : std::as_const(m_peopleArray))
            if (TextMatch::contains(p->name(), m_nameFilter))
                shown << p;
        m_model->setPeople(shown);
    }
    m_count->setText(L("DupCount").arg(m_model->rowCount()));
}

QList<FTPerson*> DuplicatePeople::arrangedObjects() const
{
    return m_model->people();
}

void DuplicatePeople::promoteToFocalPerson()
{
    const QModelIndexList rows = m_tv->selectionModel()->selectedRows();
    FTPerson* person = rows.isEmpty() ? nullptr : m_model->personAt(rows.first().row());
    if (!person) {
        DisplayMsg(L("SelectPersonTryAgain"));
        return;
    }
    m_moc->setFocalPerson(person);
}

void DuplicatePeople::print()
{
    WindowProgress progress(nullptr, m_progressIndicator);
    m_progressIndicator->show();
    QString path;
    const bool written = DuplicatePeopleSearch::writeCsv(arrangedObjects(), m_moc->modelName(), &progress, &path);
    if (!path.isEmpty())
        m_outputFilePath = path;
    if (written)
        Utils::displayFile(path, QString());
    m_progressIndicator->setValue(0);
    m_progressIndicator->hide();
}

void DuplicatePeople::done(int result)
{
    gLastContentSize = size();
    QDialog::done(result);
}
