#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QRectF>
#include <QString>

#include <memory>

class CdLayout;
class FTEvent;
class FTMoc;
class FTPerson;
class QFont;
class QLineF;
class QPainter;
class TextMeasurer;
struct CdOptions;
struct CdWebContext;

// One box of the family diagram: a person, or an empty slot (a ghost box, person null) into which the user types
// a new relative. The box knows its kind (ancLevel), the box it hangs from (owner), its rectangle and how it draws
// itself: text, colours, fitted font, indicators, mug shot (CdPerson_Text, CdPerson_Draw), shape and shading
// (CdPerson_ColourGradientFill) and the lines to its relatives (CdPerson_DrawConnectors).
//
// In the main window the boxes belong to a CdLayout (pcd), which holds the pass's options and the selected person.
// The web pages' context diagram paints the same boxes without one (pcd null): the text then follows the web
// rules (living people hidden, gender symbols for everyone), the colours follow inPeopleSet, and no mug shots,
// markers or sibling cards are drawn.
//
//   CdPerson box(person, nullptr, false, nullptr, 0, nullptr);   // a box without a view
//   box.setRclBox({10, 10, 120, 40});
//   box.displayTextInBox(painter, false);
class CdPerson {
public:
    // Box kinds (ancLevel); ancestors are 1 (parents), 2 (grandparents) ...
    static constexpr long kFocal = 0;
    static constexpr long kChild = -1;
    static constexpr long kSpouse = -2;
    static constexpr long kAssociated = -10;

    // `moc` comes from the person, or, for a ghost box, from the diagram. A box without a diagram shows
    // children on the left, as the web pages lay them out.
    CdPerson(FTPerson* person, CdPerson* owner, bool spouse, FTEvent* marriageEvent, long ancLevel, CdLayout* pcd);
    // A box without a diagram that draws with what a whole web run shares (read once for all its boxes); null
    // `web`: the user defaults as they are now.
    CdPerson(FTPerson* person, CdPerson* owner, bool spouse, FTEvent* marriageEvent, long ancLevel,
             std::shared_ptr<const CdWebContext> web);
    ~CdPerson();
    CdPerson(const CdPerson&) = delete;
    CdPerson& operator=(const CdPerson&) = delete;

    // ---- Fields ----
    FTMoc* moc() const { return m_moc; }
    FTPerson* person() const { return m_person; }
    bool isGhost() const { return m_person == nullptr; }
    CdPerson* owner() const { return m_owner; }
    void setOwner(CdPerson* owner) { m_owner = owner; }
    FTEvent* marriageEvent() const { return m_marriageEvent; }
    CdLayout* pcd() const { return m_pcd; }
    long ancLevel() const { return m_ancLevel; }
    bool bSpouse() const { return m_bSpouse; }
    const QString& gender() const { return m_gender; }
    void setGender(const QString& gender) { m_gender = gender; }
    // The first character of the gender, 0 when none.
    char cGender() const;
    bool isMale() const;
    int pcRelType() const { return m_pcRelType; }
    void setPcRelType(int type) { m_pcRelType = type; }
    int pcRelCertainty() const { return m_pcRelCertainty; }
    void setPcRelCertainty(int certainty) { m_pcRelCertainty = certainty; }
    const QRectF& rclBox() const { return m_rclBox; }
    void setRclBox(const QRectF& r) { m_rclBox = r; }
    double yCentre() const { return m_rclBox.y() + m_rclBox.height() * 0.5; }
    const QRectF& rclMugShot() const { return m_rclMugShot; }
    long numParents() const { return m_numParents; }
    long numChildren() const { return m_numChildren; }
    long numSpouses() const { return m_numSpouses; }
    void incrementNumParents(long n) { m_numParents += n; }
    void incrementNumChildren(long n) { m_numChildren += n; }
    void incrementNumSpouses(long n) { m_numSpouses += n; }
    bool inCurrentProjectView() const { return m_inCurrentProjectView; }
    bool childrenOnLeft() const { return m_childrenOnLeft; }
    bool inPeopleSet() const { return m_inPeopleSet; }
    void setInPeopleSet(bool in) { m_inPeopleSet = in; }
    const QString& consanguinity() const { return m_consanguinity; }
    void setConsanguinity(const QString& s) { m_consanguinity = s; }
    const QString& ahnentafelNumber() const { return m_ahnentafelNumber; }
    void setAhnentafelNumber(const QString& s) { m_ahnentafelNumber = s; }
    double textHeight() const { return m_textHeight; }
    double fontSize() const { return m_fontSize; }
    double indent() const { return m_indent; }
    // The line to the owner as last drawn (hit tests of the line); empty when none was drawn.
    const QPainterPath& pathToOwner() const { return m_pathToOwner; }
    // The small markers drawn on this box's lines (the view shows the relationship's tooltip and takes clicks
    // there); rebuilt by every drawConnectionLines().
    const QList<QRectF>& trackingRects() const { return m_trackingRects; }
    // The thumbnail of the person's default picture, loaded before painting (painting reads no files).
    const QImage& mugShotImage() const { return m_mugShotImage; }
    void setMugShotImage(const QImage& image) { m_mugShotImage = image; }

