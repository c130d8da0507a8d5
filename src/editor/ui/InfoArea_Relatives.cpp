#include "editor/ui/InfoArea_Relatives.h"

#include "editor/FamilyChildren.h"
#include "editor/RelativesCsv.h"
#include "editor/RelativesPageRows.h"
#include "editor/ui/InfoArea_Relatives_TableView.h"
#include "editor/ui/RelativesTableModel.h"
#include "editor/ui/SelectSpouseController.h"

#include "shell/ui/SetFontSize.h"
#include "shell/ui/ThemeIcon.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/ModelHooks.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// The group switches: the user default each keeps, and its label.
const struct {
    const char* key;
    const char* label;
} kSwitches[] = {
    {"includeGrandParents", "RelativesIncludeGrandParents"},
    {"includeChildren", "RelativesIncludeChildren"},
    {"includeSiblings", "RelativesIncludeSiblings"},
    {"includeGrandChildren", "RelativesIncludeGrandChildren"},
    {"includeGreatGrandChildren", "RelativesIncludeGreatGrandChildren"},
    {"includeAuntsAndUncles", "RelativesIncludeAuntsAndUncles"},
    {"includeCousins", "RelativesIncludeCousins"},
    {"includeNephewsAndNieces", "RelativesIncludeNephewsAndNieces"},
    {"includeInLaws", "RelativesIncludeInLaws"},
};
}

