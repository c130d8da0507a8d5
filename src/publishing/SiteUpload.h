#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariantMap>

class FTMoc;

// Publishing a saved page set into a site folder: the folder the user picked (a web server's, a synced folder, a
// static-site host's) holds the user's sites, one sub-folder each, and the page set is copied beside them, so that
// its home link "../<site>/<page>" leads to the chosen site's home page. The last upload is recorded in the
// database's own metadata, where the upload window shows it again.
//
//   const QStringList sites = SiteUpload::sites(siteRoot);
//   const QStringList pages = SiteUpload::htmlFilesInFolder(siteRoot + "/" + sites.first());
//   ... the set's home link (WebPageSets::siblingSiteHref), the copy (SiteFolderCopy) ...
//   SiteUpload::saveRecord(*moc, {siteRoot, site, page, pageSetFolder}, QDateTime::currentDateTime());
class SiteUpload {
public:
    // The sites of a site folder: its sub-folders (sorted, none whose name begins with ".") that directly hold at
    // least one page ending in ".html", in any case.
    static QStringList sites(const QString& siteRoot);
    // The pages of a site: its files (sorted) ending in ".html" in any case (".htm" is not taken).
    static QStringList htmlFilesInFolder(const QString& site);

    struct Upload {
        QString siteRoot;
        QString site;          // the site's folder name
        QString homePage;      // its page's file name
        QString pageSetFolder; // full path of the saved page set
        // Where the set's copy goes: beside the sites.
        QString destination() const;
        QString mainIndexPath() const;
        QString homePagePath() const;
    };

    // The record's key in the metadata and the keys of its entries, in the order shown.
    static QString recordKey();
    static QStringList recordEntryKeys();
    // Writes the record of `upload` into the database's metadata and saves the database. False, with the reason,
    // when the save failed.
    static bool saveRecord(FTMoc& moc, const Upload& upload, const QDateTime& when, QString* error = nullptr);
    // The record as the window shows it ("<key>\n<value>\n\n" per entry); empty when there is none.
    static QString recordText(const QVariantMap& metadata);
};
