#include "sources/ui/SelectSourceNotesLabelsButton.h"

#include "sources/SourceNotesLabels.h"
#include "sources/ui/SourceNotes.h"
#include "sources/ui/SourceNotesLabelsEditor.h"
#include "sources/ui/SourcesAddModDel.h"

#include "shell/ui/ThemeIcon.h"

#include "platform/Localizer.h"

#include <QMenu>
#include <QMouseEvent>
#include <QTextEdit>

#include <memory>

SelectSourceNotesLabelsButton::SelectSourceNotesLabelsButton(QWidget* parent)
    : QPushButton(parent)
{
    setObjectName(QStringLiteral("labelsButton"));
    setText(LocalizedString(QStringLiteral("SourceLabelsButton")));
    setIcon(themeIcon(QStringLiteral("insert-text")));
    setToolTip(LocalizedString(QStringLiteral("SourceLabelsTip")));
    setAutoDefault(false);
}

QMenu* SelectSourceNotesLabelsButton::buildMenu(QWidget* parent)
{
    auto* menu = new QMenu(LocalizedString(QStringLiteral("SourceLabels")), parent);
    menu->setObjectName(QStringLiteral("labelsMenu"));
    QFont font = menu->font();
    font.setPointSize(11);
    menu->setFont(font);
    QAction* alter = menu->addAction(LocalizedString(QStringLiteral("AlterLabels")));
    connect(alter, &QAction::triggered, this, [this] { defineASetOfLabels(); });
    menu->addSeparator();
    for (const QString& set : SourceNotesLabels::labelSets()) {
        QAction* item = menu->addAction(set);
        item->setData(set);
        connect(item, &QAction::triggered, this, [this, set] { selectLabels(set); });
    }
    return menu;
}

void SelectSourceNotesLabelsButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QPushButton::mousePressEvent(event);
        return;
    }
    setDown(true);
    std::unique_ptr<QMenu> menu(buildMenu(this));
    menu->exec(mapToGlobal(QPoint(0, height())));
    setDown(false);
    event->accept();
}

void SelectSourceNotesLabelsButton::defineASetOfLabels()
{
    SourceNotesLabelsEditor editor(window());
    editor.exec();
}

void SelectSourceNotesLabelsButton::selectLabels(const QString& labelSet)
{
    const QString text = SourceNotesLabels::textToInsert(labelSet);
    if (auto* editor = qobject_cast<SourcesAddModDel*>(m_delegate.data())) {
        editor->insertIntoNotes(text);
        return;
    }
    auto* window = qobject_cast<SourceNotes*>(m_delegate.data());
    QTextEdit* notes = window ? window->tvNotes() : nullptr;
    if (!notes || !notes->isEnabled())
        return;
    // The view's own cursor is its insertion point, also while another view has the keyboard.
    notes->textCursor().insertText(text);
}