InfoArea_Relatives::InfoArea_Relatives(QWidget* parent)
    : EditorPage(parent)
{
    m_switchBar = new QWidget;
    m_switchBar->setObjectName(QStringLiteral("switches"));
    auto* grid = new QGridLayout(m_switchBar);
    grid->setContentsMargins(0, 4, 0, 2);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(2);
    int i = 0;
    for (const auto& s : kSwitches) {
        auto* box = new QCheckBox(LocalizedString(s.label));
        box->setObjectName(QString::fromLatin1(s.key));
        box->setFocusPolicy(Qt::NoFocus);
        connect(box, &QCheckBox::toggled, this, [this, key = QString::fromLatin1(s.key)](bool on) {
            UserDefaults::standard().setBool(key, on);
            changeDisplayOption();
        });
        grid->addWidget(box, i / 5, i % 5);
        m_switches << box;
        ++i;
    }
    grid->setColumnStretch(5, 1);

    m_numRels = new QLabel;
    m_numRels->setObjectName(QStringLiteral("numRels"));
    m_csvButton = new QPushButton(themeIcon(QStringLiteral("x-office-spreadsheet")), LocalizedString("RelativesCsvButton"));
    m_csvButton->setObjectName(QStringLiteral("generateCsvReport"));
    m_csvButton->setAutoDefault(false);
    m_csvButton->setFocusPolicy(Qt::NoFocus);
    connect(m_csvButton, &QPushButton::clicked, this, [this] { generateCsvReport(); });
    auto* bottom = new QHBoxLayout;
    bottom->setContentsMargins(0, 2, 0, 0);
    bottom->addWidget(m_numRels);
    bottom->addStretch();
    bottom->addWidget(m_csvButton);

    m_table = new InfoArea_Relatives_TableView;
    m_model = new RelativesTableModel(this);
    m_table->setModel(m_model);
    connect(m_table, &InfoArea_Relatives_TableView::buttonClicked, this, &InfoArea_Relatives::buttonClicked);
    connect(m_table, &InfoArea_Relatives_TableView::contextMenuRequested, this, [this](int row, const QPoint& at) {
        if (QMenu* menu = createContextMenu(row)) {
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->popup(at);
        }
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_switchBar);
    layout->addWidget(m_table, 1);
    layout->addLayout(bottom);
    setFontSize(m_fontSize);
}

InfoArea_Relatives::~InfoArea_Relatives()
{
    FTLog(QStringLiteral("dealloc InfoArea_Relatives"));
}

const QList<Relative>& InfoArea_Relatives::relsArray() const
{
    return m_model->rows();
}

void InfoArea_Relatives::setShowsSwitches(bool on)
{
    m_switchBar->setVisible(on);
    m_numRels->setVisible(on);
}

void InfoArea_Relatives::setSelectedPerson(FTPerson* person)
{
    // What was typed reaches the relative first; an edit its check refuses cannot follow another list.
    if (person != m_person && !m_table->endEditing())
        m_table->abandonEditing();
    m_person = person;
    m_moc = person ? person->moc() : nullptr;
    m_table->setMoc(m_moc);
    setRefreshArray(true);
}

void InfoArea_Relatives::setRefreshArray(bool refresh)
{
    m_refreshArray = refresh;
    if (refresh)
        update();
}

void InfoArea_Relatives::refreshDisplay()
{
    m_table->viewport()->update();
    update();
}

void InfoArea_Relatives::setColumnHeadings()
{
    m_model->setNameHeading(columnHeading());
}

QString InfoArea_Relatives::columnHeading() const
{
    return RelativesPageRows::relativesHeading(m_person);
}

void InfoArea_Relatives::setFontSize(long size)
{
    if (size <= 0)
        return;
    m_fontSize = size;
    SetFontSize(m_table, int(size));
    m_table->setColumnWidths();
    m_table->viewport()->update();
}

void InfoArea_Relatives::freeMemory()
{
    m_table->abandonEditing();
    m_person = nullptr;
    m_moc = nullptr;
    m_table->setMoc(nullptr);
    m_model->clear();
    m_refreshArray = true;
}

void InfoArea_Relatives::personToBeDeleted(const Notification& n)
{
    if (!m_moc || n.context != m_moc)
        return;
    // The person may stand in any row: nothing typed may reach it, no row may outlive it. What was typed for
    // someone who stays is stored first.
    const QModelIndex edited = m_table->editingIndex();
    FTPerson* editedPerson = edited.isValid() ? m_model->person(edited.row()) : nullptr;
    if (!editedPerson || editedPerson == n.object || !m_table->endEditing())
        m_table->abandonEditing();
    if (n.object && n.object == m_person)
        setSelectedPerson(nullptr);
    m_model->clear();
    setRefreshArray(true);
}

void InfoArea_Relatives::pcRelTypeChanged(const Notification&)
{
    setRefreshArray(true);
}

bool InfoArea_Relatives::endEditing()
{
    return m_table->endEditing();
}

QList<Relative> InfoArea_Relatives::createRelsArray(long* count)
{
    // The switches follow the user defaults, which another window may have changed.
    for (QCheckBox* box : std::as_const(m_switches)) {
        const QSignalBlocker quiet(box);
        box->setChecked(UserDefaults::standard().boolForKey(box->objectName()));
    }
    return RelativesPageRows::relatives(m_person && !m_person->isDeleted() ? m_person : nullptr,
                                        Relatives::Options::fromUserDefaults(), count);
}

void InfoArea_Relatives::refreshArrayContents()
{
    m_refreshArray = false;
    try {
        // An edit under way reaches its person before the rows go. One refused stays open with what was typed
        // (and is not told again): the rows are rebuilt once it has ended.
        if (m_table->isEditRefused() || !m_table->endEditing()) {
            m_refreshArray = true;
            return;
        }
        long count = -1;
        const QList<Relative> rows = createRelsArray(&count);
        if (count >= 0) {
            m_numRelatives = count;
            m_numRels->setText(LocalizedString("RelativesCount").arg(count));
        }
        m_model->setRows(rows, m_person);
        setColumnHeadings();
        if (m_model->rowCount() > 0)
            m_table->scrollToTop();
    } catch (...) {
        ModelHooks::reportException("InfoArea_Relatives", __LINE__, QStringLiteral("refreshArrayContents"));
    }
}

void InfoArea_Relatives::changeDisplayOption()
{
    setRefreshArray(true);
}

void InfoArea_Relatives::buttonClicked(int, int column)
{
    if (column == RelativesTableModel::DetailsButton)
        personsDetails();
    else
        personsFamily();
}

void InfoArea_Relatives::personsDetails()
{
    FTPerson* person = m_model->person(m_table->selectedRow());
    if (!person || !endEditing())
        return;
    person->invokeAddChildDialog();
    setRefreshArray(true);
}

void InfoArea_Relatives::personsFamily()
{
    FTPerson* person = m_model->person(m_table->selectedRow());
    if (!person || !endEditing())
        return;
    FamilyChildren::displayChildsFamily(person, [](FTPerson* p) {
        SelectSpouseController dialog(p);
        dialog.run();
        return dialog.spouse();
    });
    setRefreshArray(true);
}

QString InfoArea_Relatives::generateCsvReport()
{
    if (!endEditing())
        return {};
    if (m_refreshArray)
        refreshArrayContents();
    return RelativesCsv::generateCsvReport(m_person, m_model->rows());
}

QMenu* InfoArea_Relatives::createContextMenu(int row)
{
    FTPerson* person = m_model->person(row);
    if (!person)
        return nullptr;
    m_table->selectPersonRow(row);
    auto* menu = new QMenu(this);
    QAction* promote = menu->addAction(themeIcon(QStringLiteral("go-home")), RelativesPageRows::promoteMenuTitle(person));
    promote->setObjectName(QStringLiteral("promoteToFocalPerson"));
    // The person travels by its address in the database, which stays good if the rows are rebuilt meanwhile.
    FTMoc* moc = m_moc;
    const QString uri = person->objectURI();
    connect(promote, &QAction::triggered, this, [moc, uri] {
        auto* p = moc ? dynamic_cast<FTPerson*>(moc->objectForURI(uri)) : nullptr;
        InfoArea_Relatives_TableView::promoteToFocalPerson(p);
    });
    return menu;
}

void InfoArea_Relatives::watchWindow(bool on)
{
    if (m_watchedWindow)
        m_watchedWindow->removeEventFilter(this);
    m_watchedWindow = on ? window() : nullptr;
    if (m_watchedWindow)
        m_watchedWindow->installEventFilter(this);
}

void InfoArea_Relatives::showEvent(QShowEvent* event)
{
    EditorPage::showEvent(event);
    watchWindow(true);
    update();
}

void InfoArea_Relatives::hideEvent(QHideEvent* event)
{
    EditorPage::hideEvent(event);
    watchWindow(false);
}

bool InfoArea_Relatives::eventFilter(QObject* watched, QEvent* event)
{
    // The window is about to draw: the list is built first when it must be (once, however many changes asked
    // for it), never while the table draws.
    if (watched == m_watchedWindow && event->type() == QEvent::UpdateRequest && isVisible() && m_refreshArray)
        refreshArrayContents();
    return EditorPage::eventFilter(watched, event);
}
