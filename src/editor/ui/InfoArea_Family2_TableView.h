#pragma once

#include "editor/ui/FamilyTableView.h"

// The family page's children table: the columns spread over its width (buttons, gender, dates and age fixed, the
// rest in proportion), the page's key moves (the notes keep the arrows and Return), and the database it saves.
class InfoArea_Family2_TableView : public FamilyTableView {
    Q_OBJECT
public:
    explicit InfoArea_Family2_TableView(QWidget* parent = nullptr);

    FamilyTableKeys::Move keyMove(const QString& column, FamilyTableKeys::Command command, int row) const override;

protected:
    FamilyChildrenLayout::Widths columnWidthsFor(double visibleWidth) const override;
};
