#include "tools/ui/VennDiagram.h"

#include "tools/ProjectViewsCombining.h"

#include <QPainter>

namespace {
const QColor kColour(127, 127, 255);
}

VennDiagram::VennDiagram(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("vennDiagram"));
    setFixedSize(sizeHint());
}

void VennDiagram::setBooleanOperator(int op)
{
    m_operator = op;
    update();
}

void VennDiagram::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const VennGeometry g = VennGeometry::forSize(size(), m_operator);
    painter.setPen(QPen(kColour, 1));
    painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    painter.fillPath(g.coloured, kColour);
    // The outlines over the fill, so that both circles stay visible whatever is coloured.
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(g.circle1);
    painter.drawEllipse(g.circle2);
    if (!g.hasLabels)
        return;
    QFont font(QStringLiteral("Arial"), 16);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(g.label1, Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("PV1"));
    painter.drawText(g.label2, Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("PV2 "));
}
