#include "tools/ui/EventPlacesFindAndReplace.h"

#include "tools/PlaceReplacementModel.h"
#include "tools/ui/ToolsWindowHelpers.h"

#include "sources/ui/SourcesWindowHelpers.h"

#include "editor/ui/EditorTableView.h"

#include "shell/ui/WindowProgress.h"

#include "model/FTMoc.h"

#include "platform/Localizer.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QVBoxLayout>

namespace {
QSize g_prevSize(0, 0); // none until the first window closes
constexpr int kFontSize = 11;

QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }
}

QSize EventPlacesFindAndReplace::prevSize() { return g_prevSize; }

void EventPlacesFindAndReplace::setPrevSize(const QSize& size) { g_prevSize = size; }

EventPlacesFindAndReplace::EventPlacesFindAndReplace(FTMoc* moc, QWidget* parent)
    : QDialog(parent)
    , m_replacement(moc)
{
    setObjectName(QStringLiteral("EventPlacesFindAndReplace"));
    setWindowTitle(L("EventFindAndReplace"));
    auto* layout = new QVBoxLayout(this);

    auto* fields = new QFormLayout;
    fields->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    m_filterSearchField = ToolsWindowHelpers::makeSearchField(QStringLiteral("filterSearchField"), L("FindPlaceTextPlaceholder"));
    connect(m_filterSearchField, &QLineEdit::textChanged, this, [this](const QString& text) { findString(text); });
    fields->addRow(L("FindPlaceText"), m_filterSearchField);
    m_replacementTextField = new QLineEdit;
    m_replacementTextField->setObjectName(QStringLiteral("replacementTextField"));
    m_replacementTextField->setClearButtonEnabled(true);
    m_replacementTextField->setPlaceholderText(L("ReplacementPlaceholder"));
    connect(m_replacementTextField, &QLineEdit::textChanged, this,
        [this](const QString& text) { replacementTextChanged(text); });
    fields->addRow(L("ReplaceWithLabel"), m_replacementTextField);
    layout->addLayout(fields);

    m_model = new PlaceReplacementModel(m_replacement, this);
    m_tv = ToolsWindowHelpers::makeTextTable(QStringLiteral("tv"), m_model, true, kFontSize);
    m_tv->horizontalHeader()->resizeSection(PlaceReplacementModel::PlaceNameColumn, 330);
    layout->addWidget(m_tv, 1);

    auto* bottom = new QHBoxLayout;
    m_progressIndicator = new QProgressBar;
    m_progressIndicator->setObjectName(QStringLiteral("progressIndicator"));
    m_progressIndicator->setRange(0, 100);
    m_progressIndicator->setTextVisible(false);
    m_progressIndicator->hide();
    bottom->addWidget(m_progressIndicator, 1);
    m_numUpdated = new QLabel;
    m_numUpdated->setObjectName(QStringLiteral("numUpdated"));
    bottom->addWidget(m_numUpdated);
    bottom->addStretch();
    bottom->addWidget(SourcesWindowHelpers::makeButton(QStringLiteral("replaceSelectedPlaceNames"),
        L("ReplaceSelectedPlaces"), [this] { replaceSelectedPlaceNames(); }, QStringLiteral("edit-find-replace")));
    bottom->addWidget(SourcesWindowHelpers::makeCloseButton([this] { done(0); }));
    layout->addLayout(bottom);

    SourcesWindowHelpers::usePanelColour(this);
    resize(720, 520);
    if (g_prevSize.width() > 0)
        resize(g_prevSize);
    m_model->reset();
}

EventPlacesFindAndReplace::~EventPlacesFindAndReplace() = default;

void EventPlacesFindAndReplace::findString(const QString& text)
{
    m_replacement.setFindString(text);
    m_model->reset();
}

void EventPlacesFindAndReplace::replacementTextChanged(const QString& text)
{
    m_replacement.setReplacementString(text);
    // The second column shows what each place becomes as the replacement is typed; the selection stays.
    if (m_model->rowCount() > 0)
        Q_EMIT m_model->dataChanged(m_model->index(0, PlaceReplacementModel::ReplacementPlaceNameColumn),
            m_model->index(m_model->rowCount() - 1, PlaceReplacementModel::ReplacementPlaceNameColumn));
}

void EventPlacesFindAndReplace::selectPlaces(const QStringList& places)
{
    const QSet<QString> wanted(places.begin(), places.end());
    QItemSelection selection;
    const QStringList& found = m_replacement.foundPlaces();
    for (int row = 0; row < found.size(); ++row)
        if (wanted.contains(found[row]))
            selection.select(m_model->index(row, 0), m_model->index(row, PlaceReplacementModel::ColumnCount - 1));
    m_tv->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void EventPlacesFindAndReplace::replaceSelectedPlaceNames()
{
    const QList<int> rows = ToolsWindowHelpers::selectedRows(m_tv);
    m_progressIndicator->setValue(0);
    m_progressIndicator->show();
    m_numUpdated->clear();
    WindowProgress progress(m_numUpdated, m_progressIndicator);
    QItemSelectionModel* selection = m_tv->selectionModel();
    const PlacesReplacement::Outcome outcome = m_replacement.replaceSelectedPlaceNames(rows, [this, selection](int row) {
        selection->select(m_model->index(row, 0), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    }, &progress, [this](int row) { m_tv->scrollTo(m_model->index(row, 0)); });
    m_progressIndicator->hide();
    m_numUpdated->clear();
    if (!outcome.ran)
        return;
    // Every place again, none selected, the find and replacement texts cleared.
    selection->clearSelection();
    const QSignalBlocker blockFind(m_filterSearchField);
    const QSignalBlocker blockReplacement(m_replacementTextField);
    m_filterSearchField->clear();
    m_replacementTextField->clear();
    m_model->reset();
    m_tv->scrollToTop();
    m_progressIndicator->setValue(0);
}

void EventPlacesFindAndReplace::done(int result)
{
    if (isVisible()) {
        if (FTMoc* moc = m_replacement.moc())
            moc->saveMoc();
        g_prevSize = size();
    }
    QDialog::done(result);
}
