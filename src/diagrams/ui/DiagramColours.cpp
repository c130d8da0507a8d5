#include "diagrams/ui/DiagramColours.h"

#include "shell/UtilsFunctions.h"
#include "shell/ui/ColourButtons.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"
#include "shell/ui/FamilyDiagramPane.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <cmath>

namespace {
QString text(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

// The label of each colour key, in the order of DiagramColourSchemes::colourKeys().
const char* const kColourLabels[] = {"PrefsColourDiagramBg", "PrefsColourSelectedPerson", "PrefsColourSpouse",
                                     "PrefsColourOtherPerson", "PrefsColourAncestralView", "PrefsColourPanels",
                                     "PrefsColourMainWindow"};

// A shading strength 0 to 1 as a slider of hundredths.
QSlider* strengthSlider()
{
    auto* slider = new QSlider(Qt::Horizontal);
    slider->setRange(0, 100);
    slider->setPageStep(10);
    slider->setMinimumWidth(160);
    return slider;
}
}

DiagramColours::DiagramColours(FamilyDiagramPane* pcd, QWidget* parent)
    : QDialog(parent)
    , m_pcd(pcd)
{
    setObjectName(QStringLiteral("DiagramColours"));
    setWindowTitle(text("DiagramColoursTitle"));
    setAutoFillBackground(true);

    auto* colours = new QGroupBox(text("DiagramColoursColours"));
    auto* colourForm = new QFormLayout(colours);
    colourForm->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const QStringList keys = DiagramColourSchemes::colourKeys();
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QString key = keys[i];
        QPushButton* button = ColourButtons::makeButton();
        button->setObjectName(key);
        connect(button, &QPushButton::clicked, this, [this, key] { selectColour(key); });
        m_colourButtons.insert(key, button);
        colourForm->addRow(text(kColourLabels[i]), button);
    }

    auto* shading = new QGroupBox(text("DiagramColoursShading"));
    auto* shadingForm = new QFormLayout(shading);
    shadingForm->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_diagramShading = strengthSlider();
    m_diagramShading->setObjectName(QStringLiteral("cdColourGradient"));
    m_boxShading = strengthSlider();
    m_boxShading->setObjectName(QStringLiteral("cdPersonColourGradient"));
    m_shadows = new QCheckBox(text("PrefsShowShadows"));
    m_shadows->setObjectName(QStringLiteral("showShadows"));
    m_shadowSize = new QDoubleSpinBox;
    m_shadowSize->setObjectName(QStringLiteral("cdShadowSize"));
    m_shadowSize->setRange(0, 30);
    m_shadowSize->setDecimals(0);
    shadingForm->addRow(text("DiagramColoursDiagramShading"), m_diagramShading);
    shadingForm->addRow(text("DiagramColoursBoxShading"), m_boxShading);
    shadingForm->addRow(QString(), m_shadows);
    shadingForm->addRow(text("DiagramColoursShadowSize"), m_shadowSize);
    auto strength = [this](const QString& key, int hundredths) {
        if (m_loading)
            return;
        UserDefaults::standard().setDouble(key, hundredths / 100.0);
        refreshDiagram();
    };
    connect(m_diagramShading, &QSlider::valueChanged, this,
            [strength](int v) { strength(QStringLiteral("cdColourGradient"), v); });
    connect(m_boxShading, &QSlider::valueChanged, this,
            [strength](int v) { strength(QStringLiteral("cdPersonColourGradient"), v); });
    connect(m_shadows, &QCheckBox::toggled, this, [this](bool on) {
        if (m_loading)
            return;
        UserDefaults::standard().setBool(QStringLiteral("showShadows"), on);
        m_shadowSize->setEnabled(on);
        refreshDiagram();
    });
    connect(m_shadowSize, &QDoubleSpinBox::valueChanged, this, [this](double size) {
        if (m_loading)
            return;
        UserDefaults::standard().setDouble(QStringLiteral("cdShadowSize"), size);
        refreshDiagram();
    });

    auto* schemes = new QHBoxLayout;
    auto schemeButton = [&](const char* label, const char* name, void (DiagramColours::*action)()) {
        auto* button = new QPushButton(text(label));
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, action);
        schemes->addWidget(button);
    };
    schemeButton("DiagramColoursDefaults", "setDefaults", &DiagramColours::setDefaults);
    schemeButton("DiagramColoursClassic", "setClassicColours", &DiagramColours::setClassicColours);
    schemeButton("DiagramColoursDemo", "setDemoColours", &DiagramColours::setDemoColours);
    schemes->addStretch();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText(text("DiagramColoursClose"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::accept);

    auto* columns = new QHBoxLayout;
    columns->addWidget(colours);
    columns->addWidget(shading, 1, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(12);
    layout->addLayout(columns);
    layout->addLayout(schemes);
    layout->addWidget(buttons);

    reload();
    changeColour();
    setFixedSize(sizeHint());
}

void DiagramColours::showColoursPanel(FamilyDiagramPane& pcd, QWidget* parent)
{
    DiagramColours panel(&pcd, parent ? parent : pcd.window());
    panel.exec();
}

void DiagramColours::selectColour(const QString& key)
{
    ColourButtons::chooseColour(this, key, [this, key](const QColor& colour) { setColour(key, colour); });
}

void DiagramColours::setColour(const QString& key, const QColor& colour)
{
    if (!colour.isValid())
        return;
    if (key == QLatin1String("cdBgColour") && m_pcd)
        m_pcd->setCdBgColour(colour);
    else
        UserDefaults::standard().setColor(key, colour);
    changeColour();
}

void DiagramColours::setDefaults()
{
    applyScheme(DiagramColourSchemes::Defaults);
}

void DiagramColours::setClassicColours()
{
    applyScheme(DiagramColourSchemes::Classic);
}

void DiagramColours::setDemoColours()
{
    applyScheme(DiagramColourSchemes::Demo);
}

void DiagramColours::applyScheme(DiagramColourSchemes::Scheme scheme)
{
    // The classic panels are the desktop's own window colour.
    DiagramColourSchemes::apply(scheme, QApplication::palette().color(QPalette::Window));
    changeColour();
}

void DiagramColours::changeColour()
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    repaint();
    for (DOvurDocument* document : DocumentController::shared().documents())
        document->setBgColour(document->dovurWindow() && document->dovurWindow()->isActiveWindow());
    refreshDiagram();
    reload();
}

void DiagramColours::refreshDiagram()
{
    // The boxes take their colours and shading as they are laid out.
    if (m_pcd) {
        m_pcd->setRefreshArray(true);
        m_pcd->update();
    }
}

void DiagramColours::reload()
{
    const UserDefaults& d = UserDefaults::standard();
    m_loading = true;
    for (auto it = m_colourButtons.cbegin(); it != m_colourButtons.cend(); ++it)
        it.value()->setIcon(ColourButtons::swatch(d.colorForKey(it.key())));
    m_diagramShading->setValue(int(std::lround(d.doubleForKey(QStringLiteral("cdColourGradient")) * 100)));
    m_boxShading->setValue(int(std::lround(d.doubleForKey(QStringLiteral("cdPersonColourGradient")) * 100)));
    m_shadows->setChecked(d.boolForKey(QStringLiteral("showShadows")));
    m_shadowSize->setValue(d.doubleForKey(QStringLiteral("cdShadowSize")));
    m_shadowSize->setEnabled(m_shadows->isChecked());
    m_loading = false;
}
