#pragma once

#include <QByteArray>
#include <QList>
#include <QRectF>

class FTPerson;
class PublishAsHtml;

// One person's box in a context-diagram image, in the image's pixels (origin top left): the page turns each box
// into an area of the image map that links to that person's page.
struct HtmlDiagramBox {
    FTPerson* person = nullptr;
    QRectF rect;
};

// Draws the context-diagram image of a person page. The generator installs none by itself: without one (or with
// the tabular diagram chosen) a page shows the diagram as a table. The generator writes the image file, the image
// element and its map; the drawer only draws, following the run's options and privacy (generator.options(),
// generator.privacy(), generator.bgColour()).
//
//   class JpegDiagram : public HtmlContextDiagram { ... };
//   JpegDiagram drawer;
//   generator.setContextDiagram(&drawer);
class HtmlContextDiagram {
public:
    virtual ~HtmlContextDiagram() = default;
    // The JPEG data of the person's diagram (empty: the page gets no diagram), and in `boxes` the boxes drawn, the
    // person's own first.
    virtual QByteArray createContextDiagramFor(const PublishAsHtml& generator, FTPerson* person,
                                               QList<HtmlDiagramBox>* boxes) = 0;
};
