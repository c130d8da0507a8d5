#include "publishing/ContextDiagramImage.h"

#include "publishing/HtmlPictureWriter.h"
#include "publishing/HtmlWords.h"
#include "publishing/PublishAsHtml.h"

#include "diagrams/CdBackground.h"
#include "diagrams/CdDefaultPicture.h"
#include "diagrams/CdPerson.h"
#include "diagrams/CdTimeline.h"
#include "diagrams/CdWebContext.h"
#include "diagrams/TextMeasurer.h"

#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSpouseRel.h"
#include "shell/DisplayMsg.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {
const QString& L(const char* key)
{
    return htmlWord(key);
}

// Each person is drawn in several diagrams of a run, in boxes of the same few sizes: every thread that draws
// remembers the heights of the texts it laid out (the same on every thread: they depend on the fonts only).
const TextMeasurer& threadMeasurer()
{
    thread_local CachingTextMeasurer measurer(DocumentTextMeasurer::shared(), 50000);
    return measurer;
}

// The thread's canvas of `size`, reused from its last diagram once that has been encoded.
QImage& threadCanvas(const QSize& size)
{
    thread_local QImage canvas;
    if (canvas.size() != size || !canvas.isDetached())
        canvas = QImage(size, QImage::Format_RGB32);
    return canvas;
}

void drawDefaultPicture(QPainter& painter, const QImage& thumbnail, const QRectF& frame)
{
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setOpacity(1);
    painter.drawImage(frame, thumbnail);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 0.3));
    painter.drawRect(frame);
    painter.setPen(QPen(Qt::gray, 2.5));
    painter.drawRect(frame.adjusted(-4, -4, 4, 4));
    painter.restore();
}
} // namespace

ContextDiagramImage::ContextDiagramImage()
    : m_boxes(std::make_shared<Boxes>())
{
}
ContextDiagramImage::~ContextDiagramImage() = default;

double ContextDiagramImage::columnWidth() const
{
    return (m_diagramWidth - 10) / (m_maxAncLevel + 2);
}

double ContextDiagramImage::centreLine() const
{
    return m_diagramHeight * 0.5 + m_timelineHeight;
}

void ContextDiagramImage::setFields(const PublishAsHtml& generator)
{
    const HtmlOptions& o = generator.options();
    m_maxAncLevel = std::clamp(o.cdDiagramGenerations, 1, int(CdOptions::kMaxAncestorLevel));
    // A diagram narrower than its columns' margins would have no room for a box.
    const double width = std::max(60.0, double(o.cdDiagramWidth) - (o.cdBorder ? 20 : 0));
    m_bounds = QRectF(0, 0, std::trunc(width), kHeight);
    m_timelineHeight = kTimelineHeight;
    m_diagramWidth = m_bounds.width();
    m_diagramHeight = m_bounds.height() - (m_timelineHeight + 5);
    m_childrenOnLeft = true;
    m_showStepRelsOfFocalPerson = true;
    m_bgColour = generator.bgColour();

    // What every box of a run shares is made once per run: the boxes then read no user defaults.
    if (!m_web || m_webRun != generator.directory()) {
        m_webRun = generator.directory();
        m_web = CdWebContext::fromUserDefaults();
        m_web->lastGeneration = m_maxAncLevel;
        const PublishAsHtml* g = &generator;
        m_web->privacyWord = [g](const FTPerson* p) { return g->privacy().privacyWordFor(p); };
    }
    m_web->lastGeneration = m_maxAncLevel;
}

CdPerson* ContextDiagramImage::addBox(FTPerson* person, CdPerson* owner, bool spouse, FTEvent* marriage, long ancLevel)
{
    auto box = std::make_unique<CdPerson>(person, owner, spouse, marriage, ancLevel, m_web);
    box->setGender(person->gender());
    (*m_boxes).push_back(std::move(box));
    return (*m_boxes).back().get();
}

