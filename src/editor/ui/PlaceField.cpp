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
    connect(m_edit, &QLineEdit::textEdited, this, [this](const QString& text) { complete(text); });
}

void PlaceLineEdit::complete(const QString& text)
{
    FTMoc* moc = m_moc;
    if (!moc)
        return;
    const QString place = PlaceCompletion::shared().complete(
        m_edit, -1, -1, text, m_edit->cursorPosition(),
        [moc](const QString& prefix) { return moc->placeNamesStartingWith(prefix); });
    if (place.isEmpty())
        return;
    m_edit->setText(place);
    m_edit->setSelection(int(place.size()), int(text.size()) - int(place.size()));
}
