#include "reports/ui/IndexOfPeople.h"

#include "reports/PeopleIndexCsv.h"
#include "reports/ui/PanelSheet.h"
#include "reports/ui/PeopleIndexCsvOptions.h"
#include "reports/ui/PeopleIndexTableModel.h"
#include "reports/ui/RelativesReport.h"

#include "editor/ui/NotesDialog.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "shell/Utils.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/WindowProgress.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

const QString kAlwaysOnTop = QStringLiteral("peopleIndexAlwaysOnTop");
const QString kFrame = QStringLiteral("peopleIndexFrame");
const QString kChangedAlwaysOnTop = QStringLiteral("ChangedAlwaysOnTop");
const QString kClosed = QStringLiteral("PeopleIndexClosed");

QHash<const DOvurDocument*, IndexOfPeople*>& registry()
{
    static QHash<const DOvurDocument*, IndexOfPeople*> indexes;
    return indexes;
}

// The index the reports library keeps for each document is let go when it says it closed.
void releaseOnClose()
{
    static bool observing = false;
    if (observing)
        return;
    observing = true;
    NotificationCenter::defaultCenter().addObserver(kClosed, nullptr, [](const Notification& n) {
        auto& indexes = registry();
        for (auto it = indexes.begin(); it != indexes.end(); ++it) {
            if (it.value() == n.object) {
                indexes.erase(it);
                break;
            }
        }
    });
}

QToolButton* helpButton(QWidget* parent)
{
    auto* help = new QToolButton(parent);
    help->setIcon(QIcon::fromTheme(QStringLiteral("help-browser")));
    help->setAutoRaise(true);
    return help;
}
}

IndexOfPeople* IndexOfPeople::indexOf(const DOvurDocument* document)
{
    return registry().value(document);
}

IndexOfPeople* IndexOfPeople::peopleIndexWindow(DOvurDocument* document)
{
    if (!document || !document->moc() || !document->dovurWindow())
        return nullptr;
    releaseOnClose();
    IndexOfPeople* index = indexOf(document);
    if (!index) {
        index = new IndexOfPeople(document->moc(), document);
        registry().insert(document, index);
        QObject::connect(document, &DOvurDocument::closing, index, [index] { index->close(); });
    }
    index->show();
    index->raise();
    index->activateWindow();
    return index;
}

IndexOfPeople::IndexOfPeople(FTMoc* moc, DOvurDocument* document)
    : QWidget(nullptr, Qt::Window)
    , m_moc(moc)
    , m_ownerDoc(document)
    , m_index(moc)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setUpPanelSheet(this, L("PIWindowTitle"));
    buildWindow();
    m_index.populateFamilyNames();

    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(QStringLiteral("PersonToBeDeleted"), nullptr,
        [this](const Notification& n) { personToBeDeleted(n); }, this);
    center.addObserver(kChangedAlwaysOnTop, nullptr, [this](const Notification&) {
        const bool onTop = UserDefaults::standard().boolForKey(kAlwaysOnTop);
        const QSignalBlocker block(m_alwaysOnTop);
        m_alwaysOnTop->setChecked(onTop);
        applyAlwaysOnTop();
    }, this);
    for (const char* name : {"PersonNameOrDateChanged", "NotesOrCommentsChanged"})
        center.addObserver(QString::fromLatin1(name), nullptr,
            [this](const Notification& n) { personNameOrDateChanged(n); }, this);
    // Whichever database changed, the index starts again from everybody.
    center.addObserver(QStringLiteral("RefreshAllViews"), nullptr, [this](const Notification&) { refresh(); }, this);
    m_moc->addObserver(QStringLiteral("modelDefaults.selectedPerson"), this,
        [this](const KeyPathChange&) { consanguinityWithFocalPerson(); });
    // The kinship filter counts from the focal person.
    m_moc->addObserver(QStringLiteral("modelDefaults.focalPerson"), this, [this](const KeyPathChange&) {
        changeFilter();
    });

    restoreFrame();
    refresh();
    {
        const QSignalBlocker block(m_alwaysOnTop);
        m_alwaysOnTop->setChecked(UserDefaults::standard().boolForKey(kAlwaysOnTop));
    }
    applyAlwaysOnTop();
}

