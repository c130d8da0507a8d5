#include "publishing/ui/PrepareForUpload.h"

#include "publishing/WebPageSets.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kHomePageUrl = QStringLiteral("HomePageUrl");

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

PrepareForUpload::PrepareForUpload(FTMoc* moc, QWidget* parent) : QDialog(parent), m_moc(moc)
{
    setObjectName(QStringLiteral("PrepareForUpload"));
    setWindowTitle(L("PrepareForUploadTitle"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setAutoFillBackground(true);
    resize(560, 380);

    auto* info = new QLabel(L("PrepareForUploadInfo"));
    info->setWordWrap(true);
    m_url = new QLineEdit(UserDefaults::standard().stringForKey(kHomePageUrl));
    m_url->setObjectName(QStringLiteral("homePageUrl"));
    m_url->setPlaceholderText(QStringLiteral("https://"));
    m_foldersList = new QListWidget;
    m_foldersList->setObjectName(QStringLiteral("KinloomWebFolders"));
    auto* form = new QFormLayout;
    form->addRow(L("HomePageUrlLabel"), m_url);
    form->addRow(L("WebPageFoldersLabel"), m_foldersList);

    auto* buttons = new QDialogButtonBox;
    m_showMe = buttons->addButton(L("ShowMe"), QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setText(L("Close"));
    m_prepare = buttons->addButton(L("PrepareIndexPage"), QDialogButtonBox::AcceptRole);
    m_prepare->setDefault(true);
    connect(m_prepare, &QPushButton::clicked, this, [this] { editHtmlIndexFile(); });
    connect(m_showMe, &QPushButton::clicked, this, [this] { showMe(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(info);
    layout->addLayout(form, 1);
    layout->addWidget(buttons);

    createKinloomWebFoldersArray();
}

void PrepareForUpload::createKinloomWebFoldersArray()
{
    m_folders = WebPageSets::pageSetFolders(Utils::reportsDirectory());
    m_foldersList->clear();
    m_foldersList->addItems(m_folders);
    // The set saved last is the one most likely meant.
    const QString recent = UserDefaults::standard().stringForKey(QStringLiteral("mostRecentWebPagesFolder"));
    const int row = m_folders.indexOf(recent);
    if (row >= 0)
        m_foldersList->setCurrentRow(row);
}

void PrepareForUpload::editHtmlIndexFile()
{
    // A field being typed in commits its text first.
    if (QWidget* focus = focusWidget())
        focus->clearFocus();
    const QString typed = m_url->text();
    QString refusal;
    const QString href = WebPageSets::otherSiteHref(typed, &refusal);
    if (href.isEmpty()) {
        DisplayMsg(refusal);
        return;
    }
    DisplayMsg(QStringLiteral("URL = %1").arg(WebPageSets::otherSiteUrl(typed)));
    QListWidgetItem* chosen = m_foldersList->currentItem();
    if (!chosen || !chosen->isSelected()) {
        DisplayMsg(L("SelectFolderTryAgain"));
        return;
    }
    m_indexFilename = Utils::reportsDirectory() + QLatin1Char('/') + chosen->text() + QStringLiteral("/index.html");
    DisplayMsg(QStringLiteral("%1 = %2").arg(L("indexFilename"), m_indexFilename));
    if (!QFileInfo(m_indexFilename).isFile()) {
        DisplayMsg(L("indexNotExist"));
        return;
    }
    QString error;
    if (WebPageSets::setHomeLink(m_indexFilename, href, &error) == WebPageSets::LinkEdit::Failed) {
        DisplayMsg(QStringLiteral("%1 %2").arg(L("HomeLinkNotWritten"), error));
        return;
    }
    UserDefaults::standard().setString(kHomePageUrl, typed);
}

void PrepareForUpload::showMe()
{
    // Before any preparation there is nothing to open: the same message as a page that will not open.
    if (m_indexFilename.isEmpty() || !QFileInfo(m_indexFilename).isFile()) {
        DisplayMsg(QStringLiteral("%1 %2").arg(L("UnableToOpen"), m_indexFilename));
        return;
    }
    Utils::displayFile(m_indexFilename, {}, {}, QStringLiteral("%1 %2").arg(L("UnableToOpen"), QStringLiteral("%1")));
}
