#include "editor/ui/PlaceField.h"

#include "editor/ui/EditorLineEdit.h"

#include "shell/PlaceCompletion.h"

#include "model/FTMoc.h"

#include <QHBoxLayout>

PlaceField::PlaceField(QWidget* parent)
    : QWidget(parent)
{
}

PlaceLineEdit::PlaceLineEdit(QWidget* parent)
    : PlaceField(parent)
    , m_edit(new EditorLineEdit(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_edit);
    setFocusProxy(m_edit);
    connect(m_edit, &QLineEdit::textEdited, this, [this] { completePlace(m_edit, m_moc); });
}

bool completePlace(QLineEdit* edit, FTMoc* moc, int row, int column)
{
    if (!edit || !moc)
        return false;
    const QString text = edit->text();
    const QString place = PlaceCompletion::shared().complete(edit, row, column, text, edit->cursorPosition(),
        [moc](const QString& prefix) { return moc->placeNamesStartingWith(prefix); });
    if (place.isEmpty())
        return false;
    edit->setText(place);
    edit->setSelection(int(place.size()), int(text.size()) - int(place.size()));
    return true;
}