IndexOfPeople::~IndexOfPeople()
{
    FTLog(QStringLiteral("dealloc peopleIndex"));
    detach();
    for (auto it = registry().begin(); it != registry().end(); ++it) {
        if (it.value() == this) {
            registry().erase(it);
            break;
        }
    }
}

void IndexOfPeople::detach()
{
    NotificationCenter::defaultCenter().removeObserversOf(this);
    if (m_moc)
        m_moc->removeObserversOf(this);
}

void IndexOfPeople::buildWindow()
{
    auto* outer = new QVBoxLayout(this);

    // The filter fields, two rows of labelled fields.
    auto* filters = new QGridLayout;
    const auto addField = [this, filters](FilterField field, const char* label, int row, int column,
                              const QString& hint = {}) {
        auto* edit = new QLineEdit(this);
        edit->setClearButtonEnabled(true);
        if (!hint.isEmpty()) {
            edit->setPlaceholderText(hint);
            edit->setToolTip(hint);
        }
        m_fields[field] = edit;
        filters->addWidget(new QLabel(L(label), this), row, column * 2, Qt::AlignRight);
        filters->addWidget(edit, row, column * 2 + 1);
        connect(edit, &QLineEdit::textEdited, this, [this] { changeFilter(); });
    };
    addField(FamilyNameFilter, "PIFamilyName", 0, 0, L("PIFilterHint"));
    addField(GivenNamesFilter, "PIGivenNames", 0, 1);
    addField(IdFilter, "PINumber", 0, 2);
    addField(BirthYearFilter, "PIBorn", 1, 0, L("PIYearHint"));
    addField(DeathYearFilter, "PIDied", 1, 1, L("PIYearHint"));
    addField(TitleFilter, "PITitle", 1, 2);
    addField(SpousesNameFilter, "PISpousesName", 2, 0);
    m_fields[IdFilter]->setMaximumWidth(80);

    auto* kinshipRow = new QHBoxLayout;
    m_kinship = new QSpinBox(this);
    m_kinship->setRange(0, 99);
    m_kinship->setToolTip(L("PIKinshipHelp"));
    connect(m_kinship, &QSpinBox::valueChanged, this, [this] { changeFilter(); });
    auto* kinshipHelp = helpButton(this);
    connect(kinshipHelp, &QToolButton::clicked, this,
        [] { Prompts::current().message(L("Kinship"), L("PIKinshipHelp")); });
    kinshipRow->addWidget(m_kinship);
    kinshipRow->addWidget(kinshipHelp);
    kinshipRow->addStretch();
    filters->addWidget(new QLabel(L("PIKinship"), this), 2, 2, Qt::AlignRight);
    filters->addLayout(kinshipRow, 2, 3);
    m_onlyWithSources = new QCheckBox(L("PIOnlyWithSources"), this);
    connect(m_onlyWithSources, &QCheckBox::toggled, this, [this] { changeFilter(); });
    filters->addWidget(m_onlyWithSources, 2, 4, 1, 2);
    filters->setColumnStretch(1, 3);
    filters->setColumnStretch(3, 2);
    filters->setColumnStretch(5, 1);
    outer->addLayout(filters);

    // The table and, beside it, the selected person's details and relationship.
    auto* split = new QSplitter(Qt::Horizontal, this);
    m_table = new QTableView(split);
    m_tableModel = new PeopleIndexTableModel(this);
    m_table->setModel(m_tableModel);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(gDevelopmentVersion ? QAbstractItemView::ExtendedSelection
                                                  : QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->horizontalHeader()->setHighlightSections(false);
    m_table->setWordWrap(false);
    const int widths[PeopleIndexTableModel::ColumnCount] = {52, 130, 170, 56, 52, 52, 80};
    for (int c = 0; c < PeopleIndexTableModel::ColumnCount; ++c)
        m_table->setColumnWidth(c, widths[c]);
    connect(m_table, &QTableView::doubleClicked, this, [this] { promoteToFocalPerson(); });
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        [this] { consanguinityWithFocalPerson(); });
    connect(m_table->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        if (section == PeopleIndexTableModel::FamilyName)
            sortByFamilyName();
    });

    auto* side = new QWidget(split);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    m_details = new QTextBrowser(side);
    m_details->document()->setDocumentMargin(5);
    sideLayout->addWidget(m_details, 1);
    auto* relationRow = new QHBoxLayout;
    m_showRelationship = new QCheckBox(L("PIShowRelationship"), side);
    m_showRelationship->setChecked(true);
    connect(m_showRelationship, &QCheckBox::toggled, this, [this] { consanguinityWithFocalPerson(); });
    relationRow->addWidget(m_showRelationship);
    relationRow->addStretch();
    sideLayout->addLayout(relationRow);
    m_relationshipLabel = new QLabel(side);
    m_relationshipLabel->setWordWrap(true);
    m_relationshipLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    sideLayout->addWidget(m_relationshipLabel);
    auto* ancestorRow = new QHBoxLayout;
    m_ancestorLabel = new QLabel(side);
    m_ancestorLabel->setWordWrap(true);
    auto* ancestorHelp = helpButton(side);
    connect(ancestorHelp, &QToolButton::clicked, this, [] {
        Prompts::current().message(LocalizedHelpString(QStringLiteral("CommonAncestorTitle")),
            LocalizedHelpString(QStringLiteral("CommonAncestorText")));
    });
    ancestorRow->addWidget(m_ancestorLabel, 1);
    ancestorRow->addWidget(ancestorHelp, 0, Qt::AlignTop);
    sideLayout->addLayout(ancestorRow);
    split->addWidget(m_table);
    split->addWidget(side);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    split->setSizes({560, 320});
    outer->addWidget(split, 1);

    // The commands.
    auto* commands = new QHBoxLayout;
    const auto addButton = [this, commands](const char* key, const char* icon, void (IndexOfPeople::*action)()) {
        auto* b = new QPushButton(L(key), this);
        if (icon)
            b->setIcon(QIcon::fromTheme(QString::fromLatin1(icon)));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, action);
        commands->addWidget(b);
        m_buttons.insert(QString::fromLatin1(key), b);
    };
    addButton("PIMakeFocal", "go-home", &IndexOfPeople::promoteToFocalPerson);
    addButton("PINotes", "accessories-text-editor", &IndexOfPeople::editNotes);
    addButton("PIRelationshipPath", "system-users", &IndexOfPeople::relationshipToFocalPerson);
    addButton("PISort", "view-sort-ascending", &IndexOfPeople::sortByFamilyName);
    addButton("PIDuplicates", "edit-find", &IndexOfPeople::showDuplicates);
    addButton("PIShowAll", "view-refresh", &IndexOfPeople::refresh);
    addButton("PICsv", "x-office-spreadsheet", &IndexOfPeople::print);
    if (gDevelopmentVersion) {
        addButton("PIAppendQuestionMark", nullptr, &IndexOfPeople::appendQuestionMark);
        addButton("PITidyNames", nullptr, &IndexOfPeople::changeHyphenSpaceToHyphen);
    }
    commands->addStretch();
    auto* help = helpButton(this);
    connect(help, &QToolButton::clicked, this, [] {
        Prompts::current().showMe(LocalizedHelpString(QStringLiteral("helpForPeopleIndexTitle")),
            LocalizedHelpString(QStringLiteral("helpForPeopleIndex")));
    });
    commands->addWidget(help);
    outer->addLayout(commands);

    // The count, the progress of a long filter or listing, the size and placement switches.
    auto* status = new QHBoxLayout;
    m_count = new QLabel(this);
    status->addWidget(m_count);
    m_progress = newSheetProgressBar(this);
    m_progress->setFixedSize(160, 10);
    status->addWidget(m_progress);
    status->addStretch();
    m_alwaysOnTop = new QCheckBox(L("PIAlwaysOnTop"), this);
    connect(m_alwaysOnTop, &QCheckBox::toggled, this, [this](bool on) { changeAlwaysOnTop(on); });
    status->addWidget(m_alwaysOnTop);
    status->addWidget(new QLabel(L("PIFontSize"), this));
    m_fontSize = new QSpinBox(this);
    m_fontSize->setRange(8, 24);
    m_fontSize->setValue(11);
    connect(m_fontSize, &QSpinBox::valueChanged, this, [this](int points) { setFontSize(points); });
    status->addWidget(m_fontSize);
    outer->addLayout(status);

    setFontSize(11);
    resize(900, 560);
}

