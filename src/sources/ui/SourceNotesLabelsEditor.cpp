#include "sources/ui/SourceNotesLabelsEditor.h"

#include "sources/SourceNotesLabels.h"
#include "sources/ui/SourcesWindowHelpers.h"

#include "shell/ui/ThemeIcon.h"

#include "platform/Localizer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
QListWidgetItem* makeRow(const QString& text)
{
    auto* item = new QListWidgetItem(text);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    return item;
}
}

SourceNotesLabelsEditor::SourceNotesLabelsEditor(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("SourceNotesLabelsEditor"));
    setWindowTitle(LocalizedString(QStringLiteral("SourceLabels")));
    SourcesWindowHelpers::usePanelColour(this);

    auto* layout = new QVBoxLayout(this);
    auto* info = new QLabel(LocalizedString(QStringLiteral("SourceLabelsEditorInfo")));
    info->setWordWrap(true);
    layout->addWidget(info);
    m_table = new QListWidget;
    m_table->setObjectName(QStringLiteral("labelsTable"));
    m_table->setAlternatingRowColors(true);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(
        QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    for (const QString& set : SourceNotesLabels::labelSets())
        m_table->addItem(makeRow(SourceLabel::initWithString(set).label()));
    layout->addWidget(m_table);

    auto* buttons = new QHBoxLayout;
    auto* add = new QToolButton;
    add->setObjectName(QStringLiteral("addRow"));
    add->setIcon(themeIcon(QStringLiteral("list-add")));
    add->setToolTip(LocalizedString(QStringLiteral("SourceLabelsAdd")));
    connect(add, &QToolButton::clicked, this, [this] { addRow(); });
    auto* remove = new QToolButton;
    remove->setObjectName(QStringLiteral("removeRows"));
    remove->setIcon(themeIcon(QStringLiteral("list-remove")));
    remove->setToolTip(LocalizedString(QStringLiteral("SourceLabelsRemove")));
    connect(remove, &QToolButton::clicked, this, [this] { removeSelectedRows(); });
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();
    buttons->addWidget(SourcesWindowHelpers::makeButton(
        QStringLiteral("close"), LocalizedString(QStringLiteral("Close")), [this] { windowShouldClose(); }));
    layout->addLayout(buttons);

    resize(480, 340);
    if (parent)
        move(parent->window()->geometry().center() - rect().center());
}

QList<SourceLabel> SourceNotesLabelsEditor::sourceNotesLabels() const
{
    QList<SourceLabel> rows;
    for (int i = 0; i < m_table->count(); ++i)
        rows << SourceLabel(m_table->item(i)->text());
    return rows;
}

void SourceNotesLabelsEditor::addRow()
{
    QListWidgetItem* row = makeRow(QString());
    m_table->addItem(row);
    m_table->setCurrentItem(row);
    m_table->editItem(row);
}

void SourceNotesLabelsEditor::removeSelectedRows()
{
    qDeleteAll(m_table->selectedItems());
}

void SourceNotesLabelsEditor::windowShouldClose()
{
    if (m_closed)
        return;
    m_closed = true;
    // What is being typed in a row counts.
    if (QWidget* editing = m_table->focusWidget(); editing && editing != m_table)
        editing->clearFocus();
    m_table->setFocus();
    SourceNotesLabels::saveLabels(sourceNotesLabels());
    done(0);
}

void SourceNotesLabelsEditor::reject()
{
    windowShouldClose();
}
