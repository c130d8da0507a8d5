#include "merge/ui/MergeTwoPeople.h"

#include "merge/MergeLists.h"
#include "merge/PersonFieldsMerge.h"
#include "merge/TwoPeopleMerge.h"
#include "merge/ui/MergeFieldsPanel.h"
#include "merge/ui/MergeListsPanel.h"

#include "sources/ui/SourcesWindowHelpers.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// The size the last window had, for the next one in this run of the program.
QSize g_lastContentSize;

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

MergeTwoPeople::MergeTwoPeople(FTMoc* moc, const QList<FTPerson*>& candidates, QWidget* parent)
    : RelationshipDialog(parent)
    , m_merge(std::make_unique<TwoPeopleMerge>(moc, candidates))
{
    setObjectName(QStringLiteral("MergeTwoPeople"));
    setWindowTitle(L("MergeTwoPeopleTitle"));
    auto* layout = new QVBoxLayout(this);

    auto* choice = new QHBoxLayout;
    choice->addWidget(new QLabel(L("MergeDuplicateLabel")));
    m_comboBox = new QComboBox;
    m_comboBox->setObjectName(QStringLiteral("mergeFromComboBox"));
    for (const FTPerson* p : candidates)
        m_comboBox->addItem(p->nameWithIdBirthAndDeathYears());
    m_comboBox->setMaxVisibleItems(int(candidates.size()) + 3);
    m_comboBox->setCurrentIndex(-1);
    m_comboBox->setMinimumContentsLength(30);
    connect(m_comboBox, &QComboBox::currentIndexChanged, this, [this](int index) { chooseCandidate(index); });
    choice->addWidget(m_comboBox, 1);
    choice->addSpacing(16);
    choice->addWidget(new QLabel(L("MergeFocalLabel")));
    m_focal = new QLabel;
    m_focal->setObjectName(QStringLiteral("focalPerson"));
    QFont bold = m_focal->font();
    bold.setBold(true);
    m_focal->setFont(bold);
    choice->addWidget(m_focal, 1);
    layout->addLayout(choice);
    layout->addSpacing(6);

    m_fields = new MergeFieldsPanel([this](int tag) { mergeField(tag); });
    layout->addWidget(m_fields);
    layout->addSpacing(6);
    m_lists = new MergeListsPanel(
        L("MergeMoveEventButton"), [this] { mergeField(MergeTag::Relative); }, [this] { mergeField(MergeTag::Event); });
    layout->addWidget(m_lists, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SourcesWindowHelpers::makeHelpButton(QStringLiteral("help"), [this] { help(); }));
    m_citationsButton = makeButton(
        "go-next", "MergeCitationsButton", QStringLiteral("mergeSourceReferences"), [this] { mergeSourceReferences(); });
    buttons->addWidget(m_citationsButton);
    buttons->addWidget(makeButton("", "MergeAllButton", QStringLiteral("mergeAll"), [this] { mergeAll(); }));
    buttons->addWidget(makeButton("edit-undo", "MergeUndoAll", QStringLiteral("undoAllButton"), [this] { undoAll(); }));
    buttons->addStretch(1);
    buttons->addWidget(makeButton(
        "edit-delete", "MergeDeleteButton", QStringLiteral("deleteMergedPerson"), [this] { deleteMergedPerson(); }));
    buttons->addWidget(makeCloseButton());
    layout->addLayout(buttons);

    resize(1000, 860);
    keepSizeIn(&g_lastContentSize);
    reload();
}

MergeTwoPeople::~MergeTwoPeople() = default;

void MergeTwoPeople::enableMerging()
{
    // Until a duplicate is chosen there is nothing to merge; Delete says so.
    const bool chosen = m_merge->mergeFromPerson() != nullptr;
    m_fields->setButtonsEnabled(chosen);
    m_lists->setButtonsEnabled(chosen);
    m_citationsButton->setEnabled(chosen);
}

void MergeTwoPeople::reload()
{
    FTPerson* from = m_merge->mergeFromPerson();
    FTPerson* into = m_merge->mergeIntoPerson();
    m_focal->setText(into ? into->nameWithIdBirthAndDeathYears() : QString());
    m_fields->setCaptions(from ? from->nameWithBirthAndDeathYears() : QString(),
                          into ? into->nameWithBirthAndDeathYears() : QString());
    m_lists->setRelatives(MergeLists::relatives(from, into), MergeLists::relatives(into, into));
    m_lists->setEvents(MergeLists::otherEvents(from), MergeLists::otherEvents(into));
    m_fields->showPeople(from, into);
    enableMerging();
}

void MergeTwoPeople::chooseCandidate(int index)
{
    const QList<FTPerson*>& candidates = m_merge->peopleArray();
    if (index < 0 || index >= candidates.size())
        return;
    m_merge->setMergeFromPerson(candidates[index]);
    reload();
}

void MergeTwoPeople::mergeField(int tag)
{
    if (QWidget* focus = QApplication::focusWidget())
        focus->clearFocus();
    const QModelIndexList selected = m_lists->tvFromRels()->selectionModel()->selectedRows();
    const int relativeRow = selected.isEmpty() ? -1 : selected.first().row();
    if (!m_merge->mergeField(tag, m_lists->selectedFromRelative(), m_lists->selectedFromEvent()))
        return;
    reload();
    if (tag == MergeTag::Relative)
        m_lists->selectFromRelative(relativeRow);
}

void MergeTwoPeople::mergeSourceReferences()
{
    m_merge->mergeSourceReferences();
}

void MergeTwoPeople::deleteMergedPerson()
{
    if (m_merge->deleteMergedPerson())
        done(QDialog::Accepted);
}

void MergeTwoPeople::mergeAll()
{
    DisplayMsg(L("mergeReminder"));
}

void MergeTwoPeople::undoAll()
{
    DisplayMsg(L("MergeUndoMsg"));
}

void MergeTwoPeople::help()
{
    DisplayMsg(L("MergeHelp"));
}
