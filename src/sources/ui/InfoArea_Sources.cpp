#include "sources/ui/InfoArea_Sources.h"

#include "sources/CitationTableModel.h"
#include "sources/ui/CitationTableView.h"
#include "sources/ui/SelectASourceButton.h"
#include "sources/ui/SelectASourceDialog.h"
#include "sources/ui/SourcesAddModDel.h"
#include "sources/ui/SourcesMenuActions.h"
#include "sources/ui/SourcesWindowHelpers.h"

#include "editor/ui/NotesTextEdit.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/SetFontSize.h"

#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPerson.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/ModelHooks.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMainWindow>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace {
const QString kSourceRelToBeDeleted = QStringLiteral("SourceRelToBeDeleted");
const QString kCheckForMissingCitations = QStringLiteral("cdCheckForMissingCitations");
// The strip along the bottom of the page, in the main window's colour, behind the buttons.
constexpr int kStripHeight = 30;

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

InfoArea_Sources::InfoArea_Sources(QWidget* parent)
    : EditorPage(parent)
{
    m_model = new CitationTableModel({ CitationTableModel::SourceId, CitationTableModel::SourceDescription,
                                         CitationTableModel::PageRef, CitationTableModel::Topic,
                                         CitationTableModel::Relationship },
        this);
    m_model->setShowsToolTips(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 6, 0, 0);
    auto* top = new QHBoxLayout;
    m_tableViewLabel = new QLabel;
    m_tableViewLabel->setObjectName(QStringLiteral("tableViewLabel"));
    QFont bold = m_tableViewLabel->font();
    bold.setBold(true);
    m_tableViewLabel->setFont(bold);
    top->addWidget(m_tableViewLabel, 1);
    m_allFieldsButton = SourcesWindowHelpers::makeButton(
        QStringLiteral("AllFields"), L("AllFields"), [this] { showAllFields(); });
    m_titleOnlyButton = SourcesWindowHelpers::makeButton(
        QStringLiteral("TitleOnly"), L("TitleOnly"), [this] { showTitleOnly(); });
    m_allFieldsButton->setToolTip(L("AllFieldsTip"));
    m_titleOnlyButton->setToolTip(L("TitleOnlyTip"));
    top->addWidget(m_allFieldsButton);
    top->addWidget(m_titleOnlyButton);
    layout->addLayout(top);

    m_tv = new CitationTableView(m_model);
    QHeaderView* header = m_tv->horizontalHeader();
    header->resizeSection(m_model->sectionOf(CitationTableModel::SourceId), 44);
    header->resizeSection(m_model->sectionOf(CitationTableModel::SourceDescription), 300);
    header->resizeSection(m_model->sectionOf(CitationTableModel::PageRef), 150);
    header->resizeSection(m_model->sectionOf(CitationTableModel::Topic), 130);
    m_tv->editSource = [this] { editSource(); };
    m_tv->keyR = [this] { citeActiveSource(); };
    connect(m_tv->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { selectionDidChange(); });

    m_notesTextView = new NotesTextEdit;
    m_notesTextView->setObjectName(QStringLiteral("notesTextView"));
    m_notesTextView->setPlaceholderText(L("CitationNotesPlaceholder"));
    m_notesTextView->setEnabled(false);
    m_notesTextView->commit = [this](const QString& text) {
        if (m_notesCitation && !m_notesCitation->isDeleted() && m_notesCitation->notes() != text) {
            m_notesCitation->setNotes(text);
            if (m_moc)
                m_moc->deferredSave();
        }
    };
    auto* split = new QSplitter(Qt::Vertical);
    split->setObjectName(QStringLiteral("sourcesSplitView"));
    split->setChildrenCollapsible(false);
    split->addWidget(m_tv);
    split->addWidget(m_notesTextView);
    split->setStretchFactor(0, 4);
    split->setStretchFactor(1, 1);
    layout->addWidget(split, 1);

    auto* bottom = new QHBoxLayout;
    bottom->setContentsMargins(0, 2, 0, 2);
    m_selectASourceButton = new SelectASourceButton;
    m_selectASourceButton->setText(L("CiteASource"));
    m_selectASourceButton->setIcon(QIcon());
    m_selectASourceButton->setToolTip(L("CiteASourceTip"));
    m_selectASourceButton->setDelegate(static_cast<SelectASourceDelegate*>(this));
    bottom->addWidget(m_selectASourceButton);
    m_removeButton = SourcesWindowHelpers::makeButton(QStringLiteral("removeReference"), L("RemoveCitationButton"),
        [this] { removeReference(); }, QStringLiteral("list-remove"));
    bottom->addWidget(m_removeButton);
    bottom->addStretch();
    auto* strip = new QWidget;
    strip->setFixedHeight(kStripHeight);
    strip->setLayout(bottom);
    layout->addWidget(strip);

    NotificationCenter::defaultCenter().addObserver(
        kSourceRelToBeDeleted, nullptr, [this](const Notification& n) { sourceRelToBeDeleted(n); }, this);
}

