// The relationship band: dragged from the selected person's box over a snapshot of the diagram; on release the pair
// goes to the parent-child type dialog or the couple's family dialog.
#include "diagrams/ui/CdDiagram.h"

#include "diagrams/CdPerson.h"

#include "model/FTModelDefaults.h"
#include "model/FTMoc.h"

void CdDiagram::trackMouseButtonForRelationship(const QPointF& point)
{
    CdPerson* source = m_layout.findPerson(selectedPerson());
    if (!source)
        return;
    // Taken before the band shows, so that the snapshot is the diagram alone.
    m_cdBitmap = grab();
    m_bandSource = source;
    m_band = {};
    m_rubberBand = true;
    // The first position only sets the band up.
    rubberBandStep(point, false);
}

void CdDiagram::rubberBandStep(const QPointF& point, bool display)
{
    if (!m_rubberBand)
        return;
    if (!m_layout.containsBox(m_bandSource)) {
        // The source box went with its person: nothing can be related any more.
        m_band = {};
        update();
        return;
    }
    m_band = CdRelationshipBand::classify(*m_bandSource, getClickedPerson(point), point, m_layout.childrenOnLeft());
    if (display)
        update();
}

void CdDiagram::endRubberBand(const QPointF& point)
{
    rubberBandStep(point, false);
    const CdRelationshipBand::Step chosen = m_band;
    m_rubberBand = false;
    m_cdBitmap = QPixmap();
    m_bandSource = nullptr;
    m_band = {};
    update();
    if (m_refreshArray)
        schedulePrepare();
    if (chosen.parent && chosen.child)
        m_commands.invokePcRelDialog(chosen.parent, chosen.child);
    else if (chosen.isCouple())
        m_commands.invokeFamilyDialog(chosen.spouse1, chosen.spouse2);
}