QImage ContextDiagramImage::createContextDiagramFor(const PublishAsHtml& generator, FTPerson* person,
                                                    QList<HtmlDiagramBox>* boxes)
{
    const std::function<QImage()> draw = prepareContextDiagramFor(generator, person, boxes);
    return draw ? draw() : QImage();
}

std::function<QImage()> ContextDiagramImage::prepareContextDiagramFor(const PublishAsHtml& generator,
                                                                      FTPerson* person, QList<HtmlDiagramBox>* boxes)
{
    if (!person)
        return {};
    setFields(generator);

    // A new array: the last diagram's boxes may still be drawing on another thread.
    m_boxes = std::make_shared<Boxes>();
    addFocalPerson(person);
    addSpouses(person);
    addChildren(person);
    addAncestors(person, 0, (*m_boxes).front().get());

    calculateFocalRect();
    (*m_boxes).front()->setRclBox(m_rclFocalPerson);
    calculateChildrensRects();
    calculateAncestorsRects();
    calculateSpouseRects();
    calculateStepParentsRects();

    const HtmlPrivacy& privacy = generator.privacy();
    for (const auto& box : *m_boxes) {
        box->setInPeopleSet(generator.peopleSet().contains(box->person())
                            && !privacy.suppressDetailsOfPerson(box->person()));
        box->keepTexts();
    }

    const QSize size = m_bounds.size().toSize();
    if (boxes) {
        boxes->clear();
        // An area of the image map never reaches past the image.
        const QRectF canvas(QPointF(0, 0), QSizeF(size));
        for (const auto& box : *m_boxes) {
            const QRectF inside = box->rclBox().intersected(canvas);
            if (!inside.isEmpty())
                boxes->append({box->person(), inside});
        }
    }

    // Everything below reads only what is gathered here.
    const QImage background = this->background(generator.options().colourGradient, generator.options().cdBorder);
    const QList<CdTimeline::Label> timeline = CdTimeline::labels(*m_boxes, m_maxAncLevel);
    const QImage picture = focalPersonsDefaultPicture(generator, person);
    const QRectF frame = picture.isNull() ? QRectF() : CdDefaultPicture::drawnRect(m_rclFocalPerson, picture.size());
    return [diagram = m_boxes, size, background, timeline, picture, frame] {
        QImage& canvas = threadCanvas(size);
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.save();
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPointF(0, 0), background);
        painter.restore();
        const TextMeasurer& measurer = threadMeasurer();
        for (const auto& box : *diagram)
            box->displayTextInBox(painter, true, measurer);
        for (const auto& box : *diagram)
            box->drawConnectionLines(painter);
        CdTimeline::displayTimeline(painter, timeline);
        if (!picture.isNull())
            drawDefaultPicture(painter, picture, frame);
        painter.end();
        return canvas;
    };
}

// ---- Collecting the boxes -------------------------------------------------------------------------------------

void ContextDiagramImage::addFocalPerson(FTPerson* person)
{
    addBox(person, nullptr, false, nullptr, CdPerson::kFocal);
}

void ContextDiagramImage::addSpouses(FTPerson* person)
{
    CdPerson* focal = (*m_boxes).front().get();
    for (FTSpouseRel* couple : person->spouseRelsArray()) {
        FTPerson* partner = couple->partnerOf(person);
        if (!partner)
            continue;
        CdPerson* box = addBox(partner, focal, true, couple->marriage(), CdPerson::kSpouse);
        focal->incrementNumSpouses(1);
        box->incrementNumParents(long(partner->naturalParents().size()));
    }
}

void ContextDiagramImage::addChildren(FTPerson* person)
{
    CdPerson* focal = (*m_boxes).front().get();
    for (FTPcRel* link : person->childRels()) {
        if (link->intPcRelType() == FTPcRel::kStep && !m_showStepRelsOfFocalPerson)
            continue;
        FTPerson* child = link->child();
        if (!child)
            continue; // skipped, never deleted: publishing changes nothing in the database
        focal->incrementNumChildren(1);
        CdPerson* box = addBox(child, focal, false, nullptr, CdPerson::kChild);
        box->setPcRelType(link->intPcRelType());
        box->incrementNumChildren(long(child->children().size()));
    }
}

