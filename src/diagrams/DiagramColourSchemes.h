#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

// The colours of the family diagram and of the panels, kept in the user defaults and read by every redraw, and the
// three complete schemes the colours window offers. Applying a scheme writes all its values, then posts
// "RefreshAllViews" once (no object) so that every view of every database redraws:
//
//   DiagramColourSchemes::apply(DiagramColourSchemes::Classic, palette().color(QPalette::Window));
class DiagramColourSchemes {
public:
    enum Scheme { Defaults, Classic, Demo };

    // The colour keys the window offers, in its order: the diagram's background, the four kinds of box, the
    // panels and the main window.
    static QStringList colourKeys();

    // Writes the scheme's values. The classic scheme gives the panels `controlColour` (the desktop's own window
    // colour) and also resets the hierarchy diagram's background, frame colour and shading; the other two leave
    // those alone.
    static void apply(Scheme scheme, const QColor& controlColour = QColor());
};
