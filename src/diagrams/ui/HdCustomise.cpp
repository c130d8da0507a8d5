#include "diagrams/ui/HdCustomise.h"

#include "diagrams/HdOptions.h"
#include "diagrams/ui/AuthorsByline.h"
#include "diagrams/ui/HdView.h"
#include "diagrams/ui/HdWindowParts.h"
#include "diagrams/ui/HierarchyDiagram.h"

#include "shell/ui/ColourButtons.h"
#include "shell/ui/ThemeIcon.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
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

const QString kByline = QStringLiteral("hdIncludeAuthorsByline");
const QString kGrandchildren = QStringLiteral("hdIncludeAllSiblingsGrandchildren");

// Moves a control of the group to the right, under the one it depends on.
void indent(QWidget* group, QWidget* control, int by = 20)
{
    auto* layout = static_cast<QVBoxLayout*>(group->layout());
    const int index = layout->indexOf(control);
    layout->removeWidget(control);
    auto* row = new QHBoxLayout;
    row->addSpacing(by);
    row->addWidget(control, 1);
    layout->insertLayout(index, row);
}

QGroupBox* group(const char* title)
{
    auto* box = new QGroupBox(L(title));
    auto* layout = new QVBoxLayout(box);
    layout->setSpacing(3);
    layout->setContentsMargins(10, 6, 10, 8);
    return box;
}
}

