#include "pictures/ui/PictureController.h"

#include "pictures/ui/PicEdit.h"
#include "pictures/ui/PictureMetadata.h"

#include "sources/ui/PictureSourceReferences.h"

#include "editor/ui/LineEditDateField.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"
#include "shell/ui/ThemeIcon.h"

#include "model/Dates.h"
#include "model/FTMoc.h"
#include "model/FTPicture.h"
#include "model/UtilsPics.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"
#include "platform/Workspace.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QTableWidget>

#include <cmath>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

QRect s_contentRect;

// The seven display adjustments: their label, their range and the picture's accessors. Sliders move in hundredths.
struct AdjustmentControl {
    const char* labelKey;
    float minimum;
    float maximum;
    float defaultValue;
    float (FTPicture::*get)() const;
    void (FTPicture::*set)(float);
};
const AdjustmentControl kAdjustments[] = {
    { "AdjustSharpness", 0.0f, 2.0f, 0.4f, &FTPicture::tnLuminance, &FTPicture::setTnLuminance },
    { "AdjustExposure", -2.0f, 2.0f, 0.0f, &FTPicture::tnExposure, &FTPicture::setTnExposure },
    { "AdjustGamma", 0.25f, 3.0f, 1.0f, &FTPicture::tnGamma, &FTPicture::setTnGamma },
    { "AdjustSaturation", 0.0f, 2.0f, 1.0f, &FTPicture::tnSaturation, &FTPicture::setTnSaturation },
    { "AdjustBrightness", -0.5f, 0.5f, 0.0f, &FTPicture::tnBrightness, &FTPicture::setTnBrightness },
    { "AdjustContrast", 0.25f, 2.5f, 1.0f, &FTPicture::tnContrast, &FTPicture::setTnContrast },
    { "AdjustSepia", 0.0f, 1.0f, 0.0f, &FTPicture::tnSepia, &FTPicture::setTnSepia },
};

QPushButton* button(const QString& text, const char* icon, const char* objectName)
{
    auto* b = new QPushButton(icon ? themeIcon(QString::fromLatin1(icon)) : QIcon(), text);
    b->setObjectName(QString::fromLatin1(objectName));
    b->setAutoDefault(false);
    return b;
}
}

