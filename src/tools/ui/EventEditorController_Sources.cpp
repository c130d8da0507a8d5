// The event editor's citations: the table of the citations page, on the event.

#include "tools/ui/EventEditorController.h"

#include "sources/CitationTableModel.h"
#include "sources/ui/CitationPanes.h"
#include "sources/ui/CitationTableView.h"
#include "sources/ui/SelectASourceButton.h"
#include "sources/ui/SelectASourceDialog.h"
#include "sources/ui/SourcesAddModDel.h"
#include "sources/ui/SourcesWindowHelpers.h"

#include "editor/ui/NotesTextEdit.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPerson.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace {
QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }
}

QWidget* EventEditorController::buildCitations()
{
    m_citations = new CitationTableModel(
        {CitationTableModel::SourceDescription, CitationTableModel::PageRef, CitationTableModel::Topic}, this);

    auto* pane = new QWidget;
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* heading = new QLabel(L("EventCitationsLabel"));
    heading->setObjectName(QStringLiteral("citationsLabel"));
    layout->addLayout(CitationPanes::makeHeadingRow(heading, [this] { refreshDisplay(); }, true));

    m_tv = new CitationTableView(m_citations);
    m_tv->setObjectName(QStringLiteral("sourceRelsTableView"));
    QHeaderView* header = m_tv->horizontalHeader();
    header->resizeSection(m_citations->sectionOf(CitationTableModel::SourceDescription), 240);
    // The page column is narrow, but never narrower than its heading.
    const int pageRef = m_citations->sectionOf(CitationTableModel::PageRef);
    const QString pageRefTitle = m_citations->headerData(pageRef, Qt::Horizontal, Qt::DisplayRole).toString();
    header->resizeSection(pageRef, std::max(110, header->fontMetrics().horizontalAdvance(pageRefTitle) + 24));
    // The table has no source number column; the sources editor opens from its button.
    m_tv->editSource = [this] { editSources(); };
    m_tv->keyR = [this] { citeActiveSource(); };
    connect(m_tv->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        FTSourceRel* citation = m_tv->selectedCitation();
        if (citation == m_notesCitation)
            return;
        m_citationNotes->endEditing();
        showNotesOf(citation);
    });

    m_citationNotes = new NotesTextEdit;
    m_citationNotes->setObjectName(QStringLiteral("citationNotes"));
    m_citationNotes->setPlaceholderText(L("CitationNotesPlaceholder"));
    m_citationNotes->setEnabled(false);
    m_citationNotes->commit = [this](const QString& text) {
        if (m_notesCitation && !m_notesCitation->isDeleted() && m_notesCitation->notes() != text)
            m_notesCitation->setNotes(text);
    };
    m_split = new QSplitter(Qt::Horizontal);
    m_split->setObjectName(QStringLiteral("verticalSplitView"));
    m_split->setChildrenCollapsible(false);
    m_split->addWidget(m_tv);
    m_split->addWidget(m_citationNotes);
    m_split->setStretchFactor(0, 3);
    m_split->setStretchFactor(1, 1);
    layout->addWidget(m_split, 1);

    auto* buttons = new QHBoxLayout;
    m_selectASourceButton = CitationPanes::makeCiteASourceButton(
        m_moc, static_cast<SelectASourceDelegate*>(this), L("CiteASourceForEventTip"));
    buttons->addWidget(m_selectASourceButton);
    buttons->addWidget(SourcesWindowHelpers::makeButton(QStringLiteral("removeReference"), L("RemoveCitationButton"),
        [this] { removeReference(); }, QStringLiteral("list-remove")));
    buttons->addWidget(SourcesWindowHelpers::makeButton(
        QStringLiteral("editSources"), L("EditSourceButton"), [this] { editSources(); }, QStringLiteral("document-edit")));
    buttons->addStretch();
    layout->addLayout(buttons);

    // A citation deleted elsewhere (its citation sheet) leaves the table, as a bound list would.
    NotificationCenter::defaultCenter().addObserver(
        QStringLiteral("SourceRelToBeDeleted"), nullptr,
        [this](const Notification& n) {
            if (!m_moc || n.context != m_moc)
                return;
            const auto* citation = static_cast<const FTSourceRel*>(n.object);
            if (citation == m_notesCitation)
                showNotesOf(nullptr);
            m_citations->removeCitation(citation);
        },
        this);
    return pane;
}

