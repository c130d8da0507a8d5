#pragma once

#include <QRectF>

class CdLayout;
class QPainter;
class TextMeasurer;

// One drawing pass of a laid-out family diagram onto any painter (a window, an image, a PDF): the background,
// then the lines of every box, then every box (so lines lie under boxes), the timeline and the focal person's
// picture. Only boxes that reach `dirty` are drawn; a null `dirty` draws everything. Reads nothing from files or
// the database but what the boxes show.
namespace CdPainter {
void paintDiagram(QPainter& painter, CdLayout& layout, const QRectF& dirty, const TextMeasurer& measurer);
void paintDiagram(QPainter& painter, CdLayout& layout, const QRectF& dirty = {});
}
