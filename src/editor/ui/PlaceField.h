#pragma once

#include <QWidget>

class EditorLineEdit;
class FTMoc;
class QLineEdit;

// Completes the place being typed at the end of `edit` from the database's places, the added part selected so
// that typing on replaces it. A table cell's editor names its row and column. False when nothing was added.
bool completePlace(QLineEdit* edit, FTMoc* moc, int row = -1, int column = -1);

// A place entry of the person editor: a field that completes the database's place names. The tools subsystem
// may install its places combo box through EditorHooks::placeField; without it PlaceLineEdit is used.
class PlaceField : public QWidget {
    Q_OBJECT
public:
    explicit PlaceField(QWidget* parent = nullptr);
    // The field the user types into.
    virtual EditorLineEdit* lineEdit() const = 0;
    // The database whose places complete the typing; follows the person shown.
    virtual void setMoc(FTMoc* moc) = 0;
    virtual FTMoc* moc() const = 0;
};

// The place field without the tools subsystem: a line edit whose typing at the end is completed from the
// database's places through the shell's PlaceCompletion, the added part selected.
class PlaceLineEdit : public PlaceField {
    Q_OBJECT
public:
    explicit PlaceLineEdit(QWidget* parent = nullptr);
    EditorLineEdit* lineEdit() const override { return m_edit; }
    void setMoc(FTMoc* moc) override { m_moc = moc; }
    FTMoc* moc() const override { return m_moc; }

private:
    EditorLineEdit* m_edit;
    FTMoc* m_moc = nullptr;
};
