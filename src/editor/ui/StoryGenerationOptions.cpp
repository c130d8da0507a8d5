#include "editor/ui/StoryGenerationOptions.h"

#include "editor/StoryOptions.h"
#include "editor/ui/InfoArea_Story.h"

#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"
#include "shell/ui/ThemeIcon.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/UserDefaults.h"
#include "platform/Workspace.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

UserDefaults& defaults()
{
    return UserDefaults::standard();
}

// The label of each relatives flag.
const char* flagLabel(const QString& flag)
{
    static const QHash<QString, const char*> labels = {
        {QStringLiteral("bParents"), "Parents"},
        {QStringLiteral("bChildren"), "Children"},
        {QStringLiteral("bSiblings"), "Siblings"},
        {QStringLiteral("bGrandparents"), "Grandparents"},
        {QStringLiteral("bGrandchildren"), "Grandchildren"},
        {QStringLiteral("bGreatGrandchildren"), "GGrandchildren"},
        {QStringLiteral("bParentsInLaw"), "ParentsInLaw"},
        {QStringLiteral("bAuntsAndUncles"), "AuntsAndUncles"},
        {QStringLiteral("bCousins"), "Cousins"},
        {QStringLiteral("bSiblingsInLaw"), "SiblingsInLaw"},
        {QStringLiteral("bNephewsAndNieces"), "NephewsAndNieces"},
        {QStringLiteral("bStepRels"), "StoryStepRelatives"},
        {QStringLiteral("bAdoptedRels"), "StoryAdoptedRelatives"},
    };
    return labels.value(flag, "");
}

// The label of each of the story's switches.
const char* optionLabel(const QString& key)
{
    static const QHash<QString, const char*> labels = {
        {QStringLiteral("soDefaultPicture"), "StoryOpt_soDefaultPicture"},
        {QStringLiteral("soDefaultPicturesOfChildren"), "StoryOpt_soDefaultPicturesOfChildren"},
        {QStringLiteral("soExcludeGoogleMaps"), "StoryOpt_soExcludeGoogleMaps"},
        {QStringLiteral("soCropTo4x3"), "StoryOpt_soCropTo4x3"},
        {QStringLiteral("soIncludeBirthsOfLiving"), "StoryOpt_soIncludeBirthsOfLiving"},
        {QStringLiteral("soTitleOrOccupation"), "StoryOpt_soTitleOrOccupation"},
        {QStringLiteral("soCauseOfDeath"), "StoryOpt_soCauseOfDeath"},
        {QStringLiteral("soIncludeSources"), "StoryOpt_soIncludeSources"},
        {QStringLiteral("soIncludeNotes"), "StoryOpt_soIncludeNotes"},
        {QStringLiteral("soIncludeComments"), "StoryOpt_soIncludeComments"},
        {QStringLiteral("soIncludeEvents"), "StoryOpt_soIncludeEvents"},
        {QStringLiteral("soIncludeOthersEvents"), "StoryOpt_soIncludeOthersEvents"},
        {QStringLiteral("soIncludeStepRels"), "StoryOpt_soIncludeStepRels"},
    };
    return labels.value(key, "");
}

// A choice that only matters while another is on: shown under it, and off-limits while it is off.
const QHash<QString, QString>& dependsOn()
{
    static const QHash<QString, QString> keys = {
        {QStringLiteral("soDefaultPicturesOfChildren"), QStringLiteral("soDefaultPicture")},
        {QStringLiteral("soExcludeGoogleMaps"), QStringLiteral("soDefaultPicture")},
        {QStringLiteral("soCropTo4x3"), QStringLiteral("soDefaultPicture")},
        {QStringLiteral("soIncludeOthersEvents"), QStringLiteral("soIncludeEvents")},
        {QStringLiteral("soIncludeStepRels"), QStringLiteral("soIncludeOthersEvents")},
    };
    return keys;
}

QIcon swatch(const QColor& colour)
{
    QPixmap pixmap(28, 14);
    pixmap.fill(colour);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0, 0, 0, 90));
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}
}

