#pragma once

#include "editor/ui/PlaceField.h"

#include <QString>

class QComboBox;
class QAbstractListModel;

// The place field of the event editor and, installed through EditorHooks::placeField, of the person editor's
// dialogs and pages: an editable combo box whose list is the database's places (FTMoc::places(), read afresh
// each time the list opens; the box keeps no copy). Typing completes the place from the list, matching case
// exactly, and closes an open list first so that it never covers the field; a place chosen from the list ends
// the edit at once. When the list opens, the first place that begins with the typed text is highlighted, but
// only from three characters on.
//
//   auto* place = new PlacesComboBox;
//   place->setMoc(event->moc());
//   place->lineEdit()->shouldEndEditing = [...] { ... event->setPlace(place->lineEdit()->text()); return true; };
class PlacesComboBox : public PlaceField {
    Q_OBJECT
public:
    // No such place (the largest signed 32-bit number, as the list's own "not found").
    static constexpr int kNotFound = 0x7fffffff;

    explicit PlacesComboBox(QWidget* parent = nullptr);
    ~PlacesComboBox() override;

    EditorLineEdit* lineEdit() const override { return m_edit; }
    void setMoc(FTMoc* moc) override { m_moc = moc; }
    FTMoc* moc() const override { return m_moc; }
    QComboBox* comboBox() const;

    // The list as the combo box asks for it.
    int numberOfItems() const;
    // The place at `index`; empty outside the list.
    QString objectValueForItemAtIndex(int index) const;
    // The completion of `text`: the first place that begins with it, case and accents as typed; empty when none
    // does (and for an empty text). An open list is closed first.
    QString completedString(const QString& text);
    // The row of the open list to highlight for `text`: the first place beginning with it, when the list is open
    // and the text has at least three characters; kNotFound otherwise.
    int indexOfItemWithStringValue(const QString& text) const;

    bool isPopupVisible() const;
    void showPopup();
    void hidePopup();
    // How many rows the open list shows.
    void setVisibleRows(int rows);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Box;
    class Line;
    class Places;
    void textEdited(const QString& text);
    void choose(int index);

    Box* m_box;
    Places* m_places;
    EditorLineEdit* m_edit;
    FTMoc* m_moc = nullptr;
    bool m_completing = false;
};