void EventEditorController::loadSourceRels()
{
    m_citations->setCitations(m_event ? m_event->sourceRels() : QList<FTSourceRel*>());
    showNotesOf(m_tv->selectedCitation());
}

void EventEditorController::showNotesOf(FTSourceRel* citation)
{
    m_notesCitation = citation;
    m_citationNotes->setEnabled(citation != nullptr);
    m_citationNotes->setValue(citation ? citation->notes() : QString());
}

void EventEditorController::addReference(FTSource* source)
{
    if (!m_event || !source)
        return;
    if (FTSourceRel* citation = m_event->addReferenceToSource(source)) {
        if (citation->isDeleted())
            return;
        m_citations->addCitation(citation);
        m_tv->selectCitation(citation);
        refreshDisplay();
    }
}

void EventEditorController::selectASourceFromArray(const QList<FTSource*>& sources, const QString& criteria)
{
    if (!m_moc)
        return;
    auto* dialog = new SelectASourceDialog(m_moc, sources, this);
    dialog->setPreselectionCriteria(criteria.isEmpty() ? L("AllSourcesIncl") : criteria);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<EventEditorController> self(this);
    connect(dialog, &QDialog::finished, this, [self, dialog] {
        if (!self)
            return;
        FTSource* source = dialog->selectedSource();
        self->refreshDisplay();
        if (source
            && Utils::displayYesNoQuery(
                QStringLiteral("%1:\n\n%2").arg(L("AddSourceReference"), source->shortDescriptionWithNumericId()),
                L("AddRef"), L("Cancel")))
            self->addReference(source);
    });
    dialog->open();
}

void EventEditorController::removeReference()
{
    if (!m_tv->endEditing())
        return;
    m_citationNotes->endEditing();
    FTSourceRel* citation = m_tv->selectedCitation();
    if (!citation || !m_moc) {
        DisplayMsg(L("SelectSourceTryAgain"));
        return;
    }
    const int number = citation->source() ? citation->source()->numericId() : 0;
    if (!Utils::displayYesNoQuery(
            QStringLiteral("%1: %2?").arg(L("RemoveReference")).arg(number), L("Delete"), L("Cancel")))
        return;
    m_moc->undoManager()->setActionName(L("DeleteSourceRef"));
    if (citation == m_notesCitation)
        showNotesOf(nullptr);
    m_citations->removeCitation(citation);
    m_moc->deleteObject(citation);
    // Saved at once; nothing else is told: only this editor shows the event's citations.
    m_moc->saveMoc();
}

void EventEditorController::editSources()
{
    CitationPanes::editSelectedSource(m_tv, m_moc, this, [this] { refreshDisplay(); });
}

void EventEditorController::showAllFields()
{
    CitationTableModel::showSourceFields(true);
    refreshDisplay();
}

void EventEditorController::showTitleOnly()
{
    CitationTableModel::showSourceFields(false);
    refreshDisplay();
}

void EventEditorController::refreshDisplay()
{
    m_tv->refreshDisplay();
}

void EventEditorController::citeActiveSource()
{
    if (!m_moc)
        return;
    if (FTSource* active = m_moc->activeSource()) {
        if (FTPerson* person = m_moc->selectedPerson())
            person->addReferenceToSource(active);
        return;
    }
    if (Prompts::current().choose(L("SourcesTableText"), L("SourcesTableInfo"), {L("ActivateSource"), L("Cancel")})
        != 0)
        return;
    // The sources editor, where a source can be made active, on this editor: its window has a sheet already.
    auto* editor = new SourcesAddModDel(m_moc, nullptr, this);
    editor->setWindowModality(Qt::WindowModal);
    editor->setAttribute(Qt::WA_DeleteOnClose);
    editor->open();
}
