#pragma once

#include "diagrams/HdOptions.h"
#include "diagrams/HdTags.h"
#include "diagrams/TextMeasurer.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QSet>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

class FTPerson;
class FTSpouseRel;
class Hierarchy;
class QTextDocument;

// The hierarchy diagram's tree of ancestors or descendants of one root person, and its layout: which people get
// a box, the text lines and styled text of each box, and every box's rectangle in the view's coordinates (y grows
// downwards). The hierarchy window holds one, rebuilds it when it is marked stale, and paints from its fields.
//
// Two orientations: top-down, where each generation is a horizontal band (in an ancestors diagram the root's band
// is the lowest), and horizontal, where each generation is a column with the root on the left. Cascaded leaves a
// parent level with its first child; scrunched packs the subtrees together; size to width fits the diagram to the
// window.
//
// Every walk over the tree is iterative: a line of a thousand generations needs no deep stack. A person met a
// second time (pedigree collapse) gets a box that is not expanded (`repeatFlag`), and the person's first box is
// marked `repeatedElsewhere`.
//
//   HierarchyLayout layout;
//   layout.setRootPerson(person);
//   layout.setBAncestors(true);
//   layout.createHierarchy(viewport.width(), printer.paperSize);   // reads the "hd" options now
//   QSizeF frame = layout.resetFrameSize(previouslySelected, viewport.size());
//   layout.createRootPath();
//   for each box: node->rclBox(), layout.getAttributedStringFor(node, true)
class HierarchyLayout {
public:
    // Box texts are measured with `measurer`, on several threads at once for a large tree.
    explicit HierarchyLayout(const TextMeasurer& measurer = DocumentTextMeasurer::shared());
    ~HierarchyLayout();
    HierarchyLayout(const HierarchyLayout&) = delete;
    HierarchyLayout& operator=(const HierarchyLayout&) = delete;

    // ---- What the window chooses ----

    FTPerson* rootPerson() const { return m_rootPerson; }
    // Marks the tree for a rebuild.
    void setRootPerson(FTPerson* person);
    bool bAncestors() const { return m_bAncestors; }
    void setBAncestors(bool ancestors);
    bool showPageBreaks() const { return m_showPageBreaks; }
    void setShowPageBreaks(bool on) { m_showPageBreaks = on; }
    // The object URIs of the people whose next generation the user folded away.
    QSet<QString>& contractedPeople() { return m_contractedPeople; }
    const QSet<QString>& contractedPeople() const { return m_contractedPeople; }
    // Yes: build again before the next painting.
    bool refreshArray() const { return m_refreshArray; }
    void setRefreshArray(bool on) { m_refreshArray = on; }

    // ---- Building and laying out ----

    // Builds the tree from the root person and lays it out with the "hd" options read now. `visibleWidth` is
    // the width of the window's visible area (size to width); `paperSize` the printer's paper in points (page
    // breaks). Leaves no node selected and the tree fresh.
    void createHierarchy(double visibleWidth, const QSizeF& paperSize);
    void createHierarchy(const HdOptions& options, double visibleWidth, const QSizeF& paperSize);
    // After a build: selects the first box of `person` (the root's when the person has none) and answers the
    // size of the view: the diagram's extent, at least `visibleSize`.
    QSizeF resetFrameSize(FTPerson* person, const QSizeF& visibleSize);
    // Fills pathToRoot (only with "hdShowRootPath"): the selected box and its owners up to the root, and, for a
    // person shown more than once, every other box of the person with its owners. Each box once.
    void createRootPath();
    // The selected box and its owners up to the root, whatever the options.
    static QList<Hierarchy*> pathFromNodeToRoot(Hierarchy* node);

    // ---- Finding boxes (depth first, never below maxLevel) ----

    // The first box of `person` at or under `from`; null when none.
    Hierarchy* findFirstPerson(const FTPerson* person, Hierarchy* from) const;
    // Every box of `person` at or under `from`, not looking below a box found.
    void recurseFindPerson(const FTPerson* person, Hierarchy* from, QList<Hierarchy*>& found) const;
    // The first box at or under `h`, depth first, on a's level with a row greater than a's; null when none.
    Hierarchy* nextInSameColumn(const Hierarchy* a, Hierarchy* h) const;
    // The people the diagram shows, each once however many boxes they have, none below maxLevel: by record
    // number, then family and given names regardless of case, then birth year.
    QList<FTPerson*> loadPeopleArray() const;

    // ---- The tree and its measures, as the last build left them ----