PictureController::PictureController(FTManagedObject* owner, FTPicture* picture, QWidget* parent)
    : QDialog(parent)
    , m_editing(std::make_unique<PictureEditing>(owner, picture))
{
    setObjectName(QStringLiteral("PictureController"));
    setWindowTitle(L("PictureEditorTitle"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setAutoFillBackground(true);
    buildWindow();
    if (s_contentRect.width() != 0)
        resize(s_contentRect.size());
    showPicture();
    m_picEdit->setFocus();

    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(
        QStringLiteral("DisplayOtherReferences"), nullptr, [this](const Notification&) { displayOtherReferences(); },
        this);
    // Every open editor lists the pictures of this file anew, once however many editors open together.
    center.enqueue(QStringLiteral("DisplayOtherReferences"), nullptr, m_editing->moc());
}

PictureController::~PictureController()
{
    NotificationCenter::defaultCenter().removeObserversOf(this);
}

PictureController* PictureController::beginSheet(QWidget* window, FTManagedObject* owner, FTPicture* picture,
    std::function<void(FTPicture* picture, bool changed)> didEnd)
{
    auto* editor = new PictureController(owner, picture, window);
    editor->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    connect(editor, &QDialog::finished, editor, [editor, didEnd](int code) {
        if (didEnd)
            didEnd(editor->picture(), code == 1);
        editor->deleteLater();
    });
    editor->open();
    return editor;
}

QRect PictureController::rememberedContentRect()
{
    return s_contentRect;
}

void PictureController::setRememberedContentRect(const QRect& rect)
{
    s_contentRect = rect;
}

// ---- The window ------------------------------------------------------------------------------------------------

void PictureController::buildWindow()
{
    auto* main = new QHBoxLayout(this);

    // Left: the picture.
    auto* left = new QVBoxLayout;
    auto* header = new QHBoxLayout;
    m_ownersName = new QLabel;
    m_ownersName->setObjectName(QStringLiteral("ownersName"));
    QFont bold = m_ownersName->font();
    bold.setBold(true);
    m_ownersName->setFont(bold);
    m_pictureSize = new QLabel;
    m_pictureSize->setObjectName(QStringLiteral("pictureSize"));
    header->addWidget(m_ownersName, 1);
    header->addWidget(m_pictureSize);
    left->addLayout(header);

    m_scroll = new QScrollArea;
    m_scroll->setMinimumSize(480, 400);
    m_scroll->setBackgroundRole(QPalette::Mid);
    m_picEdit = new PicEdit(this, m_scroll);
    left->addWidget(m_scroll, 1);

    auto* controls = new QHBoxLayout;
    m_previousButton = button(QString(), "go-previous", "previousButton");
    m_previousButton->setToolTip(L("PreviousPicture"));
    m_pictureNo = new QLabel;
    m_pictureNo->setObjectName(QStringLiteral("pictureNo"));
    m_pictureNo->setMinimumWidth(60);
    m_pictureNo->setAlignment(Qt::AlignCenter);
    m_nextButton = button(QString(), "go-next", "nextButton");
    m_nextButton->setToolTip(L("NextPicture"));
    controls->addWidget(m_previousButton);
    controls->addWidget(m_pictureNo);
    controls->addWidget(m_nextButton);
    controls->addStretch();
    controls->addWidget(new QLabel(L("PictureZoom")));
    m_zoom = new QSlider(Qt::Horizontal);
    m_zoom->setObjectName(QStringLiteral("zoom"));
    m_zoom->setRange(10, 400);
    m_zoom->setValue(100);
    m_zoom->setFixedWidth(120);
    controls->addWidget(m_zoom);
    // "−" turns the picture a quarter counter-clockwise, "+" clockwise.
    auto* rotateLeft = button(QStringLiteral("−"), "object-rotate-left", "rotateMinus");
    rotateLeft->setToolTip(L("RotateLeft"));
    auto* rotateRight = button(QStringLiteral("+"), "object-rotate-right", "rotatePlus");
    rotateRight->setToolTip(L("RotateRight"));
    auto* cropAllButton = button(L("CropAll"), "zoom-fit-best", "cropAll");
    controls->addWidget(rotateLeft);
    controls->addWidget(rotateRight);
    controls->addWidget(cropAllButton);
    left->addLayout(controls);
    main->addLayout(left, 1);
    m_imageButtons = { rotateLeft, rotateRight, cropAllButton };

    // Right: the preview, the texts, the adjustments, the other references and the commands.
    auto* rightWidget = new QWidget;
    rightWidget->setFixedWidth(340);
    auto* right = new QVBoxLayout(rightWidget);
    right->setContentsMargins(0, 0, 0, 0);
    m_thumbnailView = new QLabel;
    m_thumbnailView->setObjectName(QStringLiteral("thumbnailView"));
    m_thumbnailView->setFixedSize(UtilsPics::kThumbnailSize + 8, UtilsPics::kThumbnailSize + 8);
    m_thumbnailView->setAlignment(Qt::AlignCenter);
    m_thumbnailView->setFrameShape(QFrame::StyledPanel);
    m_thumbnailView->setBackgroundRole(QPalette::Base);
    m_thumbnailView->setAutoFillBackground(true);
    auto* top = new QHBoxLayout;
    top->addWidget(m_thumbnailView);
    auto* topButtons = new QVBoxLayout;
    m_sourceRefsButton = button(QString(), "emblem-documents", "sourceRefsButton");
    auto* metadataButton = button(L("PictureMetadataButton"), "document-properties", "metadataButton");
    auto* findButton = button(L("FindPicButton"), "document-open", "findButton");
    auto* photosButton = button(L("PhotoApplicationButton"), "image-x-generic", "photosButton");
    for (QPushButton* b : { m_sourceRefsButton, metadataButton, findButton, photosButton })
        topButtons->addWidget(b);
    topButtons->addStretch();
    top->addLayout(topButtons, 1);
    right->addLayout(top);

    auto* form = new QFormLayout;
    m_title = new QLineEdit;
    m_title->setObjectName(QStringLiteral("title"));
    m_date = new QLineEdit;
    m_date->setObjectName(QStringLiteral("date"));
    m_notes = new QPlainTextEdit;
    m_notes->setObjectName(QStringLiteral("notes"));
    m_notes->setFixedHeight(80);
    QFont notesFont = m_notes->font();
    notesFont.setPointSize(11);
    m_notes->setFont(notesFont);
    form->addRow(L("PictureTitleLabel"), m_title);
    form->addRow(L("PictureDateLabel"), m_date);
    form->addRow(L("PictureNotesLabel"), m_notes);
    right->addLayout(form);

    auto* adjustments = new QGroupBox(L("PictureAdjustments"));
    auto* grid = new QGridLayout(adjustments);
    grid->setVerticalSpacing(2);
    int row = 0;
    for (const AdjustmentControl& control : kAdjustments) {
        auto* slider = new QSlider(Qt::Horizontal);
        slider->setObjectName(QString::fromLatin1(control.labelKey));
        slider->setRange(int(std::lround(control.minimum * 100)), int(std::lround(control.maximum * 100)));
        const int index = row;
        connect(slider, &QSlider::valueChanged, this,
            [this, index, slider](int value) { adjustmentChanged(index, value, !slider->isSliderDown()); });
        connect(slider, &QSlider::sliderReleased, this,
            [this, index, slider] { adjustmentChanged(index, slider->value(), true); });
        grid->addWidget(new QLabel(L(control.labelKey)), row, 0);
        grid->addWidget(slider, row, 1);
        m_adjustments << slider;
        ++row;
    }
    m_defaults = button(L("PictureDefaults"), "edit-undo", "defaultsButton");
    grid->addWidget(m_defaults, row, 1, Qt::AlignRight);
    right->addWidget(adjustments);

    auto* referencesHeader = new QHBoxLayout;
    referencesHeader->addWidget(new QLabel(L("OtherReferences")), 1);
    auto* referencesHelp = button(QString(), "help-browser", "otherReferencesHelp");
    referencesHelp->setFlat(true);
    referencesHeader->addWidget(referencesHelp);
    right->addLayout(referencesHeader);
    m_otherReferences = new QTableWidget(0, 2);
    m_otherReferences->setObjectName(QStringLiteral("otherReferences"));
    m_otherReferences->setHorizontalHeaderLabels({ L("OtherReferencesOwner"), L("OtherReferencesTitle") });
    m_otherReferences->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_otherReferences->verticalHeader()->hide();
    m_otherReferences->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_otherReferences->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_otherReferences->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_otherReferences->setMinimumHeight(90);
    right->addWidget(m_otherReferences, 1);

    auto* bottom = new QHBoxLayout;
    auto* copyHelp = button(L("HelpAboutCopyButton"), "help-browser", "copyHelp");
    auto* closeButton = button(L("Close"), "window-close", "closeButton");
    closeButton->setDefault(true);
    bottom->addWidget(copyHelp);
    bottom->addStretch();
    bottom->addWidget(closeButton);
    right->addLayout(bottom);
    main->addWidget(rightWidget);

    connect(m_previousButton, &QPushButton::clicked, this, &PictureController::previousPicture);
    connect(m_nextButton, &QPushButton::clicked, this, &PictureController::nextPicture);
    connect(m_zoom, &QSlider::valueChanged, this, [this](int value) { m_picEdit->setSliderScale(value / 100.0); });
    for (QPushButton* b : { rotateLeft, rotateRight })
        connect(b, &QPushButton::clicked, this, [this, b] { rotateOriginalImage(b->text()); });
    connect(cropAllButton, &QPushButton::clicked, this, &PictureController::cropAll);
    connect(m_defaults, &QPushButton::clicked, this, &PictureController::setDefaultEnhancements);
    connect(m_sourceRefsButton, &QPushButton::clicked, this, &PictureController::displaySourceReferences);
    connect(metadataButton, &QPushButton::clicked, this, &PictureController::displayMetadata);
    connect(findButton, &QPushButton::clicked, this, &PictureController::findPicture);
    connect(photosButton, &QPushButton::clicked, this, &PictureController::invokePhotoApplication);
    connect(referencesHelp, &QPushButton::clicked, this, &PictureController::helpForOtherReferences);
    connect(copyHelp, &QPushButton::clicked, this, &PictureController::displayHelpAboutCopy);
    connect(closeButton, &QPushButton::clicked, this, &PictureController::closeEditor);
    connect(m_title, &QLineEdit::editingFinished, this, [this] {
        if (FTPicture* p = picture(); p && m_title->text() != p->name())
            p->setName(m_title->text());
    });
    connect(m_date, &QLineEdit::editingFinished, this, &PictureController::commitDate);
    connect(m_otherReferences, &QTableWidget::itemSelectionChanged, m_picEdit, qOverload<>(&QWidget::update));
}

// Shows the picture being edited, after opening, moving to another one or choosing its file.
void PictureController::showPicture()
{
    FTPicture* p = picture();
    // The metadata window speaks of one picture's file: it goes once the editor shows another.
    if (m_metadata
        && (m_metadata->picture() != p
            || m_metadata->path() != UtilsPics::resolveAliasedPath(p ? p->filename() : QString()))) {
        m_metadata->close();
        m_metadata = nullptr;
    }
    m_ownersName->setText(m_editing->ownersName());
    m_pictureSize->setText(m_editing->pictureSize());
    m_pictureNo->setText(m_editing->pictureNo());
    m_nextButton->setVisible(p);
    m_previousButton->setVisible(p);
    for (QWidget* w : std::initializer_list<QWidget*> { m_title, m_date, m_notes, m_sourceRefsButton, m_defaults })
        w->setEnabled(p);
    m_title->setText(p ? p->name() : QString());
    m_date->setText(p ? p->date() : QString());
    m_date->setModified(false);
    m_notes->setPlainText(p ? p->notes() : QString());
    const bool hasImage = m_editing->originalImageExists() && m_editing->isImageFile();
    for (QPushButton* b : m_imageButtons)
        b->setEnabled(hasImage);
    showAdjustments();
    retitleSourceReferences();
    displayOtherReferences();
    m_zoom->blockSignals(true);
    m_zoom->setValue(100);
    m_zoom->blockSignals(false);
    m_picEdit->reloadImage();
    // The stored thumbnail until the picture is changed: nothing is rendered or stored just by looking.
    QImage stored;
    if (p && p->originalPicture())
        stored = p->thumbnailImage();
    showPreview(stored);
}

void PictureController::showPreview(const QImage& preview)
{
    m_thumbnailView->setPixmap(preview.isNull() ? QPixmap() : QPixmap::fromImage(preview));
}

void PictureController::showAdjustments()
{
    const FTPicture* p = picture();
    for (int i = 0; i < m_adjustments.size(); ++i) {
        QSlider* slider = m_adjustments[i];
        const float value = p ? (p->*kAdjustments[i].get)() : kAdjustments[i].defaultValue;
        slider->blockSignals(true);
        slider->setValue(int(std::lround(value * 100)));
        slider->blockSignals(false);
        slider->setEnabled(p);
    }
}

void PictureController::adjustmentChanged(int index, int value, bool final)
{
    FTPicture* p = picture();
    if (!p)
        return;
    const float v = value / 100.0f;
    if ((p->*kAdjustments[index].get)() != v)
        (p->*kAdjustments[index].set)(v);
    showPreview(m_editing->displayThumbnail(final));
}

void PictureController::retitleSourceReferences()
{
    m_sourceRefsButton->setText(m_editing->sourceReferencesTitle());
}

QList<FTPicture*> PictureController::selectedOtherReferences() const
{
    QList<FTPicture*> out;
    const QList<FTPicture*> references = m_editing->otherReferences();
    for (const QModelIndex& index : m_otherReferences->selectionModel()->selectedRows())
        if (index.row() < references.size())
            out << references[index.row()];
    return out;
}

// ---- Editing ---------------------------------------------------------------------------------------------------

void PictureController::setRclCrop(const QRectF& crop, bool final)
{
    m_editing->setRclCrop(crop);
    showPreview(m_editing->displayThumbnail(final));
}

bool PictureController::setFilename(const QString& path, const QString& title, const QString& date, const QString& notes)
{
    endEditing();
    if (!m_editing->setFilename(path, title, date, notes))
        return false;
    showPicture();
    showPreview(m_editing->lastPreview());
    return true;
}

void PictureController::endEditing()
{
    FTPicture* p = picture();
    if (!p)
        return;
    if (m_title->text() != p->name())
        p->setName(m_title->text());
    if (m_notes->toPlainText() != p->notes())
        p->setNotes(m_notes->toPlainText());
    commitDate();
}

void PictureController::commitDate()
{
    FTPicture* p = picture();
    if (!p || !m_date->isModified())
        return;
    LineEditDateField field(m_date);
    const bool accepted = Dates::validateDateField(field, nullptr);
    // A refused date keeps the editor open until it is put right.
    m_editing->setDateError(!accepted);
    m_date->setModified(false);
    if (accepted && m_date->text() != p->date())
        p->setDate(m_date->text());
}

void PictureController::nextPicture()
{
    endEditing();
    if (m_editing->movePicture(+1))
        showPicture();
}

void PictureController::previousPicture()
{
    endEditing();
    if (m_editing->movePicture(-1))
        showPicture();
}

void PictureController::rotateOriginalImage(const QString& buttonTitle)
{
    if (!m_editing->rotateOriginalImage(buttonTitle))
        return;
    m_pictureSize->setText(m_editing->pictureSize());
    m_picEdit->reloadImage();
    m_zoom->blockSignals(true);
    m_zoom->setValue(100);
    m_zoom->blockSignals(false);
    showPreview(m_editing->lastPreview());
}

void PictureController::cropAll()
{
    if (!m_editing->cropAll())
        return;
    m_picEdit->setRclCrop(QRectF());
    m_zoom->setValue(100);
    m_picEdit->setSliderScale(1.0);
    showPreview(m_editing->lastPreview());
}

void PictureController::setDefaultEnhancements()
{
    m_editing->setDefaultEnhancements();
    showAdjustments();
    showPreview(m_editing->displayThumbnail());
}

void PictureController::displayOtherReferences()
{
    m_editing->displayOtherReferences();
    const QList<FTPicture*> references = m_editing->otherReferences();
    m_otherReferences->clearSelection();
    m_otherReferences->setRowCount(int(references.size()));
    for (int row = 0; row < references.size(); ++row) {
        const FTPicture* reference = references[row];
        m_otherReferences->setItem(row, 0, new QTableWidgetItem(reference->ownersName()));
        m_otherReferences->setItem(row, 1, new QTableWidgetItem(reference->name()));
    }
    m_picEdit->update();
}

// ---- Other windows -----------------------------------------------------------------------------------------------

void PictureController::findPicture()
{
    UserDefaults& defaults = UserDefaults::standard();
    const QString key = QStringLiteral("picturesDirectory");
    if (defaults.stringForKey(key).isEmpty())
        defaults.setString(key, Utils::picturesDirectory());
    QStringList patterns;
    for (const QString& type : UtilsPics::multimediaFileTypes(nullptr, false))
        patterns << QStringLiteral("*.") + type;
    patterns.sort();
    auto* panel = new QFileDialog(this, QStringLiteral("%1 - %2").arg(Prompts::kAlertTitle, L("FindPic")),
        defaults.stringForKey(key), QStringLiteral("%1 (%2)").arg(L("PictureFiles"), patterns.join(QLatin1Char(' '))));
    panel->setObjectName(QStringLiteral("findPicturePanel"));
    panel->setFileMode(QFileDialog::ExistingFile);
    panel->setAttribute(Qt::WA_DeleteOnClose);
    connect(panel, &QFileDialog::fileSelected, this, [this, key](const QString& path) {
        if (setFilename(path))
            UserDefaults::standard().setString(key, QFileInfo(path).absolutePath());
    });
    panel->open();
}

void PictureController::displaySourceReferences()
{
    FTPicture* p = picture();
    if (!p)
        return;
    endEditing();
    auto* sheet = new PictureSourceReferences(p, this);
    connect(sheet, &QDialog::finished, this, [this, sheet] {
        sheet->hide();
        sheet->deleteLater();
        retitleSourceReferences();
    });
    sheet->open();
}

void PictureController::displayMetadata()
{
    FTPicture* p = picture();
    if (!p || p->filename().isEmpty() || !QFileInfo::exists(p->filename())) {
        DisplayMsg(L("FileNotExist"));
        return;
    }
    if (m_metadata && m_metadata->isVisible())
        return;
    endEditing();
    m_metadata = new PictureMetadata(p, this);
    connect(m_metadata, &PictureMetadata::aboutToReadNotes, this, &PictureController::endEditing);
    connect(m_metadata, &PictureMetadata::notesChanged, this, [this] {
        if (FTPicture* p = picture())
            m_notes->setPlainText(p->notes());
    });
    m_metadata->show();
}

void PictureController::invokePhotoApplication()
{
    const FTPicture* p = picture();
    const QString path = p ? UtilsPics::resolveAliasedPath(p->filename()) : QString();
    if (path.isEmpty() || !QFileInfo::exists(path) || !Workspace::shared().openFile(path))
        DisplayMsg(L("NOiPhoto"));
}

void PictureController::displayHelpAboutCopy()
{
    const QString data = QStringLiteral("KinloomData");
    const QString folder = L("KinloomPicsDir");
    Utils::displayMsgWithTitle(L("helpForCopyPictureTitle"),
        QStringLiteral("%1 %2/%3 %4 %5/%6 %7 %8/%9 %10")
            .arg(L("helpForCopyPictureInfo1"), data, folder, L("helpForCopyPictureInfo2"), data, folder,
                L("helpForCopyPictureInfo3"), data, folder, L("helpForCopyPictureInfo4")));
}

void PictureController::helpForOtherReferences()
{
    Utils::displayMsgWithTitle(L("helpForOtherReferencesTitle"),
        QStringLiteral("%1 Ctrl-%2\n\n").arg(L("helpForOtherReferencesInfo1"), L("helpForOtherReferencesInfo2")));
}

// ---- Closing -----------------------------------------------------------------------------------------------------

void PictureController::closeEditor()
{
    // The metadata window goes first; the editor stays.
    if (m_metadata && m_metadata->isVisible()) {
        m_metadata->close();
        return;
    }
    s_contentRect = rect();
    endEditing();
    const std::optional<int> code = m_editing->closeCode();
    if (!code)
        return;
    done(*code);
}

void PictureController::reject()
{
    closeEditor();
}