void ContextDiagramImage::addAncestors(FTPerson* person, int generation, CdPerson* box)
{
    const int level = generation + 1;
    bool stepParentsAdded = false;
    bool metMother = false;
    for (FTPerson* parent : person->naturalParents()) {
        box->incrementNumParents(1);
        // The step parents stand between the father's line and the mother's box.
        metMother = metMother || parent->gender() != L("MaleShort");
        if (level == 1 && metMother && !stepParentsAdded) {
            addStepParents(person);
            stepParentsAdded = true;
        }
        if (level <= m_maxAncLevel) {
            CdPerson* parentBox = addBox(parent, box, false, nullptr, level);
            addAncestors(parent, level, parentBox);
        }
    }
    if (level == 1 && !stepParentsAdded)
        addStepParents(person);
}

void ContextDiagramImage::addStepParents(FTPerson* person)
{
    if (!m_showStepRelsOfFocalPerson)
        return;
    CdPerson* focal = (*m_boxes).front().get();
    for (FTPcRel* link : person->parentRels()) {
        if (link->intPcRelType() == FTPcRel::kNatural || !link->parent())
            continue;
        CdPerson* box = addBox(link->parent(), focal, false, nullptr, 1);
        box->setPcRelType(link->intPcRelType());
    }
}

// ---- Layout -----------------------------------------------------------------------------------------------------

void ContextDiagramImage::resizeTheTextBox(QRectF& slot)
{
    const double w = slot.width();
    const double h = slot.height();
    slot.setY(slot.y() + std::max(std::trunc(h / 20), 1.0));
    double height = h - std::max(std::trunc(h / 10), 1.0);
    if (height <= 0)
        height += 1;
    slot.setHeight(height);
    slot.setX(slot.x() + std::trunc(w / 10));
    slot.setWidth(w - std::trunc(w / 5));
}

void ContextDiagramImage::calculateFocalRect()
{
    const double H = m_diagramHeight;
    const double W = columnWidth();
    const double b = H / 8 > 1 ? H / 8 : 1;
    QRectF slot(W, centreLine() - b / 2 - 10, W, b + 20);
    resizeTheTextBox(slot);
    m_rclFocalPerson = slot;
}

void ContextDiagramImage::calculateChildrensRects()
{
    const double H = m_diagramHeight;
    const double W = columnWidth();
    const double C = centreLine();
    int n = 0;
    for (const auto& box : (*m_boxes))
        n += box->ancLevel() == CdPerson::kChild;
    if (n == 0)
        return;
    const double r = n < 9 ? H / 8 : H / n;
    int k = 0;
    for (const auto& box : (*m_boxes)) {
        if (box->ancLevel() != CdPerson::kChild)
            continue;
        ++k;
        const double y = n % 2 == 0 ? C - r * (n / 2 - k + 1) : C - r / 2 - r * ((n + 1) / 2 - k);
        QRectF slot(0, y, W, r);
        resizeTheTextBox(slot);
        box->setRclBox(slot);
    }
}

void ContextDiagramImage::calculateAncestorsRects()
{
    const double H = m_diagramHeight;
    const double W = columnWidth();
    const double b = std::min(H / 8, H / std::ldexp(1.0, m_maxAncLevel));
    const QString male = L("MaleShort");
    int fathers = 0, mothers = 0;
    for (const auto& box : (*m_boxes)) {
        const long level = box->ancLevel();
        if (level < 1 || level > m_maxAncLevel || box->pcRelType() != FTPcRel::kNatural || !box->owner())
            continue;
        const QRectF owner = box->owner()->rclBox();
        const double c = owner.y() + owner.height() / 2;
        const bool father = box->gender() == male;
        const double offset = H / std::ldexp(1.0, int(level) + 1);
        QRectF slot(W * double(level + 1), father ? c - offset - b / 2 : c + offset - b / 2, W, b);
        if (level == 1 && ++(father ? fathers : mothers) > 1) {
            // A second natural father or mother: shown among the step parents, with a warning to correct it.
            slot.translate(0, father ? b : -b);
            DisplayMsg(QStringLiteral("%1: %2 %3\n\n%4")
                           .arg(L("WARNING"), box->owner()->person()->name(), L(father ? "manyNatDads" : "manyNatMums"),
                                L("CorrectNow")));
            box->setPcRelType(FTPcRel::kUnknown);
        }
        resizeTheTextBox(slot);
        box->setRclBox(slot);
    }
}