HdCustomise::HdCustomise(HdView* view, HierarchyDiagram* hierarchyWindow)
    : QWidget(hierarchyWindow, Qt::Tool)
    , m_view(view)
    , m_hierarchyWindow(hierarchyWindow)
{
    setObjectName(QStringLiteral("HdCustomise"));
    setWindowTitle(L("HdCustomiseTitle"));
    HdWindowParts::applyPanelColour(this);

    QWidget* contents = makeSwitches("HdBoxContents",
        { { "hdFullName", "HdFullName" }, { "hdTitle", "HdTitles" }, { "hdIdNo", "HdIdNo" },
            { "hdBirthInfo", "HdBirthInfo" }, { "hdDeathInfo", "HdDeathInfo" }, { "hdSpouses", "HdSpouses" },
            { "hdNotes", "HdNotes" }, { "hdTruncateNotes", "HdTruncateNotes" }, { "hdNameOnly", "HdNameOnly" },
            { "hdShowGender", "HdShowGender" }, { "hdNameBold", "HdNameBold" },
            { "hdExcludeBirthDatesOfLiving", "HdExcludeBirthDatesOfLiving" },
            { "hdShowConsanguinity", "HdShowConsanguinity" } });
    // The blood relationship's switch comes with its help.
    auto* consanguinityHelp = new QToolButton;
    consanguinityHelp->setObjectName(QStringLiteral("consanguinityHelp"));
    consanguinityHelp->setIcon(themeIcon(QStringLiteral("help-browser")));
    consanguinityHelp->setAutoRaise(true);
    consanguinityHelp->setToolTip(LocalizedHelpString(QStringLiteral("ConsanguinityHelpTitle")));
    connect(consanguinityHelp, &QToolButton::clicked, this, [this] { helpForConsanguinity(); });
    {
        auto* layout = static_cast<QVBoxLayout*>(contents->layout());
        QCheckBox* consanguinity = switchFor(QStringLiteral("hdShowConsanguinity"));
        auto* row = new QHBoxLayout;
        layout->removeWidget(consanguinity);
        row->addWidget(consanguinity);
        row->addWidget(consanguinityHelp);
        row->addStretch(1);
        layout->addLayout(row);
    }
    QWidget* pictures = makeSwitches("HdPicturesGroup",
        { { "hdPictures", "HdPictures" }, { "hdExcludeMaps", "HdExcludeMaps" },
            { "hdSpousePictures", "HdSpousePictures" } });
    QWidget* relatives = makeSwitches("HdRelativesGroup",
        { { "hdRootsSiblings", "HdRootsSiblings" }, { "hdIncludeAllSiblings", "HdIncludeAllSiblings" },
            { "hdIncludeAllSiblingsChildren", "HdIncludeAllSiblingsChildren" },
            { "hdIncludeAllSiblingsGrandchildren", "HdIncludeAllSiblingsGrandchildren" },
            { "hdIncludeAdoptedChildren", "HdIncludeAdoptedChildren" },
            { "hdIncludeStepChildren", "HdIncludeStepChildren" },
            { "hdIncludeSpousesAncestors", "HdIncludeSpousesAncestors" } });
    {
        // How many generations of the siblings' descendants, once their grandchildren are listed.
        m_maxSiblingsDescendants = new QSpinBox;
        m_maxSiblingsDescendants->setObjectName(QStringLiteral("hdMaxSiblingsDescendants"));
        m_maxSiblingsDescendants->setRange(2, 20);
        m_maxSiblingsDescendants->setKeyboardTracking(false);
        auto* label = new QLabel(L("HdMaxSiblingsDescendants"));
        label->setBuddy(m_maxSiblingsDescendants);
        auto* row = new QHBoxLayout;
        row->setContentsMargins(40, 0, 0, 0);
        row->addWidget(label);
        row->addWidget(m_maxSiblingsDescendants);
        row->addStretch(1);
        auto* layout = static_cast<QVBoxLayout*>(relatives->layout());
        layout->insertLayout(layout->indexOf(switchFor(kGrandchildren)) + 1, row);
        // Children and grandchildren are of the ancestors' brothers and sisters.
        indent(relatives, switchFor(QStringLiteral("hdIncludeAllSiblingsChildren")));
        indent(relatives, switchFor(kGrandchildren));
        connect(m_maxSiblingsDescendants, &QSpinBox::valueChanged, this, [this](int value) {
            if (m_syncing)
                return;
            defaults().setInteger(QStringLiteral("hdMaxSiblingsDescendants"), value);
            refreshArray();
        });
    }
    QWidget* layoutGroup = makeSwitches("HdLayoutGroup",
        { { "hdScrunched", "HdScrunched" }, { "hdCascaded", "HdCascaded" }, { "hdSizeToWidth", "HdSizeToWidth" },
            { "hdShowRootPath", "HdShowRootPath" }, { "hdShowContinuationLines", "HdShowContinuationLines" },
            { "hdDisplayTimeline", "HdDisplayTimeline" }, { "hdBlackAndWhite", "HdBlackAndWhite" } });
    {
        // The strength of the shading behind the selected box, 0 to 1 in tenths.
        m_colourGradient = new QSlider(Qt::Horizontal);
        m_colourGradient->setObjectName(QStringLiteral("hdColourGradient"));
        m_colourGradient->setRange(0, 10);
        m_colourGradient->setPageStep(1);
        m_colourGradient->setTickPosition(QSlider::TicksBelow);
        auto* label = new QLabel(L("HdColourGradient"));
        label->setBuddy(m_colourGradient);
        auto* row = new QHBoxLayout;
        row->addWidget(label);
        row->addWidget(m_colourGradient, 1);
        static_cast<QVBoxLayout*>(layoutGroup->layout())->addLayout(row);
        connect(m_colourGradient, &QSlider::valueChanged, this, [this](int value) {
            if (m_syncing)
                return;
            defaults().setDouble(QStringLiteral("hdColourGradient"), value / 10.0);
            refreshArray();
        });
    }
    QWidget* title = makeSwitches("HdTitleGroup",
        { { "hdIncludeAuthorsByline", "HdIncludeAuthorsByline" },
            { "hdIncludeKinloomFooter", "HdIncludeKinloomFooter" } });
    QWidget* colours = makeColours();
    // Each group's controls stay together at its top.
    for (QWidget* g : { contents, pictures, relatives, layoutGroup, title })
        static_cast<QVBoxLayout*>(g->layout())->addStretch(1);

    auto* columns = new QGridLayout;
    columns->setHorizontalSpacing(10);
    columns->setVerticalSpacing(8);
    columns->addWidget(contents, 0, 0);
    columns->addWidget(pictures, 1, 0);
    columns->addWidget(relatives, 0, 1);
    columns->addWidget(title, 1, 1);
    columns->addWidget(layoutGroup, 0, 2);
    columns->addWidget(colours, 1, 2, 2, 1);
    columns->setRowStretch(2, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(HdWindowParts::makeButton(
        "HdHelpButton", [this] { displayHelp(); }, QStringLiteral("help-browser")));
    buttons->addStretch(1);
    buttons->addWidget(HdWindowParts::makeButton("HdFactoryDefaults", [this] { setFactoryDefaults(); }));
    buttons->addWidget(HdWindowParts::makeButton("HdRestoreMyDefaults", [this] { restoreUserDefaults(); }));
    buttons->addWidget(HdWindowParts::makeButton("HdSetAsMyDefaults", [this] { setAsDefaults(); }));
    buttons->addSpacing(12);
    buttons->addWidget(HdWindowParts::makeButton("Close", [this] { close(); }));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->setSpacing(10);
    layout->addLayout(columns);
    layout->addLayout(buttons);
    syncControls();
}

QWidget* HdCustomise::makeSwitches(
    const char* title, std::initializer_list<std::pair<const char*, const char*>> switches)
{
    QGroupBox* box = group(title);
    for (const auto& [key, label] : switches) {
        auto* check = new QCheckBox(L(label));
        const QString k = QString::fromLatin1(key);
        check->setObjectName(k);
        box->layout()->addWidget(check);
        m_switches.insert(k, check);
        connect(check, &QCheckBox::toggled, this, [this, k, check](bool on) {
            if (m_syncing)
                return;
            defaults().setBool(k, on);
            if (k == kGrandchildren)
                m_maxSiblingsDescendants->setEnabled(on);
            refreshDisplay(check);
        });
    }
    return box;
}

QWidget* HdCustomise::makeColours()
{
    static const std::pair<const char*, const char*> wells[] = {
        { "hdBgColour", "HdColourBackground" },
        { "hdFrameColour", "HdColourFrame" },
        { "hdHighlightColour", "HdColourHighlight" },
        { "hdNameColour", "HdColourNames" },
        { "hdTitleColour", "HdColourTitles" },
        { "hdIdNoColour", "HdColourIdNo" },
        { "hdBirthColour", "HdColourBirths" },
        { "hdDeathColour", "HdColourDeaths" },
        { "hdSpouseColour", "HdColourSpouses" },
        { "hdNotesColour", "HdColourNotes" },
        { "hdSiblingsColour", "HdColourSiblings" },
        { "hdSpousesAncestorsColour", "HdColourSpousesAncestors" },
    };
    auto* box = new QGroupBox(L("HdColoursGroup"));
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    grid->setContentsMargins(10, 6, 10, 8);
    int i = 0;
    for (const auto& [key, label] : wells) {
        const QString k = QString::fromLatin1(key);
        auto* well = new QPushButton(L(label));
        well->setObjectName(k);
        well->setAutoDefault(false);
        well->setFlat(true);
        well->setIconSize(QSize(36, 16));
        well->setStyleSheet(QStringLiteral("text-align: left; padding: 2px 4px;"));
        connect(well, &QPushButton::clicked, this, [this, k] { chooseColour(k); });
        m_colours.insert(k, well);
        grid->addWidget(well, i / 2, i % 2);
        ++i;
    }
    return box;
}

void HdCustomise::syncControls()
{
    m_syncing = true;
    const UserDefaults& d = defaults();
    // An option never written shows its factory value, as the diagram reads it.
    const HdOptions o = HdOptions::fromUserDefaults();
    for (auto it = m_switches.cbegin(); it != m_switches.cend(); ++it)
        it.value()->setChecked(d.boolForKey(it.key()));
    m_maxSiblingsDescendants->setValue(o.maxSiblingsDescendants);
    m_maxSiblingsDescendants->setEnabled(o.includeAllSiblingsGrandchildren);
    m_colourGradient->setValue(int(std::lround(o.colourGradient * 10)));
    for (auto it = m_colours.cbegin(); it != m_colours.cend(); ++it)
        it.value()->setIcon(ColourButtons::swatch(d.colorForKey(it.key())));
    m_syncing = false;
}

void HdCustomise::chooseColour(const QString& key)
{
    ColourButtons::chooseColour(this, key, [this, key](const QColor& colour) {
        if (!colour.isValid())
            return;
        defaults().setColor(key, colour);
        m_colours.value(key)->setIcon(ColourButtons::swatch(colour));
        if (key == QLatin1String("hdFrameColour"))
            m_hierarchyWindow->setFrameColour(true);
        refreshArray();
    });
}

void HdCustomise::setAsDefaults()
{
    HdOptions::saveAsUserDefaults();
}

void HdCustomise::restoreUserDefaults()
{
    m_view->commands().setUserDefaults();
    syncControls();
    m_hierarchyWindow->syncControls();
    m_hierarchyWindow->setFrameColour(true);
}

void HdCustomise::setFactoryDefaults()
{
    m_view->commands().setFactoryDefaults();
    syncControls();
    m_hierarchyWindow->syncControls();
    m_hierarchyWindow->setFrameColour(true);
}

void HdCustomise::refreshArray()
{
    m_view->commands().markForRebuild();
    m_view->update();
}

void HdCustomise::refreshDisplay(QAbstractButton* sender)
{
    if (sender == bylineSwitch() && sender->isChecked()) {
        AuthorsByline byline(this);
        byline.exec();
    }
    refreshArray();
}

void HdCustomise::displayHelp()
{
    m_hierarchyWindow->displayHelp();
}

void HdCustomise::helpForConsanguinity()
{
    Prompts::current().chooseWithTitle(LocalizedHelpString(QStringLiteral("ConsanguinityHelpTitle")),
        LocalizedHelpString(QStringLiteral("ConsanguinityHelpHeading")),
        LocalizedHelpString(QStringLiteral("ConsanguinityHelp")), { L("Close") });
}

void HdCustomise::closeEvent(QCloseEvent* event)
{
    // A number being typed counts; the window is kept for the next time.
    if (QWidget* focused = focusWidget())
        focused->clearFocus();
    event->accept();
}

void HdCustomise::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // The hierarchy window's own controls may have changed an option meanwhile (the cascade follows them).
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        syncControls();
}
