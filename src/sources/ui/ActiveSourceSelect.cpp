#include "sources/ui/ActiveSourceSelect.h"

#include "sources/CitationOwnerPromotion.h"
#include "sources/SourceCatalogue.h"
#include "sources/SourceHooks.h"
#include "sources/WhereUsedModel.h"
#include "sources/ui/SelectASourceButton.h"
#include "sources/ui/SourcesMenuActions.h"
#include "sources/ui/SourcesWindowHelpers.h"

#include "shell/ui/DOvurDocument.h"
#include "shell/ui/ToolbarController.h"

#include "model/FTMoc.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"

#include "platform/Localizer.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {
QSize g_prevSize;
constexpr int kFontSize = 11;

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

QSize ActiveSourceSelect::prevSize()
{
    return g_prevSize;
}

void ActiveSourceSelect::setPrevSize(const QSize& size)
{
    g_prevSize = size;
}

void ActiveSourceSelect::selectActiveSource(DOvurDocument* document)
{
    if (!document)
        return;
    FTMoc* moc = document->moc();
    if (!moc->activeSource()) {
        SourcesMenuActions::sourcesAddModDel(moc, nullptr);
    } else {
        document->endEditing();
        ActiveSourceSelect panel(moc, document->dovurWindow());
        if (panel.exec() == 1)
            SourcesMenuActions::sourcesAddModDel(moc, nullptr);
    }
    if (ToolbarController* toolbar = document->toolbarController())
        toolbar->setActiveSourceButtonCell();
}

ActiveSourceSelect::ActiveSourceSelect(FTMoc* moc, QWidget* parent)
    : QDialog(parent)
    , m_moc(moc)
{
    setObjectName(QStringLiteral("ActiveSourceSelect"));
    setWindowTitle(L("ActiveSourcePanelTitle"));
    auto* layout = new QVBoxLayout(this);

    auto* sourceRow = new QHBoxLayout;
    m_sourceLabel = SourcesWindowHelpers::makeSourceLabel(QStringLiteral("activeSource"));
    sourceRow->addWidget(m_sourceLabel, 1);
    m_selectASourceButton = new SelectASourceButton;
    m_selectASourceButton->setText(L("ChooseActiveSource"));
    m_selectASourceButton->setMoc(moc);
    m_selectASourceButton->setDelegate(static_cast<SelectASourceDelegate*>(this));
    sourceRow->addWidget(m_selectASourceButton, 0, Qt::AlignTop);
    layout->addLayout(sourceRow);

    m_citations = new WhereUsedModel(this);
    m_tv = SourcesWindowHelpers::makeListTable(QStringLiteral("tv"), m_citations, false, kFontSize);
    m_tv->horizontalHeader()->resizeSection(WhereUsedModel::WhereUsedColumn, 320);
    m_tv->horizontalHeader()->resizeSection(WhereUsedModel::PageRefColumn, 150);
    m_tv->horizontalHeader()->setStretchLastSection(true);
    connect(m_tv, &QTableView::doubleClicked, this, [this] { promoteToFocalPerson(); });

    m_notesTextView = SourcesWindowHelpers::makeNotesView(13);
    layout->addWidget(SourcesWindowHelpers::stackTableOverNotes(m_tv, m_notesTextView), 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SourcesWindowHelpers::makeButton(QStringLiteral("promoteToFocalPerson"),
        L("PromoteToFocalPerson"), [this] { promoteToFocalPerson(); }, QStringLiteral("go-jump")));
    buttons->addStretch();
    buttons->addWidget(SourcesWindowHelpers::makeButton(QStringLiteral("deactivateActiveSource"),
        L("SourcesDeactivateButton"), [this] { deactivateActiveSource(); }));
    buttons->addWidget(SourcesWindowHelpers::makeButton(QStringLiteral("changeActiveSource"),
        L("ChangeActiveSourceButton"), [this] { changeActiveSource(); }));
    buttons->addWidget(SourcesWindowHelpers::makeCloseButton([this] { done(0); }));
    layout->addLayout(buttons);
    SourcesWindowHelpers::usePanelColour(this);

    connect(m_tv->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { selectionDidChange(); });
    resize(720, 440);
    if (g_prevSize.width() > 0)
        resize(g_prevSize);
    showActiveSource();
}

ActiveSourceSelect::~ActiveSourceSelect() = default;

void ActiveSourceSelect::showActiveSource()
{
    FTSource* active = m_moc->activeSource();
    m_sourceLabel->setText(active ? active->shortDescriptionWithNumericId() : QString());
    m_citations->setSource(active);
    selectionDidChange();
}

FTSourceRel* ActiveSourceSelect::selectedCitation() const
{
    return SourcesWindowHelpers::selectedCitation(m_tv, m_citations);
}

void ActiveSourceSelect::selectionDidChange()
{
    const FTSourceRel* citation = selectedCitation();
    m_notesTextView->setPlainText(citation ? citation->notes() : QString());
}

void ActiveSourceSelect::addReference(FTSource* source)
{
    if (!source)
        return;
    m_moc->setActiveSource(source);
    m_moc->setActiveSourcePageRef(QString());
    SourceHooks::noteActiveSourceChanged(*m_moc);
    showActiveSource();
}

void ActiveSourceSelect::deactivateActiveSource()
{
    SourceCatalogue::deactivateActiveSource(m_moc);
    done(0);
}

void ActiveSourceSelect::changeActiveSource()
{
    done(1);
}

void ActiveSourceSelect::promoteToFocalPerson()
{
    if (FTSourceRel* citation = selectedCitation())
        CitationOwnerPromotion::promoteToFocalPerson(citation);
}

void ActiveSourceSelect::done(int result)
{
    g_prevSize = size();
    QDialog::done(result);
}