InfoArea_Sources::~InfoArea_Sources()
{
    NotificationCenter::defaultCenter().removeObserversOf(this);
}

// ---- The page protocol ----------------------------------------------------------------------------------------

void InfoArea_Sources::setSelectedPerson(FTPerson* person)
{
    // What is being typed reaches the citation before the rows are read again.
    m_tv->endEditing();
    m_notesTextView->endEditing();
    const FTSourceRel* selected = person == m_person ? m_tv->selectedCitation() : nullptr;
    m_person = person;
    m_moc = person ? person->moc() : nullptr;
    m_selectASourceButton->setMoc(m_moc);
    m_tableViewLabel->setText(person ? QStringLiteral("%1%2").arg(person->name(), L("PersonIsReferenced")) : QString());
    loadSourceRelsArray();
    if (selected)
        m_tv->selectCitation(selected);
}

void InfoArea_Sources::refreshDisplay()
{
    // The person editor refreshes right after giving the person, whose rows were read then.
    m_tv->viewport()->update();
}

void InfoArea_Sources::setFontSize(long size)
{
    if (size <= 0 || m_tv->font().pointSize() == int(size))
        return;
    SetFontSize(m_tv, int(size));
    m_tv->refreshDisplay();
}

void InfoArea_Sources::freeMemory()
{
    setSelectedPerson(nullptr);
}

void InfoArea_Sources::personToBeDeleted(const Notification& n)
{
    if (m_person && n.object == m_person)
        setSelectedPerson(nullptr);
}

bool InfoArea_Sources::endEditing()
{
    if (!m_tv->endEditing())
        return false;
    m_notesTextView->endEditing();
    return true;
}

void InfoArea_Sources::showCitation(FTSourceRel* citation)
{
    m_tv->selectCitation(citation);
}

bool InfoArea_Sources::hasSourceRels() const
{
    return m_person && m_person->hasSourceRels();
}

// ---- Rows ---------------------------------------------------------------------------------------------------------

void InfoArea_Sources::loadSourceRelsArray()
{
    try {
        m_notesCitation = nullptr;
        m_model->setPerson(m_person);
        // The table measures the new rows as they come.
        m_model->setCitations(m_person ? m_person->allSourceRels() : QList<FTSourceRel*>());
        // Resetting the rows drops the selection without a word: the notes view must not go on showing, and taking
        // typing for, a citation no longer selected.
        showNotesOf(m_tv->selectedCitation());
    } catch (...) {
        ModelHooks::reportException(__FILE__, __LINE__, QStringLiteral("loadSourceRelsArray"));
    }
}

void InfoArea_Sources::showAllFields()
{
    CitationTableModel::showSourceFields(true);
    m_tv->refreshDisplay();
}

void InfoArea_Sources::showTitleOnly()
{
    CitationTableModel::showSourceFields(false);
    m_tv->refreshDisplay();
}

void InfoArea_Sources::selectionDidChange()
{
    FTSourceRel* citation = m_tv->selectedCitation();
    if (citation == m_notesCitation)
        return;
    m_notesTextView->endEditing();
    showNotesOf(citation);
}

void InfoArea_Sources::showNotesOf(FTSourceRel* citation)
{
    m_notesCitation = citation;
    m_notesTextView->setEnabled(citation != nullptr);
    m_notesTextView->setValue(citation ? citation->notes() : QString());
}