void IndexOfPeople::setFontSize(int points)
{
    QFont font = m_table->font();
    font.setPointSize(points);
    m_tableModel->setFont(font);
    m_table->verticalHeader()->setDefaultSectionSize(int(points * 1.5) + 6);
    QFont details = m_details->font();
    details.setPointSizeF(points + 0.5);
    m_details->setFont(details);
}

QString IndexOfPeople::rectString(const QRect& r)
{
    return QStringLiteral("{{%1, %2}, {%3, %4}}").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QRect IndexOfPeople::rectFromString(const QString& text)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*\{\s*\{\s*(-?\d+)\s*,\s*(-?\d+)\s*\}\s*,\s*\{\s*(\d+)\s*,\s*(\d+)\s*\}\s*\}\s*$)"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return {};
    return QRect(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
}

QRect IndexOfPeople::placedFrame(const QRect& kept, const QRect& main)
{
    if (kept.intersects(main))
        return kept;
    QRect placed = kept;
    placed.moveTopLeft(QPoint(main.x() + (main.width() - kept.width()) / 2, main.y() + (main.height() - kept.height()) / 2));
    return placed;
}

void IndexOfPeople::restoreFrame()
{
    const QRect kept = rectFromString(UserDefaults::standard().stringForKey(kFrame));
    if (kept.width() == 0)
        return;
    const QMainWindow* main = m_ownerDoc ? m_ownerDoc->dovurWindow() : nullptr;
    setGeometry(main ? placedFrame(kept, main->frameGeometry()) : kept);
}

