#pragma once

#include "publishing/HtmlOptions.h"
#include "publishing/HtmlPrivacy.h"

#include <QColor>
#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class ContextDiagramImage;
class FTEvent;
class FTMoc;
class FTPerson;
class HtmlContextDiagram;
class HtmlFileWriter;
class HtmlPictureWriter;
class HtmlPictures;
class ModelProgress;
struct HtmlDiagramBox;

// The web-page generator: turns the people of a family database into a folder of static HTML pages, one page per
// published person (with an optional six-generation ancestors page), the main index with a page per initial when
// the site holds more than 99 people, a plain list of the people and one style sheet.
//
// A run writes into a fresh working folder "tempHtmlDirectory_<n>" in the Reports folder and deletes the previous
// one; save() moves the last run's folder to "<database>_WebPages_<k>", discard() deletes it. Inside the folder:
//
//   index.html, index_S.html ... index_none.html, indexPeople.txt, styles.css
//   HtmlFiles/HtmlFiles_01/P12.html          person pages, 500 people to a numbered folder (00 stays for
//   Diagrams/Diagrams_01/P12_cd.jpg          people outside the run), in the run's sort order
//   Thumbnails/..., Media/...                pictures (HtmlPictureWriter)
//   AncestorsTables/Ancestors_01/P12_Anc.html
//
// (the folder and file words are texts of the "Localizable" table). Links between pages are relative: from a page,
// "../../" leads to the top of the folder, so a saved folder works wherever it is copied.
//
// Two rules hold for every page: a person hidden by the options (HtmlPrivacy) is never named, and no text of the
// database becomes markup (HtmlEscape). The database is read on the caller's (main) thread, where the diagrams are
// laid out; drawing them, their JPEG encoding and the person pages' writing go to worker threads (HtmlFileWriter),
// and the run waits for them before it writes the index. Progress goes to the ModelProgress given, whose window redraws itself.
//
//   PublishAsHtml generator(moc);                    // the caller has saved the database
//   generator.setProgress(&windowProgress);
//   generator.generateAll();                         // htmlKinship levels around the focal person
//   preview->load(generator.filenameToOpen());
//   ... generator.save() or generator.discard() when the window closes
class PublishAsHtml {
public:
    explicit PublishAsHtml(FTMoc* moc);
    // Leaves the working folder on disk (the window decides, through save() or discard()).
    ~PublishAsHtml();
    PublishAsHtml(const PublishAsHtml&) = delete;
    PublishAsHtml& operator=(const PublishAsHtml&) = delete;

    FTMoc* moc() const { return m_moc; }
    QString modelName() const { return m_modelName; }

    // ---- What a run reads ------------------------------------------------------------------------------------

    // The options of every later run; without this, each run reads the user defaults when it starts.
    void setOptions(const HtmlOptions& options) { m_fixedOptions = options; }
    // The options of the current or last run.
    const HtmlOptions& options() const { return m_options; }
    const HtmlPrivacy& privacy() const { return *m_privacy; }
    // The moment a run takes as now (dates on the pages, the year the privacy rules are asked at); the clock when
    // not set.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    QDateTime now() const { return m_now; }
    // The page colours drawn when htmlRandomColours is on; a pale colour of random hue when not set.
    void setRandomColourSource(std::function<QColor()> source) { m_randomColour = std::move(source); }
    void setProgress(ModelProgress* progress) { m_progress = progress; }
    // The drawer of context-diagram images and the writer of pictures sections (neither owned), in place of the
    // generator's own ContextDiagramImage and HtmlPictureWriter. Null: every page shows the tabular diagram, or no
    // page has pictures.
    void setContextDiagram(HtmlContextDiagram* drawer) { m_contextDiagram = drawer; }
    void setPictures(HtmlPictures* writer) { m_pictures = writer; }

    // ---- Runs ------------------------------------------------------------------------------------------------

    // Relationship levels around the focal person (0: everyone); read from htmlKinship when made.
    int kinship() const { return m_kinship; }
    void setKinship(int levels) { m_kinship = levels; }
    // The preview: kinship 1. When the exclusion of living people would leave out the focal person's whole first
    // circle, this one run publishes them all (the user defaults stay as they are) and says so in
    // generalMessage(); such a page set cannot be saved.
    bool generatePreview();
    // The full run with htmlKinship levels. The caller has shown the warning about living people first.
    bool generateAll();
    // One run with the current kinship. False when it could not make its folder or write a file (after a
    // message), or when another run is active.
    bool generateReport();
    // True while a run of any generator writes.
    static bool runIsActive();

    // ---- Texts for the window --------------------------------------------------------------------------------