StoryGenerationOptions::StoryGenerationOptions(InfoArea_Story* page, QWidget* parent)
    : QDialog(parent)
    , m_page(page)
{
    setObjectName(QStringLiteral("GenerateStory"));
    setWindowTitle(L("StoryOptionsTitle"));
    setWindowModality(Qt::WindowModal);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setAutoFillBackground(true);

    auto* columns = new QHBoxLayout;
    columns->addWidget(buildContents(), 1);
    columns->addWidget(buildRelatives(), 1);

    auto* factory = new QPushButton(themeIcon(QStringLiteral("edit-undo")), L("StoryFactorySettings"));
    factory->setObjectName(QStringLiteral("setDefaults"));
    factory->setAutoDefault(false);
    connect(factory, &QPushButton::clicked, this, &StoryGenerationOptions::setDefaults);
    auto* generate = new QPushButton(themeIcon(QStringLiteral("document-new")), L("Generate"));
    generate->setObjectName(QStringLiteral("generate"));
    generate->setDefault(true);
    connect(generate, &QPushButton::clicked, this, &StoryGenerationOptions::generate);
    auto* close = new QPushButton(L("Close"));
    close->setObjectName(QStringLiteral("close"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(factory);
    buttons->addStretch();
    buttons->addWidget(close);
    buttons->addWidget(generate);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buildOutput());
    layout->addLayout(buttons);
    readDefaults();
}

StoryGenerationOptions::~StoryGenerationOptions()
{
    FTLog(QStringLiteral("dealloc StoryGenerationOptions"));
}

QWidget* StoryGenerationOptions::buildContents()
{
    auto* box = new QGroupBox(L("StoryContents"));
    auto* layout = new QVBoxLayout(box);
    for (const QString& key : StoryOptions::booleanKeys()) {
        auto* check = new QCheckBox(L(optionLabel(key)));
        check->setObjectName(key);
        m_checks.insert(key, check);
        if (dependsOn().contains(key)) {
            auto* row = new QHBoxLayout;
            row->addSpacing(20 * (key == QLatin1String("soIncludeStepRels") ? 2 : 1));
            row->addWidget(check);
            layout->addLayout(row);
        } else {
            layout->addWidget(check);
        }
        connect(check, &QCheckBox::toggled, this, [this, key](bool on) {
            defaults().setBool(key, on);
            readDefaults();
        });
    }
    layout->addStretch();
    return box;
}

QWidget* StoryGenerationOptions::buildRelatives()
{
    auto* box = new QGroupBox(L("StoryRelatives"));
    auto* layout = new QVBoxLayout(box);
    for (const StoryOptions::ScopeFlag& f : StoryOptions::scopeFlags()) {
        const QString name = QString::fromLatin1(f.name);
        auto* check = new QCheckBox(L(flagLabel(name)));
        check->setObjectName(name);
        m_flags.insert(name, check);
        layout->addWidget(check);
        connect(check, &QCheckBox::clicked, this, &StoryGenerationOptions::changeScope);
    }
    layout->addStretch();
    return box;
}

QWidget* StoryGenerationOptions::buildOutput()
{
    auto* box = new QGroupBox(L("StoryOutput"));
    auto* form = new QFormLayout(box);

    auto* modes = new QHBoxLayout;
    auto* group = new QButtonGroup(box);
    for (int mode : {StoryOptions::Prepend, StoryOptions::Append, StoryOptions::Replace}) {
        const QString name = StoryOptions::modeName(mode);
        auto* radio = new QRadioButton(LocalizedString(name));
        radio->setObjectName(QStringLiteral("mode") + name);
        group->addButton(radio, mode);
        modes->addWidget(radio);
        m_modes << radio;
    }
    modes->addStretch();
    connect(group, &QButtonGroup::idClicked, this, [this](int mode) {
        defaults().setInteger(QStringLiteral("soPrependAppendReplace"), mode);
        changeMode();
    });
    form->addRow(L("StoryModeChoice"), modes);

    auto* colours = new QHBoxLayout;
    const char* colourLabels[] = {"Notes", "Comments", "Sources", "StoryEvents"};
    for (qsizetype i = 0; i < StoryOptions::colourKeys().size(); ++i) {
        const QString key = StoryOptions::colourKeys()[i];
        auto* button = new QPushButton(L(colourLabels[i]));
        button->setObjectName(key);
        button->setAutoDefault(false);
        button->setIconSize(QSize(28, 14));
        connect(button, &QPushButton::clicked, this, [this, key] { chooseColour(key); });
        m_colours.insert(key, button);
        colours->addWidget(button);
    }
    colours->addStretch();
    form->addRow(L("StoryColours"), colours);

    m_rtfApplication = new QComboBox;
    m_rtfApplication->setObjectName(QStringLiteral("soRtfApplication"));
    m_rtfApplication->addItem(L("StoryDefaultRtfApplication"), QString());
    for (const QString& id : Utils::rtfApplications()) {
        const auto app = Workspace::shared().application(id);
        m_rtfApplication->addItem(app && !app->name.isEmpty() ? app->name : id, id);
    }
    const QString chosen = defaults().stringForKey(QStringLiteral("soRtfApplication"));
    if (m_rtfApplication->findData(chosen) < 0)
        m_rtfApplication->addItem(chosen, chosen);
    m_rtfApplication->setCurrentIndex(m_rtfApplication->findData(chosen));
    connect(m_rtfApplication, &QComboBox::activated, this, [this](int index) {
        defaults().setString(QStringLiteral("soRtfApplication"), m_rtfApplication->itemData(index).toString());
    });
    form->addRow(L("StoryWordProcessor"), m_rtfApplication);
    return box;
}

void StoryGenerationOptions::readDefaults()
{
    for (auto it = m_checks.cbegin(); it != m_checks.cend(); ++it) {
        const QSignalBlocker block(it.value());
        it.value()->setChecked(defaults().boolForKey(it.key()));
    }
    for (auto it = dependsOn().cbegin(); it != dependsOn().cend(); ++it) {
        QCheckBox* check = m_checks.value(it.key());
        QCheckBox* parent = m_checks.value(it.value());
        check->setEnabled(parent->isChecked() && parent->isEnabled());
    }
    setScopeOptions();
    const qlonglong mode = defaults().integerForKey(QStringLiteral("soPrependAppendReplace"));
    for (qsizetype i = 0; i < m_modes.size(); ++i) {
        const QSignalBlocker block(m_modes[i]);
        m_modes[i]->setChecked(i == mode);
    }
    for (auto it = m_colours.cbegin(); it != m_colours.cend(); ++it)
        it.value()->setIcon(swatch(defaults().colorForKey(it.key())));
}

void StoryGenerationOptions::setScopeOptions()
{
    const qlonglong scope = defaults().integerForKey(QStringLiteral("storyScopeOptions"));
    for (const StoryOptions::ScopeFlag& f : StoryOptions::scopeFlags())
        m_flags.value(QString::fromLatin1(f.name))->setChecked(scope & f.bit);
}

void StoryGenerationOptions::changeScope()
{
    qlonglong chosen = 0;
    for (const StoryOptions::ScopeFlag& f : StoryOptions::scopeFlags())
        if (m_flags.value(QString::fromLatin1(f.name))->isChecked())
            chosen |= f.bit;
    const QString key = QStringLiteral("storyScopeOptions");
    defaults().setInteger(key, StoryOptions::scopeWithGroups(defaults().integerForKey(key), chosen));
}

void StoryGenerationOptions::changeMode()
{
    if (m_page)
        m_page->displayCurrentMode();
}

void StoryGenerationOptions::setDefaults()
{
    StoryOptions::restoreFactoryValues();
    readDefaults();
    changeMode();
}

void StoryGenerationOptions::generate()
{
    if (m_page)
        m_page->generateStory();
}

bool StoryGenerationOptions::flag(const QString& name) const
{
    const QCheckBox* check = m_flags.value(name);
    return check && check->isChecked();
}

void StoryGenerationOptions::setFlag(const QString& name, bool on)
{
    if (QCheckBox* check = m_flags.value(name))
        check->setChecked(on);
}

QWidget* StoryGenerationOptions::control(const QString& name) const
{
    return findChild<QWidget*>(name);
}

void StoryGenerationOptions::chooseColour(const QString& key)
{
    const QColor colour = QColorDialog::getColor(defaults().colorForKey(key), this, L("StoryColours"));
    if (!colour.isValid())
        return;
    defaults().setColor(key, colour);
    readDefaults();
}
