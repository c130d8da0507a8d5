#include "tools/ui/ProjectViewsAddModDel.h"

#include "sources/ui/SourcesWindowHelpers.h"

#include "shell/Utils.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTProjectView.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"
#include "platform/Workspace.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int kFontSize = 11;

QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }

QListWidget* makeList(const QString& objectName)
{
    auto* list = new QListWidget;
    list->setObjectName(objectName);
    list->setAlternatingRowColors(true);
    QFont font = list->font();
    font.setPointSize(kFontSize);
    list->setFont(font);
    return list;
}
}

ProjectViewsAddModDel::ProjectViewsAddModDel(FTMoc* moc, QWidget* parent)
    : QDialog(parent)
    , m_editing(moc)
{
    setObjectName(QStringLiteral("ProjectViewsAddModDel"));
    setWindowTitle(L("ProjectViewsEditorTitle"));
    auto* layout = new QVBoxLayout(this);

    // Left: the views with Add and Remove under them.
    auto* left = new QWidget;
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(new QLabel(L("ProjectViewsHeader")));
    m_views = makeList(QStringLiteral("projectViewsTableView"));
    connect(m_views, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_showing)
            selectRow(row);
    });
    leftLayout->addWidget(m_views, 1);
    auto* addRemove = new QHBoxLayout;
    addRemove->addWidget(SourcesWindowHelpers::makeButton(
        QStringLiteral("addView"), L("Add"), [this] { addView(); }, QStringLiteral("list-add")));
    addRemove->addWidget(SourcesWindowHelpers::makeButton(
        QStringLiteral("removeView"), L("RemoveViewButton"), [this] { removeView(); }, QStringLiteral("list-remove")));
    addRemove->addStretch();
    leftLayout->addLayout(addRemove);

    // Right: the chosen view's fields and people.
    auto* right = new QWidget;
    auto* form = new QFormLayout(right);
    form->setContentsMargins(0, 0, 0, 0);
    m_name = new QLineEdit;
    m_name->setObjectName(QStringLiteral("name"));
    connect(m_name, &QLineEdit::editingFinished, this, [this] {
        FTProjectView* view = m_editing.selectedView();
        if (view && view->name() != m_name->text()) {
            view->setName(m_name->text());
            m_editing.reload();
            showViews();
        }
    });
    form->addRow(L("ProjectViewNameLabel"), m_name);
    auto makeText = [this](const QString& objectName, void (FTProjectView::*setter)(const QString&),
                           QString (FTProjectView::*getter)() const) {
        auto* edit = new QPlainTextEdit;
        edit->setObjectName(objectName);
        edit->setTabChangesFocus(true);
        edit->setFixedHeight(edit->fontMetrics().lineSpacing() * 3 + 12);
        connect(edit, &QPlainTextEdit::textChanged, this, [this, edit, setter, getter] {
            FTProjectView* view = m_editing.selectedView();
            if (!m_showing && view && (view->*getter)() != edit->toPlainText())
                (view->*setter)(edit->toPlainText());
        });
        return edit;
    };
    m_notes = makeText(QStringLiteral("notes"), &FTProjectView::setNotes, &FTProjectView::notes);
    form->addRow(L("ProjectViewNotesLabel"), m_notes);
    m_comments = makeText(QStringLiteral("comments"), &FTProjectView::setComments, &FTProjectView::comments);
    form->addRow(L("ProjectViewCommentsLabel"), m_comments);
    m_people = makeList(QStringLiteral("peopleTableView"));
    form->addRow(new QLabel(L("ProjectViewsMembers")));
    form->addRow(m_people);

    auto* split = new QSplitter;
    split->setChildrenCollapsible(false);
    split->addWidget(left);
    split->addWidget(right);
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 3);
    layout->addWidget(split, 1);

    auto* actions = new QHBoxLayout;
    actions->addWidget(SourcesWindowHelpers::makeButton(QStringLiteral("createAncestralViewForFocalPerson"),
        L("AncestralViewButton"), [this] { createAncestralViewForFocalPerson(); }));
    actions->addWidget(SourcesWindowHelpers::makeButton(
        QStringLiteral("selectAsCurrentActiveView"), L("MakeCurrentButton"), [this] { selectAsCurrentActiveView(); }));
    actions->addWidget(SourcesWindowHelpers::makeButton(
        QStringLiteral("deactivateActiveView"), L("NoCurrentViewButton"), [this] { deactivateActiveView(); }));
    actions->addStretch();
    layout->addLayout(actions);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SourcesWindowHelpers::makeHelpButton(
        QStringLiteral("helpForProjectViews"), [this] { helpForProjectViews(); }));
    buttons->addWidget(new QLabel(L("RtfApplicationLabel")));
    m_rtfApplications = new QComboBox;
    m_rtfApplications->setObjectName(QStringLiteral("rtfApplications"));
    m_rtfApplications->addItem(L("DefaultRtfApplication"), QString());
    for (const QString& id : Utils::rtfApplications()) {
        const auto app = Workspace::shared().application(id);
        m_rtfApplications->addItem(app && !app->name.isEmpty() ? app->name : id, id);
    }
    const QString chosen = UserDefaults::standard().stringForKey(QStringLiteral("rtfApplication"));
    if (m_rtfApplications->findData(chosen) < 0)
        m_rtfApplications->addItem(chosen, chosen);
    m_rtfApplications->setCurrentIndex(m_rtfApplications->findData(chosen));
    connect(m_rtfApplications, &QComboBox::activated, this, [this](int index) {
        UserDefaults::standard().setString(QStringLiteral("rtfApplication"),
                                           m_rtfApplications->itemData(index).toString());
    });
    buttons->addWidget(m_rtfApplications);
    buttons->addWidget(SourcesWindowHelpers::makeButton(
        QStringLiteral("print"), L("PrintViewButton"), [this] { print(); }, QStringLiteral("document-print")));
    buttons->addStretch();
    buttons->addWidget(SourcesWindowHelpers::makeCloseButton([this] { close(); }));
    layout->addLayout(buttons);

    SourcesWindowHelpers::usePanelColour(this);
    resize(720, 520);
    m_editing.list().changed = [this] { showViews(); };
    // The current view is chosen when the window opens.
    m_editing.reload();
    if (m_editing.selectedRow() < 0)
        m_editing.list().setSelectedRow(m_editing.list().selectedRow());
    showViews();
}

