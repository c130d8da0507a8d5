#include "tools/ui/FamilyNamesEditor.h"

#include "tools/TextListModel.h"
#include "tools/ui/ToolsWindowHelpers.h"

#include "sources/ui/SourcesWindowHelpers.h"

#include "editor/ui/EditorTableView.h"

#include "shell/DisplayMsg.h"
#include "shell/ui/WindowProgress.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int kFontSize = 11;

QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }
}

FamilyNamesEditor::FamilyNamesEditor(FTMoc* moc, QWidget* parent)
    : QDialog(parent)
    , m_editing(moc)
{
    setObjectName(QStringLiteral("FamilyNamesEditor"));
    setWindowTitle(L("FamilyNamesTitle"));
    auto* layout = new QVBoxLayout(this);

    m_filterSearchField
        = ToolsWindowHelpers::makeSearchField(QStringLiteral("filterSearchField"), L("FamilyNameFilterPlaceholder"));
    connect(m_filterSearchField, &QLineEdit::textChanged, this, [this](const QString& text) { findFamilyName(text); });
    layout->addWidget(m_filterSearchField);

    m_familyNamesModel = new TextListModel(L("FamilyNamesHeader"), this);
    m_familyNamesModel->rename = [this](int row, const QString& typed) {
        // After the edit has closed: the rename asks person by person.
        QTimer::singleShot(0, this, [this, row, typed] { renameFamilyName(row, typed); });
        return true;
    };
    m_tv1 = ToolsWindowHelpers::makeTextTable(QStringLiteral("tv1"), m_familyNamesModel, false, kFontSize);
    connect(m_tv1->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { loadSelectedPeople(); });
    m_peopleModel = new TextListModel(L("PeopleWithFamilyName"), this);
    m_tv2 = ToolsWindowHelpers::makeTextTable(QStringLiteral("tv2"), m_peopleModel, false, kFontSize);
    layout->addWidget(ToolsWindowHelpers::sideBySide(m_tv1, m_tv2, 2, 3), 1);

    m_progressIndicator = new QProgressBar;
    m_progressIndicator->setObjectName(QStringLiteral("progressIndicator"));
    m_progressIndicator->setRange(0, 100);
    m_progressIndicator->setTextVisible(false);
    m_progressIndicator->hide();
    layout->addWidget(m_progressIndicator);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SourcesWindowHelpers::makeButton(QStringLiteral("capitaliseAllFamilyNames"),
        L("CapitaliseAllButton"), [this] { capitaliseAllFamilyNames(); }));
    buttons->addWidget(SourcesWindowHelpers::makeButton(QStringLiteral("uppercaseAllFamilyNames"),
        L("UppercaseAllButton"), [this] { uppercaseAllFamilyNames(); }));
    buttons->addWidget(SourcesWindowHelpers::makeButton(
        QStringLiteral("refresh"), L("RefreshButton"), [this] { refresh(); }, QStringLiteral("view-refresh")));
    buttons->addStretch();
    buttons->addWidget(SourcesWindowHelpers::makeCloseButton([this] { done(0); }));
    layout->addLayout(buttons);

    SourcesWindowHelpers::usePanelColour(this);
    resize(620, 560);
    loadFamilyNames();
}

FamilyNamesEditor::~FamilyNamesEditor() = default;

void FamilyNamesEditor::loadFamilyNames(const QString& name)
{
    m_familyNames = m_editing.familyNames();
    showFamilyNames(name);
}

void FamilyNamesEditor::showFamilyNames(const QString& select)
{
    m_tv1->abandonEditing();
    m_familyNamesModel->setTexts(FamilyNamesEditing::filtered(m_familyNames, m_filter));
    const int found = select.isEmpty() ? -1 : m_familyNamesModel->rowOf(select);
    const int row = found >= 0 ? found : (m_familyNamesModel->rowCount() > 0 ? 0 : -1);
    QItemSelectionModel* selection = m_tv1->selectionModel();
    if (row >= 0) {
        const QModelIndex index = m_familyNamesModel->index(row, 0);
        selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_tv1->scrollTo(index);
    } else {
        selection->clearSelection();
    }
    loadSelectedPeople();
}

QString FamilyNamesEditor::selectedFamilyName() const
{
    const QList<int> rows = ToolsWindowHelpers::selectedRows(m_tv1);
    return rows.isEmpty() ? QString() : m_familyNamesModel->text(rows.first());
}

void FamilyNamesEditor::loadSelectedPeople()
{
    m_people = m_editing.peopleWithFamilyName(selectedFamilyName());
    QStringList names;
    names.reserve(m_people.size());
    for (const FTPerson* p : std::as_const(m_people))
        names << p->name();
    m_peopleModel->setTexts(names);
}

void FamilyNamesEditor::findFamilyName(const QString& typed)
{
    const QString text = typed.trimmed();
    if (text.contains(QLatin1Char(' '))) {
        DisplayMsg(L("RemoveSpace"));
        return;
    }
    m_filter = text;
    showFamilyNames(selectedFamilyName());
}

void FamilyNamesEditor::renameFamilyName(int row, const QString& typed)
{
    const QString old = m_familyNamesModel->text(row);
    if (row < 0 || row >= m_familyNamesModel->rowCount())
        return;
    // The people of the name edited, whatever row was selected meanwhile.
    const QList<FTPerson*> people = m_editing.peopleWithFamilyName(old);
    if (m_editing.changeFamilyNamesFrom(old, typed, people) > 0)
        loadFamilyNames(typed.trimmed());
}

void FamilyNamesEditor::capitaliseAllFamilyNames() { convert(FamilyNamesEditing::Capitalised); }

void FamilyNamesEditor::uppercaseAllFamilyNames() { convert(FamilyNamesEditing::Uppercase); }

void FamilyNamesEditor::convert(int mode)
{
    m_tv1->endEditing();
    m_progressIndicator->setValue(0);
    m_progressIndicator->show();
    WindowProgress progress(nullptr, m_progressIndicator);
    const int changed = m_editing.convertAllFamilyNamesUsingMode(mode, &progress);
    m_progressIndicator->hide();
    // The list is built again by Refresh, as after any change made elsewhere; the people shown show their names.
    if (changed > 0)
        loadSelectedPeople();
}
