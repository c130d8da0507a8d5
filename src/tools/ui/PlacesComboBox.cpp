#include "tools/ui/PlacesComboBox.h"

#include "editor/ui/EditorLineEdit.h"

#include "model/FTMoc.h"

#include "platform/FTLog.h"

#include <QAbstractItemView>
#include <QAbstractListModel>
#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListView>

// The field's line: it tells whether the last key typed on or deleted, for only typing on is completed.
class PlacesComboBox::Line : public EditorLineEdit {
public:
    bool deleting = false;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        deleting = event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete
            || event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Backspace)
            || event->matches(QKeySequence::Delete);
        EditorLineEdit::keyPressEvent(event);
        deleting = false;
    }
};

// The database's places, asked for on every request.
class PlacesComboBox::Places : public QAbstractListModel {
public:
    explicit Places(PlacesComboBox* owner)
        : QAbstractListModel(owner)
        , m_owner(owner)
    {
    }
    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : m_owner->numberOfItems();
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole && role != Qt::EditRole)
            return {};
        return m_owner->objectValueForItemAtIndex(index.row());
    }
    // The list is read again: places added or removed since it was last shown take their places.
    void reload()
    {
        beginResetModel();
        endResetModel();
    }

private:
    PlacesComboBox* m_owner;
};

class PlacesComboBox::Box : public QComboBox {
public:
    explicit Box(PlacesComboBox* owner)
        : QComboBox(owner)
        , m_owner(owner)
    {
    }
    void showPopup() override
    {
        // The combo box forgets its text when its list is read again.
        QLineEdit* edit = lineEdit();
        const QString text = edit->text();
        const int cursor = edit->cursorPosition();
        m_owner->m_places->reload();
        setCurrentIndex(-1);
        if (edit->text() != text) {
            edit->setText(text);
            edit->setCursorPosition(cursor);
        }
        QComboBox::showPopup();
        // The list opens where the typed text would be, from three characters on; else nothing is highlighted.
        const int row = m_owner->indexOfItemWithStringValue(text);
        QAbstractItemView* list = view();
        if (row == kNotFound) {
            list->setCurrentIndex({});
            list->clearSelection();
            list->scrollToTop();
        } else {
            const QModelIndex index = model()->index(row, 0);
            list->setCurrentIndex(index);
            list->scrollTo(index, QAbstractItemView::PositionAtTop);
        }
    }

private:
    PlacesComboBox* m_owner;
};

PlacesComboBox::PlacesComboBox(QWidget* parent)
    : PlaceField(parent)
    , m_box(new Box(this))
    , m_places(new Places(this))
    , m_edit(new Line)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_box->setEditable(true);
    m_box->setLineEdit(m_edit);
    // Completion is the box's own (case as typed), not the line's.
    m_box->setCompleter(nullptr);
    m_box->setInsertPolicy(QComboBox::NoInsert);
    m_box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_box->setMinimumContentsLength(12);
    auto* list = new QListView;
    list->setUniformItemSizes(true); // a database may have tens of thousands of places
    m_box->setView(list);
    m_box->setModel(m_places);
    m_box->setCurrentIndex(-1);
    m_box->setMaxVisibleItems(5);
    layout->addWidget(m_box);
    setFocusProxy(m_box);
    // Typing with the list open goes on in the field.
    list->installEventFilter(this);
    connect(m_edit, &QLineEdit::textEdited, this, [this](const QString& text) { textEdited(text); });
    connect(m_box, &QComboBox::activated, this, [this](int index) { choose(index); });
}

PlacesComboBox::~PlacesComboBox()
{
    FTLog(QStringLiteral("dealloc PlacesComboBox"));
}

QComboBox* PlacesComboBox::comboBox() const { return m_box; }

int PlacesComboBox::numberOfItems() const
{
    return m_moc ? int(m_moc->places().size()) : 0;
}

QString PlacesComboBox::objectValueForItemAtIndex(int index) const
{
    if (!m_moc || index < 0)
        return {};
    const QStringList places = m_moc->places();
    return index < places.size() ? places[index] : QString();
}

QString PlacesComboBox::completedString(const QString& text)
{
    if (text.isEmpty())
        return {};
    if (isPopupVisible())
        hidePopup();
    if (!m_moc)
        return {};
    for (const QString& place : m_moc->places())
        if (place.startsWith(text, Qt::CaseSensitive))
            return place;
    return {};
}

int PlacesComboBox::indexOfItemWithStringValue(const QString& text) const
{
    if (!isPopupVisible() || text.size() < 3 || !m_moc)
        return kNotFound;
    const QStringList places = m_moc->places();
    for (qsizetype i = 0; i < places.size(); ++i)
        if (places[i].startsWith(text, Qt::CaseSensitive))
            return int(i);
    return kNotFound;
}

bool PlacesComboBox::isPopupVisible() const
{
    return m_box->view() && m_box->view()->isVisible();
}

void PlacesComboBox::showPopup() { m_box->showPopup(); }

void PlacesComboBox::hidePopup() { m_box->hidePopup(); }

void PlacesComboBox::setVisibleRows(int rows) { m_box->setMaxVisibleItems(rows); }

void PlacesComboBox::textEdited(const QString& text)
{
    if (m_completing)
        return;
    // Only typing at the end completes; deleting leaves the text as the user made it.
    if (static_cast<Line*>(m_edit)->deleting || m_edit->cursorPosition() != text.size()) {
        if (isPopupVisible())
            hidePopup();
        return;
    }
    const QString place = completedString(text);
    if (place.size() <= text.size())
        return;
    m_completing = true;
    m_edit->setText(place);
    m_edit->setSelection(int(place.size()), int(text.size() - place.size()));
    m_completing = false;
}

void PlacesComboBox::choose(int index)
{
    const QString place = objectValueForItemAtIndex(index);
    if (place.isEmpty())
        return;
    // A place picked from the list is an edit of the field, ended at once.
    m_completing = true;
    if (m_edit->text() != place)
        m_edit->setText(place);
    Q_EMIT m_edit->textEdited(place);
    m_completing = false;
    m_edit->endEditing();
}

bool PlacesComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_box->view() && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        const bool typing = (!text.isEmpty() && text.at(0).isPrint()
                                && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
            || key->key() == Qt::Key_Backspace;
        if (typing) {
            QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text(), key->isAutoRepeat(), key->count());
            QCoreApplication::sendEvent(m_edit, &copy);
            return true;
        }
    }
    return PlaceField::eventFilter(watched, event);
}
