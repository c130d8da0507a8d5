#pragma once

#include "model/CitationDialogs.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <array>

class FTManagedObject;
class FTSource;
class FTSourceRel;

// What the citation sheet of a person, an event or a picture does to the one citation it edits: the three topic
// boxes rebuild the topic ("itemDescribed"), a box asks for the page reference of the last citation closed by a
// sheet of the same kind, another source can be chosen (it becomes the active source, with no page reference),
// and the citation can be deleted. The three kinds differ only in their data (kindData()).
//
//   CitationSheetModel sheet(CitationDialogs::Kind::Event, citation);
//   sheet.setTopicFlag(0, true);      // "Birth, Date"
//   ... the user types the page reference into the citation ...
//   sheet.close();                    // the next event sheet can take this page reference
class CitationSheetModel {
public:
    using Kind = CitationDialogs::Kind;
    static constexpr int kKindCount = 3;

    struct KindData {
        const char* windowName; // "PersonSourceReference", "EventSourceReference", "PicSourceReference"
        const char* helpAction; // "helpForPersonSourceReference" ...
        std::array<const char*, 3> topicKeys; // the box labels and topic words ("Localizable")
        bool flagsAtOpening; // the picture's boxes start ticked, matching its citations' first topic
    };
    static const KindData& kindData(Kind kind);
    static int indexOf(Kind kind) { return int(kind); }

    // What each kind keeps for the running program from the last of its sheets closed: the citation's page
    // reference and the window's size (empty before the first close).
    static QString lastPageRef(Kind kind);
    static QSize prevSize(Kind kind);
    // Forgets every kind's (a new run, and tests).
    static void forgetLastSheets();

    CitationSheetModel(Kind kind, FTSourceRel* citation);

    Kind kind() const { return m_kind; }
    FTSourceRel* sourceRel() const { return m_citation; }
    FTSource* source() const { return m_source; }
    // The person, event or picture that cites.
    FTManagedObject* owner() const { return m_owner; }
    bool isDeleted() const { return m_deleted; }

    // The heading: whose citation this is ("AddSourceRefTo" of "Localizable.Help", then the owner).
    QString heading() const;
    // The localised words of the three boxes, in order.
    QStringList topicWords() const;

    bool topicFlag(int index) const { return m_flags.at(size_t(index)); }
    // Ticks or unticks a box and rebuilds the topic.
    void setTopicFlag(int index, bool on);
    // The topic from the boxes: an event's type name (for an event), then each ticked box's word, joined by
    // ", "; stored as the citation's itemDescribed, replacing the topic it had.
    void changeTopic();
    QString topicFromFlags() const;

    bool samePageRefAsPrevious() const { return m_samePageRef; }
    // Ticked: the citation takes lastPageRef() of this kind (nothing before the first close); unticked: it gets back
    // the page reference it held before the tick, or none when it was changed meanwhile.
    void useSamePageRefAsPrevious(bool on);

    // Another source chosen with the sheet's source button: the citation now cites it, and it becomes the
    // context's active source with no page reference (the toolbar is told).
    void addReference(FTSource* source);

    // Deletes the citation (undo name "DeleteSourceRef"); its page reference is kept for close().
    void deleteSourceReference();

    // Remembers the citation's page reference (read before a deletion) and the sheet's size as this kind's last.
    void close(const QSize& size = {});

private:
    Kind m_kind;
    FTSourceRel* m_citation;
    FTSource* m_source;
    FTManagedObject* m_owner;
    std::array<bool, 3> m_flags {};
    bool m_samePageRef = false;
    QString m_pageRefBeforeSame; // held when the box was ticked
    QString m_pageRefFromSame; // what the tick gave
    bool m_deleted = false;
    QString m_pageRefAtDeletion;
};
