#include "sources/ui/SourcesWindowHelpers.h"

#include "shell/UtilsFunctions.h"
#include "shell/ui/SetFontSize.h"
#include "shell/ui/ThemeIcon.h"

#include "sources/SourceListModel.h"
#include "sources/SourceSearch.h"
#include "sources/WhereUsedModel.h"

#include "platform/Localizer.h"

#include <QAction>
#include <QActionGroup>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTextEdit>
#include <QToolButton>

#include <algorithm>

QPushButton* SourcesWindowHelpers::makeButton(
    const QString& objectName, const QString& text, std::function<void()> action, const QString& icon)
{
    auto* button = new QPushButton(text);
    button->setObjectName(objectName);
    if (!icon.isEmpty())
        button->setIcon(themeIcon(icon));
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, button, [action = std::move(action)] { action(); });
    return button;
}

QPushButton* SourcesWindowHelpers::makeCloseButton(std::function<void()> action)
{
    QPushButton* button = makeButton(QStringLiteral("closeButton"), LocalizedString(QStringLiteral("Close")),
        std::move(action));
    button->setDefault(true);
    return button;
}

QToolButton* SourcesWindowHelpers::makeHelpButton(const QString& objectName, std::function<void()> action)
{
    auto* button = new QToolButton;
    button->setObjectName(objectName);
    button->setIcon(themeIcon(QStringLiteral("help-browser")));
    button->setAutoRaise(true);
    button->setToolTip(LocalizedString(QStringLiteral("SourcesHelpTip")));
    QObject::connect(button, &QToolButton::clicked, button, [action = std::move(action)] { action(); });
    return button;
}

void SourcesWindowHelpers::usePanelColour(QWidget* window)
{
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, PanelColour());
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

QTableView* SourcesWindowHelpers::makeListTable(
    const QString& objectName, QAbstractItemModel* model, bool several, int pointSize)
{
    auto* table = new QTableView;
    table->setObjectName(objectName);
    table->setModel(model);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(several ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setAlternatingRowColors(true);
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    SetFontSize(table, pointSize);
    return table;
}

QList<FTSource*> SourcesWindowHelpers::selectedSources(const QTableView* table, const SourceListModel* list)
{
    QList<int> rows;
    for (const QModelIndex& index : table->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    QList<FTSource*> sources;
    for (int row : rows)
        if (FTSource* s = list->sourceAt(row))
            sources << s;
    return sources;
}

FTSourceRel* SourcesWindowHelpers::selectedCitation(const QTableView* table, const WhereUsedModel* citations)
{
    const QModelIndexList rows = table->selectionModel()->selectedRows();
    return rows.isEmpty() ? nullptr : citations->citationAt(rows.first().row());
}

QLabel* SourcesWindowHelpers::makeSourceLabel(const QString& objectName)
{
    auto* label = new QLabel;
    label->setObjectName(objectName);
    label->setWordWrap(true);
    label->setFrameShape(QFrame::StyledPanel);
    label->setMargin(4);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QTextEdit* SourcesWindowHelpers::makeNotesView(int pointSize)
{
    auto* notes = new QTextEdit;
    notes->setObjectName(QStringLiteral("notesTextView"));
    notes->setReadOnly(true);
    notes->setAcceptRichText(false);
    QFont font = notes->font();
    font.setPointSize(pointSize);
    notes->setFont(font);
    return notes;
}

QSplitter* SourcesWindowHelpers::stackTableOverNotes(QTableView* table, QTextEdit* notes)
{
    auto* split = new QSplitter(Qt::Vertical);
    split->setChildrenCollapsible(false);
    split->addWidget(table);
    split->addWidget(notes);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    return split;
}

QMenu* SourcesWindowHelpers::makeSearchMenu(
    QLineEdit* field, QWidget* owner, const QString& current, std::function<void(QAction*)> chosen)
{
    auto* menu = new QMenu(LocalizedString(QStringLiteral("SearchMenu")), owner);
    menu->setObjectName(QStringLiteral("searchMenu"));
    auto* group = new QActionGroup(menu);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const QString& title : SourceSearch::optionTitles()) {
        QAction* option = menu->addAction(title);
        option->setData(title);
        option->setCheckable(true);
        option->setChecked(title == current);
        group->addAction(option);
        QObject::connect(option, &QAction::triggered, menu, [chosen, option] { chosen(option); });
    }
    QAction* find = field->addAction(themeIcon(QStringLiteral("edit-find")), QLineEdit::LeadingPosition);
    find->setObjectName(QStringLiteral("searchMenuButton"));
    find->setToolTip(LocalizedString(QStringLiteral("SearchMenu")));
    QObject::connect(find, &QAction::triggered, menu,
        [menu, field] { menu->popup(field->mapToGlobal(QPoint(0, field->height()))); });
    field->setPlaceholderText(SourceSearch::placeholder(current));
    return menu;
}

QString SourcesWindowHelpers::chooseSearchOption(QMenu* menu, QLineEdit* field, QAction* option)
{
    for (QAction* other : menu->actions())
        other->setChecked(other == option);
    const QString title = option->data().toString();
    SourceSearch::storeOptionTitle(title);
    field->setPlaceholderText(SourceSearch::placeholder(title));
    return title;
}
