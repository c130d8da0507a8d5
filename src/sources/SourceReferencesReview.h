#pragma once

#include <QList>
#include <QString>

#include <functional>

class FTMoc;
class FTSource;
struct Notification;

// Which source the review of a source's citations shows, and stepping through the database's sources in number
// order: the next source is the first one numbered above the shown one, the previous the last one numbered below
// (gaps are skipped, and there is no wrap at either end); after a step the position reads "3 of 12". When the
// shown source is about to be deleted ("SourceToBeDeleted"), the review moves to the previous source, else to the
// next, else to none.
//
//   SourceReferencesReview review(moc, nullptr);    // the active source, else the lowest-numbered one
//   review.sourceChanged = [&] { ... show review.source() ... };
//   review.nextSource();
class SourceReferencesReview {
public:
    // Shows `source`; without one the active source, else the lowest-numbered source, else none.
    SourceReferencesReview(FTMoc* moc, FTSource* source);
    ~SourceReferencesReview();
    SourceReferencesReview(const SourceReferencesReview&) = delete;
    SourceReferencesReview& operator=(const SourceReferencesReview&) = delete;

    FTMoc* moc() const { return m_moc; }
    FTSource* source() const { return m_source; }
    // "%1 <of> %2" after a step; empty until the user steps, and after any other change of the shown source.
    QString sourceCount() const { return m_sourceCount; }

    // Shows a source chosen some other way (the select-a-source button); the position text is cleared.
    void showSource(FTSource* source);
    // A step; false (and nothing changed) when there is no source beyond the shown one.
    bool nextSource();
    bool previousSource();

    // Called after the shown source or the position text changed because a source was deleted elsewhere.
    std::function<void()> sourceChanged;

    // The observer of "SourceToBeDeleted" (public for tests).
    void sourceToBeDeleted(const Notification& notification);

    // Every source of the database by number, ties in the order the sources were made.
    static QList<FTSource*> sourcesByNumber(const FTMoc* moc);

private:
    bool step(bool forward);

    FTMoc* m_moc;
    FTSource* m_source = nullptr;
    QString m_sourceCount;
};