    QString generalMessage() const { return m_generalMessage; }
    QString peopleSelected() const { return m_peopleSelected; }
    QString calculatedTotalSize() const { return m_calculatedTotalSize; }
    // The free-space warning of the last estimate; empty when there is room.
    QString freeSpaceMessage() const { return m_freeSpaceMessage; }
    // The page the preview shows after a run: the focal person's page, or the main index when the focal person
    // has none.
    QString filenameToOpen() const { return m_filenameToOpen; }
    int numPeopleInPreview() const { return m_numPeopleInPreview; }
    int numPeopleInKinship() const { return m_numPeopleInKinship; }

    // Recomputes the people of the chosen kinship (htmlKinship), peopleSelected() and the estimate.
    void kinshipChanged();
    // The expected size of a run of numPeopleInKinship() people, in calculatedTotalSize(), and the free-space
    // check of the data folder's disk.
    void estimateFileSize();
    // The size of the files the last run wrote, in calculatedTotalSize().
    void calculateFileSize();
    // The free space of the data folder's disk as "12 Gb", "300 Mb", "5 Kb" or empty; sets freeSpaceMessage()
    // when the estimate (kilobytes) does not fit, or always with 1 GiB or less free.
    QString checkFreeDiskSpace(qint64 kilobytes);
    // The estimate of the time left after `done` of `total` people since `start`.
    static QString estimatedTime(const QElapsedTimer& start, int done, int total);

    // ---- The working folder ----------------------------------------------------------------------------------

    QString directory() const { return m_directory; }
    QString indexFilename() const { return m_indexFilename; }
    QString indexPeopleFilename() const { return m_indexPeopleFilename; }
    QString cssFilename() const { return m_cssFilename; }
    // The people of the run, each with a page unless suppressed.
    const QSet<FTPerson*>& peopleSet() const { return m_peopleSet; }

    // "<Reports>/<database>_<WebPagesDirSuffix>_<k>": the database name with only letters, digits, blanks, "_" and
    // "-" kept, blanks as "_", and k one more than the highest number such folders already carry.
    QString createNewFilePath() const;
    // Moves the working folder to createNewFilePath() and records its name in mostRecentWebPagesFolder. Answers
    // the new folder; empty, after a message, when it could not be moved or when the last run was a preview that
    // published people the options exclude (the working folder stays).
    QString save();
    // Deletes the working folder.
    void discard();
    // The page to open in a saved folder: the focal person's, else its index.html.
    QString pageToShowIn(const QString& folder) const;

    // ---- Folders and names (used by the drawers and writers of Web pages II too) ------------------------------

    bool createOutputDirectory();
    bool createSubFolders(int number);
    bool createPersonFolderNoXRefDictionary(const QList<FTPerson*>& sortedPeople);
    // Deletes every empty folder below `path` (deepest first); `path` itself stays.
    static void removeEmptyFolders(const QString& path);
    // "P" and the person's numericId.
    static QString filenameForPerson(const FTPerson* person);
    // The numbered folder that holds the person's files; 0 for a person outside the run.
    int folderNumberFor(const FTPerson* person) const;
    // The text of a folder key (HtmlDirHTMLFiles, HtmlDirDiagrams, HtmlDirThumbnails, HtmlDirMedia,
    // HtmlDirAncestorsTables) and the numbered folder "<type>/<prefix>_NN" of it, relative to the top.
    static QString typeFolder(const char* key);
    static QString numberedFolder(const char* key, int number);
    // The link from a person page (two levels down) to the person's page: "../../HtmlFiles/HtmlFiles_01/P12.html".
    QString pageLinkTo(const FTPerson* person) const;
    QString pagePathFor(const FTPerson* person) const;

    // ---- Page writers ----------------------------------------------------------------------------------------

    // Writes one person's page (nothing for a suppressed person).
    void createHtmlWebPageFor(FTPerson* person);
    void setBackgroundColour();
    QColor bgColour() const { return m_bgColour; }
    QString hexBgColour() const { return m_hexBgColour; }

    // What stands for a relative in a list: the privacy word for a hidden person, a link for a person with a page,
    // else the plain name with years; escaped.
    QString referenceTo(const FTPerson* person) const;
    // The event's place linked to its saved map (http or https only); empty when there is none.
    QString referenceToEvent(const FTEvent* event) const;
    // The place as a page writes it: referenceToEvent(), else the escaped place.
    QString placeReferenceFor(const FTEvent* event) const;
    // Multi-line database text as page text (HtmlEscape::multiline).
    static QString cleanHtmlString(const QString& text);

