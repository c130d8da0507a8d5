#include "sources/ui/ReviewSourceReferences.h"

#include "sources/CitationOwnerPromotion.h"
#include "sources/SourceReferencesReport.h"
#include "sources/WhereUsedModel.h"
#include "sources/ui/SelectASourceButton.h"
#include "sources/ui/SourcesAddModDel.h"
#include "sources/ui/SourcesWindowHelpers.h"

#include "shell/DisplayMsg.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/PersonEditorPane.h"

#include "model/FTMoc.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"

#include "platform/Localizer.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
QSize g_prevSize(0, 0); // none until the first review closes
constexpr int kFontSize = 11;
constexpr int kNotesFontSize = 12;

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

QSize ReviewSourceReferences::prevSize()
{
    return g_prevSize;
}

void ReviewSourceReferences::setPrevSize(const QSize& size)
{
    g_prevSize = size;
}

void ReviewSourceReferences::run(FTMoc* moc, DOvurDocument* document, FTSource* source, QWidget* parent)
{
    if (!moc)
        return;
    ReviewSourceReferences review(moc, document, source, parent);
    review.exec();
}

ReviewSourceReferences::ReviewSourceReferences(FTMoc* moc, DOvurDocument* document, FTSource* source, QWidget* parent)
    : QDialog(parent)
    , m_review(moc, source)
    , m_document(document)
{
    setObjectName(QStringLiteral("ReviewSourceReferences"));
    setWindowTitle(L("ReviewSourceRefsTitle"));
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    m_sourceLabel = SourcesWindowHelpers::makeSourceLabel(QStringLiteral("source"));
    m_sourceLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_sourceLabel->setMinimumHeight(m_sourceLabel->fontMetrics().lineSpacing() * 4);
    top->addWidget(m_sourceLabel, 1);

    auto* steps = new QVBoxLayout;
    m_selectASourceButton = new SelectASourceButton;
    m_selectASourceButton->setText(L("ReviewChooseSource"));
    m_selectASourceButton->setMoc(moc);
    m_selectASourceButton->setDelegate(static_cast<SelectASourceDelegate*>(this));
    m_selectASourceButton->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    steps->addWidget(m_selectASourceButton);
    auto* stepRow = new QHBoxLayout;
    stepRow->addWidget(SourcesWindowHelpers::makeButton(
        QStringLiteral("previousSource"), L("ReviewPreviousSource"), [this] { previousSource(); },
        QStringLiteral("go-previous")));
    m_sourceCountLabel = new QLabel;
    m_sourceCountLabel->setObjectName(QStringLiteral("sourceCount"));
    m_sourceCountLabel->setAlignment(Qt::AlignCenter);
    m_sourceCountLabel->setMinimumWidth(
        m_sourceCountLabel->fontMetrics().horizontalAdvance(QStringLiteral("00000 %1 00000").arg(L("ConjunctiveOf"))));
    stepRow->addWidget(m_sourceCountLabel);
    stepRow->addWidget(SourcesWindowHelpers::makeButton(
        QStringLiteral("nextSource"), L("ReviewNextSource"), [this] { nextSource(); }, QStringLiteral("go-next")));
    steps->addLayout(stepRow);
    steps->addStretch();
    top->addLayout(steps);
    layout->addLayout(top);

    m_citations = new WhereUsedModel(this);
    m_tv = SourcesWindowHelpers::makeListTable(QStringLiteral("tv"), m_citations, false, kFontSize);
    m_tv->horizontalHeader()->resizeSection(WhereUsedModel::WhereUsedColumn, 360);
    m_tv->horizontalHeader()->resizeSection(WhereUsedModel::PageRefColumn, 150);
    m_tv->horizontalHeader()->setStretchLastSection(true);
    connect(m_tv->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { selectionDidChange(); });

    m_notesTextView = SourcesWindowHelpers::makeNotesView(kNotesFontSize);
    layout->addWidget(SourcesWindowHelpers::stackTableOverNotes(m_tv, m_notesTextView), 1);

    auto* buttons = new QHBoxLayout;
    m_showMeButton = SourcesWindowHelpers::makeButton(
        QStringLiteral("showMeButton"), L("ShowMe"), [this] { promoteToFocalPerson(); }, QStringLiteral("go-jump"));
    m_showMeHelpButton
        = SourcesWindowHelpers::makeHelpButton(QStringLiteral("showMeHelpButton"), [this] { helpForShowMeButton(); });
    m_editSourceButton = SourcesWindowHelpers::makeButton(
        QStringLiteral("editSourceButton"), L("ReviewEditSource"), [this] { editCurrentSource(); },
        QStringLiteral("document-edit"));
    buttons->addWidget(m_showMeButton);
    buttons->addWidget(m_showMeHelpButton);
    buttons->addWidget(m_editSourceButton);
    buttons->addStretch();
    buttons->addWidget(SourcesWindowHelpers::makeButton(
        QStringLiteral("sortByFamilyName"), L("ReviewSortByFamilyName"), [this] { sortByFamilyName(); },
        QStringLiteral("view-sort-ascending")));
    buttons->addWidget(SourcesWindowHelpers::makeButton(
        QStringLiteral("print"), L("ReviewWriteReport"), [this] { print(); }, QStringLiteral("document-save")));
    buttons->addWidget(SourcesWindowHelpers::makeCloseButton([this] { done(0); }));
    layout->addLayout(buttons);
    // Making a person focal and editing the source belong to the database's main window.
    if (!m_document) {
        m_showMeButton->hide();
        m_showMeHelpButton->hide();
        m_editSourceButton->hide();
    }
    SourcesWindowHelpers::usePanelColour(this);

    m_review.sourceChanged = [this] { showSource(); };
    resize(760, 520);
    if (g_prevSize.width() > 0)
        resize(g_prevSize);
    showSource();
    m_tv->setFocus();
}

