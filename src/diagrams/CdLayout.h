#pragma once

#include "diagrams/CdOptions.h"

#include <QImage>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class CdPerson;
class FTMoc;
class FTEvent;
class FTPcRel;
class FTPerson;

// The family diagram's boxes and their rectangles, without a window: which relatives of the focal person become
// boxes, in which order (CdLayout_RefreshPersonArray.cpp), and where each box stands in a W × H area
// (CdLayout_Rects.cpp). The view (CdDiagram) owns one; painting (CdPainter) and the hit tests read it.
//
// One pass:
//   layout.setOptions(CdOptions::fromUserDefaults());
//   layout.refreshPersonArray();           // only when the data changed
//   layout.setBounds(size);
//   layout.calculateFocalRect();
//   layout.setPersonRects();
//
// Box kinds are CdPerson::ancLevel(): 0 focal, -1 child, -2 spouse, -10 associated, 1..n ancestor generation;
// step, foster and adoptive parents of the focal person are level 1 with a pcRelType other than 1. Element 0 of
// cdPersonsArray is the focal box, and every ancestor follows its owner, so owners are placed before their parents.
class CdLayout {
public:
    explicit CdLayout(FTMoc* moc = nullptr);
    ~CdLayout();
    CdLayout(const CdLayout&) = delete;
    CdLayout& operator=(const CdLayout&) = delete;

    FTMoc* moc() const { return m_moc; }
    // A new context empties the boxes.
    void setMoc(FTMoc* moc);
    const CdOptions& options() const { return m_options; }
    void setOptions(const CdOptions& options);
    // The person drawn as selected (colours, gender symbol, line widths, the selected child's lines).
    FTPerson* selectedPerson() const { return m_selectedPerson; }
    void setSelectedPerson(FTPerson* person) { m_selectedPerson = person; }

    // ---- The boxes (CdLayout_RefreshPersonArray.cpp) ----
    const std::vector<std::unique_ptr<CdPerson>>& cdPersonsArray() const { return m_boxes; }
    CdPerson* focalBox() const;
    // Empties the array and builds it around the context's focal person: the focal box, spouses, children,
    // ancestors (with the step parents among the parents), associated people.
    void refreshPersonArray();
    void addFocalPerson();
    void addSpouses();
    void addChildren();
    void addAncestors(FTPerson* person, int level, CdPerson* owner);
    void addStepParentsOfFocalPerson();
    void addAssociatedPeople(FTPerson* person);
    // Appends a box made elsewhere (a diagram built by other rules, tests); answers it.
    CdPerson* addBox(std::unique_ptr<CdPerson> box);
    // The focal person's child links without a child met by the last rebuild (the caller deletes them).
    QList<FTPcRel*> takeLinksWithoutChild();
    // Every box of the person leaves the array; boxes that hung from one of them keep no owner.
    int removeBoxesOf(FTPerson* person);
    // ---- Labels of an ancestral project view (CdLayout_Labels.cpp) ----
    // The box detail options ("cdNameOption") that show them; refreshPersonArray() adds the one chosen.
    static constexpr int kConsanguinityOption = 10;
    static constexpr int kAhnentafelOption = 11;
    // Labels the boxes of the view root's ancestors (the root included) with their ahnentafel numbers: "Ahnentafel
    // No = 6", "Ahnentafel Nos = 8, 14" (base 2 with "binaryAhnentafelNumbers"), or "12 Ahnentafel paths to
    // <root>" beyond 10 numbers. Without an ancestral view nothing is labelled.
    void addAhnentafelNumbersToCdPersons();
    // Labels every box with a person with the person's blood relationship to the view's root, or "No
    // consanguinity with <root's short name>". Without an ancestral view nothing is labelled.
    void addConsanguinityToCdPersons();
    // Loads what painting shows of pictures: the mug shots (with "cdShowMugShots") and the focal person's
    // default picture or the picture being paged (gPicNum with bScrollDefaultPicture).
    void loadPictures();
    // Only the focal person's picture (after paging through the person's pictures).
    void loadFocalPicture();

