#pragma once

#include <QColor>
#include <QList>
#include <QPen>

class CdPerson;

// How the line from a box to its owner is stroked. Built in steps:
//  1. natural link: black, 0.5, solid; any other type: red, 0.5, dashed 1 on 2 off;
//  2. a ghost box: dashed 1 on 2 off;
//  3. (diagram) a box with a person whose link certainty is below "redLineThreshold": red, 3, dashed 5 on 5 off;
//  4. (diagram) an associated person: black, 2 for the selected person, else 0.5.
struct CdLineStyle {
    QColor colour = Qt::black;
    double width = 0.5;
    // On and off lengths in points; empty for a solid line.
    QList<double> dash;

    static CdLineStyle forBox(const CdPerson& box, bool inDiagram, int redLineThreshold, bool selected);
    // The style of a line to another parent of the selected child: black when natural, else red dashed 1 on 2 off.
    static CdLineStyle forLink(int pcRelType);
    // A pen that draws the style (Qt measures dashes in pen widths).
    QPen pen() const;
};
