#include "publishing/ui/GoogleMaps.h"

#include "publishing/GoogleMapsSave.h"
#include "publishing/MapLookup.h"
#include "publishing/MapProvider.h"
#include "publishing/ui/GoogleMapsSaveController.h"

#include "model/FTEvent.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"
#include "shell/ui/ThemeIcon.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QBuffer>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {
const QString kUseSavedMap = QStringLiteral("useGeocodeToInitialise");

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

// A page that opens the links meant for a new window in itself: the map stays the one thing the window shows.
class MapPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    QWebEnginePage* createWindow(WebWindowType) override { return this; }
};
}

const QString GoogleMaps::kFrameName = QStringLiteral("GoogleMapsWindow");

GoogleMaps* GoogleMaps::beginSheet(FTEvent& event, QWidget* window, std::function<void()> didEnd)
{
    auto* sheet = new GoogleMaps(&event, window);
    sheet->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    connect(sheet, &QDialog::finished, sheet, [sheet, didEnd = std::move(didEnd)] {
        if (didEnd)
            didEnd();
        sheet->deleteLater();
    });
    sheet->open();
    return sheet;
}

GoogleMaps::GoogleMaps(FTEvent* event, QWidget* parent)
    : QDialog(parent)
    , m_event(event)
{
    setObjectName(QStringLiteral("GoogleMaps"));
    setWindowTitle(L("MapWindowTitle"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setAutoFillBackground(true);
    resize(860, 640);
    if (const QString frame = UserDefaults::standard().stringForKey(kFrameName); !frame.isEmpty())
        restoreGeometry(QByteArray::fromBase64(frame.toLatin1()));

    m_eventDescription = event ? MapLookup::eventDescription(*event) : QString();
    auto* description = new QLabel(QStringLiteral("<b>%1</b> %2").arg(m_eventDescription.toHtmlEscaped(),
                                                                      event ? event->place().toHtmlEscaped() : QString()));
    description->setObjectName(QStringLiteral("eventDescription"));
    description->setTextFormat(Qt::RichText);
    description->setWordWrap(true);

    m_webView = new QWebEngineView;
    m_webView->setObjectName(QStringLiteral("webView"));
    m_webView->setPage(new MapPage(m_webView));
    m_webView->setMinimumSize(480, 320);

    m_statusField = new QLabel;
    m_statusField->setObjectName(QStringLiteral("statusField"));
    m_statusField->setWordWrap(true);
    m_statusField->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_mapSizeField = new QLabel;
    m_mapSizeField->setObjectName(QStringLiteral("mapSize"));
    m_mapSizeField->setForegroundRole(QPalette::PlaceholderText);
    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(m_statusField, 1);
    statusRow->addWidget(m_mapSizeField, 0, Qt::AlignRight | Qt::AlignTop);

    m_useSavedMap = new QCheckBox(L("MapUseSavedMap"));
    m_useSavedMap->setObjectName(QStringLiteral("useGeocodeToInitialise"));
    m_useSavedMap->setChecked(UserDefaults::standard().boolForKey(kUseSavedMap));
    connect(m_useSavedMap, &QCheckBox::toggled, this,
            [](bool on) { UserDefaults::standard().setBool(kUseSavedMap, on); });
    auto* help = new QToolButton;
    help->setObjectName(QStringLiteral("helpForInitialseWithGeocode"));
    help->setIcon(themeIcon(QStringLiteral("help-browser")));
    help->setAutoRaise(true);
    connect(help, &QToolButton::clicked, this, [this] { helpForInitialseWithGeocode(); });

    m_closeButton = new QPushButton(L("Close"));
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_closeButton->setAutoDefault(false);
    connect(m_closeButton, &QPushButton::clicked, this, [this] { closeSheet(); });
    m_saveButton = new QPushButton(themeIcon(QStringLiteral("document-save")), L("MapSaveButton"));
    m_saveButton->setObjectName(QStringLiteral("saveButton"));
    m_saveButton->setAutoDefault(false);
    m_saveButton->setEnabled(false);
    connect(m_saveButton, &QPushButton::clicked, this, [this] { saveGeocodeAndImage(); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_useSavedMap);
    buttons->addWidget(help);
    buttons->addStretch(1);
    buttons->addWidget(m_closeButton);
    buttons->addWidget(m_saveButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(description);
    layout->addWidget(m_webView, 1);
    layout->addLayout(statusRow);
    layout->addLayout(buttons);

    QWebEnginePage* page = m_webView->page();
    connect(page, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& info) {
        switch (info.status()) {
        case QWebEngineLoadingInfo::LoadStartedStatus:
            m_loaded = false;
            m_saveButton->setEnabled(false);
            m_frameStatus = L("Loading");
            break;
        case QWebEngineLoadingInfo::LoadSucceededStatus:
            m_loaded = true;
            m_saveButton->setEnabled(true);
            m_frameStatus.clear();
            break;
        case QWebEngineLoadingInfo::LoadFailedStatus:
            m_loaded = false;
            m_saveButton->setEnabled(false);
            m_frameStatus = L("MapNoNetwork").arg(info.errorString().isEmpty() ? info.url().toDisplayString()
                                                                                : info.errorString());
            break;
        case QWebEngineLoadingInfo::LoadStoppedStatus:
            m_loaded = false;
            m_saveButton->setEnabled(false);
            m_frameStatus.clear();
            break;
        }
        displayStatusMessage();
    });
    connect(page, &QWebEnginePage::titleChanged, this, [this] { displayStatusMessage(); });

    if (event) {
        const QUrl url = MapLookup::initialUrl(*event, MapProvider::current(), [](const QString& question) {
            return Utils::displayYesNoQuery(question, L("GeocodeQueryYes"), L("GeocodeQueryNo"));
        });
        loadURL(url);
    }
}

GoogleMaps::~GoogleMaps()
{
    FTLog(QStringLiteral("GoogleMaps dealloc"));
}

QString GoogleMaps::statusMessage() const
{
    return m_frameStatus;
}

void GoogleMaps::displayStatusMessage()
{
    m_statusField->setText(m_frameStatus);
    m_statusField->repaint();
}

void GoogleMaps::loadURL(const QUrl& url)
{
    m_webView->load(url);
}

void GoogleMaps::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    m_mapSize = QString::asprintf("%4.0f x %4.0f", double(m_webView->width()), double(m_webView->height()));
    m_mapSizeField->setText(m_mapSize.simplified());
}

void GoogleMaps::helpForInitialseWithGeocode()
{
    DisplayMsg(L("MapsGeocodeHelp"));
}

void GoogleMaps::saveGeocodeAndImage()
{
    if (!m_loaded || m_saveSheet)
        return;
    // The address the page shows now: the map keeps the view the user moved it to in its own address.
    QPointer<GoogleMaps> self(this);
    m_webView->page()->runJavaScript(QStringLiteral("window.location.href"), [self](const QVariant& answer) {
        if (!self)
            return;
        const QString address = answer.typeId() == QMetaType::QString ? answer.toString() : QString();
        if (address.isEmpty()) {
            DisplayMsg(QStringLiteral("%1 \"%2\"").arg(L("NoGeocodeFor"), answer.toString()));
            return;
        }
        self->openSaveSheet(address);
    });
}

void GoogleMaps::openSaveSheet(const QString& pageUrl)
{
    if (!m_event || m_event->isDeleted())
        return;
    const QString kept = MapProvider::current().savedAddress(QUrl(pageUrl));
    if (kept.isEmpty()) {
        DisplayMsg(QStringLiteral("%1 \"%2\"").arg(L("NoGeocodeFor"), pageUrl));
        return;
    }
    auto saving = std::make_unique<GoogleMapsSave>(m_event);
    saving->geocoding = kept;
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    m_webView->grab().toImage().save(&buffer, "JPEG");
    saving->bitmapData = jpeg;
    saving->eventDescription = m_eventDescription;
    m_saveSheet = GoogleMapsSaveController::beginSheet(std::move(saving), this);
    Q_EMIT saveSheetShown();
}

void GoogleMaps::closeSheet()
{
    if (m_saveSheet)
        return; // the save sheet ends first
    done(0);
}

void GoogleMaps::done(int result)
{
    if (!m_closed) {
        m_closed = true;
        UserDefaults::standard().setString(kFrameName, QString::fromLatin1(saveGeometry().toBase64()));
        m_webView->stop();
    }
    QDialog::done(result);
}
