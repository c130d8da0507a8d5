#include "sources/ui/CitationTableView.h"

#include "shell/FieldValidation.h"
#include "shell/Utils.h"
#include "shell/ui/SetFontSize.h"

#include "model/FTSourceRel.h"

#include "platform/Prompts.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QStyledItemDelegate>
#include <QTextLayout>
#include <QTimer>

#include <cmath>

namespace {
CitationTableModel::Column columnOf(const QModelIndex& index)
{
    const auto* model = qobject_cast<const CitationTableModel*>(index.model());
    return model ? model->columnAt(index.column()) : CitationTableModel::SourceId;
}
}

// The editor of a page reference or topic: a wrapping text, whose end of editing is checked first.
class CitationTableView::CellDelegate : public QStyledItemDelegate {
public:
    explicit CellDelegate(CitationTableView* view)
        : QStyledItemDelegate(view)
        , m_view(view)
    {
    }

    QPlainTextEdit* editor() const { return m_editor; }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        auto* editor = new QPlainTextEdit(parent);
        editor->setObjectName(QStringLiteral("cellEditor"));
        editor->setFrameShape(QFrame::NoFrame);
        editor->setTabChangesFocus(true);
        editor->setProperty("validationKind", CitationTableModel::validationKind(columnOf(index)));
        editor->document()->setDocumentMargin(1);
        m_editor = editor;
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        auto* text = static_cast<QPlainTextEdit*>(editor);
        text->setPlainText(index.data(Qt::EditRole).toString());
        // The text is not selected when editing starts: the cursor goes to its end.
        text->moveCursor(QTextCursor::End);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        const auto* text = static_cast<QPlainTextEdit*>(editor);
        // The check has passed (or the table closes the edit itself): what is stored is the cleaned text.
        model->setData(index,
            ValidateSingleLineEntryField(text->toPlainText(), editor->property("validationKind").toString()).text);
    }

    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        editor->setGeometry(option.rect);
    }

    void destroyEditor(QWidget* editor, const QModelIndex& index) const override
    {
        if (editor == m_editor)
            m_editor = nullptr;
        QStyledItemDelegate::destroyEditor(editor, index);
    }

    // Checks the edit and, when the check passes, stores it and closes the editor with `hint`.
    bool finish(QPlainTextEdit* editor, EndEditHint hint)
    {
        if (m_checking)
            return false;
        const QString typed = editor->toPlainText();
        const FieldValidation check
            = ValidateSingleLineEntryField(typed, editor->property("validationKind").toString());
        if (check.text != typed) {
            editor->setPlainText(check.text);
            editor->moveCursor(QTextCursor::End);
        }
        m_checking = true;
        const int escapes = Prompts::escapedAlerts();
        const bool accepted = check.report();
        m_checking = false;
        if (!accepted && Prompts::escapedAlerts() != escapes) {
            // The alert was closed with Escape: the edit is given up, the citation keeps what it held.
            Q_EMIT closeEditor(editor, RevertModelCache);
            return true;
        }
        if (!accepted) {
            editor->setFocus();
            return false;
        }
        Q_EMIT commitData(editor);
        Q_EMIT closeEditor(editor, hint);
        return true;
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        auto* editor = qobject_cast<QPlainTextEdit*>(object);
        if (!editor)
            return QStyledItemDelegate::eventFilter(object, event);
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
            switch (key->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                // Alt or Shift with Return types a line end (which the check then refuses).
                if (modifiers & (Qt::AltModifier | Qt::ShiftModifier))
                    return false;
                finish(editor, NoHint);
                return true;
            case Qt::Key_Tab:
                finish(editor, EditNextItem);
                return true;
            case Qt::Key_Backtab:
                finish(editor, EditPreviousItem);
                return true;
            case Qt::Key_Escape:
                Q_EMIT closeEditor(editor, RevertModelCache);
                return true;
            case Qt::Key_Up:
            case Qt::Key_Down:
                if (modifiers != Qt::NoModifier)
                    break;
                m_view->moveSelection(key->key() == Qt::Key_Up ? -1 : 1);
                return true;
            default:
                break;
            }
            return false;
        }
        if (event->type() == QEvent::FocusOut) {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            // A menu or the message of the check takes the focus for a moment: the edit goes on. Another window
            // ends it like any other focus loss: a text left typed here would later be stored over newer text.
            if (m_checking || reason == Qt::PopupFocusReason || !editor->isVisible())
                return false;
            QPointer<QPlainTextEdit> guard(editor);
            if (!finish(editor, NoHint))
                QTimer::singleShot(0, editor, [guard] {
                    if (guard)
                        guard->setFocus();
                });
            return false;
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    CitationTableView* m_view;
    mutable QPointer<QPlainTextEdit> m_editor;
    bool m_checking = false;
};

