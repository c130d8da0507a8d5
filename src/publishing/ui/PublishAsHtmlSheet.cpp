#include "publishing/ui/PublishAsHtmlSheet.h"

#include "publishing/PublishAsHtml.h"
#include "publishing/ui/PublishAsHtml_Options.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"
#include "shell/ui/ThemeIcon.h"
#include "shell/ui/WindowProgress.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"
#include "platform/Workspace.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

// The window's size is kept while the program runs (not stored): the next opening looks as the last one left it.
QSize gContentSize;

QSize openingSize()
{
    if (gContentSize.height() > 500)
        return gContentSize;
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.size() == 1)
        return {910, qMax(500, screens.first()->availableGeometry().height() - 100)};
    return {910, 600};
}

// A preview page whose links to other sites open in the desktop's browser: the preview shows the page set only.
class PreviewPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override
    {
        if (isMainFrame && type == NavigationTypeLinkClicked && !url.isLocalFile()) {
            Workspace::shared().openUrl(url);
            return false;
        }
        return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
    }
};
}

PublishAsHtmlSheet::PublishAsHtmlSheet(FTMoc* moc, QWidget* parent)
    : QDialog(parent)
    , m_generator(std::make_unique<PublishAsHtml>(moc))
{
    setObjectName(QStringLiteral("PublishAsHtml"));
    setWindowTitle(L("WebPagesWindowTitle"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setAutoFillBackground(true);
    resize(openingSize());

    m_webView = new QWebEngineView;
    m_webView->setObjectName(QStringLiteral("webView"));
    m_webView->setPage(new PreviewPage(m_webView));
    m_webView->setMinimumSize(480, 300);
    connect(m_webView, &QWebEngineView::loadFinished, this, [this](bool ok) {
        m_previewLoaded = ok;
        Q_EMIT previewShown(ok);
    });

    m_generalMessage = new QLabel;
    m_generalMessage->setObjectName(QStringLiteral("generalMessage"));
    m_generalMessage->setWordWrap(true);
    m_generalMessage->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_webViewSize = new QLabel;
    m_webViewSize->setObjectName(QStringLiteral("webViewSize"));
    m_webViewSize->setForegroundRole(QPalette::PlaceholderText);
    auto* messageRow = new QHBoxLayout;
    messageRow->addWidget(m_generalMessage, 1);
    messageRow->addWidget(m_webViewSize, 0, Qt::AlignRight | Qt::AlignTop);

    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("progressIndicator"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_numProcessed = new QLabel;
    m_numProcessed->setObjectName(QStringLiteral("numProcessed"));
    m_numProcessed->setMinimumWidth(320);
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(m_progress, 1);
    progressRow->addWidget(m_numProcessed, 1);
    m_windowProgress = std::make_unique<WindowProgress>(m_numProcessed, m_progress);
    m_generator->setProgress(m_windowProgress.get());

    m_totalSize = new QLabel;
    m_totalSize->setObjectName(QStringLiteral("calculatedTotalSize"));
    m_peopleSelected = new QLabel;
    m_peopleSelected->setObjectName(QStringLiteral("peopleSelected"));
    m_peopleSelected->setWordWrap(true);
    m_message = new QLabel;
    m_message->setObjectName(QStringLiteral("message"));
    m_message->setWordWrap(true);
    QPalette warning = m_message->palette();
    warning.setColor(QPalette::WindowText, QColor(170, 0, 0));
    m_message->setPalette(warning);

    m_optionsButton = new QPushButton(themeIcon(QStringLiteral("preferences-system")), L("WebOptionsButton"));
    m_optionsButton->setObjectName(QStringLiteral("optionsButton"));
    m_optionsButton->setAutoDefault(false);
    connect(m_optionsButton, &QPushButton::clicked, this, [this] { displayOptions(); });
    m_closeButton = new QPushButton(L("Close"));
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_closeButton->setAutoDefault(false);
    connect(m_closeButton, &QPushButton::clicked, this, [this] { closeSheet(); });
    m_generateButton = new QPushButton(L("Generate"));
    m_generateButton->setObjectName(QStringLiteral("generateButton"));
    m_generateButton->setDefault(true);
    connect(m_generateButton, &QPushButton::clicked, this, [this] { generateAll(); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_optionsButton);
    buttons->addStretch(1);
    buttons->addWidget(m_closeButton);
    buttons->addWidget(m_generateButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_webView, 1);
    layout->addLayout(messageRow);
    layout->addLayout(progressRow);
    layout->addWidget(m_totalSize);
    layout->addWidget(m_peopleSelected);
    layout->addWidget(m_message);
    layout->addLayout(buttons);

    // The first preview once the window shows, the options panel a second later.
    QTimer::singleShot(0, this, [this] { generatePreview(); });
    QTimer::singleShot(1000, this, [this] { displayOptions(); });
}

PublishAsHtmlSheet::~PublishAsHtmlSheet()
{
    closeOptions();
}

PublishAsHtml_Options* PublishAsHtmlSheet::optionsPanel() const
{
    return m_options;
}

QString PublishAsHtmlSheet::generalMessage() const
{
    return m_generalMessage->text();
}

QString PublishAsHtmlSheet::webViewSize() const
{
    return m_webViewSize->text();
}

void PublishAsHtmlSheet::generatePreview()
{
    if (m_closed)
        return;
    if (m_running || PublishAsHtml::runIsActive()) {
        m_generalMessage->setText(L("WebExportRunningAlready"));
        return;
    }
    m_running = true;
    enableControls(false);
    m_generalMessage->setText(L("PreviewForKinship"));
    m_generalMessage->repaint();
    m_generator->generatePreview();
    m_running = false;
    enableControls(true);
    showRunTexts();
    loadPreview();
}

void PublishAsHtmlSheet::generateAll()
{
    if (m_running || PublishAsHtml::runIsActive()) {
        m_generalMessage->setText(L("WebExportRunningAlready"));
        return;
    }
    if (!UserDefaults::standard().boolForKey(QStringLiteral("htmlExcludeLivingPeople"))) {
        const QString info = QStringLiteral("%1 %2, %3\n\n")
                                 .arg(L("WebExportDisclaimer1"), Prompts::kAlertTitle, L("WebExportDisclaimer2"));
        const int answer = Prompts::current().chooseWithEscape(L("WARNING"), L("WebExportDisclaimerTitle"), info,
                                                               {L("IAgree"), L("Cancel")}, 1);
        if (answer != 0)
            return;
    }
    m_generalMessage->setText(L("Generating"));
    m_generalMessage->repaint();
    m_totalSize->clear();
    m_peopleSelected->clear();
    closeOptions();
    m_running = true;
    enableControls(false);
    m_generator->generateAll();
    m_running = false;
    enableControls(true);
    showRunTexts();
    loadPreview();
}

void PublishAsHtmlSheet::kinshipChanged()
{
    if (m_running)
        return;
    m_generator->kinshipChanged();
    showRunTexts();
}

void PublishAsHtmlSheet::displayOptions()
{
    if (m_closed || m_running)
        return;
    if (m_options) {
        m_options->raise();
        m_options->activateWindow();
        return;
    }
    kinshipChanged();
    m_options = new PublishAsHtml_Options(m_generator->moc(), this);
    m_options->show();
    m_options->raise();
}

void PublishAsHtmlSheet::closeSheet()
{
    if (m_running)
        return;
    const int answer = Prompts::current().chooseWithEscape(
        Prompts::kAlertTitle, L("SaveHtmlPageset"), {}, {L("SaveWebPages"), L("Discard"), L("Cancel")}, 2);
    if (answer == 0) {
        const QString folder = m_generator->save();
        if (folder.isEmpty())
            return; // the generator has said why; the window and its folder stay
        const QString question = QStringLiteral("%1:\n\n%2\n\n%3\n\n").arg(L("OutputInFolder"), folder, L("OutputAdvice"));
        if (Utils::displayYesNoQuery(question, L("DisplayInBrowser"), L("Continue"))) {
            const QString page = m_generator->pageToShowIn(folder);
            if (!Workspace::shared().openFile(page))
                DisplayMsg(QStringLiteral("%1:\n\n %2").arg(L("UnableToOpenFile"), page));
        }
    } else if (answer == 1) {
        m_generator->discard();
    } else {
        return;
    }
    accept();
}

void PublishAsHtmlSheet::helpForKinship()
{
    Utils::displayMsgWithTitle(L("Kinship"), L("helpForKinship"));
}

void PublishAsHtmlSheet::reject()
{
    // Escape and the window's close box ask what becomes of the pages, as Close does.
    closeSheet();
}

void PublishAsHtmlSheet::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    m_webViewSize->setText(QString::asprintf("%4.0f x %4.0f", double(m_webView->width()), double(m_webView->height()))
                               .trimmed());
}

void PublishAsHtmlSheet::done(int result)
{
    if (!m_closed) {
        m_closed = true;
        gContentSize = size();
        closeOptions();
        m_webView->stop();
    }
    QDialog::done(result);
}

void PublishAsHtmlSheet::enableControls(bool enabled)
{
    m_generateButton->setEnabled(enabled);
    m_closeButton->setEnabled(enabled);
    m_optionsButton->setEnabled(enabled);
    if (m_options)
        m_options->setEnabled(enabled);
}

void PublishAsHtmlSheet::showRunTexts()
{
    m_generalMessage->setText(m_generator->generalMessage());
    m_totalSize->setText(m_generator->calculatedTotalSize());
    m_peopleSelected->setText(m_generator->peopleSelected());
    m_message->setText(m_generator->freeSpaceMessage());
    m_message->setVisible(!m_message->text().isEmpty());
}

void PublishAsHtmlSheet::loadPreview()
{
    m_previewLoaded = false;
    const QString page = m_generator->filenameToOpen();
    if (!page.isEmpty())
        m_webView->load(QUrl::fromLocalFile(page));
}

void PublishAsHtmlSheet::closeOptions()
{
    if (m_options) {
        PublishAsHtml_Options* panel = m_options;
        m_options = nullptr;
        panel->close();
        panel->deleteLater();
    }
}
