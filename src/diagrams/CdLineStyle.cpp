#include "diagrams/CdLineStyle.h"

#include "diagrams/CdPerson.h"

CdLineStyle CdLineStyle::forLink(int pcRelType)
{
    CdLineStyle s;
    if (pcRelType != 1) {
        s.colour = Qt::red;
        s.dash = {1, 2};
    }
    return s;
}

CdLineStyle CdLineStyle::forBox(const CdPerson& box, bool inDiagram, int redLineThreshold, bool selected)
{
    CdLineStyle s = forLink(box.pcRelType());
    if (box.isGhost())
        s.dash = {1, 2};
    if (inDiagram && !box.isGhost() && box.pcRelCertainty() < redLineThreshold) {
        s.colour = Qt::red;
        s.width = 3;
        s.dash = {5, 5};
    }
    if (inDiagram && box.ancLevel() == CdPerson::kAssociated) {
        s.colour = Qt::black;
        s.width = selected ? 2 : 0.5;
    }
    return s;
}

QPen CdLineStyle::pen() const
{
    QPen p(colour, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    if (!dash.isEmpty()) {
        QList<qreal> units;
        for (const double d : dash)
            units << d / width;
        p.setDashPattern(units);
    }
    return p;
}