void IndexOfPeople::applyAlwaysOnTop()
{
    QMainWindow* main = m_ownerDoc ? m_ownerDoc->dovurWindow() : nullptr;
    const bool attach = m_alwaysOnTop->isChecked() && main;
    if (attach == m_attached && (attach ? parentWidget() == main : !parentWidget()))
        return;
    const QRect frame = geometry();
    const bool wasVisible = isVisible();
    setParent(attach ? main : nullptr, attach ? Qt::Tool : Qt::Window);
    m_attached = attach;
    setGeometry(frame);
    if (wasVisible) {
        show();
        raise();
        activateWindow();
    }
}

void IndexOfPeople::changeAlwaysOnTop(bool onTop)
{
    UserDefaults::standard().setBool(kAlwaysOnTop, onTop);
    applyAlwaysOnTop();
    raise();
    activateWindow();
    NotificationCenter::defaultCenter().post(kChangedAlwaysOnTop);
}

void IndexOfPeople::readFields()
{
    PeopleIndexModel::Filters& f = m_index.filters;
    f.id = m_fields[IdFilter]->text();
    f.familyName = m_fields[FamilyNameFilter]->text();
    f.givenNames = m_fields[GivenNamesFilter]->text();
    f.birthYear = m_fields[BirthYearFilter]->text();
    f.deathYear = m_fields[DeathYearFilter]->text();
    f.title = m_fields[TitleFilter]->text();
    f.spousesName = m_fields[SpousesNameFilter]->text();
    f.kinship = m_kinship->value();
    f.hasSourceReferences = m_onlyWithSources->isChecked();
}