ProjectViewsAddModDel::~ProjectViewsAddModDel() { m_editing.list().changed = nullptr; }

void ProjectViewsAddModDel::close()
{
    m_name->clearFocus();
    if (FTMoc* moc = m_editing.moc())
        moc->saveMoc();
    done(0);
}

void ProjectViewsAddModDel::showViews()
{
    m_showing = true;
    m_views->clear();
    for (FTProjectView* view : m_editing.views()) {
        auto* item = new QListWidgetItem(view->name(), m_views);
        item->setForeground(view->currentViewColour());
    }
    m_views->setCurrentRow(m_editing.selectedRow());
    m_showing = false;
    showSelectedView();
}

void ProjectViewsAddModDel::showSelectedView()
{
    m_showing = true;
    FTProjectView* view = m_editing.selectedView();
    for (QWidget* field : {static_cast<QWidget*>(m_name), static_cast<QWidget*>(m_notes),
                           static_cast<QWidget*>(m_comments)})
        field->setEnabled(view != nullptr);
    if (m_name->text() != (view ? view->name() : QString()))
        m_name->setText(view ? view->name() : QString());
    if (m_notes->toPlainText() != (view ? view->notes() : QString()))
        m_notes->setPlainText(view ? view->notes() : QString());
    if (m_comments->toPlainText() != (view ? view->comments() : QString()))
        m_comments->setPlainText(view ? view->comments() : QString());
    m_people->clear();
    for (const FTPerson* p : m_editing.members())
        m_people->addItem(p->nameWithBirthAndDeathYears());
    m_showing = false;
}

void ProjectViewsAddModDel::selectRow(int row) { m_editing.selectRow(row); }

void ProjectViewsAddModDel::addView()
{
    m_editing.addView();
    m_name->setFocus();
    m_name->selectAll();
}

void ProjectViewsAddModDel::removeView() { m_editing.removeView(); }

void ProjectViewsAddModDel::createAncestralViewForFocalPerson() { m_editing.createAncestralViewForFocalPerson(); }

void ProjectViewsAddModDel::selectAsCurrentActiveView() { m_editing.selectAsCurrentActiveView(); }

void ProjectViewsAddModDel::deactivateActiveView() { m_editing.deactivateActiveView(); }

void ProjectViewsAddModDel::helpForProjectViews()
{
    Utils::displayMsgWithTitle(L("ProjectViews"), LocalizedHelpString(QStringLiteral("ProjectViewsHelp")));
}

void ProjectViewsAddModDel::print()
{
    m_name->clearFocus();
    m_editing.print();
}
