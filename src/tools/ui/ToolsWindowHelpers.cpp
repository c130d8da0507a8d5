#include "tools/ui/ToolsWindowHelpers.h"

#include "tools/EventsByDateModel.h"

#include "editor/SelfPageTexts.h"
#include "editor/ui/EditorTableView.h"
#include "editor/ui/LineEditDateField.h"

#include "shell/ui/SetFontSize.h"
#include "shell/ui/ThemeIcon.h"

#include "model/Dates.h"
#include "model/FTEvent.h"
#include "model/FTPerson.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QFontMetrics>
#include <QSplitter>

#include <algorithm>

QLineEdit* ToolsWindowHelpers::makeSearchField(const QString& objectName, const QString& placeholder)
{
    auto* field = new QLineEdit;
    field->setObjectName(objectName);
    field->setClearButtonEnabled(true);
    field->addAction(themeIcon(QStringLiteral("edit-find")), QLineEdit::LeadingPosition);
    field->setPlaceholderText(placeholder);
    return field;
}

EditorTableView* ToolsWindowHelpers::makeTextTable(
    const QString& objectName, QAbstractItemModel* model, bool several, int pointSize)
{
    auto* table = new EditorTableView;
    table->setObjectName(objectName);
    table->setModel(model);
    table->setSelectionMode(several ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->horizontalHeader()->setHighlightSections(false);
    SetFontSize(table, pointSize);
    return table;
}

EditorTableView* ToolsWindowHelpers::makeEventsTable(
    const QString& objectName, EventsByDateModel* model, int pointSize, bool checksBirthOwner)
{
    EditorTableView* table = makeTextTable(objectName, model, true, pointSize);
    QHeaderView* header = table->horizontalHeader();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(EventsByDateModel::DateColumn, Qt::AscendingOrder);
    header->setSectionsClickable(true);
    QObject::connect(header, &QHeaderView::sectionClicked, table, [table, model, header](int section) {
        if (section == EventsByDateModel::DateColumn) {
            table->endEditing();
            model->toggleDateOrder();
        }
        // Only the date orders the events: the indicator stays on it whatever column was clicked.
        header->setSortIndicator(
            EventsByDateModel::DateColumn, model->dateAscending() ? Qt::AscendingOrder : Qt::DescendingOrder);
    });
    table->shouldEndEditing = [model, checksBirthOwner](const QModelIndex& index, QWidget* editor) {
        if (index.column() != EventsByDateModel::DateColumn)
            return true;
        auto* line = qobject_cast<QLineEdit*>(editor);
        const FTEvent* event = model->event(index.row());
        if (!line || !event || line->text() == event->date())
            return true;
        LineEditDateField field(line);
        Dates::Person owner;
        const Dates::Person* checked = nullptr;
        if (checksBirthOwner && event->type() == FTEvent::BirthEvent)
            if (const FTPerson* person = event->person()) {
                owner = SelfPageTexts::birthDateCheckPerson(person);
                checked = &owner;
            }
        return Dates::validateDateField(field, checked);
    };
    // The widest date a cell shows whole, with room for the order's arrow in the heading.
    const QFontMetrics metrics(table->font());
    header->resizeSection(EventsByDateModel::OwnerColumn, metrics.horizontalAdvance(QStringLiteral("Margaret Elizabeth Ann")));
    header->resizeSection(EventsByDateModel::TypeColumn, metrics.horizontalAdvance(QStringLiteral("Occupation")) + 12);
    header->resizeSection(
        EventsByDateModel::DateColumn, metrics.horizontalAdvance(QStringLiteral("abt 00 May 0000")) + 16);
    header->resizeSection(EventsByDateModel::NameColumn, metrics.horizontalAdvance(QStringLiteral("Occupation")) + 12);
    header->resizeSection(EventsByDateModel::PlaceColumn, metrics.horizontalAdvance(QStringLiteral("Manchester, Lancashire")));
    return table;
}

QList<int> ToolsWindowHelpers::selectedRows(const EditorTableView* table)
{
    QList<int> rows;
    for (const QModelIndex& index : table->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

QSplitter* ToolsWindowHelpers::sideBySide(QWidget* left, QWidget* right, int leftShare, int rightShare)
{
    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(left);
    splitter->addWidget(right);
    splitter->setChildrenCollapsible(false);
    // Both panes grow with the window in these shares, from the first layout on.
    left->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);
    right->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);
    splitter->setStretchFactor(0, leftShare);
    splitter->setStretchFactor(1, rightShare);
    return splitter;
}
