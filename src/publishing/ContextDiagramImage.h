#pragma once

#include "publishing/HtmlContextDiagram.h"

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QString>

#include <memory>
#include <vector>

class CdPerson;
class FTEvent;
class FTPerson;
class QPainter;
struct CdWebContext;

// The context diagram of a person page as an image: the person with the spouses below, the children in the first
// column, the step parents and natural ancestors in the columns to the right, drawn with the family diagram's boxes
// (CdPerson, made without a diagram) on a canvas 300 pixels high, the average years of each column along the top
// and the person's picture above the box.
//
// Unlike the main window's diagram it lays the boxes out itself and follows the page's person only: no empty boxes
// to type into, no associated people, no mug shots; a parent-child link without a child is skipped (the run changes
// nothing in the database). Every box is sized from the canvas: children share its height (an eighth each, or
// less when there are more than eight), ancestors take min(H/8, H/2^generations) and sit H/2^(L+1) above or below
// their child's line.
//
//   ContextDiagramImage drawer;
//   generator.setContextDiagram(&drawer);          // the generator's own default is one of these
//   QImage image = drawer.createContextDiagramFor(generator, person, &boxes);
//
// A run draws on its worker threads: prepareContextDiagramFor() collects and lays out the boxes and reads their
// texts, years and the picture on the caller's thread; the drawing it returns reads nothing of the database.
class ContextDiagramImage : public HtmlContextDiagram {
public:
    using Boxes = std::vector<std::unique_ptr<CdPerson>>;

    ContextDiagramImage();
    ~ContextDiagramImage() override;

    QImage createContextDiagramFor(const PublishAsHtml& generator, FTPerson* person,
                                   QList<HtmlDiagramBox>* boxes) override;
    std::function<QImage()> prepareContextDiagramFor(const PublishAsHtml& generator, FTPerson* person,
                                                     QList<HtmlDiagramBox>* boxes) override;

    // ---- The last diagram (tests read its layout) ----
    const Boxes& cdPersonsArray() const { return *m_boxes; }
    QRectF bounds() const { return m_bounds; }
    QRectF rclFocalPerson() const { return m_rclFocalPerson; }
    double diagramHeight() const { return m_diagramHeight; }
    double diagramWidth() const { return m_diagramWidth; }
    int maxAncLevel() const { return m_maxAncLevel; }
    // W: the width of a column. C: the person's centre line.
    double columnWidth() const;
    double centreLine() const;

    // Insets a slot to the box drawn in it (whole numbers, by truncation): a twentieth of its height off the top,
    // a tenth off its height, a tenth of its width off the left and a fifth off its width.
    static void resizeTheTextBox(QRectF& slot);

    static constexpr double kHeight = 300;
    static constexpr double kTimelineHeight = 16;

private:
    void setFields(const PublishAsHtml& generator);
    CdPerson* addBox(FTPerson* person, CdPerson* owner, bool spouse, FTEvent* marriage, long ancLevel);
    void addFocalPerson(FTPerson* person);
    void addSpouses(FTPerson* person);
    void addChildren(FTPerson* person);
    void addAncestors(FTPerson* person, int generation, CdPerson* box);
    void addStepParents(FTPerson* person);
    void calculateFocalRect();
    void calculateChildrensRects();
    void calculateAncestorsRects();
    void calculateSpouseRects();
    void calculateStepParentsRects();
    const QImage& background(double gradient, bool border);
    void paintBackground(QPainter& painter, double gradient, bool border);
    // The thumbnail of the person's default picture, as the diagram shows it above the box; null for none.
    QImage focalPersonsDefaultPicture(const PublishAsHtml& generator, FTPerson* person) const;

    // Every diagram of a run is drawn over the same background.
    QImage m_background;
    QString m_backgroundKey;
    std::shared_ptr<CdWebContext> m_web;
    QString m_webRun; // the working folder the shared box context was made for
    // The boxes of the last diagram, shared with its drawing.
    std::shared_ptr<Boxes> m_boxes;
    QRectF m_bounds;
    QRectF m_rclFocalPerson;
    QColor m_bgColour;
    int m_maxAncLevel = 3;
    double m_diagramWidth = 0;
    double m_diagramHeight = 0;
    double m_timelineHeight = kTimelineHeight;
    bool m_childrenOnLeft = true;
    bool m_showStepRelsOfFocalPerson = true;
};