void IndexOfPeople::writeFields()
{
    const PeopleIndexModel::Filters& f = m_index.filters;
    const QString texts[FilterFieldCount] = {f.id, f.familyName, f.givenNames, f.birthYear, f.deathYear, f.title,
        f.spousesName};
    for (int i = 0; i < FilterFieldCount; ++i)
        if (m_fields[i]->text() != texts[i])
            m_fields[i]->setText(texts[i]);
    const QSignalBlocker blockKinship(m_kinship);
    m_kinship->setValue(f.kinship);
    const QSignalBlocker blockSources(m_onlyWithSources);
    m_onlyWithSources->setChecked(f.hasSourceReferences);
}

void IndexOfPeople::showList()
{
    FTPerson* selected = selectedPerson();
    m_tableModel->setPeople(m_index.shown());
    m_count->setText(QStringLiteral("%1 / %2").arg(m_index.shown().size()).arg(m_index.everybody().size()));
    if (selected && m_index.shown().contains(selected))
        selectPerson(selected);
    else if (!m_index.shown().isEmpty())
        selectPerson(m_index.shown().first());
    consanguinityWithFocalPerson();
}

void IndexOfPeople::refresh()
{
    if (m_closing || !m_moc)
        return;
    m_index.refresh();
    writeFields();
    if (m_ownerDoc)
        setWindowTitle(QStringLiteral("%1 %2").arg(L("IndexOfPeopleIn"), m_ownerDoc->modelName()));
    showList();
}

void IndexOfPeople::changeFilter()
{
    if (m_closing || !m_moc)
        return;
    try {
        readFields();
        WindowProgress progress(nullptr, m_progress);
        m_index.changeFilter([&progress](int percent) { progress.setPercent(percent); });
        // The year fields show what was applied, without the blanks.
        for (FilterField field : {BirthYearFilter, DeathYearFilter}) {
            const QString applied = field == BirthYearFilter ? m_index.filters.birthYear : m_index.filters.deathYear;
            if (m_fields[field]->text() != applied) {
                const int cursor = m_fields[field]->cursorPosition();
                m_fields[field]->setText(applied);
                m_fields[field]->setCursorPosition(qMin(cursor, int(applied.size())));
            }
        }
        showList();
    } catch (...) {
        Utils::reportCurrentException(__FILE__, __LINE__, QStringLiteral("changeFilter"));
    }
}

void IndexOfPeople::sortByFamilyName()
{
    if (m_index.sortByFamilyName())
        showList();
}

void IndexOfPeople::showDuplicates()
{
    if (m_index.showDuplicates())
        showList();
}

FTPerson* IndexOfPeople::selectedPerson() const
{
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return nullptr;
    int first = rows.first().row();
    for (const QModelIndex& i : rows)
        first = qMin(first, i.row());
    return m_tableModel->personAt(first);
}

QList<FTPerson*> IndexOfPeople::selectedPeople() const
{
    QList<FTPerson*> people;
    for (const QModelIndex& i : m_table->selectionModel()->selectedRows())
        if (FTPerson* p = m_tableModel->personAt(i.row()))
            people << p;
    return people;
}

void IndexOfPeople::appendQuestionMark()
{
    if (!gDevelopmentVersion)
        return;
    for (FTPerson* person : selectedPeople())
        person->setName(QStringLiteral("%1 ?").arg(person->name()));
}

void IndexOfPeople::changeHyphenSpaceToHyphen()
{
    if (!gDevelopmentVersion)
        return;
    for (FTPerson* person : selectedPeople()) {
        const QString tidied = PeopleIndexModel::tidiedName(person->name());
        if (tidied != person->name())
            person->setName(tidied);
    }
}

void IndexOfPeople::selectPerson(FTPerson* person)
{
    const int row = int(m_tableModel->people().indexOf(person));
    if (row < 0) {
        m_table->clearSelection();
        return;
    }
    m_table->selectRow(row);
    m_table->scrollTo(m_tableModel->index(row, 0));
}

void IndexOfPeople::promoteToFocalPerson()
{
    FTPerson* person = selectedPerson();
    if (!person) {
        Prompts::current().message(L("SelectPersonTryAgain"));
        return;
    }
    m_moc->setFocalPerson(person);
    // The main window goes just below the index.
    raise();
    activateWindow();
    consanguinityWithFocalPerson();
}

