#pragma once

#include <QWidget>

// The two circles of a combination of project views, "PV1" and "PV2", with the area the operator selects
// coloured (ProjectViewsCombining's operators; any other value draws the circles alone).
class VennDiagram : public QWidget {
    Q_OBJECT
public:
    explicit VennDiagram(QWidget* parent = nullptr);

    int booleanOperator() const { return m_operator; }
    void setBooleanOperator(int op);

    // Narrow enough for the circles to overlap (they meet while the width is below 20 + 2 * diameter).
    QSize sizeHint() const override { return {200, 160}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_operator = 0;
};