    // The options the box draws with: its diagram's, or, without one, the user defaults read when it was made.
    const CdOptions& options() const;
    // The person the diagram selected; without a diagram, none.
    FTPerson* selectedPerson() const;
    bool isSelected() const;

    // ---- Text (CdPerson_Text.cpp) ----
    // The standard text: a ghost box's kind, else the name (with gender symbol and years as the options say).
    QString text() const;
    // The text for the diagram's name option (0 without a diagram); null when the option gives none.
    QString getTextString() const;
    // The kind of an empty slot: "spouse", "child", "father", "mother" or "StepOrAdoptedParent" (localised).
    QString ghostText() const;
    // The text the box draws: getTextString(), or text() when that gives none.
    QString boxText() const;
    // Reads from the person, once, every text a box without a diagram draws (boxText(), the spouses indicator),
    // so that it is drawn afterwards without the database: the web pages draw their diagrams on worker threads,
    // and a database belongs to the thread that opened it.
    void keepTexts();

    // ---- Colours ----
    QColor boxColour() const;
    QColor textColour() const;

    // ---- Fitting (CdPerson_Draw.cpp) ----
    // indent = cdPersonColourGradient × 0.1 × the box's height.
    void setIndent();
    // The largest size, from the diagram's font size down by whole points, at which `text` fits the box's height
    // at the width (box width - indent); textHeight is left at the used height. 2 for a box of 2 points or less.
    double calculateFontSize(const QString& text, const QFont& font, const TextMeasurer& measurer);
    // The font family and style the box's text is set in.
    QFont textFont(double size) const;

    // ---- Drawing ----
    // Draws the box: outline or shape and fill, text, mug shot, indicators. `addTrackingRects` records the mug
    // shot's rectangle for hit tests.
    void displayTextInBox(QPainter& painter, bool addTrackingRects, const TextMeasurer& measurer);
    void displayTextInBox(QPainter& painter, bool addTrackingRects);
    // The mug shot at the box's left edge (diagram with "cdShowMugShots", not the focal box); its frame
    // rectangle, or the zero rectangle when none is drawn.
    QRectF displayMugShot(QPainter& painter, bool addTrackingRect);
    // Where displayMugShot would put the picture (before its frame).
    QRectF mugShotRect() const;
    void displayNumericId(QPainter& painter) const;
    void displaySiblingsIndicator(QPainter& painter) const;
    void displaySpousesIndicator(QPainter& painter) const;
    // "2 ↓": the number of the other siblings and where the person stands among them; empty for an only child.
    QString siblingsIndicatorText() const;
    // "+", "++", "+++", "+4" ...; empty without spouses.
    QString spousesIndicatorText() const;

