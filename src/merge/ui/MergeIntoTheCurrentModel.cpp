#include "merge/ui/MergeIntoTheCurrentModel.h"

#include "merge/MergeLists.h"
#include "merge/OtherDatabaseMerge.h"
#include "merge/PersonComparison.h"
#include "merge/PersonFieldsMerge.h"
#include "merge/ui/MergeFieldsPanel.h"
#include "merge/ui/MergeListsPanel.h"

#include "shell/Utils.h"

#include "model/FTPerson.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {
// The size the last window had, for the next one in this run of the program.
QSize g_lastContentSize;

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

MergeIntoTheCurrentModel::MergeIntoTheCurrentModel(FTPerson* mergeFromPerson, FTPerson* mergeIntoPerson, QWidget* parent)
    : RelationshipDialog(parent)
    , m_merge(std::make_unique<OtherDatabaseMerge>(mergeFromPerson, mergeIntoPerson))
{
    setObjectName(QStringLiteral("MergeIntoTheCurrentModel"));
    setWindowTitle(L("MergeIntoTheCurrentModelTitle"));
    auto* layout = new QVBoxLayout(this);
    m_fields = new MergeFieldsPanel([this](int tag) { mergeField(tag); });
    layout->addWidget(m_fields);
    layout->addSpacing(6);
    m_lists = new MergeListsPanel(
        L("MergeEventButton"), [this] { mergeField(MergeTag::Relative); }, [this] { mergeField(MergeTag::Event); });
    // Relatives are not merged across databases: their lists are there to read.
    m_lists->mergeRelsButton()->hide();
    layout->addWidget(m_lists, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(makeButton("dialog-information", "MergeShowDifferences", QStringLiteral("showMe"), [this] { showMe(); }));
    m_undoAllButton = makeButton("edit-undo", "MergeUndoAll", QStringLiteral("undoAllButton"), [this] { undoAll(); });
    buttons->addWidget(m_undoAllButton);
    buttons->addStretch(1);
    buttons->addWidget(makeCloseButton());
    layout->addLayout(buttons);

    resize(1000, 820);
    keepSizeIn(&g_lastContentSize);
    reload();
}

MergeIntoTheCurrentModel::~MergeIntoTheCurrentModel() = default;

void MergeIntoTheCurrentModel::setLabels(const QString& m1Label, const QString& m2Label)
{
    m_fields->setCaptions(m1Label, m2Label);
}

void MergeIntoTheCurrentModel::reload()
{
    FTPerson* from = m_merge->mergeFromPerson();
    FTPerson* into = m_merge->mergeIntoPerson();
    m_lists->setRelatives(MergeLists::relatives(from, into), MergeLists::relatives(into, into));
    m_lists->setEvents(MergeLists::eventsWithMarriages(from), MergeLists::eventsWithMarriages(into));
    m_fields->showPeople(from, into);
}

void MergeIntoTheCurrentModel::mergeField(int tag)
{
    if (!m_merge->mergeFromPerson())
        return;
    // A field being typed in elsewhere is finished before the merge reads the person.
    if (QWidget* focus = QApplication::focusWidget())
        focus->clearFocus();
    m_merge->mergeField(tag, m_lists->selectedFromEvent(), this);
    if (tag == MergeTag::Event)
        reload();
    else
        m_fields->showPeople(m_merge->mergeFromPerson(), m_merge->mergeIntoPerson());
}

void MergeIntoTheCurrentModel::undoAll()
{
    if (m_merge->undoAll(this))
        reload();
}

void MergeIntoTheCurrentModel::showMe()
{
    QTextDocument account;
    PersonComparison::comparePerson(m_merge->mergeFromPerson(), m_merge->mergeIntoPerson(), &account);
    Utils::showMe(L("MergeDifferencesTitle"), account.toPlainText());
}

bool MergeIntoTheCurrentModel::windowShouldClose()
{
    m_merge->close();
    Utils::sleep(50);
    return true;
}
