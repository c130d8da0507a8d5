#include "publishing/ui/UploadToSiteFolder.h"

#include "publishing/SiteUpload.h"
#include "publishing/WebPageSets.h"
#include "publishing/ui/ProgressMonitor.h"

#include "model/FTMoc.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"
#include "shell/ui/ThemeIcon.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString kSiteFolder = QStringLiteral("uploadSiteFolder");

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

QString selected(const QListWidget* list)
{
    const QListWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

// True when `inner` is `outer` or lies inside it.
bool within(const QString& inner, const QString& outer)
{
    const QString a = QDir::cleanPath(QFileInfo(inner).absoluteFilePath());
    const QString b = QDir::cleanPath(QFileInfo(outer).absoluteFilePath());
    return a == b || a.startsWith(b + QLatin1Char('/'));
}
}

std::function<QString(QWidget*, const QString&)>& UploadToSiteFolder::chooseFolderPanel()
{
    static std::function<QString(QWidget*, const QString&)> panel = [](QWidget* parent, const QString& start) {
        return QFileDialog::getExistingDirectory(parent, L("SelectSiteFolder"), start);
    };
    return panel;
}

UploadToSiteFolder::UploadToSiteFolder(FTMoc* moc, QWidget* parent) : QDialog(parent), m_moc(moc)
{
    setObjectName(QStringLiteral("UploadToSiteFolder"));
    setWindowTitle(L("UploadToSiteFolderTitle"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setAutoFillBackground(true);
    resize(760, 440);

    auto* info = new QLabel(L("UploadToSiteFolderInfo"));
    info->setWordWrap(true);

    m_siteRootField = new QLineEdit;
    m_siteRootField->setObjectName(QStringLiteral("siteFolder"));
    m_siteRootField->setReadOnly(true);
    auto* choose = new QPushButton(themeIcon(QStringLiteral("folder-open")), L("ChooseSiteFolder"));
    connect(choose, &QPushButton::clicked, this, [this] { chooseSiteFolder(); });
    auto* rootRow = new QHBoxLayout;
    rootRow->addWidget(new QLabel(L("SiteFolderLabel")));
    rootRow->addWidget(m_siteRootField, 1);
    rootRow->addWidget(choose);

    auto list = [](const char* name) {
        auto* l = new QListWidget;
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    m_folders = list("KinloomWebFolders");
    m_sites = list("sites");
    m_homePages = list("homePages");
    connect(m_sites, &QListWidget::itemSelectionChanged, this, [this] { listHomePages(); });
    auto* lists = new QGridLayout;
    lists->addWidget(new QLabel(L("WebPageFoldersLabel")), 0, 0);
    lists->addWidget(new QLabel(L("SitesLabel")), 0, 1);
    lists->addWidget(new QLabel(L("HomePagesLabel")), 0, 2);
    lists->addWidget(m_folders, 1, 0);
    lists->addWidget(m_sites, 1, 1);
    lists->addWidget(m_homePages, 1, 2);
    lists->setColumnStretch(0, 3);
    lists->setColumnStretch(1, 2);
    lists->setColumnStretch(2, 2);

    m_message = new QLabel;
    m_message->setObjectName(QStringLiteral("messageField"));

    auto* help = new QToolButton;
    help->setObjectName(QStringLiteral("helpForUpload"));
    help->setIcon(themeIcon(QStringLiteral("help-browser")));
    help->setAutoRaise(true);
    connect(help, &QToolButton::clicked, this, [this] { helpForUpload(); });
    auto* buttons = new QDialogButtonBox;
    QPushButton* recent = buttons->addButton(L("MostRecentUpload"), QDialogButtonBox::ActionRole);
    QPushButton* show = buttons->addButton(L("ShowHomePage"), QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setText(L("Close"));
    m_publish = buttons->addButton(L("PublishToSite"), QDialogButtonBox::AcceptRole);
    m_publish->setDefault(true);
    connect(recent, &QPushButton::clicked, this, [this] { mostRecentUpload(); });
    connect(show, &QPushButton::clicked, this, [this] { showMeTheHomePage(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_publish, &QPushButton::clicked, this, [this] { uploadToSiteFolder(); });
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(help);
    bottom->addWidget(buttons, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(info);
    layout->addLayout(rootRow);
    layout->addLayout(lists, 1);
    layout->addWidget(m_message);
    layout->addLayout(bottom);

    createKinloomWebFoldersArray();
    setSiteFolder(UserDefaults::standard().stringForKey(kSiteFolder));
}

void UploadToSiteFolder::createKinloomWebFoldersArray()
{
    const QStringList sets = WebPageSets::pageSetFolders(Utils::reportsDirectory());
    m_folders->clear();
    m_folders->addItems(sets);
    const int row = sets.indexOf(UserDefaults::standard().stringForKey(QStringLiteral("mostRecentWebPagesFolder")));
    if (row >= 0)
        m_folders->setCurrentRow(row);
}

void UploadToSiteFolder::chooseSiteFolder()
{
    const QString start = m_siteRoot.isEmpty() ? QDir::homePath() : m_siteRoot;
    const QString folder = chooseFolderPanel() ? chooseFolderPanel()(this, start) : QString();
    if (folder.isEmpty())
        return;
    setSiteFolder(folder);
    UserDefaults::standard().setString(kSiteFolder, m_siteRoot);
}

void UploadToSiteFolder::setSiteFolder(const QString& folder)
{
    m_siteRoot = folder.isEmpty() ? QString() : QDir::cleanPath(folder);
    m_siteRootField->setText(QDir::toNativeSeparators(m_siteRoot));
    listSites();
}

void UploadToSiteFolder::listSites()
{
    m_sites->clear();
    m_homePages->clear();
    if (!m_siteRoot.isEmpty() && !QFileInfo(m_siteRoot).isDir())
        m_message->setText(QStringLiteral("%1 %2").arg(L("UnableToOpen"), QDir::toNativeSeparators(m_siteRoot)));
    else
        m_message->clear();
    m_sites->addItems(SiteUpload::sites(m_siteRoot));
}

void UploadToSiteFolder::listHomePages()
{
    m_homePages->clear();
    const QString site = selected(m_sites);
    if (site.isEmpty())
        return;
    const QStringList pages = SiteUpload::htmlFilesInFolder(m_siteRoot + QLatin1Char('/') + site);
    m_homePages->addItems(pages);
    const int index = pages.indexOf(QStringLiteral("index.html"));
    if (index >= 0)
        m_homePages->setCurrentRow(index);
}

ProgressMonitor* UploadToSiteFolder::uploadToSiteFolder()
{
    const QString set = selected(m_folders);
    if (set.isEmpty()) {
        DisplayMsg(L("SelectFolderTryAgain"));
        return nullptr;
    }
    if (m_siteRoot.isEmpty() || !QFileInfo(m_siteRoot).isDir()) {
        DisplayMsg(L("NoSiteFolder"));
        return nullptr;
    }
    const QString site = selected(m_sites);
    const QString page = selected(m_homePages);
    if (site.isEmpty() || page.isEmpty()) {
        DisplayMsg(L("SelectSiteTryAgain"));
        return nullptr;
    }
    SiteUpload::Upload upload {m_siteRoot, site, page, Utils::reportsDirectory() + QLatin1Char('/') + set};
    // A site folder inside the pages (or the pages' own folder) would copy the set into itself.
    if (within(upload.destination(), upload.pageSetFolder) || within(upload.pageSetFolder, upload.destination())) {
        DisplayMsg(L("SiteFolderInsidePages"));
        return nullptr;
    }
    QString error;
    if (WebPageSets::setHomeLink(upload.pageSetFolder + QStringLiteral("/index.html"),
                                 WebPageSets::siblingSiteHref(site, page), &error)
        == WebPageSets::LinkEdit::Failed) {
        DisplayMsg(QStringLiteral("%1 %2").arg(L("HomeLinkNotWritten"), error));
        return nullptr;
    }
    // The progress window belongs to the main window: it stays when this one closes.
    m_monitor = new ProgressMonitor(m_moc, upload, parentWidget());
    m_monitor->show();
    m_monitor->raise();
    m_monitor->start();
    accept();
    return m_monitor;
}

ProgressMonitor* UploadToSiteFolder::progressMonitor() const
{
    return m_monitor;
}

void UploadToSiteFolder::mostRecentUpload()
{
    const QString text = m_moc ? SiteUpload::recordText(m_moc->metadata()) : QString();
    if (text.isEmpty())
        DisplayMsg(L("NoUploadInfoWarning"));
    else
        Utils::displayMsgWithTitle(L("MobMeLastUpload"), text.trimmed());
}

void UploadToSiteFolder::showMeTheHomePage()
{
    const QString site = selected(m_sites);
    const QString page = selected(m_homePages);
    if (site.isEmpty() || page.isEmpty())
        return;
    Utils::displayFile(m_siteRoot + QLatin1Char('/') + site + QLatin1Char('/') + page, {}, {},
                       QStringLiteral("%1 %2").arg(L("UnableToShow"), QStringLiteral("%1")));
}

void UploadToSiteFolder::helpForUpload()
{
    DisplayMsg(LocalizedHelpString(QStringLiteral("UploadToMobileMeHelp")));
}