    QString writeHeaderFor(FTPerson* person) const;
    QString personalDataFor(FTPerson* person) const;
    QString pageHeadingFor(FTPerson* person) const;
    QString pageFooter() const;
    QString writeCdDiagramFor(FTPerson* person);
    QString hotSpotsForCdDiagram(FTPerson* person, const QList<HtmlDiagramBox>& boxes) const;
    // Writes the six-generation ancestors page; answers its path (empty when it could not be written).
    QString writeAncestorsTableFor(FTPerson* person);
    QString generatePicturesFor(FTPerson* person);
    QString writeDescriptionFor(FTPerson* person, int options);
    void writeBDMInfoFor(FTPerson* person, QString& out) const;
    void writeCauseOfDeathFor(FTPerson* person, QString& out) const;
    void writeParentsOf(FTPerson* person, int type, QString& out) const;
    void writeChildrenOf(FTPerson* person, int type, QString& out) const;
    void writeSiblingsOf(FTPerson* person, QString& out) const;
    void writeGrandchildrenFor(FTPerson* person, QString& out) const;
    void writeEventsFor(FTPerson* person, QString& out) const;
    QString eventNotesRef(FTEvent* event, int& counter, QList<FTEvent*>& notedEvents) const;
    QString referencesToEventSources(FTEvent* event) const;
    void writeRelativesOf(FTPerson* person, QString& out) const;
    void writeSourcesFor(FTPerson* person, QString& out) const;

    // The tabular context diagram: children, the person with spouses, and N generations of natural ancestors.
    QString createTableFor(FTPerson* person, int maxAncLevel) const;
    void recurseAddAncestors(const FTPerson* person, int maxAncLevel, int level, QString& out) const;

    // The style sheet, written at the start of a run.
    bool writeStyleSheet();
    void writeStyleSheetForIndexes(QString& out) const;

    // The index pages and the people list, written after the person pages.
    void createIndexForPeople();
    QList<FTPerson*> createSortedPeopleArray() const;
    // The letter page of an initial: "index_S.html", "index_201.html", "index_none.html" (people without a
    // family name).
    static QString indexFileNameForInitial(char32_t initial);

private:
    struct FamilyName {
        QString name;
        bool none = false; // no family name: grouped under the text of NoFamilyName
        char32_t initial() const;
        bool operator==(const FamilyName& o) const { return name == o.name && none == o.none; }
    };
    FamilyName familyNameOf(const FTPerson* person) const;
    QList<FamilyName> createFamilyNamesArray(const QList<FTPerson*>& sorted) const;
    QString createFamilyNameIndex(const QList<FamilyName>& names) const;
    QString writeFamilyNamesInitialsIndex(const QList<FamilyName>& names) const;
    QString writeIndexFileHeader(const QString& fileName) const;
    QString writeIndexFileFooter() const;

    bool runReport();
    void beginRun();
    QSet<FTPerson*> peopleOfRun(int levels, ModelProgress* progress);
    QList<FTPerson*> sortedForRun(const QSet<FTPerson*>& people) const;
    QString documentHead(const QString& title) const;
    // Writes a whole file as UTF-8; after the first failure of a run, tells the user once and stops the run.
    bool writeFile(const QString& path, const QString& text);
    bool writeFile(const QString& path, const QByteArray& bytes);
    // After the worker threads' first failure, tells the user once and stops the run; false then.
    bool checkFileWrites();
    void status(const QString& text);
    void percent(int value);
    bool isLinkable(const FTPerson* person) const;

    FTMoc* m_moc;
    QString m_modelName;
    std::optional<HtmlOptions> m_fixedOptions;
    HtmlOptions m_options;
    std::unique_ptr<HtmlPrivacy> m_privacy;
    std::function<QDateTime()> m_clock;
    std::function<QColor()> m_randomColour;
    QDateTime m_now;
    ModelProgress* m_progress = nullptr;
    std::unique_ptr<ContextDiagramImage> m_ownContextDiagram;
    std::unique_ptr<HtmlPictureWriter> m_ownPictures;
    HtmlContextDiagram* m_contextDiagram = nullptr;
    HtmlPictures* m_pictures = nullptr;
    std::unique_ptr<HtmlFileWriter> m_files;

    int m_kinship = 1;
    int m_maxAncLevel = 3;
    int m_numPeopleInKinship = 0;
    int m_numPeopleInPreview = 0;
    bool m_threadIsActive = false;
    bool m_failed = false;
    // The last run published people whom the options exclude (a preview of a living first circle).
    bool m_exclusionsIgnored = false;

    QString m_directory;
    QString m_indexFilename;
    QString m_indexPeopleFilename;
    QString m_cssFilename;
    QString m_indexPageTitle;
    QString m_filenameToOpen;
    QString m_generalMessage;
    QString m_peopleSelected;
    QString m_calculatedTotalSize;
    QString m_freeSpaceMessage;
    QSet<FTPerson*> m_peopleSet;
    QHash<const FTPerson*, int> m_personFolderNoXRef;
    QColor m_bgColour;
    QString m_hexBgColour;
};
