#pragma once

#include <QImage>
#include <QList>
#include <QRectF>

#include <functional>

class FTPerson;
class PublishAsHtml;

// One person's box in a context-diagram image, in the image's pixels (origin top left): the page turns each box
// into an area of the image map that links to that person's page.
struct HtmlDiagramBox {
    FTPerson* person = nullptr;
    QRectF rect;
};

// Draws the context-diagram image of a person page (ContextDiagramImage; tests install simpler ones). Without a
// drawer (or with the tabular diagram chosen) a page shows the diagram as a table. The generator writes the image
// as a JPEG file at quality 40, the image element and its map; the drawer only draws, following the run's options
// and privacy (generator.options(), generator.privacy(), generator.bgColour()).
//
//   class BlankDiagram : public HtmlContextDiagram { ... };
//   BlankDiagram drawer;
//   generator.setContextDiagram(&drawer);
class HtmlContextDiagram {
public:
    virtual ~HtmlContextDiagram() = default;
    // The person's diagram (null: the page gets no diagram), and in `boxes` the boxes drawn, the person's own
    // first.
    virtual QImage createContextDiagramFor(const PublishAsHtml& generator, FTPerson* person,
                                           QList<HtmlDiagramBox>* boxes) = 0;

    // The same diagram as a drawing the generator runs on a worker thread while it makes the next page: whatever
    // the drawing needs from the database is read here, on the caller's thread, and the returned function reads
    // nothing of it. It may run on any thread, once. A null function: the page gets no diagram. By default the
    // diagram is drawn here and the function only hands it over.
    virtual std::function<QImage()> prepareContextDiagramFor(const PublishAsHtml& generator, FTPerson* person,
                                                             QList<HtmlDiagramBox>* boxes)
    {
        QImage image = createContextDiagramFor(generator, person, boxes);
        if (image.isNull())
            return {};
        return [image] { return image; };
    }
};
