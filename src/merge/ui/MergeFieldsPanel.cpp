#include "merge/ui/MergeFieldsPanel.h"

#include "merge/PersonFieldsMerge.h"

#include "sources/ui/SourcesWindowHelpers.h"

#include "platform/Localizer.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

// The label of each field of PersonFieldsMerge::fields(), in its order, and whether it holds several lines.
struct Row {
    const char* label;
    bool multiline;
};
const Row kRows[] = {
    { "MergeFieldName", false },
    { "MergeFieldGender", false },
    { "MergeFieldBirthDate", false },
    { "MergeFieldBirthPlace", false },
    { "MergeFieldBirthNotes", true },
    { "MergeFieldDeathDate", false },
    { "MergeFieldDeathPlace", false },
    { "MergeFieldDeathNotes", true },
    { "MergeFieldTitle", false },
    { "MergeFieldCauseOfDeath", false },
    { "MergeFieldNotes", true },
    { "MergeFieldComments", true },
};

// The buttons: the first row of the group, how many rows it spans, and its tags (replace, then append).
struct Group {
    int row;
    int span;
    int replace;
    int append;
};
const Group kGroups[] = {
    { 0, 1, MergeTag::Name, 0 },
    { 2, 3, MergeTag::Birth, 0 },
    { 5, 3, MergeTag::Death, 0 },
    { 8, 1, MergeTag::Title, 0 },
    { 9, 1, MergeTag::CauseOfDeath, 0 },
    { 10, 1, MergeTag::NotesReplaced, MergeTag::NotesAppended },
    { 11, 1, MergeTag::CommentsReplaced, MergeTag::CommentsAppended },
};

QWidget* makeValue(bool multiline, const QString& objectName)
{
    QWidget* value;
    if (multiline) {
        auto* text = new QPlainTextEdit;
        text->setReadOnly(true);
        text->setTabChangesFocus(true);
        // Three lines show; a longer text scrolls.
        text->setFixedHeight(text->fontMetrics().lineSpacing() * 3 + 12);
        value = text;
    } else {
        auto* line = new QLineEdit;
        line->setReadOnly(true);
        value = line;
    }
    value->setObjectName(objectName);
    value->setMinimumWidth(260);
    return value;
}

void setValue(QWidget* widget, const QString& text)
{
    if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        line->setText(text);
        line->setCursorPosition(0);
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
        edit->setPlainText(text);
    }
}

void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}
}

MergeFieldsPanel::MergeFieldsPanel(std::function<void(int tag)> merge, QWidget* parent)
    : QWidget(parent)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    m_fromCaption = new QLabel;
    m_fromCaption->setObjectName(QStringLiteral("m1Label"));
    m_intoCaption = new QLabel;
    m_intoCaption->setObjectName(QStringLiteral("m2Label"));
    for (QLabel* caption : { m_fromCaption, m_intoCaption }) {
        QFont bold = caption->font();
        bold.setBold(true);
        caption->setFont(bold);
        caption->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    grid->addWidget(m_fromCaption, 0, 1);
    grid->addWidget(m_intoCaption, 0, 3);

    const QList<PersonFieldsMerge::Field>& fields = PersonFieldsMerge::fields();
    for (int i = 0; i < int(fields.size()); ++i) {
        const QString key = QString::fromLatin1(fields[i].colourField);
        auto* label = new QLabel(L(kRows[i].label));
        label->setAlignment(Qt::AlignRight | (kRows[i].multiline ? Qt::AlignTop : Qt::AlignVCenter));
        grid->addWidget(label, i + 1, 0, kRows[i].multiline ? Qt::AlignTop : Qt::Alignment());
        m_fromValues[key] = makeValue(kRows[i].multiline, QStringLiteral("from_") + fields[i].keyPath);
        m_intoValues[key] = makeValue(kRows[i].multiline, QStringLiteral("into_") + fields[i].keyPath);
        grid->addWidget(m_fromValues[key], i + 1, 1);
        grid->addWidget(m_intoValues[key], i + 1, 3);
    }
    for (const Group& g : kGroups) {
        auto* cell = new QWidget;
        auto* column = new QVBoxLayout(cell);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(2);
        auto add = [&](int tag, const char* title, const char* tip, const char* icon) {
            QPushButton* button = SourcesWindowHelpers::makeButton(
                QStringLiteral("mergeField%1").arg(tag), L(title), [merge, tag] { merge(tag); },
                QString::fromLatin1(icon));
            button->setToolTip(L(tip));
            column->addWidget(button);
            m_buttons[tag] = button;
        };
        add(g.replace, "MergeReplace", "MergeReplaceTip", "go-next");
        if (g.append)
            add(g.append, "MergeAppend", "MergeAppendTip", "list-add");
        grid->addWidget(cell, g.row + 1, 2, g.span, 1, Qt::AlignVCenter);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
}

void MergeFieldsPanel::setCaptions(const QString& from, const QString& into)
{
    m_fromCaption->setText(from);
    m_intoCaption->setText(into);
}

void MergeFieldsPanel::showPeople(const FTPerson* from, const FTPerson* into)
{
    for (const PersonFieldsMerge::Field& f : PersonFieldsMerge::fields()) {
        const QString key = QString::fromLatin1(f.colourField);
        setValue(m_fromValues[key], PersonFieldsMerge::text(from, f.keyPath));
        setValue(m_intoValues[key], PersonFieldsMerge::text(into, f.keyPath));
        const QColor colour = from && PersonFieldsMerge::differs(from, into, f) ? QColor(Qt::blue) : QColor(Qt::black);
        m_colours[key] = colour;
        setTextColour(m_fromValues[key], colour);
    }
}

void MergeFieldsPanel::setButtonsEnabled(bool enabled)
{
    for (QAbstractButton* button : m_buttons)
        button->setEnabled(enabled);
}