CitationTableView::CitationTableView(CitationTableModel* model, QWidget* parent)
    : QTableView(parent)
    , m_model(model)
    , m_delegate(new CellDelegate(this))
{
    setObjectName(QStringLiteral("tv"));
    setModel(model);
    setItemDelegate(m_delegate);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setShowGrid(true);
    setAlternatingRowColors(true);
    setWordWrap(true);
    setTextElideMode(Qt::ElideRight);
    setVerticalScrollMode(ScrollPerPixel);
    verticalHeader()->hide();
    SetFontSize(this, kFontSize);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setStretchLastSection(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Highlight, Utils::tableViewHighlightColour());
    colours.setColor(QPalette::HighlightedText, Qt::black);
    setPalette(colours);

    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int section) {
        // Every row may wrap differently at the new width of a column whose text decides the heights.
        if (!isEditing() && CitationTableModel::decidesHeight(m_model->columnAt(section)))
            refreshDisplay();
    });
    connect(model, &QAbstractItemModel::modelReset, this, [this] { layoutRows(); });
    connect(model, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex&, int first, int last) {
        layoutRowsFrom(first, last);
    });
    connect(model, &QAbstractItemModel::rowsRemoved, this, [this] { layoutRows(); });
    connect(model, &QAbstractItemModel::dataChanged, this,
        [this](const QModelIndex& from, const QModelIndex& to) { layoutRowsFrom(from.row(), to.row()); });
}

CitationTableView::~CitationTableView() = default;

FTSourceRel* CitationTableView::selectedCitation() const
{
    const QModelIndexList rows = selectionModel() ? selectionModel()->selectedRows() : QModelIndexList();
    return rows.isEmpty() ? nullptr : m_model->citationAt(rows.first().row());
}

void CitationTableView::selectCitation(const FTSourceRel* citation)
{
    const int row = m_model->rowOf(citation);
    if (row < 0) {
        clearSelection();
        return;
    }
    selectRow(row);
    scrollTo(m_model->index(row, 0));
}

double CitationTableView::pointsPerPixel() const
{
    return 72.0 / std::max(1, logicalDpiY());
}

double CitationTableView::columnWidthInPoints(CitationTableModel::Column column) const
{
    const int section = m_model->sectionOf(column);
    return section < 0 ? 0 : columnWidth(section) * pointsPerPixel();
}

double CitationTableView::heightOfText(const QString& text, double width) const
{
    if (text.isEmpty())
        return 0;
    // The font's measures are read once per pass; lines that recur ("Publ: No Publisher") are measured once.
    if (!m_measures) {
        m_measures.emplace(font());
        m_measures->margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    }
    const double available = std::max(1.0, width / pointsPerPixel() - 2 * m_measures->margin);
    int lines = 0;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        const QString paragraph = text.mid(start, end - start);
        start = end + 1;
        auto width = m_measures->widths.constFind(paragraph);
        if (width == m_measures->widths.constEnd())
            width = m_measures->widths.insert(paragraph, m_measures->metrics.horizontalAdvance(paragraph));
        if (*width <= available) {
            ++lines; // most cells: one line that fits, measured without a layout
            continue;
        }
        QTextLayout layout(paragraph, font());
        QTextOption option;
        option.setWrapMode(QTextOption::WordWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
            line.setLineWidth(available), ++lines;
        layout.endLayout();
    }
    return lines * m_measures->metrics.height() * pointsPerPixel();
}

void CitationTableView::layoutRows()
{
    layoutRowsFrom(0, m_model->rowCount() - 1);
}

void CitationTableView::layoutRowsFrom(int first, int last)
{
    m_measures.reset(); // the font may have changed since the last pass
    const auto measure = [this](const QString& text, double width) { return heightOfText(text, width); };
    const auto width = [this](CitationTableModel::Column column) { return columnWidthInPoints(column); };
    QHeaderView* rows = verticalHeader();
    for (int row = std::max(0, first); row <= last && row < m_model->rowCount(); ++row) {
        const int pixels = int(std::ceil(m_model->heightOfRow(row, measure, width) / pointsPerPixel()));
        if (rows->sectionSize(row) != pixels)
            rows->resizeSection(row, pixels);
    }
}

void CitationTableView::refreshDisplay()
{

    m_model->dropHeights();
    layoutRows();
    viewport()->update();
    if (const QModelIndexList selected = selectionModel()->selectedRows(); !selected.isEmpty())
        scrollTo(selected.first());
}

QPlainTextEdit* CitationTableView::cellEditor() const
{
    return m_delegate->editor();
}

bool CitationTableView::endEditing()
{
    QPlainTextEdit* editor = cellEditor();
    return !editor || m_delegate->finish(editor, QAbstractItemDelegate::NoHint);
}

void CitationTableView::moveSelection(int delta)
{
    const QModelIndexList selected = selectionModel()->selectedRows();
    const int from = selected.isEmpty() ? currentIndex().row() : selected.first().row();
    const int to = from + delta;
    if (from < 0 || to < 0 || to >= m_model->rowCount())
        return;
    if (!endEditing())
        return;
    selectRow(to);
}

void CitationTableView::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid()) {
        // Below the last row: no change of selection, no end of editing.
        event->accept();
        return;
    }
    if (isEditing() && !endEditing()) {
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    switch (m_model->columnAt(index.column())) {
    case CitationTableModel::SourceId:
        if (editSource)
            editSource();
        break;
    case CitationTableModel::PageRef:
    case CitationTableModel::Topic:
        // One click edits, as a double click would elsewhere.
        edit(index);
        break;
    default:
        break;
    }
}

void CitationTableView::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    if (!text.isEmpty() && (text.at(0) == QLatin1Char('R') || text.at(0) == QLatin1Char('r'))
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        if (keyR)
            keyR();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}
