#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>

class FTMoc;
class ProgressMonitor;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The window that publishes a saved page set into a site folder: the site folder (chosen once and remembered in
// "uploadSiteFolder"), the page sets of the Reports folder, the site folder's sites and the chosen site's pages.
// Publish links the set's main page to the chosen home page ("../<site>/<page>"), closes this window and copies the
// set beside the site in a progress window (ProgressMonitor) that stays. Most Recent shows the database's record of
// the last complete upload; Show Home Page opens the chosen page in the browser. Run modally.
//
//   UploadToSiteFolder window(doc->moc(), doc->dovurWindow());
//   window.exec();
class UploadToSiteFolder : public QDialog {
    Q_OBJECT
public:
    explicit UploadToSiteFolder(FTMoc* moc, QWidget* parent = nullptr);

    // The panel that picks the site folder, starting at the given folder; replaceable by tests (empty: cancelled).
    static std::function<QString(QWidget* parent, const QString& start)>& chooseFolderPanel();

    void chooseSiteFolder();
    void setSiteFolder(const QString& folder);
    QString siteFolder() const { return m_siteRoot; }
    void createKinloomWebFoldersArray();
    void listSites();
    void listHomePages();

    // Publish: answers the progress window that copies, or null when the upload did not start.
    ProgressMonitor* uploadToSiteFolder();
    void mostRecentUpload();
    void showMeTheHomePage();
    void helpForUpload();

    QListWidget* foldersList() const { return m_folders; }
    QListWidget* sitesList() const { return m_sites; }
    QListWidget* homePagesList() const { return m_homePages; }
    QPushButton* publishButton() const { return m_publish; }
    QLineEdit* siteFolderField() const { return m_siteRootField; }
    // The progress window of the last Publish, while it is open.
    ProgressMonitor* progressMonitor() const;

private:
    FTMoc* m_moc;
    QString m_siteRoot;
    QPointer<ProgressMonitor> m_monitor;
    QLineEdit* m_siteRootField = nullptr;
    QListWidget* m_folders = nullptr;
    QListWidget* m_sites = nullptr;
    QListWidget* m_homePages = nullptr;
    QLabel* m_message = nullptr;
    QPushButton* m_publish = nullptr;
};
