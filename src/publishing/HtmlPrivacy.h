#pragma once

#include "publishing/HtmlOptions.h"

#include <QHash>
#include <QString>

class FTPerson;

// Who of a web-page run may be named, as of the run's own year. Every mention of a person on a published page (a
// page title, a link, a table row, an index entry, an image's alt text or map area) asks this first, so that a
// person the options hide is hidden everywhere alike:
//  - suppressed: with "exclude living people" on, a living person, and with "exclude recently dead" on as well, a
//    person who died within `yearsSinceDeath` years. No page, no index entry, left out of lists of relatives;
//    where a row must stand for them, a privacy word.
//  - depersonalized: with "depersonalize living people" on, a living or recently dead person. A page that shows
//    only the privacy word and the person's number; everywhere else the privacy word, never the name; not in the
//    index or the people list.
// A person is `hidden` when either applies. Answers are worked out once per person and kept for the run.
//
//   HtmlPrivacy privacy(options, 2024);
//   if (privacy.isHidden(relative)) cell = privacy.privacyWordFor(relative);
class HtmlPrivacy {
public:
    HtmlPrivacy(const HtmlOptions& options, int thisYear);

    int thisYear() const { return m_thisYear; }
    bool suppressDetailsOfPerson(const FTPerson* person) const;
    bool depersonalizeDetailsOfPerson(const FTPerson* person) const;
    bool isHidden(const FTPerson* person) const;
    // The word that stands in for a hidden person: the text of "IsAlive" or "RecentlyDead" for a suppressed person
    // (by why), else the text of "IsAliveOrRecentlyDead" for a depersonalized one; empty for anyone who may be
    // named.
    QString privacyWordFor(const FTPerson* person) const;
    // The word of a marriage row for a hidden partner: "IsAlive" for a suppressed living partner, "Late" for a
    // suppressed recently dead one, "IsAliveOrRecentlyDead" for a depersonalized one; empty otherwise. One word
    // only, the first that applies.
    QString marriageWordFor(const FTPerson* partner) const;
    // The person's nameWithBirthAndDeathYears, or the privacy word; plain text, not escaped.
    QString displayName(const FTPerson* person) const;
    // The person's full name, or the privacy word; plain text, not escaped.
    QString fullName(const FTPerson* person) const;

private:
    enum Flags : quint8 { Known = 1, Living = 2, RecentlyDead = 4 };
    quint8 flags(const FTPerson* person) const;

    HtmlOptions m_options;
    int m_thisYear;
    mutable QHash<const FTPerson*, quint8> m_flags;
};