    // ---- Shape and shading (CdPerson_ColourGradientFill.cpp) ----
    void drawTheBox(QPainter& painter) const;
    // The shaded fill of the rectangle (clipped by the caller).
    void fillBackground(QPainter& painter) const;
    // The box outline with both sides bowed to the left by the indent.
    QPainterPath boxPath() const;
    // The sibling cards behind the focal box: one rectangle per other sibling, nearest the box first.
    QList<QRectF> siblingCardRects(int siblingCount) const;

    // ---- Connectors (CdPerson_DrawConnectors.cpp) ----
    // The lines to the owner and other relatives, and the stubs that say more relatives are not shown. Called for
    // every box before any box is drawn, so that lines lie under boxes.
    void drawConnectionLines(QPainter& painter);
    void drawOwnerLine(QPainter& painter);
    void drawMoreAncestorsLine(QPainter& painter) const;
    void drawGrandChildrenLine(QPainter& painter) const;
    void drawSpousesParentsLine(QPainter& painter) const;
    void drawSelectedChildsConnectors(QPainter& painter);
    void drawRelationshipIndicator(QPainter& painter, const QPointF& start, const QPointF& end, int pcRelType) const;
    // The end points of a line from this box to `other`: for an associated person from the middle of the bottom
    // edge to the middle of the other's top edge; otherwise between the facing sides, meeting a left side at its
    // bulge.
    QLineF lineEndsTo(const CdPerson& other) const;
    // The stubs (null lines when the box has none): 25 points towards more ancestors from a box of the last
    // generation shown, 25 towards grandchildren from a child with children, 10 from a spouse with parents.
    QLineF moreAncestorsStub() const;
    QLineF grandChildrenStub() const;
    QLineF spousesParentsStub() const;
    // The letter on a line by link type: "??" unknown, none for natural, the step, foster and adopted initials.
    static QString relationshipLetter(int pcRelType);

    // ---- Set by the builders ----
    void setInCurrentProjectView(bool in) { m_inCurrentProjectView = in; }

private:
    void drawMarker(QPainter& painter, const QLineF& line, const QColor& ovalColour);
    // The last generation of ancestors shown: the diagram's, or the web pages' "htmlCdDiagramGenerations".
    int lastGenerationShown() const;
    QString nameText() const;
    QString yearsText() const;
    bool showsGenderSymbol() const;
    QString genderSymbolPrefix() const;
    QString textForOption(int option) const;
    void truncateTextForChildren(QString& text, const TextMeasurer& measurer);
    void drawText(QPainter& painter, const QString& text, const QColor& colour) const;

    FTMoc* m_moc = nullptr;
    FTPerson* m_person = nullptr;
    CdPerson* m_owner = nullptr;
    FTEvent* m_marriageEvent = nullptr;
    CdLayout* m_pcd = nullptr;
    QRectF m_rclBox;
    QRectF m_rclMugShot;
    QString m_consanguinity;
    QString m_ahnentafelNumber;
    bool m_bSpouse = false;
    long m_ancLevel = 0;
    QString m_gender;
    double m_textHeight = 0;
    double m_fontSize = 0;
    double m_indent = 0;
    long m_numParents = 0;
    long m_numChildren = 0;
    long m_numSpouses = 0;
    int m_pcRelType = 1;
    int m_pcRelCertainty = 100;
    bool m_inCurrentProjectView = false;
    bool m_childrenOnLeft = true;
    bool m_inPeopleSet = false;
    bool m_textsKept = false;
    QString m_keptText;
    QString m_keptSpousesIndicator;
    QPainterPath m_pathToOwner;
    QList<QRectF> m_trackingRects;
    QImage m_mugShotImage;
    std::shared_ptr<const CdWebContext> m_web; // without a diagram
};