    // ---- Rectangles (CdLayout_Rects.cpp) ----
    QSizeF bounds() const { return m_bounds; }
    void setBounds(const QSizeF& size) { m_bounds = size; }
    int maxAncLevel() const { return m_options.maxAncLevel; }
    int timelineHeight() const { return m_options.timelineHeight(); }
    bool childrenOnLeft() const { return m_options.childrenOnLeft; }
    double diagramWidth() const { return m_diagramWidth; }
    double diagramHeight() const { return m_diagramHeight; }
    const QRectF& rclFocalPerson() const { return m_rclFocalPerson; }
    // (W - 10) / (maxAncLevel + 2).
    double columnWidth() const;
    void calculateFocalRect();
    // The focal box gets rclFocalPerson, then children, ancestors, spouses, step parents, associated people.
    void setPersonRects();
    void calculateChildrensRects();
    void calculateAncestorsRects();
    void calculateSpouseRects();
    void calculateStepParentsRects();
    void calculateAssociatePeoplesRects();
    // The far generations halve their boxes' height at each step: a box too low for a line of the smallest text
    // grows into the empty room above and below it, never past half the gap to its neighbours in the column.
    void growLowAncestorBoxes();
    // Insets a slot to the box proper (whole points, by integer division).
    static void resizeTheTextBox(QRectF* rect);
    // The warnings of the last setPersonRects() about a second natural father or mother (each once per rebuild).
    QStringList takeWarnings();

    // ---- Hit tests ----
    // The first box of the person in array order, or null.
    CdPerson* findPerson(const FTPerson* person) const;
    // Whether the box is one of the array's (a box kept from before a rebuild is not).
    bool containsBox(const CdPerson* box) const;
    // The first box whose rectangle, grown by 2 points at top and bottom, holds the point.
    CdPerson* getClickedPerson(const QPointF& point) const;
    // The focal box for a point in the default picture, else the first box whose mug shot holds it.
    CdPerson* getClickedMugShot(const QPointF& point) const;
    // Zero unless one of the two is a child box; then the union of every box of level 1 and below, widened by 5
    // points to the left: what a change of selected child redraws.
    QRectF getRedrawRectFor(const CdPerson* a, const CdPerson* b) const;
    // A press on the 12-point square at the middle of a line as last painted (CdLayout_Paths.cpp): a box's line to
    // its owner, or one of the selected child's lines to its other parents. `hit` with the link's parent and child
    // (either may be missing for an empty slot's line), or with the box of an associated person.
    struct ClickedPath {
        bool hit = false;
        CdPerson* associatedBox = nullptr;
        FTPerson* parent = nullptr;
        FTPerson* child = nullptr;
    };
    ClickedPath getClickedPath(const QPointF& point) const;

    // ---- The focal person's default picture (CdDefaultPicture) ----
    struct PictureState {
        int gPicNum = 0;
        bool bScrollDefaultPicture = false;
        bool bDrawFocusRing = false;
        bool bMiniPicExpanded = false;
        QRectF defaultImageRect;
    };
    PictureState& pictureState() { return m_pictureState; }
    const PictureState& pictureState() const { return m_pictureState; }
    const QImage& focalPicture() const { return m_focalPicture; }
    int focalPictureCount() const { return m_focalPictureCount; }
    // Yes while a drawing pass runs: boxes cast shadows only then.
    bool gShowShadows() const { return m_gShowShadows; }
    void setShowShadows(bool on) { m_gShowShadows = on; }

    // Whether the person belongs to the current project view (for an ancestral view: the root's ancestors).
    bool isInProjectView(FTPerson* person) const;

private:
        CdPerson* makeBox(FTPerson* person, CdPerson* owner, bool spouse, FTEvent* marriage, long level);
    int certaintyOf(const FTPcRel* link) const;

    FTMoc* m_moc = nullptr;
    CdOptions m_options;
    FTPerson* m_selectedPerson = nullptr;
    std::vector<std::unique_ptr<CdPerson>> m_boxes;
    QList<FTPcRel*> m_linksWithoutChild;
    bool m_stepParentsAdded = false;
    QSizeF m_bounds;
    double m_diagramWidth = 0;
    double m_diagramHeight = 0;
    QRectF m_rclFocalPerson;
    QStringList m_warnings;
    PictureState m_pictureState;
    QImage m_focalPicture;
    int m_focalPictureCount = 0;
    bool m_gShowShadows = false;
    // The current project view's members, gathered once per rebuild.
    struct ProjectViewMembers;
    std::unique_ptr<ProjectViewMembers> m_viewMembers;
};