    const HdOptions& options() const { return m_options; }
    Hierarchy* rootHierarchy() const { return m_rootHierarchy.get(); }
    Hierarchy* selectedHierarchy() const { return m_selectedHierarchy; }
    void setSelectedHierarchy(Hierarchy* node) { m_selectedHierarchy = node; }
    const QList<Hierarchy*>& pathToRoot() const { return m_pathToRoot; }
    // The people who have a box that is neither repeated nor folded.
    const QSet<FTPerson*>& personSet() const { return m_personSet; }
    // The root of the current ancestral view and that person's natural ancestors, while consanguinity is shown;
    // null otherwise.
    const QSet<FTPerson*>* consanguinitySet() const { return m_consanguinitySet.get(); }
    int maxLevel() const { return m_maxLevel; }
    int maxLevelFound() const { return m_maxLevelFound; }
    double columnWidth() const { return m_columnWidth; }
    double colWidthFactor() const { return m_colWidthFactor; }
    double pointSize() const { return m_pointSize; }
    double maxRow() const { return m_maxRow; }
    double leftMargin() const { return m_leftMargin; }
    double topMargin() const { return m_topMargin; }
    double horizontalSpacing() const { return m_horizontalSpacing; }
    double verticalSpacing() const { return m_verticalSpacing; }
    bool bCascaded() const { return m_bCascaded; }
    bool bScrunch() const { return m_bScrunch; }
    bool bHorizontal() const { return m_bHorizontal; }
    bool bBlackAndWhite() const { return m_options.blackAndWhite; }
    double xExtent() const { return m_xExtent; }
    // Makes the diagram at least `width` wide (its title block's width), until the next build. A top-down diagram
    // moves to the middle of the new width, under its title; one across keeps its columns under the timeline.
    void keepWidthAtLeast(double width);
    double yExtent() const { return m_yExtent; }
    // The size-to-width factor: 1 unless size to width widened the diagram.
    double mag() const { return m_mag; }
    // Per level, from the root's level 0 to maxLevelFound. Top-down: a band's top (y) and height.
    const std::vector<QRectF>& rowHeightsArray() const { return m_rowHeights; }
    // Per level (horizontal diagrams): the average birth year of the generation, 0 when none is known.
    const std::vector<int>& timelineArray() const { return m_timeline; }
    // The people whose lines were made, those of sibling and spouse's-ancestor lists included.
    int numPeopleInDiagram() const { return m_numPeopleInDiagram; }

    // ---- Box text lines (HierarchyLayout_Lines.cpp) ----

    // The tagged lines of a box, as the options of the last build choose them.
    QStringList linesForHierarchy(Hierarchy* node);

    // ---- Box text (HierarchyLayout_BoxText.cpp) ----

    // The space between a box's sides and its text, inside the width the text is laid out at.
    static constexpr double kTextPadding = 5.0;
    // The styled text of a box: its lines in Arial at pointSize, coloured by tag, with the people's pictures as
    // images when `includePicture`. The document has kTextPadding at either side and no margin above or below; it
    // is measured and drawn at the box's width.
    std::unique_ptr<QTextDocument> getAttributedStringFor(Hierarchy* node, bool includePicture);
    // The colour of a line's text by its tag.
    QColor fgColour(const QString& tagText) const;
    // The short name, with "(birth - death)" years as four digits unless the birth line carries the dates.
    QString getPersonsNameString(FTPerson* person) const;
    // The line of the couple at `index` of `couples`, as seen from `person`.
    QString getSpouseStringFrom(const QList<FTSpouseRel*>& couples, FTPerson* person, int index) const;
    // The person's default picture fitted to the column, framed (with the first name under it with
    // "hdSpousePictures"); null without one, for a map with "hdExcludeMaps", and in a column too narrow.
    QImage defaultPictureForPerson(FTPerson* person);
    const HdTags& tags() const { return m_tags; }

    // ---- Moving subtrees (HierarchyLayout_Scrunch.cpp) ----

    // How far h's subtree may move without any box of it coming nearer than the spacing to the box before or
    // after it on its level, or past the margin: left or right (top-down), up or down (horizontal). 0 when
    // nothing limits it; below 0 when boxes already overlap.
    double getMaxRightToLeftScrunch_V(Hierarchy* h) const;
    double getMaxLeftToRightScrunch_V(Hierarchy* h) const;
    double getMaxBottomUpScrunchFor(Hierarchy* h) const;
    double getMaxTopDownScrunchFor(Hierarchy* h) const;
    // Moves h and its subtree left (up) by d; right (down) for a negative d.
    void recurseShiftLeftPixels_V(Hierarchy* h, double d);
    void recurseShiftUpPixels_H(Hierarchy* h, double d);

private:
    // ---- The walks ----
    // Depth first from `from`, children in order, never below maxLevel and never into a repeated or folded box:
    // `pre` on the way down, `post` once the box's subtree is done.
    void walk(Hierarchy* from, const std::function<void(Hierarchy*)>& pre,
        const std::function<void(Hierarchy*)>& post = {}) const;
    QList<Hierarchy*> shownChildren(Hierarchy* node) const;

    // ---- Building (HierarchyLayout.cpp) ----
    void recurseCreateHierarchy(Hierarchy* root);
    // One box's first visit: row, repeat, lines, folding; answers the children to visit.
    QList<Hierarchy*> visitWhileBuilding(Hierarchy* h, double row);
    void makeConsanguinitySet();
    void setColumnWidthAndPointSize(double visibleWidth);
    void recurseTimeline();
    void recurseSetExtents();
    void recurseReset();

