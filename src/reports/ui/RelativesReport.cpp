#include "reports/ui/RelativesReport.h"

#include "reports/ui/PanelSheet.h"
#include "reports/ui/PeopleListModel.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/RelativesHierarchy.h"

#include "shell/Utils.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/store/ReleasingWalk.h"
#include "platform/store/TextMatch.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
int yearOf(const FTEvent* event)
{
    return event ? event->year() : 0;
}
}

RelativesReport::RelativesReport(FTMoc* moc, FTPerson* sourcePerson, FTPerson* targetPerson, QWidget* parent)
    : QDialog(parent)
    , m_moc(moc)
    , m_path(sourcePerson, targetPerson)
{
    setUpPanelSheet(this, L("RRWindowTitle"));
    auto* layout = new QVBoxLayout(this);

    m_message = new QLabel(this);
    m_message->setWordWrap(true);
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_message->setMinimumHeight(m_message->fontMetrics().lineSpacing() * 3);
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(m_message);
    m_progress = newSheetProgressBar(this);
    m_progress->setFixedSize(160, 10);

    m_chain = new QTableWidget(0, 2, this);
    m_chain->setHorizontalHeaderLabels({L("RRPathColumn"), L("RRPersonColumn")});
    m_chain->verticalHeader()->hide();
    m_chain->horizontalHeader()->setStretchLastSection(true);
    m_chain->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_chain->setSelectionMode(QAbstractItemView::NoSelection);
    m_chain->setColumnWidth(0, 200);
    m_chain->verticalHeader()->setDefaultSectionSize(m_chain->fontMetrics().height() + 8);
    layout->addWidget(m_chain, 2);

    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(new QLabel(L("RRFamilyNameFilter"), this));
    m_filter = new QLineEdit(this);
    m_filter->setClearButtonEnabled(true);
    connect(m_filter, &QLineEdit::textChanged, this, &RelativesReport::changeFamilyNameFilter);
    filterRow->addWidget(m_filter, 1);
    layout->addLayout(filterRow);

    // The database's people by name, then birth and death year.
    m_sortedPeople = moc->fetch<FTPerson>();
    struct Row {
        FTPerson* person;
        QString name;
        int born, died;
    };
    std::vector<Row> rows;
    rows.reserve(size_t(m_sortedPeople.size()));
    {
        ReleasingWalk walk(*moc);
        for (FTPerson* p : std::as_const(m_sortedPeople)) {
            walk.releasePoint();
            rows.push_back({p, p->name(), yearOf(p->birth()), yearOf(p->death())});
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        if (const int c = a.name.compare(b.name))
            return c < 0;
        return a.born != b.born ? a.born < b.born : a.died < b.died;
    });
    for (size_t i = 0; i < rows.size(); ++i)
        m_sortedPeople[qsizetype(i)] = rows[i].person;

    m_people = new PeopleListModel(this);
    m_people->setPeople(m_sortedPeople);
    m_peopleTable = new QTableView(this);
    m_peopleTable->setModel(m_people);
    m_peopleTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_peopleTable->setSelectionMode(QAbstractItemView::SingleSelection);
    m_peopleTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_peopleTable->verticalHeader()->hide();
    m_peopleTable->horizontalHeader()->setStretchLastSection(true);
    m_peopleTable->setColumnWidth(0, 300);
    m_peopleTable->setColumnWidth(1, 160);
    m_peopleTable->setWordWrap(false);
    m_peopleTable->verticalHeader()->setDefaultSectionSize(m_peopleTable->fontMetrics().height() + 8);
    connect(m_peopleTable->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (m_selecting)
            return;
        if (FTPerson* person = chosenPerson())
            setTargetPerson(person);
    });
    layout->addWidget(m_peopleTable, 3);

    auto* buttons = new QHBoxLayout;
    auto* focal = new QPushButton(QIcon::fromTheme(QStringLiteral("go-home")), L("RRMakeFocal"), this);
    focal->setAutoDefault(false);
    connect(focal, &QPushButton::clicked, this, &RelativesReport::promoteToFocalPerson);
    buttons->addWidget(focal);
    buttons->addSpacing(12);
    buttons->addWidget(m_progress);
    buttons->addStretch();
    auto* close = new QPushButton(L("Close"), this);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(close);
    m_print = new QPushButton(QIcon::fromTheme(QStringLiteral("document-save")), L("RRWriteReport"), this);
    m_print->setDefault(true);
    connect(m_print, &QPushButton::clicked, this, [this] { print(); });
    buttons->addWidget(m_print);
    layout->addLayout(buttons);
    resize(720, 640);
}

