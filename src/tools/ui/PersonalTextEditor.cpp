#include "tools/ui/PersonalTextEditor.h"

#include "tools/TextListModel.h"
#include "tools/ui/ToolsWindowHelpers.h"

#include "sources/ui/SourcesWindowHelpers.h"

#include "editor/ui/EditorTableView.h"

#include "shell/Utils.h"
#include "shell/ui/WindowProgress.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int kFontSize = 12;

QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }
}

PersonalTextEditor::PersonalTextEditor(FTMoc* moc, PersonalTextEditing::Field field, QWidget* parent)
    : QDialog(parent)
    , m_editing(moc, field)
{
    const bool notes = field == PersonalTextEditing::Notes;
    setWindowTitle(L(notes ? "EditNotesTitle" : "EditCommentsTitle"));
    auto* layout = new QVBoxLayout(this);

    auto* filters = new QHBoxLayout;
    m_filter = ToolsWindowHelpers::makeSearchField(
        QStringLiteral("filterField"), L(notes ? "NotesFilterPlaceholder" : "CommentsFilterPlaceholder"));
    connect(m_filter, &QLineEdit::textChanged, this, [this] { find(); });
    filters->addWidget(m_filter, 2);
    if (notes) {
        m_familyNameFilter = ToolsWindowHelpers::makeSearchField(
            QStringLiteral("familyNameFilterField"), L("FamilyNameFilterOfNotes"));
        connect(m_familyNameFilter, &QLineEdit::textChanged, this, [this] { find(); });
        filters->addWidget(m_familyNameFilter, 1);
    }
    m_notEmpty = new QCheckBox(L("OnlyNotEmptyCheck"));
    m_notEmpty->setObjectName(QStringLiteral("notEmptyCheck"));
    m_notEmpty->setChecked(true);
    connect(m_notEmpty, &QCheckBox::toggled, this, [this](bool on) {
        m_editing.setNotEmptyOnly(on);
        showPeople();
    });
    filters->addWidget(m_notEmpty);
    layout->addLayout(filters);

    m_peopleModel = new TextListModel(L("PeopleHeader"), this);
    m_tv = ToolsWindowHelpers::makeTextTable(QStringLiteral("tv"), m_peopleModel, false, kFontSize);
    m_tv->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(m_tv->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { showSelectedText(); });
    m_textView = new QPlainTextEdit;
    m_textView->setObjectName(QStringLiteral("textView"));
    QFont font = m_textView->font();
    font.setPointSize(kFontSize);
    m_textView->setFont(font);
    connect(m_textView, &QPlainTextEdit::textChanged, this, [this] {
        FTPerson* person = selectedPerson();
        if (!m_showing && person && m_editing.text(person) != m_textView->toPlainText())
            m_editing.setText(person, m_textView->toPlainText());
    });
    layout->addWidget(ToolsWindowHelpers::sideBySide(m_tv, m_textView, 2, 3), 1);

    m_progressIndicator = new QProgressBar;
    m_progressIndicator->setObjectName(QStringLiteral("progressIndicator"));
    m_progressIndicator->setRange(0, 100);
    m_progressIndicator->setValue(0);
    m_progressIndicator->setTextVisible(false);
    m_progressIndicator->hide();
    layout->addWidget(m_progressIndicator);

    m_ownButtons = new QHBoxLayout;
    layout->addLayout(m_ownButtons);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SourcesWindowHelpers::makeButton(
        QStringLiteral("deleteText"), L("ClearTextButton"), [this] { deleteText(); }, QStringLiteral("edit-clear")));
    buttons->addWidget(SourcesWindowHelpers::makeButton(
        QStringLiteral("promoteToFocalPerson"), L("PromoteButton"), [this] { promoteToFocalPerson(); }));
    buttons->addWidget(SourcesWindowHelpers::makeButton(
        QStringLiteral("print"), L("PrintCsvButton"), [this] { print(); }, QStringLiteral("document-print")));
    buttons->addStretch();
    buttons->addWidget(SourcesWindowHelpers::makeCloseButton([this] { close(); }));
    layout->addLayout(buttons);

    SourcesWindowHelpers::usePanelColour(this);
    resize(760, 540);
    showPeople();
}

void PersonalTextEditor::restoreSize()
{
    if (prevSize().isValid() && prevSize().width() > 0)
        resize(prevSize());
}

FTPerson* PersonalTextEditor::selectedPerson() const
{
    const QModelIndex current = m_tv->selectionModel()->currentIndex();
    const QList<FTPerson*>& people = m_editing.people();
    return current.isValid() && m_tv->selectionModel()->isSelected(current) && current.row() < people.size()
        ? people[current.row()]
        : nullptr;
}

