#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class FTMoc;
class QLineEdit;
class QListWidget;
class QPushButton;

// The small window in which the user prepares a saved page set for a web site of their own: the address of the
// site's home page (remembered in "HomePageUrl") and one of the page sets of the Reports folder. Prepare puts the
// link to that home page into the set's main page (WebPageSets); Show Me opens the page in the browser. Run
// modally; the database is not changed.
//
//   PrepareForUpload window(doc->moc(), doc->dovurWindow());
//   window.exec();
class PrepareForUpload : public QDialog {
    Q_OBJECT
public:
    explicit PrepareForUpload(FTMoc* moc, QWidget* parent = nullptr);

    // The Prepare button: after the address and the index page are shown, the link is written.
    void editHtmlIndexFile();
    // The Show Me button: the page last prepared, in the browser.
    void showMe();
    void createKinloomWebFoldersArray();

    const QStringList& webFolders() const { return m_folders; }
    // The path of the index page last prepared; empty before the first.
    const QString& indexFilename() const { return m_indexFilename; }
    QLineEdit* homePageUrlField() const { return m_url; }
    QListWidget* foldersList() const { return m_foldersList; }
    QPushButton* prepareButton() const { return m_prepare; }
    QPushButton* showMeButton() const { return m_showMe; }

private:
    FTMoc* m_moc;
    QStringList m_folders;
    QString m_indexFilename;
    QLineEdit* m_url = nullptr;
    QListWidget* m_foldersList = nullptr;
    QPushButton* m_prepare = nullptr;
    QPushButton* m_showMe = nullptr;
};
