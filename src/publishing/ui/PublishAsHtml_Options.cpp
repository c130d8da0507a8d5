#include "publishing/ui/PublishAsHtml_Options.h"

#include "publishing/HtmlOptions.h"
#include "publishing/ui/PublishAsHtmlSheet.h"

#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"
#include "shell/ui/ThemeIcon.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

struct Switch {
    const char* key;
    const char* text;
    bool HtmlOptions::*member;
};

struct Number {
    const char* key;
    const char* text;
    int HtmlOptions::*member;
    int minimum;
    int maximum;
    int step;
};

QIcon swatch(const QColor& colour)
{
    QPixmap pixmap(28, 14);
    pixmap.fill(colour);
    QPainter painter(&pixmap);
    painter.setPen(QColor(120, 120, 120));
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

QToolButton* helpButton(const char* name)
{
    auto* help = new QToolButton;
    help->setObjectName(QString::fromLatin1(name));
    help->setIcon(themeIcon(QStringLiteral("help-browser")));
    help->setAutoRaise(true);
    return help;
}
} // namespace

PublishAsHtml_Options::PublishAsHtml_Options(FTMoc* moc, PublishAsHtmlSheet* parentController)
    : QDialog(parentController, Qt::Tool)
    , m_moc(moc)
    , m_parent(parentController)
    , m_availableFontFaces(QFontDatabase::families())
{
    setObjectName(QStringLiteral("PublishAsHtml_Options"));
    setWindowTitle(L("WebOptionsTitle"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setAutoFillBackground(true);

    UserDefaults& defaults = UserDefaults::standard();

    // A check box bound to its user default.
    const auto check = [this, &defaults](QLayout* layout, const Switch& s) {
        const QString key = QString::fromLatin1(s.key);
        auto* box = new QCheckBox(L(s.text));
        box->setObjectName(key);
        layout->addWidget(box);
        const auto member = s.member;
        m_refreshers.push_back([box, member] { box->setChecked(HtmlOptions::fromUserDefaults().*member); });
        connect(box, &QCheckBox::clicked, this, [this, key, &defaults](bool on) {
            defaults.setBool(key, on);
            generate();
        });
        return box;
    };
    // A number field bound to its user default; stored when the field is left or Return pressed.
    const auto number = [this, &defaults](QFormLayout* form, const Number& n, QWidget* beside = nullptr) {
        const QString key = QString::fromLatin1(n.key);
        auto* field = new QSpinBox;
        field->setObjectName(key);
        field->setRange(n.minimum, n.maximum);
        field->setSingleStep(n.step);
        field->setKeyboardTracking(false);
        const auto member = n.member;
        m_refreshers.push_back([field, member] {
            const QSignalBlocker quiet(field);
            field->setValue(HtmlOptions::fromUserDefaults().*member);
        });
        connect(field, &QSpinBox::valueChanged, this, [this, key, &defaults](int value) {
            if (defaults.integerForKey(key) == value && defaults.contains(key))
                return;
            defaults.setInteger(key, value);
            if (key == QLatin1String("htmlKinship"))
                m_parent->kinshipChanged();
            else
                generate();
        });
        if (beside) {
            auto* row = new QHBoxLayout;
            row->addWidget(field);
            row->addWidget(beside);
            row->addStretch(1);
            form->addRow(L(n.text), row);
        } else {
            form->addRow(L(n.text), field);
        }
        return field;
    };
    const auto colourButton = [this, &defaults](QFormLayout* form, const char* keyName, const char* text) {
        const QString key = QString::fromLatin1(keyName);
        auto* button = new QPushButton;
        button->setObjectName(key);
        button->setAutoDefault(false);
        m_refreshers.push_back([button] { button->setIcon(swatch(HtmlOptions::fromUserDefaults().bgColour)); });
        connect(button, &QPushButton::clicked, this, [this, key, text, &defaults] {
            const QColor chosen = QColorDialog::getColor(HtmlOptions::fromUserDefaults().bgColour, this, L(text));
            if (!chosen.isValid())
                return;
            defaults.setColor(key, chosen);
            refresh();
            generate();
        });
        form->addRow(L(text), button);
    };

    // ---- Who is published ----
    auto* people = new QGroupBox(L("WebOptPeople"));
    auto* peopleForm = new QFormLayout;
    auto* kinshipHelp = helpButton("helpForKinship");
    connect(kinshipHelp, &QToolButton::clicked, this, [this] { m_parent->helpForKinship(); });
    number(peopleForm, {"htmlKinship", "WebOptKinship", &HtmlOptions::kinship, 0, 99, 1}, kinshipHelp);
    auto* peopleBox = new QVBoxLayout(people);
    peopleBox->addLayout(peopleForm);
    for (const Switch& s : {Switch {"htmlExcludeLivingPeople", "ExcludeLiving", &HtmlOptions::excludeLivingPeople},
                            Switch {"htmlExcludeRecentlyDeadPeople", "ExcludeRecentlyDeceased",
                                    &HtmlOptions::excludeRecentlyDeadPeople},
                            Switch {"htmlDepersonalizeLivingPeople", "WebOptDepersonalize",
                                    &HtmlOptions::depersonalizeLivingPeople}})
        check(peopleBox, s);
    auto* yearsForm = new QFormLayout;
    number(yearsForm, {"htmlYearsSinceDeath", "WebOptYearsSinceDeath", &HtmlOptions::yearsSinceDeath, 0, 200, 5});
    peopleBox->addLayout(yearsForm);

    // ---- Context diagram ----
    auto* diagram = new QGroupBox(L("WebOptContextDiagram"));
    auto* diagramBox = new QVBoxLayout(diagram);
    for (const Switch& s :
         {Switch {"htmlIncludeContextDiagram", "WebOptIncludeContextDiagram", &HtmlOptions::includeContextDiagram},
          Switch {"htmlTabularContextDiagram", "WebOptTabular", &HtmlOptions::tabularContextDiagram},
          Switch {"htmlCdBorder", "WebOptCdBorder", &HtmlOptions::cdBorder},
          Switch {"htmlAncestorsTables", "WebOptAncestorsTables", &HtmlOptions::ancestorsTables}})
        check(diagramBox, s);
    auto* diagramForm = new QFormLayout;
    number(diagramForm, {"htmlCdDiagramWidth", "WebOptDiagramWidth", &HtmlOptions::cdDiagramWidth, 320, 2000, 20});
    number(diagramForm,
           {"htmlCdDiagramGenerations", "WebOptGenerations", &HtmlOptions::cdDiagramGenerations, 1, 6, 1});
    {
        const QString key = QStringLiteral("htmlColourGradient");
        auto* gradient = new QDoubleSpinBox;
        gradient->setObjectName(key);
        gradient->setRange(0, 1);
        gradient->setSingleStep(0.1);
        gradient->setDecimals(1);
        gradient->setKeyboardTracking(false);
        m_refreshers.push_back([gradient] {
            const QSignalBlocker quiet(gradient);
            gradient->setValue(HtmlOptions::fromUserDefaults().colourGradient);
        });
        connect(gradient, &QDoubleSpinBox::valueChanged, this, [this, key, &defaults](double value) {
            defaults.setDouble(key, value);
            generate();
        });
        diagramForm->addRow(L("WebOptGradient"), gradient);
    }
    diagramBox->addLayout(diagramForm);

    // ---- Pictures ----
    auto* pictures = new QGroupBox(L("WebOptPictures"));
    auto* picturesBox = new QVBoxLayout(pictures);
    for (const Switch& s :
         {Switch {"htmlDefaultPictureOfPerson", "WebOptDefaultPicture", &HtmlOptions::defaultPictureOfPerson},
          Switch {"htmlPicturesOfSpouses", "WebOptSpousesPictures", &HtmlOptions::picturesOfSpouses},
          Switch {"htmlPicturesOfChildren", "WebOptChildrensPictures", &HtmlOptions::picturesOfChildren},
          Switch {"htmlAllPicturesOfPerson", "WebOptAllPictures", &HtmlOptions::allPicturesOfPerson},
          Switch {"htmlIncludeNotesForPictures", "WebOptPictureNotes", &HtmlOptions::includeNotesForPictures},
          Switch {"htmlCopyMediaFiles", "WebOptCopyMedia", &HtmlOptions::copyMediaFiles}})
        check(picturesBox, s);
    auto* compressRow = new QHBoxLayout;
    check(compressRow, {"htmlCompressMediaFiles", "WebOptCompressMedia", &HtmlOptions::compressMediaFiles});
    auto* compressHelp = helpButton("helpForCompressedOriginals");
    connect(compressHelp, &QToolButton::clicked, this, [this] { helpForCompressedOriginals(); });
    compressRow->addWidget(compressHelp);
    compressRow->addStretch(1);
    picturesBox->addLayout(compressRow);

    // ---- What a page tells ----
    auto* contents = new QGroupBox(L("WebOptContents"));
    auto* contentsGrid = new QGridLayout(contents);
    {
        const std::vector<Switch> switches = {
            {"htmlIncludeBDMInfo", "WebOptBDMInfo", &HtmlOptions::includeBDMInfo},
            {"htmlTitleOrOccupation", "WebOptTitleOrOccupation", &HtmlOptions::titleOrOccupation},
            {"htmlCauseOfDeath", "WebOptCauseOfDeath", &HtmlOptions::causeOfDeath},
            {"htmlIncludePersonalEvents", "WebOptPersonalEvents", &HtmlOptions::includePersonalEvents},
            {"htmlIncludeEventNotes", "WebOptEventNotes", &HtmlOptions::includeEventNotes},
            {"htmlIncludeBirthNotes", "WebOptBirthNotes", &HtmlOptions::includeBirthNotes},
            {"htmlIncludeDeathNotes", "WebOptDeathNotes", &HtmlOptions::includeDeathNotes},
            {"htmlIncludeNotes", "WebOptNotes", &HtmlOptions::includeNotes},
            {"htmlIncludeComments", "WebOptComments", &HtmlOptions::includeComments},
            {"htmlIncludeSources", "WebOptSources", &HtmlOptions::includeSources},
            {"htmlIncludeParents", "WebOptParents", &HtmlOptions::includeParents},
            {"htmlIncludeChildren", "WebOptChildren", &HtmlOptions::includeChildren},
            {"htmlIncludeSiblings", "WebOptSiblings", &HtmlOptions::includeSiblings},
            {"htmlIncludeGrandchildren", "WebOptGrandchildren", &HtmlOptions::includeGrandchildren},
            {"htmlIncludeNearRelatives", "WebOptNearRelatives", &HtmlOptions::includeNearRelatives},
            {"htmlIncludeStepRels", "WebOptStepRels", &HtmlOptions::includeStepRels},
            {"htmlIncludeAdoptedRels", "WebOptAdoptedRels", &HtmlOptions::includeAdoptedRels},
            {"htmlIncludeKinloomFooter", "WebOptFooter", &HtmlOptions::includeKinloomFooter},
        };
        const int rows = int(switches.size() + 1) / 2;
        for (int i = 0; i < int(switches.size()); ++i) {
            auto* cell = new QVBoxLayout;
            cell->setContentsMargins(0, 0, 0, 0);
            check(cell, switches[std::size_t(i)]);
            contentsGrid->addLayout(cell, i % rows, i / rows);
        }
    }

    // ---- Looks and the index ----
    auto* looks = new QGroupBox(L("WebOptLooks"));
    auto* looksBox = new QVBoxLayout(looks);
    for (const Switch& s : {Switch {"htmlCenteredOnPage", "WebOptCentered", &HtmlOptions::centeredOnPage},
                            Switch {"htmlEventsBorder", "WebOptEventsBorder", &HtmlOptions::eventsBorder},
                            Switch {"htmlRandomColours", "WebOptRandomColours", &HtmlOptions::randomColours}})
        check(looksBox, s);
    auto* looksForm = new QFormLayout;
    {
        const QString key = QStringLiteral("htmlDefaultFontFace");
        auto* fonts = new QComboBox;
        fonts->setObjectName(key);
        fonts->addItems(m_availableFontFaces);
        fonts->setMaxVisibleItems(20);
        m_refreshers.push_back([fonts] {
            const QSignalBlocker quiet(fonts);
            const QString face = HtmlOptions::fromUserDefaults().defaultFontFace;
            // A face not installed here (the pages name it; the reader's browser may have it) is still shown.
            if (fonts->findText(face) < 0)
                fonts->insertItem(0, face);
            fonts->setCurrentText(face);
        });
        connect(fonts, &QComboBox::activated, this, [this, fonts, key, &defaults] {
            defaults.setString(key, fonts->currentText());
            generate();
        });
        looksForm->addRow(L("WebOptFontFace"), fonts);
    }
    number(looksForm, {"htmlDefaultFontSize", "WebOptFontSize", &HtmlOptions::defaultFontSize, 6, 36, 1});
    colourButton(looksForm, "htmlBgColour", "WebOptBackground");
    looksBox->addLayout(looksForm);
    for (const Switch& s :
         {Switch {"htmlIncludeConsanguinityInIndex", "WebOptIndexConsanguinity",
                  &HtmlOptions::includeConsanguinityInIndex},
          Switch {"htmlIncludeTitleInIndex", "WebOptIndexTitle", &HtmlOptions::includeTitleInIndex},
          Switch {"htmlOneColumnIndexForiPhone", "WebOptOneColumnIndex", &HtmlOptions::oneColumnIndexForiPhone}})
        check(looksBox, s);
    looksBox->addStretch(1);

    // ---- Buttons ----
    auto* autoRegenerate = new QCheckBox(L("WebOptAutoRegenerate"));
    {
        const QString key = QStringLiteral("htmlAutoRegenerate");
        autoRegenerate->setObjectName(key);
        m_refreshers.push_back([autoRegenerate, key, &defaults] {
            autoRegenerate->setChecked(!defaults.contains(key) || defaults.boolForKey(key));
        });
        connect(autoRegenerate, &QCheckBox::clicked, this, [key, &defaults](bool on) { defaults.setBool(key, on); });
    }
    m_standardButton = new QPushButton(L("WebOptStandard"));
    m_standardButton->setObjectName(QStringLiteral("setDefaults"));
    m_standardButton->setAutoDefault(false);
    connect(m_standardButton, &QPushButton::clicked, this, [this] { setDefaults(); });
    m_smallScreenButton = new QPushButton(themeIcon(QStringLiteral("phone")), L("WebOptSmallScreen"));
    m_smallScreenButton->setObjectName(QStringLiteral("setiPhoneDefaults"));
    m_smallScreenButton->setAutoDefault(false);
    connect(m_smallScreenButton, &QPushButton::clicked, this, [this] { setiPhoneDefaults(); });
    m_previewButton = new QPushButton(L("Preview"));
    m_previewButton->setObjectName(QStringLiteral("previewButton"));
    m_previewButton->setAutoDefault(false);
    connect(m_previewButton, &QPushButton::clicked, this, [this] { generate(true); });
    auto* close = new QPushButton(L("Close"));
    close->setObjectName(QStringLiteral("closeButton"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(autoRegenerate);
    buttons->addStretch(1);
    buttons->addWidget(m_standardButton);
    buttons->addWidget(m_smallScreenButton);
    buttons->addSpacing(12);
    buttons->addWidget(m_previewButton);
    buttons->addWidget(close);

    auto* left = new QVBoxLayout;
    left->addWidget(people);
    left->addWidget(diagram);
    left->addStretch(1);
    auto* middle = new QVBoxLayout;
    middle->addWidget(contents);
    middle->addWidget(pictures);
    middle->addStretch(1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(middle);
    columns->addWidget(looks);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);

    refresh();
    // Beside the generator's window, not over its preview.
    if (parentController) {
        adjustSize();
        const QRect frame = parentController->frameGeometry();
        move(frame.right() - width() / 3, frame.top() + 40);
    }
}

void PublishAsHtml_Options::refresh()
{
    for (const auto& refresher : m_refreshers)
        refresher();
}

QWidget* PublishAsHtml_Options::controlFor(const QString& key) const
{
    return findChild<QWidget*>(key);
}

void PublishAsHtml_Options::generate(bool preview)
{
    const UserDefaults& defaults = UserDefaults::standard();
    const QString key = QStringLiteral("htmlAutoRegenerate");
    if (preview || !defaults.contains(key) || defaults.boolForKey(key))
        m_parent->generatePreview();
}

void PublishAsHtml_Options::setDefaults()
{
    HtmlOptions::setDefaults();
    refresh();
    m_parent->kinshipChanged();
    m_parent->generatePreview();
}

void PublishAsHtml_Options::setiPhoneDefaults()
{
    HtmlOptions::setiPhoneDefaults();
    refresh();
    m_parent->kinshipChanged();
    m_parent->generatePreview();
}

void PublishAsHtml_Options::helpForCompressedOriginals()
{
    Utils::displayMsgWithTitle(L("CompressTitle750px"), L("CompressAdvice"));
}

void PublishAsHtml_Options::closeEvent(QCloseEvent* event)
{
    // A number being typed is stored before the panel goes.
    if (QWidget* focus = focusWidget())
        focus->clearFocus();
    QDialog::closeEvent(event);
}
