#include "publishing/ui/GoogleMapsSaveController.h"

#include "publishing/GoogleMapsSave.h"

#include "model/FTEvent.h"

#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

GoogleMapsSaveController* GoogleMapsSaveController::beginSheet(std::unique_ptr<GoogleMapsSave> saving, QWidget* window)
{
    auto* sheet = new GoogleMapsSaveController(std::move(saving), window);
    sheet->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->open();
    return sheet;
}

GoogleMapsSaveController::GoogleMapsSaveController(std::unique_ptr<GoogleMapsSave> saving, QWidget* parent)
    : QDialog(parent)
    , m_saving(std::move(saving))
{
    setObjectName(QStringLiteral("GoogleMapsSave"));
    setWindowTitle(L("MapSaveTitle"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setAutoFillBackground(true);

    const QString place = m_saving->event() ? m_saving->event()->place() : QString();
    auto* description = new QLabel(QStringLiteral("<b>%1</b> %2").arg(m_saving->eventDescription.toHtmlEscaped(),
                                                                      place.toHtmlEscaped()));
    description->setObjectName(QStringLiteral("eventDescription"));
    description->setWordWrap(true);

    auto* preview = new QLabel;
    preview->setObjectName(QStringLiteral("mapPicture"));
    const QImage picture = QImage::fromData(m_saving->bitmapData);
    if (!picture.isNull())
        preview->setPixmap(QPixmap::fromImage(picture.scaled(240, 180, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    preview->setFrameShape(QFrame::StyledPanel);
    preview->setAlignment(Qt::AlignCenter);

    auto* addressBox = new QGroupBox(L("MapSaveAddress"));
    m_allEvents = new QCheckBox(m_saving->allEventsCheckBoxTitle());
    m_allEvents->setObjectName(QStringLiteral("applyToAllEvents"));
    m_allEvents->setChecked(m_saving->applyToAllEvents);
    // With one event at the place there is no other to give the address to.
    m_allEvents->setEnabled(m_saving->allEventsArray().size() > 1);
    auto* addressLayout = new QVBoxLayout(addressBox);
    addressLayout->addWidget(m_allEvents);

    auto* pictureBox = new QGroupBox(L("MapSavePicture"));
    m_saveImageMatrix = new QButtonGroup(this);
    auto* pictureLayout = new QVBoxLayout(pictureBox);
    const QString rows[] = {m_saving->allPeopleCheckBoxTitle(), L("MapImageOwner"), L("MapImageNobody")};
    for (int row = 0; row < 3; ++row) {
        auto* radio = new QRadioButton(rows[row]);
        radio->setObjectName(QStringLiteral("saveImageRow%1").arg(row));
        m_saveImageMatrix->addButton(radio, row);
        pictureLayout->addWidget(radio);
    }
    if (QAbstractButton* chosen = m_saveImageMatrix->button(m_saving->applyToAllPeople))
        chosen->setChecked(true);

    auto* choices = new QVBoxLayout;
    choices->addWidget(addressBox);
    choices->addWidget(pictureBox);
    choices->addStretch(1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(preview, 0, Qt::AlignTop);
    middle->addLayout(choices, 1);

    auto* showMeButton = new QPushButton(L("MapShowMe"));
    showMeButton->setObjectName(QStringLiteral("showMeButton"));
    showMeButton->setAutoDefault(false);
    connect(showMeButton, &QPushButton::clicked, this, [this] { showMe(); });
    m_cancelButton = new QPushButton(L("Cancel"));
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_cancelButton->setAutoDefault(false);
    connect(m_cancelButton, &QPushButton::clicked, this, [this] { cancel(); });
    m_saveButton = new QPushButton(L("MapSaveSheetButton"));
    m_saveButton->setObjectName(QStringLiteral("saveButton"));
    m_saveButton->setDefault(true);
    connect(m_saveButton, &QPushButton::clicked, this, [this] { save(); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(showMeButton);
    buttons->addStretch(1);
    buttons->addWidget(m_cancelButton);
    buttons->addWidget(m_saveButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(description);
    layout->addLayout(middle);
    layout->addLayout(buttons);
}

GoogleMapsSaveController::~GoogleMapsSaveController()
{
    FTLog(QStringLiteral("GoogleMaps dealloc"));
}

void GoogleMapsSaveController::save()
{
    m_saving->applyToAllEvents = m_allEvents->isChecked();
    m_saving->applyToAllPeople = std::max(0, m_saveImageMatrix->checkedId());
    m_saving->save();
    done(0);
}

void GoogleMapsSaveController::cancel()
{
    done(0);
}

void GoogleMapsSaveController::showMe()
{
    for (const GoogleMapsSave::Listing& listing : m_saving->showMeTexts())
        Utils::displayMsgWithTitle(listing.title, listing.text);
}