    // ---- Top-down (HierarchyLayout_TopDown.cpp) ----
    void recurseHierarchy_V1();
    void adjustRowHeightsForPageBreaks_V(double paperHeight);
    void recurseHierarchy_V2();
    void setBoxPosition_V(Hierarchy* h, int index);
    void centrePersonRect_V(Hierarchy* h);
    void keepRightOfMargin_V();

    // ---- Horizontal (HierarchyLayout_Horizontal.cpp) ----
    void recurseHierarchy_H();
    void setBoxPosition_H(Hierarchy* h, int index);
    void centrePersonRect_H(Hierarchy* h);
    // The lowest bottom edge of the box before each of h's owners on its level.
    double recurseOwners(Hierarchy* h) const;

    // ---- Compaction (HierarchyLayout_Scrunch.cpp) ----
    void scrunch(Hierarchy* h, int index);
    // The first (top) or last (bottom) box at each depth of h's subtree, h at index 0.
    QList<Hierarchy*> getTopAtEachLevelArrayFor(Hierarchy* h) const;
    QList<Hierarchy*> getBottomAtEachLevelArrayFor(Hierarchy* h) const;

    // ---- Box text (HierarchyLayout_BoxText.cpp) ----
    // What a box's document is made of, gathered from the database on the thread that owns it, so that the
    // documents can be made and measured on other threads.
    struct BoxText {
        QStringList lines;
        bool showFather = false;
        bool showMother = false;
        bool includePicture = false;
        QHash<QString, QImage> pictures; // by the object URI of their person
        QString truncatedNote;
    };
    BoxText boxTextFor(Hierarchy* node, bool includePicture);
    // Fills an empty document; safe on any thread.
    void fillDocument(QTextDocument& document, const BoxText& box) const;
    // Sets the size of each box from its text, measuring on several threads when there are many.
    void setBoxHeights(const std::vector<Hierarchy*>& nodes);

    // ---- Lines (HierarchyLayout_Lines.cpp) ----
    void linesForPerson(FTPerson* person, QStringList& lines, bool repeated, bool siblingEntry, int linkType);
    void linesAppendName(FTPerson* person, QStringList& lines, bool repeated, int linkType);
    void linesAppendConsanguinity(FTPerson* person, QStringList& lines);
    void linesAppendParents(FTPerson* person, QStringList& lines);
    void linesAppendPicture(FTPerson* person, QStringList& lines, bool siblingEntry);
    void linesAppendTitle(FTPerson* person, QStringList& lines);
    void linesAppendBirthInfo(FTPerson* person, QStringList& lines);
    void linesAppendSpouseInfo(FTPerson* person, QStringList& lines);
    void linesAppendDeathInfo(FTPerson* person, QStringList& lines);
    void linesAppendSiblings(FTPerson* person, QStringList& lines);
    void linesAppendSpousesAncestors(FTPerson* person, QStringList& lines);
    void linesAppendNotes(FTPerson* person, QStringList& lines);
    void linesAppendSiblingsInfo(FTPerson* person, int level, QString& list);
    void linesAppendSpousesInfo(FTPerson* person, int level, QString& list);
    QString birthYearText(FTPerson* person) const;
    // The thumbnail of the person's default picture, read once a build; null without one.
    QImage thumbnailOf(FTPerson* person);
    // A localized word, looked up once a build.
    const QString& word(const char* key) const;

    const TextMeasurer& m_measurer;
    HdOptions m_options;
    HdTags m_tags;
    mutable QHash<const char*, QString> m_words;
    QHash<FTPerson*, QImage> m_thumbnails;
    QHash<FTPerson*, QImage> m_pictures;

    FTPerson* m_rootPerson = nullptr;
    bool m_bAncestors = false;
    bool m_showPageBreaks = false;
    bool m_refreshArray = true;
    QSet<QString> m_contractedPeople;

    std::unique_ptr<Hierarchy> m_rootHierarchy;
    Hierarchy* m_selectedHierarchy = nullptr;
    std::vector<Hierarchy*> m_previousInColArray;
    QSet<FTPerson*> m_personSet;
    // Each person's first box, as the depth-first build meets it.
    QHash<FTPerson*, Hierarchy*> m_firstNodes;
    std::unique_ptr<QSet<FTPerson*>> m_consanguinitySet;
    FTPerson* m_consanguinityRoot = nullptr;
    QList<Hierarchy*> m_pathToRoot;

    int m_maxLevel = 5;
    int m_maxLevelFound = 0;
    double m_columnWidth = 0;
    double m_colWidthFactor = 1;
    double m_pointSize = 11;
    double m_maxRow = 0;
    double m_leftMargin = 10.0;
    double m_topMargin = 60.0;
    double m_horizontalSpacing = 0;
    double m_verticalSpacing = 0;
    bool m_bCascaded = false;
    bool m_bScrunch = false;
    bool m_bHorizontal = false;
    double m_xExtent = 0;
    double m_yExtent = 0;
    double m_mag = 1.0;
    std::vector<QRectF> m_rowHeights;
    std::vector<int> m_timeline;
    int m_numPeopleInDiagram = 0;
};