ReviewSourceReferences::~ReviewSourceReferences() = default;

void ReviewSourceReferences::showSource()
{
    const FTSource* source = m_review.source();
    m_sourceLabel->setText(source ? source->shortDescriptionWithNumericId() : QString());
    m_sourceCountLabel->setText(m_review.sourceCount());
    m_citations->setSource(m_review.source());
    selectionDidChange();
}

FTSourceRel* ReviewSourceReferences::selectedCitation() const
{
    return SourcesWindowHelpers::selectedCitation(m_tv, m_citations);
}

void ReviewSourceReferences::selectionDidChange()
{
    const FTSourceRel* citation = selectedCitation();
    m_notesTextView->setPlainText(citation && !citation->isDeleted() ? citation->notes() : QString());
}

void ReviewSourceReferences::addReference(FTSource* source)
{
    if (!source)
        return;
    m_review.showSource(source);
    showSource();
}

void ReviewSourceReferences::nextSource()
{
    if (m_review.nextSource())
        showSource();
    m_tv->setFocus();
}

void ReviewSourceReferences::previousSource()
{
    if (m_review.previousSource())
        showSource();
    m_tv->setFocus();
}

void ReviewSourceReferences::editCurrentSource()
{
    auto* editor = new SourcesAddModDel(m_review.moc(), m_review.source(), this);
    editor->setAttribute(Qt::WA_DeleteOnClose);
    // What the editor changed (fields, citations moved by a merge) shows when it closes.
    connect(editor, &QDialog::finished, this, [this] { showSource(); });
    editor->setWindowModality(Qt::WindowModal);
    editor->open();
}

void ReviewSourceReferences::helpForShowMeButton()
{
    DisplayMsg(LocalizedHelpString(QStringLiteral("helpForReviewSourceRefsShowMe")));
}

void ReviewSourceReferences::promoteToFocalPerson()
{
    FTSourceRel* citation = selectedCitation();
    if (!citation || citation->isDeleted())
        return;
    CitationOwnerPromotion::promoteToFocalPerson(citation);
    if (m_document)
        if (PersonEditorPane* editor = m_document->pInfoArea())
            editor->showCitation(citation);
}

void ReviewSourceReferences::sortByFamilyName()
{
    m_citations->sortByFamilyName();
    selectionDidChange();
}

QString ReviewSourceReferences::print()
{
    return SourceReferencesReport::print(m_review.source());
}

void ReviewSourceReferences::done(int result)
{
    g_prevSize = size();
    QDialog::done(result);
}