void ContextDiagramImage::calculateSpouseRects()
{
    int m = 0;
    for (const auto& box : (*m_boxes))
        m += box->ancLevel() == CdPerson::kSpouse;
    if (m == 0)
        return;
    const double H = m_diagramHeight;
    const QRectF F = m_rclFocalPerson;
    const double top = F.y() + F.height() + 5;
    const double r = std::min({(H - top) / m, F.height(), H / 8});
    int j = 0;
    for (const auto& box : (*m_boxes)) {
        if (box->ancLevel() != CdPerson::kSpouse)
            continue;
        box->setRclBox(QRectF(F.x(), top + r * j + 2, F.width(), r - 4));
        ++j;
    }
}

void ContextDiagramImage::calculateStepParentsRects()
{
    const auto isStepParent = [](const CdPerson& box) {
        return box.ancLevel() == 1 && box.pcRelType() != FTPcRel::kNatural;
    };
    int s = 0;
    for (const auto& box : (*m_boxes))
        s += isStepParent(*box);
    if (s == 0)
        return;
    const double H = m_diagramHeight;
    const double W = columnWidth();
    const double h0 = H / 8;
    const double top = H / 4 + h0 / 2 + m_timelineHeight;
    const double d = (H / 2 - h0) / s;
    const double h = std::min(h0, d);
    int k = 0;
    for (const auto& box : (*m_boxes)) {
        if (!isStepParent(*box))
            continue;
        QRectF slot(std::trunc(2 * W), top + d * k + d / 2 - h / 2, W, h);
        resizeTheTextBox(slot);
        box->setRclBox(slot);
        ++k;
    }
}

// ---- Drawing ----------------------------------------------------------------------------------------------------

const QImage& ContextDiagramImage::background(double gradient, bool border)
{
    const QString key = QStringLiteral("%1 %2 %3 %4 %5 %6")
                            .arg(m_bgColour.name(QColor::HexArgb))
                            .arg(gradient, 0, 'g', 17)
                            .arg(border)
                            .arg(m_bounds.width())
                            .arg(m_bounds.height())
                            .arg(m_maxAncLevel);
    if (key != m_backgroundKey) {
        m_backgroundKey = key;
        m_background = QImage(m_bounds.size().toSize(), QImage::Format_RGB32);
        QPainter background(&m_background);
        paintBackground(background, gradient, border);
    }
    return m_background;
}

void ContextDiagramImage::paintBackground(QPainter& painter, double gradient, bool border)
{
    if (gradient < 0.1 && border) {
        // With a border the diagram sits on the page's own colour.
        painter.fillRect(m_bounds, m_bgColour);
        return;
    }
    // Otherwise it shades from the page's colour down the person's column to darker edges, never flatter than
    // a tenth.
    painter.fillRect(m_bounds, Qt::white);
    const double fraction = 1.5 * columnWidth() / m_diagramWidth;
    CdBackground::fillShading(painter, m_bounds.size(), m_bgColour.toRgb(), std::max(gradient, 0.1), fraction);
}

QImage ContextDiagramImage::focalPersonsDefaultPicture(const PublishAsHtml& generator, FTPerson* person) const
{
    if (generator.privacy().depersonalizeDetailsOfPerson(person))
        return {};
    FTPicture* picture = person->defaultPicture();
    if (!picture || HtmlPictureWriter::isMapImage(picture))
        return {};
    return HtmlPictureWriter::thumbnailImageOf(picture);
}