void IndexOfPeople::relationshipToFocalPerson()
{
    FTPerson* person = selectedPerson();
    if (!person) {
        Prompts::current().message(L("SelectPersonTryAgain"));
        return;
    }
    auto* sheet = new RelativesReport(m_moc, m_moc->focalPerson(), person);
    sheet->setParent(this, sheet->windowFlags() | Qt::Sheet);
    sheet->setWindowModality(Qt::WindowModal);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->open();
}

void IndexOfPeople::editNotes()
{
    FTPerson* person = selectedPerson();
    if (!person)
        return;
    auto* dialog = new NotesDialog;
    dialog->setOwner(person, QStringLiteral("1"), true);
    dialog->present(NotesWindow::Sheet, this);
}

void IndexOfPeople::print()
{
    {
        PeopleIndexCsvOptions options(this);
        if (options.exec() != QDialog::Accepted)
            return;
    }
    WindowProgress progress(nullptr, m_progress);
    const QString path =
        PeopleIndexCsv::fromDefaults().write(m_index.shown(), m_ownerDoc ? m_ownerDoc->modelName() : QString(), &progress);
    m_progress->setValue(0);
    if (path.isEmpty())
        return;
    Prompts::current().message(L("IndexCsvNote"));
    if (!Utils::displayFile(path, QString()))
        Prompts::current().message(
            QStringLiteral("%1 %2 %3").arg(L("FileNotOpened1"), path, L("FileNotOpened2")));
}

QString IndexOfPeople::relationshipText() const
{
    return m_relationship;
}

void IndexOfPeople::consanguinityWithFocalPerson()
{
    try {
        FTPerson* person = selectedPerson();
        m_relationship.clear();
        m_commonAncestor = nullptr;
        if (m_showRelationship->isChecked() && person)
            m_relationship = m_index.relationshipToFocalPerson(person, &m_commonAncestor);
        m_relationshipLabel->setText(m_relationship);
        m_ancestorLabel->setText(m_commonAncestor
                ? QStringLiteral("%1 %2").arg(L("PICommonAncestor"), m_commonAncestor->nameWithBirthAndDeathYears())
                : QString());
        m_details->setHtml(person ? person->attributedDescription() : QString());
    } catch (...) {
        Utils::reportCurrentException(__FILE__, __LINE__, QStringLiteral("consanguinityWithFocalPerson"));
    }
}

bool IndexOfPeople::belongsHere(const Notification& n) const
{
    return m_moc && n.context == m_moc;
}

void IndexOfPeople::personNameOrDateChanged(const Notification& n)
{
    if (!belongsHere(n))
        return;
    if (n.object)
        m_index.personChanged(static_cast<const FTPerson*>(n.object));
    m_tableModel->redraw();
    if (FTPerson* person = selectedPerson()) {
        selectPerson(person);
        m_details->setHtml(person->attributedDescription());
    }
}

void IndexOfPeople::personToBeDeleted(const Notification& n)
{
    if (!belongsHere(n) || !n.object)
        return;
    try {
        auto* person = static_cast<FTPerson*>(const_cast<void*>(n.object));
        if (!m_index.everybody().contains(person))
            return;
        m_index.removePerson(person);
        showList();
    } catch (...) {
        Utils::reportCurrentException(__FILE__, __LINE__, QStringLiteral("personToBeDeleted"));
    }
}

void IndexOfPeople::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        consanguinityWithFocalPerson();
}

void IndexOfPeople::closeEvent(QCloseEvent* event)
{
    // Only this index stops refreshing: another database's index goes on following its changes.
    m_closing = true;
    UserDefaults::standard().setString(kFrame, rectString(geometry()));
    detach();
    // The window is deleted later, perhaps after its database has gone.
    m_moc = nullptr;
    QWidget::closeEvent(event);
    NotificationCenter::defaultCenter().post(kClosed, this);
}
