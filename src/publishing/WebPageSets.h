#pragma once

#include <QString>
#include <QStringList>

// The saved page sets of the Reports folder and their home link: the link in a set's main page ("index.html") that
// leads back to the user's own web site. The generator writes it as a placeholder; preparing the set for a web
// site, or copying it into a site folder, puts the site's home page there. Shared by both windows.
//
//   const QStringList sets = WebPageSets::pageSetFolders(Utils::reportsDirectory());
//   QString refusal;
//   const QString href = WebPageSets::otherSiteHref(typedUrl, &refusal);   // empty: show the refusal
//   WebPageSets::setHomeLink(reports + "/" + sets.first() + "/index.html", href, &error);
class WebPageSets {
public:
    // The folders of `folder` (by name, sorted) that directly hold a file "index.html".
    static QStringList pageSetFolders(const QString& folder);

    // The web address a user typed for another site's home page, as it goes into the link's quoted href: blanks
    // and other characters percent-escaped, then escaped for the attribute. Only absolute http and https addresses
    // with a host are taken, and none holding a quote (which would end the attribute): anything else gives an
    // empty text and, in `refusal`, the message to show.
    static QString otherSiteHref(const QString& typed, QString* refusal);
    // The same address fully escaped, as the user is shown it (empty when refused).
    static QString otherSiteUrl(const QString& typed);

    // The home link of a page set copied beside a site in a site folder: "../<site>/<page>", each part
    // percent-escaped and the whole escaped for the attribute.
    static QString siblingSiteHref(const QString& siteName, const QString& homePage);

    // "<a href='<href>'>[Home]</a>" (the "Home" text localised), the form in which index pages carry the link.
    static QString homeLink(const QString& href);

    enum class LinkEdit { Replaced, Relinked, Unchanged, Failed };
    // Puts `href` (ready for the attribute) into the home link of the page at `indexPath`: every placeholder link
    // is replaced; without one, the link written by an earlier preparation (the last "<a href='" before the first
    // "[Home]</a>") is; a page with neither is left as it is. The page is rewritten as a whole (atomically) only
    // when it changes. Failed, with the reason in `error`, when it cannot be read or written.
    static LinkEdit setHomeLink(const QString& indexPath, const QString& href, QString* error = nullptr);
    // The same on a page's text; answers the edit made.
    static LinkEdit replaceHomeLink(QString& page, const QString& href);
};