void PersonalTextEditor::selectPerson(FTPerson* person)
{
    const int row = int(m_editing.people().indexOf(person));
    if (row < 0)
        m_tv->selectionModel()->clear();
    else
        m_tv->selectionModel()->setCurrentIndex(
            m_peopleModel->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    showSelectedText();
}

void PersonalTextEditor::showPeople()
{
    FTPerson* chosen = selectedPerson();
    QStringList names;
    names.reserve(m_editing.people().size());
    for (const FTPerson* p : m_editing.people())
        names << p->nameWithBirthAndDeathYears();
    m_showing = true;
    m_peopleModel->setTexts(names);
    m_showing = false;
    selectPerson(chosen ? chosen : m_editing.people().value(0));
}

void PersonalTextEditor::showSelectedText()
{
    const FTPerson* person = selectedPerson();
    const QString text = m_editing.text(person);
    m_showing = true;
    m_textView->setEnabled(person != nullptr);
    if (m_textView->toPlainText() != text)
        m_textView->setPlainText(text);
    m_showing = false;
}

void PersonalTextEditor::find()
{
    m_editing.setFilter(m_filter->text());
    if (m_familyNameFilter)
        m_editing.setFamilyNameFilter(m_familyNameFilter->text());
    showPeople();
}

void PersonalTextEditor::deleteText()
{
    m_editing.clearText(selectedPerson());
    showSelectedText();
}

void PersonalTextEditor::promoteToFocalPerson() { m_editing.promoteToFocalPerson(selectedPerson()); }

void PersonalTextEditor::withProgress(const std::function<void(ModelProgress*)>& pass)
{
    // The bar shows only while a pass runs.
    m_progressIndicator->show();
    WindowProgress progress(nullptr, m_progressIndicator);
    pass(&progress);
    m_progressIndicator->setValue(0);
    m_progressIndicator->hide();
}

void PersonalTextEditor::print()
{
    withProgress([this](ModelProgress* progress) { m_editing.print(progress); });
}

void PersonalTextEditor::close()
{
    m_textView->clearFocus();
    prevSize() = size();
    if (m_editing.field() == PersonalTextEditing::Notes && m_editing.moc())
        m_editing.moc()->saveMoc();
    done(0);
}

// ---- Comments ----

EditPersonalComments::EditPersonalComments(FTMoc* moc, QWidget* parent)
    : PersonalTextEditor(moc, PersonalTextEditing::Comments, parent)
{
    setObjectName(QStringLiteral("EditPersonalComments"));
    ownButtons()->addWidget(SourcesWindowHelpers::makeButton(QStringLiteral("deleteAllLinesThatContainTheFilterString"),
        L("DeleteLinesButton"), [this] { deleteAllLinesThatContainTheFilterString(); }, QStringLiteral("edit-delete")));
    ownButtons()->addStretch();
    restoreSize();
}

QSize& EditPersonalComments::prevSize() const
{
    static QSize size;
    return size;
}

void EditPersonalComments::deleteAllLinesThatContainTheFilterString()
{
    withProgress([this](ModelProgress* progress) { m_editing.deleteAllLinesThatContainTheFilterString(progress); });
    showPeople();
}

// ---- Notes ----

EditPersonalNotes::EditPersonalNotes(FTMoc* moc, QWidget* parent)
    : PersonalTextEditor(moc, PersonalTextEditing::Notes, parent)
{
    setObjectName(QStringLiteral("EditPersonalNotes"));
    auto add = [this](const char* name, const char* key, void (EditPersonalNotes::*action)()) {
        ownButtons()->addWidget(SourcesWindowHelpers::makeButton(
            QString::fromLatin1(name), L(key), [this, action] { (this->*action)(); }));
    };
    add("replaceSpaceLinefeedWithSpace", "JoinLinesButton", &EditPersonalNotes::replaceSpaceLinefeedWithSpace);
    add("replaceSpaceLinefeedWithSpaceAll", "JoinLinesAllButton", &EditPersonalNotes::replaceSpaceLinefeedWithSpaceAll);
    add("replaceLinefeedSpaceWithLinefeed", "UnindentButton", &EditPersonalNotes::replaceLinefeedSpaceWithLinefeed);
    add("replaceLinefeedSpaceWithLinefeedAll", "UnindentAllButton",
        &EditPersonalNotes::replaceLinefeedSpaceWithLinefeedAll);
    ownButtons()->addWidget(SourcesWindowHelpers::makeHelpButton(
        QStringLiteral("helpForReplaceLinefeed"), [this] { helpForReplaceLinefeed(); }));
    ownButtons()->addStretch();
    restoreSize();
}

QSize& EditPersonalNotes::prevSize() const
{
    static QSize size;
    return size;
}

void EditPersonalNotes::replaceSpaceLinefeedWithSpace()
{
    textView()->clearFocus();
    m_editing.replaceSpaceLinefeedWithSpace(selectedPerson());
    showSelectedText();
}

void EditPersonalNotes::replaceLinefeedSpaceWithLinefeed()
{
    textView()->clearFocus();
    m_editing.replaceLinefeedSpaceWithLinefeed(selectedPerson());
    showSelectedText();
}

void EditPersonalNotes::replaceSpaceLinefeedWithSpaceAll()
{
    withProgress([this](ModelProgress* progress) { m_editing.replaceSpaceLinefeedWithSpaceAll(progress); });
    showSelectedText();
}

void EditPersonalNotes::replaceLinefeedSpaceWithLinefeedAll()
{
    withProgress([this](ModelProgress* progress) { m_editing.replaceLinefeedSpaceWithLinefeedAll(progress); });
    showSelectedText();
}

void EditPersonalNotes::helpForReplaceLinefeed()
{
    Utils::displayMsgWithTitle(L("helpForReplaceLinefeedTitle"), L("helpForReplaceLinefeedInfo"));
}