void InfoArea_Sources::sourceRelToBeDeleted(const Notification& n)
{
    // A citation of another open database never concerns this page.
    if (!m_moc || n.context != m_moc)
        return;
    const auto* citation = static_cast<const FTSourceRel*>(n.object);
    if (citation == m_notesCitation) {
        m_notesCitation = nullptr;
        m_notesTextView->setValue(QString());
        m_notesTextView->setEnabled(false);
    }
    m_model->removeCitation(citation);
}

void InfoArea_Sources::postRefreshWhenCheckingCitations(bool condition)
{
    // The diagram marks people without citations: their first and last citations change the marks.
    if (condition && UserDefaults::standard().contains(kCheckForMissingCitations))
        NotificationCenter::defaultCenter().post(QStringLiteral("RefreshAllViews"), nullptr, m_moc);
}

// ---- Citing and removing ---------------------------------------------------------------------------------------

void InfoArea_Sources::addReference(FTSource* source)
{
    if (!m_person || !source)
        return;
    FTPerson* person = m_person;
    FTSourceRel* citation = person->addReferenceToSource(source);
    if (citation && person == m_person) {
        m_model->addCitation(citation);
        m_tv->selectCitation(citation);
    }
    postRefreshWhenCheckingCitations(person->sourceRels().size() == 1);
}

void InfoArea_Sources::selectASourceFromArray(const QList<FTSource*>& sources, const QString& criteria)
{
    if (!m_moc)
        return;
    auto* dialog = new SelectASourceDialog(m_moc, sources, window());
    dialog->setPreselectionCriteria(criteria.isEmpty() ? L("AllSourcesIncl") : criteria);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<InfoArea_Sources> self(this);
    connect(dialog, &QDialog::finished, this, [self, dialog] {
        if (!self)
            return;
        FTSource* source = dialog->selectedSource();
        self->m_tv->refreshDisplay();
        if (source
            && Utils::displayYesNoQuery(
                QStringLiteral("%1:\n\n%2").arg(L("AddSourceReference"), source->shortDescriptionWithNumericId()),
                L("AddRef"), L("Cancel")))
            self->addReference(source);
    });
    dialog->open();
}

void InfoArea_Sources::removeReference()
{
    if (!endEditing())
        return;
    FTSourceRel* citation = m_tv->selectedCitation();
    if (!citation || !m_person) {
        DisplayMsg(L("SelectSourceRefTryAgain"));
        return;
    }
    FTPerson* person = m_person;
    const int number = citation->source() ? citation->source()->numericId() : 0;
    if (Utils::displayYesNoQuery(
            QStringLiteral("%1: %2?").arg(L("RemoveReference")).arg(number), L("Delete"), L("Cancel"))) {
        m_moc->undoManager()->setActionName(L("DeleteSourceRef"));
        // The deletion's notice takes the row out of the table.
        m_moc->deleteObject(citation);
        m_model->removeCitation(citation);
        loadSourceRelsArray();
    }
    postRefreshWhenCheckingCitations(person->sourceRels().isEmpty());
}

void InfoArea_Sources::editSource()
{
    if (!endEditing())
        return;
    FTSourceRel* citation = m_tv->selectedCitation();
    if (!citation || !citation->source()) {
        DisplayMsg(L("SelectSourceTryAgain"));
        return;
    }
    DOvurDocument* doc = SourcesMenuActions::documentOf(m_moc);
    if (!doc || !doc->dovurWindow())
        return;
    auto* editor = new SourcesAddModDel(m_moc, citation->source());
    QPointer<InfoArea_Sources> self(this);
    connect(editor, &QDialog::finished, this, [self] {
        if (self)
            self->m_tv->refreshDisplay();
    });
    doc->beginSheet(editor);
}

void InfoArea_Sources::citeActiveSource()
{
    if (!m_moc)
        return;
    if (FTSource* active = m_moc->activeSource()) {
        addReference(active);
        return;
    }
    if (Prompts::current().choose(L("SourcesTableText"), L("SourcesTableInfo"), { L("ActivateSource"), L("Cancel") })
        == 0)
        SourcesMenuActions::sourcesAddModDel(m_moc, nullptr);
}

void InfoArea_Sources::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgbF(0.95f, 0.95f, 0.95f));
    painter.fillRect(QRect(0, height() - kStripHeight, width(), kStripHeight),
        UserDefaults::standard().colorForKey(QStringLiteral("mainWindowBgColour")));
    EditorPage::paintEvent(event);
}
