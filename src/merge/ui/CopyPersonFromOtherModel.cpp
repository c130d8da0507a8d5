#include "merge/ui/CopyPersonFromOtherModel.h"

#include "merge/PersonCopier.h"
#include "merge/ui/CopyOutlineModel.h"

#include "sources/ui/SourcesWindowHelpers.h"

#include "shell/Utils.h"
#include "shell/ui/WindowProgress.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/Hierarchy.h"

#include "platform/Localizer.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>
#include <QTreeView>
#include <QVBoxLayout>

namespace {
constexpr int kOutlineFontSize = 11;

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

CopyPersonFromOtherModel::CopyPersonFromOtherModel(FTPerson* sourcePerson, FTPerson* owner, long ancLevel,
                                                   int pcRelType, QWidget* parent)
    : QDialog(parent)
    , m_copier(std::make_unique<PersonCopier>(sourcePerson, owner, ancLevel, pcRelType))
{
    setObjectName(QStringLiteral("CopyPersonFromOtherModel"));
    setWindowTitle(m_copier->windowTitle());
    buildWindow();
    SourcesWindowHelpers::usePanelColour(this);
    expandAll();
    setIncludeAncestors(false);
}

CopyPersonFromOtherModel::~CopyPersonFromOtherModel()
{
    m_copier->setProgress(nullptr);
}

void CopyPersonFromOtherModel::setBackupPanel(BackupPanel* panel)
{
    m_copier->setBackupPanel(panel);
}

void CopyPersonFromOtherModel::buildWindow()
{
    auto* layout = new QVBoxLayout(this);

    // Who is copied, and into which box.
    FTPerson* person = m_copier->initialSourcePerson();
    auto* personField = new QLabel(person ? person->nameWithBirthAndDeathYears() : QString(), this);
    personField->setObjectName(QStringLiteral("personField"));
    QFont bold = personField->font();
    bold.setBold(true);
    personField->setFont(bold);
    layout->addWidget(personField);
    m_targetField = new QLabel(m_copier->targetText(), this);
    m_targetField->setObjectName(QStringLiteral("targetField"));
    m_targetField->setWordWrap(true);
    layout->addWidget(m_targetField);
    layout->addSpacing(6);

    m_includeButton = new QCheckBox(m_copier->includeTitle(), this);
    m_includeButton->setObjectName(QStringLiteral("includeButton"));
    connect(m_includeButton, &QCheckBox::toggled, this, &CopyPersonFromOtherModel::setIncludeAncestors);
    layout->addWidget(m_includeButton);

    m_descendantsOfAncestorsButton = new QCheckBox(L("CopyIncludeDescendantsOfAncestors"), this);
    m_descendantsOfAncestorsButton->setObjectName(QStringLiteral("includeDescendantsOfAncestors"));
    connect(m_descendantsOfAncestorsButton, &QCheckBox::toggled, this,
            [this](bool on) { m_copier->includeDescendantsOfAncestors = on; });
    layout->addWidget(m_descendantsOfAncestorsButton);

    m_backupButton = new QCheckBox(L("CopyBackupFirst"), this);
    m_backupButton->setObjectName(QStringLiteral("backupBeforeCopy"));
    m_backupButton->setChecked(m_copier->backupBeforeCopy);
    connect(m_backupButton, &QCheckBox::toggled, this, [this](bool on) { m_copier->backupBeforeCopy = on; });
    layout->addWidget(m_backupButton);

    auto* labelRow = new QHBoxLayout;
    m_olvLabel = new QLabel(L("SelCopyPeople"), this);
    m_olvLabel->setWordWrap(true);
    labelRow->addWidget(m_olvLabel, 1);
    m_expandButton = SourcesWindowHelpers::makeButton(QStringLiteral("expandAll"), L("CopyExpandAll"),
                                                      [this] { expandAll(); }, QStringLiteral("go-down"));
    labelRow->addWidget(m_expandButton);
    layout->addLayout(labelRow);

    m_model = new CopyOutlineModel(m_copier->outline(), this);
    m_olv = new QTreeView(this);
    m_olv->setObjectName(QStringLiteral("olv"));
    m_olv->setModel(m_model);
    m_olv->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_olv->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_olv->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_olv->setUniformRowHeights(true);
    m_olv->setAlternatingRowColors(true);
    QFont small = m_olv->font();
    small.setPointSize(kOutlineFontSize);
    m_olv->setFont(small);
    m_olv->setIndentation(14);
    // A long line of generations is wider than the window: it scrolls rather than cutting names short.
    m_olv->header()->setStretchLastSection(false);
    // Sized once the rows are open (expandAll): sizing to the contents at every change would measure every row
    // each time a row opens.
    m_olv->header()->setSectionResizeMode(QHeaderView::Interactive);
    connect(m_olv->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CopyPersonFromOtherModel::selectionDidChange);
    layout->addWidget(m_olv, 1);

    m_personsDetails = new QTextEdit(this);
    m_personsDetails->setObjectName(QStringLiteral("personsDetails"));
    m_personsDetails->setReadOnly(true);
    m_personsDetails->setLineWrapMode(QTextEdit::NoWrap);
    m_personsDetails->hide();
    layout->addWidget(m_personsDetails, 1);

    m_progressIndicator = new QProgressBar(this);
    m_progressIndicator->setRange(0, 100);
    m_progressIndicator->setTextVisible(false);
    m_progressIndicator->hide();
    layout->addWidget(m_progressIndicator);
    // The copy redraws the bar as it goes.
    m_progress = std::make_unique<WindowProgress>(nullptr, m_progressIndicator);
    m_copier->setProgress(m_progress.get());

    auto* buttons = new QHBoxLayout;
    m_printButton = SourcesWindowHelpers::makeButton(QStringLiteral("printButton"), L("CopyOpenReport"),
                                                     [this] { print(); }, QStringLiteral("document-open"));
    m_printButton->hide();
    buttons->addWidget(m_printButton);
    buttons->addStretch(1);
    QPushButton* close = SourcesWindowHelpers::makeButton(QStringLiteral("closeButton"), L("Close"),
                                                          [this] { reject(); }, QStringLiteral("window-close"));
    buttons->addWidget(close);
    m_copyButton = SourcesWindowHelpers::makeButton(QStringLiteral("copyButton"), L("Copy"), [this] { copy(); },
                                                    QStringLiteral("edit-copy"));
    m_copyButton->setDefault(true);
    buttons->addWidget(m_copyButton);
    layout->addLayout(buttons);

    setMinimumWidth(560);
}

void CopyPersonFromOtherModel::expandAll()
{
    // Every row opens: a repeated person's row has nothing under it, so this ends however collapsed the pedigree.
    m_olv->collapseAll();
    m_olv->expandAll();
    m_olv->resizeColumnToContents(CopyOutlineModel::NameColumn);
    m_olv->resizeColumnToContents(CopyOutlineModel::LevelColumn);
    selectAllRows();
}

void CopyPersonFromOtherModel::selectAllRows()
{
    QItemSelection all;
    const QModelIndex root = m_model->index(0, 0);
    all.select(root, m_model->index(0, CopyOutlineModel::ColumnCount - 1));
    for (Hierarchy* node : m_copier->outline().rows()) {
        const int under = m_model->rowCount(m_model->indexOf(node));
        if (under == 0)
            continue;
        const QModelIndex parent = m_model->indexOf(node);
        all.select(m_model->index(0, 0, parent), m_model->index(under - 1, CopyOutlineModel::ColumnCount - 1, parent));
    }
    m_olv->selectionModel()->select(all, QItemSelectionModel::ClearAndSelect);
    m_copier->outline().setAllSelected(true);
}

void CopyPersonFromOtherModel::selectionDidChange(const QItemSelection& selected, const QItemSelection& deselected)
{
    CopyOutline& outline = m_copier->outline();
    for (const QModelIndex& index : deselected.indexes())
        if (index.column() == 0)
            outline.setSelected(m_model->node(index), false);
    for (const QModelIndex& index : selected.indexes())
        if (index.column() == 0)
            outline.setSelected(m_model->node(index), true);
    // A selected row brings its owner's row, so the selection always reaches back to the person copied. From the
    // last row up: an owner stands above its rows, so one pass carries a whole line.
    QItemSelection owners;
    const QList<Hierarchy*>& rows = outline.rows();
    for (qsizetype i = rows.size() - 1; i >= 1; --i) {
        Hierarchy* owner = rows[i]->owner();
        if (!owner || !outline.isSelected(rows[i]) || outline.isSelected(owner))
            continue;
        outline.setSelected(owner, true);
        const QModelIndex o = m_model->indexOf(owner);
        owners.select(o, o.siblingAtColumn(CopyOutlineModel::ColumnCount - 1));
    }
    if (!owners.isEmpty())
        m_olv->selectionModel()->select(owners, QItemSelectionModel::Select);
}

void CopyPersonFromOtherModel::setIncludeAncestors(bool on)
{
    m_copier->setIncludeAncestors(on);
    if (m_includeButton->isChecked() != on)
        m_includeButton->setChecked(on);
    const bool showOutline = on && !m_personsDetails->isVisible();
    m_olvLabel->setVisible(showOutline);
    m_expandButton->setVisible(showOutline);
    m_olv->setVisible(showOutline);
    m_descendantsOfAncestorsButton->setVisible(m_copier->bAncestors());
    m_descendantsOfAncestorsButton->setEnabled(on);
    if (showOutline && height() < 480)
        resize(qMax(width(), 620), 520);
    else if (!showOutline && !m_personsDetails->isVisible())
        adjustSize();
}

void CopyPersonFromOtherModel::copy()
{
    m_copyButton->setEnabled(false);
    m_progressIndicator->setValue(0);
    m_progressIndicator->show();
    const PersonCopier::Result result = m_copier->copy();
    m_progressIndicator->hide();
    if (result != PersonCopier::Result::Copied) {
        m_copyButton->setEnabled(true);
        return;
    }
    // One copy per window: what it did is shown in place of the choices.
    for (QWidget* w : std::initializer_list<QWidget*> {m_includeButton, m_descendantsOfAncestorsButton,
                                                       m_backupButton, m_olvLabel, m_expandButton, m_olv})
        w->hide();
    m_personsDetails->setPlainText(m_copier->reportText());
    m_personsDetails->show();
    m_printButton->show();
    if (height() < 480)
        resize(qMax(width(), 620), 520);
    print();
}

void CopyPersonFromOtherModel::print()
{
    Utils::displayFile(m_copier->reportPath(), QString());
}