RelativesReport::~RelativesReport() = default;

void RelativesReport::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_started)
        return;
    m_started = true;
    // The search starts once the sheet is on the screen.
    QTimer::singleShot(200, this, [this] { createPath(); });
}

QString RelativesReport::message() const
{
    return m_message->text();
}

FTPerson* RelativesReport::chosenPerson() const
{
    const QModelIndexList rows = m_peopleTable->selectionModel()->selectedRows();
    return rows.isEmpty() ? nullptr : m_people->people().value(rows.first().row());
}

void RelativesReport::selectInTable(FTPerson* person)
{
    const int row = int(m_people->people().indexOf(person));
    m_selecting = true;
    if (row >= 0) {
        m_peopleTable->selectRow(row);
        m_peopleTable->scrollTo(m_people->index(row, 0));
    } else {
        m_peopleTable->clearSelection();
    }
    m_selecting = false;
}

void RelativesReport::createPath()
{
    m_message->clear();
    selectInTable(m_path.targetPerson());
    m_path.createPath([this](int percent) {
        m_progress->setValue(percent);
        m_progress->repaint();
    });
    selectInTable(m_path.targetPerson());
    showChain();
    m_message->setText(m_path.message());
}

void RelativesReport::showChain()
{
    const QList<RelativesHierarchy*>& chain = m_path.pathArray();
    m_chain->setRowCount(int(chain.size()));
    for (int i = 0; i < chain.size(); ++i) {
        auto* link = new QTableWidgetItem(chain[i]->relationship());
        link->setForeground(chain[i]->displayColour());
        m_chain->setItem(i, 0, link);
        m_chain->setItem(i, 1, new QTableWidgetItem(chain[i]->person()->nameWithBirthAndDeathYears()));
    }
}

void RelativesReport::setTargetPerson(FTPerson* person)
{
    m_path.setTargetPerson(person);
    createPath();
}

void RelativesReport::promoteToFocalPerson()
{
    FTPerson* person = chosenPerson();
    if (!person) {
        Prompts::current().message(L("SelectPersonTryAgain"));
        return;
    }
    m_moc->setFocalPerson(person);
    m_path.setSourcePerson(person);
    createPath();
}

void RelativesReport::changeFamilyNameFilter(const QString& text)
{
    FTPerson* chosen = chosenPerson();
    const QString part = text.trimmed();
    if (part.isEmpty()) {
        m_people->setPeople(m_sortedPeople);
    } else {
        const QString folded = TextMatch::fold(part);
        QList<FTPerson*> kept;
        for (FTPerson* p : std::as_const(m_sortedPeople))
            if (TextMatch::fold(p->familyName()).contains(folded))
                kept.append(p);
        m_people->setPeople(kept);
    }
    selectInTable(chosen);
}

QString RelativesReport::print()
{
    FTPerson* person = chosenPerson();
    if (!person) {
        Prompts::current().message(L("SelectPersonTryAgain"));
        return {};
    }
    if (person != m_path.targetPerson())
        setTargetPerson(person);
    const QString path = m_path.writeReport();
    if (!path.isEmpty())
        Utils::displayFile(path, QStringLiteral("defaultRtfApp"));
    return path;
}
